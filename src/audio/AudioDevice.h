// The SDL2 output device the audio library mixes into.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace qv {

class TAudioDevice {
public:
  // Called on SDL's audio thread with an interleaved stereo float buffer.
  using TMixer = std::function<void(float* out, int frames)>;

  // Opens the default output at `frequency`, stereo; empty when there is no
  // device. The device starts paused.
  static std::unique_ptr<TAudioDevice> Open(uint32_t frequency, TMixer mixer);
  ~TAudioDevice();
  TAudioDevice(const TAudioDevice&) = delete;
  TAudioDevice& operator=(const TAudioDevice&) = delete;

  void SetPaused(bool paused);
  // The buffer size in frames the device asks for.
  int BufferFrames() const { return bufferFrames_; }

private:
  TAudioDevice() = default;
  static void Callback(void* user, uint8_t* stream, int length);

  uint32_t id_ = 0;
  int bufferFrames_ = 0;
  bool subsystemUp_ = false;
  TMixer mixer_;
};

}  // namespace qv
