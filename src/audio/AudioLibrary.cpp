#include "audio/AudioLibrary.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>

#include <libopenmpt/libopenmpt.hpp>

#include "audio/AudioDecoders.h"
#include "audio/AudioDevice.h"
#include "core/Diagnostics.h"

namespace qv {

struct TAudioLibrary::TPcm {
  TDecodedAudio audio;
};

struct TAudioLibrary::TSample {
  std::shared_ptr<const TPcm> pcm;
  uint32_t maxPlaybacks = 1;
  bool loop = false;
  std::vector<uint32_t> channels;  // in creation order
};

struct TAudioLibrary::TChannel {
  uint32_t sample = 0;                      // owning sample; 0 for music
  std::shared_ptr<const TPcm> pcm;          // sample channels
  std::unique_ptr<openmpt::module> module;  // music
  bool loop = false;
  int state = kStopped;
  size_t position = 0;  // frames (sample channels)
  uint64_t startedSerial = 0;
  float volume = 1.0f;  // 0..1
  float pan = 0.0f;     // -1..1
  // Volume and pan slides: per-frame steps and the frames left.
  float volumeStep = 0, volumeTarget = 0;
  uint64_t volumeFrames = 0;
  bool stopAfterSlide = false;
  float panStep = 0, panTarget = 0;
  uint64_t panFrames = 0;
};

namespace {

float VolumeOf(int volume) {
  return static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f;
}
float PanOf(int pan) {
  return static_cast<float>(std::clamp(pan, -100, 100)) / 100.0f;
}

}  // namespace

TAudioLibrary::TAudioLibrary() = default;

TAudioLibrary::~TAudioLibrary() {
  Free();
}

uint32_t TAudioLibrary::NewHandle() {
  uint32_t h = nextHandle_++;
  if (nextHandle_ == 0) nextHandle_ = 1;
  while (h == 0 || samples_.count(h) || channels_.count(h)) h = nextHandle_++;
  return h;
}

bool TAudioLibrary::Init(int device, uint32_t frequency, uint32_t flags) {
  (void)flags;
  if (initialized_) return false;
  if (frequency < 8000 || frequency > 192000) return false;
  std::unique_ptr<TAudioDevice> out;
  if (device != 0) {
    out = TAudioDevice::Open(frequency, [this](float* buffer, int frames) { Mix(buffer, frames); });
    if (!out) return false;
  }
  {
    std::lock_guard lock(mutex_);
    frequency_ = frequency;
    initialized_ = true;
    outputPaused_ = false;
    scratch_.assign(2 * 4096, 0.0f);
  }
  device_ = std::move(out);
  if (device_) device_->SetPaused(false);
  return true;
}

void TAudioLibrary::Free() {
  // The device goes first, so its thread no longer mixes.
  device_.reset();
  std::lock_guard lock(mutex_);
  FreeLocked();
}

void TAudioLibrary::FreeLocked() {
  channels_.clear();
  samples_.clear();
  initialized_ = false;
}

bool TAudioLibrary::Start() {
  {
    std::lock_guard lock(mutex_);
    if (!initialized_) return false;
    outputPaused_ = false;
  }
  if (device_) device_->SetPaused(false);
  return true;
}

bool TAudioLibrary::Pause() {
  {
    std::lock_guard lock(mutex_);
    if (!initialized_) return false;
    outputPaused_ = true;
  }
  if (device_) device_->SetPaused(true);
  return true;
}

uint32_t TAudioLibrary::MusicLoad(const void* memory, uint64_t offset, uint32_t length, uint32_t flags,
                                  uint32_t frequency) {
  (void)frequency;
  if (!memory || length == 0 || !initialized_) return 0;
  auto channel = std::make_unique<TChannel>();
  try {
    std::ostringstream log;  // the decoder's messages are not shown
    channel->module = std::make_unique<openmpt::module>(static_cast<const char*>(memory) + offset,
                                                        static_cast<size_t>(length), log);
    channel->loop = (flags & kFlagLoop) != 0;
    channel->module->set_repeat_count(channel->loop ? -1 : 0);
  } catch (const openmpt::exception& e) {
    ReportDataError("audio data", std::string("not a music module the mixer can play: ") + e.what());
    return 0;
  }
  std::lock_guard lock(mutex_);
  if (!initialized_) return 0;
  const uint32_t h = NewHandle();
  channels_[h] = std::move(channel);
  return h;
}

bool TAudioLibrary::MusicFree(uint32_t music) {
  std::lock_guard lock(mutex_);
  auto it = channels_.find(music);
  if (it == channels_.end() || !it->second->module) return false;
  channels_.erase(it);
  return true;
}

uint32_t TAudioLibrary::SampleLoad(const void* memory, uint64_t offset, uint32_t length,
                                   uint32_t maxPlaybacks, uint32_t flags) {
  if (!memory || length == 0 || !initialized_) return 0;
  auto pcm = std::make_shared<TPcm>();
  if (!DecodeAudio(static_cast<const char*>(memory) + offset, length, frequency_, pcm->audio)) return 0;
  auto sample = std::make_unique<TSample>();
  sample->pcm = std::move(pcm);
  sample->maxPlaybacks = std::clamp<uint32_t>(maxPlaybacks, 1, 65535);
  sample->loop = (flags & kFlagLoop) != 0;
  std::lock_guard lock(mutex_);
  if (!initialized_) return 0;
  const uint32_t h = NewHandle();
  samples_[h] = std::move(sample);
  return h;
}

bool TAudioLibrary::SampleFree(uint32_t sample) {
  std::lock_guard lock(mutex_);
  auto it = samples_.find(sample);
  if (it == samples_.end()) return false;
  for (uint32_t c : it->second->channels) channels_.erase(c);
  samples_.erase(it);
  return true;
}

uint32_t TAudioLibrary::SampleGetChannel(uint32_t sample, bool onlyNew) {
  std::lock_guard lock(mutex_);
  auto it = samples_.find(sample);
  if (it == samples_.end()) return 0;
  TSample& s = *it->second;
  if (s.channels.size() < s.maxPlaybacks) {
    auto channel = std::make_unique<TChannel>();
    channel->sample = sample;
    channel->pcm = s.pcm;
    channel->loop = s.loop;
    const uint32_t h = NewHandle();
    channels_[h] = std::move(channel);
    s.channels.push_back(h);
    return h;
  }
  // Every slot exists: reuse an idle one, else the oldest playing one.
  uint32_t oldest = 0;
  uint64_t oldestSerial = UINT64_MAX;
  for (uint32_t h : s.channels) {
    TChannel& c = *channels_.at(h);
    if (c.state == kStopped) return h;
    if (c.startedSerial < oldestSerial) {
      oldestSerial = c.startedSerial;
      oldest = h;
    }
  }
  if (onlyNew) return 0;
  return oldest;
}

bool TAudioLibrary::SampleStop(uint32_t sample) {
  std::lock_guard lock(mutex_);
  auto it = samples_.find(sample);
  if (it == samples_.end()) return false;
  for (uint32_t h : it->second->channels) {
    TChannel& c = *channels_.at(h);
    c.state = kStopped;
    c.volumeFrames = c.panFrames = 0;
  }
  return true;
}

TAudioLibrary::TChannel* TAudioLibrary::FindChannel(uint32_t handle) {
  auto it = channels_.find(handle);
  return it == channels_.end() ? nullptr : it->second.get();
}

bool TAudioLibrary::ChannelPlay(uint32_t handle, bool restart) {
  std::lock_guard lock(mutex_);
  TChannel* c = FindChannel(handle);
  if (!c) return false;
  if (restart) {
    c->position = 0;
    if (c->module) c->module->set_position_seconds(0.0);
  }
  if (restart || c->state == kStopped) c->startedSerial = ++playSerial_;
  c->state = kPlaying;
  return true;
}

bool TAudioLibrary::ChannelStop(uint32_t handle) {
  std::lock_guard lock(mutex_);
  TChannel* c = FindChannel(handle);
  if (!c) return false;
  c->state = kStopped;
  c->volumeFrames = c->panFrames = 0;
  return true;
}

bool TAudioLibrary::ChannelPause(uint32_t handle) {
  std::lock_guard lock(mutex_);
  TChannel* c = FindChannel(handle);
  if (!c || c->state != kPlaying) return false;
  c->state = kPaused;
  return true;
}

int TAudioLibrary::ChannelIsActive(uint32_t handle) {
  std::lock_guard lock(mutex_);
  TChannel* c = FindChannel(handle);
  return c ? c->state : kStopped;
}

bool TAudioLibrary::ChannelSetAttributes(uint32_t handle, int frequency, int volume, int pan) {
  (void)frequency;  // playback rate changes are not supported
  std::lock_guard lock(mutex_);
  TChannel* c = FindChannel(handle);
  if (!c) return false;
  if (volume != kKeep) {
    c->volume = VolumeOf(volume);
    c->volumeFrames = 0;
    c->stopAfterSlide = false;
  }
  if (pan != kKeepPan) {
    c->pan = PanOf(pan);
    c->panFrames = 0;
  }
  return true;
}

bool TAudioLibrary::ChannelSlideAttributes(uint32_t handle, int frequency, int volume, int pan,
                                           uint32_t timeMs) {
  (void)frequency;
  std::lock_guard lock(mutex_);
  TChannel* c = FindChannel(handle);
  if (!c) return false;
  const uint64_t frames = static_cast<uint64_t>(timeMs) * frequency_ / 1000;
  if (volume != kKeep) {
    const bool stop = volume == kFadeOutAndStop;
    const float target = stop ? 0.0f : VolumeOf(volume);
    if (frames == 0) {
      c->volume = target;
      c->volumeFrames = 0;
      c->stopAfterSlide = false;
      if (stop) c->state = kStopped;
    } else {
      c->volumeTarget = target;
      c->volumeFrames = frames;
      c->volumeStep = (target - c->volume) / static_cast<float>(frames);
      c->stopAfterSlide = stop;
    }
  }
  if (pan != kKeepPan) {
    const float target = PanOf(pan);
    if (frames == 0) {
      c->pan = target;
      c->panFrames = 0;
    } else {
      c->panTarget = target;
      c->panFrames = frames;
      c->panStep = (target - c->pan) / static_cast<float>(frames);
    }
  }
  return true;
}

bool TAudioLibrary::ChannelGetAttributes(uint32_t handle, int* volume, int* pan) {
  std::lock_guard lock(mutex_);
  TChannel* c = FindChannel(handle);
  if (!c) return false;
  if (volume) *volume = static_cast<int>(std::lround(c->volume * 100.0f));
  if (pan) *pan = static_cast<int>(std::lround(c->pan * 100.0f));
  return true;
}

void TAudioLibrary::RenderChannel(TChannel& c, float* out, int frames) {
  float* src = scratch_.data();
  int produced = 0;
  if (c.module) {
    produced = static_cast<int>(c.module->read_interleaved_stereo(static_cast<std::int32_t>(frequency_),
                                                                  static_cast<size_t>(frames), src));
    if (produced < frames) c.state = kStopped;  // the module ended
  } else {
    const TDecodedAudio& a = c.pcm->audio;
    const size_t total = a.Frames();
    const bool stereo = a.channels == 2;
    constexpr float kScale = 1.0f / 32768.0f;
    while (produced < frames && total > 0) {
      if (c.position >= total) {
        if (!c.loop) break;
        c.position = 0;
      }
      const size_t n = std::min<size_t>(static_cast<size_t>(frames - produced), total - c.position);
      const int16_t* p = a.pcm.data() + c.position * static_cast<size_t>(a.channels);
      for (size_t i = 0; i < n; ++i) {
        const float l = static_cast<float>(p[stereo ? 2 * i : i]) * kScale;
        const float r = stereo ? static_cast<float>(p[2 * i + 1]) * kScale : l;
        src[2 * (produced + i)] = l;
        src[2 * (produced + i) + 1] = r;
      }
      produced += static_cast<int>(n);
      c.position += n;
    }
    if (produced < frames) c.state = kStopped;
  }
  for (int i = 0; i < produced; ++i) {
    if (c.volumeFrames > 0) {
      c.volume += c.volumeStep;
      if (--c.volumeFrames == 0) {
        c.volume = c.volumeTarget;
        if (c.stopAfterSlide) {
          c.stopAfterSlide = false;
          c.state = kStopped;
          break;
        }
      }
    }
    if (c.panFrames > 0) {
      c.pan += c.panStep;
      if (--c.panFrames == 0) c.pan = c.panTarget;
    }
    const float v = std::clamp(c.volume, 0.0f, 1.0f);
    const float left = v * std::min(1.0f, 1.0f - c.pan);
    const float right = v * std::min(1.0f, 1.0f + c.pan);
    out[2 * i] += src[2 * i] * left;
    out[2 * i + 1] += src[2 * i + 1] * right;
  }
}

void TAudioLibrary::Mix(float* out, int frames) {
  std::fill(out, out + 2 * static_cast<size_t>(std::max(frames, 0)), 0.0f);
  std::lock_guard lock(mutex_);
  if (!initialized_ || outputPaused_ || frames <= 0) return;
  const int block = static_cast<int>(scratch_.size() / 2);
  for (auto& entry : channels_) {
    TChannel& c = *entry.second;
    for (int done = 0; done < frames && c.state == kPlaying; done += block)
      RenderChannel(c, out + 2 * done, std::min(block, frames - done));
  }
  for (int i = 0; i < 2 * frames; ++i) out[i] = std::clamp(out[i], -1.0f, 1.0f);
}

}  // namespace qv
