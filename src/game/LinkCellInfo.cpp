#include "game/LinkCellInfo.h"

#include <algorithm>
#include <charconv>

namespace qv {

std::string CellsToText(const TCellList& cells) {
  std::string text;
  for (const auto& cell : cells) {
    text += std::to_string(cell.col);
    text += ',';
    text += std::to_string(cell.row);
    text += ',';
  }
  return text;
}

namespace {
int32_t ReadNumber(std::string_view& text) {
  const size_t comma = text.find(',');
  std::string_view item = text.substr(0, comma);
  text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  while (!item.empty() && static_cast<unsigned char>(item.front()) <= ' ') item.remove_prefix(1);
  while (!item.empty() && static_cast<unsigned char>(item.back()) <= ' ') item.remove_suffix(1);
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), value);
  if (item.empty() || ec != std::errc() || end != item.data() + item.size()) return -1;
  return value;
}
}  // namespace

TCellList CellsFromText(std::string_view text) {
  TCellList cells;
  while (!text.empty()) {
    TCellPos cell;
    cell.col = ReadNumber(text);
    cell.row = ReadNumber(text);
    cells.push_back(cell);
  }
  return cells;
}

std::string TLinkCellInfo::PairText() const {
  return CellsToText({first, second});
}

void TLinkCellInfoCollection::Add(const TLinkCellInfo& info) {
  const auto at = std::partition_point(items_.begin(), items_.end(),
                                       [&](const TLinkCellInfo& e) { return e.points > info.points; });
  items_.insert(at, info);
}

void TLinkCellInfoCollection::Assign(std::vector<TLinkCellInfo> inserted) {
  // Later insertions go before equal points: reverse, then a stable sort.
  std::reverse(inserted.begin(), inserted.end());
  std::stable_sort(inserted.begin(), inserted.end(),
                   [](const TLinkCellInfo& a, const TLinkCellInfo& b) { return a.points > b.points; });
  items_ = std::move(inserted);
}

}  // namespace qv
