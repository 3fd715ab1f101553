// Cell definitions of a parameter space: where a cell sits (row, column)
// and what it holds (a constant of its own, or a link to a cell of the
// owner's parameter space, by name or by position).
#pragma once

#include <string>
#include <vector>

#include "storage/Collections.h"
#include "storage/PersistObject.h"

namespace qv {

class IParamDef : public virtual IInterface {
protected:
  ~IParamDef() override = default;

public:
  virtual const std::string& GetDefName() const = 0;
  virtual int GetRow() const = 0;
  virtual int GetCol() const = 0;
  virtual bool IsStatic() const = 0;
  virtual float GetStaticValue() const = 0;
  virtual const std::string& GetOutName() const = 0;
  virtual int GetOutRow() const = 0;
  virtual int GetOutCol() const = 0;
};

class TParamDef : public TPersistObject, public IParamDef {
protected:
  ~TParamDef() override = default;

public:
  TParamDef() { SetStorageName("paramdef"); }

  const std::string& GetDefName() const override { return GetName(); }
  int GetRow() const override { return row_; }
  int GetCol() const override { return col_; }
  bool IsStatic() const override { return static_; }
  float GetStaticValue() const override { return value_; }
  const std::string& GetOutName() const override { return outName_; }
  int GetOutRow() const override { return outRow_; }
  int GetOutCol() const override { return outCol_; }

  void SetPosition(int row, int col) {
    row_ = row;
    col_ = col;
  }
  void SetStatic(float value) {
    static_ = true;
    value_ = value;
    outName_.clear();
    outRow_ = outCol_ = 0;
  }
  // A link to the owner's cell of that name.
  void SetOutName(const std::string& name) {
    static_ = false;
    outName_ = name;
    outRow_ = outCol_ = 0;
  }
  // A link to the owner's cell at that position.
  void SetOutPosition(int row, int col) {
    static_ = false;
    outName_.clear();
    outRow_ = row;
    outCol_ = col;
  }

  // "row", "col", "static" (always written), "value" (written for static
  // definitions), "outname" (when not empty), "outrow", "outcol" (written
  // for links by position, so a saved definition loads back in place).
  QV_PROPERTY_TABLE(TParamDef)
  // After the table: a static definition has no link; a link without a name
  // or position links to the owner's cell of the definition's own name.
  void LoadFromStorage(const StorageRef& storage) override;

private:
  bool LinksByPosition() const { return !static_ && outName_.empty(); }

  int row_ = -1;
  int col_ = 0;
  bool static_ = false;
  float value_ = 0.0f;
  std::string outName_;
  int outRow_ = -1;
  int outCol_ = -1;
};

// The definitions of a parameter space and their layout: rows of cells,
// each row as long as its largest column used + 1. Definitions without a
// place (negative row or column, or beyond kMaxRows x kMaxCols) have no cell.
class TParamDefCollection : public TPersistItemCollection {
protected:
  ~TParamDefCollection() override = default;

public:
  static constexpr int kMaxRows = 256;
  static constexpr int kMaxCols = 256;

  TParamDefCollection() {
    SetStorageName("paramdefs");
    SetItemElementName("paramdef");
  }

  // A "paramdef" element at the position of an existing definition reloads it.
  Ref<IInterface> CreateItem(const StorageRef& storage) override;
  void AddItem(const Ref<IInterface>& item) override;
  void Delete(int index) override;
  void Delete(std::string_view key) override;
  void Clear() override;
  // Appends a definition made in code.
  void AddDef(const Ref<TParamDef>& def) { AddItem(def); }

  int GetRowCount() const;
  int GetColCount(int row) const;
  // The definition at (row, col), or nullptr.
  TParamDef* DefAt(int row, int col) const;
  // Call after changing a definition's position.
  void InvalidateLayout() { layoutValid_ = false; }

private:
  void UpdateLayout() const;

  mutable bool layoutValid_ = false;
  mutable std::vector<std::vector<TParamDef*>> matrix_;
};

}  // namespace qv
