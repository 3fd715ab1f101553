// Decoding of sample files (WAV through SDL, Ogg Vorbis through
// libvorbisfile) into 16-bit PCM at the mixer's rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct TDecodedAudio {
  std::vector<int16_t> pcm;  // interleaved
  int channels = 0;          // 1 or 2
  size_t Frames() const { return channels ? pcm.size() / static_cast<size_t>(channels) : 0; }
};

// Longest sample accepted, in frames (20 minutes at 44100 Hz).
inline constexpr size_t kMaxSampleFrames = size_t{44100} * 60 * 20;

// Why a WAV file's layout is refused before decoding (empty: it is sound):
// a chunk that declares more bytes than follow it, no "fmt " chunk (or one
// shorter than 16 bytes) before the "data" chunk.
std::string CheckWavLayout(const void* data, size_t size);

// Decodes a WAV or Ogg Vorbis file held in memory and converts it to `rate`.
// False for unknown, damaged or absurdly long data, which is reported as a
// data error.
bool DecodeAudio(const void* data, size_t size, uint32_t rate, TDecodedAudio& out);

}  // namespace qv
