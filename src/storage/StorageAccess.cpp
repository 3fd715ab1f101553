#include "storage/StorageAccess.h"

#include <climits>

#include "core/Parsing.h"
#include "core/StringUtils.h"
#include "storage/Params.h"

namespace qv {

namespace {
TTextHook& Hook() {
  static TTextHook hook;  // installed by the language tables
  return hook;
}
}  // namespace

void SetReadTextHook(TTextHook hook) { Hook() = std::move(hook); }

std::string ReadString(const StorageRef& s, const std::string& name, const std::string& def) {
  return s ? s->ReadAttr(name, def) : def;
}

std::string ReadText(const StorageRef& s, const std::string& name, const std::string& def) {
  const std::string value = ReadString(s, name, def);
  return Hook() ? Hook()(value) : value;
}

bool ReadBool(const StorageRef& s, const std::string& name, bool def) {
  if (!s) return def;
  const std::string v = s->ReadAttr(name, "");
  if (v == "yes") return true;
  if (v == "no") return false;
  return def;
}

int ReadInt(const StorageRef& s, const std::string& name, int def) {
  if (!s) return def;
  long long v;
  if (!TryParseInt(s->ReadAttr(name, ""), v) || v < INT_MIN || v > INT_MAX) return def;
  return static_cast<int>(v);
}

double ReadFloat(const StorageRef& s, const std::string& name, double def) {
  return s ? ParseFloat(s->ReadAttr(name, ""), def) : def;
}

std::vector<std::string> SplitEnum(const std::string& list) { return SplitParams(list, '/'); }

int EnumIndex(const std::string& list, const std::string& value, int def) {
  const auto names = SplitEnum(list);
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == value) return static_cast<int>(i);
  return def;
}

int ReadEnum(const StorageRef& s, const std::string& name, const std::string& list, int def) {
  if (!s) return def;
  const std::string v = s->ReadAttr(name, "");
  return v.empty() ? def : EnumIndex(list, v, def);
}

void WriteString(const StorageRef& s, const std::string& name, const std::string& value, bool write) {
  if (s && write) s->WriteAttr(name, value);
}

void WriteBool(const StorageRef& s, const std::string& name, bool value, bool write) {
  WriteString(s, name, value ? "yes" : "no", write);
}

void WriteInt(const StorageRef& s, const std::string& name, int value, bool write) {
  WriteString(s, name, std::to_string(value), write);
}

void WriteFloat(const StorageRef& s, const std::string& name, double value, bool write) {
  WriteString(s, name, FormatFloat(value), write);
}

void WriteEnum(const StorageRef& s, const std::string& name, const std::string& list, int value, bool write) {
  const auto names = SplitEnum(list);
  if (value >= 0 && value < static_cast<int>(names.size())) WriteString(s, name, names[static_cast<size_t>(value)], write);
}

}  // namespace qv
