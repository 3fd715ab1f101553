#include "controls/HighScoresGridControl.h"

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "storage/StorageAccess.h"

namespace qv {

const TPropertyTable<THighScoresGridControl>& THighScoresGridControl::Properties() {
  using W = THighScoresGridControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TControlWidget::Properties())
                                             .Int("rowheight", &W::rowHeight_)
                                             .Always()
                                             .Colour("color", &W::color_)
                                             .Always()
                                             .Colour("selectedcolor", &W::selectedColor_)
                                             .Always()
                                             .Int("font_height", &W::fontHeight_)
                                             .Always()
                                             .StorageOnly();
  return table;
}

void THighScoresGridControl::LoadFromStorage(const StorageRef& storage) {
  TControlWidget::LoadFromStorage(storage);
  if (!storage) return;
  if (storage->ReadAttr("rowheight", "").empty()) rowHeight_ = height_ / 10;
  if (storage->ReadAttr("font_height", "").empty()) fontHeight_ = rowHeight_;
  columns_.clear();
  if (const StorageRef node = storage->GetChild("columns", 0)) {
    const int count = node->GetChildCount("column");
    for (int i = 0; i < count; ++i) {
      const StorageRef column = node->GetChild("column", i);
      if (!column) continue;
      columns_.push_back({ReadString(column, "name"), ReadString(column, "widgetname")});
    }
  }
}

void THighScoresGridControl::SaveToStorage(const StorageRef& storage) {
  TControlWidget::SaveToStorage(storage);
  if (!storage || columns_.empty()) return;
  const StorageRef node = storage->AddChild("columns");
  if (!node) return;
  for (const TColumn& c : columns_) {
    const StorageRef column = node->AddChild("column");
    if (!column) continue;
    WriteString(column, "name", c.name);
    WriteString(column, "widgetname", c.widgetName);
  }
}

void THighScoresGridControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
  if (!owner) return;
  for (const TColumn& column : columns_)
    if (!widgets_->GetWidgetByName(column.widgetName))
      ReportDataError(GetFullPath(),
                      "column \"" + column.name + "\": no widget \"" + column.widgetName + "\"");
}

void THighScoresGridControl::SetRecords(const Ref<IGridRecords>& records) {
  records_ = records;
  needRepaint_ = true;
}

Ref<IInterface> THighScoresGridControl::GetObjectProperty(const std::string& name) {
  if (SameText(name, "recordtable")) return records_;
  return TControlWidget::GetObjectProperty(name);
}

bool THighScoresGridControl::SetObjectProperty(const std::string& name, const Ref<IInterface>& value) {
  if (!SameText(name, "recordtable")) return TControlWidget::SetObjectProperty(name, value);
  Ref<IGridRecords> records = Query<IGridRecords>(value);
  if (value && !records) ReportDataError(GetFullPath(), "\"recordtable\" is not a record table");
  SetRecords(records);
  return true;
}

void THighScoresGridControl::Draw(ISurface* target, int x, int y) {
  if (!target || !records_) return;
  const int count = records_->GetRecordCount();
  const int highlighted = records_->GetHighlightedRecord();
  for (const TColumn& column : columns_) {
    const Ref<IWidget> cell = widgets_->GetWidgetByName(column.widgetName);
    if (!cell) continue;
    for (int i = 0; i < count; ++i) {
      const uint32_t colour = i == highlighted ? selectedColor_ : color_;
      cell->SetPropertyValue("fillcolor", std::to_string(static_cast<int32_t>(colour)));
      const TVariant value = records_->GetRecordField(i, column.name);
      if (VarIsEmpty(value)) continue;
      cell->SetPropertyValue("text_utf8", VarToString(value));
      cell->Draw(target, x + RoundEven(cell->GetAnchorLeft()),
                 y + RoundEven(cell->GetAnchorTop()) + rowHeight_ * i);
    }
  }
}

}  // namespace qv
