// A check box: six pictures for checked or not, normal, hover or disabled;
// a press and a release inside toggle it and report the change (code 2).
// Writing "CheckBoxState" changes the pictures without an event.
#pragma once

#include "controls/ControlWidget.h"
#include "screens/IClickable.h"

namespace qv {

class TCheckBoxControl : public TControlWidget, public IClickable {
public:
  // "CheckBoxState": the checked flag, a property only.
  QV_PROPERTY_TABLE(TCheckBoxControl)

  void SetOwner(IWidgetOwner* owner) override;
  void AdvanceTime(int dt) override;
  // Key-up of Space while focused and enabled toggles (key-down taken too).
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  bool OnMouseDown(TPoint point, unsigned flags, int button) override;
  bool OnMouseUp(TPoint point, unsigned flags, int button) override;

  // IClickable: toggles and reports, as a press and a release inside.
  bool Click() override;

  bool IsChecked() const { return isChecked_; }
  // No event.
  void SetChecked(bool value);
  bool IsHover() const { return hover_; }
  // 0/1 disabled, 2/3 normal or hover unchecked, 4/5 checked.
  int GetVisualState() const { return visualState_; }
  void UpdateVisual();

protected:
  ~TCheckBoxControl() override = default;
  void OnEnabledChanged() override { UpdateVisual(); }

private:
  void Toggle();

  bool isChecked_ = false;
  bool hover_ = false;
  int visualState_ = 0;
};

}  // namespace qv
