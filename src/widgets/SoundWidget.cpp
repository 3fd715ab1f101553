#include "widgets/SoundWidget.h"

#include "core/Diagnostics.h"
#include "services/ISoundChannels.h"

namespace qv {

const TPropertyTable<TSoundWidget>& TSoundWidget::Properties() {
  using W = TSoundWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TAbstractWidget::Properties())
                                             .String("resourcename", &W::soundName_)
                                             .Always()
                                             .Bool("loop", &W::loop_)
                                             .Always()
                                             .Int("startdelaytime", &W::startDelayTime_)
                                             .Always()
                                             .Int("cycledelaytime", &W::cycleDelayTime_)
                                             .Always();
  return table;
}

void TSoundWidget::Play(int delay) {
  // A name the widget lacks is reported once, not at every retry.
  const bool known = !sounds_ || sounds_->FindSound(soundName_);
  if (!known && reportedName_ != soundName_) {
    reportedName_ = soundName_;
    ReportDataError("widget " + GetFullPath(), "no sound named \"" + soundName_ + "\"");
  }
  channel_ = known ? PlaySound(soundName_, false, 100, 0) : 0;
  if (channel_ != 0)
    state_ = kStateRunning;
  else
    currentTime_ = delay - kRetryTicks;
}

bool TSoundWidget::ChannelPlaying() {
  // Without a way to ask, a started sound counts as ended at once.
  auto* channels = GetService<ISoundChannels>();
  return channels && channels->GetChannelState(channel_) == ISoundChannels::kChannelPlaying;
}

void TSoundWidget::AdvanceTime(int dt) {
  TAbstractWidget::AdvanceTime(dt);
  if (!active_) return;
  int& t = currentTime_;
  for (bool again = true; again;) {
    again = false;
    switch (state_) {
      case kStateStartDelay:
      case kStateCycleDelay: {
        const int delay = state_ == kStateStartDelay ? startDelayTime_ : cycleDelayTime_;
        if (t < delay) break;
        Play(delay);
        if (delay > 0) t %= delay;
        again = t != 0;
        break;
      }
      case kStateRunning:
        if (ChannelPlaying()) break;
        if (loop_) {
          state_ = kStateCycleDelay;
          t = 0;
        } else {
          active_ = false;
          state_ = kStateFinished;
        }
        break;
      default:
        break;
    }
  }
}

void TSoundWidget::Pause() {
  TAbstractWidget::Pause();
  if (channel_ != 0)
    if (auto* channels = GetService<ISoundChannels>()) channels->StopChannel(channel_);
  state_ = kStateFinished;
}

void TSoundWidget::Restart() {
  RewindSchedule(state_, active_);
  TAbstractWidget::Restart();
}

}  // namespace qv
