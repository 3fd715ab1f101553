#include "functions/ParamDef.h"

#include "storage/StorageAccess.h"

namespace qv {

void TParamDef::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  row_ = ReadInt(storage, "row", -1);
  col_ = ReadInt(storage, "col", 0);
  static_ = ReadBool(storage, "static", false);
  value_ = static_ ? static_cast<float>(ReadFloat(storage, "value", 0.0)) : 0.0f;
  outName_ = ReadString(storage, "outname");
  outRow_ = ReadInt(storage, "outrow", -1);
  outCol_ = ReadInt(storage, "outcol", -1);
  if (static_ || !outName_.empty()) {
    outRow_ = outCol_ = 0;
  } else {
    if (outRow_ == -1 && outCol_ == -1) outName_ = GetName();
    if (outRow_ == -1) outRow_ = 0;
    if (outCol_ == -1) outCol_ = 0;
  }
}

void TParamDef::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  // The row and a positional link are written too, so a saved definition
  // loads back into the same place.
  WriteInt(storage, "row", row_);
  WriteInt(storage, "col", col_);
  WriteBool(storage, "static", static_);
  WriteFloat(storage, "value", value_, static_);
  WriteString(storage, "outname", outName_, !outName_.empty());
  const bool byPosition = !static_ && outName_.empty();
  WriteInt(storage, "outrow", outRow_, byPosition);
  WriteInt(storage, "outcol", outCol_, byPosition);
}

Ref<IInterface> TParamDefCollection::CreateItem(const StorageRef& storage) {
  const int row = ReadInt(storage, "row", -1);
  const int col = ReadInt(storage, "col", 0);
  if (TParamDef* existing = DefAt(row, col)) return Ref<IInterface>(existing);
  Ref<TParamDef> def = MakeRef<TParamDef>();
  def->Initialize();
  return def;
}

void TParamDefCollection::AddItem(const Ref<IInterface>& item) {
  for (int i = 0; i < Count(); ++i)
    if (Item(i) == item) {
      layoutValid_ = false;  // reloaded in place; its position may differ
      return;
    }
  // Two definitions may share a name; the second gets a generated key.
  if (AddNamed(item) < 0) Insert(-1, std::nullopt, item);
  layoutValid_ = false;
}

void TParamDefCollection::Delete(int index) {
  TPersistItemCollection::Delete(index);
  layoutValid_ = false;
}

void TParamDefCollection::Delete(std::string_view key) {
  TPersistItemCollection::Delete(key);
  layoutValid_ = false;
}

void TParamDefCollection::Clear() {
  TPersistItemCollection::Clear();
  layoutValid_ = false;
}

void TParamDefCollection::UpdateLayout() const {
  if (layoutValid_) return;
  matrix_.clear();
  for (int i = 0; i < Count(); ++i) {
    auto* def = dynamic_cast<TParamDef*>(Item(i).get());
    if (!def) continue;
    const int row = def->GetRow(), col = def->GetCol();
    if (row < 0 || col < 0 || row >= kMaxRows || col >= kMaxCols) continue;
    if (static_cast<int>(matrix_.size()) <= row) matrix_.resize(static_cast<size_t>(row) + 1);
    auto& cells = matrix_[static_cast<size_t>(row)];
    if (static_cast<int>(cells.size()) <= col) cells.resize(static_cast<size_t>(col) + 1, nullptr);
    cells[static_cast<size_t>(col)] = def;
  }
  layoutValid_ = true;
}

int TParamDefCollection::GetRowCount() const {
  UpdateLayout();
  return static_cast<int>(matrix_.size());
}

int TParamDefCollection::GetColCount(int row) const {
  UpdateLayout();
  if (row < 0 || row >= static_cast<int>(matrix_.size())) return 0;
  return static_cast<int>(matrix_[static_cast<size_t>(row)].size());
}

TParamDef* TParamDefCollection::DefAt(int row, int col) const {
  UpdateLayout();
  if (row < 0 || row >= static_cast<int>(matrix_.size())) return nullptr;
  const auto& cells = matrix_[static_cast<size_t>(row)];
  if (col < 0 || col >= static_cast<int>(cells.size())) return nullptr;
  return cells[static_cast<size_t>(col)];
}

}  // namespace qv
