// The level start: the cells appear row by row from the top, ever faster,
// then the flowers fade in, those near the middle of the board first.
#pragma once

#include <functional>
#include <vector>

#include "board/ZintaraScenario.h"

namespace qv {

// When each existing cell appears, on the scenario's clock of the first
// stage (negative, counting up to 0), and where that clock starts.
struct TCellAppearance {
  TCellPos cell;
  int time = 0;
};
struct TStartLevelPlan {
  std::vector<TCellAppearance> cells;  // in the order the times were given out
  int clockStart = 0;
};
// The times fall along the rows from the last row up, each row walked
// right to left when it is even and left to right when it is odd; the gap
// between two cells is 32 - cols in the last row and widens by 2 per row up
// (the cells appear in the reverse order: row 0 first, 39 ms apart for 9
// columns of 9 rows; the last row 23 ms apart).
TStartLevelPlan PlanCellAppearance(int cols, int rows, const std::function<bool(TCellPos)>& exists);
// The wait of a cell's flower: its distance from the middle row and the
// middle column, each scaled to 1050 ms over the board's size.
int FlowerFallDelay(TCellPos cell, int cols, int rows);

class TScenarioStartLevel : public TZintaraScenario {
public:
  // Stage 1's frames run while its clock is still negative.
  void AdvanceTime(int dt) override;

  const TStartLevelPlan& Plan() const { return plan_; }
  // Cells shown so far in stage 1.
  int ShownCells() const { return shownCount_; }

protected:
  ~TScenarioStartLevel() override = default;

  int StageCount() const override { return 2; }
  void BeginStage(int stage) override;
  void StageFrame(int stage, int dt) override;
  bool StageReady(int stage) const override;

private:
  void PrepareCells(TGameBoardControl& board);
  // Shows every cell whose time has come (all of them with `all`).
  void ShowDueCells(bool all);
  void StartFlowers(TGameBoardControl& board);
  void PlayLoopSound();

  TStartLevelPlan plan_;
  std::vector<bool> shown_;
  int shownCount_ = 0;
  uint32_t soundChannel_ = 0;
  bool soundFailed_ = false;
};

}  // namespace qv
