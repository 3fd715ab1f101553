// Integer rectangles and points of the drawing code. Right and bottom are
// exclusive.
#pragma once

#include <algorithm>
#include <cstdint>

namespace qv {

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  // Right and bottom saturate at the int range, so sizes from data never
  // overflow.
  static TRect FromSize(int x, int y, int w, int h) { return {x, y, Saturated(x, w), Saturated(y, h)}; }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  friend bool operator==(const TRect&, const TRect&) = default;

private:
  static int Saturated(int a, int b) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{a} + b, INT32_MIN, INT32_MAX));
  }
};

// The common part of two rectangles (empty when they only touch).
inline TRect Intersect(const TRect& a, const TRect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}
inline bool Intersects(const TRect& a, const TRect& b) {
  return !Intersect(a, b).IsEmpty();
}
// The smallest rectangle holding both.
inline TRect BoundingBox(const TRect& a, const TRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace qv
