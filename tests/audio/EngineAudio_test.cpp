#include "audio/EngineAudio.h"

#include <gtest/gtest.h>

#include <map>

#include "AudioTestData.h"
#include "audio/Music.h"
#include "audio/Sound.h"
#include "core/Diagnostics.h"

namespace qv {
namespace {

// Resources backed by handles of the library under test.
class TFakeResources : public IAudioResources {
public:
  struct Entry {
    uint32_t handle = 0;
    int formatOrVolume = 0;
  };
  bool FindMusic(const std::string& name, bool, uint32_t& handle, int& format) override {
    auto it = musics.find(name);
    if (it == musics.end()) return false;
    handle = it->second.handle;
    format = it->second.formatOrVolume;
    return true;
  }
  bool FindSound(const std::string& name, bool, uint32_t& sample, int& volume) override {
    auto it = sounds.find(name);
    if (it == sounds.end()) return false;
    sample = it->second.handle;
    volume = it->second.formatOrVolume;
    return true;
  }
  std::vector<uint32_t> SoundSamples() override {
    std::vector<uint32_t> out;
    for (auto& [name, e] : sounds) out.push_back(e.handle);
    return out;
  }
  std::map<std::string, Entry> musics, sounds;
};

class EngineAudioTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(audio.Init(0));
    AddOggLikeMusic("first", 8000);
    AddOggLikeMusic("second", 8000);
    const std::string mod = test::MakeModule();
    resources.musics["module"] = {
        audio.Library().MusicLoad(mod.data(), 0, static_cast<uint32_t>(mod.size()), 0x204, 0),
        IAudioResources::kFormatModule};
  }
  void AddOggLikeMusic(const std::string& name, int16_t level) {
    const std::string wav = test::MakeWav(44100, level);
    const uint32_t sample = audio.Library().SampleLoad(wav.data(), 0, static_cast<uint32_t>(wav.size()), 1,
                                                       TAudioLibrary::kFlagLoop);
    resources.musics[name] = {audio.Library().SampleGetChannel(sample, false), IAudioResources::kFormatOgg};
  }
  uint32_t AddSound(const std::string& name, int frames, int volume, uint32_t max = 1) {
    const std::string wav = test::MakeWav(frames, 16000);
    const uint32_t sample =
        audio.Library().SampleLoad(wav.data(), 0, static_cast<uint32_t>(wav.size()), max, 0);
    resources.sounds[name] = {sample, volume};
    return sample;
  }
  Ref<TMusic> Music(const std::string& resource) {
    auto m = MakeRef<TMusic>();
    m->SetResourceName(resource);
    return m;
  }
  Ref<TSound> Sound(const std::string& resource, int volume = -1, bool mute = false) {
    auto s = MakeRef<TSound>();
    s->SetResourceName(resource);
    s->SetVolume(volume);
    s->SetMuteMusic(mute);
    return s;
  }
  void MixMs(int ms) {
    std::vector<float> buffer(2 * 441 * static_cast<size_t>(ms) / 10);
    audio.Library().Mix(buffer.data(), static_cast<int>(buffer.size() / 2));
  }
  int Volume(uint32_t channel) {
    int v = -1;
    audio.Library().ChannelGetAttributes(channel, &v, nullptr);
    return v;
  }
  int Active(uint32_t channel) { return audio.Library().ChannelIsActive(channel); }
  uint32_t Handle(const std::string& music) { return resources.musics[music].handle; }

  TFakeResources resources;
  TEngineAudio audio{resources};
};

TEST_F(EngineAudioTest, ANewMusicCrossFadesOverTheCurrentOneAndStoppingItBringsTheFirstBack) {
  const auto first = Music("first"), second = Music("second");
  EXPECT_EQ(audio.PlayMusic(first.get()), Handle("first"));
  MixMs(2100);
  EXPECT_EQ(Volume(Handle("first")), 30);
  audio.PlayMusic(second.get());
  MixMs(1000);
  // Halfway: both sound, one going down and one coming up.
  EXPECT_EQ(Active(Handle("first")), TAudioLibrary::kPlaying);
  EXPECT_EQ(Active(Handle("second")), TAudioLibrary::kPlaying);
  EXPECT_NEAR(Volume(Handle("first")), 15, 1);
  EXPECT_NEAR(Volume(Handle("second")), 15, 1);
  MixMs(1050);
  EXPECT_EQ(Active(Handle("first")), TAudioLibrary::kStopped);
  EXPECT_EQ(Volume(Handle("second")), 30);
  EXPECT_EQ(audio.MusicStack(), (std::vector<uint32_t>{Handle("first"), Handle("second")}));

  audio.StopMusic(second.get());
  EXPECT_EQ(audio.MusicStack(), std::vector<uint32_t>{Handle("first")});
  EXPECT_EQ(Active(Handle("first")), TAudioLibrary::kPlaying);
  EXPECT_EQ(Volume(Handle("first")), 0);
  MixMs(2100);
  EXPECT_EQ(Volume(Handle("first")), 30);
  EXPECT_EQ(Active(Handle("second")), TAudioLibrary::kStopped);
}

TEST_F(EngineAudioTest, PlayingTheCurrentMusicAgainStacksItTwice) {
  const auto module = Music("module"), first = Music("first");
  audio.PlayMusic(module.get());
  MixMs(500);
  audio.PlayMusic(module.get());
  EXPECT_EQ(audio.MusicStack().size(), 2u);
  EXPECT_EQ(Volume(Handle("module")), 0);  // restarted with a fresh fade-in
  MixMs(2100);
  EXPECT_EQ(Active(Handle("module")), TAudioLibrary::kPlaying);
  EXPECT_EQ(Volume(Handle("module")), 30);
  // Stopping a music that is not on top changes nothing.
  audio.StopMusic(first.get());
  EXPECT_EQ(audio.MusicStack().size(), 2u);
  // One stop removes the upper entry and fades the same music back in.
  audio.StopMusic(module.get());
  EXPECT_EQ(audio.MusicStack().size(), 1u);
  MixMs(2100);
  EXPECT_EQ(Active(Handle("module")), TAudioLibrary::kPlaying);
  EXPECT_EQ(Volume(Handle("module")), 30);
}

TEST_F(EngineAudioTest, AMutingSoundFadesTheMusicOutUntilItEnds) {
  AddSound("bang", 44100 / 5, 100);  // 200 ms
  const auto first = Music("first");
  audio.PlayMusic(first.get());
  MixMs(2100);
  const auto bang = Sound("bang", -1, true);
  const uint32_t channel = audio.PlaySound(bang.get());
  ASSERT_NE(channel, 0u);
  EXPECT_EQ(audio.MutingSounds(), std::vector<uint32_t>{channel});
  MixMs(110);
  EXPECT_EQ(Volume(Handle("first")), 0);
  audio.Housekeeping();  // still sounding: stays muted
  MixMs(150);
  EXPECT_EQ(Active(channel), TAudioLibrary::kStopped);
  audio.Housekeeping();
  EXPECT_TRUE(audio.MutingSounds().empty());
  MixMs(110);
  EXPECT_EQ(Volume(Handle("first")), 30);
}

TEST_F(EngineAudioTest, SoundVolumesFollowTheItemTheResourceAndTheOption) {
  AddSound("click", 44100, 80);
  const auto half = Sound("click", 50);
  uint32_t channel = audio.PlaySound(half.get());
  EXPECT_EQ(Volume(channel), 28);  // 50 x 80 div 100 = 40; 40 x 70 div 100 = 28
  const auto plain = Sound("click");
  channel = audio.PlaySound(plain.get());
  EXPECT_EQ(Volume(channel), 56);  // the resource's 80 at 70
  audio.SetSoundVolume("150");
  EXPECT_EQ(audio.SoundVolume(), 100);
  audio.SetSoundVolume("-5");
  EXPECT_EQ(audio.SoundVolume(), 0);
  audio.SetSoundVolume("loud");
  EXPECT_EQ(audio.SoundVolume(), 0);
  // The music volume is not clamped; a non-number keeps the old value.
  audio.SetMusicVolume("120");
  EXPECT_EQ(audio.MusicVolume(), 120);
  audio.SetMusicVolume("x");
  EXPECT_EQ(audio.MusicVolume(), 120);
  // A name without a sound resource plays nothing.
  const auto missing = Sound("nothing");
  EXPECT_EQ(audio.PlaySound(missing.get()), 0u);
  audio.StopAllSounds();
  EXPECT_EQ(Active(channel), TAudioLibrary::kStopped);
}

TEST(EngineAudioSilent, WithoutAudioEverythingIsANoOp) {
  TFakeResources resources;
  TEngineAudio audio(resources);
  resources.musics["m"] = {7, 0};
  resources.sounds["s"] = {8, 100};
  auto music = MakeRef<TMusic>();
  music->SetResourceName("m");
  auto sound = MakeRef<TSound>();
  sound->SetResourceName("s");
  EXPECT_EQ(audio.PlayMusic(music.get()), 0u);
  EXPECT_EQ(audio.PlaySound(sound.get()), 0u);
  audio.StopMusic(music.get());
  audio.StopAllSounds();
  audio.Housekeeping();
  audio.FocusChanged(false);
  EXPECT_TRUE(audio.MusicStack().empty());
  EXPECT_EQ(audio.LoadSample("anything.wav", 1, false), 0u);
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST_F(EngineAudioTest, MissingFilesAndBadVolumesAreReported) {
  TDiagnosticsCollector diagnostics;
  EXPECT_EQ(audio.LoadSample("snd\\nowhere.wav", 1, false), 0u);
  EXPECT_TRUE(diagnostics.Has("snd\\nowhere.wav"));
  EXPECT_TRUE(diagnostics.Has("missing or empty"));
  std::string memory;
  EXPECT_EQ(audio.LoadStream("snd\\nowhere.ogg", memory), 0u);
  EXPECT_EQ(audio.LoadMusicModule("snd\\nowhere.mo3"), 0u);
  EXPECT_EQ(diagnostics.Errors().size(), 3u);

  diagnostics.Clear();
  audio.SetMusicVolume("45");
  audio.SetSoundVolume("60");
  EXPECT_TRUE(diagnostics.Errors().empty());
  audio.SetMusicVolume("loud");
  EXPECT_EQ(audio.MusicVolume(), 45);
  EXPECT_TRUE(diagnostics.Has("option MusicVolume"));
  audio.SetSoundVolume("150");
  EXPECT_EQ(audio.SoundVolume(), 100);
  audio.SetSoundVolume("-5");
  EXPECT_EQ(audio.SoundVolume(), 0);
  audio.SetSoundVolume("");
  EXPECT_EQ(audio.SoundVolume(), 0);
  EXPECT_EQ(diagnostics.Errors().size(), 4u);
  EXPECT_TRUE(diagnostics.Has("\"150\" is outside 0..100; 100 is used"));
}

}  // namespace
}  // namespace qv
