#include "audio/AudioDevice.h"

#include <SDL.h>

namespace qv {

std::unique_ptr<TAudioDevice> TAudioDevice::Open(uint32_t frequency, TMixer mixer) {
  std::unique_ptr<TAudioDevice> device(new TAudioDevice());
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  device->subsystemUp_ = true;
  device->mixer_ = std::move(mixer);
  SDL_AudioSpec want;
  SDL_zero(want);
  want.freq = static_cast<int>(frequency);
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = &TAudioDevice::Callback;
  want.userdata = device.get();
  SDL_AudioSpec have;
  // No changes allowed: SDL converts to whatever the hardware wants.
  device->id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (device->id_ == 0) return nullptr;
  device->bufferFrames_ = have.samples;
  return device;
}

TAudioDevice::~TAudioDevice() {
  if (id_ != 0) SDL_CloseAudioDevice(id_);
  if (subsystemUp_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void TAudioDevice::SetPaused(bool paused) {
  if (id_ != 0) SDL_PauseAudioDevice(id_, paused ? 1 : 0);
}

void TAudioDevice::Callback(void* user, uint8_t* stream, int length) {
  auto* device = static_cast<TAudioDevice*>(user);
  device->mixer_(reinterpret_cast<float*>(stream), length / static_cast<int>(2 * sizeof(float)));
}

}  // namespace qv
