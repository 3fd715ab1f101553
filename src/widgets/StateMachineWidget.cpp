#include "widgets/StateMachineWidget.h"

#include <string>

#include "core/Diagnostics.h"
#include "core/Random.h"

namespace qv {

TStateMachineWidget::TStateMachineWidget() : actions_(MakeRef<TActionDefCollection>()) {
  actions_->Initialize();
}

void TStateMachineWidget::LoadFromStorage(const StorageRef& storage) {
  TVisualGroupWidget::LoadFromStorage(storage);
  for (int i = 0; i < widgets_->Count(); ++i)
    if (const Ref<IWidget> child = widgets_->GetWidget(i)) child->SetVisible(false);
  actions_->Clear();
  if (storage) actions_->LoadFromStorage(storage);
}

void TStateMachineWidget::SaveToStorage(const StorageRef& storage) {
  TVisualGroupWidget::SaveToStorage(storage);
  if (storage) actions_->SaveToStorage(storage);
}

void TStateMachineWidget::SetOwner(IWidgetOwner* owner) {
  // Only on joining a chain: an owner passed down again changes nothing.
  const bool joined = owner && !owner_;
  TVisualGroupWidget::SetOwner(owner);
  if (joined) NextAction();
}

void TStateMachineWidget::StopCurrent() {
  if (!currentAction_) return;
  if (const Ref<IWidget> child = widgets_->GetWidgetByName(currentAction_->GetWidgetName()))
    child->Show(false);
}

void TStateMachineWidget::Detach() {
  StopCurrent();
  currentAction_ = nullptr;
  TVisualGroupWidget::Detach();
}

void TStateMachineWidget::NextAction(int leftover) {
  if (currentAction_) {
    currentState_ = currentAction_->GetNextState();
    StopCurrent();
  } else {
    currentState_ = 0;
  }
  currentAction_ = nullptr;
  actionDuration_ = 0;

  int total = 0;
  for (int i = 0; i < actions_->GetActionCount(); ++i) {
    const Ref<IActionDef> action = actions_->GetAction(i);
    if (action->GetState() == currentState_) total += action->GetProbability();
  }
  int r = RandomInt(total);
  Ref<IActionDef> picked;
  for (int i = 0; i < actions_->GetActionCount() && !picked; ++i) {
    const Ref<IActionDef> action = actions_->GetAction(i);
    if (action->GetState() != currentState_) continue;
    if (action->GetProbability() >= r)
      picked = action;
    else
      r -= action->GetProbability();
  }
  if (!picked) {
    ReportDataError("widget " + GetFullPath(), "no action for state " + std::to_string(currentState_));
    return;
  }
  currentAction_ = picked;
  actionDuration_ = picked->GetDuration();
  const Ref<IWidget> child = widgets_->GetWidgetByName(picked->GetWidgetName());
  if (!child) {
    ReportDataError("widget " + GetFullPath(), "no child widget named \"" + picked->GetWidgetName() + "\"");
    return;
  }
  child->Restart();
  child->Show(true);
  if (leftover > 0) child->AdvanceTime(leftover);
}

void TStateMachineWidget::AdvanceTime(int dt) {
  TVisualGroupWidget::AdvanceTime(dt);
  // A machine whose state has no action stays where it is.
  if (!currentAction_) return;
  // An action of no length takes one frame, so a loop of them cannot hang.
  bool first = true;
  while (currentAction_ && currentTime_ >= actionDuration_ && (first || actionDuration_ > 0)) {
    first = false;
    currentTime_ -= actionDuration_;
    needRepaint_ = true;
    NextAction(currentTime_);
  }
}

}  // namespace qv
