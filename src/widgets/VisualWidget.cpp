#include "widgets/VisualWidget.h"

#include "widgets/DirtyPass.h"

namespace qv {

const TPropertyTable<TVisualWidget>& TVisualWidget::Properties() {
  using W = TVisualWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TAbstractWidget::Properties())
                                             .Bool("visible", &W::visible_)
                                             .WhenTrue()
                                             .Bool("mousestop", &W::mouseStop_)
                                             .WhenTrue()
                                             .Int("z", &W::z_)
                                             .Float("anchor_left", &W::GetAnchorLeft, &W::SetAnchorLeft)
                                             .Always()
                                             .Float("anchor_top", &W::GetAnchorTop, &W::SetAnchorTop)
                                             .Always();
  return table;
}

void TVisualWidget::SetAnchorLeft(double value) {
  if (value != anchorLeft_) geometryChanged_ = true;
  anchorLeft_ = value;
}

void TVisualWidget::SetAnchorTop(double value) {
  if (value != anchorTop_) geometryChanged_ = true;
  anchorTop_ = value;
}

Ref<ISurface> TVisualWidget::GetImage() {
  Ref<ISurface> image = NewSurface();
  if (!image) return nullptr;
  const TRect rect = GetRect();
  image->SetHasAlpha(true);
  image->SetSize(rect.Width(), rect.Height());
  Draw(image.get(), RoundEven(anchorLeft_ - rect.left), RoundEven(anchorTop_ - rect.top));
  return image;
}

bool TVisualWidget::UpdateDirtyRegion(bool forceOld, bool forceNew) {
  currentRect_ = GetRect();
  rectPass_ = TDirtyPass::Current();
  advancedThisFrame_ = false;
  contributedDirtyRect_ = false;
  if (!owner_) return visible_;
  const TPoint origin = owner_->ScreenToChildLocal({0, 0});
  const TRect screenRect{currentRect_.left - origin.x, currentRect_.top - origin.y,
                         currentRect_.right - origin.x, currentRect_.bottom - origin.y};
  if (wasVisible_ && (geometryChanged_ || !visible_ || forceOld)) {
    owner_->AddDirtyRect(previousScreenRect_);
    if (!visible_) contributedDirtyRect_ = true;
  }
  if (visible_ && !dead_ && (geometryChanged_ || firstFrame_ || needRepaint_ || forceNew || !wasVisible_)) {
    owner_->AddDirtyRect(screenRect);
    contributedDirtyRect_ = true;
  }
  firstFrame_ = false;
  geometryChanged_ = false;
  needRepaint_ = false;
  previousRect_ = currentRect_;
  previousScreenRect_ = screenRect;
  wasVisible_ = visible_;
  return visible_;
}

const TPropertyTable<TSingleWidget>& TSingleWidget::Properties() {
  using W = TSingleWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TVisualWidget::Properties())
                                             .Int("width", &W::GetWidth, &W::SetWidth)
                                             .Always()
                                             .Int("height", &W::GetHeight, &W::SetHeight)
                                             .Always();
  return table;
}

void TSingleWidget::SetWidth(int value) {
  if (value != width_) geometryChanged_ = true;
  width_ = value;
}

void TSingleWidget::SetHeight(int value) {
  if (value != height_) geometryChanged_ = true;
  height_ = value;
}

}  // namespace qv
