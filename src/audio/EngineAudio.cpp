#include "audio/EngineAudio.h"

#include <algorithm>

#include "audio/Music.h"
#include "audio/Sound.h"
#include "core/Diagnostics.h"
#include "core/Parsing.h"
#include "storage/DataPaths.h"

namespace qv {

namespace {

// The file's bytes, or empty (reported) when it is missing or too large.
std::string ReadAudioFile(const std::string& path) {
  std::string bytes = ReadDataFile(path);
  if (bytes.empty())
    ReportDataError(path, "the audio file is missing or empty");
  else if (bytes.size() > UINT32_MAX)
    ReportDataError(path, "the audio file is larger than 4 GB");
  else
    return bytes;
  return {};
}

uint32_t Loaded(uint32_t handle, const std::string& path) {
  if (handle == 0) ReportDataError(path, "the audio file cannot be played (refused as shown before)");
  return handle;
}

}  // namespace

bool TEngineAudio::Init(int device) {
  if (available_) return true;
  available_ = library_.Init(device, kFrequency, 0);
  return available_;
}

void TEngineAudio::Done() {
  library_.Free();
  available_ = false;
  musicStack_.clear();
  mutingSounds_.clear();
  streams_.clear();
}

uint32_t TEngineAudio::LoadMusicModule(const std::string& path) {
  if (!available_) return 0;
  const std::string bytes = ReadAudioFile(path);
  if (bytes.empty()) return 0;
  return Loaded(library_.MusicLoad(bytes.data(), 0, static_cast<uint32_t>(bytes.size()),
                                   TAudioLibrary::kFlagLoop | TAudioLibrary::kFlagRamp, 0),
                path);
}

void TEngineAudio::FreeMusicModule(uint32_t music) {
  if (available_) library_.MusicFree(music);
}

uint32_t TEngineAudio::LoadSample(const std::string& path, int maxPlaybacks, bool loop) {
  if (!available_) return 0;
  const std::string bytes = ReadAudioFile(path);
  if (bytes.empty()) return 0;
  return Loaded(
      library_.SampleLoad(bytes.data(), 0, static_cast<uint32_t>(bytes.size()),
                          static_cast<uint32_t>(maxPlaybacks & 0xFFFF), loop ? TAudioLibrary::kFlagLoop : 0),
      path);
}

uint32_t TEngineAudio::LoadSampleChannel(const std::string& path, uint32_t& sample) {
  sample = LoadSample(path, 1, true);
  return sample ? library_.SampleGetChannel(sample, false) : 0;
}

void TEngineAudio::FreeSample(uint32_t sample) {
  if (available_) library_.SampleFree(sample);
}

uint32_t TEngineAudio::LoadStream(const std::string& path, std::string& memory) {
  memory.clear();
  if (!available_) return 0;
  memory = ReadAudioFile(path);
  if (memory.empty()) return 0;
  const uint32_t sample = Loaded(library_.SampleLoad(memory.data(), 0, static_cast<uint32_t>(memory.size()),
                                                     1, TAudioLibrary::kFlagLoop),
                                 path);
  const uint32_t channel = sample ? library_.SampleGetChannel(sample, false) : 0;
  if (channel)
    streams_.emplace_back(channel, sample);
  else if (sample)
    library_.SampleFree(sample);
  return channel;
}

void TEngineAudio::FreeSampleOrStream(uint32_t handle) {
  if (!available_ || handle == 0) return;
  for (auto it = streams_.begin(); it != streams_.end(); ++it) {
    if (it->first == handle) {
      library_.SampleFree(it->second);
      streams_.erase(it);
      return;
    }
  }
  library_.SampleFree(handle);
}

uint32_t TEngineAudio::CurrentMusicChannel() {
  if (musicStack_.empty()) return 0;
  const uint32_t top = musicStack_.back();
  const uint32_t channel = library_.SampleGetChannel(top, false);
  return channel ? channel : top;
}

uint32_t TEngineAudio::PlayMusic(const IMusic* item) {
  if (!available_ || !item) return 0;
  uint32_t handle = 0;
  int format = 0;
  if (!resources_.FindMusic(item->GetResourceName(), true, handle, format) || handle == 0) return 0;
  if (!musicStack_.empty())
    library_.ChannelSlideAttributes(CurrentMusicChannel(), -1, TAudioLibrary::kFadeOutAndStop,
                                    TAudioLibrary::kKeepPan, kCrossFadeMs);
  if (library_.ChannelIsActive(handle) != TAudioLibrary::kStopped) library_.ChannelStop(handle);
  // Module music plays through its module handle, "ogg" music through the
  // channel of its looping sample: either way the resource's handle.
  const uint32_t entry = handle;
  musicStack_.push_back(entry);
  library_.ChannelSetAttributes(entry, -1, 0, TAudioLibrary::kKeepPan);
  library_.ChannelSlideAttributes(entry, -1, musicVolume_, TAudioLibrary::kKeepPan, kCrossFadeMs);
  library_.ChannelPlay(entry, true);
  return entry;
}

void TEngineAudio::StopMusic(const IMusic* item) {
  if (!available_ || !item || musicStack_.empty()) return;
  uint32_t handle = 0;
  int format = 0;
  if (!resources_.FindMusic(item->GetResourceName(), false, handle, format) || handle == 0) return;
  if (musicStack_.back() != handle) return;  // only the current music stops
  library_.ChannelSlideAttributes(CurrentMusicChannel(), -1, TAudioLibrary::kFadeOutAndStop,
                                  TAudioLibrary::kKeepPan, kCrossFadeMs);
  musicStack_.pop_back();
  if (musicStack_.empty()) return;
  const uint32_t channel = CurrentMusicChannel();
  library_.ChannelSetAttributes(channel, -1, 0, TAudioLibrary::kKeepPan);
  if (musicVolume_ > 0)
    library_.ChannelSlideAttributes(channel, -1, musicVolume_, TAudioLibrary::kKeepPan, kCrossFadeMs);
  library_.ChannelPlay(channel, false);
}

uint32_t TEngineAudio::PlaySound(const ISound* item) {
  if (!available_ || !item) return 0;
  uint32_t sample = 0;
  int resourceVolume = 100;
  if (!resources_.FindSound(item->GetResourceName(), true, sample, resourceVolume) || sample == 0) return 0;
  const uint32_t channel = library_.SampleGetChannel(sample, false);
  if (channel == 0) return 0;
  int volume = item->GetVolume() <= 0 ? resourceVolume : item->GetVolume() * resourceVolume / 100;
  volume = volume * soundVolume_ / 100;
  library_.ChannelSetAttributes(channel, -1, volume, item->GetPan());
  library_.ChannelPlay(channel, true);
  if (item->GetMuteMusic()) {
    mutingSounds_.push_back(channel);
    MuteMusic();
  }
  return channel;
}

void TEngineAudio::MuteMusic() {
  if (musicStack_.empty()) return;
  const uint32_t channel = CurrentMusicChannel();
  if (kMuteFadeMs == 0)
    library_.ChannelPause(channel);
  else
    library_.ChannelSlideAttributes(channel, -1, 0, TAudioLibrary::kKeepPan, kMuteFadeMs);
}

void TEngineAudio::UnmuteMusic() {
  if (musicStack_.empty()) return;
  const uint32_t channel = CurrentMusicChannel();
  if (kMuteFadeMs == 0)
    library_.ChannelPlay(channel, false);
  else
    library_.ChannelSlideAttributes(channel, -1, musicVolume_, TAudioLibrary::kKeepPan, kMuteFadeMs);
}

void TEngineAudio::Housekeeping() {
  if (!available_ || mutingSounds_.empty()) return;
  for (size_t i = mutingSounds_.size(); i-- > 0;)
    if (library_.ChannelIsActive(mutingSounds_[i]) == TAudioLibrary::kStopped)
      mutingSounds_.erase(mutingSounds_.begin() + static_cast<std::ptrdiff_t>(i));
  if (mutingSounds_.empty()) UnmuteMusic();
}

void TEngineAudio::StopSound(const ISound* item) {
  if (!available_ || !item) return;
  uint32_t sample = 0;
  int volume = 0;
  if (resources_.FindSound(item->GetResourceName(), false, sample, volume) && sample != 0)
    library_.SampleStop(sample);
  Housekeeping();
}

void TEngineAudio::StopAllSounds() {
  if (!available_) return;
  for (uint32_t sample : resources_.SoundSamples())
    if (sample != 0) library_.SampleStop(sample);
  Housekeeping();
}

void TEngineAudio::SetMusicVolume(const std::string& text) {
  constexpr int kNotANumber = INT32_MIN;
  const int value = ParseIntDefault(text, kNotANumber);
  if (value == kNotANumber)
    ReportDataError("option MusicVolume", "\"" + text + "\" is not a whole number; the volume stays");
  else
    musicVolume_ = value;
  if (available_ && !musicStack_.empty())
    library_.ChannelSetAttributes(CurrentMusicChannel(), -1, musicVolume_, TAudioLibrary::kKeepPan);
}

void TEngineAudio::SetSoundVolume(const std::string& text) {
  constexpr int kNotANumber = INT32_MIN;
  const int value = ParseIntDefault(text, kNotANumber);
  if (value == kNotANumber) {
    ReportDataError("option SoundVolume", "\"" + text + "\" is not a whole number; the volume stays");
    return;
  }
  soundVolume_ = std::clamp(value, 0, 100);
  if (soundVolume_ != value)
    ReportDataError("option SoundVolume",
                    "\"" + text + "\" is outside 0..100; " + std::to_string(soundVolume_) + " is used");
}

void TEngineAudio::FocusChanged(bool focused) {
  if (!available_) return;
  if (focused)
    library_.Start();
  else
    library_.Pause();
}

}  // namespace qv
