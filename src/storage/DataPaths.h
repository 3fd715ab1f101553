// The data path resolver. Paths use "\" inside the program; a path names a
// file under a folder, inside a ".tgd" package standing for a folder, or in
// a "res:" block embedded in the executable. "%apppath%" expands to the
// application folder. The deepest location that has the file serves it;
// open packages are cached, and the cache never changes an answer.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "storage/Stream.h"

namespace qv {

class TResourceReader {
public:
  enum Kind { kNothing = 0, kFolder = 1, kArchive = 2 };

  // A reader for one base location (no trailing "\").
  explicit TResourceReader(std::string base);
  ~TResourceReader();
  TResourceReader(const TResourceReader&) = delete;
  TResourceReader& operator=(const TResourceReader&) = delete;

  Kind GetKind() const { return kind_; }
  const std::string& GetBase() const { return base_; }
  // The entry at the relative path ("\" separated), or empty. An entry that
  // exists but cannot be read is reported as a data error.
  std::unique_ptr<TStream> OpenEntry(const std::string& relative);

  // An open ZIP directory (shared with the cache of open packages).
  struct Archive;

private:
  std::string base_;
  Kind kind_ = kNothing;
  std::shared_ptr<Archive> archive_;
};

// Opens a data path for reading, or creates it for writing (never a "res:"
// path). Empty when it cannot be opened.
std::unique_ptr<TStream> OpenDataStream(const std::string& path, bool forReading);
// The whole content; empty when it cannot be opened or read.
std::string ReadDataFile(const std::string& path);
// Writes a whole file at a data path (never a "res:" path) atomically: the
// old file stays as it was unless the new one was written completely.
bool WriteDataFile(const std::string& path, const std::string& bytes);
// Closes the cached packages. Never needed for correct answers: a cached
// package is used only while its file is unchanged on disk.
void ResetDataPathCache();

// The extension of resource packages (".tgd" after start-up).
void SetPackageExtension(const std::string& extension);
const std::string& GetPackageExtension();

// Maps a program path ("\" separated, relative to the current directory) to
// a native path, matching components case-insensitively where the exact
// case is missing. Returns the exact-case native path when nothing matches.
std::string ToNativePath(const std::string& path);

// "res:" blocks: named read-only blocks holding a ZIP archive, embedded into
// the executable at build time and registered before use. The data must
// outlive the process (static storage).
void RegisterResourceBlock(const std::string& name, std::string_view data);
std::string_view FindResourceBlock(const std::string& name);

// Upper bound of one inflated package entry.
constexpr size_t kMaxEntrySize = 256u << 20;

}  // namespace qv
