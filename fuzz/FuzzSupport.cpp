#include "FuzzSupport.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <utility>

#include "app/Engine.h"
#include "app/RegisterTypes.h"
#include "storage/DataPaths.h"

namespace qv::fuzz {

namespace {

std::string& ScratchPath() {
  static std::string path;
  return path;
}

void RemoveScratch() {
  std::error_code ec;
  std::filesystem::remove_all(ScratchPath(), ec);
}

}  // namespace

void Setup() {
  if (!ScratchPath().empty()) return;
  std::string pattern = (std::filesystem::temp_directory_path() / "qvfuzz.XXXXXX").string();
  if (!::mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    std::abort();
  }
  ScratchPath() = pattern;
  std::atexit(RemoveScratch);
  std::filesystem::current_path(pattern);
  SetPackageExtension(".tgd");
  RegisterAllTypes();
}

TEngine& HeadlessEngine() {
  static TEngine* engine = [] {
    TEngine* made = new TEngine();  // never released: it outlives every run
    made->AddRef();
    made->Initialize();
    return made;
  }();
  return *engine;
}

const std::string& Scratch() {
  return ScratchPath();
}

void WriteScratchFile(const std::string& name, std::string_view bytes) {
  const std::filesystem::path path = std::filesystem::path(ScratchPath()) / name;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::pair<std::string_view, std::string_view> SplitAt(std::string_view in, std::string_view sep) {
  const size_t at = in.find(sep);
  if (at == std::string_view::npos) return {in, {}};
  return {in.substr(0, at), in.substr(at + sep.size())};
}

}  // namespace qv::fuzz
