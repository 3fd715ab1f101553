// The two folders the program works in, their access rights, and the plain
// text-file helpers. Folder paths end in "\" inside the program.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Folder of the program file (or the folder set by SetApplicationPath).
std::string ApplicationPath();
void SetApplicationPath(const std::string& folder);

// The per-user data folder with the maker and product folders below it
// (owner-only rights): the folder handed over by SetPlatformDataFolder, or
// the application folder when none was. Computed afresh on each call.
std::string DataPath();
// Start-up hands over how to reach the platform's per-user product folder:
// a function that creates the maker and product folders and returns the
// product folder (native form), or empty when the platform has none. It is
// called only when DataPath is asked. nullptr forgets it.
using TDataFolderProvider = std::string (*)();
void SetPlatformDataFolder(TDataFolderProvider provider);
// Makes `folder` the data folder itself (tests, portable installs). Missing
// folders (parents included) are created owner-only; an existing folder
// keeps its rights. When it cannot be created, DataPath reports it and uses
// the platform's folder. Empty restores the platform's per-user folder.
void SetDataPathBase(const std::string& folder);

// Gives the path owner-only access rights, once per path.
void SetFolderSecurity(const std::string& path);
// How many times SetFolderSecurity changed rights (tests).
int FolderSecurityApplyCount();

// Reads a text file of the data folder; each line ends with CR LF. Empty on
// any failure.
std::string LoadDataText(const std::string& fileName);
// Writes a text file with CR LF line ends. The write goes to a temporary
// file that replaces the target only when complete, so a failure leaves the
// old file as it was. The file is owner-only from the start. Returns false
// on failure (reported as a data error).
bool SaveDataText(const std::string& text, const std::string& fileName);
bool SaveApplicationText(const std::string& text, const std::string& fileName);

// Writes bytes to a native path atomically: a temporary file beside it
// ("NAME.tmp-XXXXXX"), flushed to disk, renamed over the target, and the
// folder flushed. Killed at any moment, it leaves the old file or the new
// one (and at most its temporary file). With `ownerOnly` the file has
// owner-only rights from its first byte on. The trace's "save" event
// carries the new version's size and ContentHash.
bool WriteFileAtomic(const std::string& nativePath, const std::string& bytes, bool ownerOnly = false);
// The 64-bit FNV-1a hash of the bytes as 16 lower-case hexadecimal digits.
std::string ContentHash(std::string_view bytes);
// Deletes the temporary files WriteFileAtomic left beside that path when
// a run ended in the middle of a save.
void RemoveLeftoverTemporaries(const std::string& nativePath);
// Reads a native file whole; false when it cannot be read.
bool ReadFileBytes(const std::string& nativePath, std::string& out);

}  // namespace qv
