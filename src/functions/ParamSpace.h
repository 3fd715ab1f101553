// A parameter space: a ragged matrix of 32-bit float cells laid out by its
// definitions. A cell is a constant of its own (static definitions) or a
// link to a cell of the owner's parameter space, so writing a cell writes
// the owner's value.
//
// A cell that is neither static nor linked reads as 0: it gets a private
// slot (writes to it go nowhere else), and the space reports it as unset to
// whoever links to it.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "functions/ParamDef.h"

namespace qv {

// What another space links to: cells by definition name or by position.
class IParamSpace : public virtual IInterface {
protected:
  ~IParamSpace() override = default;

public:
  // The cell whose definition has that name (case-insensitive); nullptr
  // when there is none or it is unset.
  virtual float* FindCell(const std::string& name) = 0;
  virtual float* CellAt(int row, int col) = 0;
};

class TParamSpace : public TPersistObject, public IParamSpace {
protected:
  ~TParamSpace() override = default;

public:
  TParamSpace() { SetStorageName("paramspace"); }

  TParamDefCollection& GetDefs() { return *defs_; }
  const TParamDefCollection& GetDefs() const { return *defs_; }

  // Sizes the matrix from the layout and links every cell: static cells
  // get their value, the others link to `owner` by out name or out position.
  void Bind(IParamSpace* owner);
  // Frees the static cells and forgets the links.
  void Unbind();
  bool IsBound() const { return bound_; }
  IParamSpace* GetOwner() const { return owner_; }

  int GetRowCount() const { return static_cast<int>(cells_.size()); }
  int GetColCount(int row) const {
    return row >= 0 && row < GetRowCount() ? static_cast<int>(cells_[static_cast<size_t>(row)].size()) : 0;
  }
  // The cell's storage (never nullptr inside the matrix), or nullptr
  // outside it. Reads of unset cells give 0.
  float* Slot(int row, int col) const;
  float Get(int row, int col) const {
    const float* p = Slot(row, col);
    return p ? *p : 0.0f;
  }
  void Set(int row, int col, float value) const {
    if (float* p = Slot(row, col)) *p = value;
  }
  bool IsCellSet(int row, int col) const;

  // IParamSpace
  float* FindCell(const std::string& name) override;
  float* CellAt(int row, int col) override { return IsCellSet(row, col) ? Slot(row, col) : nullptr; }

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

private:
  Ref<TParamDefCollection> defs_ = MakeRef<TParamDefCollection>();
  IParamSpace* owner_ = nullptr;
  bool bound_ = false;
  std::vector<std::vector<float*>> cells_;
  std::vector<std::vector<bool>> set_;
  std::deque<float> own_;  // static cells and the private slots of unset cells
};

}  // namespace qv
