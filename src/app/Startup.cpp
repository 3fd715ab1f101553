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

void StartupServices(const std::string& argv0, const TStartupOptions& options) {
  if (!options.appDir.empty()) {
    std::error_code ec;
    const auto abs = std::filesystem::absolute(options.appDir, ec);
    SetApplicationPath(ec ? options.appDir : abs.string());
  } else if (ApplicationPath() == ".\\" && argv0.find('/') != std::string::npos) {
    // No /proc: the folder the program was started from.
    std::error_code ec;
    const auto abs = std::filesystem::absolute(argv0, ec);
    if (!ec) SetApplicationPath(abs.parent_path().string());
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
  Randomize();
}

}  // namespace qv
