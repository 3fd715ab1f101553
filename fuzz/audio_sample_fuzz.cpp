// WAV and Ogg Vorbis samples through the audio library without an output
// device: loaded from memory as the engine's audio loads a sound, played on
// a channel and mixed for a moment, then freed.
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
  const uint32_t sample = library->SampleLoad(data, 0, static_cast<uint32_t>(size), 2, 0);
  if (!sample) return 0;
  if (const uint32_t channel = library->SampleGetChannel(sample, false)) {
    library->ChannelPlay(channel, true);
    library->ChannelSetAttributes(channel, -1, 80, -50);
    std::vector<float> out(2 * 512);
    library->Mix(out.data(), 512);
  }
  library->SampleFree(sample);
  return 0;
}
