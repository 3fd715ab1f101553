#include "game/Fitting.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/Random.h"
#include "game/BoardModel.h"
#include "game/TurnDriver.h"
#include "game/ZinLevel.h"

namespace qv {
namespace {

TEST(Fitting, TimedLevelsAdaptTheAllowance) {
  // A 120 s level on first play: 120000 * (1.0 + 0.1).
  Ref<TZinLevel> level = MakeRef<TZinLevel>();
  level->SetFlowerColors("11,22,33,44");
  level->SetDefaultKind(kCellNormal);
  level->SetDefaultFlower(-1);
  level->SetDefaultColour(-1);
  level->SetTime(120);
  level->Resize(5, 5);
  TBoardModel board;
  TTurnDriver driver(board);
  SetRandomSeed(1);
  driver.StartLevel(*level, EPlayMode::Classic, 1);
  EXPECT_EQ(board.Counter(kCounterAllowance), 132000);
  // After one failure: fitting 2/3 + 11/30, time factor 0.2.
  const double fitting = FittingAfterTimedLoss(1.0);
  EXPECT_DOUBLE_EQ(fitting, 2.0 / 3.0 + 11.0 / 30.0);
  driver.StartLevel(*level, EPlayMode::Classic, 1, false, fitting, 0.1 + kTimeFactorStep);
  EXPECT_EQ(board.Counter(kCounterAllowance), static_cast<int32_t>(std::nearbyint(120000 * (fitting + 0.2))));
  EXPECT_EQ(board.Counter(kCounterAllowance), 148000);
  // A replay gets the nominal time.
  driver.StartLevel(*level, EPlayMode::Classic, 1, true, fitting, 0.2);
  EXPECT_EQ(board.Counter(kCounterAllowance), 120000);
}

TEST(Fitting, WinsAndDuelsMoveTheFittingValue) {
  // 40% of the allowance left: 0.6 * 1.1 / 3 + 2/3 of the old value.
  EXPECT_DOUBLE_EQ(FittingAfterTimedWin(0.9, 100000, 40000), 0.6 * 1.1 / 3 + 0.9 * 2 / 3);
  EXPECT_DOUBLE_EQ(FittingAfterTimedWin(0.9, 0, 0), 1.0);
  // The computer 3000 ahead raises the value by a third; behind lowers it.
  EXPECT_DOUBLE_EQ(FittingAfterDuel(0.0, 1000, 4000), 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(FittingAfterDuel(0.3, 4000, 1000), -1.0 / 3.0 + 0.2);
}

}  // namespace
}  // namespace qv
