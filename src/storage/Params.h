// Parameter strings: name=value items joined by a separator ("\" almost
// everywhere), values optionally wrapped in braces, which may nest. There is
// no escape character: a literal separator or "=" only appears inside braces.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qv {

struct TParamPair {
  std::string name;
  std::string value;
};

// Items of the text, empty items dropped.
std::vector<std::string> SplitParams(std::string_view text, char sep = '\\');
// (name, value) pairs; items without `eq` give no pair. One outer pair of
// braces around a value is removed.
std::vector<TParamPair> ParseParams(std::string_view text, char sep = '\\', char eq = '=');
// The value of the first pair whose name matches case-insensitively.
std::optional<std::string> FindParam(std::string_view text, std::string_view name, char sep = '\\',
                                     char eq = '=');

}  // namespace qv
