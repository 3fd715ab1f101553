#include "audio/AudioLibrary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "AudioTestData.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

constexpr uint32_t kRate = 44100;

// A library without output device, mixed by the test.
class AudioLibraryTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(lib.Init(0, kRate, 0)); }

  uint32_t LoadWav(int frames, int16_t level, uint32_t max = 1, uint32_t flags = 0) {
    const std::string wav = test::MakeWav(frames, level);
    return lib.SampleLoad(wav.data(), 0, static_cast<uint32_t>(wav.size()), max, flags);
  }
  // Mixes `ms` milliseconds and returns the left channel's last value.
  float MixMs(int ms, float* right = nullptr) {
    const int frames = static_cast<int>(kRate) * ms / 1000;
    buffer.assign(2 * static_cast<size_t>(frames), 0.0f);
    lib.Mix(buffer.data(), frames);
    if (right) *right = buffer[buffer.size() - 1];
    return buffer[buffer.size() - 2];
  }
  float Peak() const {
    float p = 0;
    for (float v : buffer) p = std::max(p, std::fabs(v));
    return p;
  }

  TAudioLibrary lib;
  std::vector<float> buffer;
};

TEST_F(AudioLibraryTest, SampleChannelsAreLimitedToTheMaximumPlaybacks) {
  const uint32_t sample = LoadWav(kRate, 8192, 2, TAudioLibrary::kFlagLoop);
  ASSERT_NE(sample, 0u);
  const uint32_t a = lib.SampleGetChannel(sample, false);
  ASSERT_TRUE(lib.ChannelPlay(a, true));
  const uint32_t b = lib.SampleGetChannel(sample, false);
  ASSERT_TRUE(lib.ChannelPlay(b, true));
  EXPECT_NE(a, b);
  // Both slots sound: a third request takes over the oldest playback.
  EXPECT_EQ(lib.SampleGetChannel(sample, true), 0u);
  EXPECT_EQ(lib.SampleGetChannel(sample, false), a);
  EXPECT_NEAR(MixMs(10), 2 * 0.25f, 1e-3);
  // A stopped slot is reused before a playing one.
  lib.ChannelStop(b);
  EXPECT_EQ(lib.SampleGetChannel(sample, true), b);
  EXPECT_NEAR(MixMs(10), 0.25f, 1e-3);
  // Stopping the sample stops every channel of it.
  lib.ChannelPlay(b, true);
  EXPECT_TRUE(lib.SampleStop(sample));
  EXPECT_EQ(lib.ChannelIsActive(a), TAudioLibrary::kStopped);
  EXPECT_EQ(lib.ChannelIsActive(b), TAudioLibrary::kStopped);
  MixMs(10);
  EXPECT_EQ(Peak(), 0.0f);
}

TEST_F(AudioLibraryTest, ASlideToMinusTwoFadesOutAndStops) {
  const uint32_t sample = LoadWav(kRate, 16384, 1, TAudioLibrary::kFlagLoop);
  const uint32_t channel = lib.SampleGetChannel(sample, false);
  lib.ChannelPlay(channel, true);
  ASSERT_TRUE(
      lib.ChannelSlideAttributes(channel, -1, TAudioLibrary::kFadeOutAndStop, TAudioLibrary::kKeepPan, 100));
  EXPECT_NEAR(MixMs(50), 0.25f, 0.01f);  // halfway through the fade
  EXPECT_EQ(lib.ChannelIsActive(channel), TAudioLibrary::kPlaying);
  MixMs(60);
  EXPECT_EQ(lib.ChannelIsActive(channel), TAudioLibrary::kStopped);
  MixMs(20);
  EXPECT_EQ(Peak(), 0.0f);
}

TEST_F(AudioLibraryTest, SlidesReachTheirTargetAndSetAttributesAreImmediate) {
  const uint32_t sample = LoadWav(kRate, 16384, 1, TAudioLibrary::kFlagLoop);
  const uint32_t channel = lib.SampleGetChannel(sample, false);
  lib.ChannelSetAttributes(channel, -1, 0, TAudioLibrary::kKeepPan);
  lib.ChannelPlay(channel, true);
  lib.ChannelSlideAttributes(channel, -1, 80, TAudioLibrary::kKeepPan, 200);
  MixMs(100);
  int volume = 0, pan = 0;
  ASSERT_TRUE(lib.ChannelGetAttributes(channel, &volume, &pan));
  EXPECT_NEAR(volume, 40, 1);
  MixMs(150);
  lib.ChannelGetAttributes(channel, &volume, &pan);
  EXPECT_EQ(volume, 80);
  // Full left pan silences the right side; values out of range are clamped.
  lib.ChannelSetAttributes(channel, -1, 100, -300);
  float right = 1;
  EXPECT_NEAR(MixMs(10, &right), 0.5f, 1e-3);
  EXPECT_EQ(right, 0.0f);
}

TEST_F(AudioLibraryTest, PausedOutputIsSilentAndKeepsItsPlace) {
  const uint32_t sample = LoadWav(kRate / 10, 16384);  // 100 ms, not looping
  const uint32_t channel = lib.SampleGetChannel(sample, false);
  lib.ChannelPlay(channel, true);
  MixMs(60);
  ASSERT_TRUE(lib.Pause());
  MixMs(200);
  EXPECT_EQ(Peak(), 0.0f);
  EXPECT_EQ(lib.ChannelIsActive(channel), TAudioLibrary::kPlaying);
  ASSERT_TRUE(lib.Start());
  MixMs(30);
  EXPECT_GT(Peak(), 0.4f);
  MixMs(30);  // the rest of the sample ends
  EXPECT_EQ(lib.ChannelIsActive(channel), TAudioLibrary::kStopped);
  // A paused channel resumes where it was, a restart begins again.
  lib.ChannelPlay(channel, true);
  MixMs(50);
  EXPECT_TRUE(lib.ChannelPause(channel));
  EXPECT_EQ(lib.ChannelIsActive(channel), TAudioLibrary::kPaused);
  MixMs(100);
  EXPECT_EQ(Peak(), 0.0f);
  lib.ChannelPlay(channel, false);
  MixMs(40);
  EXPECT_EQ(lib.ChannelIsActive(channel), TAudioLibrary::kPlaying);
  MixMs(20);
  EXPECT_EQ(lib.ChannelIsActive(channel), TAudioLibrary::kStopped);
}

TEST_F(AudioLibraryTest, DecodesOggVorbisAndTrackerModules) {
  const std::string ogg = test::ReadFile((test::EngineFixtures() / "tone.ogg").string());
  ASSERT_FALSE(ogg.empty());
  const uint32_t sample = lib.SampleLoad(ogg.data(), 0, static_cast<uint32_t>(ogg.size()), 1, 0);
  ASSERT_NE(sample, 0u);
  const uint32_t channel = lib.SampleGetChannel(sample, false);
  lib.ChannelPlay(channel, true);
  MixMs(100);
  EXPECT_GT(Peak(), 0.3f);
  lib.ChannelStop(channel);

  const std::string mod = test::MakeModule();
  const uint32_t music = lib.MusicLoad(mod.data(), 0, static_cast<uint32_t>(mod.size()),
                                       TAudioLibrary::kFlagLoop | TAudioLibrary::kFlagRamp, 0);
  ASSERT_NE(music, 0u);
  EXPECT_EQ(lib.SampleGetChannel(music, false), 0u);  // a module is no sample
  lib.ChannelPlay(music, true);
  MixMs(200);
  EXPECT_GT(Peak(), 0.01f);
  EXPECT_TRUE(lib.MusicFree(music));
  EXPECT_EQ(lib.ChannelIsActive(music), TAudioLibrary::kStopped);
}

TEST_F(AudioLibraryTest, BadDataAndUnknownHandlesFailCleanly) {
  const std::string junk = "RIFF\x10\0\0\0WAVEjunkjunkjunk";
  EXPECT_EQ(lib.SampleLoad(junk.data(), 0, static_cast<uint32_t>(junk.size()), 1, 0), 0u);
  const std::string text = "this is no sound at all, just text";
  EXPECT_EQ(lib.SampleLoad(text.data(), 0, static_cast<uint32_t>(text.size()), 1, 0), 0u);
  EXPECT_EQ(lib.MusicLoad(text.data(), 0, static_cast<uint32_t>(text.size()), 0, 0), 0u);
  std::string ogg = test::ReadFile((test::EngineFixtures() / "tone.ogg").string());
  ogg.resize(ogg.size() / 3);  // truncated mid-stream: what decodes is kept, or nothing
  (void)lib.SampleLoad(ogg.data(), 0, static_cast<uint32_t>(ogg.size()), 1, 0);
  EXPECT_EQ(lib.SampleLoad(nullptr, 0, 10, 1, 0), 0u);
  EXPECT_FALSE(lib.ChannelPlay(12345, true));
  EXPECT_FALSE(lib.ChannelSlideAttributes(12345, -1, 0, -101, 10));
  EXPECT_EQ(lib.ChannelIsActive(12345), TAudioLibrary::kStopped);
  EXPECT_FALSE(lib.SampleFree(12345));
  // A freed sample's channels are gone, and its handle is not reused.
  const uint32_t sample = LoadWav(100, 1000);
  const uint32_t channel = lib.SampleGetChannel(sample, false);
  EXPECT_TRUE(lib.SampleFree(sample));
  EXPECT_FALSE(lib.ChannelPlay(channel, true));
  EXPECT_NE(LoadWav(100, 1000), sample);
}

TEST(AudioLibraryUninitialised, DoesNothing) {
  TAudioLibrary lib;
  const std::string wav = test::MakeWav(100, 1000);
  EXPECT_EQ(lib.SampleLoad(wav.data(), 0, static_cast<uint32_t>(wav.size()), 1, 0), 0u);
  EXPECT_FALSE(lib.Start());
  std::vector<float> out(64, 1.0f);
  lib.Mix(out.data(), 32);
  for (float v : out) EXPECT_EQ(v, 0.0f);
}

// SDL's "disk" audio driver writes the device's output to a file: a played
// sound must land there.
TEST(AudioDevice, APlayedSoundReachesTheDiskDriversFile) {
  test::TempDir dir;
  const std::string file = dir.File("out.raw");
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "0", 1);
  {
    TAudioLibrary lib;
    const bool up = lib.Init(1, kRate, 0);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(up);
    const std::string wav = test::MakeWav(kRate / 2, 12000);
    const uint32_t sample = lib.SampleLoad(wav.data(), 0, static_cast<uint32_t>(wav.size()), 1, 0);
    const uint32_t channel = lib.SampleGetChannel(sample, false);
    ASSERT_TRUE(lib.ChannelPlay(channel, true));
    // Wait (bounded) for the sound to be mixed out.
    for (int i = 0; i < 500 && lib.ChannelIsActive(channel) == TAudioLibrary::kPlaying; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    lib.Free();
  }
  const std::string raw = test::ReadFile(file);
  ASSERT_GT(raw.size(), 1000u);
  bool loud = false;
  for (size_t i = 0; i + 4 <= raw.size() && !loud; i += 4) {
    float v;
    std::memcpy(&v, raw.data() + i, 4);
    loud = std::fabs(v) > 0.2f;
  }
  EXPECT_TRUE(loud);
}

}  // namespace
}  // namespace qv
