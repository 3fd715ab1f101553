#include "storage/StorageAccess.h"

#include "core/Parsing.h"
#include "core/ProcessContext.h"
#include "core/StringUtils.h"
#include "storage/Params.h"

namespace qv {

// Every reader asks the node with the text its writer would write for the
// default, so "the element holds exactly the default" (and the out-storage
// fallback it triggers) means the same for every type.

void SetReadTextHook(TTextHook hook) {
  ProcessContext().textHook = std::move(hook);
}

std::string ReadString(const StorageRef& s, const std::string& name, const std::string& def) {
  return s ? s->ReadAttr(name, def) : def;
}

std::string ReadText(const StorageRef& s, const std::string& name, const std::string& def) {
  const std::string value = ReadString(s, name, def);
  const auto& hook = ProcessContext().textHook;
  return hook ? hook(value) : value;
}

bool ReadBool(const StorageRef& s, const std::string& name, bool def) {
  if (!s) return def;
  const std::string v = s->ReadAttr(name, def ? "yes" : "no");
  if (v == "yes") return true;
  if (v == "no") return false;
  return def;
}

int ReadInt(const StorageRef& s, const std::string& name, int def) {
  if (!s) return def;
  return ParseIntDefault(s->ReadAttr(name, std::to_string(def)), def);
}

double ReadFloat(const StorageRef& s, const std::string& name, double def) {
  return s ? ParseFloat(s->ReadAttr(name, FormatFloat(def)), def) : def;
}

std::vector<std::string> SplitEnum(const std::string& list) {
  return SplitParams(list, '/');
}

int EnumIndex(const std::string& list, const std::string& value, int def) {
  const auto names = SplitEnum(list);
  for (size_t i = 0; i < names.size(); ++i)
    if (names[i] == value) return static_cast<int>(i);
  return def;
}

int ReadEnum(const StorageRef& s, const std::string& name, const std::string& list, int def) {
  if (!s) return def;
  const auto names = SplitEnum(list);
  const std::string defText =
      def >= 0 && def < static_cast<int>(names.size()) ? names[static_cast<size_t>(def)] : "";
  const std::string v = s->ReadAttr(name, defText);
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
  if (value >= 0 && value < static_cast<int>(names.size()))
    WriteString(s, name, names[static_cast<size_t>(value)], write);
}

}  // namespace qv
