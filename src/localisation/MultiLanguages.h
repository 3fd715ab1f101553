// The language tables: the translated strings of one language plus the
// run-time text variables, and the expansion of macro texts against them.
//
// A macro text is literal text with names between percent signs
// ("%CreateNewUser%"); "%%" stands for one percent sign. A name expands to a
// run-time variable (exact name) or else to the translated string (name
// compared case-insensitively), which is itself expanded. Chains of strings
// are cut at kMaxExpandDepth levels (deeper references expand to the empty
// text), one expansion looks up at most kMaxExpandLookups names and its
// result is cut at kMaxExpandedSize bytes, so a string that refers to
// itself can neither hang, overflow the stack nor fill the memory. Each cut
// is reported as a data error.
//
// One instance exists per process, made by StartupLanguages. The free
// functions do nothing (or return their input) without it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/StringUtils.h"

namespace qv {

class TMultiLanguages {
public:
  static constexpr int kMaxExpandDepth = 32;
  static constexpr int kMaxExpandLookups = 4096;
  // Far above any real text; a longer expansion is cut (at a UTF-8
  // character boundary).
  static constexpr size_t kMaxExpandedSize = 64 * 1024;

  // Clears the string table (variables stay), loads the default language
  // file and then "Languages\<name>.lng" on top. True when either loaded.
  bool LoadLanguage(const std::string& name);
  // Loads one language file on top of the table; false when it cannot be
  // read or parsed (reported as a data error).
  bool LoadFile(const std::string& path);
  void ClearStrings() {
    strings_.clear();
    ++generation_;
  }

  std::string ExpandText(const std::string& text, bool trim) const;
  void SetTextVariable(const std::string& name, const std::string& value);
  // A later entry of the same name replaces the earlier one (moved to the end).
  void SetString(const std::string& name, const std::string& text);
  const std::string* FindString(const std::string& name) const {
    auto it = strings_.find(name);
    return it == strings_.end() ? nullptr : &it->second;
  }
  int StringCount() const { return static_cast<int>(strings_.size()); }

  const std::string& GetLanguageId() const { return id_; }
  const std::string& GetLanguageName() const { return name_; }
  // Counts the changes of the string table (a clear, a file loaded): texts
  // computed from it are stale when it moved on.
  unsigned Generation() const { return generation_; }

private:
  enum class ELoad { kLoaded, kMissing, kDamaged };
  struct TExpansion;

  ELoad TryLoadFile(const std::string& path);
  // Appends the expansion of `text` to `out`.
  void ExpandInto(std::string& out, const std::string& text, bool trim, int depth, TExpansion& state) const;

  std::string id_;
  std::string name_;
  // Keyed case-insensitively; lookups happen for every shown text.
  std::map<std::string, std::string, TextLess> strings_;
  std::vector<std::string> varNames_;
  std::vector<std::string> varValues_;
  unsigned generation_ = 0;
};

// Creates the process's language tables (when missing), loads the default
// language, installs the ReadText hook and keeps the expanded
// "%CreateNewUser%" caption. The application folder must be current.
void StartupLanguages();
// Drops the tables and the ReadText hook (tests).
void ShutdownLanguages();
// The process's tables, or nullptr before start-up.
TMultiLanguages* Languages();

// Loads the default language and "Languages\<name>.lng" on top (the empty
// name: the default alone) and looks up the "create new user" caption again.
bool LoadLanguage(const std::string& name);
// The names of the language files of the application folder's "Languages"
// folder (file names without ".lng", any case of the extension), sorted
// ignoring case; empty without that folder.
std::vector<std::string> ListLanguages();
// Clears the table and loads one file (the data tool's --lang); creates the
// tables when missing.
bool LoadLanguageFromFile(const std::string& path);
std::string ExpandText(const std::string& text, bool trim = true);
// A text to be shown as it is through a macro text: every "%" doubled.
std::string MacroLiteral(const std::string& text);
void SetTextVariable(const std::string& name, const std::string& value);
std::string GetLanguageId();
// The tables' Generation (0 without them).
unsigned LanguageGeneration();
// The "name" of the last language file loaded ("English", "Deutsch").
std::string GetLanguageName();
// The "create new user" caption looked up at start-up.
const std::string& GetCreateNewUserText();

// Digits grouped by three with the localised "%thousand_separator%".
std::string FormatThousands(int32_t value);
// Minutes, the localised "%time_separator%", seconds padded to two digits;
// a negative time gets a leading minus ("-0:05").
std::string FormatTime(int32_t seconds);

}  // namespace qv
