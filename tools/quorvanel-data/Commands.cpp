#include "Commands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "core/StringUtils.h"

namespace qv::tool {

std::optional<std::string> TArgs::Option(const std::string& name) {
  std::optional<std::string> result;
  for (auto& v : Options(name)) result = std::move(v);
  return result;
}

std::vector<std::string> TArgs::Options(const std::string& name) {
  std::vector<std::string> values;
  for (size_t i = 0; i < args_.size();) {
    if (args_[i] == name) {
      if (i + 1 >= args_.size()) throw EToolError(name + " needs a value");
      values.push_back(args_[i + 1]);
      args_.erase(args_.begin() + i, args_.begin() + i + 2);
    } else if (args_[i].rfind(name + "=", 0) == 0) {
      values.push_back(args_[i].substr(name.size() + 1));
      args_.erase(args_.begin() + i);
    } else {
      ++i;
    }
  }
  return values;
}

bool TArgs::Flag(const std::string& name) {
  bool found = false;
  for (size_t i = 0; i < args_.size();) {
    if (args_[i] == name) {
      found = true;
      args_.erase(args_.begin() + i);
    } else {
      ++i;
    }
  }
  return found;
}

std::vector<std::string> TArgs::Positional() const {
  std::vector<std::string> rest;
  bool literal = false;
  for (const auto& a : args_) {
    if (!literal && a == "--") {
      literal = true;
      continue;
    }
    if (!literal && a.size() > 2 && a.rfind("--", 0) == 0) throw EToolError("unknown option " + a);
    rest.push_back(a);
  }
  return rest;
}

std::vector<std::string> TArgs::Remaining() const {
  std::vector<std::string> rest = args_;
  for (auto it = rest.begin(); it != rest.end(); ++it) {
    if (*it == "--") {
      rest.erase(it);
      break;
    }
  }
  return rest;
}

long long ParseIntArg(const std::string& text, const std::string& what) {
  // The form first (sign, then decimal digits or "$"/"0x" and hexadecimal
  // ones, any number of them), then the size: every value too large for 32
  // bits gets the same message, however many digits it has.
  size_t i = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  bool hex = false;
  if (text.compare(i, 1, "$") == 0) {
    hex = true;
    i += 1;
  } else if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
    hex = true;
    i += 2;
  }
  const auto digit = [hex](char c) {
    return hex ? std::isxdigit(static_cast<unsigned char>(c)) != 0 : c >= '0' && c <= '9';
  };
  if (i >= text.size() || !std::all_of(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(), digit))
    throw EToolError(what + " must be a whole number, not '" + text + "'");
  long long v = 0;
  const size_t significant = text.find_first_not_of('0', i);
  if (significant != std::string::npos && text.size() - significant > 10)
    throw EToolError(text + " is outside the 32-bit range");
  if (!TryParseInt(text, v) || v > 4294967295LL || v < -4294967295LL)
    throw EToolError(text + " is outside the 32-bit range");
  return v;
}

int DifficultyArg(TArgs& args) {
  const auto text = args.Option("--difficulty");
  if (!text) return 1;
  const long long d = ParseIntArg(*text, "--difficulty");
  if (d < 1 || d > 100) throw EToolError("--difficulty must be between 1 and 100");
  return static_cast<int>(d);
}

uint32_t SeedArg(const std::string& text) {
  const long long seed = ParseIntArg(text, "--seed");
  if (seed < -2147483648LL || seed > 4294967295LL) throw EToolError("--seed must fit in 32 bits");
  return static_cast<uint32_t>(seed);
}

std::string ReadInput(const std::string& path) {
  if (path.empty() || path == "-") {
    std::string data((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    if (std::cin.bad()) throw EToolError("cannot read standard input");
    return data;
  }
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) throw EToolError(path + " is a folder, not a file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EToolError("cannot read " + path);
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) throw EToolError("cannot read " + path);
  return ss.str();
}

void WriteOutput(const std::string& path, const std::string& bytes) {
  if (path.empty() || path == "-") {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
    return;
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
    throw EToolError("cannot write " + path);
}

const TCommand* TCommandTable::Find(const std::string& name) const {
  for (const auto& c : commands_)
    if (c.name == name) return &c;
  return nullptr;
}

}  // namespace qv::tool
