#include "controls/EditControl.h"

#include "controls/ControlText.h"
#include "core/Diagnostics.h"
#include "core/Messages.h"
#include "core/ProcessContext.h"
#include "core/StringUtils.h"
#include "widgets/ITextWidget.h"

namespace qv {

const TPropertyTable<TEditControl>& TEditControl::Properties() {
  using W = TEditControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TControlWidget::Properties())
                                             .Text("value", &W::GetValueUtf8, &W::SetValueUtf8)
                                             .Int("max", &W::GetMax, &W::SetMax, 255)
                                             .Always()
                                             .Bool("capitalize", &W::capitalize_)
                                             .WhenTrue()
                                             .String("text_utf8", &W::GetValueUtf8, &W::SetValueUtf8)
                                             .PropertyOnly();
  return table;
}

void TEditControl::LoadFromStorage(const StorageRef& storage) {
  TControlWidget::LoadFromStorage(storage);
  caret_ = static_cast<int>(value_.size());
}

void TEditControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
  if (!owner) return;
  const Ref<IWidget> text = widgets_->GetWidgetByName("text");
  const Ref<IWidget> cursor = widgets_->GetWidgetByName("cursor");
  if (!text || !QueryPtr<ITextWidget>(text.get()))
    ReportDataError(GetFullPath(), "no text widget \"text\": nothing can be typed");
  cursorOffsetX_ = text && cursor ? RoundEven(text->GetAnchorLeft() - cursor->GetAnchorLeft()) : 0;
  cursorOffsetY_ = text && cursor ? RoundEven(text->GetAnchorTop() - cursor->GetAnchorTop()) : 0;
  Refresh();
}

ITextWidget* TEditControl::GetTextWidget() const {
  const Ref<IWidget> text = widgets_->GetWidgetByName("text");
  return QueryPtr<ITextWidget>(text.get());
}

std::string TEditControl::GetValueUtf8() const {
  return EncodeUtf8(value_);
}

void TEditControl::SetValueUtf8(const std::string& utf8) {
  SetValue(DecodeUtf8(utf8));
}

void TEditControl::SetValue(const std::u32string& value) {
  value_ = value;
  if (static_cast<int>(value_.size()) < caret_) caret_ = 0;
  Refresh();
}

bool TEditControl::InsertCharacter(char32_t c) {
  ITextWidget* text = GetTextWidget();
  // Control characters (Tab, Enter, Escape) are never text.
  if (!text || c < 0x20 || c == 0x7F || static_cast<int>(value_.size()) >= max_) return false;
  if (capitalize_) c = UpperCaseChar(c);
  if (text->TextWidth(EncodeUtf8(std::u32string(1, c))) <= 0) return false;
  value_.insert(value_.begin() + caret_, c);
  ++caret_;
  return true;
}

bool TEditControl::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (!hasFocus_) return false;
  const Ref<IWidget> self(this);
  const int length = static_cast<int>(value_.size());
  if (message == WM_KEYDOWN) {
    switch (key) {
      case VK_END:
        caret_ = length;
        break;
      case VK_HOME:
        caret_ = 0;
        break;
      case VK_LEFT:
        if (caret_ > 0) --caret_;
        break;
      case VK_RIGHT:
        if (caret_ < length) ++caret_;
        break;
      case VK_DELETE:
        // The character after the caret, as a player expects; reported
        // like a typed one, since the text changed.
        if (caret_ < length) {
          value_.erase(value_.begin() + caret_);
          Refresh();
          SendEvent(ccTextChanged);
        }
        return true;
      default:
        return TControlWidget::KeyEvent(message, key, flags);
    }
    Refresh();
    return true;
  }
  if (message == WM_CHAR) {
    if (key == VK_BACK) {
      if (caret_ > 0) {
        value_.erase(value_.begin() + (caret_ - 1));
        --caret_;
      }
    } else {
      InsertCharacter(static_cast<char32_t>(key));
    }
    Refresh();
    SendEvent(ccTextChanged);
    return true;
  }
  return TControlWidget::KeyEvent(message, key, flags);
}

void TEditControl::FocusGained() {
  TControlWidget::FocusGained();
  Refresh();
}

void TEditControl::FocusLost() {
  TControlWidget::FocusLost();
  Refresh();
}

void TEditControl::CaptureLost() {
  TControlWidget::CaptureLost();
  Refresh();
}

void TEditControl::Refresh() {
  if (caret_ > static_cast<int>(value_.size())) caret_ = static_cast<int>(value_.size());
  needRepaint_ = true;
  const Ref<IWidget> textWidget = widgets_->GetWidgetByName("text");
  if (!textWidget) return;
  std::string shown = EncodeUtf8(value_);
  // The text widget expands language macros: a typed "%" stays itself.
  if (ProcessContext().textHook) shown = ReplaceAll(shown, "%", "%%");
  textWidget->SetPropertyValue("text", shown);
  const Ref<IWidget> cursor = widgets_->GetWidgetByName("cursor");
  ITextWidget* text = QueryPtr<ITextWidget>(textWidget.get());
  if (!cursor || !text) return;
  cursor->SetVisible(hasFocus_);
  const std::string all = EncodeUtf8(value_);
  double left = textWidget->GetAnchorLeft();
  const std::string align = VarToString(textWidget->GetPropertyValue("textalign"));
  const int spare = textWidget->GetWidth() - text->TextWidth(all);
  if (SameText(align, "right"))
    left += spare;
  else if (SameText(align, "center"))
    left += spare / 2;
  left += text->TextWidth(EncodeUtf8(std::u32string_view(value_).substr(0, static_cast<size_t>(caret_))));
  cursor->SetAnchorLeft(left);
  TRect rect;
  if (text->SymbolRect(caret_, rect)) {
    cursor->SetAnchorLeft(rect.right - cursorOffsetX_);
    cursor->SetAnchorTop(rect.top - cursorOffsetY_);
  }
}

}  // namespace qv
