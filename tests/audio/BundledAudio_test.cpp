// The bundled sounds and music decoded by the game's own decoders: the
// formats the mixer expects, levels below full scale, quiet ends, and music
// loops of a whole number of beats whose end joins their start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>

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
  EXPECT_EQ(count, 49) << "the shell's 15 sounds, the board's 29 and the game screens' 5";
}

// Every bundled loop with its tempo and length in beats.
struct TLoop {
  const char* name;
  int bpm;
  int beats;
};
constexpr TLoop kLoops[] = {
    {"menu.ogg", 80, 64},           // 16 bars of 4/4, 48 s
    {"game.ogg", 120, 96},          // 24 bars of 4/4, 48 s
    {"background0.ogg", 72, 96},    // 32 bars of 3/4, 80 s
    {"background1.ogg", 150, 160},  // 40 bars of 4/4, 64 s
    {"background2.ogg", 84, 112},   // 28 bars of 4/4, 80 s
};

TEST(BundledAudioTest, EveryMusicFileIsAKnownLoop) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(ContentData() / "music")) {
    const std::string name = entry.path().filename().string();
    const bool known =
        std::any_of(std::begin(kLoops), std::end(kLoops), [&](const TLoop& l) { return name == l.name; });
    EXPECT_TRUE(known) << name << " is not listed with its tempo";
    ++count;
  }
  EXPECT_EQ(count, static_cast<int>(std::size(kLoops)));
}

TEST(BundledAudioTest, MusicLoopsAreWholeBeatsAndJoinWithoutAJump) {
  for (const TLoop& loop : kLoops) {
    const char* name = loop.name;
    SCOPED_TRACE(name);
    const std::string bytes = test::ReadFile((ContentData() / "music" / name).string());
    TDecodedAudio a;
    ASSERT_TRUE(DecodeAudio(bytes.data(), bytes.size(), 44100, a));
    ASSERT_EQ(a.channels, 2);
    // A whole number of beats, to the sample.
    EXPECT_EQ(a.Frames(), static_cast<size_t>(loop.beats) * 44100u * 60u / static_cast<size_t>(loop.bpm));
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
