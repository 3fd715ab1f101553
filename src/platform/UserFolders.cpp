#include "platform/UserFolders.h"

#include <SDL.h>

namespace qv {

std::string PlatformUserDataFolder(const char* maker, const char* product) {
  char* path = SDL_GetPrefPath(maker, product);
  if (!path) return {};
  std::string result(path);
  SDL_free(path);
  if (!result.empty() && result.back() != '/') result += '/';
  return result;
}

}  // namespace qv
