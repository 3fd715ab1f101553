#include "storage/Params.h"

#include "core/StringUtils.h"

namespace qv {

std::vector<std::string> SplitParams(std::string_view input, char sep) {
  const std::string text = Trim(input);
  // Each "{" is matched once, up front (a stack gives every "{" the first
  // "}" that closes it), so a long hostile string splits in linear time.
  std::vector<std::pair<size_t, size_t>> braces;  // position of "{", of its "}" (npos: none)
  std::vector<size_t> open;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{') {
      open.push_back(braces.size());
      braces.emplace_back(i, std::string::npos);
    } else if (text[i] == '}' && !open.empty()) {
      braces[open.back()].second = i;
      open.pop_back();
    }
  }
  std::vector<std::string> items;
  size_t start = 0;
  size_t next = 0;  // the first brace at or after start
  for (;;) {
    size_t end = text.find(sep, start);
    if (end == std::string::npos) break;
    while (next < braces.size() && braces[next].first < start) ++next;
    if (next < braces.size() && braces[next].first < end) {
      // The item runs to the first separator after the matching "}".
      const size_t close = braces[next].second;
      if (close != std::string::npos) end = text.find(sep, close);
      if (end == std::string::npos) break;  // the rest is one item
    }
    if (end > start) items.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (start < text.size()) items.push_back(text.substr(start));
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
