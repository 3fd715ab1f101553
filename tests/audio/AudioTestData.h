// Small audio files built in memory for the audio tests.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace qv::test {

// A 16-bit mono WAV of `frames` frames, every sample `level`.
inline std::string MakeWav(int frames, int16_t level, int rate = 44100) {
  std::string w;
  auto u32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) w += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  auto u16 = [&](uint16_t v) {
    w += static_cast<char>(v & 0xFF);
    w += static_cast<char>(v >> 8);
  };
  const uint32_t data = static_cast<uint32_t>(frames) * 2;
  w += "RIFF";
  u32(36 + data);
  w += "WAVEfmt ";
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(static_cast<uint32_t>(rate));
  u32(static_cast<uint32_t>(rate) * 2);
  u16(2);
  u16(16);
  w += "data";
  u32(data);
  for (int i = 0; i < frames; ++i) u16(static_cast<uint16_t>(level));
  return w;
}

// A four-channel tracker module with one looping square-wave sample played
// on the first row.
inline std::string MakeModule() {
  std::string m(1084, '\0');
  m.replace(0, 4, "test");
  const int sampleWords = 32;
  char* s = m.data() + 20;  // sample 1
  s[22] = 0;
  s[23] = sampleWords;  // length in words, big-endian
  s[25] = 64;           // volume
  s[29] = sampleWords;  // repeat length
  m[950] = 1;           // song length
  m[951] = 127;
  m.replace(1080, 4, "M.K.");
  std::string pattern(1024, '\0');
  pattern[0] = 0x01;  // period 428, sample 1
  pattern[1] = static_cast<char>(0xAC);
  pattern[2] = 0x10;
  m += pattern;
  for (int i = 0; i < sampleWords * 2; ++i) m += static_cast<char>(i < sampleWords ? 100 : -100);
  return m;
}

// tests/fixtures/engine/ (the source folder comes from CTest: the
// compiler's file names are relative to the build folder).
inline std::filesystem::path EngineFixtures() {
  const char* source = std::getenv("QV_SOURCE_DIR");
  const std::filesystem::path tests = source ? std::filesystem::path(source) / "tests"
                                             : std::filesystem::path(__FILE__).parent_path().parent_path();
  return tests / "fixtures" / "engine";
}

}  // namespace qv::test
