// Tracker modules through the audio library without an output device:
// loaded from memory as music is, played and mixed for a moment, freed.
#include <vector>

#include "FuzzSupport.h"
#include "audio/AudioLibrary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  static TAudioLibrary* library = [] {
    auto* lib = new TAudioLibrary;  // lives for the process, as the engine's does
    if (!lib->Init(0, 44100, 0)) __builtin_trap();
    return lib;
  }();
  const uint32_t music = library->MusicLoad(data, 0, static_cast<uint32_t>(size), 0, 44100);
  if (!music) return 0;
  library->ChannelPlay(music, true);
  std::vector<float> out(2 * 1024);
  library->Mix(out.data(), 1024);
  library->MusicFree(music);
  return 0;
}
