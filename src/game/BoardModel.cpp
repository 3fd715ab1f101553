#include "game/BoardModel.h"

#include <algorithm>
#include <cstdlib>

#include "core/Diagnostics.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "game/Scoring.h"
#include "game/ZinLevel.h"

namespace qv {

namespace {

const TCell kHole{};

// Longest run a line can have: a column or a diagonal of the largest board.
constexpr int kMaxRun = 2 * kMaxBoardSize + 1;

bool IsLocked(int32_t kind) {
  return kind == kCellDouble || kind == kCellTriple;
}

// One step along an axis, by the parity of the column being left. Axis 0 is
// vertical, 1 and 2 the diagonals; direction 0 goes up (vertical) or
// towards lower columns, direction 1 the other way.
struct TStep {
  int dc;
  int dr;
};
constexpr TStep kSteps[3][2][2] = {{{{0, -1}, {0, -1}}, {{0, 1}, {0, 1}}},    // vertical
                                   {{{-1, 1}, {-1, 0}}, {{1, 0}, {1, -1}}},   // first diagonal
                                   {{{-1, 0}, {-1, -1}}, {{1, 1}, {1, 0}}}};  // second diagonal

}  // namespace

std::vector<int32_t> ParsePalette(std::string_view text) {
  std::vector<int32_t> palette;
  if (Trim(text).empty()) return palette;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string item =
        Trim(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
    long long value = 0;
    const bool number = TryParseInt(item, value) && value >= INT32_MIN && value <= INT32_MAX;
    palette.push_back(number ? static_cast<int32_t>(value) : 0);
    if (!number || value < 10 || value > 99) {
      ReportDataError("Flowercolors \"" + std::string(text) + "\"",
                      "entry " + std::to_string(palette.size()) + " '" + item +
                          "' is not a two-digit colour code" + (number ? "; kept as it is" : "; 0 is used"));
    }
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return palette;
}

int TExplosionWave::LongestLine() const {
  size_t longest = 0;
  for (const auto& line : lines) longest = std::max(longest, line.cells.size());
  return static_cast<int>(longest);
}

// --- grid and building -------------------------------------------------------

void TBoardModel::Resize(int cols, int rows) {
  cols_ = std::clamp(cols, 0, kMaxBoardSize);
  rows_ = std::clamp(rows, 0, kMaxBoardSize);
  cells_.assign(static_cast<size_t>((cols_ + 2) * (rows_ + 2)), TCell{});
  for (int axis = 0; axis < 3; ++axis)
    for (int dir = 0; dir < 2; ++dir)
      for (int parity = 0; parity < 2; ++parity) {
        const TStep step = kSteps[axis][dir][parity];
        offsets_[axis][dir][parity] = step.dc * (rows_ + 2) + step.dr;
      }
}

std::vector<TCell> TBoardModel::Cells() const {
  std::vector<TCell> grid;
  grid.reserve(static_cast<size_t>(cols_ * rows_));
  for (int c = 0; c < cols_; ++c)
    for (int r = 0; r < rows_; ++r) grid.push_back(At(c, r));
  return grid;
}

const TCell& TBoardModel::Cell(int col, int row) const {
  return Inside(col, row) ? At(col, row) : kHole;
}

void TBoardModel::SetCell(int col, int row, const TCell& cell) {
  if (Inside(col, row)) At(col, row) = cell;
}

void TBoardModel::SetPalette(std::string_view text) {
  palette_ = ParsePalette(text);
  const int n = static_cast<int>(palette_.size());
  for (int i = 0; i < n; ++i)
    std::swap(palette_[static_cast<size_t>(i)], palette_[static_cast<size_t>(RandomInt(n))]);
}

int32_t TBoardModel::RandomColour() const {
  const int index = RandomInt(static_cast<int32_t>(palette_.size()));
  return palette_.empty() ? kNoColour : palette_[static_cast<size_t>(index)];
}

int32_t TBoardModel::MapColour(int32_t value) const {
  if (value >= 0 && static_cast<size_t>(value) < palette_.size()) return palette_[static_cast<size_t>(value)];
  return value;
}

void TBoardModel::Build(const TZinLevel& level) {
  Resize(level.GetCols(), level.GetRows());
  SetPalette(level.GetFlowerColors());
  const bool allToColour = Difficulty() > 2;
  for (int c = 0; c < cols_; ++c) {
    for (int r = 0; r < rows_; ++r) {
      const TCellDef def = level.GetCell(c, r);
      TCell& cell = At(c, r);
      cell = TCell{};
      if (def.kind < kCellComplete || def.kind > kCellTriple) continue;  // a hole, or an unknown kind
      cell.kind = def.kind == kCellComplete && allToColour ? kCellNormal : def.kind;
      cell.colour = MapColour(def.colour);
    }
  }
  FillFlowers(level);
}

bool TBoardModel::FillFlowers(const TZinLevel& level) {
  for (int restart = 0;; ++restart) {
    for (int c = 0; c < cols_; ++c) {
      for (int r = 0; r < rows_; ++r) {
        if (At(c, r).kind == kCellNone) continue;
        const int32_t flower = level.GetCell(c, r).flower;
        At(c, r).flower = flower == kNoColour ? RandomColour() : MapColour(flower);
      }
    }
    bool line = AnyLine();
    for (int round = 0; round < kFillRedrawRounds && line; ++round) {
      for (int c = 0; c < cols_; ++c) {
        for (int r = 0; r < rows_; ++r) {
          if (At(c, r).kind == kCellNone || level.GetCell(c, r).flower != kNoColour) continue;
          if (LineAt(c, r)) At(c, r).flower = RandomColour();
        }
      }
      line = AnyLine();
    }
    if (!line || restart == kMaxFillRestarts) {
      fillRestarts_ = restart;
      return !line;
    }
  }
}

void TBoardModel::CountLevelGoals() {
  int32_t colourGoal = 0;
  int32_t cellGoal = 0;
  for (const TCell& cell : cells_) {
    if (cell.kind == kCellNone) continue;
    if (cell.flower == kArtifact) ++colourGoal;
    if (cell.kind >= kCellNormal) {
      ++cellGoal;
      if (cell.colour != kNoColour) ++colourGoal;
    }
  }
  counters_[kCounterColourGoal] = colourGoal;
  counters_[kCounterCellGoal] = cellGoal;
}

// --- counters, players, scores ---------------------------------------------

int32_t TBoardModel::Counter(int index) const {
  return index >= 0 && index < kCounterCount ? counters_[static_cast<size_t>(index)] : 0;
}

void TBoardModel::SetCounter(int index, int32_t value) {
  if (index >= 0 && index < kCounterCount) counters_[static_cast<size_t>(index)] = value;
}

void TBoardModel::AddStatistic(const std::string& name, int32_t amount) {
  Statistics(currentPlayer_).Add(name, amount);
}

void TBoardModel::PayScore(int32_t points) {
  scores_[PlayerIndex(currentPlayer_)] += points;
  AddStatistic(kStatScore, points);
}

void TBoardModel::ResetPlay() {
  const int32_t difficulty = counters_[kCounterDifficulty];
  counters_.fill(0);
  counters_[kCounterDifficulty] = difficulty;
  scores_.fill(0);
  for (auto& stats : stats_) stats.Reset();
  currentPlayer_ = 1;
  possibleMoves_ = 0;
}

// --- rules -------------------------------------------------------------------

bool TBoardModel::Neighbours(int c1, int r1, int c2, int r2) {
  // Wide arithmetic: any two positions can be asked about, even far outside the grid.
  const long long dc = static_cast<long long>(c1) - c2;
  const long long dr = static_cast<long long>(r2) - r1;
  if (dc == 0) return dr == 1 || dr == -1;
  if (dc != 1 && dc != -1) return false;
  return dr == 0 || dr == ((c1 & 1) == 0 ? 1 : -1);
}

bool TBoardModel::Movable(int col, int row) const {
  if (!Inside(col, row)) return false;
  const TCell& cell = At(col, row);
  return (cell.kind == kCellComplete || cell.kind == kCellNormal) && cell.flower != kNoColour &&
         cell.flower != kArtifact;
}

int TBoardModel::Run(int col, int row, int axis, TCellPos* out) const {
  const int height = rows_ + 2;
  const int start = Index(col, row);
  const int32_t flower = cells_[static_cast<size_t>(start)].flower;
  int n = 0;
  out[n++] = {col, row};
  for (int dir = 0; dir < 2; ++dir) {
    int c = col;
    int r = row;
    int index = start;
    for (;;) {
      const TStep step = kSteps[axis][dir][c & 1];
      c += step.dc;
      r += step.dr;
      index += step.dc * height + step.dr;
      const TCell& cell = cells_[static_cast<size_t>(index)];  // the border holes stop every walk
      if (cell.kind < 0 || cell.flower != flower) break;
      out[n++] = {c, r};
    }
  }
  return n;
}

int TBoardModel::RunLength(int index, int parity, int axis, int32_t flower) const {
  int n = 1;
  const int flip = axis == 0 ? 0 : 1;  // a diagonal step changes the column
  for (int dir = 0; dir < 2; ++dir) {
    int i = index;
    int p = parity;
    for (;;) {
      i += offsets_[axis][dir][p];
      p ^= flip;
      const TCell& cell = cells_[static_cast<size_t>(i)];  // the border holes stop every walk
      if (cell.kind < 0 || cell.flower != flower) break;
      ++n;
    }
  }
  return n;
}

namespace {
constexpr int kArtifactLine = 3;
}

int TBoardModel::LineAxis(int col, int row) const {
  if (!Inside(col, row)) return -1;
  const int index = Index(col, row);
  const TCell& cell = cells_[static_cast<size_t>(index)];
  if (cell.kind < 0 || cell.flower == kNoColour) return -1;
  if (cell.flower == kArtifact) return row == rows_ - 1 || At(col, row + 1).kind < 0 ? kArtifactLine : -1;
  for (int axis = 0; axis < 3; ++axis)
    if (RunLength(index, col & 1, axis, cell.flower) >= kMinLineLength) return axis;
  return -1;
}

int TBoardModel::LineInto(int col, int row, TCellPos* out) const {
  const int axis = LineAxis(col, row);
  if (axis < 0) return 0;
  if (axis == kArtifactLine) {
    out[0] = {col, row};
    return 1;
  }
  return Run(col, row, axis, out);
}

bool TBoardModel::LineAt(int col, int row, TCellList* cells) const {
  TCellPos buffer[kMaxRun];
  const int n = LineInto(col, row, buffer);
  if (n == 0) return false;
  if (cells) cells->assign(buffer, buffer + n);
  return true;
}

bool TBoardModel::FindLineForExplosion(int col, int row, TCellList& cells) const {
  if (!Inside(col, row) || At(col, row).exploding) return false;
  return LineAt(col, row, &cells);
}

bool TBoardModel::AnyLine() const {
  for (int c = 0; c < cols_; ++c)
    for (int r = 0; r < rows_; ++r)
      if (LineAxis(c, r) >= 0) return true;
  return false;
}

namespace {
bool Remains(const TCell& cell, int difficulty) {
  if (cell.kind == kCellNone) return false;
  if (cell.flower == kArtifact) return true;
  return cell.kind >= kCellNormal && (difficulty != 1 || cell.colour != kNoColour);
}
}  // namespace

int TBoardModel::RemainingCells() const {
  const int difficulty = Difficulty();
  return static_cast<int>(std::count_if(cells_.begin(), cells_.end(),
                                        [&](const TCell& cell) { return Remains(cell, difficulty); }));
}

TCellPos TBoardModel::RemainingCell(int index) const {
  const int difficulty = Difficulty();
  for (int c = 0; c < cols_; ++c)
    for (int r = 0; r < rows_; ++r)
      if (Remains(At(c, r), difficulty) && index-- == 0) return {c, r};
  return {-1, -1};
}

bool TBoardModel::NeedsFalls() const {
  for (int c = 0; c < cols_; ++c) {
    int count = 0;
    for (int r = rows_ - 1; r >= 0; --r) {
      const TCell& cell = At(c, r);
      if (cell.kind == kCellNone) {
        if (count > 0) return true;
      } else if (IsLocked(cell.kind)) {
        count = 0;
      } else if (cell.flower == kNoColour) {
        ++count;
      } else if (count > 0) {
        return true;
      }
    }
    if (count > 0) return true;
  }
  return false;
}

int32_t TBoardModel::ScoreCells(const TCellPos* cells, int count) const {
  const int chain = counters_[kCounterChain];
  int32_t total = 0;
  for (int i = 0; i < count; ++i) total += CellPoints(Cell(cells[i].col, cells[i].row), count, chain);
  return total;
}

int32_t TBoardModel::ScoreLine(const TCellList& cells) const {
  return ScoreCells(cells.data(), static_cast<int>(cells.size()));
}

int32_t TBoardModel::ScoreLine(const TCellList& cells, bool apply) {
  if (!apply) return ScoreCells(cells.data(), static_cast<int>(cells.size()));
  const int chain = counters_[kCounterChain];
  const int n = static_cast<int>(cells.size());
  int32_t total = 0;
  for (const auto& pos : cells) {
    if (!Inside(pos.col, pos.row)) continue;
    TCell& cell = At(pos.col, pos.row);
    const int32_t points = CellPoints(cell, n, chain);
    cell.pendingScore += points;
    total += points;
  }
  return total;
}

void TBoardModel::ExchangeFlowers(TCellPos a, TCellPos b) {
  if (!Inside(a.col, a.row) || !Inside(b.col, b.row)) return;
  std::swap(At(a.col, a.row).flower, At(b.col, b.row).flower);
}

// --- explosion wave ------------------------------------------------------------

TExplosionWave TBoardModel::StartExplosionWave() {
  TExplosionWave wave;
  TCellList cells;
  for (int r = rows_ - 1; r >= 0; --r) {
    for (int c = 0; c < cols_; ++c) {
      if (!FindLineForExplosion(c, r, cells)) continue;
      for (const auto& pos : cells) At(pos.col, pos.row).exploding = true;
      wave.lines.push_back({cells, 0});
    }
  }
  for (size_t i = 0; i < wave.lines.size(); ++i) {
    if (i == 0) {
      AddStatistic(kStatCombo, 1);
      ++counters_[kCounterChain];
    }
    AddStatistic(kStatChains, 1);
    wave.lines[i].points = ScoreLine(wave.lines[i].cells, true);
  }
  wave.chainLevel = counters_[kCounterChain];
  return wave;
}

TCellExplosion TBoardModel::ExplodeCell(int col, int row) {
  TCellExplosion result;
  result.cell = {col, row};
  if (!Inside(col, row) || !At(col, row).exploding) return result;
  TCell& cell = At(col, row);
  result.exploded = true;
  result.oldKind = cell.kind;
  result.flower = cell.flower;
  cell.exploding = false;
  AddStatistic(kStatFlowers, 1);
  switch (cell.kind) {
    case kCellNormal:
      if (cell.colour == kNoColour || cell.colour == cell.flower) {
        AddStatistic(kStatTotalCells, 1);
        result.completed = true;
        if (cell.colour != kNoColour) {
          AddStatistic(kStatColourCells, 1);
          result.colourCompleted = true;
        }
        cell.kind = kCellComplete;
      }
      result.flowerRemoved = true;
      break;
    case kCellDouble:
    case kCellTriple:
      --cell.kind;  // the lock opens one step, the flower stays
      break;
    default:
      result.flowerRemoved = true;
      break;
  }
  if (result.flowerRemoved) {
    cell.flower = kNoColour;
    if (result.flower == kArtifact) {
      AddStatistic(kStatColourCells, 1);
      result.artifactCollected = true;
    }
  }
  if (cell.pendingScore > 0) {
    result.paid = cell.pendingScore;
    PayScore(cell.pendingScore);
    cell.pendingScore = 0;
  }
  result.newKind = cell.kind;
  return result;
}

std::vector<TCellExplosion> TBoardModel::ExplodeWave(const TExplosionWave& wave) {
  std::vector<TCellExplosion> exploded;
  for (const auto& line : wave.lines) {
    for (const auto& pos : line.cells) {
      const TCellExplosion result = ExplodeCell(pos.col, pos.row);
      if (result.exploded) exploded.push_back(result);
    }
  }
  return exploded;
}

// --- falls ---------------------------------------------------------------------

TFallsPlan TBoardModel::StartFalls() {
  TFallsPlan plan;
  const int remaining = RemainingCells();
  if (remaining >= 1 && remaining <= kAssistMaxRemaining) {
    const TCellPos pos = RemainingCell(RandomInt(remaining));
    const int32_t colour = Cell(pos.col, pos.row).colour;
    if (colour >= 0) {
      plan.assistColour = colour;
      plan.assistCol = pos.col;
    }
  }
  const auto addGroup = [&](int col, int top, int k) {
    for (int j = 1; j <= k; ++j) {
      TNewFlower flower;
      flower.cell = {col, top + j - 1};
      flower.startRow = top - 1;
      flower.delayMs = (k - j) * kNewFlowerWaitMs;
      flower.durationMs = j * kCellHeight * kFallMsPerPixel;
      plan.durationMs = std::max(plan.durationMs, flower.delayMs + flower.durationMs);
      plan.newFlowers.push_back(flower);
    }
  };
  for (int c = 0; c < cols_; ++c) {
    int count = 0;
    for (int r = rows_ - 1; r >= 0; --r) {
      TCell& cell = At(c, r);
      if (cell.kind == kCellNone) {
        if (count > 0) addGroup(c, r + 1, count);
        count = 0;
      } else if (cell.flower == kNoColour) {
        ++count;
      } else if (IsLocked(cell.kind)) {
        count = 0;
      } else if (count > 0) {
        At(c, r + count).flower = cell.flower;
        const int duration = count * kCellHeight * kFallMsPerPixel;
        plan.moves.push_back({{c, r}, {c, r + count}, cell.flower, duration});
        cell.flower = kNoColour;
        plan.durationMs = std::max(plan.durationMs, duration);
      }
    }
    if (count > 0) addGroup(c, 0, count);
  }
  // The lowest flower of each group starts first; equal starts keep the scan order.
  std::stable_sort(plan.newFlowers.begin(), plan.newFlowers.end(),
                   [](const TNewFlower& a, const TNewFlower& b) { return a.delayMs < b.delayMs; });
  return plan;
}

int32_t TBoardModel::ChooseNewFlower(const TFallsPlan& plan, const TNewFlower& flower) {
  const TCellPos pos = flower.cell;
  if (!Inside(pos.col, pos.row)) return kNoColour;
  int32_t colour = kNoColour;
  for (int attempt = 1; attempt <= kNewFlowerAttempts; ++attempt) {
    if (attempt == 1 && plan.assistColour >= 0 && std::abs(pos.col - plan.assistCol) <= kAssistColumnRange &&
        RandomInt(kAssistChance) == 0)
      colour = plan.assistColour;
    else
      colour = RandomColour();
    At(pos.col, pos.row).flower = colour;
    if (!LineAt(pos.col, pos.row)) break;
  }
  return colour;
}

TFallsPlan TBoardModel::RunFalls() {
  TFallsPlan plan = StartFalls();
  for (auto& flower : plan.newFlowers) flower.colour = ChooseNewFlower(plan, flower);
  return plan;
}

// --- move search -----------------------------------------------------------------

bool TBoardModel::PossibleMoves(TLinkCellInfoCollection& moves) {
  moves.Clear();
  possibleMoves_ = 0;
  if (AnyLine()) return false;
  std::vector<TLinkCellInfo> found;
  TCellPos buffer[kMaxRun];
  for (int r = 0; r < rows_; ++r) {
    for (int c = 0; c < cols_; ++c) {
      if (!Movable(c, r)) continue;
      const int32_t flower = At(c, r).flower;
      const TCellPos partners[3] = {{c, r + 1}, {c + 1, r}, {c + 1, (c & 1) == 0 ? r + 1 : r - 1}};
      for (const TCellPos& p : partners) {
        if (!Movable(p.col, p.row)) continue;
        TCell& other = At(p.col, p.row);
        if (other.flower == flower) continue;
        TCell& self = At(c, r);
        std::swap(self.flower, other.flower);
        int32_t points = 0;
        bool lines = false;
        if (LineAxis(c, r) >= 0) {
          lines = true;
          points += ScoreCells(buffer, LineInto(c, r, buffer));
        }
        if (LineAxis(p.col, p.row) >= 0) {
          lines = true;
          points += ScoreCells(buffer, LineInto(p.col, p.row, buffer));
        }
        std::swap(self.flower, other.flower);
        if (lines) found.push_back({{c, r}, p, points});
      }
    }
  }
  moves.Assign(std::move(found));
  possibleMoves_ = moves.Count();
  return true;
}

}  // namespace qv
