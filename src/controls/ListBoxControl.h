// A scrolling list of text rows drawn through its child "text", with an
// optional content box, a background behind the selected row and the
// buttons "button_up" and "button_down", whose events it handles itself.
// Selection changes report code 5, a double click on a row code 6.
#pragma once

#include <string>
#include <vector>

#include "controls/ControlWidget.h"
#include "screens/IListBoxControl.h"

namespace qv {

class TListBoxControl : public TControlWidget, public IListBoxControl, public IEventHandler {
public:
  enum : int { ccSelectionChanged = 5, ccRowDoubleClicked = 6 };

  TListBoxControl() = default;

  // "rowheight" (default height div 10), "color", "selectedcolor", all
  // always written.
  QV_PROPERTY_TABLE(TListBoxControl)

  void LoadFromStorage(const StorageRef& storage) override;
  void SetOwner(IWidgetOwner* owner) override;
  bool IsTabStop() const override { return tabStop_ && visible_ && enabled_; }
  // The children, then the visible rows.
  void Draw(ISurface* target, int x, int y) override;
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  bool OnMouseUp(TPoint point, unsigned flags, int button) override;
  bool OnDoubleClick(TPoint point, unsigned flags, int button) override;

  // IListBoxControl
  std::string GetItemText(const std::string& key) override;
  void AddItem(const std::string& name, const std::string& text) override;
  void DeleteItem(const std::string& key) override;
  void Clear() override;
  void SetSelected(int index) override;
  int GetSelected() override { return selectedIndex_; }

  // The event handler of the widgets inside: the scroll buttons.
  IEventHandler* GetEventHandler() override { return this; }
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;
  IInterface* GetEngine() override { return GetEngineObject(); }
  IInterface* GetScreenOwner() override;

  // -1 when the point (owner space) is on no row.
  int RowAtPoint(TPoint point) const;
  int GetItemCount() const override { return static_cast<int>(items_.size()); }
  int GetTopIndex() const { return topIndex_; }
  void SetTopIndex(int index);
  int GetVisibleRows() const { return visibleRows_; }
  int GetRowHeight() const { return rowHeight_; }

protected:
  ~TListBoxControl() override = default;

private:
  struct TItem {
    std::string name;
    std::string text;
  };
  int IndexOfKey(const std::string& key) const;
  void Layout();
  void Refresh();
  // After a keyboard change: the selected row brought into view.
  void ScrollToSelection();

  std::vector<TItem> items_;
  int topIndex_ = 0;
  int selectedIndex_ = -1;
  int visibleRows_ = 0;
  int contentLeft_ = 0;
  int contentTop_ = 0;
  int rowHeight_ = 0;
  uint32_t color_ = 0;
  uint32_t selectedColor_ = 0;
};

}  // namespace qv
