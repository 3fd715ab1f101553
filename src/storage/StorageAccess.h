// Typed reading and writing of attributes. Every reader takes a node that may
// be empty and answers the default then; unparsable text gives the default.
// Every writer writes only when `write` is true, so callers can skip
// defaults: WriteInt(s, "width", w, w != 0).
//
// One rule for the out-storage fallback: every reader hands the node the
// text its writer would write for the default ("yes"/"no", the decimal
// number, the enumeration name), so an attribute that is missing or holds
// exactly that text is answered by the out-storage file.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "storage/HierStorage.h"

namespace qv {

std::string ReadString(const StorageRef& s, const std::string& name, const std::string& def = {});
// The attribute passed through the language tables' text hook.
std::string ReadText(const StorageRef& s, const std::string& name, const std::string& def = {});
// "yes" and "no" exactly; anything else gives the default.
bool ReadBool(const StorageRef& s, const std::string& name, bool def);
// Decimal, or hexadecimal after a "$" (a 32-bit pattern: "$FF000000" is
// negative); blanks around the number are ignored.
int ReadInt(const StorageRef& s, const std::string& name, int def);
// "." is the decimal point whatever the locale.
double ReadFloat(const StorageRef& s, const std::string& name, double def);
// Position of the value in the "/"-separated list (exact, case-sensitive).
int ReadEnum(const StorageRef& s, const std::string& name, const std::string& list, int def);

void WriteString(const StorageRef& s, const std::string& name, const std::string& value, bool write = true);
void WriteBool(const StorageRef& s, const std::string& name, bool value, bool write = true);
void WriteInt(const StorageRef& s, const std::string& name, int value, bool write = true);
void WriteFloat(const StorageRef& s, const std::string& name, double value, bool write = true);
// Writes the name at that position; nothing when out of range.
void WriteEnum(const StorageRef& s, const std::string& name, const std::string& list, int value,
               bool write = true);

// Splits an enumeration list ("/normal/screen/...") into its names.
std::vector<std::string> SplitEnum(const std::string& list);
int EnumIndex(const std::string& list, const std::string& value, int def);

// The hook through which ReadText expands macro texts; the language tables
// install it at start-up. An empty hook passes text through.
using TTextHook = std::function<std::string(const std::string&)>;
void SetReadTextHook(TTextHook hook);

}  // namespace qv
