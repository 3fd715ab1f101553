#include "board/ScenarioLevelEnd.h"

#include <algorithm>

#include "board/GameBoardControl.h"
#include "board/LevelManager.h"
#include "board/ScenarioHelpers.h"
#include "core/Diagnostics.h"
#include "core/Random.h"
#include "core/StringUtils.h"

namespace qv {

namespace {

// The score display's flight of the paid bonus.
constexpr const char* kBonusFlightFactory = "move_score";
constexpr const char* kBonusFlightName = "timebonusscore";
constexpr const char* kBonusWidget = "widget_time_bonus";

}  // namespace

TLevelEndResult LevelEndResult(int status, int winVariant) {
  switch (status) {
    case 1:
      return {"widget_level_complete", "sound_level_win" + std::to_string(winVariant)};
    case 2:
      return {"widget_time_out", "sound_level_failed"};
    case 3:
      return {"widget_level_failed", "sound_level_loose"};
    default:
      return {"widget_no_moves", "sound_level_failed"};
  }
}

int32_t BonusCountedAt(int32_t bonus, int elapsed) {
  const int64_t t = std::clamp(elapsed, 0, kBonusCountTime);
  return static_cast<int32_t>(static_cast<int64_t>(bonus) * t / kBonusCountTime);
}

const TPropertyTable<TScenarioLevelEnd>& TScenarioLevelEnd::Properties() {
  using W = TScenarioLevelEnd;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TZintaraScenario::Properties()).Int("level_complete_status", &W::status_, 0);
  return table;
}

void TScenarioLevelEnd::BeginStage(int stage) {
  // Stages of a known length end at their planned time, so a frame step
  // that does not divide them (or a stage skipped in one frame) shifts
  // nothing; only the bonus flight's end is the frame's.
  switch (stage) {
    case 1:
      stageStart_ = 0;
      break;
    case 2:
      stageStart_ = kResultFadeInTime;
      break;
    case 3:
      stageStart_ += bonus_ > 0 ? kBonusCountTime : 0;
      break;
    case 4:
      if (bonus_ > 0) stageStart_ = GetCurrentTime();
      break;
    default:
      stageStart_ += kResultFadeOutTime;
      break;
  }
  TGameBoardControl* board = Board();
  switch (stage) {
    case 1:
      ShowResult();
      break;
    case 2:
      if (board) StartBonus(*board);
      break;
    case 3:
      if (board && bonus_ > 0) FlyBonus(*board);
      break;
    case 4:
      if (board && bonus_ > 0) PayBonus(*board);
      break;
    default:
      if (result_) result_->SetVisible(false);
      nextCheck_ = kRunningCheckPeriod;
      quiet_ = false;
      break;
  }
}

void TScenarioLevelEnd::StageFrame(int stage, int dt) {
  (void)dt;
  const int t = StageTime();
  switch (stage) {
    case 1:
      if (result_) result_->SetTransparentLevel(std::min(t, kResultFadeInTime) * 255 / kResultFadeInTime);
      break;
    case 2:
      if (bonus_ > 0) CountBonus();
      break;
    case 4:
      if (result_)
        result_->SetTransparentLevel(255 - std::min(t, kResultFadeOutTime) * 255 / kResultFadeOutTime);
      break;
    case 5:
      while (t >= nextCheck_ && !quiet_) {
        quiet_ = NoneRunning();
        nextCheck_ += kRunningCheckPeriod;
      }
      break;
    default:
      break;
  }
}

bool TScenarioLevelEnd::StageReady(int stage) const {
  switch (stage) {
    case 1:
      return StageTime() >= kResultFadeInTime;
    case 2:
      return bonus_ <= 0 || StageTime() >= kBonusCountTime;
    case 4:
      return StageTime() >= kResultFadeOutTime;
    case 5:
      return quiet_;
    default:
      return true;
  }
}

void TScenarioLevelEnd::ShowResult() {
  const TLevelEndResult shown = LevelEndResult(status_, status_ == 1 ? RandomInt(2) + 1 : 1);
  result_ = CreateWidget(shown.widget, nullptr);
  if (result_) {
    result_->SetTransparentLevel(0);
    InsertWidget(result_);
    ShowRunning(result_.get(), true);
  }
  PlayScenarioSound(*this, Board(), shown.sound);
}

IWidget* TScenarioLevelEnd::TimeDisplay() const {
  TGameBoardControl* board = Board();
  if (!board) return nullptr;
  // The timed mode's display; other screens have none.
  return board->FindWidget(kTimeDisplayPath).get();
}

void TScenarioLevelEnd::StartBonus(TGameBoardControl& board) {
  bonus_ = 0;
  if (status_ != 1) return;
  if (auto* manager = dynamic_cast<TBaseLevelManager*>(board.GetLevelManager()))
    bonus_ = manager->TimeBonus();
  if (bonus_ <= 0) return;
  timeLeft_ = std::max(0, board.Model().Counter(kCounterTimeLeft));
  if (IWidget* lamp = TimeDisplay()) lamp->SetPropertyValue("OilLampBonusMode", TVariant(true));
  bonusWidget_ = GetChild(kBonusWidget);
  if (!bonusWidget_) {
    bonusWidget_ = CreateWidget(kBonusWidget, nullptr);
    if (bonusWidget_) InsertWidget(bonusWidget_);
  }
  ShowRunning(bonusWidget_.get(), true);
  PlayScenarioSound(*this, Board(), "sound_time_bonus");
  CountBonus();
}

void TScenarioLevelEnd::CountBonus() {
  const int t = StageTime();
  if (bonusWidget_)
    bonusWidget_->SetPropertyValue("text_utf8", TVariant(std::to_string(BonusCountedAt(bonus_, t))));
  if (IWidget* lamp = TimeDisplay()) {
    const int64_t left =
        timeLeft_ - static_cast<int64_t>(timeLeft_) * std::clamp(t, 0, kBonusCountTime) / kBonusCountTime;
    lamp->SetPropertyValue("OilLampCurrentTime", TVariant(static_cast<long long>(left)));
  }
}

void TScenarioLevelEnd::FlyBonus(TGameBoardControl& board) {
  if (bonusWidget_) bonusWidget_->SetPropertyValue("text_utf8", TVariant(std::to_string(bonus_)));
  TPoint from =
      bonusWidget_ ? TPoint{RoundEven(bonusWidget_->GetAnchorLeft()), RoundEven(bonusWidget_->GetAnchorTop())}
                   : TPoint{0, 0};
  from = ChildSpaceToBoard(*this, board, from);
  const Ref<TParamCollection> params = MakeScenarioParams({{"name", kBonusFlightName},
                                                           {"text_utf8", std::to_string(bonus_)},
                                                           {"x1", std::to_string(from.x)},
                                                           {"y1", std::to_string(from.y)},
                                                           {"x2", std::to_string(from.x)},
                                                           {"y2", std::to_string(from.y - 100)},
                                                           {"start_trans_level", "255"},
                                                           {"end_trans_level", "100"},
                                                           {"lifetime", "1200"},
                                                           {"delay", "0"}});
  StartChild(kBonusFlightFactory, params.get());
  ShowRunning(bonusWidget_.get(), false);
  PlayScenarioSound(*this, Board(), "sound_shine2");
}

void TScenarioLevelEnd::PayBonus(TGameBoardControl& board) {
  board.Model().PayScore(bonus_);
  board.UpdateDisplays();
}

bool TScenarioLevelEnd::NoneRunning() const {
  TGameBoardControl* board = Board();
  if (!board) return true;
  const std::string names = board->RunningScenarios();
  size_t start = 0;
  while (start <= names.size()) {
    size_t semi = names.find(';', start);
    if (semi == std::string::npos) semi = names.size();
    const std::string name = Trim(names.substr(start, semi - start));
    if (!name.empty() && board->ScenarioAlive(name)) return false;
    start = semi + 1;
  }
  return true;
}

}  // namespace qv
