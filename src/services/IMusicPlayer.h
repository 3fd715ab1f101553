// Music playback: what screens ask of the engine for their background music.
// The engine keeps a stack: a new music cross-fades over the current one and
// stopping the current one brings back the one below.
#pragma once

#include <cstdint>

#include "audio/Music.h"
#include "core/Ref.h"

namespace qv {

class IMusicPlayer : public virtual IInterface {
protected:
  ~IMusicPlayer() override = default;

public:
  // Pushes the item's music on the stack and fades it in; its handle, 0
  // when nothing plays.
  virtual uint32_t PlayMusic(const IMusic* music) = 0;
  // Only when the item's music is the current one: fades it out and brings
  // the one below back.
  virtual void StopMusic(const IMusic* music) = 0;
};

}  // namespace qv
