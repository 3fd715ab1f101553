// The engine's audio: the device, loading of samples and modules for the
// resources, and playback of sound and music items - the music stack with
// its 2-second cross-fades, sounds that mute the music, and the volumes.
// Without a device everything here does nothing and the game runs silent.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "audio/AudioLibrary.h"

namespace qv {

class IMusic;
class ISound;

// What playback needs to know about the resources, by name.
class IAudioResources {
public:
  virtual ~IAudioResources() = default;
  // Music formats.
  static constexpr int kFormatModule = 0;  // "mo3"
  static constexpr int kFormatOgg = 1;     // "ogg"
  // The named music resource, loaded: its handle (0 when it has none) and
  // format. False when there is no music resource of that name. With
  // `choose`, a group picks a new member first.
  virtual bool FindMusic(const std::string& name, bool choose, uint32_t& handle, int& format) = 0;
  // The named sound resource, loaded: its sample (0 when it has none) and
  // its own volume (0..100). False when there is no such sound resource.
  virtual bool FindSound(const std::string& name, bool choose, uint32_t& sample, int& volume) = 0;
  // The samples of every sound resource that has one.
  virtual std::vector<uint32_t> SoundSamples() = 0;
};

class TEngineAudio {
public:
  static constexpr uint32_t kFrequency = 44100;
  static constexpr uint32_t kCrossFadeMs = 2000;
  static constexpr uint32_t kMuteFadeMs = 100;

  explicit TEngineAudio(IAudioResources& resources) : resources_(resources) {}
  ~TEngineAudio() { Done(); }
  TEngineAudio(const TEngineAudio&) = delete;
  TEngineAudio& operator=(const TEngineAudio&) = delete;

  // Brings the library up on the output device (device 0: no device, mixed
  // by the caller). False leaves audio unavailable.
  bool Init(int device = 1);
  // Frees the library; audio is unavailable afterwards.
  void Done();
  bool Available() const { return available_; }
  TAudioLibrary& Library() { return library_; }

  // Loading, for the resources. Paths go through the data path resolver;
  // a missing file, bad data or no audio give handle 0.
  uint32_t LoadMusicModule(const std::string& path);
  void FreeMusicModule(uint32_t music);
  uint32_t LoadSample(const std::string& path, int maxPlaybacks, bool loop);
  // A looping one-playback sample and its channel (the result).
  uint32_t LoadSampleChannel(const std::string& path, uint32_t& sample);
  void FreeSample(uint32_t sample);
  // Streamed music ("ogg"): the channel of a looping one-playback sample.
  // The file's bytes go to `memory` for the caller to keep.
  uint32_t LoadStream(const std::string& path, std::string& memory);
  // Frees a sample, or the sample behind a stream's channel.
  void FreeSampleOrStream(uint32_t handle);

  // Playback.
  uint32_t PlayMusic(const IMusic* item);
  void StopMusic(const IMusic* item);
  uint32_t PlaySound(const ISound* item);
  void StopSound(const ISound* item);
  void StopAllSounds();
  // The music volume becomes the integer value (kept when the text is not an
  // integer; not clamped) and the current music takes it at once.
  void SetMusicVolume(const std::string& text);
  // The sound volume, clamped to 0..100, for sounds started afterwards.
  void SetSoundVolume(const std::string& text);
  // Each frame: drops finished muting sounds; when none is left the music
  // fades back in.
  void Housekeeping();
  // All output starts with the window's focus and pauses without it.
  void FocusChanged(bool focused);

  const std::vector<uint32_t>& MusicStack() const { return musicStack_; }
  const std::vector<uint32_t>& MutingSounds() const { return mutingSounds_; }
  int MusicVolume() const { return musicVolume_; }
  int SoundVolume() const { return soundVolume_; }

private:
  // The channel of the current music (0 with an empty stack).
  uint32_t CurrentMusicChannel();
  void MuteMusic();
  void UnmuteMusic();

  IAudioResources& resources_;
  TAudioLibrary library_;
  bool available_ = false;
  std::vector<uint32_t> musicStack_;
  std::vector<uint32_t> mutingSounds_;
  std::vector<std::pair<uint32_t, uint32_t>> streams_;  // (channel, sample)
  int musicVolume_ = 30;
  int soundVolume_ = 70;
};

}  // namespace qv
