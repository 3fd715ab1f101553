#include "app/Startup.h"

#include <filesystem>

#include "core/Constants.h"
#include "core/Folders.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "localisation/MultiLanguages.h"
#include "platform/UserFolders.h"
#include "storage/DataPaths.h"

namespace qv {

namespace {

std::string WithSlash(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

std::vector<std::string> ContentFolderCandidates(const std::string& exeFolder) {
  const std::string exe = WithSlash(exeFolder);
  return {exe, exe + "content/", exe + "../share/quorvanel/"};
}

bool HoldsGameDescription(const std::string& folder) {
  std::error_code ec;
  return std::filesystem::is_regular_file(WithSlash(folder) + ReplaceAll(kGameDescriptionFile, "\\", "/"),
                                          ec);
}

std::string FindContentFolder(const std::string& exeFolder) {
  for (const std::string& folder : ContentFolderCandidates(exeFolder))
    if (HoldsGameDescription(folder)) return folder;
  return {};
}

bool StartupServices(const std::string& argv0, const TStartupOptions& options) {
  bool found = true;
  if (!options.appDir.empty()) {
    std::error_code ec;
    const auto abs = std::filesystem::absolute(options.appDir, ec);
    SetApplicationPath(ec ? options.appDir : abs.string());
  } else {
    if (ApplicationPath() == ".\\" && argv0.find('/') != std::string::npos) {
      // No /proc: the folder the program was started from.
      std::error_code ec;
      const auto abs = std::filesystem::absolute(argv0, ec);
      if (!ec) SetApplicationPath(abs.parent_path().string());
    }
    if (options.enterAppDir) {
      const std::string folder = FindContentFolder(ReplaceAll(ApplicationPath(), "\\", "/"));
      found = !folder.empty();
      if (found) {
        std::error_code ec;
        const auto canonical = std::filesystem::weakly_canonical(folder, ec);
        SetApplicationPath(ec ? folder : canonical.string());
      }
    }
  }
  SetPlatformDataFolder([] { return PlatformUserDataFolder(kMakerFolderName, kProductName); });
  if (!options.userDataDir.empty()) {
    std::error_code ec;
    const auto abs = std::filesystem::absolute(options.userDataDir, ec);
    SetDataPathBase(ec ? options.userDataDir : abs.string());
  }
  SetPackageExtension(kPackageExtension);
  if (options.enterAppDir) {
    std::error_code ec;
    std::filesystem::current_path(ReplaceAll(ApplicationPath(), "\\", "/"), ec);
    // The default language loads from the application folder, and the
    // start-up lookups run after it.
    StartupLanguages();
  }
  if (options.seedRandom) Randomize();
  return found;
}

}  // namespace qv
