// Board commands for level designers: print a level, play a seeded game
// move by move, and play many games to measure a level's difficulty.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "Commands.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "game/BoardModel.h"
#include "game/ComputerPlayer.h"
#include "game/GameStatistics.h"
#include "game/TurnDriver.h"
#include "game/ZinLevel.h"
#include "storage/XMLStorage.h"

namespace qv::tool {

namespace {

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const unsigned char ch : text) {
    switch (ch) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (ch < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", ch);
          out += buf;
        } else {
          out += static_cast<char>(ch);
        }
    }
  }
  return out + "\"";
}

std::string JsonNumber(double v) {
  if (v == static_cast<double>(static_cast<long long>(v))) return std::to_string(static_cast<long long>(v));
  return FormatFloat(v);
}

Ref<TZinLevel> LoadLevelArg(const std::string& path) {
  const std::string bytes = ReadInput(path);
  const StorageRef root = LoadStorageText(bytes);
  if (!root) throw EToolError(path + " is not a storage file");
  auto level = MakeRef<TZinLevel>();
  try {
    level->Load(root);
  } catch (const ELevelError& e) {
    throw EToolError(path + ": " + e.what());
  }
  return level;
}

// An array over columns of arrays over rows of [kind, colour, flower].
std::string BoardJson(const std::vector<TCell>& cells, int cols, int rows) {
  std::string out = "[";
  for (int c = 0; c < cols; ++c) {
    out += c ? ",[" : "[";
    for (int r = 0; r < rows; ++r) {
      const TCell& cell = cells[static_cast<size_t>(c * rows + r)];
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
           std::to_string(m.second.col) + ',' + std::to_string(m.second.row) + ',' + std::to_string(m.points) + ']';
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

std::string SwapJson(TCellPos a, TCellPos b) {
  return '[' + std::to_string(a.col) + ',' + std::to_string(a.row) + ',' + std::to_string(b.col) + ',' +
         std::to_string(b.row) + ']';
}

std::string WaveJson(const TWaveRecord& w, int cols, int rows) {
  std::string out = "{\"chain\":" + std::to_string(w.chain) + ",\"board\":" + BoardJson(w.before, cols, rows) +
                    ",\"lines\":[";
  bool first = true;
  for (const auto& line : w.wave.lines) {
    if (!first) out += ',';
    first = false;
    out += "{\"cells\":[";
    for (size_t i = 0; i < line.cells.size(); ++i) {
      if (i) out += ',';
      out += '[' + std::to_string(line.cells[i].col) + ',' + std::to_string(line.cells[i].row) + ']';
    }
    out += "],\"points\":" + std::to_string(line.points) + '}';
  }
  out += "],\"exploded\":" + BoardJson(w.exploded, cols, rows) + ",\"falls\":";
  out += w.afterFalls ? BoardJson(*w.afterFalls, cols, rows) : "null";
  return out + "}";
}

void PrintLine(const std::string& json) {
  std::fwrite(json.data(), 1, json.size(), stdout);
  std::fputc('\n', stdout);
}

// "c1,r1,c2,r2;..." into swaps; empty items are skipped.
std::vector<std::pair<TCellPos, TCellPos>> ParseMoves(const std::string& text) {
  std::vector<std::pair<TCellPos, TCellPos>> moves;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t semi = text.find(';', start);
    const std::string item = Trim(text.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (!item.empty()) {
      std::vector<int> numbers;
      size_t p = 0;
      for (;;) {
        const size_t comma = item.find(',', p);
        const std::string part = Trim(item.substr(p, comma == std::string::npos ? std::string::npos : comma - p));
        long long v = 0;
        // Any 32-bit cell number is a move; one outside the board is rejected when played.
        if (!TryParseInt(part, v) || v < INT32_MIN || v > INT32_MAX)
          throw EToolError("--moves: '" + item + "' is not c1,r1,c2,r2");
        numbers.push_back(static_cast<int>(v));
        if (comma == std::string::npos) break;
        p = comma + 1;
      }
      if (numbers.size() != 4) throw EToolError("--moves: '" + item + "' is not c1,r1,c2,r2");
      moves.push_back({{numbers[0], numbers[1]}, {numbers[2], numbers[3]}});
    }
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return moves;
}

std::string ModeArg(TArgs& args) {
  const std::string mode = args.Option("--mode").value_or("relax");
  static const char* const kModes[] = {"classic", "relax", "duel_computer", "duel_player", "how_to_play"};
  if (std::find(std::begin(kModes), std::end(kModes), mode) == std::end(kModes))
    throw EToolError("--mode must be classic, relax, duel_computer, duel_player or how_to_play, not '" + mode + "'");
  return mode;
}

int DifficultyArg(TArgs& args) {
  const auto text = args.Option("--difficulty");
  if (!text) return 1;
  const long long d = ParseIntArg(*text, "--difficulty");
  if (d < 1 || d > 100) throw EToolError("--difficulty must be between 1 and 100");
  return static_cast<int>(d);
}

uint32_t SeedArg(const std::string& text) {
  const long long seed = ParseIntArg(text, "--seed");
  if (seed < -2147483648LL || seed > 4294967295LL) throw EToolError("--seed must fit in 32 bits");
  return static_cast<uint32_t>(seed);
}

// --- level -----------------------------------------------------------------------

int RunLevel(TArgs& args) {
  const auto files = args.Positional();
  if (files.size() != 1) throw EToolError("expects one level file");
  const Ref<TZinLevel> loaded = LoadLevelArg(files[0]);
  const TZinLevel& level = *loaded;
  std::string out = "{\"name\":" + JsonString(level.GetName()) + ",\"palette\":" +
                    JsonString(level.GetFlowerColors()) + ",\"time\":" + std::to_string(level.GetTime()) +
                    ",\"shift_x\":" + std::to_string(level.GetShiftX()) +
                    ",\"shift_y\":" + std::to_string(level.GetShiftY()) +
                    ",\"cols\":" + std::to_string(level.GetCols()) + ",\"rows\":" + std::to_string(level.GetRows()) +
                    ",\"defaults\":{\"kind\":" + std::to_string(level.GetDefaultKind()) +
                    ",\"flower\":" + std::to_string(level.GetDefaultFlower()) +
                    ",\"color\":" + std::to_string(level.GetDefaultColour()) + "},\"cells\":[";
  for (int c = 0; c < level.GetCols(); ++c) {
    out += c ? ",[" : "[";
    for (int r = 0; r < level.GetRows(); ++r) {
      const TCellDef def = level.GetCell(c, r);
      if (r) out += ',';
      out += '[' + std::to_string(def.flower) + ',' + std::to_string(def.kind) + ',' + std::to_string(def.colour) +
             ']';
    }
    out += ']';
  }
  PrintLine(out + "]}");
  return 0;
}

// --- play --------------------------------------------------------------------------

std::string PlayerStateJson(const TBoardModel& board, const TTurnDriver& driver) {
  std::string out = ",\"board\":" + BoardJson(board.Cells(), board.Cols(), board.Rows());
  out += ",\"scores\":[" + std::to_string(board.Score(1)) + ',' + std::to_string(board.Score(2)) + ']';
  out += ",\"player\":" + std::to_string(board.CurrentPlayer());
  out += ",\"stats\":[" + StatsJson(board.Statistics(1)) + ',' + StatsJson(board.Statistics(2)) + ']';
  out += ",\"counters\":" + CountersJson(board);
  out += ",\"moves\":" + MovesJson(driver.Moves());
  out += ",\"status\":" + (driver.Status() ? std::to_string(*driver.Status()) : std::string("null"));
  return out;
}

void PlayAndPrint(TBoardModel& board, TTurnDriver& driver, TCellPos a, TCellPos b) {
  const TMoveOutcome outcome = driver.PlayMove(a, b, true);
  if (!outcome.accepted) {
    PrintLine("{\"event\":\"rejected\",\"swap\":" + SwapJson(a, b) + ",\"reason\":" + JsonString(outcome.reason) +
              "}");
    return;
  }
  std::string out = "{\"event\":\"move\",\"swap\":" + SwapJson(a, b) +
                    ",\"productive\":" + (outcome.productive ? "true" : "false") + ",\"waves\":[";
  for (size_t i = 0; i < outcome.waves.size(); ++i) {
    if (i) out += ',';
    out += WaveJson(outcome.waves[i], board.Cols(), board.Rows());
  }
  out += "]" + PlayerStateJson(board, driver) + "}";
  PrintLine(out);
}

int RunPlay(TArgs& args) {
  const auto levelPath = args.Option("--level");
  const auto seedText = args.Option("--seed");
  const std::string mode = ModeArg(args);
  const int difficulty = DifficultyArg(args);
  const auto movesText = args.Option("--moves");
  const auto autoText = args.Option("--auto");
  if (!args.Positional().empty()) throw EToolError("unexpected argument " + args.Positional()[0]);
  if (!levelPath) throw EToolError("--level FILE is required");
  if (!seedText) throw EToolError("--seed N is required");
  const uint32_t seed = SeedArg(*seedText);
  long long autoMoves = 0;
  if (autoText) {
    autoMoves = ParseIntArg(*autoText, "--auto");
    if (autoMoves < 0) throw EToolError("--auto must not be negative");
  }
  const auto moves = movesText ? ParseMoves(*movesText) : std::vector<std::pair<TCellPos, TCellPos>>{};
  const Ref<TZinLevel> level = LoadLevelArg(*levelPath);

  SetRandomSeed(seed);
  TBoardModel board;
  TTurnDriver driver(board);
  driver.StartLevel(*level, mode, difficulty);

  std::string start = "{\"event\":\"start\",\"palette\":[";
  for (size_t i = 0; i < board.Palette().size(); ++i) start += (i ? "," : "") + std::to_string(board.Palette()[i]);
  start += "],\"cols\":" + std::to_string(board.Cols()) + ",\"rows\":" + std::to_string(board.Rows()) +
           ",\"board\":" + BoardJson(board.Cells(), board.Cols(), board.Rows()) +
           ",\"counters\":" + CountersJson(board) + ",\"moves\":" + MovesJson(driver.Moves()) + "}";
  PrintLine(start);

  for (const auto& [a, b] : moves) PlayAndPrint(board, driver, a, b);
  for (long long i = 0; i < autoMoves && !driver.Status() && !driver.Moves().Empty(); ++i)
    PlayAndPrint(board, driver, driver.Moves()[0].first, driver.Moves()[0].second);
  std::fflush(stdout);
  return 0;
}

// --- autoplay ------------------------------------------------------------------------

// Productive moves after which a game counts as unfinished.
constexpr int kMaxGameMoves = 5000;

double Median(std::vector<long long> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? static_cast<double>(values[n / 2]) : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

int RunAutoplay(TArgs& args) {
  const auto levelPath = args.Option("--level");
  const auto gamesText = args.Option("--games");
  const uint32_t seed = SeedArg(args.Option("--seed").value_or("1"));
  const std::string mode = ModeArg(args);
  const int difficulty = DifficultyArg(args);
  const std::string strategy = args.Option("--strategy").value_or("best");
  if (!args.Positional().empty()) throw EToolError("unexpected argument " + args.Positional()[0]);
  if (!levelPath) throw EToolError("--level FILE is required");
  if (!gamesText) throw EToolError("--games N is required");
  const long long games = ParseIntArg(*gamesText, "--games");
  if (games < 1 || games > 100000) throw EToolError("--games must be between 1 and 100000");
  if (strategy != "best" && strategy != "random" && strategy != "computer")
    throw EToolError("--strategy must be best, random or computer, not '" + strategy + "'");
  const Ref<TZinLevel> level = LoadLevelArg(*levelPath);

  long long wins = 0;
  long long unfinished = 0;
  std::map<int, long long> losses;
  std::vector<long long> moveCounts;
  std::vector<long long> scores;
  const double strength = ComputerStrengthFactor(0.0, difficulty, false);
  for (long long g = 0; g < games; ++g) {
    SetRandomSeed(seed + static_cast<uint32_t>(g));
    TBoardModel board;
    TTurnDriver driver(board);
    driver.StartLevel(*level, mode, difficulty);
    while (!driver.Status() && !driver.Moves().Empty() && board.Counter(kCounterMoves) < kMaxGameMoves) {
      TLinkCellInfo move = driver.Moves()[0];
      if (strategy == "random") {
        move = driver.Moves()[RandomInt(driver.Moves().Count())];
      } else if (strategy == "computer") {
        if (const auto choice = driver.ComputerMove(strength)) move = *choice;
      }
      driver.PlayMove(move.first, move.second);
    }
    if (!driver.Status())
      ++unfinished;
    else if (*driver.Status() == kStatusWon)
      ++wins;
    else
      ++losses[*driver.Status()];
    moveCounts.push_back(board.Counter(kCounterMoves));
    scores.push_back(board.Score(1));
  }
  std::string out = "{\"games\":" + std::to_string(games) + ",\"wins\":" + std::to_string(wins) + ",\"losses\":{";
  bool first = true;
  for (const auto& [status, count] : losses) {
    if (!first) out += ',';
    first = false;
    out += '"' + std::to_string(status) + "\":" + std::to_string(count);
  }
  out += "},\"unfinished\":" + std::to_string(unfinished);
  out += ",\"median_moves\":" + JsonNumber(Median(moveCounts)) +
         ",\"max_moves\":" + std::to_string(*std::max_element(moveCounts.begin(), moveCounts.end())) +
         ",\"median_score\":" + JsonNumber(Median(scores)) + "}";
  PrintLine(out);
  return 0;
}

}  // namespace

void RegisterBoardCommands(TCommandTable& table) {
  table.Add({"level", "FILE", "print a level file as JSON", &RunLevel, ""});
  table.Add({"play",
             "--level FILE --seed N [--mode MODE] [--difficulty D] [--moves \"c1,r1,c2,r2;...\"] [--auto K]",
             "play a seeded game headless and print one JSON event per line", &RunPlay, ""});
  table.Add({"autoplay",
             "--level FILE --games N [--seed S] [--mode MODE] [--difficulty D] [--strategy best|random|computer]",
             "play games to their end and print a JSON summary of the results", &RunAutoplay, ""});
}

}  // namespace qv::tool
