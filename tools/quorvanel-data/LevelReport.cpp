#include "LevelReport.h"

#include <algorithm>
#include <cmath>

#include "Commands.h"
#include "core/Json.h"
#include "core/Parsing.h"
#include "core/StringUtils.h"

namespace qv::tool {

namespace {

// "a,b,c" into its trimmed items (empty ones too).
std::vector<std::string> SplitWords(const std::string& text) {
  std::vector<std::string> words;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    words.push_back(Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
    if (comma == std::string::npos) return words;
    start = comma + 1;
  }
}

}  // namespace

double Median(std::vector<long long> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? static_cast<double>(values[n / 2]) : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double WinRate(long long wins, long long games) {
  return games > 0 ? static_cast<double>(wins) / static_cast<double>(games) : 0.0;
}

int SuggestedClassicTime(double medianBestMoves) {
  const double seconds = std::max(0.0, medianBestMoves) * kSecondsPerMove;
  const int tens = static_cast<int>(std::ceil(seconds / 10.0 - 1e-9));
  return std::max(kMinClassicTime, tens * 10);
}

TCurve SummariseCurve(const std::vector<std::pair<int, double>>& rates, double minimum) {
  TCurve curve;
  const size_t n = rates.size();
  curve.levels = static_cast<int>(n);
  const auto mean = [&](size_t from, size_t to) -> std::optional<double> {
    if (from >= to) return std::nullopt;
    double sum = 0;
    for (size_t i = from; i < to; ++i) sum += rates[i].second;
    return sum / static_cast<double>(to - from);
  };
  const size_t third = n / 3;
  curve.first = mean(0, third);
  curve.middle = mean(third, n - third);
  curve.last = mean(n - third, n);
  curve.falls = curve.first && curve.middle && curve.last && *curve.first >= *curve.middle &&
                *curve.middle >= *curve.last && *curve.first > *curve.last;
  for (size_t i = 0; i < n; ++i) {
    if (i == 0 || rates[i].second < curve.lowestRate) {
      curve.lowestLevel = rates[i].first;
      curve.lowestRate = rates[i].second;
    }
    if (rates[i].second < minimum) curve.below.push_back(rates[i].first);
  }
  return curve;
}

std::string CurveJson(const TCurve& curve, double minimum) {
  const auto rate = [](const std::optional<double>& r) { return r ? JsonNumber(*r) : std::string("null"); };
  std::string out =
      "{\"levels\":" + std::to_string(curve.levels) + ",\"best_win_rate\":{\"first\":" + rate(curve.first) +
      ",\"middle\":" + rate(curve.middle) + ",\"last\":" + rate(curve.last) +
      "},\"falls\":" + (curve.falls ? "true" : "false") +
      ",\"lowest\":{\"level\":" + std::to_string(curve.lowestLevel) +
      ",\"rate\":" + JsonNumber(curve.lowestRate) + "},\"minimum\":" + JsonNumber(minimum) + ",\"below\":[";
  for (size_t i = 0; i < curve.below.size(); ++i) out += (i ? "," : "") + std::to_string(curve.below[i]);
  return out + "]}";
}

std::vector<std::pair<int, int>> ParseLevelRanges(const std::string& text, const std::string& what) {
  std::vector<std::pair<int, int>> ranges;
  const auto number = [&](const std::string& part, const std::string& item) {
    long long v = 0;
    if (!TryParseInt(Trim(part), v) || v < 1 || v > 2147483647LL)
      throw EToolError(what + ": '" + item + "' is not a level number or a range N-M");
    return static_cast<int>(v);
  };
  for (const std::string& item : SplitWords(text)) {
    if (item.empty()) throw EToolError(what + ": an empty item in '" + text + "'");
    const size_t dash = item.find('-', 1);
    const int from = number(item.substr(0, dash), item);
    const int to = dash == std::string::npos ? from : number(item.substr(dash + 1), item);
    if (to < from) throw EToolError(what + ": the range '" + item + "' runs backwards");
    ranges.emplace_back(from, to);
  }
  return ranges;
}

bool TLevelsOptions::Wants(int level) const {
  if (levels.empty()) return true;
  return std::any_of(levels.begin(), levels.end(),
                     [level](const std::pair<int, int>& r) { return level >= r.first && level <= r.second; });
}

TLevelsOptions ParseLevelsArgs(TArgs& args) {
  TLevelsOptions options;
  if (const auto games = args.Option("--games")) {
    options.games = ParseIntArg(*games, "--games");
    if (options.games < 1 || options.games > 100000) throw EToolError("--games must be between 1 and 100000");
  }
  if (const auto seed = args.Option("--seed")) options.seed = SeedArg(*seed);
  options.difficulty = DifficultyArg(args);
  if (const auto mode = args.Option("--mode")) {
    if (*mode != "relax" && *mode != "classic")
      throw EToolError("--mode must be relax or classic, not '" + *mode + "'");
    options.mode = PlayModeFromText(*mode);
  }
  if (const auto list = args.Option("--strategies")) {
    options.strategies.clear();
    for (const std::string& word : SplitWords(*list)) {
      const EStrategy s = StrategyFromText(word, "--strategies");
      if (std::find(options.strategies.begin(), options.strategies.end(), s) != options.strategies.end())
        throw EToolError("--strategies names " + word + " twice");
      options.strategies.push_back(s);
    }
  }
  if (const auto list = args.Option("--levels")) options.levels = ParseLevelRanges(*list, "--levels");
  if (const auto minimum = args.Option("--min-best")) {
    const double v = ParseFloat(*minimum, std::nan(""));
    if (!(v >= 0 && v <= 1))
      throw EToolError("--min-best must be a rate between 0 and 1, not '" + *minimum + "'");
    options.minimum = v;
  }
  const auto rest = args.Positional();
  if (rest.empty()) throw EToolError("expects the application folder APPDIR");
  if (rest.size() > 1) throw EToolError("unexpected argument " + rest[1]);
  options.appDir = rest[0];
  return options;
}

}  // namespace qv::tool
