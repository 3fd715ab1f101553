#include "localisation/MultiLanguages.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string_view>

#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/StringUtils.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"
#include "storage/Stream.h"
#include "storage/XMLStorage.h"

namespace qv {

namespace {
// The process's one language table, made at start-up.
std::unique_ptr<TMultiLanguages> g_languages;
std::string g_createNewUser;
}  // namespace

bool TMultiLanguages::LoadLanguage(const std::string& name) {
  ClearStrings();
  bool loaded = LoadFile(kDefaultLanguageFile);
  // Without a name the per-language file (".lng") is normally absent.
  const std::string path = ApplicationPath() + "Languages\\" + name + ".lng";
  const ELoad result = TryLoadFile(path);
  if (result == ELoad::kMissing && !name.empty())
    ReportDataError(path, "language file not found; the default strings stay");
  return result == ELoad::kLoaded || loaded;
}

bool TMultiLanguages::LoadFile(const std::string& path) {
  const ELoad result = TryLoadFile(path);
  if (result == ELoad::kMissing) ReportDataError(path, "language file not found; its strings are missing");
  return result == ELoad::kLoaded;
}

TMultiLanguages::ELoad TMultiLanguages::TryLoadFile(const std::string& path) {
  const auto stream = OpenDataStream(path, true);
  if (!stream) return ELoad::kMissing;
  const StorageRef root = LoadStorageText(stream->ReadAll());
  if (!root) {
    ReportDataError(path, "language file is not a readable storage file; its strings are missing");
    return ELoad::kDamaged;
  }
  ++generation_;
  id_ = ReadString(root, "id");
  name_ = ReadString(root, "name");
  StorageRef entries = root;
  if (root->GetChildCount("strings") > 0) entries = root->GetChild("strings", 0);
  const int count = entries->GetChildCount("string");
  for (int i = 0; i < count; ++i) {
    const StorageRef entry = entries->GetChild("string", i);
    const std::string name = ReadString(entry, "name");
    if (name.empty())
      ReportDataError(path, "string entry " + std::to_string(i + 1) + " has no name and is skipped");
    else
      SetString(name, entry->GetText());
  }
  return ELoad::kLoaded;
}

void TMultiLanguages::SetString(const std::string& name, const std::string& text) {
  strings_.erase(name);
  strings_.emplace(name, text);
}

void TMultiLanguages::SetTextVariable(const std::string& name, const std::string& value) {
  for (size_t i = 0; i < varNames_.size(); ++i) {
    if (varNames_[i] == name) {
      varNames_.erase(varNames_.begin() + static_cast<std::ptrdiff_t>(i));
      varValues_.erase(varValues_.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  varNames_.push_back(name);
  varValues_.push_back(value);
}

// What one expansion has used up, and why it was cut (each kind of cut
// reported once).
struct TMultiLanguages::TExpansion {
  enum ECut { kDepth, kLookups, kSize, kCutKinds };
  int lookups = 0;
  bool full = false;
  std::string cuts[kCutKinds];

  void Cut(ECut kind, const std::string& why) {
    if (cuts[kind].empty()) cuts[kind] = why;
  }
  // Appends as much of `piece` as the size cap allows.
  void Append(std::string& out, std::string_view piece) {
    if (full) return;
    if (out.size() + piece.size() <= kMaxExpandedSize) {
      out.append(piece);
      return;
    }
    size_t n = kMaxExpandedSize - out.size();
    // Never split a UTF-8 character: back off over continuation bytes.
    while (n > 0 && (static_cast<unsigned char>(piece[n]) & 0xC0) == 0x80) --n;
    out.append(piece.substr(0, n));
    full = true;
    Cut(kSize, "expansion longer than " + std::to_string(kMaxExpandedSize) + " bytes; cut there");
  }
};

std::string TMultiLanguages::ExpandText(const std::string& text, bool trim) const {
  std::string out;
  TExpansion state;
  ExpandInto(out, text, trim, 0, state);
  for (const std::string& cut : state.cuts) {
    if (cut.empty()) continue;
    const std::string shown = text.size() > 60 ? text.substr(0, 60) + "..." : text;
    ReportDataError("macro text \"" + shown + "\"", cut);
  }
  return out;
}

void TMultiLanguages::ExpandInto(std::string& out, const std::string& text, bool trim, int depth,
                                 TExpansion& state) const {
  const std::string_view view(text);
  size_t pos = 0;
  while (!state.full) {
    const size_t open = text.find('%', pos);
    if (open == std::string::npos) {
      state.Append(out, view.substr(pos));
      return;
    }
    state.Append(out, view.substr(pos, open - pos));
    const size_t close = text.find('%', open + 1);
    if (close == std::string::npos) {
      // An unbalanced "%" stays, with the rest of the text.
      state.Append(out, view.substr(open));
      return;
    }
    pos = close + 1;
    if (close == open + 1) {
      state.Append(out, "%");
      continue;
    }
    const std::string name = text.substr(open + 1, close - open - 1);
    bool isVariable = false;
    for (size_t i = varNames_.size(); i-- > 0;) {
      if (varNames_[i] == name) {
        state.Append(out, varValues_[i]);
        isVariable = true;
        break;
      }
    }
    if (isVariable) continue;
    const std::string* found = FindString(name);
    if (!found) continue;
    // Strings chained deeper than the limit (a string naming itself, for
    // one) and lookups beyond the budget expand to the empty text.
    if (depth >= kMaxExpandDepth) {
      state.Cut(TExpansion::kDepth,
                "string \"" + name + "\" nested deeper than " + std::to_string(kMaxExpandDepth) +
                    " levels (it refers to itself?); the deeper part expands to the empty text");
      continue;
    }
    if (++state.lookups > kMaxExpandLookups) {
      state.Cut(TExpansion::kLookups, "more than " + std::to_string(kMaxExpandLookups) +
                                          " string lookups; the remaining macros expand to the empty text");
      continue;
    }
    const size_t start = out.size();
    ExpandInto(out, *found, false, depth + 1, state);
    if (trim) {
      // Trimmed in place: blanks and control characters at both ends.
      size_t end = out.size();
      while (end > start && static_cast<unsigned char>(out[end - 1]) <= 32) --end;
      size_t begin = start;
      while (begin < end && static_cast<unsigned char>(out[begin]) <= 32) ++begin;
      out.resize(end);
      out.erase(start, begin - start);
    }
  }
}

TMultiLanguages* Languages() {
  return g_languages.get();
}

void StartupLanguages() {
  if (!g_languages) g_languages = std::make_unique<TMultiLanguages>();
  g_languages->LoadLanguage("");
  SetReadTextHook([](const std::string& text) { return ExpandText(text, true); });
  g_createNewUser = ExpandText("%CreateNewUser%", true);
}

void ShutdownLanguages() {
  SetReadTextHook(nullptr);
  g_languages.reset();
  g_createNewUser.clear();
}

bool LoadLanguage(const std::string& name) {
  if (!g_languages) return false;
  const bool loaded = g_languages->LoadLanguage(name);
  g_createNewUser = ExpandText("%CreateNewUser%", true);
  return loaded;
}

std::vector<std::string> ListLanguages() {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  const fs::path folder = fs::path(ReplaceAll(ApplicationPath(), "\\", "/")) / "Languages";
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& file = it->path();
    if (!SameText(file.extension().string(), ".lng") || file.stem().empty()) continue;
    if (it->is_regular_file(ec)) names.push_back(file.stem().string());
  }
  std::sort(names.begin(), names.end(), TextLess());
  return names;
}

bool LoadLanguageFromFile(const std::string& path) {
  if (!g_languages) g_languages = std::make_unique<TMultiLanguages>();
  g_languages->ClearStrings();
  return g_languages->LoadFile(path);
}

std::string ExpandText(const std::string& text, bool trim) {
  return g_languages ? g_languages->ExpandText(text, trim) : text;
}

std::string MacroLiteral(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) out += c == '%' ? std::string("%%") : std::string(1, c);
  return out;
}

void SetTextVariable(const std::string& name, const std::string& value) {
  if (g_languages) g_languages->SetTextVariable(name, value);
}

std::string GetLanguageId() {
  return g_languages ? g_languages->GetLanguageId() : std::string();
}

unsigned LanguageGeneration() {
  return g_languages ? g_languages->Generation() : 0;
}

std::string GetLanguageName() {
  return g_languages ? g_languages->GetLanguageName() : std::string();
}

const std::string& GetCreateNewUserText() {
  return g_createNewUser;
}

std::string FormatThousands(int32_t value) {
  const long long v = value;
  const std::string digits = std::to_string(v < 0 ? -v : v);
  // Markers first, then the separator, so a separator containing digits or
  // "|" cannot confuse the grouping.
  std::string marked;
  const size_t n = digits.size();
  for (size_t i = 0; i < n; ++i) {
    marked += digits[i];
    const size_t left = n - 1 - i;
    if (left > 0 && left % 3 == 0) marked += '|';
  }
  std::string result;
  const std::string separator = ExpandText("%thousand_separator%", false);
  for (char c : marked) {
    if (c == '|')
      result += separator;
    else
      result += c;
  }
  return v < 0 ? "-" + result : result;
}

std::string FormatTime(int32_t seconds) {
  // A negative time is the time of its absolute value after a minus sign
  // ("-1:05"), as in FormatThousands; the parts never carry signs of their own.
  const long long v = seconds;
  const long long a = v < 0 ? -v : v;
  std::string secs = std::to_string(a % 60);
  if (secs.size() < 2) secs = "0" + secs;
  const std::string text = std::to_string(a / 60) + ExpandText("%time_separator%", false) + secs;
  return v < 0 ? "-" + text : text;
}

}  // namespace qv
