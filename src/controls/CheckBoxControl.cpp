#include "controls/CheckBoxControl.h"

#include "core/Messages.h"

namespace qv {

const TPropertyTable<TCheckBoxControl>& TCheckBoxControl::Properties() {
  using W = TCheckBoxControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TControlWidget::Properties())
                                             .Bool("CheckBoxState", &W::IsChecked, &W::SetChecked)
                                             .PropertyOnly();
  return table;
}

void TCheckBoxControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
  if (owner) UpdateVisual();
}

void TCheckBoxControl::AdvanceTime(int dt) {
  TControlWidget::AdvanceTime(dt);
  if (PollHover(hover_)) UpdateVisual();
}

void TCheckBoxControl::SetChecked(bool value) {
  if (value == isChecked_) return;
  isChecked_ = value;
  UpdateVisual();
}

void TCheckBoxControl::UpdateVisual() {
  if (!enabled_)
    visualState_ = isChecked_ ? 1 : 0;
  else if (hover_)
    visualState_ = isChecked_ ? 5 : 3;
  else
    visualState_ = isChecked_ ? 4 : 2;
  if (!owner_) return;
  static const char* const kPictures[] = {"image_check_normal",     "image_check_selected",
                                          "image_check_disabled",   "image_uncheck_normal",
                                          "image_uncheck_selected", "image_uncheck_disabled"};
  for (const char* name : kPictures) HidePicture(name);
  // The picture of each state and its fallback.
  static const char* const kShown[6][2] = {{"image_uncheck_disabled", "image_uncheck_normal"},
                                           {"image_check_disabled", "image_check_normal"},
                                           {"image_uncheck_normal", nullptr},
                                           {"image_uncheck_selected", "image_uncheck_normal"},
                                           {"image_check_normal", nullptr},
                                           {"image_check_selected", "image_check_normal"}};
  const auto& shown = kShown[visualState_];
  if (!ShowPicture(shown[0]) && shown[1]) ShowPicture(shown[1]);
  needRepaint_ = true;
}

void TCheckBoxControl::Toggle() {
  isChecked_ = !isChecked_;
  UpdateVisual();
  SendEvent(ccStateChanged);
}

bool TCheckBoxControl::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (hasFocus_ && enabled_ && key == VK_SPACE) {
    if (message == WM_KEYDOWN) return true;
    if (message == WM_KEYUP) {
      Click();
      return true;
    }
  }
  return TControlWidget::KeyEvent(message, key, flags);
}

bool TCheckBoxControl::OnMouseDown(TPoint point, unsigned flags, int button) {
  TControlWidget::OnMouseDown(point, flags, button);
  if (button != 0 || !enabled_) return false;
  CaptureMouse();
  pressed_ = true;
  return true;
}

bool TCheckBoxControl::OnMouseUp(TPoint point, unsigned, int button) {
  if (button != 0 || !pressed_) return false;
  const Ref<IWidget> self(this);
  if (ContainsPoint(point, false)) Toggle();
  ReleaseMouse();
  pressed_ = false;
  return true;
}

bool TCheckBoxControl::Click() {
  if (!enabled_ || !visible_) return false;
  const Ref<IWidget> self(this);
  Toggle();
  return true;
}

}  // namespace qv
