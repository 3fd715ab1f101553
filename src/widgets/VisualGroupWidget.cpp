#include "widgets/VisualGroupWidget.h"

#include "widgets/DirtyPass.h"

namespace qv {

const TPropertyTable<TVisualGroupWidget>& TVisualGroupWidget::Properties() {
  using W = TVisualGroupWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TGroupWidget::Properties())
                                             .Bool("caching", &W::IsCaching, &W::SetCaching)
                                             .WhenTrue()
                                             .Bool("returnselfbypos", &W::returnSelfByPos_)
                                             .WhenTrue();
  return table;
}

TRect TVisualGroupWidget::Bounds() const {
  const int ax = RoundEven(anchorLeft_);
  const int ay = RoundEven(anchorTop_);
  const bool settled = ChildrenSettledInPass();
  if (!settled || childBoundsPass_ != TDirtyPass::Current()) {
    childBoundsAny_ = false;
    childBounds_ = {};
    // Within the pass that just ran the children, each visible child
    // computed its rectangle in its own step; nothing moves in between.
    const uint64_t pass = settled ? TDirtyPass::Current() : 0;
    for (int i = 0; i < widgets_->Count(); ++i) {
      const IWidget* child = widgets_->Face(i);
      if (!child->IsVisible()) continue;
      TRect r;
      if (!child->GetRectOfPass(pass, r)) r = child->GetRect();
      childBounds_ = childBoundsAny_ ? BoundingBox(childBounds_, r) : r;
      childBoundsAny_ = true;
    }
    childBoundsPass_ = settled ? TDirtyPass::Current() : 0;
  }
  if (!childBoundsAny_) return {ax, ay, ax, ay};
  return {childBounds_.left + ax, childBounds_.top + ay, childBounds_.right + ax, childBounds_.bottom + ay};
}

void TVisualGroupWidget::SetOwner(IWidgetOwner* owner) {
  TGroupWidget::SetOwner(owner);
  // The cache needs the engine's surfaces, which the chain now reaches.
  if (caching_ && owner) Invalidate();
}

void TVisualGroupWidget::SetCaching(bool value) {
  caching_ = value;
  if (!value) cacheSurface_ = nullptr;
  Invalidate();
}

void TVisualGroupWidget::Invalidate() {
  TGroupWidget::Invalidate();
  if (!caching_) return;
  caching_ = false;
  cacheSurface_ = GetImage();
  caching_ = true;
}

void TVisualGroupWidget::Draw(ISurface* target, int x, int y) {
  if (!target) return;
  if (caching_ && cacheSurface_) {
    const TRect bounds = Bounds();
    const int dx = x - RoundEven(anchorLeft_ - bounds.left);
    const int dy = y - RoundEven(anchorTop_ - bounds.top);
    const int w = cacheSurface_->GetWidth();
    const int h = cacheSurface_->GetHeight();
    target->Draw(cacheSurface_.get(), {0, 0, w, h}, kBlendNormal, transparentLevel_,
                 {dx, dy, dx + w, dy + h});
    return;
  }
  for (int i = 0; i < widgets_->Count(); ++i) {
    const Ref<IWidget> child = widgets_->GetWidget(i);
    if (child->IsVisible())
      child->Draw(target, x + RoundEven(child->GetAnchorLeft()), y + RoundEven(child->GetAnchorTop()));
  }
}

Ref<IWidget> TVisualGroupWidget::WidgetAtPos(TPoint point) {
  if (!visible_ || !mouseStop_) return nullptr;
  const TPoint local = Relative(point);
  for (int i = widgets_->Count() - 1; i >= 0; --i)
    if (Ref<IWidget> hit = widgets_->GetWidget(i)->WidgetAtPos(local)) return hit;
  if (returnSelfByPos_ && ContainsPoint(point, false)) return Ref<IWidget>(this);
  return nullptr;
}

bool TVisualGroupWidget::ContainsPoint(TPoint point, bool ignoreVisibility) {
  if (!visible_ && !ignoreVisibility) return false;
  const TPoint local = Relative(point);
  for (int i = widgets_->Count() - 1; i >= 0; --i)
    if (widgets_->GetWidget(i)->ContainsPoint(local, ignoreVisibility)) return true;
  return false;
}

Ref<IInterface> TVisualGroupWidget::GetObjectProperty(const std::string& name) {
  if (SameText(name, "cachesurface")) return cacheSurface_;
  return TGroupWidget::GetObjectProperty(name);
}

}  // namespace qv
