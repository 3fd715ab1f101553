// Parameter strings and creation strings: split and parsed with the
// separators the game uses, looked up by name, and objects created from
// the text as a creation string ("type\name=value\...").
#include <stdexcept>

#include "FuzzSupport.h"
#include "storage/ClassRegistry.h"
#include "storage/Params.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  const std::string text(fuzz::Bytes(data, size));
  (void)SplitParams(text);
  (void)SplitParams(text, ';');
  // A few lookups by name: each one parses the whole text again.
  const auto pairs = ParseParams(text);
  for (size_t i = 0; i < pairs.size() && i < 8; ++i) (void)FindParam(text, pairs[i].name);
  if (!pairs.empty()) (void)FindParam(text, pairs.back().name);
  (void)ParseParams(text, ',', ':');
  (void)FindParam(text, "file");
  try {
    (void)CreateFromString(text);
    (void)CreateFromType(text, "fuzzed");
  } catch (const std::runtime_error&) {
    // data errors end a creation at the game's loading boundary as well
  }
  return 0;
}
