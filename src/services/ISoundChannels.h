// The state of the channels the engine's sound player started: what a
// widget that waits for its sound to end asks of the engine.
#pragma once

#include <cstdint>

#include "core/Ref.h"

namespace qv {

class ISoundChannels : public virtual IInterface {
protected:
  ~ISoundChannels() override = default;

public:
  // The audio library's channel states.
  enum EChannelState : int { kChannelStopped = 0, kChannelPlaying = 1, kChannelPaused = 3 };

  // kChannelStopped for a channel the player does not know.
  virtual int GetChannelState(uint32_t channel) = 0;
  virtual void StopChannel(uint32_t channel) = 0;
};

}  // namespace qv
