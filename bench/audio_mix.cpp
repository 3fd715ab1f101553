// The audio mixer's cost per device buffer (1024 frames at 44100 Hz, about
// 23 ms of sound): sample channels with volume slides, and tracker music.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "audio/AudioLibrary.h"

namespace {

std::string Wav(int frames) {
  std::string w = "RIFF";
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) w += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto u16 = [&](uint16_t v) {
    w += static_cast<char>(v & 0xFF);
    w += static_cast<char>(v >> 8);
  };
  u32(36 + 4 * static_cast<uint32_t>(frames));
  w += "WAVEfmt ";
  u32(16);
  u16(1);
  u16(2);
  u32(44100);
  u32(44100 * 4);
  u16(4);
  u16(16);
  w += "data";
  u32(4 * static_cast<uint32_t>(frames));
  for (int i = 0; i < frames; ++i) {
    const auto v = static_cast<uint16_t>(static_cast<int16_t>(8000 * std::sin(i * 0.05)));
    u16(v);
    u16(v);
  }
  return w;
}

std::string Module() {
  std::string m(1084, '\0');
  m[20 + 23] = 32;
  m[20 + 25] = 64;
  m[20 + 29] = 32;
  m[950] = 1;
  m[951] = 127;
  m.replace(1080, 4, "M.K.");
  std::string pattern(1024, '\0');
  for (int ch = 0; ch < 4; ++ch) {
    pattern[4 * ch] = 0x01;
    pattern[4 * ch + 1] = static_cast<char>(0xAC);
    pattern[4 * ch + 2] = 0x10;
  }
  m += pattern;
  for (int i = 0; i < 64; ++i) m += static_cast<char>(i < 32 ? 100 : -100);
  return m;
}

void BM_MixSampleChannels(benchmark::State& state) {
  qv::TAudioLibrary lib;
  lib.Init(0, 44100, 0);
  const std::string wav = Wav(44100);
  const uint32_t sample =
      lib.SampleLoad(wav.data(), 0, static_cast<uint32_t>(wav.size()), 64, qv::TAudioLibrary::kFlagLoop);
  for (int i = 0; i < state.range(0); ++i) {
    const uint32_t c = lib.SampleGetChannel(sample, false);
    lib.ChannelSetAttributes(c, -1, 50, (i * 37) % 200 - 100);
    lib.ChannelSlideAttributes(c, -1, 100, -101, 60000);
    lib.ChannelPlay(c, true);
  }
  std::vector<float> out(2 * 1024);
  for (auto _ : state) {
    lib.Mix(out.data(), 1024);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_MixSampleChannels)->Arg(1)->Arg(8)->Arg(32);

void BM_MixTrackerMusic(benchmark::State& state) {
  qv::TAudioLibrary lib;
  lib.Init(0, 44100, 0);
  const std::string mod = Module();
  const uint32_t music = lib.MusicLoad(mod.data(), 0, static_cast<uint32_t>(mod.size()), 0x204, 0);
  lib.ChannelPlay(music, true);
  std::vector<float> out(2 * 1024);
  for (auto _ : state) {
    lib.Mix(out.data(), 1024);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_MixTrackerMusic);

}  // namespace

BENCHMARK_MAIN();
