#include "graphics/Surface.h"

#include <gtest/gtest.h>

#include <map>

namespace qv {
namespace {

// A surface whose pixel (x, y) is 0xFF000000 | (y << 8) | x.
Ref<TSurface> Numbered(int w, int h, bool alpha = false) {
  auto s = MakeRef<TSurface>(w, h, alpha);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s->PixelAt(x, y) = 0xFF000000u | (static_cast<uint32_t>(y) << 8) | x;
  return s;
}

TEST(SurfaceBasics, SizeAndPixelAccess) {
  const Ref<TSurface> sRef = MakeRef<TSurface>(4, 3);
  TSurface& s = *sRef;
  EXPECT_EQ(s.GetWidth(), 4);
  EXPECT_EQ(s.GetPixel(3, 2), 0u);
  s.SetPixel(1, 1, 0x00123456u);
  EXPECT_EQ(s.GetPixel(1, 1), 0xFF123456u) << "no alpha flag forces alpha 255";
  s.SetHasAlpha(true);
  s.SetPixel(2, 1, 0x10123456u);
  EXPECT_EQ(s.GetPixel(2, 1), 0x10123456u);
  s.SetPixel(-1, 0, 1);
  s.SetPixel(4, 0, 1);
  EXPECT_EQ(s.GetPixel(-1, 0), 0u);
  EXPECT_EQ(s.GetPixel(4, 0), 0u);
  EXPECT_EQ(s.GetScanLine(3), nullptr);
  s.SetClip(true, {0, 0, 1, 1});
  s.SetPixel(3, 2, 7);
  EXPECT_EQ(s.GetPixel(3, 2), 0u) << "outside the clip";
  s.Clear();
  EXPECT_EQ(s.GetPixel(1, 1), 0u);
  s.SetSize(0, 0);
  EXPECT_EQ(s.GetScanLine(0), nullptr);
}

TEST(SurfaceBasics, AbsurdSizesLeaveTheSurfaceEmpty) {
  const Ref<TSurface> sRef = MakeRef<TSurface>(100000, 100000);
  TSurface& s = *sRef;
  EXPECT_EQ(s.GetWidth(), 0);
  s.SetSize(-3, 5);
  EXPECT_EQ(s.GetHeight(), 0);
  EXPECT_FALSE(s.Draw(Numbered(2, 2).get(), {0, 0, 2, 2}, 0, 255, {0, 0, 2, 2}));
}

TEST(SurfaceClipping, NegativeDestinationDrawsFromSourceOffset) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(20, 20);
  TSurface& d = *dRef;
  auto src = Numbered(10, 10);
  ASSERT_TRUE(d.Draw(src.get(), {0, 0, 10, 10}, 0, 255, {-5, 0, 5, 10}));
  EXPECT_EQ(d.GetPixel(0, 0), src->GetPixel(5, 0));
  EXPECT_EQ(d.GetPixel(4, 9), src->GetPixel(9, 9));
  EXPECT_EQ(d.GetPixel(5, 0), 0u);
}

TEST(SurfaceClipping, ClipRectangleAndBoundsShapeTheCopy) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(10, 10);
  TSurface& d = *dRef;
  TBlitRect b;
  d.SetClip(true, {2, 3, 6, 8});
  ASSERT_TRUE(d.ClipRects(10, 10, {0, 0, 10, 10}, {0, 0, 10, 10}, b));
  EXPECT_EQ(b.dx, 2);
  EXPECT_EQ(b.sx, 2);
  EXPECT_EQ(b.dy, 3);
  EXPECT_EQ(b.sy, 3);
  EXPECT_EQ(b.width, 4);
  EXPECT_EQ(b.height, 5);
  d.SetClip(false, {});
  // The smaller of source and destination, then the source's own bounds.
  ASSERT_TRUE(d.ClipRects(4, 4, {-2, 1, 6, 3}, {1, 1, 9, 9}, b));
  EXPECT_EQ(b.dx, 3);
  EXPECT_EQ(b.sx, 0);
  EXPECT_EQ(b.width, 4);
  EXPECT_EQ(b.height, 2);
  EXPECT_FALSE(d.ClipRects(4, 4, {0, 0, 4, 4}, {10, 0, 14, 4}, b));
  EXPECT_FALSE(d.ClipRects(4, 4, {4, 0, 8, 4}, {0, 0, 4, 4}, b));
  EXPECT_FALSE(d.ClipRects(4, 4, {0, 0, 4, 4}, {2147483000, 0, 2147483647, 4}, b));
}

TEST(SurfaceClipping, OpacityZeroAndMissingSourceDrawNothing) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(4, 4);
  TSurface& d = *dRef;
  auto src = Numbered(4, 4);
  EXPECT_FALSE(d.Draw(src.get(), {0, 0, 4, 4}, 0, 0, {0, 0, 4, 4}));
  EXPECT_FALSE(d.Draw(nullptr, {0, 0, 4, 4}, 0, 255, {0, 0, 4, 4}));
  EXPECT_FALSE(d.Draw(src.get(), {0, 0, 4, 4}, 9, 255, {0, 0, 4, 4}));
  EXPECT_EQ(d.GetPixel(1, 1), 0u);
}

TEST(DirtyRegion, OverlappingRectanglesMergeTouchingOnesDoNot) {
  const Ref<TSurface> sRef = MakeRef<TSurface>(50, 50);
  TSurface& s = *sRef;
  EXPECT_EQ(s.AddDirtyRect({0, 0, 10, 10}), 1);
  EXPECT_EQ(s.AddDirtyRect({5, 5, 20, 20}), 1);
  EXPECT_EQ(s.GetDirtyRegion().Rects()[0], (TRect{0, 0, 20, 20}));
  EXPECT_EQ(s.AddDirtyRect({20, 0, 30, 10}), 2);
  // A rectangle bridging both swallows them, repeatedly.
  EXPECT_EQ(s.AddDirtyRect({15, 5, 25, 6}), 1);
  EXPECT_EQ(s.GetDirtyRegion().Rects()[0], (TRect{0, 0, 30, 20}));
  s.SetClip(true, {0, 0, 50, 50});
  s.ClearDirtyRegion();
  EXPECT_TRUE(s.GetDirtyRegion().IsEmpty());
  EXPECT_FALSE(s.GetClipEnabled());
}

TEST(DirtyRegion, RegionClippingDrawsOnlyInsideStoredRectangles) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(20, 4);
  TSurface& d = *dRef;
  auto src = Numbered(20, 4);
  d.AddDirtyRect({0, 0, 3, 4});
  d.AddDirtyRect({10, 0, 12, 4});
  d.SetClip(true, {0, 0, 20, 4});
  EXPECT_TRUE(d.Draw(src.get(), {0, 0, 20, 4}, 0, 255, {0, 0, 20, 4}));
  EXPECT_EQ(d.GetPixel(2, 1), src->GetPixel(2, 1));
  EXPECT_EQ(d.GetPixel(3, 1), 0u);
  EXPECT_EQ(d.GetPixel(11, 3), src->GetPixel(11, 3));
  EXPECT_EQ(d.GetClipRect(), (TRect{0, 0, 20, 4})) << "the clip is restored";
  EXPECT_FALSE(d.Draw(src.get(), {0, 0, 2, 2}, 0, 255, {5, 0, 7, 2})) << "no stored rectangle meets it";
  // Without the clip enabled the region does not restrict.
  d.SetClip(false, {});
  EXPECT_TRUE(d.FillColor(0xFF0000FFu, nullptr, 0, 255, {5, 0, 7, 2}, {}));
  EXPECT_EQ(d.GetPixel(6, 1), 0xFF0000FFu);
}

TEST(SurfaceClipping, DrawingOntoItselfReadsTheOriginalPixels) {
  auto s = Numbered(8, 2);
  const uint32_t before = s->GetPixel(0, 1);
  // Overlapping rows shifted right by two: a copy, not a smear.
  ASSERT_TRUE(s->Draw(s.get(), {0, 0, 6, 2}, 0, 255, {2, 0, 8, 2}));
  EXPECT_EQ(s->GetPixel(2, 1), before);
  EXPECT_EQ(s->GetPixel(7, 1), 0xFF000105u);
  s->DrawAt(s.get(), -1, 0);
  EXPECT_EQ(s->GetPixel(0, 1), 0xFF000101u) << "the shifted-right copy moved back";
}

TEST(SurfaceClipping, HugeRectanglesAndScalesAreSafe) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(8, 8, true);
  TSurface& d = *dRef;
  auto src = Numbered(4, 4, true);
  const TRect all{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  EXPECT_TRUE(d.FillColor(0xFF00FF00u, nullptr, 0, 255, all, {}));
  EXPECT_EQ(d.GetPixel(7, 7), 0xFF00FF00u);
  EXPECT_TRUE(d.Draw(src.get(), all, 4, 255, all));
  EXPECT_TRUE(d.DrawMasked(src.get(), all, all, all, src.get()));
  d.DrawTransformed(src.get(), {2, 2}, 4, 4, 1e-300, 1e-300, true, 45);
  d.DrawTransformed(src.get(), {2, 2}, 4, 4, 1e300, 1e300, true, 1e308);
  d.DrawScaled(src.get(), true, INT32_MIN, INT32_MAX, 1e9, 0.5);
  d.DrawAt(src.get(), 1e300, -1e300);
}

TEST(SurfaceFill, OpaqueFillThroughAlphaMask) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(3, 1, true);
  TSurface& d = *dRef;
  const Ref<TSurface> maskRef = MakeRef<TSurface>(3, 1, true);
  TSurface& mask = *maskRef;
  mask.PixelAt(0, 0) = 0xFF000000u;
  mask.PixelAt(1, 0) = 0x80000000u;
  ASSERT_TRUE(d.FillColor(0xFF204060u, &mask, 0, 255, {0, 0, 3, 1}, {0, 0, 3, 1}));
  EXPECT_EQ(d.GetPixel(0, 0), 0xFF204060u);
  // 0 + floor(128 * (k - 0) / 256), alpha 0 + (255 * 128 >> 8).
  EXPECT_EQ(d.GetPixel(1, 0), 0x7F102030u);
  EXPECT_EQ(d.GetPixel(2, 0), 0u);
}

TEST(SurfaceFill, OpacityZeroPaintsNothingInAnyMode) {
  // At strength 0 overlay would still darken and screen would lower an
  // opaque alpha; opacity 0 must leave every pixel as it was.
  for (int mode = 0; mode <= kBlendMaxOpaque; ++mode) {
    const Ref<TSurface> dRef = MakeRef<TSurface>(2, 1, true);
    TSurface& d = *dRef;
    d.PixelAt(0, 0) = 0xFF405080u;
    d.PixelAt(1, 0) = 0x00102030u;
    const Ref<TSurface> maskRef = MakeRef<TSurface>(2, 1, true);
    TSurface& mask = *maskRef;
    mask.PixelAt(0, 0) = mask.PixelAt(1, 0) = 0xFF000000u;
    EXPECT_FALSE(d.FillColor(0xFFC0C0C0u, &mask, mode, 0, {0, 0, 2, 1}, {0, 0, 2, 1})) << mode;
    EXPECT_FALSE(d.FillColor(0xFFC0C0C0u, nullptr, mode, 0, {0, 0, 2, 1}, {})) << mode;
    EXPECT_EQ(d.GetPixel(0, 0), 0xFF405080u) << mode;
    EXPECT_EQ(d.GetPixel(1, 0), 0x00102030u) << mode;
  }
}

TEST(SurfaceMasked, CopiesOnlyUnderMaskAlphaWithThreeRectangles) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(4, 4);
  TSurface& d = *dRef;
  auto src = Numbered(4, 4, true);
  src->PixelAt(1, 1) = 0x00000505u;
  const Ref<TSurface> maskRef = MakeRef<TSurface>(4, 4, true);
  TSurface& mask = *maskRef;
  mask.PixelAt(2, 2) = 0x01000000u;
  mask.PixelAt(3, 3) = 0xFF000000u;
  // Mask (2,2) <-> source (1,1) <-> destination (0,0).
  ASSERT_TRUE(d.DrawMasked(src.get(), {1, 1, 4, 4}, {0, 0, 3, 3}, {2, 2, 4, 4}, &mask));
  EXPECT_EQ(d.GetPixel(0, 0), 0xFF000505u) << "alpha forced on a surface without alpha";
  EXPECT_EQ(d.GetPixel(1, 1), src->GetPixel(2, 2));
  EXPECT_EQ(d.GetPixel(2, 2), 0u) << "outside the mask rectangle";
  EXPECT_EQ(d.GetPixel(1, 0), 0u);
}

TEST(SurfaceStatistics, CountsAboveThresholdAsOpaque) {
  const Ref<TSurface> sRef = MakeRef<TSurface>(2, 2, true);
  TSurface& s = *sRef;
  s.PixelAt(0, 0) = 0xFF000000u;
  s.PixelAt(1, 0) = 0x81000000u;
  s.PixelAt(0, 1) = 0x80000000u;
  std::map<std::string, long long> params;
  const auto st = s.GetPixelStatistics([&](const std::string& n, long long v) { params[n] = v; }, 128);
  EXPECT_EQ(st.opaque, 2);
  EXPECT_EQ(params["PixelsCount"], 4);
  EXPECT_EQ(params["TransparentCount"], 2);
  EXPECT_EQ(params["OpaqueCount"], 2);
}

TEST(SurfaceTransforms, WholeNumberDrawAtCopiesAndFractionalBlendsNeighbours) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(6, 6, true);
  TSurface& d = *dRef;
  auto src = Numbered(3, 3, true);
  d.DrawAt(src.get(), 2, 1);
  EXPECT_EQ(d.GetPixel(2, 1), src->GetPixel(0, 0));
  EXPECT_EQ(d.GetPixel(4, 3), src->GetPixel(2, 2));
  const Ref<TSurface> eRef = MakeRef<TSurface>(6, 6, true);
  TSurface& e = *eRef;
  e.DrawAt(src.get(), 1.5, 1.0);
  // Half way between source columns 0 and 1 (7-bit weights).
  EXPECT_EQ(e.GetPixel(2, 1) & 0xFF, 0u + ((64 * 1) >> 7));
  const uint32_t mid = e.GetPixel(3, 2);
  EXPECT_EQ(mid >> 24, 255u);
  EXPECT_EQ((mid >> 8) & 0xFF, 1u);
}

TEST(SurfaceTransforms, RotationBy180AndScalingMapPixelsAsExpected) {
  auto src = Numbered(4, 2, true);
  const Ref<TSurface> dRef = MakeRef<TSurface>(8, 8, true);
  TSurface& d = *dRef;
  // Pivot at the centre of the source, landing at (4, 4): 180 degrees turns
  // source (0, 0) onto destination (5, 4).
  d.DrawTransformed(src.get(), {2, 1}, 4, 4, 1.0, 1.0, true, 180);
  EXPECT_EQ(d.GetPixel(5, 4), src->GetPixel(0, 0));
  EXPECT_EQ(d.GetPixel(2, 3), src->GetPixel(3, 1));
  EXPECT_EQ(d.GetPixel(0, 0), 0u) << "outside the source: alpha 0";
  const Ref<TSurface> sRef = MakeRef<TSurface>(8, 4, true);
  TSurface& s = *sRef;
  s.DrawScaled(src.get(), false, 0, 0, 2.0, 2.0);
  EXPECT_EQ(s.GetPixel(0, 0), src->GetPixel(0, 0));
  EXPECT_EQ(s.GetPixel(7, 3), src->GetPixel(3, 1));
  EXPECT_EQ(s.GetPixel(3, 1), src->GetPixel(1, 0));
  const Ref<TSurface> zRef = MakeRef<TSurface>(4, 4, true);
  TSurface& z = *zRef;
  z.DrawTransformed(src.get(), {0, 0}, 0, 0, 1.0, 1.0, false, 0);
  EXPECT_EQ(z.GetPixel(3, 1), src->GetPixel(3, 1)) << "angle 0, scale 1 is a copy";
}

TEST(SurfaceTransforms, NegativeScalesMirror) {
  auto src = Numbered(4, 2, true);
  const Ref<TSurface> sRef = MakeRef<TSurface>(8, 2, true);
  TSurface& s = *sRef;
  s.DrawScaled(src.get(), false, 0, 0, -2.0, 1.0);
  EXPECT_EQ(s.GetPixel(0, 0), src->GetPixel(3, 0));
  EXPECT_EQ(s.GetPixel(7, 1), src->GetPixel(0, 1));
  EXPECT_EQ(s.GetPixel(2, 1), src->GetPixel(2, 1));
  // Equal negative factors are no rotation: the image turns upside down and
  // mirrored around the pivot, the angle aside.
  const Ref<TSurface> tRef = MakeRef<TSurface>(8, 8, true);
  TSurface& t = *tRef;
  t.DrawTransformed(src.get(), {2, 1}, 4, 4, -1.0, -1.0, false, 30);
  EXPECT_EQ(t.GetPixel(5, 4), src->GetPixel(0, 0));
  EXPECT_EQ(t.GetPixel(2, 3), src->GetPixel(3, 1));
}

}  // namespace
}  // namespace qv
