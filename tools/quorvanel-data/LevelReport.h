// The level report's arithmetic and options: medians and win rates of the
// autoplayed games, the classic time suggested from them, and the summary
// of the difficulty curve over the level list.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "AutoGame.h"

namespace qv::tool {

class TArgs;

// The middle value (the mean of the middle two for an even count); 0 for none.
double Median(std::vector<long long> values);
// wins / games; 0 when no game was played.
double WinRate(long long wins, long long games);

// The classic time suggested for a level, in seconds: kSecondsPerMove for
// each move of the "best" strategy's median game, rounded up to whole
// tens, at least kMinClassicTime. (The game gives a first try 1.1 times
// the level's time and adapts it to the player's results.)
inline constexpr int kSecondsPerMove = 3;
inline constexpr int kMinClassicTime = 60;
int SuggestedClassicTime(double medianBestMoves);

// The curve of the "best" strategy's win rates, levels in list order.
struct TCurve {
  int levels = 0;
  // Mean win rate of each third of the list: the first and the last third
  // hold n div 3 levels each, the middle the rest; none for an empty third.
  std::optional<double> first, middle, last;
  // first >= middle >= last and first > last.
  bool falls = false;
  int lowestLevel = 0;  // the level of the lowest rate (the first of equals); 0 without levels
  double lowestRate = 0;
  std::vector<int> below;  // levels whose rate is under the minimum, in order
};

// `rates` holds (level number, win rate) in list order.
TCurve SummariseCurve(const std::vector<std::pair<int, double>>& rates, double minimum);
// {"levels":..,"best_win_rate":{"first":..,"middle":..,"last":..},"falls":..,
//  "lowest":{"level":..,"rate":..},"minimum":..,"below":[..]}
std::string CurveJson(const TCurve& curve, double minimum);

// A list of level numbers and ranges, "1-12,30,40-45"; EToolError for
// anything else (an empty item, a range that runs backwards, a number
// outside 1..2147483647).
std::vector<std::pair<int, int>> ParseLevelRanges(const std::string& text, const std::string& what);

struct TLevelsOptions {
  std::string appDir;
  long long games = 20;
  uint32_t seed = 1;
  int difficulty = 1;
  EPlayMode mode = EPlayMode::Relax;
  std::vector<EStrategy> strategies{EStrategy::Best, EStrategy::Random, EStrategy::Computer};
  std::vector<std::pair<int, int>> levels;  // empty: every level of the list
  double minimum = 0.6;                     // of the "best" strategy's win rate

  bool Wants(int level) const;
};

// Reads the options of "levels" (and APPDIR) from the arguments; EToolError
// for a bad or missing value.
TLevelsOptions ParseLevelsArgs(TArgs& args);

}  // namespace qv::tool
