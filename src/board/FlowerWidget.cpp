#include "board/FlowerWidget.h"

namespace qv {

const TPropertyTable<TFlowerWidget>& TFlowerWidget::Properties() {
  using W = TFlowerWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TVisualGroupWidget::Properties()).Int("Flowercolor", &W::code_, 0);
  return table;
}

void TFlowerWidget::Hover() {
  if (const Ref<IWidget> animation = GetChild("widgetFlower")) animation->Restart();
  PlaySound("FlowerShine", false, 100, 0);
}

}  // namespace qv
