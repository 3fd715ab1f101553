#include "board/OilLampControl.h"

#include <algorithm>
#include <cstdint>

#include "core/Diagnostics.h"

namespace qv {

namespace {

constexpr const char* kOil = "image_oil_lamp";
constexpr const char* kGlassShine = "image_oil_lamp_shine";
constexpr const char* kBlink = "blink_OilLamp";
constexpr const char* kFire = "fire";
constexpr const char* kFireShine = "fire_shine";
constexpr const char* kFireLow = "fire_animation";
constexpr const char* kFireEnd = "fire_end";
constexpr const char* kParticles = "ps_OilLamp";
constexpr const char* kParts[] = {kOil,       kGlassShine, kBlink,   kFire,
                                  kFireShine, kFireLow,    kFireEnd, kParticles};

// Fewer whole minutes are left than before, below the warning time.
bool MinutePassed(int before, int after) {
  return after < kLampWarningTime && after / kLampMinute < before / kLampMinute;
}

}  // namespace

int LampWarningVolume(int before, int after) {
  if (!MinutePassed(before, after) || before / kLampMinute <= 0) return 0;
  return 100 / (before / kLampMinute + 1);
}

int LampEmptyHeight(int allowance, int timeLeft, int fullHeight) {
  if (allowance <= 0 || fullHeight <= 0) return 0;
  const int64_t height = (static_cast<int64_t>(allowance) - timeLeft) * fullHeight / allowance;
  return static_cast<int>(std::clamp<int64_t>(height, 0, fullHeight));
}

int LampParticles(int emptyHeight, int fullHeight) {
  return std::clamp((fullHeight - emptyHeight) / 2, 0, kLampMaxParticles);
}

const TPropertyTable<TZintaraOilLampControl>& TZintaraOilLampControl::Properties() {
  using W = TZintaraOilLampControl;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TControlWidget::Properties())
          .Int("OilLampStartAnimationTime", &W::GetStartAnimationTime, &W::SetStartAnimationTime, 60000)
          .Always()
          .Int("OilLampEndAnimationTime", &W::GetEndAnimationTime, &W::SetEndAnimationTime, 10000)
          .Always()
          .Bool("OilLampBonusMode", &W::IsBonusMode, &W::SetBonusMode, false)
          .WhenTrue()
          .Int("OilLampLevelTime", &W::GetLevelTime, &W::SetLevelTime)
          .PropertyOnly()
          .Int("OilLampCurrentTime", &W::GetCurrentTime, &W::SetCurrentTime)
          .PropertyOnly()
          .Int("OilLampStage", &W::GetStage, nullptr)
          .PropertyOnly();
  return table;
}

void TZintaraOilLampControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
  if (!owner) return;
  if (fullHeight_ < 0)
    if (const Ref<IWidget> oil = GetChild(kOil)) fullHeight_ = oil->GetHeight();
  for (const char* name : kParts)
    if (!GetChild(name) && reported_.insert(name).second)
      ReportDataError(GetFullPath(), std::string("no \"") + name + "\" child");
}

void TZintaraOilLampControl::SetLevelTime(int value) {
  levelTime_ = value;
  currentTime_ = std::max(0, value);
  bonusMode_ = false;
  stage_ = -1;
}

void TZintaraOilLampControl::SetCurrentTime(int value) {
  const int before = currentTime_;
  if (levelTime_ <= 0) {
    currentTime_ = value;
    return;
  }
  if (!bonusMode_ && MinutePassed(before, value)) Warn(before);
  const int t = std::max(0, value);
  currentTime_ = t;
  if (t < startAnimationTime_ && t >= endAnimationTime_) {
    if (stage_ != kLampLow) EnterStage(kLampLow, t);
  } else if (t >= startAnimationTime_) {
    if (stage_ != kLampNormal) EnterStage(kLampNormal, t);
  } else if (stage_ != kLampEnding) {
    EnterStage(kLampEnding, t);
  }
  const int height = LampEmptyHeight(levelTime_, t, fullHeight_);
  if (fullHeight_ >= 0)
    if (const Ref<IWidget> oil = GetChild(kOil))
      oil->SetPropertyValue("height", static_cast<long long>(height));
  if (const Ref<IWidget> particles = GetChild(kParticles))
    particles->SetPropertyValue("emission_count",
                                static_cast<long long>(bonusMode_ ? 0 : LampParticles(height, fullHeight_)));
}

void TZintaraOilLampControl::Warn(int before) {
  if (before / kLampMinute > 0) {
    PlaySound("sound_attention", true, 100 / (before / kLampMinute + 1), 0);
    ShowPart(kGlassShine, true, true);
  }
  ShowPart(kBlink, true, true);
}

void TZintaraOilLampControl::EnterStage(int stage, int timeLeft) {
  stage_ = stage;
  ShowPart(kFire, stage == kLampNormal, true);
  if (stage == kLampNormal)
    if (const Ref<IWidget> shine = GetChild(kFireShine))
      shine->SetPropertyValue("startdelaytime",
                              static_cast<long long>(timeLeft % kLampShinePeriod + kLampShinePeriod));
  ShowPart(kFireShine, stage == kLampNormal, true);
  ShowPart(kFireLow, stage == kLampLow, true);
  ShowPart(kFireEnd, stage == kLampEnding, true);
  if (bonusMode_) return;
  if (stage == kLampLow) PlaySound("sound_attention", false, 100, 0);
  if (stage == kLampEnding) PlaySound("sound_attention2s", false, 100, 0);
}

void TZintaraOilLampControl::ShowPart(const std::string& name, bool visible, bool restart) {
  const Ref<IWidget> part = GetChild(name);
  if (!part) return;
  part->Show(visible);
  if (visible && restart) part->Restart();
}

}  // namespace qv
