#include "widgets/ImageWidget.h"

namespace qv {

const TPropertyTable<TImageWidget>& TImageWidget::Properties() {
  using W = TImageWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TResourceWidget::Properties())
          .Int("resourceleft", &W::GetResourceLeft, &W::SetResourceLeft)
          .Always()
          .Int("resourcetop", &W::GetResourceTop, &W::SetResourceTop)
          .Always()
          .Colour("fillcolor", &W::GetFillColor, &W::SetFillColor)
          .Always()
          .Enum("drawmode", kDrawKindNames, &W::GetDrawMode, &W::SetDrawMode)
          .Always()
          .Enum("blendingmode", kBlendModeNames, &W::GetBlendingMode, &W::SetBlendingMode)
          .Always();
  return table;
}

void TImageWidget::SetResourceLeft(int value) {
  SetChanged(resourceLeft_, value);
}
void TImageWidget::SetResourceTop(int value) {
  SetChanged(resourceTop_, value);
}
void TImageWidget::SetDrawMode(int value) {
  SetChanged(drawMode_, value);
}
void TImageWidget::SetBlendingMode(int value) {
  SetChanged(blendingMode_, value);
}

void TImageWidget::SetFillColor(uint32_t value) {
  if (value != fillColor_) needRepaint_ = true;
  fillColor_ = value;
}

void TImageWidget::Draw(ISurface* target, int x, int y) {
  if (!target) return;
  const Ref<IImageResource> image = FindImageResource();
  const Ref<ISurface> surface = image ? image->GetSurface() : nullptr;
  if (!surface) return;
  const TRect dest{x, y, x + width_, y + height_};
  const auto mode = static_cast<EBlendMode>(blendingMode_);
  if (drawMode_ == kFillColor)
    target->FillColor(fillColor_, surface.get(), mode, transparentLevel_, dest, GetSourceRect());
  else
    target->Draw(surface.get(), GetSourceRect(), mode, transparentLevel_, dest);
}

bool TImageWidget::ContainsPoint(TPoint point, bool ignoreVisibility) {
  if (!TResourceWidget::ContainsPoint(point, ignoreVisibility)) return false;
  const Ref<IImageResource> image = FindImageResource();
  const Ref<ISurface> surface = image ? image->GetSurface() : nullptr;
  if (!surface) return true;
  const int px = point.x + resourceLeft_ - RoundEven(anchorLeft_);
  const int py = point.y + resourceTop_ - RoundEven(anchorTop_);
  return (surface->GetPixel(px, py) >> 24) != 0;
}

}  // namespace qv
