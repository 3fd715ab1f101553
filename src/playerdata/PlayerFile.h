// One per-user file of the player data ("users.dat", "records.dat",
// "highscores.dat", "options"): where it lives, its key, and the rule that
// player data are never lost.
//
// Reading: the file of the data folder, else (for files the game ships)
// the file of a fallback folder through the data paths (also after a
// damaged data-folder file was set aside). A data-folder file
// that exists but cannot be read, deciphered or parsed as a document with
// the expected root is set aside as "NAME.damaged-N" (N counting up from 1,
// never replacing an earlier one) before anything is written under its
// name, and reported. When it cannot be set aside, saving is switched off
// for this file, so the damaged file stays where it is.
//
// Loading also deletes the temporary files a run killed in the middle of a
// save left beside the file.
//
// Writing: the document's text, enciphered in hexadecimal form when the
// file has a key, with CR LF line ends, written atomically (a temporary
// file in the same folder, flushed, renamed over the old one) and
// owner-only from its first byte.
#pragma once

#include <string>

#include "storage/HierStorage.h"
#include "storage/PersistObject.h"

namespace qv {

enum class EPlayerFileState { kMissing, kLoaded, kDamaged };

class TPlayerFile {
public:
  TPlayerFile() = default;
  // `folder` is the data folder (program path, "\" at the end or not);
  // an empty key means plain text.
  TPlayerFile(const std::string& folder, std::string fileName, std::string key);

  // The file's root, or empty when there is no usable file (missing, or
  // damaged and set aside). The fallback folder is read when the data
  // folder has no file, or always with `fallbackOnly` (a damaged file of
  // the data folder is still set aside, since saves go to its name).
  StorageRef Load(const std::string& rootName, const std::string& fallbackFolder = {},
                  bool fallbackOnly = false);
  // The data folder's file as Load would find it, changing nothing: its
  // root, or empty with the state (missing or damaged) and why.
  StorageRef Inspect(const std::string& rootName, EPlayerFileState& state, std::string& why) const;
  // Writes the whole document of `root`. False (reported) when the file is
  // switched off or cannot be written; the old file is then as it was.
  bool Save(const StorageRef& root);
  // A new document with the root element `rootName`, which the object
  // fills (SaveToStorage), written as Save does. False without a file.
  bool SaveObject(const std::string& rootName, TPersistent& object);

  bool IsSet() const { return !path_.empty(); }
  // False for no file, and after a damaged file could not be set aside.
  bool CanSave() const { return IsSet() && writable_; }
  // Program path of the file in the data folder.
  const std::string& Path() const { return path_; }
  const std::string& FileName() const { return fileName_; }
  // Program path where the last damaged file was set aside; empty when none.
  const std::string& SetAsidePath() const { return setAside_; }

private:
  std::string path_;
  std::string fileName_;
  std::string key_;
  bool writable_ = true;
  std::string setAside_;
};

// Renames the file at a native path to "PATH.damaged-N" with the first N
// from 1 whose name is free; an existing name is never replaced. Returns the
// new native path, or empty when the file could not be moved.
std::string SetAsideDamagedFile(const std::string& nativePath);

}  // namespace qv
