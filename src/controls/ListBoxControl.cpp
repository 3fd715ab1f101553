#include "controls/ListBoxControl.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "core/Messages.h"
#include "core/StringUtils.h"
#include "storage/StorageAccess.h"

namespace qv {

const TPropertyTable<TListBoxControl>& TListBoxControl::Properties() {
  using W = TListBoxControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TControlWidget::Properties())
                                             .Int("rowheight", &W::rowHeight_)
                                             .Always()
                                             .Colour("color", &W::color_)
                                             .Always()
                                             .Colour("selectedcolor", &W::selectedColor_)
                                             .Always();
  return table;
}

void TListBoxControl::LoadFromStorage(const StorageRef& storage) {
  TControlWidget::LoadFromStorage(storage);
  if (!storage) return;
  if (storage->ReadAttr("rowheight", "").empty()) rowHeight_ = height_ / 10;
  if (rowHeight_ <= 0) {
    ReportDataError(GetFullPath(), "\"rowheight\" " + std::to_string(rowHeight_) +
                                       " is not positive; one row as high as the list is used");
    rowHeight_ = std::max(height_, 1);
  }
}

void TListBoxControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
  if (!owner) return;
  if (!widgets_->GetWidgetByName("text"))
    ReportDataError(GetFullPath(), "no widget \"text\": the rows are not drawn");
  Layout();
}

void TListBoxControl::Layout() {
  const int rowHeight = std::max(rowHeight_, 1);
  if (const Ref<IWidget> box = widgets_->GetWidgetByName("image_contentbox")) {
    contentLeft_ = RoundEven(box->GetLeft());
    contentTop_ = RoundEven(box->GetTop());
    visibleRows_ = box->GetHeight() / rowHeight;
  } else {
    contentLeft_ = 0;
    contentTop_ = 0;
    visibleRows_ = height_ / rowHeight;
  }
  Refresh();
}

void TListBoxControl::Refresh() {
  needRepaint_ = true;
  const int count = GetItemCount();
  if (count - visibleRows_ < topIndex_) topIndex_ = std::max(0, count - visibleRows_);
  if (const Ref<IWidget> up = widgets_->GetWidgetByName("button_up")) up->SetEnabled(topIndex_ > 0);
  if (const Ref<IWidget> down = widgets_->GetWidgetByName("button_down"))
    down->SetEnabled(topIndex_ + visibleRows_ < count);
}

void TListBoxControl::SetTopIndex(int index) {
  if (index != topIndex_) needRepaint_ = true;
  topIndex_ = std::max(0, index);
  Refresh();
}

void TListBoxControl::Draw(ISurface* target, int x, int y) {
  TControlWidget::Draw(target, x, y);
  if (!target) return;
  const Ref<IWidget> text = widgets_->GetWidgetByName("text");
  if (!text) return;
  const Ref<IWidget> background = widgets_->GetWidgetByName("image_selectedbackground");
  text->SetVisible(true);
  const int last = std::min(topIndex_ + visibleRows_ - 1, GetItemCount() - 1);
  for (int i = std::max(topIndex_, 0); i <= last; ++i) {
    const int rowTop = y + contentTop_ + (i - topIndex_) * rowHeight_;
    text->SetPropertyValue("text", items_[static_cast<size_t>(i)].text);
    const bool selected = i == selectedIndex_;
    text->SetPropertyValue("fillcolor",
                           std::to_string(static_cast<int32_t>(selected ? selectedColor_ : color_)));
    if (selected && background) {
      background->SetVisible(true);
      background->Draw(target, x + contentLeft_ + RoundEven(background->GetAnchorLeft()),
                       rowTop + RoundEven(background->GetAnchorTop()));
      background->SetVisible(false);
    }
    text->Draw(target, x + contentLeft_, rowTop);
  }
  text->SetVisible(false);
}

int TListBoxControl::RowAtPoint(TPoint point) const {
  const int x = point.x - RoundEven(anchorLeft_);
  const int y = point.y - RoundEven(anchorTop_);
  if (x < contentLeft_ || y < contentTop_ || y > contentTop_ + visibleRows_ * rowHeight_) return -1;
  return std::max(topIndex_, 0) + (y - contentTop_) / std::max(rowHeight_, 1);
}

bool TListBoxControl::OnMouseUp(TPoint point, unsigned, int) {
  const int row = RowAtPoint(point);
  if (row < 0) return false;
  const Ref<IWidget> self(this);
  SetSelected(row);
  SendEvent(ccSelectionChanged);
  return true;
}

bool TListBoxControl::OnDoubleClick(TPoint point, unsigned, int) {
  const int row = RowAtPoint(point);
  if (row < 0) return false;
  SendEvent(ccRowDoubleClicked);
  return true;
}

bool TListBoxControl::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (hasFocus_ && message == WM_KEYDOWN) {
    const int last = GetItemCount() - 1;
    int selection = selectedIndex_;
    switch (key) {
      case VK_END:
        if (selection != last) selection = last;
        break;
      case VK_HOME:
        if (selection >= 1) selection = 0;
        break;
      case VK_UP:
        if (selection >= 1) --selection;
        break;
      case VK_DOWN:
        if (selection != last) ++selection;
        break;
      default:
        break;
    }
    if (selection != selectedIndex_ && selection >= 0 && selection <= last) {
      const Ref<IWidget> self(this);
      SetSelected(selection);
      SendEvent(ccSelectionChanged);
      ScrollToSelection();
      return true;
    }
  }
  return TControlWidget::KeyEvent(message, key, flags);
}

void TListBoxControl::ScrollToSelection() {
  if (selectedIndex_ < topIndex_)
    topIndex_ = selectedIndex_;
  else if (selectedIndex_ >= topIndex_ + visibleRows_ - 1)
    topIndex_ = selectedIndex_ - visibleRows_ + 1;
  topIndex_ = std::max(topIndex_, 0);
  Refresh();
}

void TListBoxControl::OnControlEvent(IWidget* sender, int, IParamCollection*) {
  if (!sender) return;
  if (SameText(sender->GetName(), "button_up"))
    SetTopIndex(topIndex_ - 1);
  else if (SameText(sender->GetName(), "button_down"))
    SetTopIndex(topIndex_ + 1);
}

IInterface* TListBoxControl::GetScreenOwner() {
  IEventHandler* handler = GetHandler();
  return handler ? handler->GetScreenOwner() : nullptr;
}

int TListBoxControl::IndexOfKey(const std::string& key) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (SameText(items_[i].name, key)) return static_cast<int>(i);
  long long index = -1;
  if (TryParseInt(key, index) && index >= 0 && index < GetItemCount()) return static_cast<int>(index);
  return -1;
}

std::string TListBoxControl::GetItemText(const std::string& key) {
  const int i = IndexOfKey(key);
  return i < 0 ? std::string() : items_[static_cast<size_t>(i)].text;
}

void TListBoxControl::AddItem(const std::string& name, const std::string& text) {
  items_.push_back({name, text});
  Refresh();
}

void TListBoxControl::DeleteItem(const std::string& key) {
  const int i = IndexOfKey(key);
  if (i < 0) return;
  items_.erase(items_.begin() + i);
  if (selectedIndex_ == i)
    selectedIndex_ = std::min(i, GetItemCount() - 1);
  else if (selectedIndex_ > i)
    --selectedIndex_;  // the same row stays selected
  Refresh();
}

void TListBoxControl::Clear() {
  items_.clear();
  selectedIndex_ = -1;
  topIndex_ = 0;
  Refresh();
}

void TListBoxControl::SetSelected(int index) {
  if (index < -1 || index >= GetItemCount()) return;
  if (index != selectedIndex_) needRepaint_ = true;
  selectedIndex_ = index;
}

}  // namespace qv
