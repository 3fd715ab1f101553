// The end of a level: the result ("level_complete_status") faded in and
// out with its sound; for a won timed level the time bonus counted up,
// flown and paid; then it waits until none of the board's running
// scenarios (the artifact's flight) is left, checking every 600 ms.
#pragma once

#include <cstdint>
#include <string>

#include "board/ZintaraScenario.h"

namespace qv {

// The result picture's factory and the sound of a status (0 no moves,
// 1 won, 2 time out, 3 duel lost); `winVariant` (1 or 2) picks the
// sound of a won level. Unknown statuses show as no moves.
struct TLevelEndResult {
  std::string widget;
  std::string sound;
};
TLevelEndResult LevelEndResult(int status, int winVariant);

// The bonus shown after `elapsed` of the count (kBonusCountTime long).
int32_t BonusCountedAt(int32_t bonus, int elapsed);

// Stage lengths in milliseconds.
inline constexpr int kResultFadeInTime = 1000;
inline constexpr int kResultFadeOutTime = 500;
inline constexpr int kBonusCountTime = 2000;
inline constexpr int kRunningCheckPeriod = 600;

class TScenarioLevelEnd : public TZintaraScenario {
public:
  // "level_complete_status" (default 0).
  QV_PROPERTY_TABLE(TScenarioLevelEnd)

  int GetStatus() const { return status_; }
  int32_t GetBonus() const { return bonus_; }
  // The result picture made for the status (empty without its factory).
  IWidget* ResultWidget() const { return result_.get(); }

protected:
  ~TScenarioLevelEnd() override = default;

  // 1 the result fades in; 2 the bonus counts up; 3 the bonus flies;
  // 4 the result fades out; 5 the running scenarios are waited for.
  int StageCount() const override { return 5; }
  void BeginStage(int stage) override;
  void StageFrame(int stage, int dt) override;
  bool StageReady(int stage) const override;

private:
  int StageTime() const { return GetCurrentTime() - stageStart_; }
  void ShowResult();
  void StartBonus(TGameBoardControl& board);
  void CountBonus();
  void FlyBonus(TGameBoardControl& board);
  void PayBonus(TGameBoardControl& board);
  // True when none of the board's running scenarios is alive.
  bool NoneRunning() const;
  IWidget* TimeDisplay() const;

  int status_ = 0;
  int32_t bonus_ = 0;
  int32_t timeLeft_ = 0;
  int stageStart_ = 0;
  int nextCheck_ = 0;
  bool quiet_ = false;
  Ref<IWidget> result_;
  Ref<IWidget> bonusWidget_;
};

}  // namespace qv
