// The dirty region: an ordered list of rectangles that never overlap one
// another (rectangles may touch).
#pragma once

#include <vector>

#include "graphics/Rect.h"

namespace qv {

class TRegion {
public:
  // Merges r with every stored rectangle it overlaps (into their bounding
  // box, repeatedly) and appends the result. Returns the rectangle count.
  // Empty rectangles are ignored.
  int AddRect(const TRect& r);
  void Clear() { rects_.clear(); }
  bool IsEmpty() const { return rects_.empty(); }
  int Count() const { return static_cast<int>(rects_.size()); }
  const std::vector<TRect>& Rects() const { return rects_; }

private:
  std::vector<TRect> rects_;
};

}  // namespace qv
