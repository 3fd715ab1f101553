#include "functions/ParamDef.h"

#include "storage/StorageAccess.h"

namespace qv {

const TPropertyTable<TParamDef>& TParamDef::Properties() {
  static const TPropertyTable<TParamDef> table = TPropertyTable<TParamDef>(TPersistObject::Properties())
                                                     .Int("row", &TParamDef::row_, -1)
                                                     .Always()
                                                     .Int("col", &TParamDef::col_, 0)
                                                     .Always()
                                                     .Bool("static", &TParamDef::static_)
                                                     .Always()
                                                     .Float("value", &TParamDef::value_)
                                                     .WriteIf(&TParamDef::static_)
                                                     .String("outname", &TParamDef::outName_)
                                                     .Int("outrow", &TParamDef::outRow_, -1)
                                                     .WriteIf(&TParamDef::LinksByPosition)
                                                     .Int("outcol", &TParamDef::outCol_, -1)
                                                     .WriteIf(&TParamDef::LinksByPosition);
  return table;
}

void TParamDef::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  if (!static_) value_ = 0.0f;
  if (static_ || !outName_.empty()) {
    outRow_ = outCol_ = 0;
  } else {
    if (outRow_ == -1 && outCol_ == -1) outName_ = GetName();
    if (outRow_ == -1) outRow_ = 0;
    if (outCol_ == -1) outCol_ = 0;
  }
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
