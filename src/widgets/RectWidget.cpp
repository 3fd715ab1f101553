#include "widgets/RectWidget.h"

namespace qv {

const TPropertyTable<TRectWidget>& TRectWidget::Properties() {
  using W = TRectWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TSingleWidget::Properties())
                                             .Colour("color", &W::GetColor, &W::SetColor)
                                             .Always()
                                             .WriteOnly();
  return table;
}

void TRectWidget::SetColor(uint32_t value) {
  if (value != color_) needRepaint_ = true;
  color_ = value;
}

void TRectWidget::Draw(ISurface* target, int x, int y) {
  if (!target || width_ <= 0 || height_ <= 0) return;
  target->FillColor(color_, nullptr, kBlendNormal, transparentLevel_, {x, y, x + width_, y + height_},
                    {0, 0, width_, height_});
}

}  // namespace qv
