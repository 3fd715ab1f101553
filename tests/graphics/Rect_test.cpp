#include "graphics/Rect.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace qv {
namespace {

TEST(Rect, FromSizeAddsTheSize) {
  EXPECT_EQ(TRect::FromSize(3, -2, 5, 4), (TRect{3, -2, 8, 2}));
  EXPECT_EQ(TRect::FromSize(3, 0, 5, 4).Width(), 5);
  EXPECT_EQ(TRect::FromSize(-7, 0, -3, 0), (TRect{-7, 0, -10, 0}));
}

TEST(Rect, FromSizeSaturatesInsteadOfOverflowing) {
  // Sizes and positions come from data (a font symbol's "left" and
  // "width"): the far edge stops at the int range, the width shrinks.
  const TRect r = TRect::FromSize(2147483647, 2147483000, 10, 1000);
  EXPECT_EQ(r, (TRect{2147483647, 2147483000, 2147483647, 2147483647}));
  EXPECT_EQ(r.Width(), 0);
  EXPECT_EQ(r.Height(), 647);
  EXPECT_EQ(TRect::FromSize(INT32_MIN, INT32_MIN, -1, INT32_MIN),
            (TRect{INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN}));
  EXPECT_EQ(TRect::FromSize(INT32_MIN, 0, INT32_MAX, 0).right, -1);
}

TEST(Rect, IntersectionAndBoundingBox) {
  const TRect a{0, 0, 10, 10}, b{5, 5, 20, 20}, touching{10, 0, 20, 10};
  EXPECT_EQ(Intersect(a, b), (TRect{5, 5, 10, 10}));
  EXPECT_FALSE(Intersects(a, touching)) << "touching is not overlapping";
  EXPECT_EQ(BoundingBox(a, touching), (TRect{0, 0, 20, 10}));
}

}  // namespace
}  // namespace qv
