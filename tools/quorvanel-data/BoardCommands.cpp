// Board commands for level designers: print a level, play a seeded game
// move by move, and play many games to measure a level's difficulty.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "AutoGame.h"
#include "Commands.h"
#include "LevelReport.h"
#include "core/Diagnostics.h"
#include "core/Json.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "game/BoardModel.h"
#include "game/ComputerPlayer.h"
#include "game/GameStatistics.h"
#include "game/PlayRecord.h"
#include "game/TurnDriver.h"
#include "game/ZinLevel.h"
#include "storage/XMLStorage.h"

namespace qv::tool {

namespace {

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
    const std::string item =
        Trim(text.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
    if (!item.empty()) {
      std::vector<int> numbers;
      size_t p = 0;
      for (;;) {
        const size_t comma = item.find(',', p);
        const std::string part =
            Trim(item.substr(p, comma == std::string::npos ? std::string::npos : comma - p));
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

EPlayMode ModeArg(TArgs& args) {
  const std::string mode = args.Option("--mode").value_or("relax");
  static const char* const kModes[] = {"classic", "relax", "duel_computer", "duel_player", "how_to_play"};
  if (std::find(std::begin(kModes), std::end(kModes), mode) == std::end(kModes))
    throw EToolError("--mode must be classic, relax, duel_computer, duel_player or how_to_play, not '" +
                     mode + "'");
  return PlayModeFromText(mode);
}

// --- level -----------------------------------------------------------------------

int RunLevel(TArgs& args) {
  const auto files = args.Positional();
  if (files.size() != 1) throw EToolError("expects one level file");
  const Ref<TZinLevel> loaded = LoadLevelArg(files[0]);
  const TZinLevel& level = *loaded;
  std::string out =
      "{\"name\":" + JsonString(level.GetName()) + ",\"palette\":" + JsonString(level.GetFlowerColors()) +
      ",\"time\":" + std::to_string(level.GetTime()) + ",\"shift_x\":" + std::to_string(level.GetShiftX()) +
      ",\"shift_y\":" + std::to_string(level.GetShiftY()) + ",\"cols\":" + std::to_string(level.GetCols()) +
      ",\"rows\":" + std::to_string(level.GetRows()) +
      ",\"defaults\":{\"kind\":" + std::to_string(level.GetDefaultKind()) +
      ",\"flower\":" + std::to_string(level.GetDefaultFlower()) +
      ",\"color\":" + std::to_string(level.GetDefaultColour()) + "},\"cells\":[";
  for (int c = 0; c < level.GetCols(); ++c) {
    out += c ? ",[" : "[";
    for (int r = 0; r < level.GetRows(); ++r) {
      const TCellDef def = level.GetCell(c, r);
      if (r) out += ',';
      out += '[' + std::to_string(def.flower) + ',' + std::to_string(def.kind) + ',' +
             std::to_string(def.colour) + ']';
    }
    out += ']';
  }
  PrintLine(out + "]}");
  return 0;
}

// --- limits, progress and diagnostics shared by play and autoplay ----------------

// Exit code of a run that stopped at one of its limits.
constexpr int kExitLimit = 3;

// Defaults of the limits: a game of 5000 productive moves or 100000 waves
// does not come to an end in any sensible level; 64 MiB of play output is
// some twenty moves on a 64 x 64 board. A move costs about as much as the
// board has cells, so an autoplay run may play kTotalMoveCells / cells
// moves (925925 on 12 x 9, 24414 on 64 x 64, a few minutes at most).
constexpr long long kDefaultMaxMoves = 5000;
constexpr long long kDefaultMaxWaves = 100000;
constexpr long long kDefaultMaxOutput = 64LL << 20;
constexpr long long kTotalMoveCells = 100000000;
constexpr long long kDefaultProgressAfter = 2;

long long LimitArg(TArgs& args, const std::string& name, long long fallback) {
  const auto text = args.Option(name);
  if (!text) return fallback;
  const long long value = ParseIntArg(*text, name);
  if (value < 1) throw EToolError(name + " must be at least 1");
  return value;
}

long long ProgressArg(TArgs& args) {
  const auto text = args.Option("--progress-after");
  if (!text) return kDefaultProgressAfter;
  const long long value = ParseIntArg(*text, "--progress-after");
  if (value < 0 || value > 86400) throw EToolError("--progress-after must be between 0 and 86400 seconds");
  return value;
}

// Progress lines on standard error once a run has lasted `after` seconds,
// then one a second; a short run says nothing.
class TProgress {
public:
  TProgress(std::string command, long long after)
      : command_(std::move(command)),
        start_(std::chrono::steady_clock::now()),
        next_(start_ + std::chrono::seconds(after)) {}

  void Tick(const std::string& text) {
    const auto now = std::chrono::steady_clock::now();
    if (now < next_) return;
    next_ = now + std::chrono::seconds(1);
    const long long seconds = std::chrono::duration_cast<std::chrono::seconds>(now - start_).count();
    std::fprintf(stderr, "quorvanel-data %s: %s, %lld s\n", command_.c_str(), text.c_str(), seconds);
  }

private:
  std::string command_;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point next_;
};

// --- play --------------------------------------------------------------------------

// One game of `play`: prints the start line, then one line per move, and
// stops at the first limit it reaches.
class TPlaySession {
public:
  TPlaySession(TBoardModel& board, TTurnDriver& driver, long long maxMoves, long long maxWaves,
               long long maxOutput, long long progressAfter)
      : board_(board),
        driver_(driver),
        maxMoves_(maxMoves),
        maxWaves_(maxWaves),
        maxOutput_(maxOutput),
        progress_("play", progressAfter) {}

  // False once a limit has stopped the game.
  bool Running() const { return !stopped_; }
  int Exit() const { return stopped_ ? kExitLimit : 0; }

  void Start() {
    TJsonFields fields{{"event", "\"start\""}};
    for (auto& field : LevelStartFields(board_, driver_)) fields.push_back(std::move(field));
    Emit(JoinJsonFields(fields));
  }

  void Play(TCellPos a, TCellPos b) {
    if (stopped_) return;
    const std::string refusal = driver_.SwapRefusal(a, b);
    if (!refusal.empty()) {
      Emit("{\"event\":\"rejected\",\"swap\":" + SwapJson(a, b) + ",\"reason\":" + JsonString(refusal) + "}");
      return;
    }
    if (played_ == maxMoves_) return Stop("--max-moves", maxMoves_);
    ++played_;
    const TTurnStep swap = driver_.Swap(a, b);
    TMoveRecorder record;
    record.Begin(a, b, swap.productive, board_);
    // The line's text before its waves, counted against --max-output.
    const size_t head = std::string("{\"event\":\"move\",\"swap\":").size() + SwapJson(a, b).size() +
                        std::string(",\"productive\":").size() + (swap.productive ? 4 : 5) +
                        std::string(",\"waves\":").size();
    while (driver_.Waiting() == ETurnWait::Next) {
      const TTurnStep step = driver_.Next();
      if (step.kind == ETurnStepKind::ExplosionWave && ++waves_ > maxWaves_)
        return Stop("--max-waves", maxWaves_);
      record.Step(step, board_);
      if (!Fits(head + record.Size())) return Stop("--max-output", maxOutput_);
    }
    TJsonFields fields{{"event", "\"move\""}};
    for (auto& field : record.Finish(board_, driver_)) fields.push_back(std::move(field));
    Emit(JoinJsonFields(fields));
    progress_.Tick(std::to_string(played_) + " moves, " + std::to_string(written_) + " bytes written");
  }

private:
  bool Fits(size_t size) const { return written_ + static_cast<long long>(size) + 1 <= maxOutput_; }

  void Emit(const std::string& line) {
    if (stopped_) return;
    if (!Fits(line.size())) return Stop("--max-output", maxOutput_);
    PrintLine(line);
    written_ += static_cast<long long>(line.size()) + 1;
  }

  // The last line says where and why the game stopped; so does standard error.
  void Stop(const char* option, long long value) {
    stopped_ = true;
    PrintLine(std::string("{\"event\":\"stopped\",\"limit\":\"") + option +
              "\",\"value\":" + std::to_string(value) + ",\"played\":" + std::to_string(played_) + "}");
    std::fflush(stdout);
    std::fprintf(stderr, "quorvanel-data play: stopped at %s %lld after %lld moves (the game is not over)\n",
                 option, value, played_);
  }

  TBoardModel& board_;
  TTurnDriver& driver_;
  long long maxMoves_;
  long long maxWaves_;
  long long maxOutput_;
  TProgress progress_;
  long long played_ = 0;
  long long waves_ = 0;
  long long written_ = 0;
  bool stopped_ = false;
};

int RunPlay(TArgs& args) {
  const auto levelPath = args.Option("--level");
  const auto seedText = args.Option("--seed");
  const EPlayMode mode = ModeArg(args);
  const int difficulty = DifficultyArg(args);
  const auto movesText = args.Option("--moves");
  const auto autoText = args.Option("--auto");
  const long long maxMoves = LimitArg(args, "--max-moves", kDefaultMaxMoves);
  const long long maxWaves = LimitArg(args, "--max-waves", kDefaultMaxWaves);
  const long long maxOutput = LimitArg(args, "--max-output", kDefaultMaxOutput);
  const long long progressAfter = ProgressArg(args);
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

  TOnceDiagnostics diagnostics;
  SetRandomSeed(seed);
  TBoardModel board;
  TTurnDriver driver(board);
  driver.StartLevel(*level, mode, difficulty);
  driver.RunToRest();  // the first turn start, and the level end when nothing is to do
  TPlaySession session(board, driver, maxMoves, maxWaves, maxOutput, progressAfter);
  session.Start();
  for (const auto& [a, b] : moves) session.Play(a, b);
  for (long long i = 0; i < autoMoves && session.Running() && !driver.Status() && !driver.Moves().Empty();
       ++i)
    session.Play(driver.Moves()[0].first, driver.Moves()[0].second);
  std::fflush(stdout);
  return session.Exit();
}

// --- autoplay ------------------------------------------------------------------------

int RunAutoplay(TArgs& args) {
  const auto levelPath = args.Option("--level");
  const auto gamesText = args.Option("--games");
  const uint32_t seed = SeedArg(args.Option("--seed").value_or("1"));
  TAutoGameSettings settings;
  settings.mode = ModeArg(args);
  settings.difficulty = DifficultyArg(args);
  settings.strategy = StrategyFromText(args.Option("--strategy").value_or("best"), "--strategy");
  settings.maxMoves = LimitArg(args, "--max-moves", kDefaultMaxMoves);
  settings.maxWaves = LimitArg(args, "--max-waves", kDefaultMaxWaves);
  const auto maxTotalText = args.Option("--max-total-moves");
  const long long progressAfter = ProgressArg(args);
  if (!args.Positional().empty()) throw EToolError("unexpected argument " + args.Positional()[0]);
  if (!levelPath) throw EToolError("--level FILE is required");
  if (!gamesText) throw EToolError("--games N is required");
  const long long games = ParseIntArg(*gamesText, "--games");
  if (games < 1 || games > 100000) throw EToolError("--games must be between 1 and 100000");
  long long maxTotalMoves = 0;
  if (maxTotalText) {
    maxTotalMoves = ParseIntArg(*maxTotalText, "--max-total-moves");
    if (maxTotalMoves < 1) throw EToolError("--max-total-moves must be at least 1");
  }
  const Ref<TZinLevel> level = LoadLevelArg(*levelPath);
  if (!maxTotalText) {
    const long long cells =
        std::clamp(level->GetCols(), 0, kMaxBoardSize) * std::clamp(level->GetRows(), 0, kMaxBoardSize);
    maxTotalMoves = kTotalMoveCells / std::max(1LL, cells);
  }

  TOnceDiagnostics diagnostics;
  TProgress progress("autoplay", progressAfter);
  long long wins = 0;
  long long unfinished = 0;
  long long atMoveLimit = 0;
  long long atWaveLimit = 0;
  long long totalMoves = 0;
  bool stopped = false;
  std::map<int, long long> losses;
  std::vector<long long> moveCounts;
  std::vector<long long> scores;
  for (long long g = 0; g < games && !stopped; ++g) {
    const auto beforeMove = [&] {
      if (totalMoves == maxTotalMoves) return false;
      ++totalMoves;
      progress.Tick("game " + std::to_string(g + 1) + " of " + std::to_string(games) + ", " +
                    std::to_string(totalMoves) + " moves");
      return true;
    };
    const TAutoGameResult game = PlayAutoGame(*level, settings, seed + static_cast<uint32_t>(g), beforeMove);
    if (game.cut) {
      stopped = true;  // this game is left out of the summary
      break;
    }
    if (!game.status) {
      ++unfinished;
      if (game.atWaveLimit) ++atWaveLimit;
      if (game.atMoveLimit) ++atMoveLimit;
    } else if (*game.status == ELevelStatus::Won) {
      ++wins;
    } else {
      ++losses[StatusNumber(*game.status)];
    }
    moveCounts.push_back(game.moves);
    scores.push_back(game.score);
  }
  const long long played = static_cast<long long>(moveCounts.size());
  std::string out =
      "{\"games\":" + std::to_string(played) + ",\"wins\":" + std::to_string(wins) + ",\"losses\":{";
  bool first = true;
  for (const auto& [status, count] : losses) {
    if (!first) out += ',';
    first = false;
    out += '"' + std::to_string(status) + "\":" + std::to_string(count);
  }
  out += "},\"unfinished\":" + std::to_string(unfinished);
  out += ",\"median_moves\":" + JsonNumber(Median(moveCounts)) + ",\"max_moves\":" +
         std::to_string(moveCounts.empty() ? 0 : *std::max_element(moveCounts.begin(), moveCounts.end())) +
         ",\"median_score\":" + JsonNumber(Median(scores));
  if (stopped) out += ",\"stopped\":\"--max-total-moves\",\"requested\":" + std::to_string(games);
  PrintLine(out + "}");
  std::fflush(stdout);
  int exit = 0;
  if (atMoveLimit) {
    std::fprintf(stderr,
                 "quorvanel-data autoplay: %lld games stopped at --max-moves %lld (counted unfinished)\n",
                 atMoveLimit, settings.maxMoves);
    exit = kExitLimit;
  }
  if (atWaveLimit) {
    std::fprintf(stderr,
                 "quorvanel-data autoplay: %lld games stopped at --max-waves %lld (counted unfinished)\n",
                 atWaveLimit, settings.maxWaves);
    exit = kExitLimit;
  }
  if (stopped) {
    std::fprintf(stderr,
                 "quorvanel-data autoplay: stopped at --max-total-moves %lld after %lld of %lld games\n",
                 maxTotalMoves, played, games);
    exit = kExitLimit;
  }
  return exit;
}
// --- help texts ------------------------------------------------------------------------

const char* const kLevelHelp =
    "Loads a level file strictly, as the game does, and prints it as one JSON\n"
    "object on one line:\n"
    "  name, palette (the \"Flowercolors\" text), time (seconds), shift_x, shift_y,\n"
    "  cols, rows, defaults {kind, flower, color}, and cells: an array over the\n"
    "  columns of arrays over the rows of [flower, kind, colour] as the file\n"
    "  defines them (flower -1 random, -10 artifact, k >= 0 a palette index;\n"
    "  kind -1 hole, 0 complete, 1 normal, 2 double, 3 triple; colour -1 none).\n"
    "\n"
    "Exit codes: 0 printed; 1 the file is missing, not a storage file, lacks a\n"
    "default or is larger than 64 x 64 (one line on standard error).\n";

const char* const kPlayHelp =
    "Plays one game on the level with the game's own rules and prints one JSON\n"
    "event per line. The same level, seed and options print the same bytes.\n"
    "\n"
    "Options:\n"
    "  --level FILE        the level file (required)\n"
    "  --seed N            the random seed, 0..4294967295 or a negative 32-bit number (required)\n"
    "  --mode MODE         classic, relax (default), duel_computer, duel_player or how_to_play;\n"
    "                      classic sets the time allowance (level time * 1.1), the duels\n"
    "                      alternate players 1 and 2, how_to_play plays as player 3\n"
    "  --difficulty D      1 (default) to 100; at 1 only artifacts and cells with a required\n"
    "                      colour are to complete, from 3 on complete cells are coloured again\n"
    "  --moves LIST        swaps to play first, \"c1,r1,c2,r2;...\" (any 32-bit numbers;\n"
    "                      a swap the rules refuse is a rejected event)\n"
    "  --auto K            then up to K swaps, each the strongest possible move\n"
    "  --max-moves N       stop after N played swaps (default 5000)\n"
    "  --max-waves N       stop when the game's explosion waves pass N (default 100000)\n"
    "  --max-output BYTES  stop before standard output passes BYTES (default 67108864)\n"
    "  --progress-after S  progress lines on standard error once the run has lasted\n"
    "                      S seconds, then one a second (default 2; 0 at once)\n"
    "\n"
    "Events (field \"event\"):\n"
    "  start     palette (the shuffled colour codes), cols, rows, board, counters,\n"
    "            moves, status\n"
    "  move      swap [c1,r1,c2,r2], productive (the swap made a line; otherwise it\n"
    "            was swapped back), waves, then the state after the move: board,\n"
    "            scores [player 1, player 2], player (to move next), stats [player 1,\n"
    "            player 2], counters, moves, status\n"
    "  rejected  swap, reason (the level is over, a cell is not movable, the cells\n"
    "            are not neighbours)\n"
    "  stopped   limit (--max-moves, --max-waves or --max-output), value, played (swaps\n"
    "            played); always the last line, the game is not over\n"
    "A wave is {chain (chain level its lines were scored at), board (before the\n"
    "wave), lines [{cells [[c,r],...], points}], exploded (board after the\n"
    "explosions), falls (board after the falls that followed, or null)}; the\n"
    "last wave of a move finds no line. A board is an array over the columns of\n"
    "arrays over the rows of [kind, colour, flower] (flower -1 empty, -10 an\n"
    "artifact). moves lists the possible swaps [c1,r1,c2,r2,points], strongest\n"
    "first. counters are the eight board counters: moves made, chain level, time\n"
    "left (ms), time allowance (ms), play time (ms), difficulty, colour goal, cell\n"
    "goal. stats are the named statistics (Score, score_move, max_score_move, move,\n"
    "combo, max_combo, chains, max_chains, flowers, max_flowers, color_cells,\n"
    "total_cells).\n"
    "status: null while the game goes on, else 0 no moves left, 1 won (nothing left\n"
    "to complete; in duel_player also no moves left; in duel_computer whenever\n"
    "player 1 is not behind), 3 lost the duel against the computer on scores (2,\n"
    "time out, never happens here: no clock runs).\n"
    "\n"
    "Exit codes: 0 played; 1 a bad option or level (one line on standard error);\n"
    "3 stopped at a limit (the stopped event, and a line on standard error).\n";

const char* const kAutoplayHelp =
    "Plays whole games on the level, game g with seed S + g, and prints one JSON\n"
    "summary line, to measure how hard a level is.\n"
    "\n"
    "Options:\n"
    "  --level FILE          the level file (required)\n"
    "  --games N             games to play, 1..100000 (required)\n"
    "  --seed S              the first game's seed (default 1)\n"
    "  --mode MODE           classic, relax (default), duel_computer, duel_player or\n"
    "                        how_to_play (as for play)\n"
    "  --difficulty D        1 (default) to 100\n"
    "  --strategy STRATEGY   best (default: always the strongest move), random (a\n"
    "                        uniformly drawn possible move) or computer (the duel\n"
    "                        computer's choice with strength 1 - D)\n"
    "  --max-moves N         a game stops after N productive moves and counts as\n"
    "                        unfinished (default 5000)\n"
    "  --max-waves N         a game stops when its explosion waves pass N and counts\n"
    "                        as unfinished (default 100000)\n"
    "  --max-total-moves N   the run stops before move N + 1 of all games together;\n"
    "                        the game then running is left out (default 100000000 /\n"
    "                        the board's cells: 925925 on 12 x 9, 24414 on 64 x 64)\n"
    "  --progress-after S    progress lines on standard error once the run has lasted\n"
    "                        S seconds, then one a second (default 2; 0 at once)\n"
    "\n"
    "Summary fields: games (games played), wins, losses {status: count} (0 no moves\n"
    "left, 3 a duel against the computer lost), unfinished, median_moves, max_moves\n"
    "(productive moves per game), median_score (player 1). When --max-total-moves\n"
    "stopped the run: stopped (\"--max-total-moves\") and requested (N of --games).\n"
    "\n"
    "Exit codes: 0 every game ran to its end; 1 a bad option or level (one line on\n"
    "standard error); 3 a limit was hit (games stopped at --max-moves or --max-waves,\n"
    "or the run at --max-total-moves; a line on standard error says which).\n";

}  // namespace

void RegisterBoardCommands(TCommandTable& table) {
  table.Add({"level", "FILE", "print a level file as JSON", &RunLevel, kLevelHelp});
  table.Add({"play",
             "--level FILE --seed N [--mode MODE] [--difficulty D] [--moves \"c1,r1,c2,r2;...\"] [--auto K] "
             "[--max-moves N] [--max-waves N] [--max-output BYTES] [--progress-after S]",
             "play a seeded game headless and print one JSON event per line", &RunPlay, kPlayHelp});
  table.Add(
      {"autoplay",
       "--level FILE --games N [--seed S] [--mode MODE] [--difficulty D] [--strategy best|random|computer] "
       "[--max-moves N] [--max-waves N] [--max-total-moves N] [--progress-after S]",
       "play games to their end and print a JSON summary of the results", &RunAutoplay, kAutoplayHelp});
}

}  // namespace qv::tool
