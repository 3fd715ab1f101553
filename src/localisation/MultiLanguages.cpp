#include "localisation/MultiLanguages.h"

#include <memory>

#include "core/Constants.h"
#include "core/Folders.h"
#include "core/StringUtils.h"
#include "storage/StorageAccess.h"
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
  loaded = LoadFile(ApplicationPath() + "Languages\\" + name + ".lng") || loaded;
  return loaded;
}

bool TMultiLanguages::LoadFile(const std::string& path) {
  const StorageRef root = LoadStorageFile(path);
  if (!root) return false;
  id_ = ReadString(root, "id");
  name_ = ReadString(root, "name");
  StorageRef entries = root;
  if (root->GetChildCount("strings") > 0) entries = root->GetChild("strings", 0);
  const int count = entries->GetChildCount("string");
  for (int i = 0; i < count; ++i) {
    const StorageRef entry = entries->GetChild("string", i);
    const std::string name = ReadString(entry, "name");
    if (!name.empty()) SetString(name, entry->GetText());
  }
  return true;
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

std::string TMultiLanguages::ExpandText(const std::string& text, bool trim) const {
  int lookups = 0;
  return Expand(text, trim, 0, lookups);
}

std::string TMultiLanguages::Expand(const std::string& text, bool trim, int depth, int& lookups) const {
  std::string result;
  size_t pos = 0;
  for (;;) {
    const size_t open = text.find('%', pos);
    if (open == std::string::npos) {
      result.append(text, pos);
      break;
    }
    result.append(text, pos, open - pos);
    const size_t close = text.find('%', open + 1);
    if (close == std::string::npos) {
      // An unbalanced "%" stays, with the rest of the text.
      result.append(text, open);
      break;
    }
    pos = close + 1;
    if (close == open + 1) {
      result += '%';
      continue;
    }
    const std::string name = text.substr(open + 1, close - open - 1);
    bool isVariable = false;
    for (size_t i = varNames_.size(); i-- > 0;) {
      if (varNames_[i] == name) {
        result += varValues_[i];
        isVariable = true;
        break;
      }
    }
    if (isVariable) continue;
    // Strings chained deeper than the limit (a string naming itself, for
    // one) and lookups beyond the budget expand to the empty text.
    if (depth >= kMaxExpandDepth || ++lookups > kMaxExpandLookups) continue;
    if (const std::string* found = FindString(name)) {
      const std::string expanded = Expand(*found, false, depth + 1, lookups);
      result += trim ? Trim(expanded) : expanded;
    }
  }
  return result;
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
  return g_languages && g_languages->LoadLanguage(name);
}

bool LoadLanguageFromFile(const std::string& path) {
  if (!g_languages) g_languages = std::make_unique<TMultiLanguages>();
  g_languages->ClearStrings();
  return g_languages->LoadFile(path);
}

std::string ExpandText(const std::string& text, bool trim) {
  return g_languages ? g_languages->ExpandText(text, trim) : text;
}

void SetTextVariable(const std::string& name, const std::string& value) {
  if (g_languages) g_languages->SetTextVariable(name, value);
}

std::string GetLanguageId() {
  return g_languages ? g_languages->GetLanguageId() : std::string();
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
