// A table of records drawn row by row through column template widgets: for
// each column the child named by its "widgetname" shows the record field
// named by its "name".
#pragma once

#include <string>
#include <vector>

#include "controls/ControlWidget.h"
#include "controls/IGridRecords.h"

namespace qv {

class THighScoresGridControl : public TControlWidget {
public:
  struct TColumn {
    std::string name;
    std::string widgetName;
  };

  // "rowheight" (default height div 10), "color", "selectedcolor",
  // "font_height" (default rowheight), all always written; "columns" with
  // "column" items.
  QV_PROPERTY_TABLE(THighScoresGridControl)

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  // Reports columns whose template widget is missing.
  void SetOwner(IWidgetOwner* owner) override;
  // Only the rows: the children are templates and are not drawn themselves.
  void Draw(ISurface* target, int x, int y) override;
  // "recordtable": the records to show (IGridRecords).
  Ref<IInterface> GetObjectProperty(const std::string& name) override;
  bool SetObjectProperty(const std::string& name, const Ref<IInterface>& value) override;

  const std::vector<TColumn>& GetColumns() const { return columns_; }
  IGridRecords* GetRecords() const { return records_.get(); }
  void SetRecords(const Ref<IGridRecords>& records);
  int GetRowHeight() const { return rowHeight_; }
  int GetFontHeight() const { return fontHeight_; }

protected:
  ~THighScoresGridControl() override = default;

private:
  int rowHeight_ = 0;
  std::vector<TColumn> columns_;
  Ref<IGridRecords> records_;
  uint32_t color_ = 0;
  uint32_t selectedColor_ = 0;
  int fontHeight_ = 0;
};

}  // namespace qv
