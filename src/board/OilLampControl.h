// The timed mode's time display: an oil lamp whose oil sinks as the time
// runs out, whose flame burns in three stages (normal, low, ending), and
// which warns when a minute passes in the last three minutes. Everything
// it shows is a child with an agreed name: "image_oil_lamp" (the empty
// part of the glass, drawn from the top down to the oil), "fire" and
// "fire_shine" (stage 0), "fire_animation" (stage 1), "fire_end" (stage
// 2), "image_oil_lamp_shine" (a sweep over the glass at each warning),
// "blink_OilLamp" (a blink at each warning) and "ps_OilLamp" (particles
// from the flame, fewer as the oil goes). The board writes the time.
#pragma once

#include <set>
#include <string>

#include "controls/ControlWidget.h"

namespace qv {

// The stages of the flame.
inline constexpr int kLampNormal = 0;
inline constexpr int kLampLow = 1;
inline constexpr int kLampEnding = 2;

// The warnings begin below three minutes, one a minute.
inline constexpr int kLampWarningTime = 180000;
inline constexpr int kLampMinute = 60000;
// The flame's shine comes back after the time left modulo this, plus this.
inline constexpr int kLampShinePeriod = 30000;
// At most this many particles a second leave the flame.
inline constexpr int kLampMaxParticles = 30;

// The volume of the warning when the clock passes a whole minute from
// `before` down to `after` (milliseconds left); 0 when none plays (not a
// whole minute passed, three minutes or more left, or the last minute
// ended).
int LampWarningVolume(int before, int after);
// The height of the empty glass picture for the time left.
int LampEmptyHeight(int allowance, int timeLeft, int fullHeight);
// The flame's particles a second at that height of the empty glass.
int LampParticles(int emptyHeight, int fullHeight);

class TZintaraOilLampControl : public TControlWidget {
public:
  // "OilLampStartAnimationTime", "OilLampEndAnimationTime" (always
  // written), "OilLampBonusMode" (written when true), "OilLampLevelTime"
  // and "OilLampCurrentTime" as properties, "OilLampStage" read only.
  QV_PROPERTY_TABLE(TZintaraOilLampControl)

  // Takes the full height of the oil picture the first time, and reports
  // the agreed children that are missing.
  void SetOwner(IWidgetOwner* owner) override;

  int GetLevelTime() const { return levelTime_; }
  // A new allowance fills the lamp: the time left becomes the allowance,
  // the bonus mode ends and the next time written shows its stage afresh.
  void SetLevelTime(int value);
  int GetCurrentTime() const { return currentTime_; }
  // The display follows: warnings, the stage, the oil and the particles.
  // Nothing while the allowance is 0 (the lamp is not in use).
  void SetCurrentTime(int value);
  int GetStartAnimationTime() const { return startAnimationTime_; }
  void SetStartAnimationTime(int value) { startAnimationTime_ = value; }
  int GetEndAnimationTime() const { return endAnimationTime_; }
  void SetEndAnimationTime(int value) { endAnimationTime_ = value; }
  bool IsBonusMode() const { return bonusMode_; }
  void SetBonusMode(bool value) { bonusMode_ = value; }
  // -1 before the first time is shown.
  int GetStage() const { return stage_; }
  int GetFullHeight() const { return fullHeight_; }

protected:
  ~TZintaraOilLampControl() override = default;

private:
  void EnterStage(int stage, int timeLeft);
  void Warn(int before);
  void ShowPart(const std::string& name, bool visible, bool restart);

  int levelTime_ = 0;
  int currentTime_ = 0;
  int startAnimationTime_ = 60000;
  int endAnimationTime_ = 10000;
  bool bonusMode_ = false;
  int stage_ = -1;
  int fullHeight_ = -1;
  std::set<std::string> reported_;
};

}  // namespace qv
