#include "audio/AudioDecoders.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <cstring>
#include <string>

#include "core/Diagnostics.h"

namespace qv {

namespace {

// Converts interleaved PCM of any SDL format to 16-bit at `rate`, keeping
// mono as mono and folding more than two channels down to stereo.
bool Convert(const void* data, size_t bytes, SDL_AudioFormat format, int channels, int srcRate, uint32_t rate,
             TDecodedAudio& out) {
  if (channels <= 0 || srcRate <= 0 || bytes == 0) return false;
  const int outChannels = channels == 1 ? 1 : 2;
  SDL_AudioStream* stream = SDL_NewAudioStream(format, static_cast<Uint8>(channels), srcRate, AUDIO_S16SYS,
                                               static_cast<Uint8>(outChannels), static_cast<int>(rate));
  if (!stream) return false;
  bool ok =
      SDL_AudioStreamPut(stream, data, static_cast<int>(bytes)) == 0 && SDL_AudioStreamFlush(stream) == 0;
  const int available = ok ? SDL_AudioStreamAvailable(stream) : 0;
  if (ok && available > 0 &&
      static_cast<size_t>(available) / (sizeof(int16_t) * static_cast<size_t>(outChannels)) <=
          kMaxSampleFrames) {
    out.pcm.resize(static_cast<size_t>(available) / sizeof(int16_t));
    const int got = SDL_AudioStreamGet(stream, out.pcm.data(), available);
    ok = got > 0;
    if (ok) out.pcm.resize(static_cast<size_t>(got) / sizeof(int16_t));
  } else {
    if (ok && available > 0) ReportDataError("audio data", "refused: longer than 20 minutes");
    ok = false;
  }
  SDL_FreeAudioStream(stream);
  out.channels = outChannels;
  return ok && !out.pcm.empty();
}

uint32_t ReadU32(const unsigned char* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

std::string CheckWavLayout(const void* data, size_t size) {
  const auto* b = static_cast<const unsigned char*>(data);
  if (size < 12 || std::memcmp(b, "RIFF", 4) != 0 || std::memcmp(b + 8, "WAVE", 4) != 0)
    return "not a RIFF WAVE file";
  bool format = false;
  size_t pos = 12;
  while (pos + 8 <= size) {
    const uint32_t declared = ReadU32(b + pos + 4);
    const size_t left = size - pos - 8;
    const std::string id(reinterpret_cast<const char*>(b + pos), 4);
    if (declared > left)
      return "the \"" + id + "\" chunk declares " + std::to_string(declared) + " bytes but only " +
             std::to_string(left) + " follow";
    if (id == "fmt ") {
      if (declared < 16) return "the \"fmt \" chunk is too short";
      format = true;
    } else if (id == "data") {
      if (!format) return "the \"data\" chunk comes before the \"fmt \" chunk";
      return {};
    }
    pos += 8 + declared + (declared & 1);  // chunks are padded to even sizes
  }
  return format ? "no \"data\" chunk" : "no \"fmt \" chunk";
}

namespace {

bool DecodeWav(const void* data, size_t size, uint32_t rate, TDecodedAudio& out) {
  // SDL trusts the declared sizes and would allocate what they claim.
  if (const std::string fault = CheckWavLayout(data, size); !fault.empty()) {
    ReportDataError("audio data", "WAV refused: " + fault);
    return false;
  }
  SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
  if (!rw) return false;
  SDL_AudioSpec spec;
  Uint8* buffer = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(rw, 1, &spec, &buffer, &length)) {
    ReportDataError("audio data", std::string("WAV refused: ") + SDL_GetError());
    return false;
  }
  const bool ok = Convert(buffer, length, spec.format, spec.channels, spec.freq, rate, out);
  SDL_FreeWAV(buffer);
  return ok;
}

struct TMemoryReader {
  const unsigned char* data;
  size_t size;
  size_t pos;
};

size_t ReadMemory(void* ptr, size_t size, size_t count, void* source) {
  auto* r = static_cast<TMemoryReader*>(source);
  if (size == 0) return 0;
  const size_t n = std::min(count, (r->size - r->pos) / size);
  std::memcpy(ptr, r->data + r->pos, n * size);
  r->pos += n * size;
  return n;
}

int SeekMemory(void* source, ogg_int64_t offset, int whence) {
  auto* r = static_cast<TMemoryReader*>(source);
  ogg_int64_t base = whence == SEEK_SET   ? 0
                     : whence == SEEK_CUR ? static_cast<ogg_int64_t>(r->pos)
                                          : static_cast<ogg_int64_t>(r->size);
  const ogg_int64_t target = base + offset;
  if (target < 0 || target > static_cast<ogg_int64_t>(r->size)) return -1;
  r->pos = static_cast<size_t>(target);
  return 0;
}

long TellMemory(void* source) {
  return static_cast<long>(static_cast<TMemoryReader*>(source)->pos);
}

bool DecodeOgg(const void* data, size_t size, uint32_t rate, TDecodedAudio& out) {
  TMemoryReader reader{static_cast<const unsigned char*>(data), size, 0};
  ov_callbacks callbacks{ReadMemory, SeekMemory, nullptr, TellMemory};
  OggVorbis_File file;
  if (ov_open_callbacks(&reader, &file, nullptr, 0, callbacks) != 0) {
    ReportDataError("audio data", "Ogg Vorbis refused: no Vorbis stream");
    return false;
  }
  const vorbis_info* info = ov_info(&file, -1);
  bool ok = info && info->channels > 0 && info->rate > 0;
  const int channels = ok ? info->channels : 0;
  const int srcRate = ok ? static_cast<int>(info->rate) : 0;
  std::vector<char> pcm;
  const size_t maxBytes = kMaxSampleFrames * static_cast<size_t>(std::max(channels, 1)) * 2 * 4;
  char buffer[8192];
  int section = 0;
  while (ok) {
    const long n =
        ov_read(&file, buffer, sizeof buffer, SDL_BYTEORDER == SDL_BIG_ENDIAN ? 1 : 0, 2, 1, &section);
    if (n == 0) break;
    if (n < 0) {
      // A damaged page: skip it when something was decoded already.
      if (n == OV_HOLE) continue;
      ok = !pcm.empty();
      break;
    }
    // Chained streams with a different layout are not supported.
    const vorbis_info* now = ov_info(&file, -1);
    if (!now || now->channels != channels || now->rate != srcRate) break;
    pcm.insert(pcm.end(), buffer, buffer + n);
    if (pcm.size() > maxBytes) {
      ReportDataError("audio data", "Ogg Vorbis refused: longer than 20 minutes");
      ok = false;
    }
  }
  ov_clear(&file);
  return ok && Convert(pcm.data(), pcm.size(), AUDIO_S16SYS, channels, srcRate, rate, out);
}

}  // namespace

bool DecodeAudio(const void* data, size_t size, uint32_t rate, TDecodedAudio& out) {
  out = {};
  if (!data || size < 12 || size > 0x7FFFFFFF) {
    ReportDataError("audio data", "refused: " + std::to_string(size) + " bytes");
    return false;
  }
  const auto* b = static_cast<const char*>(data);
  if (std::memcmp(b, "RIFF", 4) == 0 && std::memcmp(b + 8, "WAVE", 4) == 0)
    return DecodeWav(data, size, rate, out);
  if (std::memcmp(b, "OggS", 4) == 0) return DecodeOgg(data, size, rate, out);
  ReportDataError("audio data", "refused: neither WAV nor Ogg Vorbis");
  return false;
}

}  // namespace qv
