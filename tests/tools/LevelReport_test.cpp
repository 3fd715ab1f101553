// The level report's figures and options, worked out by hand.
#include "LevelReport.h"

#include <gtest/gtest.h>

#include "Commands.h"

namespace qv::tool {
namespace {

TEST(LevelReportFigures, MedianOfOddEvenAndNoGames) {
  EXPECT_EQ(Median({40, 12, 25}), 25);
  EXPECT_EQ(Median({40, 12, 25, 30}), 27.5);  // the mean of 25 and 30
  EXPECT_EQ(Median({7}), 7);
  EXPECT_EQ(Median({}), 0);
  EXPECT_EQ(Median({5, 5, 1000, 5}), 5);  // one long game does not move it
}

TEST(LevelReportFigures, WinRate) {
  EXPECT_EQ(WinRate(3, 4), 0.75);
  EXPECT_EQ(WinRate(0, 20), 0);
  EXPECT_EQ(WinRate(20, 20), 1);
  EXPECT_EQ(WinRate(0, 0), 0);
}

TEST(LevelReportFigures, SuggestedTimeIsThreeSecondsAMoveInWholeTens) {
  EXPECT_EQ(SuggestedClassicTime(82.5), 250);  // 247.5 s up to 250
  EXPECT_EQ(SuggestedClassicTime(100), 300);   // exactly 300 stays
  EXPECT_EQ(SuggestedClassicTime(113), 340);   // 339 up to 340
  EXPECT_EQ(SuggestedClassicTime(25), 80);     // 75 up to 80
  EXPECT_EQ(SuggestedClassicTime(10), 60);     // 30 s is below the least time
  EXPECT_EQ(SuggestedClassicTime(0), 60);
}

TEST(LevelReportCurve, ThirdsOfSevenLevels) {
  // 7 levels: thirds of 2, 3 and 2.
  const TCurve curve =
      SummariseCurve({{1, 1.0}, {2, 1.0}, {3, 0.9}, {4, 0.8}, {5, 0.7}, {6, 0.7}, {7, 0.5}}, 0.6);
  EXPECT_EQ(curve.levels, 7);
  EXPECT_DOUBLE_EQ(*curve.first, 1.0);
  EXPECT_DOUBLE_EQ(*curve.middle, 0.8);
  EXPECT_DOUBLE_EQ(*curve.last, 0.6);
  EXPECT_TRUE(curve.falls);
  EXPECT_EQ(curve.lowestLevel, 7);
  EXPECT_EQ(curve.below, std::vector<int>{7});
}

TEST(LevelReportCurve, ARiseInTheMiddleIsNoFall) {
  const TCurve rising = SummariseCurve({{1, 0.8}, {2, 1.0}, {3, 0.7}}, 0.6);
  EXPECT_FALSE(rising.falls);
  const TCurve flat = SummariseCurve({{1, 1.0}, {2, 1.0}, {3, 1.0}}, 0.6);
  EXPECT_FALSE(flat.falls);  // equal thirds: nothing falls
  EXPECT_TRUE(flat.below.empty());
  EXPECT_EQ(flat.lowestLevel, 1);  // the first of equal rates
}

TEST(LevelReportCurve, FewLevelsHaveEmptyOuterThirds) {
  const TCurve two = SummariseCurve({{5, 0.5}, {9, 1.0}}, 0.6);
  EXPECT_FALSE(two.first.has_value());
  EXPECT_DOUBLE_EQ(*two.middle, 0.75);
  EXPECT_FALSE(two.last.has_value());
  EXPECT_FALSE(two.falls);
  EXPECT_EQ(CurveJson(two, 0.6),
            "{\"levels\":2,\"best_win_rate\":{\"first\":null,\"middle\":0.75,\"last\":null},\"falls\":false,"
            "\"lowest\":{\"level\":5,\"rate\":0.5},\"minimum\":0.6,\"below\":[5]}");
  const TCurve none = SummariseCurve({}, 0.6);
  EXPECT_EQ(CurveJson(none, 0.6),
            "{\"levels\":0,\"best_win_rate\":{\"first\":null,\"middle\":null,\"last\":null},\"falls\":false,"
            "\"lowest\":{\"level\":0,\"rate\":0},\"minimum\":0.6,\"below\":[]}");
}

TLevelsOptions Parse(std::vector<std::string> words) {
  TArgs args(std::move(words));
  return ParseLevelsArgs(args);
}

TEST(LevelReportOptions, DefaultsAndValues) {
  const TLevelsOptions defaults = Parse({"app"});
  EXPECT_EQ(defaults.appDir, "app");
  EXPECT_EQ(defaults.games, 20);
  EXPECT_EQ(defaults.seed, 1u);
  EXPECT_EQ(defaults.difficulty, 1);
  EXPECT_EQ(defaults.strategies.size(), 3u);
  EXPECT_TRUE(defaults.Wants(71));
  EXPECT_EQ(defaults.minimum, 0.6);

  const TLevelsOptions set =
      Parse({"--games", "3", "app", "--seed", "-1", "--difficulty", "2", "--strategies", "random, best",
             "--levels", "1-3,10", "--min-best", "0.75"});
  EXPECT_EQ(set.games, 3);
  EXPECT_EQ(set.seed, 4294967295u);
  EXPECT_EQ(set.difficulty, 2);
  EXPECT_EQ(set.strategies, (std::vector<EStrategy>{EStrategy::Random, EStrategy::Best}));
  EXPECT_TRUE(set.Wants(1));
  EXPECT_TRUE(set.Wants(3));
  EXPECT_FALSE(set.Wants(4));
  EXPECT_TRUE(set.Wants(10));
  EXPECT_EQ(set.minimum, 0.75);
}

TEST(LevelReportOptions, BadValuesNameTheOption) {
  const auto fails = [](std::vector<std::string> words, const std::string& says) {
    try {
      Parse(std::move(words));
      ADD_FAILURE() << "accepted: " << says;
    } catch (const EToolError& e) {
      EXPECT_NE(std::string(e.what()).find(says), std::string::npos) << e.what();
    }
  };
  fails({}, "APPDIR");
  fails({"a", "b"}, "unexpected argument b");
  fails({"a", "--games", "0"}, "--games");
  fails({"a", "--games", "many"}, "--games");
  fails({"a", "--games"}, "--games needs a value");
  fails({"a", "--difficulty", "0"}, "--difficulty");
  fails({"a", "--seed", "99999999999"}, "32-bit");
  fails({"a", "--mode", "duel_player"}, "--mode");
  fails({"a", "--strategies", "best,clever"}, "--strategies");
  fails({"a", "--strategies", "best,best"}, "twice");
  fails({"a", "--strategies", ""}, "--strategies");
  fails({"a", "--levels", "3-1"}, "backwards");
  fails({"a", "--levels", "1,,2"}, "empty item");
  fails({"a", "--levels", "0"}, "--levels");
  fails({"a", "--levels", "x-4"}, "--levels");
  fails({"a", "--min-best", "1.5"}, "--min-best");
  fails({"a", "--min-best", "half"}, "--min-best");
  fails({"a", "--colour", "red"}, "unknown option --colour");
}

}  // namespace
}  // namespace qv::tool
