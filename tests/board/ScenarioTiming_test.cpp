// The arithmetic of the board's presentation scenarios: when the cells and
// flowers of a level start appear, the colour flight's parabola and its
// burst, the hint's rhythm, the level end's results and bonus count, the
// artifact's curve and the combination texts' layout.
#include <gtest/gtest.h>

#include <cmath>

#include "board/CombinationTexts.h"
#include "board/ScenarioFlyArtifact.h"
#include "board/ScenarioFlyColorCell.h"
#include "board/ScenarioHintLink.h"
#include "board/ScenarioLevelEnd.h"
#include "board/ScenarioStartLevel.h"
#include "core/ProcessContext.h"

namespace qv {
namespace {

TEST(StartLevelPlan, NineByNineRowsAppearFromTheTopEverFaster) {
  const TStartLevelPlan plan = PlanCellAppearance(9, 9, [](TCellPos) { return true; });
  ASSERT_EQ(plan.cells.size(), 81u);
  // The last row (even) is walked right to left and handed the first times.
  EXPECT_EQ(plan.cells[0].cell, (TCellPos{8, 8}));
  EXPECT_EQ(plan.cells[0].time, -21);
  EXPECT_EQ(plan.cells[1].time, -44);
  // Row 7 (odd) is walked left to right.
  EXPECT_EQ(plan.cells[9].cell, (TCellPos{0, 7}));
  // Row 0 gets the earliest times: its cells appear first, 39 ms apart; the
  // last row's cells are 23 ms apart.
  EXPECT_EQ(plan.cells[80].cell, (TCellPos{0, 0}));
  EXPECT_EQ(plan.cells[80].time, -2493);
  EXPECT_EQ(plan.cells[79].time - plan.cells[80].time, 39);
  EXPECT_EQ(plan.cells[0].time - plan.cells[1].time, 23);
  EXPECT_EQ(plan.clockStart, -2562);
  // The clock starts before every time, so the first frame shows nothing.
  for (const TCellAppearance& item : plan.cells) EXPECT_LT(plan.clockStart, item.time);
}

TEST(StartLevelPlan, HolesTakeNoTimeAndNoGap) {
  // A 3 x 2 board without (1, 1): the last row holds two cells only.
  const TStartLevelPlan plan =
      PlanCellAppearance(3, 2, [](TCellPos c) { return !(c.col == 1 && c.row == 1); });
  ASSERT_EQ(plan.cells.size(), 5u);
  // b = -27; row 1 (odd, left to right) steps by -29, row 0 by -31.
  EXPECT_EQ(plan.cells[0].cell, (TCellPos{0, 1}));
  EXPECT_EQ(plan.cells[0].time, -27);
  EXPECT_EQ(plan.cells[1].cell, (TCellPos{2, 1}));
  EXPECT_EQ(plan.cells[1].time, -56);
  EXPECT_EQ(plan.cells[2].cell, (TCellPos{2, 0}));
  EXPECT_EQ(plan.cells[2].time, -85);
  EXPECT_EQ(plan.cells[4].time, -147);
  EXPECT_EQ(plan.clockStart, -178 - 30);
}

TEST(StartLevelPlan, FlowersNearTheMiddleComeFirst) {
  EXPECT_EQ(FlowerFallDelay({4, 4}, 9, 9), 0);
  EXPECT_EQ(FlowerFallDelay({0, 0}, 9, 9), 932);  // 4 * 1050 div 9, twice
  EXPECT_EQ(FlowerFallDelay({8, 8}, 9, 9), 932);
  EXPECT_EQ(FlowerFallDelay({4, 0}, 9, 9), 466);
  // 8 columns, 6 rows: the middle is column 3, row 2.
  EXPECT_EQ(FlowerFallDelay({0, 0}, 8, 6), 350 + 393);
  EXPECT_EQ(FlowerFallDelay({7, 5}, 8, 6), 525 + 525);
  EXPECT_EQ(FlowerFallDelay({0, 0}, 0, 0), 0);
}

TEST(ColourFlight, ApexAndPhaseTimeOfTheWorkedFlights) {
  // Upwards (y0 >= y2): A.x = round((x0 - x2) / 15) + 95.
  const TColourFlight up = PlanColourFlight(200, 200, 100, 100);
  EXPECT_EQ(up.apex.x, 102);
  EXPECT_EQ(up.apex.y, 113);
  EXPECT_EQ(up.duration, 888);  // 2 * round(131.05 + 13.15) + 600
  // Downwards: A.x = round((x0 - x2) / 10) + 90.
  const TColourFlight down = PlanColourFlight(300, 50, 500, 400);
  EXPECT_EQ(down.apex.x, 70);
  EXPECT_EQ(down.apex.y, 118);
  EXPECT_EQ(down.duration, 2108);
  // (300 - 330) div 30 truncates to -1.
  const TColourFlight low = PlanColourFlight(300, 330, 100, 100);
  EXPECT_EQ(low.apex.x, 108);
  EXPECT_EQ(low.apex.y, 109);
  EXPECT_EQ(low.duration, 1210);
}

TEST(ColourFlight, XMovesEvenlyAndYFollowsTheParabola) {
  const TColourFlight up = PlanColourFlight(200, 200, 100, 100);
  EXPECT_DOUBLE_EQ(up.At(0).x, 200);
  EXPECT_DOUBLE_EQ(up.At(0).y, 200);
  EXPECT_DOUBLE_EQ(up.At(888).x, 100);
  EXPECT_NEAR(up.At(888).y, 100, 1e-9);
  EXPECT_DOUBLE_EQ(up.At(444).x, 150);
  EXPECT_NEAR(up.At(444).y, 290.306, 1e-3);
  // Beyond the ends the point stays there.
  EXPECT_DOUBLE_EQ(up.At(-50).x, 200);
  EXPECT_DOUBLE_EQ(up.At(2000).x, 100);
  const TColourFlight down = PlanColourFlight(300, 50, 500, 400);
  EXPECT_DOUBLE_EQ(down.At(1054).x, 400);
  EXPECT_NEAR(down.At(1054).y, 177.427, 1e-3);
}

TEST(ColourFlight, EqualAbscissaeMoveStraight) {
  // Straight down at x 95: the apex for x0 = x2 has x 95 too.
  const TColourFlight flight = PlanColourFlight(95, 400, 95, 100);
  const TFlightPoint half = flight.At(flight.duration / 2);
  EXPECT_DOUBLE_EQ(half.x, 95);
  EXPECT_NEAR(half.y, 250, 0.5);
  for (int t = 0; t <= flight.duration; t += 50) {
    const TFlightPoint p = flight.At(t);
    EXPECT_TRUE(std::isfinite(p.y)) << t;
  }
}

TEST(ColourFlight, BurstEmissionHoldsThenFalls) {
  EXPECT_EQ(BurstEmission(0), 100);
  EXPECT_EQ(BurstEmission(400), 100);
  EXPECT_EQ(BurstEmission(600), 75);
  EXPECT_EQ(BurstEmission(700), 43);
  EXPECT_EQ(BurstEmission(800), 0);
  EXPECT_EQ(BurstEmission(900), 0);
}

TEST(HintRhythm, SwingsStartAfterTheDelaysAndTurnClockwise) {
  EXPECT_EQ(HintSwingStart(0, 10000, 4000), 10000);
  EXPECT_EQ(HintSwingStart(1, 10000, 4000), 10000 + 600 + 4000);
  EXPECT_EQ(HintSwingStart(2, 1000, 500), 1000 + 2 * 1100);
}

TEST(HintRhythm, FlowersTurnFortyFiveDegreesAndBack) {
  // Two flowers 60 px apart turn clockwise about their middle.
  const TFlightPoint middle{30, 0};
  TFlightPoint left = HintSwingOffset({0, 0}, middle, 300);
  EXPECT_NEAR(left.x, 8.787, 1e-3);
  EXPECT_NEAR(left.y, -21.213, 1e-3);
  const TFlightPoint right = HintSwingOffset({60, 0}, middle, 300);
  EXPECT_NEAR(right.x, -8.787, 1e-3);
  EXPECT_NEAR(right.y, 21.213, 1e-3);
  left = HintSwingOffset({0, 0}, middle, 150);
  EXPECT_NEAR(left.x, 2.284, 1e-3);
  EXPECT_NEAR(left.y, -11.481, 1e-3);
  const TFlightPoint back = HintSwingOffset({0, 0}, middle, 450);
  EXPECT_NEAR(back.x, left.x, 1e-9);
  EXPECT_NEAR(back.y, left.y, 1e-9);
  for (int t : {0, 600, 700, -5}) {
    EXPECT_EQ(HintSwingOffset({0, 0}, middle, t).x, 0) << t;
    EXPECT_EQ(HintSwingOffset({0, 0}, middle, t).y, 0) << t;
  }
}

TEST(LevelEndResult, EachStatusHasItsPictureAndSound) {
  EXPECT_EQ(LevelEndResult(0, 1).widget, "widget_no_moves");
  EXPECT_EQ(LevelEndResult(0, 1).sound, "sound_level_failed");
  EXPECT_EQ(LevelEndResult(1, 2).widget, "widget_level_complete");
  EXPECT_EQ(LevelEndResult(1, 2).sound, "sound_level_win2");
  EXPECT_EQ(LevelEndResult(1, 1).sound, "sound_level_win1");
  EXPECT_EQ(LevelEndResult(2, 1).widget, "widget_time_out");
  EXPECT_EQ(LevelEndResult(2, 1).sound, "sound_level_failed");
  EXPECT_EQ(LevelEndResult(3, 1).widget, "widget_level_failed");
  EXPECT_EQ(LevelEndResult(3, 1).sound, "sound_level_loose");
  EXPECT_EQ(LevelEndResult(7, 1).widget, "widget_no_moves");
}

TEST(LevelEndResult, TheBonusCountsUpOverTwoSeconds) {
  EXPECT_EQ(BonusCountedAt(1230, 0), 0);
  EXPECT_EQ(BonusCountedAt(1230, 1000), 615);
  EXPECT_EQ(BonusCountedAt(1230, 1999), 1229);
  EXPECT_EQ(BonusCountedAt(1230, 2000), 1230);
  EXPECT_EQ(BonusCountedAt(1230, 5000), 1230);
  // No overflow on a large bonus.
  EXPECT_EQ(BonusCountedAt(2000000000, 1000), 1000000000);
}

TEST(ArtifactFlight, RisesAboveBothEnds) {
  const TFlightPoint from{0, 300}, to{200, 100};
  EXPECT_DOUBLE_EQ(ArtifactFlightAt(from, to, 0).x, 0);
  EXPECT_DOUBLE_EQ(ArtifactFlightAt(from, to, 0).y, 300);
  EXPECT_DOUBLE_EQ(ArtifactFlightAt(from, to, 1).x, 200);
  EXPECT_DOUBLE_EQ(ArtifactFlightAt(from, to, 1).y, 100);
  // The control point is (100, -50).
  EXPECT_DOUBLE_EQ(ArtifactFlightAt(from, to, 0.5).x, 100);
  EXPECT_DOUBLE_EQ(ArtifactFlightAt(from, to, 0.5).y, 75);
  EXPECT_DOUBLE_EQ(ArtifactFlightAt(from, to, 2).y, 100);
}

TEST(RunningList, AFlightTakesOnlyItsOwnName) {
  EXPECT_EQ(WithoutScenarioName(";fly_a;fly_b", "FLY_A"), ";fly_b");
  EXPECT_EQ(WithoutScenarioName("fly_a; fly_b ;;", "fly_b"), ";fly_a");
  EXPECT_EQ(WithoutScenarioName(";fly_a", "fly_a"), "");
  EXPECT_EQ(WithoutScenarioName("", "fly_a"), "");
}

TEST(CombinationTexts, RowsAreStackedAboutThePoint) {
  const std::vector<TPoint> places = CombinationRowPlaces({200, 150}, 3, 30);
  ASSERT_EQ(places.size(), 3u);
  EXPECT_EQ(places[0], (TPoint{200, 105}));
  EXPECT_EQ(places[1], (TPoint{200, 135}));
  EXPECT_EQ(places[2], (TPoint{200, 165}));
  EXPECT_EQ(CombinationRowPlaces({200, 150}, 2, 34)[0], (TPoint{200, 116}));
  EXPECT_TRUE(CombinationRowPlaces({0, 0}, 0, 10).empty());
  EXPECT_EQ(MeanPoint({{10, 20}, {20, 20}, {30, 41}}), (TPoint{20, 27}));
  EXPECT_EQ(MeanPoint({}), (TPoint{0, 0}));
}

TEST(CombinationTexts, KeysGoThroughTheLanguageAndTakeTheirNumber) {
  ResetProcessContext();
  EXPECT_EQ(CombinationRowText({"%COMBO x%", 3, "font_combo1"}), "%COMBO x%3");
  ProcessContext().textHook = [](const std::string& text) {
    if (text == "%COMBO x%") return std::string("Combo x");
    if (text == "%DOUBLE%") return std::string("Double!");
    return text;
  };
  EXPECT_EQ(CombinationRowText({"%COMBO x%", 3, "font_combo1"}), "Combo x3");
  EXPECT_EQ(CombinationRowText({"%DOUBLE%", 0, "font_combo3"}), "Double!");
  ResetProcessContext();
}

}  // namespace
}  // namespace qv
