// Sound playback: what widgets and screens ask of the engine to play and
// stop the sound items of their "sounds" collections.
#pragma once

#include <cstdint>

#include "audio/Sound.h"
#include "core/Ref.h"

namespace qv {

class ISoundPlayer : public virtual IInterface {
protected:
  ~ISoundPlayer() override = default;

public:
  // Plays the item's sound resource at the item's volume and pan (scaled by
  // the sound volume option); the channel, 0 when nothing plays (no audio,
  // no item, no such resource).
  virtual uint32_t PlaySound(const ISound* sound) = 0;
  // Stops every channel of the item's sound resource.
  virtual void StopSound(const ISound* sound) = 0;
  // Stops every loaded sound.
  virtual void StopAllSounds() = 0;
};

}  // namespace qv
