// Small text helpers shared by every subsystem. Case rules are ASCII only:
// data keys, type names and paths in the data are ASCII.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qv {

std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
// Case-insensitive equality and three-way comparison (ASCII).
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool StartsWithText(std::string_view s, std::string_view prefix);

// Trimming removes blanks and control characters (code <= 32).
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

std::string ReplaceAll(std::string s, std::string_view from, std::string_view to);
// Replaces every occurrence of `from`, matched case-insensitively.
std::string ReplaceAllText(std::string s, std::string_view from, std::string_view to);

// Parses a whole decimal integer (optional sign, optional leading/trailing
// blanks not allowed); a leading "$" means hexadecimal. False on failure.
bool TryParseInt(std::string_view s, long long& out);

// Formats a double with up to 15 significant digits and "." as decimal point.
std::string FormatFloat(double v);

// UTF-8 to code points (a malformed sequence gives U+FFFD for its first
// byte) and back.
std::u32string DecodeUtf8(std::string_view utf8);
std::string EncodeUtf8(std::u32string_view codes);

// The lines of a text in any line-end convention, each ended by CR LF (the
// form the program writes its data files in).
std::string WithCrLf(std::string_view text);

// Case-insensitive ordering for maps keyed by data names.
struct TextLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return CompareText(a, b) < 0; }
};

}  // namespace qv
