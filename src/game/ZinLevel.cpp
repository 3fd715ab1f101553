#include "game/ZinLevel.h"

#include <algorithm>
#include <limits>

#include "core/StringUtils.h"
#include "game/BoardTypes.h"
#include "storage/StorageAccess.h"

namespace qv {

TCellDef TZinLevel::GetCell(int col, int row) const {
  if (col < 0 || col >= cols_ || row < 0 || row >= rows_) return {};
  return grid_[static_cast<size_t>(col)][static_cast<size_t>(row)];
}

void TZinLevel::SetCell(int col, int row, const TCellDef& def) {
  if (col < 0 || col >= cols_ || row < 0 || row >= rows_) return;
  grid_[static_cast<size_t>(col)][static_cast<size_t>(row)] = def;
}

void TZinLevel::Resize(int cols, int rows) {
  cols = std::clamp(cols, 0, kMaxBoardSize);
  rows = std::clamp(rows, 0, kMaxBoardSize);
  grid_.resize(static_cast<size_t>(cols));
  for (auto& column : grid_) column.resize(static_cast<size_t>(rows), defaults_);
  cols_ = cols;
  rows_ = rows;
}

namespace {

// A default the level cannot do without: present and a whole 32-bit number.
int32_t ReadRequiredInt(const StorageRef& s, const std::string& name) {
  const std::string text = ReadString(s, name, "");
  long long value = 0;
  if (text.empty()) throw ELevelError("level has no \"" + name + "\"");
  if (!TryParseInt(text, value) || value < std::numeric_limits<int32_t>::min() ||
      value > std::numeric_limits<int32_t>::max())
    throw ELevelError("\"" + name + "\" is not an integer: '" + text + "'");
  return static_cast<int32_t>(value);
}

int32_t ReadSize(const StorageRef& s, const std::string& name) {
  const int value = ReadInt(s, name, 0);
  if (value > kMaxBoardSize)
    throw ELevelError("\"" + name + "\" is " + std::to_string(value) + ", more than the largest board (" +
                      std::to_string(kMaxBoardSize) + ")");
  return std::max(value, 0);
}

}  // namespace

const TPropertyTable<TZinLevel>& TZinLevel::Properties() {
  // Sizes go through the staging fields: Load resizes the grid to them.
  static const TPropertyTable<TZinLevel> table =
      TPropertyTable<TZinLevel>()
          .String("name", &TZinLevel::GetName, &TZinLevel::SetName)
          .Always()
          .Int("time", &TZinLevel::time_)
          .Always()
          .String("Flowercolors", &TZinLevel::flowerColors_)
          .Always()
          .Int("shift_x", &TZinLevel::shiftX_)
          .Always()
          .Int("shift_y", &TZinLevel::shiftY_)
          .Always()
          .Int("Flowercolor_default", &TZinLevel::GetDefaultFlower, &TZinLevel::SetDefaultFlower)
          .Always()
          .Read(ReadRequiredInt)
          .Int("Celltype_default", &TZinLevel::GetDefaultKind, &TZinLevel::SetDefaultKind)
          .Always()
          .Read(ReadRequiredInt)
          .Int("Cellcolor_default", &TZinLevel::GetDefaultColour, &TZinLevel::SetDefaultColour)
          .Always()
          .Read(ReadRequiredInt)
          .Int("cols", &TZinLevel::GetCols, &TZinLevel::SetStagedCols)
          .Always()
          .Read(ReadSize)
          .Int("rows", &TZinLevel::GetRows, &TZinLevel::SetStagedRows)
          .Always()
          .Read(ReadSize);
  return table;
}

void TZinLevel::Load(const StorageRef& storage) {
  // Every value is read before any is stored, so a bad one throws with the
  // level unchanged.
  Properties().Load(*this, storage);
  Resize(0, 0);
  Resize(stagedCols_, stagedRows_);

  if (!storage) return;
  const StorageRef list = storage->GetChild("cells_def", 0);
  if (!list) return;
  const int count = list->GetChildCount("cell_def");
  for (int i = 0; i < count; ++i) {
    const StorageRef cell = list->GetChild("cell_def", i);
    const int col = ReadInt(cell, "col", -1);
    const int row = ReadInt(cell, "row", -1);
    if (col < 0 || col >= cols_ || row < 0 || row >= rows_) continue;
    TCellDef def;
    def.kind = ReadInt(cell, "Celltype", defaults_.kind);
    def.flower = ReadInt(cell, "Flowercolor", defaults_.flower);
    def.colour = ReadInt(cell, "Cellcolor", defaults_.colour);
    SetCell(col, row, def);
  }
}

void TZinLevel::SaveTo(const StorageRef& storage) const {
  if (!storage) return;
  Properties().Save(*this, storage);
  const StorageRef list = storage->AddChild("cells_def");
  if (!list) return;
  for (int c = 0; c < cols_; ++c) {
    for (int r = 0; r < rows_; ++r) {
      const TCellDef& def = grid_[static_cast<size_t>(c)][static_cast<size_t>(r)];
      if (def == defaults_) continue;
      const StorageRef cell = list->AddChild("cell_def");
      WriteInt(cell, "col", c);
      WriteInt(cell, "row", r);
      WriteInt(cell, "Celltype", def.kind, def.kind != defaults_.kind);
      WriteInt(cell, "Cellcolor", def.colour, def.colour != defaults_.colour);
      WriteInt(cell, "Flowercolor", def.flower, def.flower != defaults_.flower);
    }
  }
}

}  // namespace qv
