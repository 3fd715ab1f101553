#include "widgets/BlinkWidget.h"

#include <cstdint>

#include "storage/StorageAccess.h"

namespace qv {

const TPropertyTable<TBlinkWidget>& TBlinkWidget::Properties() {
  using W = TBlinkWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TImageWidget::Properties())
                                             .Int("loops_count", &W::loopsCount_)
                                             .StorageOnly()
                                             .Bool("loop", &W::GetLoop, &W::SetLoop)
                                             .Always()
                                             .Int("firstperiod", &W::firstPeriod_, 1)
                                             .Always()
                                             .Int("secondperiod", &W::secondPeriod_, 1)
                                             .Always()
                                             .Int("start_transparentlevel", &W::startLevel_)
                                             .Always()
                                             .Int("peak_transparentlevel", &W::peakLevel_)
                                             .Always()
                                             .Int("end_transparentlevel", &W::endLevel_)
                                             .Always()
                                             .Int("startdelaytime", &W::startDelayTime_)
                                             .Always()
                                             .Int("cycledelaytime", &W::cycleDelayTime_)
                                             .Always()
                                             .Bool("stoponfirst", &W::stopOnFirst_)
                                             .Always();
  return table;
}

void TBlinkWidget::LoadFromStorage(const StorageRef& storage) {
  TImageWidget::LoadFromStorage(storage);
  if (!storage) return;
  // Defaults that follow other keys.
  secondPeriod_ = ReadInt(storage, "secondperiod", firstPeriod_);
  endLevel_ = ReadInt(storage, "end_transparentlevel", startLevel_);
}

void TBlinkWidget::SetLoop(bool value) {
  SetScheduleLoop(value, loop_, state_, active_);
}

void TBlinkWidget::Restart() {
  RewindSchedule(state_, active_);
  TImageWidget::Restart();
}

int TBlinkWidget::LevelAt(int t) const {
  // 32-bit signed arithmetic, the result taken modulo 256.
  int32_t level;
  if (t < firstPeriod_)
    level = firstPeriod_ > 0 ? startLevel_ + (peakLevel_ - startLevel_) * t / firstPeriod_ : peakLevel_;
  else
    level = secondPeriod_ > 0 ? peakLevel_ + (endLevel_ - peakLevel_) * (t - firstPeriod_) / secondPeriod_
                              : endLevel_;
  return static_cast<int>(static_cast<uint32_t>(level) & 0xFFu);
}

void TBlinkWidget::Finish() {
  active_ = false;
  state_ = kStateFinished;
  SetTransparentLevel(stopOnFirst_ ? startLevel_ : endLevel_);
}

void TBlinkWidget::AdvanceTime(int dt) {
  TImageWidget::AdvanceTime(dt);
  if (!active_) return;
  int& t = currentTime_;
  for (bool again = true; again;) {
    again = false;
    switch (state_) {
      case kStateStartDelay:
      case kStateCycleDelay: {
        SetTransparentLevel(startLevel_);
        const int delay = state_ == kStateStartDelay ? startDelayTime_ : cycleDelayTime_;
        if (t >= delay) {
          state_ = kStateRunning;
          if (delay > 0) t %= delay;
          again = t != 0;
        }
        break;
      }
      case kStateRunning: {
        const int period = firstPeriod_ + secondPeriod_;
        if (t >= period) {
          if (!loop_) {
            Finish();
            return;
          }
          state_ = kStateCycleDelay;
          if (period > 0) t %= period;
          if (loopsCount_ > 0 && --loopsCount_ == 0) {
            Finish();
            SetDead(true);
            return;
          }
        }
        SetTransparentLevel(LevelAt(t));
        break;
      }
      default:
        break;
    }
  }
}

}  // namespace qv
