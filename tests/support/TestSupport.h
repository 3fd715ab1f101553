// Shared helpers of the tests: temporary folders and small files.
#pragma once

#include <filesystem>
#include <string>

namespace qv::test {

// A fresh folder below the system's temporary folder, removed with the object.
class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // Native path of a file below the folder ("a/b.txt").
  std::string File(const std::string& relative) const { return (path_ / relative).string(); }
  // Writes a file below the folder, creating its folders.
  void Write(const std::string& relative, const std::string& bytes) const;

private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::string& nativePath);

// Sets the current directory for the lifetime of the object.
class ScopedCurrentDir {
public:
  explicit ScopedCurrentDir(const std::filesystem::path& dir);
  ~ScopedCurrentDir();

private:
  std::filesystem::path old_;
};

}  // namespace qv::test
