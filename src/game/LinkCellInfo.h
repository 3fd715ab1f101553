// A possible move (two neighbouring cells and the points it is expected to
// make) and the list of them, kept strongest first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/BoardTypes.h"

namespace qv {

struct TLinkCellInfo {
  TCellPos first;
  TCellPos second;
  int32_t points = 0;

  // The pair as "c1,r1,c2,r2," (first cell first).
  std::string PairText() const;
  friend bool operator==(const TLinkCellInfo&, const TLinkCellInfo&) = default;
};

class TLinkCellInfoCollection {
public:
  // Inserts before the first entry whose points are not higher, so among
  // equal points the later insertion comes first.
  void Add(const TLinkCellInfo& info);
  // Replaces the list with these entries as if each had been added in
  // order (one sort instead of an insertion each, for long lists).
  void Assign(std::vector<TLinkCellInfo> inserted);
  void Clear() { items_.clear(); }

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  const TLinkCellInfo& operator[](int index) const { return items_[static_cast<size_t>(index)]; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

private:
  std::vector<TLinkCellInfo> items_;
};

}  // namespace qv
