#include <gtest/gtest.h>

#include "core/Random.h"
#include "game/GameStatistics.h"
#include "game/Scoring.h"

namespace qv {
namespace {

TCell MakeCell(int32_t kind, int32_t colour, int32_t flower) {
  return TCell{kind, colour, flower, false, 0};
}

int32_t LinePoints(const TCell& cell, int n, int chain) {
  return n * CellPoints(cell, n, chain);
}

TEST(ScoringPoints, WorkedExamples) {
  EXPECT_EQ(LinePoints(MakeCell(kCellNormal, kNoColour, 11), 3, 1), 1500);
  EXPECT_EQ(LinePoints(MakeCell(kCellComplete, kNoColour, 11), 3, 1), 300);
  EXPECT_EQ(LinePoints(MakeCell(kCellTriple, kNoColour, 11), 4, 2), 1680);
  EXPECT_EQ(CellPoints(MakeCell(kCellNormal, 11, 11), 3, 1), 1000);
  EXPECT_EQ(CellPoints(MakeCell(kCellNormal, 23, 11), 3, 1), 100);
  EXPECT_EQ(CellPoints(MakeCell(kCellDouble, 23, 11), 5, 3), 360);
  EXPECT_EQ(CellPoints(MakeCell(kCellComplete, kNoColour, kArtifact), 1, 4), 3000);
  EXPECT_EQ(CellPoints(MakeCell(kCellNone, kNoColour, 11), 3, 1), 0);
}

TEST(ScoringSound, IndexAndVolume) {
  EXPECT_EQ(ExplosionSoundIndex(1), 1);
  EXPECT_EQ(ExplosionSoundIndex(5), 5);
  EXPECT_EQ(ExplosionSoundIndex(6), 4);
  EXPECT_EQ(ExplosionSoundIndex(7), 5);
  EXPECT_EQ(ExplosionSoundIndex(8), 3);
  SetRandomSeed(9);
  const TExplosionSound first = ChooseExplosionSound(1, 1);
  EXPECT_EQ(first.name, "sound_explosion1_1");  // seed 9 draws 0 below 3
  EXPECT_EQ(first.volume, 50);
  EXPECT_EQ(ChooseExplosionSound(6, 2).name, "sound_explosion4");
  EXPECT_EQ(ChooseExplosionSound(6, 2).volume, 75);
  EXPECT_EQ(ChooseExplosionSound(8, 7).volume, 100);
  EXPECT_TRUE(ChooseExplosionSound(0, 1).name.empty());
}

TEST(ScoringTexts, RowsInOrder) {
  EXPECT_TRUE(CombinationTexts(1, 0, 0, 1, 3).empty());
  const auto rows = CombinationTexts(3, 101, 150, 2, 5);
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0].key, "%COMBO x%");
  EXPECT_EQ(rows[0].number, 3);
  EXPECT_EQ(rows[1].key, "%GRAND!%");
  EXPECT_EQ(rows[2].key, "%DOUBLE%");
  EXPECT_EQ(rows[3].key, "%COLORCELLSx%");
  EXPECT_EQ(rows[4].font, "font_combo4");
  EXPECT_EQ(CombinationTexts(1, 0, 0, 6, 4)[1].key, "%SEXTUPLE%");
  EXPECT_EQ(CombinationTexts(1, 0, 0, 9, 3)[0].key, "%MULTIPLE%");
}

TEST(ScoringTimeBonus, TenPointsPerThreeHundredMilliseconds) {
  // a = time left + level time - allowance
  EXPECT_EQ(TimeBonus(599, 0, 0), 10);
  EXPECT_EQ(TimeBonus(299, 0, 0), 0);
  EXPECT_EQ(TimeBonus(0, 0, 0), 0);
  EXPECT_EQ(TimeBonus(60000, 120, 132000), 1600);  // a = 48000
  // A long level stays positive.
  EXPECT_GT(TimeBonus(3600000, 3600, 3600000), 0);
}

TEST(Statistics, ClosingRules) {
  TGameStatistics stats;
  stats.Add("combo", 1);
  stats.Add("flowers", 4);
  stats.Add("Score", 700);
  stats.Add("chains", 2);
  stats.Add("combo", 1);  // closes the first wave
  EXPECT_EQ(stats.Get("max_flowers"), 4);
  EXPECT_EQ(stats.Get("flowers"), 0);
  stats.Add("flowers", 3);
  stats.Add("Score", 300);
  EXPECT_EQ(stats.Get("score_move"), 1000);
  stats.Add("move", 1);
  EXPECT_EQ(stats.Get("move"), 1);
  EXPECT_EQ(stats.Get("max_score_move"), 1000);
  EXPECT_EQ(stats.Get("score_move"), 0);
  EXPECT_EQ(stats.Get("max_combo"), 2);
  EXPECT_EQ(stats.Get("combo"), 0);
  EXPECT_EQ(stats.Get("max_chains"), 2);
  EXPECT_EQ(stats.Get("flowers"), 3);  // a move does not close the wave
  stats.Add("Score", 200);
  stats.Add("move", 1);
  EXPECT_EQ(stats.Get("max_score_move"), 1000);
  EXPECT_EQ(stats.Get("Score"), 1200);
  stats.Add("custom", 5);
  EXPECT_EQ(stats.Get("custom"), 5);
  EXPECT_EQ(stats.Values().back().first, "custom");
  stats.Reset();
  EXPECT_EQ(stats.Get("custom"), 0);
  EXPECT_EQ(stats.Values().size(), TGameStatistics::StandardNames().size());
}

TEST(CellText, RoundTripAndMalformedNumbers) {
  const TCellList cells = {{1, 2}, {3, 4}};
  EXPECT_EQ(CellsToText(cells), "1,2,3,4,");
  EXPECT_EQ(CellsFromText("1,2,3,4,"), cells);
  const TCellList bad = CellsFromText("1,x,3");
  ASSERT_EQ(bad.size(), 2u);
  EXPECT_EQ(bad[0], (TCellPos{1, -1}));
  EXPECT_EQ(bad[1], (TCellPos{3, -1}));
}

}  // namespace
}  // namespace qv
