#include "game/PlayRecord.h"

#include "core/Json.h"

namespace qv {

std::string BoardJson(const TBoardModel& board) {
  std::string out = "[";
  for (int c = 0; c < board.Cols(); ++c) {
    out += c ? ",[" : "[";
    for (int r = 0; r < board.Rows(); ++r) {
      const TCell& cell = board.Cell(c, r);
      if (r) out += ',';
      out += '[' + std::to_string(cell.kind) + ',' + std::to_string(cell.colour) + ',' +
             std::to_string(cell.flower) + ']';
    }
    out += ']';
  }
  return out + "]";
}

std::string MovesJson(const TLinkCellInfoCollection& moves) {
  std::string out = "[";
  bool first = true;
  for (const auto& m : moves) {
    if (!first) out += ',';
    first = false;
    out += '[' + std::to_string(m.first.col) + ',' + std::to_string(m.first.row) + ',' +
           std::to_string(m.second.col) + ',' + std::to_string(m.second.row) + ',' +
           std::to_string(m.points) + ']';
  }
  return out + "]";
}

std::string CountersJson(const TBoardModel& board) {
  std::string out = "[";
  for (int i = 0; i < kCounterCount; ++i) out += (i ? "," : "") + std::to_string(board.Counter(i));
  return out + "]";
}

std::string StatsJson(const TGameStatistics& stats) {
  std::string out = "{";
  bool first = true;
  for (const auto& [name, value] : stats.Values()) {
    if (!first) out += ',';
    first = false;
    out += JsonString(name) + ':' + std::to_string(value);
  }
  return out + "}";
}

std::string StatusJson(std::optional<ELevelStatus> status) {
  return status ? std::to_string(StatusNumber(*status)) : std::string("null");
}

std::string SwapJson(TCellPos a, TCellPos b) {
  return '[' + std::to_string(a.col) + ',' + std::to_string(a.row) + ',' + std::to_string(b.col) + ',' +
         std::to_string(b.row) + ']';
}

std::string LinesJson(const std::vector<TWaveLine>& lines) {
  std::string out = "[";
  bool first = true;
  for (const auto& line : lines) {
    if (!first) out += ',';
    first = false;
    out += "{\"cells\":[";
    for (size_t i = 0; i < line.cells.size(); ++i) {
      if (i) out += ',';
      out += '[' + std::to_string(line.cells[i].col) + ',' + std::to_string(line.cells[i].row) + ']';
    }
    out += "],\"points\":" + std::to_string(line.points) + '}';
  }
  return out + "]";
}

std::string JoinJsonFields(const TJsonFields& fields) {
  std::string out = "{";
  bool first = true;
  for (const auto& [name, value] : fields) {
    if (!first) out += ',';
    first = false;
    out += JsonString(name) + ':' + value;
  }
  return out + "}";
}

TJsonFields LevelStartFields(const TBoardModel& board, const TTurnDriver& driver) {
  std::string palette = "[";
  for (size_t i = 0; i < board.Palette().size(); ++i)
    palette += (i ? "," : "") + std::to_string(board.Palette()[i]);
  palette += ']';
  return {{"palette", palette},
          {"cols", std::to_string(board.Cols())},
          {"rows", std::to_string(board.Rows())},
          {"board", BoardJson(board)},
          {"counters", CountersJson(board)},
          {"moves", MovesJson(driver.Moves())},
          {"status", StatusJson(driver.Status())}};
}

TJsonFields PlayerStateFields(const TBoardModel& board, const TTurnDriver& driver) {
  return {{"board", BoardJson(board)},
          {"scores", '[' + std::to_string(board.Score(1)) + ',' + std::to_string(board.Score(2)) + ']'},
          {"player", std::to_string(board.CurrentPlayer())},
          {"stats", '[' + StatsJson(board.Statistics(1)) + ',' + StatsJson(board.Statistics(2)) + ']'},
          {"counters", CountersJson(board)},
          {"moves", MovesJson(driver.Moves())},
          {"status", StatusJson(driver.Status())}};
}

void TMoveRecorder::Begin(TCellPos a, TCellPos b, bool productive, const TBoardModel& board) {
  active_ = true;
  swap_ = SwapJson(a, b);
  productive_ = productive;
  waves_ = "[";
  before_ = BoardJson(board);
  firstWave_ = true;
  waveOpen_ = false;
}

void TMoveRecorder::Step(const TTurnStep& step, const TBoardModel& board) {
  if (!active_) return;
  if (step.kind == ETurnStepKind::ExplosionWave) {
    if (waveOpen_) waves_ += "null}";
    waves_ += firstWave_ ? "" : ",";
    firstWave_ = false;
    waves_ += "{\"chain\":" + std::to_string(step.wave.chainLevel) + ",\"board\":" + before_ +
              ",\"lines\":" + LinesJson(step.wave.lines) + ",\"exploded\":" + BoardJson(board) +
              ",\"falls\":";
    waveOpen_ = true;
  } else if (step.kind == ETurnStepKind::Falls) {
    before_ = BoardJson(board);
    waves_ += before_ + "}";
    waveOpen_ = false;
  }
}

TJsonFields TMoveRecorder::Finish(const TBoardModel& board, const TTurnDriver& driver) {
  if (waveOpen_) waves_ += "null}";
  waveOpen_ = false;
  active_ = false;
  TJsonFields fields{
      {"swap", swap_}, {"productive", productive_ ? "true" : "false"}, {"waves", waves_ + "]"}};
  for (auto& field : PlayerStateFields(board, driver)) fields.push_back(std::move(field));
  return fields;
}

}  // namespace qv
