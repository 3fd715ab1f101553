// Shared helpers of the fuzz targets: a private scratch folder that is the
// current directory (so data paths stay inside it), the type registration
// the game does at start-up, and small readers of the input bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {
class TEngine;
}  // namespace qv

namespace qv::fuzz {

// Creates the scratch folder once per process and makes it current; the
// type registry is filled as the game fills it. Safe to call every run.
void Setup();

// An engine without a window, made once and kept for the process (as the
// game keeps its own): surfaces, the update region, options.
TEngine& HeadlessEngine();
// The scratch folder (native path, no trailing "/").
const std::string& Scratch();
// Writes bytes to a file of the scratch folder (relative name, "/" separated).
void WriteScratchFile(const std::string& name, std::string_view bytes);

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Splits the input at the first occurrence of `sep`: the part before and the
// part after (everything and nothing when `sep` does not occur).
std::pair<std::string_view, std::string_view> SplitAt(std::string_view in, std::string_view sep);

}  // namespace qv::fuzz
