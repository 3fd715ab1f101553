// The audio library: samples, channels and tracker music mixed into one
// 44100 Hz stereo output, on an SDL2 audio device or, with device 0, driven
// by the caller through Mix (no output device; tests and silent runs).
//
// Everything is addressed by 32-bit handles; 0 means failure. Music modules
// are channels themselves. Volumes are 0..100, pans -100 (left) .. 100
// (right); in attribute calls -1 leaves the frequency or volume unchanged
// and -101 the pan. A slide to volume -2 fades out and then stops.
//
// Threading: the device's thread calls Mix; every call takes the library's
// lock, and decoding happens before the lock is taken.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace qv {

class TAudioDevice;

class TAudioLibrary {
public:
  // Flags of sample and music loading.
  static constexpr uint32_t kFlagLoop = 4;
  static constexpr uint32_t kFlagRamp = 0x200;
  // ChannelIsActive results.
  static constexpr int kStopped = 0;
  static constexpr int kPlaying = 1;
  static constexpr int kPaused = 3;
  // Attribute values that leave an attribute unchanged, and the fade-out
  // volume of slides.
  static constexpr int kKeep = -1;
  static constexpr int kKeepPan = -101;
  static constexpr int kFadeOutAndStop = -2;

  TAudioLibrary();
  ~TAudioLibrary();
  TAudioLibrary(const TAudioLibrary&) = delete;
  TAudioLibrary& operator=(const TAudioLibrary&) = delete;

  // Device 0: no output device (Mix is driven by the caller); 1 or -1: the
  // default output device. False when no device can be opened or the
  // library is already initialised. Output starts at once.
  bool Init(int device, uint32_t frequency, uint32_t flags);
  // Frees everything and closes the device. Safe to call repeatedly.
  void Free();
  bool IsInitialized() const { return initialized_; }
  // Resumes and pauses all output.
  bool Start();
  bool Pause();

  // A tracker module (mo3, it, xm, s3m, mod, ...) from memory; its handle is
  // also its channel.
  uint32_t MusicLoad(const void* memory, uint64_t offset, uint32_t length, uint32_t flags,
                     uint32_t frequency);
  bool MusicFree(uint32_t music);
  // A WAV or Ogg Vorbis sample from memory that may sound `maxPlaybacks`
  // times at once.
  uint32_t SampleLoad(const void* memory, uint64_t offset, uint32_t length, uint32_t maxPlaybacks,
                      uint32_t flags);
  bool SampleFree(uint32_t sample);
  // A channel of the sample: a new one while fewer than the maximum exist,
  // else one that is not playing; when all are playing, the one started
  // longest ago (unless `onlyNew`, which then fails).
  uint32_t SampleGetChannel(uint32_t sample, bool onlyNew);
  // Stops every channel of the sample.
  bool SampleStop(uint32_t sample);

  bool ChannelPlay(uint32_t handle, bool restart);
  bool ChannelStop(uint32_t handle);
  bool ChannelPause(uint32_t handle);
  // kStopped, kPlaying or kPaused; kStopped for unknown handles.
  int ChannelIsActive(uint32_t handle);
  bool ChannelSetAttributes(uint32_t handle, int frequency, int volume, int pan);
  // Moves volume and pan linearly to the targets over `timeMs`.
  bool ChannelSlideAttributes(uint32_t handle, int frequency, int volume, int pan, uint32_t timeMs);
  // Current volume (rounded) and pan; false for unknown handles.
  bool ChannelGetAttributes(uint32_t handle, int* volume, int* pan);

  // Renders `frames` stereo frames (interleaved floats) of the output.
  // Without initialisation, or while output is paused, it writes silence.
  void Mix(float* out, int frames);
  uint32_t Frequency() const { return frequency_; }

private:
  struct TPcm;
  struct TSample;
  struct TChannel;

  uint32_t NewHandle();
  TChannel* FindChannel(uint32_t handle);
  void RenderChannel(TChannel& channel, float* out, int frames);
  void FreeLocked();

  std::mutex mutex_;
  bool initialized_ = false;
  bool outputPaused_ = false;
  uint32_t frequency_ = 44100;
  uint32_t nextHandle_ = 1;
  uint64_t playSerial_ = 0;
  std::unordered_map<uint32_t, std::unique_ptr<TSample>> samples_;
  std::unordered_map<uint32_t, std::unique_ptr<TChannel>> channels_;
  std::vector<float> scratch_;
  std::unique_ptr<TAudioDevice> device_;
};

}  // namespace qv
