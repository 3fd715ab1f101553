// A one-line text editor: the child "text" shows the value, the child
// "cursor" marks the caret while the control has the focus. Typed
// characters are inserted at the caret (up to "max", upper case with
// "capitalize"); every character message is reported (code 4).
#pragma once

#include <string>

#include "controls/ControlWidget.h"

namespace qv {

class ITextWidget;

class TEditControl : public TControlWidget {
public:
  // "value" (through the language macros; written when not empty), "max"
  // (always written), "capitalize" (written when true); "text_utf8" the
  // value as a property.
  QV_PROPERTY_TABLE(TEditControl)

  void LoadFromStorage(const StorageRef& storage) override;
  void SetOwner(IWidgetOwner* owner) override;
  // A tab stop only when visible and enabled.
  bool IsTabStop() const override { return tabStop_ && visible_ && enabled_; }
  // Key-down: End, Home, Left, Right move the caret, Delete removes the
  // character after it; characters: Backspace, or one typed character.
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  void FocusGained() override;
  void FocusLost() override;
  void CaptureLost() override;

  const std::u32string& GetValue() const { return value_; }
  // A value shorter than the caret puts the caret at 0.
  void SetValue(const std::u32string& value);
  std::string GetValueUtf8() const;
  void SetValueUtf8(const std::string& utf8);
  int GetCaret() const { return caret_; }
  int GetMax() const { return max_; }
  void SetMax(int value) { max_ = value; }
  bool IsCapitalized() const { return capitalize_; }

protected:
  ~TEditControl() override = default;

private:
  void Refresh();
  bool InsertCharacter(char32_t c);
  ITextWidget* GetTextWidget() const;

  std::u32string value_;
  int max_ = 255;
  int caret_ = 0;
  bool capitalize_ = false;
  int cursorOffsetX_ = 0;
  int cursorOffsetY_ = 0;
};

}  // namespace qv
