// A number that counts towards its value: within at most
// "maxincrementaldurationtime" ticks, never slower than
// "minincrementalvaluepersecond", shown by its first child with the digits
// grouped by thousands.
#pragma once

#include "controls/ControlWidget.h"

namespace qv {

class TNumLabelControl : public TControlWidget {
public:
  // "animation" (default yes), "minincrementalvaluepersecond",
  // "maxincrementaldurationtime" (all always written); "value",
  // "current_value" and "animation_complete" as properties.
  QV_PROPERTY_TABLE(TNumLabelControl)

  void SetOwner(IWidgetOwner* owner) override;
  // The group step, then one counting step of dt.
  void AdvanceTime(int dt) override;

  int GetValue() const { return value_; }
  // Counting starts again from the shown value.
  void SetValue(int value);
  int GetShownValue() const { return shownValue_; }
  bool IsAnimated() const { return animation_; }
  // On: the shown value jumps to the value.
  void SetAnimated(bool value);
  bool IsComplete() const { return value_ == shownValue_; }
  int GetElapsed() const { return elapsed_; }

protected:
  ~TNumLabelControl() override = default;

private:
  void Count(int dt);
  void ShowNumber();

  int value_ = 0;
  int shownValue_ = 0;
  bool animation_ = true;
  int minIncrementalValuePerSecond_ = 0;
  int maxIncrementalDurationTime_ = 0;
  int elapsed_ = 0;
  Ref<IWidget> label_;
};

}  // namespace qv
