#include "playerdata/PlayerFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/StringUtils.h"
#include "storage/Cipher.h"
#include "storage/DataPaths.h"
#include "storage/XMLStorage.h"

namespace qv {

namespace {

bool Exists(const std::string& native) {
  struct stat st;
  return ::lstat(native.c_str(), &st) == 0;
}

std::string WithBackslash(std::string folder) {
  folder = ReplaceAll(folder, "/", "\\");
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

// The root of the text when it parses and has the expected root element;
// `why` says what was wrong otherwise.
StorageRef ParseRoot(const std::string& text, const std::string& key, const std::string& rootName,
                     std::string& why) {
  if (Trim(text).empty()) {
    why = "is empty";
    return nullptr;
  }
  const std::string plain = key.empty() ? text : DecipherFromHex(text, key);
  StorageRef root = LoadStorageText(plain);
  if (!root) {
    why = key.empty() ? "does not parse" : "cannot be deciphered or does not parse";
    return nullptr;
  }
  if (root->GetNodeName() != rootName) {
    why = "holds \"" + root->GetNodeName() + "\" where \"" + rootName + "\" was expected";
    return nullptr;
  }
  return root;
}

}  // namespace

TPlayerFile::TPlayerFile(const std::string& folder, std::string fileName, std::string key)
    : path_(WithBackslash(folder) + fileName), fileName_(std::move(fileName)), key_(std::move(key)) {}

StorageRef TPlayerFile::Inspect(const std::string& rootName, EPlayerFileState& state,
                                std::string& why) const {
  state = EPlayerFileState::kMissing;
  why.clear();
  if (!IsSet()) return nullptr;
  const std::string native = ToNativePath(path_);
  if (!Exists(native)) return nullptr;
  std::string bytes;
  StorageRef root;
  if (!ReadFileBytes(native, bytes))
    why = "cannot be read";
  else
    root = ParseRoot(bytes, key_, rootName, why);
  state = root ? EPlayerFileState::kLoaded : EPlayerFileState::kDamaged;
  return root;
}

StorageRef TPlayerFile::Load(const std::string& rootName, const std::string& fallbackFolder,
                             bool fallbackOnly) {
  if (!IsSet()) return nullptr;
  // A run killed in the middle of a save left its temporary file; the
  // file itself is whole (old or new), and the leftover goes.
  RemoveLeftoverTemporaries(ToNativePath(path_));
  EPlayerFileState state = EPlayerFileState::kMissing;
  std::string why;
  // A damaged file is set aside even when the fallback is asked for, since
  // the next save goes to its name.
  StorageRef own = Inspect(rootName, state, why);
  if (own && !fallbackOnly) return own;
  if (state == EPlayerFileState::kDamaged) {
    // Set the file aside before anything can be written under its name.
    const std::string aside = SetAsideDamagedFile(ToNativePath(path_));
    if (aside.empty()) {
      writable_ = false;
      ReportDataError(path_, why + "; it cannot be set aside, so it is left in place and not saved over");
    } else {
      setAside_ = aside;
      ReportDataError(path_, why + "; it is kept as " + aside + " and a new one is started");
    }
  }
  if (fallbackFolder.empty()) return nullptr;
  // The shipped file of the fallback folder (it may sit in a package).
  const std::string shipped = WithBackslash(fallbackFolder) + fileName_;
  const std::string bytes = ReadDataFile(shipped);
  if (bytes.empty()) return nullptr;
  StorageRef root = ParseRoot(bytes, key_, rootName, why);
  if (!root) ReportDataError(shipped, why + "; not loaded");
  return root;
}

bool TPlayerFile::SaveObject(const std::string& rootName, TPersistent& object) {
  if (!IsSet()) return false;
  const StorageRef root = NewStorage(rootName);
  if (!root) return false;
  object.SaveToStorage(root);
  return Save(root);
}

bool TPlayerFile::Save(const StorageRef& root) {
  if (!CanSave()) {
    if (IsSet()) ReportDataError(path_, "is not saved: the damaged file could not be set aside");
    return false;
  }
  const Ref<IHierStorageRoot> document = AsRoot(root);
  if (!document) return false;
  const std::string text = document->SaveToText();
  const std::string stored = key_.empty() ? text : EncipherToHex(text, key_);
  const std::string native = ToNativePath(path_);
  const bool ok = WriteFileAtomic(native, WithCrLf(stored), true);
  if (!ok) ReportDataError(path_, "cannot be written; the old file is kept");
  SetFolderSecurity(path_);
  return ok;
}

std::string SetAsideDamagedFile(const std::string& nativePath) {
  for (int n = 1; n < 100000; ++n) {
    const std::string candidate = nativePath + ".damaged-" + std::to_string(n);
    if (Exists(candidate)) continue;
    // A hard link never replaces an existing name; the rename fallback
    // (file systems without links) runs only after the name was free.
    if (::link(nativePath.c_str(), candidate.c_str()) == 0) {
      if (::unlink(nativePath.c_str()) == 0) return candidate;
      ::unlink(candidate.c_str());
      return {};
    }
    if (errno == EEXIST) continue;
    if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV) return {};
    if (Exists(candidate)) continue;
    return std::rename(nativePath.c_str(), candidate.c_str()) == 0 ? candidate : std::string();
  }
  return {};
}

}  // namespace qv
