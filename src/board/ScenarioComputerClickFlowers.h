// The computer's move shown before it is swapped: the "cursor" child fades
// in at the first cell of "RefCells", waits, moves to the second cell and
// fades out there.
#pragma once

#include "board/ZintaraScenario.h"

namespace qv {

inline constexpr int kCursorFadeTime = 500;
inline constexpr int kCursorWaitTime = 300;
inline constexpr int kCursorMoveTime = 300;

class TScenarioComputerClickFlowers : public TZintaraScenario {
public:
  IWidget* Cursor() const { return cursor_.get(); }

protected:
  ~TScenarioComputerClickFlowers() override = default;

  // 1 fade in at the first cell, 2 wait, 3 move, 4 fade out.
  int StageCount() const override { return 4; }
  void BeginStage(int stage) override;
  void StageFrame(int stage, int dt) override;
  bool StageReady(int stage) const override;

private:
  int StageTime() const { return GetCurrentTime() - stageStart_; }
  void Place(double f);

  Ref<IWidget> cursor_;
  TPoint from_;
  TPoint to_;
  int stageStart_ = 0;
};

}  // namespace qv
