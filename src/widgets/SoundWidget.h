// An invisible widget that plays one of its own sounds on a schedule: after
// a start delay, and again after a cycle delay each time it ended while
// "loop" is set. A sound that cannot start is tried again 200 ticks later.
#pragma once

#include <cstdint>
#include <string>

#include "widgets/AbstractWidget.h"
#include "widgets/TimedState.h"

namespace qv {

class TSoundWidget : public TAbstractWidget {
public:
  static constexpr int kRetryTicks = 200;

  // "resourcename" (a name in the widget's "sounds"), "loop",
  // "startdelaytime", "cycledelaytime", all always written.
  QV_PROPERTY_TABLE(TSoundWidget)

  void AdvanceTime(int dt) override;
  // Stops the channel and finishes.
  void Pause() override;
  void Restart() override;

  const std::string& GetSoundName() const { return soundName_; }
  int GetState() const { return state_; }
  bool IsActive() const { return active_; }
  uint32_t GetChannel() const { return channel_; }

protected:
  ~TSoundWidget() override = default;

private:
  // Starts the sound; `delay` is the delay of the state it starts from.
  void Play(int delay);
  bool ChannelPlaying();

  int state_ = kStateStartDelay;
  bool loop_ = false;
  bool active_ = true;
  std::string soundName_;
  uint32_t channel_ = 0;
  int startDelayTime_ = 0;
  int cycleDelayTime_ = 0;
  std::string reportedName_;
};

}  // namespace qv
