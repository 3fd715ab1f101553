#include "graphics/Region.h"

namespace qv {

int TRegion::AddRect(const TRect& rect) {
  if (rect.IsEmpty()) return Count();
  TRect r = rect;
  bool merged = true;
  while (merged) {
    merged = false;
    for (size_t i = 0; i < rects_.size(); ++i) {
      if (Intersects(rects_[i], r)) {
        r = BoundingBox(rects_[i], r);
        rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(i));
        merged = true;
        break;
      }
    }
  }
  rects_.push_back(r);
  return Count();
}

}  // namespace qv
