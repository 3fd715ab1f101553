// Language files with macro expansion: the input is a language file loaded
// over the default strings, then every string is expanded by name, and the
// file's own text as a macro text, with a run-time variable set.
#include "FuzzSupport.h"
#include "localisation/MultiLanguages.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  const std::string_view bytes = fuzz::Bytes(data, size);
  fuzz::WriteScratchFile("lang.lng", bytes);
  TMultiLanguages languages;
  languages.SetString("thousand_separator", ",");
  languages.SetTextVariable("Player", "%Player%%Player%");
  languages.SetTextVariable("Score", "100");
  if (!languages.LoadFile("lang.lng")) return 0;
  static const char* const kNames[] = {
      "%CreateNewUser%", "%thousand_separator%", "%a%", "%b%%a%%%", "%Player%", "%loop%"};
  for (const char* name : kNames) {
    const std::string out = languages.ExpandText(name, true);
    if (out.size() > TMultiLanguages::kMaxExpandedSize) __builtin_trap();
  }
  const std::string text(bytes.substr(0, 1024));
  (void)languages.ExpandText(text, false);
  (void)languages.ExpandText(text, true);
  return 0;
}
