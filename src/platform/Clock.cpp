#include "platform/Clock.h"

#include <SDL.h>

namespace qv {

uint32_t PlatformTicks() {
  return SDL_GetTicks();
}

void PlatformSleep(uint32_t ms) {
  SDL_Delay(ms);
}

}  // namespace qv
