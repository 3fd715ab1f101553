// Process-wide start-up of the services every part leans on.
#pragma once

#include <string>

namespace qv {

struct TStartupOptions {
  // The folder standing for the application folder; empty: the folder of
  // the running executable.
  std::string appDir;
  // The per-user data folder; empty: the platform's.
  std::string userDataDir;
  // The game makes the application folder current and loads the default
  // language from it; the tools keep their folder and load languages on
  // demand.
  bool enterAppDir = false;
};

// Sets the application and data folders and the package extension, enters
// the application folder (the game), loads the default language (the game),
// and seeds the random generator from the time of day.
// `argv0` helps find the executable when /proc is not available.
void StartupServices(const std::string& argv0, const TStartupOptions& options = {});

}  // namespace qv
