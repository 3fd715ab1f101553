#include "controls/SequenceControl.h"

namespace qv {

const TPropertyTable<TSequenceControl>& TSequenceControl::Properties() {
  using W = TSequenceControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TControlWidget::Properties())
                                             .Int("step_duration_time", &W::stepDurationTime_)
                                             .Always();
  return table;
}

void TSequenceControl::LoadFromStorage(const StorageRef& storage) {
  TControlWidget::LoadFromStorage(storage);
  for (int i = 0; i < widgets_->Count(); ++i) {
    const Ref<IWidget> child = widgets_->GetWidget(i);
    child->SetVisible(false);
    child->SetPaused(true);
  }
}

void TSequenceControl::ShowStep(int step) {
  const Ref<IWidget> keep(this);
  if (step >= widgets_->Count()) {
    SendEvent(ccSequenceEnded);
    return;
  }
  if (step == currentStep_ || step < 0) return;
  if (currentStep_ >= 0 && currentStep_ < widgets_->Count()) {
    const Ref<IWidget> current = widgets_->GetWidget(currentStep_);
    current->SetVisible(false);
    current->SetPaused(true);
  }
  currentStep_ = step;
  currentTime_ = 0;
  needRepaint_ = true;
  const Ref<IWidget> next = widgets_->GetWidget(step);
  next->SetVisible(true);
  next->Restart();
}

void TSequenceControl::AdvanceTime(int dt) {
  TControlWidget::AdvanceTime(dt);
  if (currentStep_ < 0 && currentTime_ >= 0) ShowStep(0);
  if (widgets_->Count() > 0 && stepDurationTime_ > 0 && currentTime_ >= stepDurationTime_)
    ShowStep(currentStep_ + 1);
}

bool TSequenceControl::OnMouseDown(TPoint point, unsigned flags, int button) {
  TControlWidget::OnMouseDown(point, flags, button);
  ShowStep(currentStep_ + 1);
  return true;
}

}  // namespace qv
