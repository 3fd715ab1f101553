// A group that shows one child at a time: each state has weighted actions,
// one is drawn at random, its child runs for the action's duration, then
// the action's next state is entered.
#pragma once

#include "widgets/ActionDef.h"
#include "widgets/VisualGroupWidget.h"

namespace qv {

class TStateMachineWidget : public TVisualGroupWidget {
public:
  TStateMachineWidget();

  // The children (all hidden), then the "actiondef" items of the same node.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  // On getting an owner (having had none), the first action (of state 0)
  // starts.
  void SetOwner(IWidgetOwner* owner) override;
  // The current action's child stopped, the action forgotten.
  void Detach() override;
  // The group step; then, while the clock has reached the action's
  // duration, the next action. The time beyond the duration stays on the
  // clock and is handed to the new child.
  void AdvanceTime(int dt) override;

  // The current action's next state (state 0 without one) entered and an
  // action of it drawn; `leftover` ms are handed to its child.
  void NextAction(int leftover = 0);

  TActionDefCollection& Actions() { return *actions_; }
  int GetCurrentState() const { return currentState_; }
  IActionDef* GetCurrentAction() const { return currentAction_.get(); }
  int GetActionDuration() const { return actionDuration_; }

protected:
  ~TStateMachineWidget() override = default;

private:
  // Paused and hidden.
  void StopCurrent();

  Ref<TActionDefCollection> actions_;
  int currentState_ = 0;
  Ref<IActionDef> currentAction_;
  int actionDuration_ = 0;
};

}  // namespace qv
