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
  // The game makes the application folder current; the tools keep theirs.
  bool enterAppDir = false;
};

// Sets the application folder, the package extension and the default
// language file; seeds the random generator from the time of day.
// `argv0` helps find the executable when /proc is not available.
void StartupServices(const std::string& argv0, const TStartupOptions& options = {});

}  // namespace qv
