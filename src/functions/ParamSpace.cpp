#include "functions/ParamSpace.h"

#include "core/StringUtils.h"
#include "storage/ClassRegistry.h"

namespace qv {

void TParamSpace::Bind(IParamSpace* owner) {
  Unbind();
  owner_ = owner;
  const int rows = defs_->GetRowCount();
  cells_.resize(static_cast<size_t>(rows));
  set_.resize(static_cast<size_t>(rows));
  for (int r = 0; r < rows; ++r) {
    const int cols = defs_->GetColCount(r);
    auto& cells = cells_[static_cast<size_t>(r)];
    auto& set = set_[static_cast<size_t>(r)];
    cells.assign(static_cast<size_t>(cols), nullptr);
    set.assign(static_cast<size_t>(cols), false);
    for (int c = 0; c < cols; ++c) {
      const TParamDef* def = defs_->DefAt(r, c);
      float* cell = nullptr;
      if (def && def->IsStatic()) {
        own_.push_back(def->GetStaticValue());
        cell = &own_.back();
      } else if (def && owner) {
        cell = def->GetOutName().empty() ? owner->CellAt(def->GetOutRow(), def->GetOutCol())
                                         : owner->FindCell(def->GetOutName());
      }
      set[static_cast<size_t>(c)] = cell != nullptr;
      if (!cell) {
        own_.push_back(0.0f);
        cell = &own_.back();
      }
      cells[static_cast<size_t>(c)] = cell;
    }
  }
  bound_ = true;
}

void TParamSpace::Unbind() {
  cells_.clear();
  set_.clear();
  own_.clear();
  owner_ = nullptr;
  bound_ = false;
}

float* TParamSpace::Slot(int row, int col) const {
  if (row < 0 || row >= GetRowCount()) return nullptr;
  const auto& cells = cells_[static_cast<size_t>(row)];
  if (col < 0 || col >= static_cast<int>(cells.size())) return nullptr;
  return cells[static_cast<size_t>(col)];
}

bool TParamSpace::IsCellSet(int row, int col) const {
  return Slot(row, col) && set_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

float* TParamSpace::FindCell(const std::string& name) {
  for (int r = 0; r < GetRowCount(); ++r) {
    for (int c = 0; c < GetColCount(r); ++c) {
      const TParamDef* def = defs_->DefAt(r, c);
      if (def && SameText(def->GetName(), name)) return CellAt(r, c);
    }
  }
  return nullptr;
}

void TParamSpace::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  LoadObjectFrom(*defs_, storage, "paramdefs", 0);
}

void TParamSpace::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  SaveObjectTo(*defs_, storage, "paramdefs");
}

}  // namespace qv
