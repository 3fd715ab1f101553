// The level report for designers: "levels APPDIR" autoplays every level of
// the game's level list with the autoplay strategies and prints, per level,
// how often each wins and how long its games last, then the curve.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "AutoGame.h"
#include "Commands.h"
#include "LevelReport.h"
#include "app/Game.h"
#include "app/RegisterTypes.h"
#include "board/GameScreenMain.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/Json.h"
#include "game/ZinLevelCollection.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv::tool {

namespace {

namespace fs = std::filesystem;

// Exit code of a report with a level under the minimum.
constexpr int kExitBelowMinimum = 2;

// The level list as the game reads it: the game description deciphered with
// the game key, the game object loaded from it (not started), and the
// "levels" of its main screen. The game object is returned too: it owns the
// screen that owns the list.
Ref<TZinLevelCollection> LoadLevelList(Ref<TAbstractObject>& game) {
  const std::string file = kGameDescriptionFile;
  std::string text = ReadDataFile(file);
  if (!text.empty()) text = DecipherFromHex(text, kGameKey);
  if (text.empty()) throw EToolError(file + ": the game description is missing or empty");
  const StorageRef root = LoadStorageText(text);
  if (!root) throw EToolError(file + ": the game description does not parse");
  const std::string type = ReadString(root, "type", "");
  game = CreateFromType(type, ReadString(root, "name", ""));
  auto* loaded = QueryPtr<TGame>(game.get());
  if (!loaded) throw EToolError(file + ": the type \"" + type + "\" is not the game");
  try {
    loaded->Load(root);
  } catch (const std::runtime_error& e) {
    throw EToolError(file + ": the game did not load: " + e.what());
  }
  const std::string main = ReadString(root, "maings", "");
  const Ref<IGameScreenSlave> screen = loaded->Screens().GetItem(main);
  auto* mainScreen = QueryPtr<TZintaraGameScreenMain>(screen.get());
  if (!mainScreen) throw EToolError(file + ": the main screen \"" + main + "\" holds no level list");
  return Ref<TZinLevelCollection>(&mainScreen->Levels());
}

int PaletteSize(const std::string& colours) {
  int n = 0;
  bool item = false;
  for (const char c : colours) {
    if (c == ',') {
      n += item;
      item = false;
    } else if (c != ' ') {
      item = true;
    }
  }
  return n + item;
}

int RunLevels(TArgs& args) {
  const TLevelsOptions options = ParseLevelsArgs(args);
  std::error_code ec;
  if (!fs::is_directory(options.appDir, ec)) throw EToolError("not a folder: " + options.appDir);
  fs::current_path(options.appDir, ec);
  if (ec) throw EToolError("cannot enter " + options.appDir);
  SetApplicationPath(fs::current_path(ec).string());
  RegisterGameExecutableTypes();

  TOnceDiagnostics diagnostics;  // every game rebuilds the same board and would repeat its reports
  Ref<TAbstractObject> game;
  const Ref<TZinLevelCollection> list = LoadLevelList(game);
  TAutoGameSettings settings;
  settings.mode = options.mode;
  settings.difficulty = options.difficulty;

  std::vector<std::pair<int, double>> bestRates;
  bool missing = false;
  for (int i = 0; i < list->Count(); ++i) {
    const Ref<TZinLevelRef> entry = list->ItemAs<TZinLevelRef>(i);
    if (!entry || !options.Wants(entry->GetNumber())) continue;
    const int number = entry->GetNumber();
    std::string out =
        "{\"level\":" + std::to_string(number) + ",\"name\":" + JsonString(entry->GetDisplayName());
    const Ref<TZinLevel> level = list->LoadLevel(number);
    if (!level) {
      missing = true;
      std::fprintf(stderr, "quorvanel-data levels: level %d (%s) cannot be loaded\n", number,
                   entry->GetFileName().c_str());
      std::printf("%s,\"error\":\"the level cannot be loaded\"}\n", out.c_str());
      continue;
    }
    int toComplete = 0;
    std::string strategies;
    std::optional<int> suggested;
    for (const EStrategy strategy : options.strategies) {
      settings.strategy = strategy;
      long long wins = 0;
      std::vector<long long> moves;
      for (long long g = 0; g < options.games; ++g) {
        const TAutoGameResult result =
            PlayAutoGame(*level, settings, options.seed + static_cast<uint32_t>(g));
        if (g == 0) toComplete = result.remainingAtStart;  // the level's, whatever the seed
        wins += result.status == ELevelStatus::Won;
        moves.push_back(result.moves);
      }
      const double rate = WinRate(wins, options.games);
      const double median = Median(moves);
      strategies += ",\"" + std::string(StrategyText(strategy)) + "\":{\"win_rate\":" + JsonNumber(rate) +
                    ",\"median_moves\":" + JsonNumber(median) + "}";
      if (strategy == EStrategy::Best) {
        bestRates.emplace_back(number, rate);
        suggested = SuggestedClassicTime(median);
      }
    }
    out += ",\"palette\":" + std::to_string(PaletteSize(level->GetFlowerColors())) +
           ",\"to_complete\":" + std::to_string(toComplete) +
           ",\"artifact\":" + std::to_string(entry->GetArtifact()) +
           ",\"time\":" + std::to_string(level->GetTime()) + strategies;
    if (suggested) out += ",\"suggested_time\":" + std::to_string(*suggested);
    std::printf("%s}\n", out.c_str());
    std::fflush(stdout);
  }
  const TCurve curve = SummariseCurve(bestRates, options.minimum);
  std::printf("{\"summary\":%s}\n", CurveJson(curve, options.minimum).c_str());
  std::fflush(stdout);
  if (missing) return 1;
  if (!curve.below.empty()) {
    std::fprintf(stderr, "quorvanel-data levels: %zu level%s under the minimum win rate %s of \"best\"\n",
                 curve.below.size(), curve.below.size() == 1 ? "" : "s", JsonNumber(options.minimum).c_str());
    return kExitBelowMinimum;
  }
  return 0;
}

const char* const kLevelsHelp =
    "Autoplays every level of APPDIR's level list (the \"levels\" of the game\n"
    "description's main screen, read as the game reads it) and prints one JSON\n"
    "line per level, then one summary line. Game g of each strategy on a level\n"
    "is seeded with S + g, so the same options print the same bytes.\n"
    "\n"
    "Options:\n"
    "  --games N            games per strategy and level, 1..100000 (default 20)\n"
    "  --seed S             the first game's seed (default 1)\n"
    "  --difficulty D       1 (default) to 100, as the player's difficulty\n"
    "  --mode MODE          relax (default) or classic (no clock runs here; a won\n"
    "                       classic level also pays its time bonus)\n"
    "  --strategies LIST    the strategies to play, comma-separated, of best (the\n"
    "                       strongest move), random (a uniformly drawn possible\n"
    "                       move) and computer (the duel computer's choice with\n"
    "                       strength 1 - D); default best,random,computer\n"
    "  --levels LIST        only these level numbers, e.g. 1-12,30,40-45\n"
    "                       (default every level of the list)\n"
    "  --min-best R         the lowest acceptable win rate of \"best\", 0..1\n"
    "                       (default 0.6)\n"
    "\n"
    "A level line: level (number), name (display name), palette (colours),\n"
    "to_complete (cells and artifacts to complete at the first turn, at this\n"
    "difficulty), artifact (the relic won there, 0 none), time (the level's\n"
    "classic time in seconds), one object per strategy {win_rate (wins / games),\n"
    "median_moves (productive moves of the median game, won or lost)}, and with\n"
    "\"best\" played suggested_time: a classic time in seconds of 3 s for each\n"
    "move of the best strategy's median game, rounded up to whole tens, at\n"
    "least 60 (suggested_time = max(60, 10 * ceil(3 * median_moves / 10))).\n"
    "A level whose file cannot be loaded prints level, name and error.\n"
    "\n"
    "The summary line {\"summary\":{levels, best_win_rate {first, middle, last}\n"
    "(the mean win rate of \"best\" over the first, middle and last third of the\n"
    "levels played; the outer thirds hold n div 3 levels each, null when empty),\n"
    "falls (first >= middle >= last and first > last), lowest {level, rate},\n"
    "minimum (--min-best), below (the levels under it)}}.\n"
    "\n"
    "Exit codes: 0 done; 1 a bad option, APPDIR no application folder, or a level\n"
    "that cannot be loaded (one line on standard error); 2 a level's \"best\" win\n"
    "rate is under --min-best (the report is complete; a line on standard error).\n";

}  // namespace

void RegisterLevelCommands(TCommandTable& table) {
  table.Add({"levels",
             "APPDIR [--games N] [--seed S] [--difficulty D] [--mode relax|classic] [--strategies LIST] "
             "[--levels LIST] [--min-best R]",
             "autoplay every level of the game's level list and print its difficulty curve as JSON",
             &RunLevels, kLevelsHelp});
}

}  // namespace qv::tool
