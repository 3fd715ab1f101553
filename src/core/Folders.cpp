#include "core/Folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <set>
#include <vector>

#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/ProcessContext.h"
#include "core/StringUtils.h"
#include "core/Trace.h"

namespace qv {

namespace {

// The folder-security record: paths whose rights were set successfully.
struct TFileSystemSecurity {
  std::set<std::string> done;
  int applied = 0;
};
TFileSystemSecurity& Security() {
  static TFileSystemSecurity security;
  return security;
}

std::string Native(const std::string& programPath) {
  return ReplaceAll(programPath, "\\", "/");
}
std::string Program(const std::string& nativePath) {
  return ReplaceAll(nativePath, "/", "\\");
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

std::string ExecutableFolder() {
  std::vector<char> buf(PATH_MAX + 1);
  const ssize_t n = ::readlink("/proc/self/exe", buf.data(), PATH_MAX);
  if (n <= 0) return ".\\";
  std::string exe(buf.data(), static_cast<size_t>(n));
  return Program(exe.substr(0, exe.rfind('/') + 1));
}

bool IsFolder(const std::string& native) {
  struct stat st;
  return ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Creates the folder and every missing folder above it, each owner-only;
// folders that exist keep their rights. False when it is not a folder after.
bool EnsureFolders(std::string native) {
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  if (native.empty() || IsFolder(native)) return !native.empty();
  const size_t slash = native.rfind('/');
  if (slash != std::string::npos && slash > 0 && !EnsureFolders(native.substr(0, slash))) return false;
  if (::mkdir(native.c_str(), 0700) == 0) {
    SetFolderSecurity(Program(native) + "\\");
    return true;
  }
  return errno == EEXIST && IsFolder(native);
}

// The file is born owner-only (the temporary file is), and the rights are
// recorded whenever the file exists afterwards, even after a failed save.
bool SaveText(const std::string& text, const std::string& folder, const std::string& fileName) {
  const std::string native = Native(folder + fileName);
  const bool ok = WriteFileAtomic(native, WithCrLf(text), true);
  if (!ok) ReportDataError(folder + fileName, "cannot be written; the old file is kept");
  SetFolderSecurity(folder + fileName);
  return ok;
}

}  // namespace

std::string ApplicationPath() {
  auto& context = ProcessContext();
  if (context.appPath.empty()) context.appPath = ExecutableFolder();
  return context.appPath;
}

void SetApplicationPath(const std::string& folder) {
  ProcessContext().appPath = WithSlash(Program(folder));
}

void SetPlatformDataFolder(TDataFolderProvider provider) {
  ProcessContext().platformDataFolder = provider;
}

void SetDataPathBase(const std::string& folder) {
  ProcessContext().dataPathOverride = WithSlash(Program(folder));
}

std::string DataPath() {
  const std::string override = ProcessContext().dataPathOverride;
  if (!override.empty()) {
    // A folder that exists keeps its rights (it may be the user's own);
    // missing folders are created owner-only, parents included.
    if (EnsureFolders(Native(override))) return override;
    ReportDataError(override, "the data folder cannot be created; the default data folder is used");
  }
  const auto provider = ProcessContext().platformDataFolder;
  const std::string product = provider ? provider() : std::string();
  if (product.empty()) return ApplicationPath();
  std::string productPath = WithSlash(Program(product));
  // The platform created maker and product folders; give both owner-only rights.
  std::string maker = productPath.substr(0, productPath.size() - 1);
  maker = maker.substr(0, maker.rfind('\\') + 1);
  SetFolderSecurity(maker);
  SetFolderSecurity(productPath);
  return productPath;
}

void SetFolderSecurity(const std::string& path) {
  auto& security = Security();
  if (path.empty() || security.done.count(path)) return;
  std::string native = Native(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  struct stat st;
  if (::stat(native.c_str(), &st) != 0) return;
  const mode_t mode = S_ISDIR(st.st_mode) ? 0700 : 0600;
  if (::chmod(native.c_str(), mode) != 0) return;
  security.done.insert(path);
  ++security.applied;
}

int FolderSecurityApplyCount() {
  return Security().applied;
}

std::string LoadDataText(const std::string& fileName) {
  std::string bytes;
  if (!ReadFileBytes(Native(DataPath() + fileName), bytes)) return {};
  return WithCrLf(bytes);
}

bool SaveDataText(const std::string& text, const std::string& fileName) {
  return SaveText(text, DataPath(), fileName);
}

bool SaveApplicationText(const std::string& text, const std::string& fileName) {
  return SaveText(text, ApplicationPath(), fileName);
}

bool WriteFileAtomic(const std::string& nativePath, const std::string& bytes, bool ownerOnly) {
  const size_t slash = nativePath.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : nativePath.substr(0, slash);
  if (folder.empty()) return false;
  std::string tmpl = nativePath + ".tmp-XXXXXX";
  const int fd = ::mkstemp(tmpl.data());
  if (fd < 0) return false;
  bool ok = true;
  size_t done = 0;
  while (ok && done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      ok = false;
    else
      done += static_cast<size_t>(n);
  }
  // Owner-only files stay as mkstemp made them (owner read/write). Others
  // keep the target's rights when it exists; new ones get owner read/write
  // plus what the umask allows for others to read.
  struct stat st;
  if (ok && !ownerOnly) {
    if (::stat(nativePath.c_str(), &st) == 0)
      ::fchmod(fd, st.st_mode & 07777);
    else
      ::fchmod(
          fd, 0644 & ~[] {
            mode_t m = ::umask(0);
            ::umask(m);
            return m;
          }());
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  // Every file the program saves goes through here. The trace names it
  // without its folder (traces do not depend on where the data live) once
  // the new version is whole on disk and before it takes the name, so a
  // run killed at any moment leaves the old file or a traced version.
  if (ok && TTrace::On()) {
    const size_t slash = nativePath.find_last_of("/\\");
    TTrace::Emit(
        "save",
        {{"file", TTrace::Text(slash == std::string::npos ? nativePath : nativePath.substr(slash + 1))},
         {"bytes", TTrace::Number(static_cast<long long>(bytes.size()))},
         {"hash", TTrace::Text(ContentHash(bytes))}});
  }
  if (ok && ::rename(tmpl.c_str(), nativePath.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmpl.c_str());
  // The new name itself survives a power loss once the folder is flushed.
  if (ok) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
  }
  return ok;
}

std::string ContentHash(std::string_view bytes) {
  uint64_t hash = 14695981039346656037ull;  // FNV-1a, 64 bits
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

void RemoveLeftoverTemporaries(const std::string& nativePath) {
  const size_t slash = nativePath.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string(".") : nativePath.substr(0, slash);
  const std::string prefix =
      (slash == std::string::npos ? nativePath : nativePath.substr(slash + 1)) + ".tmp-";
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  std::vector<std::string> leftovers;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    // mkstemp's six characters after the prefix, nothing else.
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
      leftovers.push_back(folder + "/" + name);
  }
  ::closedir(dir);
  for (const std::string& path : leftovers) {
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(path.c_str());
  }
}

bool ReadFileBytes(const std::string& nativePath, std::string& out) {
  std::FILE* f = std::fopen(nativePath.c_str(), "rb");
  if (!f) return false;
  out.clear();
  char buf[16384];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

}  // namespace qv
