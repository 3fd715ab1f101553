// Process-wide start-up of the services every part leans on.
#pragma once

#include <string>
#include <vector>

namespace qv {

struct TStartupOptions {
  // The folder standing for the application folder; empty: the first
  // folder of ContentFolderCandidates that holds the game description.
  std::string appDir;
  // The per-user data folder; empty: the platform's.
  std::string userDataDir;
  // The game makes the application folder current and loads the default
  // language from it; the tools keep their folder and load languages on
  // demand.
  bool enterAppDir = false;
  // The tools seed the random generator here; the game leaves it to the
  // engine's Init, which seeds it once.
  bool seedRandom = true;
};

// Where the game looks for its content when no folder was given, in order:
// the executable's folder, its "content" sub-folder (the build puts the
// bundled content there), and "../share/quorvanel" beside it (an installed
// game). Folders in native form, ending in "/".
std::vector<std::string> ContentFolderCandidates(const std::string& exeFolder);
// True when the folder holds the game description file.
bool HoldsGameDescription(const std::string& folder);
// The first candidate that holds the game description; empty when none.
std::string FindContentFolder(const std::string& exeFolder);

// Sets the application and data folders and the package extension, enters
// the application folder (the game), loads the default language (the game),
// and seeds the random generator from the time of day (the tools).
// `argv0` helps find the executable when /proc is not available.
// False when no folder was given and no candidate holds the game
// description (the executable's folder stays the application folder).
bool StartupServices(const std::string& argv0, const TStartupOptions& options = {});

}  // namespace qv
