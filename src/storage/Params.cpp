#include "storage/Params.h"

#include "core/StringUtils.h"

namespace qv {

std::vector<std::string> SplitParams(std::string_view input, char sep) {
  std::vector<std::string> items;
  std::string rest = Trim(input);
  for (;;) {
    size_t end = rest.find(sep);
    if (end == std::string::npos) break;
    const size_t brace = rest.find('{');
    if (brace != std::string::npos && brace < end) {
      // The item runs to the first separator after the matching "}".
      int depth = 0;
      size_t close = std::string::npos;
      for (size_t i = brace; i < rest.size(); ++i) {
        if (rest[i] == '{')
          ++depth;
        else if (rest[i] == '}' && --depth == 0) {
          close = i;
          break;
        }
      }
      if (close != std::string::npos) end = rest.find(sep, close);
      if (end == std::string::npos) break;  // the rest is one item
    }
    if (end > 0) items.push_back(rest.substr(0, end));
    rest.erase(0, end + 1);
  }
  if (!rest.empty()) items.push_back(rest);
  return items;
}

std::vector<TParamPair> ParseParams(std::string_view text, char sep, char eq) {
  std::vector<TParamPair> pairs;
  for (const std::string& item : SplitParams(text, sep)) {
    const size_t p = item.find(eq);
    if (p == std::string::npos) continue;
    TParamPair pair{TrimRight(item.substr(0, p)), TrimLeft(item.substr(p + 1))};
    if (pair.value.size() >= 2 && pair.value.front() == '{' && pair.value.back() == '}')
      pair.value = pair.value.substr(1, pair.value.size() - 2);
    pairs.push_back(std::move(pair));
  }
  return pairs;
}

std::optional<std::string> FindParam(std::string_view text, std::string_view name, char sep, char eq) {
  for (auto& pair : ParseParams(text, sep, eq))
    if (SameText(pair.name, name)) return std::move(pair.value);
  return std::nullopt;
}

}  // namespace qv
