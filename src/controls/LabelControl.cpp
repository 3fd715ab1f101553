#include "controls/LabelControl.h"

namespace qv {

void TLabelControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
  if (owner) UpdateVisual();
}

void TLabelControl::AdvanceTime(int dt) {
  TControlWidget::AdvanceTime(dt);
  if (PollHover(hover_)) UpdateVisual();
}

void TLabelControl::UpdateVisual() {
  if (!enabled_) return;
  visualState_ = hover_ ? 1 : 0;
  HidePicture("image_normal");
  HidePicture("image_selected");
  if (visualState_ == 0 || !ShowPicture("image_selected")) ShowPicture("image_normal");
}

}  // namespace qv
