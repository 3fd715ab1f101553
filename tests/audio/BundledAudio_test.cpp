// The bundled sounds and music decoded by the game's own decoders: the
// formats the mixer expects, levels below full scale, quiet ends, and music
// loops of a whole number of beats whose end joins their start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "audio/AudioDecoders.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

fs::path ContentData() {
  const char* source = std::getenv("QV_SOURCE_DIR");
  const fs::path root =
      source ? fs::path(source) : fs::path(__FILE__).parent_path().parent_path().parent_path();
  return root / "content" / "data";
}

int Peak(const TDecodedAudio& a) {
  int peak = 0;
  for (int16_t s : a.pcm) peak = std::max(peak, std::abs(static_cast<int>(s)));
  return peak;
}

TEST(BundledAudioTest, SoundsDecodeAsMonoBelowFullScaleWithQuietEnds) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(ContentData() / "snd")) {
    if (entry.path().extension() != ".wav") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string bytes = test::ReadFile(entry.path().string());
    EXPECT_EQ(CheckWavLayout(bytes.data(), bytes.size()), "");
    TDecodedAudio a;
    ASSERT_TRUE(DecodeAudio(bytes.data(), bytes.size(), 44100, a));
    EXPECT_EQ(a.channels, 1);
    // 16-bit at 44.1 kHz: the frames are the file's own (no conversion).
    EXPECT_EQ(a.Frames(), (bytes.size() - 44) / 2);
    EXPECT_GT(a.Frames(), 2000u);
    const int peak = Peak(a);
    EXPECT_LT(peak, 32000) << "peaks stay below 0 dBFS";
    EXPECT_GT(peak, 8000) << "and are not inaudibly quiet";
    EXPECT_LT(std::abs(a.pcm.front()), 300) << "no click at the start";
    EXPECT_LT(std::abs(a.pcm.back()), 300) << "no click at the end";
    ++count;
  }
  EXPECT_EQ(count, 44) << "the shell's 15 sounds and the board's 29";
}

TEST(BundledAudioTest, MusicLoopsAreWholeBeatsAndJoinWithoutAJump) {
  for (const char* name : {"menu.ogg", "game.ogg"}) {
    SCOPED_TRACE(name);
    const std::string bytes = test::ReadFile((ContentData() / "music" / name).string());
    TDecodedAudio a;
    ASSERT_TRUE(DecodeAudio(bytes.data(), bytes.size(), 44100, a));
    ASSERT_EQ(a.channels, 2);
    // 48 s: 64 beats at 80 BPM or 96 beats at 120 BPM, to the sample.
    EXPECT_EQ(a.Frames(), 2116800u);
    EXPECT_LT(Peak(a), 32000);
    // No click where the end meets the start: the step from the last
    // frame to the first is no larger than the steps the music itself
    // takes just before it. (That the loop is sample-exact is proven by
    // its generator on the PCM before encoding; a splice inside busy music
    // can pass this test.)
    const size_t n = a.Frames();
    for (int ch = 0; ch < 2; ++ch) {
      auto at = [&](size_t frame) { return static_cast<int>(a.pcm[frame * 2 + static_cast<size_t>(ch)]); };
      int near = 0;
      for (size_t f = n - 2048; f + 1 < n; ++f) near = std::max(near, std::abs(at(f + 1) - at(f)));
      EXPECT_GT(near, 0) << "the loop does not end in silence";
      EXPECT_LE(std::abs(at(0) - at(n - 1)), near) << "channel " << ch;
    }
  }
}

}  // namespace
}  // namespace qv
