// One level: the board's shape, per cell a kind, a required colour and an
// optional fixed flower, plus the palette, the time allowance and the
// screen offset. Loaded from and saved to one storage node.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "storage/HierStorage.h"
#include "storage/PersistObject.h"
#include "storage/PropertyTable.h"

namespace qv {

// A level that cannot be loaded (a missing or malformed default, a board
// larger than the game accepts). The message says which value is wrong.
class ELevelError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// One cell definition: values as the level file holds them.
struct TCellDef {
  int32_t flower = -1;  // -1 random, -10 artifact, k >= 0 palette index
  int32_t kind = -1;    // -1 hole .. 3 triple
  int32_t colour = -1;  // -1 none, k >= 0 palette index
  friend bool operator==(const TCellDef&, const TCellDef&) = default;
};

class TZinLevel : public TNamedObject, public IPersistent {
protected:
  ~TZinLevel() override = default;

public:
  const std::string& GetFlowerColors() const { return flowerColors_; }
  void SetFlowerColors(const std::string& text) { flowerColors_ = text; }
  int32_t GetTime() const { return time_; }
  void SetTime(int32_t seconds) { time_ = seconds; }
  int32_t GetShiftX() const { return shiftX_; }
  void SetShiftX(int32_t x) { shiftX_ = x; }
  int32_t GetShiftY() const { return shiftY_; }
  void SetShiftY(int32_t y) { shiftY_ = y; }
  int32_t GetCols() const { return cols_; }
  int32_t GetRows() const { return rows_; }
  int32_t GetDefaultKind() const { return defaults_.kind; }
  void SetDefaultKind(int32_t kind) { defaults_.kind = kind; }
  int32_t GetDefaultFlower() const { return defaults_.flower; }
  void SetDefaultFlower(int32_t flower) { defaults_.flower = flower; }
  int32_t GetDefaultColour() const { return defaults_.colour; }
  void SetDefaultColour(int32_t colour) { defaults_.colour = colour; }
  const TCellDef& GetDefaults() const { return defaults_; }

  // A position outside the grid reads as a hole and ignores writes.
  TCellDef GetCell(int col, int row) const;
  void SetCell(int col, int row, const TCellDef& def);
  // Cells that existed keep their definitions, new ones take the defaults.
  // Sizes are limited to 0..kMaxBoardSize.
  void Resize(int cols, int rows);

  // "name", "time", "Flowercolors", "shift_x", "shift_y", the three cell
  // defaults (required: present and a 32-bit integer), "cols" and "rows"
  // (0..kMaxBoardSize); all always written.
  static const TPropertyTable<TZinLevel>& Properties();

  // Throws ELevelError when a default is missing or malformed, or the size
  // is beyond kMaxBoardSize; the level is then left unchanged.
  void Load(const StorageRef& storage) override;
  // Cells equal to the defaults are not written.
  void Save(const StorageRef& storage) override { SaveTo(storage); }
  void SaveTo(const StorageRef& storage) const;
  std::string GetStorageName() const override { return "level"; }

private:
  void SetStagedCols(int32_t cols) { stagedCols_ = cols; }
  void SetStagedRows(int32_t rows) { stagedRows_ = rows; }

  std::string flowerColors_;
  int32_t time_ = 0;
  int32_t shiftX_ = 0;
  int32_t shiftY_ = 0;
  int32_t cols_ = 0;
  int32_t rows_ = 0;
  TCellDef defaults_;
  int32_t stagedCols_ = 0, stagedRows_ = 0;  // the size as loaded, until Load resizes
  std::vector<std::vector<TCellDef>> grid_;  // [col][row]
};

}  // namespace qv
