// Shared helpers of the player-data tests: a temporary data folder and the
// files in it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/Folders.h"
#include "storage/Cipher.h"
#include "support/TestSupport.h"

namespace qv::test {

class PlayerDataFolder {
public:
  // The data folder as the program names it ("\" at the end).
  std::string Folder() const { return ReplaceSlashes(dir.Path().string()) + "\\"; }
  std::string File(const std::string& name) const { return dir.File(name); }
  bool Exists(const std::string& name) const { return std::filesystem::exists(dir.File(name)); }
  std::string Read(const std::string& name) const { return ReadFile(dir.File(name)); }
  void Write(const std::string& name, const std::string& bytes) const { dir.Write(name, bytes); }
  // The file's text deciphered with `key` (without its line end).
  std::string Deciphered(const std::string& name, const std::string& key) const {
    return DecipherFromHex(Read(name), key);
  }
  // The names of the folder's files, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;

private:
  static std::string ReplaceSlashes(std::string s) {
    for (char& c : s)
      if (c == '/') c = '\\';
    return s;
  }
};

}  // namespace qv::test
