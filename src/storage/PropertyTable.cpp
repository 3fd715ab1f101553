#include "storage/PropertyTable.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "core/Diagnostics.h"
#include "core/Parsing.h"
#include "core/StringUtils.h"
#include "storage/StorageAccess.h"

namespace qv {

namespace property_detail {

namespace {
char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
}  // namespace

size_t TextHash::operator()(std::string_view s) const noexcept {
  size_t h = 14695981039346656037ull;  // FNV-1a over the lower-case text
  for (char c : s) h = (h ^ static_cast<unsigned char>(Lower(c))) * 1099511628211ull;
  return h;
}

bool TextEqual::operator()(std::string_view a, std::string_view b) const noexcept {
  return SameText(a, b);
}

}  // namespace property_detail

namespace {

// A colour text: decimal or "$" hexadecimal, signed or unsigned 32-bit.
bool ParseColour(const std::string& text, long long& colour) {
  long long v = 0;
  if (!TryParseInt(text, v) || v < INT32_MIN || v > static_cast<long long>(UINT32_MAX)) return false;
  colour = static_cast<long long>(static_cast<uint32_t>(v));
  return true;
}

const char* KindName(EPropertyKind kind) {
  switch (kind) {
    case EPropertyKind::kBool:
      return "\"yes\" or \"no\"";
    case EPropertyKind::kInt:
      return "an integer";
    case EPropertyKind::kFloat:
      return "a number";
    case EPropertyKind::kEnum:
      return "one of the names";
    case EPropertyKind::kColour:
      return "a colour";
    default:
      return "text";
  }
}

bool Parses(const TPropertyInfo& info, const std::string& text) {
  switch (info.kind) {
    case EPropertyKind::kBool:
      return text == "yes" || text == "no";
    case EPropertyKind::kInt: {
      long long v = 0;
      return TryParseInt(text, v) && v >= INT_MIN && v <= INT_MAX;
    }
    case EPropertyKind::kFloat:
      return !std::isnan(ParseFloat(text, NAN));
    case EPropertyKind::kEnum:
      return EnumIndex(info.enumNames, text, -1) >= 0;
    case EPropertyKind::kColour: {
      long long v = 0;
      return ParseColour(text, v);
    }
    default:
      return true;
  }
}

}  // namespace

TVariant PropertyValue(EPropertyKind kind, const TVariant& value) {
  switch (kind) {
    case EPropertyKind::kBool:
      return VarToBool(value);
    case EPropertyKind::kInt:
    case EPropertyKind::kEnum:
      return VarToInt(value);
    case EPropertyKind::kFloat:
      return VarToFloat(value);
    case EPropertyKind::kColour:
      return static_cast<long long>(static_cast<uint32_t>(VarToInt(value)));
    default:
      return VarToString(value);
  }
}

TVariant ReadPropertyValue(const TPropertyInfo& info, const StorageRef& storage) {
  if (info.read) return PropertyValue(info.kind, info.read(storage, info.key));
  if (storage) {
    const std::string text = storage->ReadAttr(info.key, "");
    if (!text.empty() && !Parses(info, text))
      ReportDataError(storage->GetNodeName() + "@" + info.key,
                      "'" + text + "' is not " + KindName(info.kind) + "; the default '" +
                          VarToString(PublicPropertyValue(info, info.def)) + "' is used");
  }
  const TVariant& def = info.def;
  switch (info.kind) {
    case EPropertyKind::kString:
      return ReadString(storage, info.key, VarToString(def));
    case EPropertyKind::kText:
      return ReadText(storage, info.key, VarToString(def));
    case EPropertyKind::kBool:
      return ReadBool(storage, info.key, VarToBool(def));
    case EPropertyKind::kInt:
      return static_cast<long long>(ReadInt(storage, info.key, static_cast<int>(VarToInt(def))));
    case EPropertyKind::kFloat:
      return ReadFloat(storage, info.key, VarToFloat(def));
    case EPropertyKind::kEnum:
      return static_cast<long long>(
          ReadEnum(storage, info.key, info.enumNames, static_cast<int>(VarToInt(def))));
    case EPropertyKind::kColour: {
      long long colour = 0;
      return ParseColour(ReadString(storage, info.key, ""), colour) ? colour : VarToInt(def);
    }
  }
  return def;
}

void WritePropertyValue(const TPropertyInfo& info, const StorageRef& storage, const TVariant& value) {
  switch (info.kind) {
    case EPropertyKind::kString:
    case EPropertyKind::kText:
      WriteString(storage, info.key, VarToString(value));
      break;
    case EPropertyKind::kBool:
      WriteBool(storage, info.key, VarToBool(value));
      break;
    case EPropertyKind::kInt:
      WriteInt(storage, info.key, static_cast<int>(VarToInt(value)));
      break;
    case EPropertyKind::kFloat:
      WriteFloat(storage, info.key, VarToFloat(value));
      break;
    case EPropertyKind::kEnum:
      WriteEnum(storage, info.key, info.enumNames, static_cast<int>(VarToInt(value)));
      break;
    case EPropertyKind::kColour: {
      const auto colour = static_cast<uint32_t>(VarToInt(value));
      if (info.hex) {
        char text[10];
        std::snprintf(text, sizeof text, "$%08X", colour);
        WriteString(storage, info.key, text);
      } else {
        WriteInt(storage, info.key, static_cast<int32_t>(colour));
      }
      break;
    }
  }
}

bool ShouldWriteProperty(const TPropertyInfo& info, const TVariant& value) {
  switch (info.write) {
    case EWriteRule::kAlways:
      return true;
    case EWriteRule::kWhenTrue:
      return VarToBool(value);
    case EWriteRule::kNever:
      return false;
    default:
      return value != info.def;
  }
}

TVariant PublicPropertyValue(const TPropertyInfo& info, const TVariant& value) {
  if (info.kind == EPropertyKind::kColour)
    return static_cast<long long>(static_cast<int32_t>(static_cast<uint32_t>(VarToInt(value))));
  return value;
}

TVariant AssignedPropertyValue(const TPropertyInfo& info, const TVariant& value, const TVariant& current) {
  switch (info.kind) {
    case EPropertyKind::kBool:
      return VarToBool(value, VarToBool(current));
    case EPropertyKind::kInt:
      return VarToInt(value, VarToInt(current));
    case EPropertyKind::kFloat:
      return VarToFloat(value, VarToFloat(current));
    case EPropertyKind::kEnum: {
      // A name of the list, or the position itself.
      if (const auto* text = std::get_if<std::string>(&value)) {
        const int index = EnumIndex(info.enumNames, *text, -1);
        if (index >= 0) return static_cast<long long>(index);
      }
      return VarToInt(value, VarToInt(current));
    }
    case EPropertyKind::kColour: {
      long long colour = 0;
      if (const auto* text = std::get_if<std::string>(&value))
        return ParseColour(*text, colour) ? colour : current;
      return PropertyValue(info.kind, VarToInt(value, VarToInt(current)));
    }
    default:
      return VarToString(value);
  }
}

}  // namespace qv
