#include "audio/AudioDecoders.h"

#include <gtest/gtest.h>

#include <string>

#include "AudioTestData.h"
#include "core/Diagnostics.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

void PutU32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool Decode(const std::string& bytes) {
  TDecodedAudio out;
  return DecodeAudio(bytes.data(), bytes.size(), 44100, out);
}

TEST(WavLayout, DeclaredSizesAreCheckedAgainstTheInputBeforeDecoding) {
  // 44 bytes: header, "fmt " chunk, and a "data" chunk that claims 4 GB.
  std::string wav = test::MakeWav(0, 0);
  ASSERT_EQ(wav.size(), 44u);
  PutU32(wav, 40, 0xFFFFFFFFu);
  TDiagnosticsCollector diagnostics;
  EXPECT_EQ(CheckWavLayout(wav.data(), wav.size()),
            "the \"data\" chunk declares 4294967295 bytes but only 0 follow");
  EXPECT_FALSE(Decode(wav));
  EXPECT_TRUE(diagnostics.Has("declares 4294967295 bytes"));

  // A "fmt " chunk longer than the file.
  std::string fmt = test::MakeWav(10, 100);
  PutU32(fmt, 16, 1000);
  EXPECT_EQ(CheckWavLayout(fmt.data(), fmt.size()),
            "the \"fmt \" chunk declares 1000 bytes but only 44 follow");
  // Too short a format, data before the format, no data at all.
  std::string shortFmt = test::MakeWav(10, 100);
  PutU32(shortFmt, 16, 14);
  EXPECT_EQ(CheckWavLayout(shortFmt.data(), shortFmt.size()), "the \"fmt \" chunk is too short");
  const std::string good = test::MakeWav(10, 100);
  const std::string dataFirst = good.substr(0, 12) + good.substr(36) + good.substr(12, 24);
  EXPECT_EQ(CheckWavLayout(dataFirst.data(), dataFirst.size()),
            "the \"data\" chunk comes before the \"fmt \" chunk");
  const std::string noData = good.substr(0, 36);
  EXPECT_EQ(CheckWavLayout(noData.data(), noData.size()), "no \"data\" chunk");
  EXPECT_EQ(CheckWavLayout("RIFF\0\0\0\0WAVX", 12), "not a RIFF WAVE file");
}

TEST(WavLayout, SoundFilesPassAndOddChunksArePadded) {
  TDiagnosticsCollector diagnostics;
  const std::string good = test::MakeWav(100, 1000);
  EXPECT_EQ(CheckWavLayout(good.data(), good.size()), "");
  EXPECT_TRUE(Decode(good));
  // A 3-byte "LIST" chunk with its pad byte between the format and the data.
  const std::string padded = good.substr(0, 36) + std::string("LIST\x03\0\0\0abc\0", 12) + good.substr(36);
  EXPECT_EQ(CheckWavLayout(padded.data(), padded.size()), "");
  TDecodedAudio out;
  ASSERT_TRUE(DecodeAudio(padded.data(), padded.size(), 44100, out));
  EXPECT_EQ(out.Frames(), 100u);
  EXPECT_TRUE(diagnostics.Errors().empty());
}

TEST(WavLayout, EveryTruncationIsRefusedAndReported) {
  const std::string good = test::MakeWav(50, 1000);
  TDiagnosticsCollector diagnostics;
  for (size_t size = 0; size < good.size(); ++size) {
    diagnostics.Clear();
    const std::string cut = good.substr(0, size);
    EXPECT_FALSE(Decode(cut)) << size;
    EXPECT_FALSE(diagnostics.Errors().empty()) << size;
  }
}

TEST(AudioRefusals, UnknownAndDamagedDataIsReported) {
  TDiagnosticsCollector diagnostics;
  EXPECT_FALSE(Decode("this is no sound at all"));
  EXPECT_TRUE(diagnostics.Has("neither WAV nor Ogg Vorbis"));
  diagnostics.Clear();
  EXPECT_FALSE(Decode(std::string("OggS") + std::string(60, 'x')));
  EXPECT_TRUE(diagnostics.Has("Ogg Vorbis refused"));
  diagnostics.Clear();
  EXPECT_FALSE(Decode("RIFF"));
  EXPECT_TRUE(diagnostics.Has("refused: 4 bytes"));
}

}  // namespace
}  // namespace qv
