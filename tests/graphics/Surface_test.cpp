#include "graphics/Surface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "graphics/PreparedMask.h"

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
  EXPECT_FALSE(s.Draw(Numbered(2, 2).get(), {0, 0, 2, 2}, kBlendNormal, 255, {0, 0, 2, 2}));
}

TEST(SurfaceClipping, NegativeDestinationDrawsFromSourceOffset) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(20, 20);
  TSurface& d = *dRef;
  auto src = Numbered(10, 10);
  ASSERT_TRUE(d.Draw(src.get(), {0, 0, 10, 10}, kBlendNormal, 255, {-5, 0, 5, 10}));
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
  EXPECT_FALSE(d.Draw(src.get(), {0, 0, 4, 4}, kBlendNormal, 0, {0, 0, 4, 4}));
  EXPECT_FALSE(d.Draw(nullptr, {0, 0, 4, 4}, kBlendNormal, 255, {0, 0, 4, 4}));
  EXPECT_FALSE(d.Draw(src.get(), {0, 0, 4, 4}, static_cast<EBlendMode>(9), 255, {0, 0, 4, 4}));
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
  EXPECT_TRUE(d.Draw(src.get(), {0, 0, 20, 4}, kBlendNormal, 255, {0, 0, 20, 4}));
  EXPECT_EQ(d.GetPixel(2, 1), src->GetPixel(2, 1));
  EXPECT_EQ(d.GetPixel(3, 1), 0u);
  EXPECT_EQ(d.GetPixel(11, 3), src->GetPixel(11, 3));
  EXPECT_EQ(d.GetClipRect(), (TRect{0, 0, 20, 4})) << "the clip is restored";
  EXPECT_FALSE(d.Draw(src.get(), {0, 0, 2, 2}, kBlendNormal, 255, {5, 0, 7, 2}))
      << "no stored rectangle meets it";
  // Without the clip enabled the region does not restrict.
  d.SetClip(false, {});
  EXPECT_TRUE(d.FillColor(0xFF0000FFu, nullptr, kBlendNormal, 255, {5, 0, 7, 2}, {}));
  EXPECT_EQ(d.GetPixel(6, 1), 0xFF0000FFu);
}

TEST(SurfaceClipping, DrawingOntoItselfReadsTheOriginalPixels) {
  auto s = Numbered(8, 2);
  const uint32_t before = s->GetPixel(0, 1);
  // Overlapping rows shifted right by two: a copy, not a smear.
  ASSERT_TRUE(s->Draw(s.get(), {0, 0, 6, 2}, kBlendNormal, 255, {2, 0, 8, 2}));
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
  EXPECT_TRUE(d.FillColor(0xFF00FF00u, nullptr, kBlendNormal, 255, all, {}));
  EXPECT_EQ(d.GetPixel(7, 7), 0xFF00FF00u);
  EXPECT_TRUE(d.Draw(src.get(), all, kBlendAddition, 255, all));
  EXPECT_TRUE(d.DrawMasked(src.get(), all, all, all, src.get()));
  d.DrawTransformed(src.get(), {2, 2}, 4, 4, 1e-300, 1e-300, true, 45);
  d.DrawTransformed(src.get(), {2, 2}, 4, 4, 1e300, 1e300, true, 1e308);
  d.DrawScaled(src.get(), true, INT32_MIN, INT32_MAX, 1e9, 0.5);
  d.DrawAt(src.get(), 1e300, -1e300);
  d.DrawScaled(src.get(), true, 1e9, -1e9, 1e4, 1e-4);
  d.DrawTransformed(src.get(), {}, 0.3, -0.7, 1e4, 1e4, false, 33);
  EXPECT_EQ(d.GetPixel(4, 4), src->GetPixel(2, 1))
      << "magnified 10000 times: source point (2.3, 1.3) everywhere";
  d.DrawAt(src.get(), 1e9, -1e9);
}

TEST(SurfaceFill, OpaqueFillThroughAlphaMask) {
  const Ref<TSurface> dRef = MakeRef<TSurface>(3, 1, true);
  TSurface& d = *dRef;
  const Ref<TSurface> maskRef = MakeRef<TSurface>(3, 1, true);
  TSurface& mask = *maskRef;
  mask.PixelAt(0, 0) = 0xFF000000u;
  mask.PixelAt(1, 0) = 0x80000000u;
  ASSERT_TRUE(d.FillColor(0xFF204060u, &mask, kBlendNormal, 255, {0, 0, 3, 1}, {0, 0, 3, 1}));
  EXPECT_EQ(d.GetPixel(0, 0), 0xFF204060u);
  // 0 + floor(128 * (k - 0) / 256), alpha 0 + (255 * 128 >> 8).
  EXPECT_EQ(d.GetPixel(1, 0), 0x7F102030u);
  EXPECT_EQ(d.GetPixel(2, 0), 0u);
}

TEST(SurfaceFill, OpacityZeroPaintsNothingInAnyMode) {
  // At strength 0 overlay would still darken and screen would lower an
  // opaque alpha; opacity 0 must leave every pixel as it was.
  for (int m = kBlendNormal; m <= kBlendMaxOpaque; ++m) {
    const auto mode = static_cast<EBlendMode>(m);
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
  EXPECT_EQ(e.GetPixel(2, 1) & 0xFF, 0u) << "64 * (1 - 0) >> 7 rounds down";
  const uint32_t mid = e.GetPixel(3, 2);
  EXPECT_EQ(mid >> 24, 255u);
  EXPECT_EQ((mid >> 8) & 0xFF, 1u);
}

// The pixels of row y from x0 to x1 (exclusive).
std::vector<uint32_t> Row(const ISurface& s, int y, int x0, int x1) {
  std::vector<uint32_t> row;
  for (int x = x0; x < x1; ++x) row.push_back(s.GetPixel(x, y));
  return row;
}

// A surface of w x h pixels, all `color`.
Ref<TSurface> Filled(int w, int h, uint32_t color, bool alpha = true) {
  auto s = MakeRef<TSurface>(w, h, alpha);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s->PixelAt(x, y) = color;
  return s;
}

constexpr uint32_t kA = 0xFF0000AAu, kB = 0xFF0000BBu, kOld = 0xFF111111u;

TEST(SurfaceTransforms, ScaledImageIsCentredAndItsBoxWidenedByTwo) {
  auto src = Filled(2, 1, kA);
  src->PixelAt(1, 0) = kB;
  auto d = Filled(10, 1, kOld);
  // Scaled to 4 pixels and centred: columns 3..6; the box 1..8 is written,
  // with 0 where no source pixel lands; columns 0 and 9 stay.
  d->DrawScaled(src.get(), false, 0, 0, 2.0, 2.0);
  EXPECT_EQ(Row(*d, 0, 0, 10), (std::vector<uint32_t>{kOld, 0, 0, kA, kA, kB, kB, 0, 0, kOld}));
  // The clip rectangle does not limit the transforms, only the surface does.
  auto c = Filled(10, 1, kOld);
  c->SetClip(true, {0, 0, 4, 1});
  c->DrawScaled(src.get(), false, 0, 0, 2.0, 2.0);
  EXPECT_EQ(Row(*c, 0, 0, 10), (std::vector<uint32_t>{kOld, 0, 0, kA, kA, kB, kB, 0, 0, kOld}));
  // Half a source pixel further right in the source moves the image one
  // destination pixel left (and the box with it).
  auto f = Filled(10, 1, kOld);
  f->DrawScaled(src.get(), false, 0.5, 0, 2.0, 2.0);
  EXPECT_EQ(Row(*f, 0, 0, 10), (std::vector<uint32_t>{0, 0, kA, kA, kB, kB, 0, 0, kOld, kOld}));
  // On a surface without alpha the empty parts of the box are opaque black.
  auto o = Filled(10, 1, kOld, false);
  o->DrawScaled(src.get(), false, 0, 0, 2.0, 2.0);
  EXPECT_EQ(Row(*o, 0, 0, 4), (std::vector<uint32_t>{kOld, 0xFF000000u, 0xFF000000u, kA}));
}

TEST(SurfaceTransforms, TurnsAboutTheCentre) {
  // 3 x 2 source turned by 90 degrees (clockwise on screen) into 2 x 3.
  auto src = Numbered(3, 2, true);
  const Ref<TSurface> dRef = MakeRef<TSurface>(2, 3, true);
  TSurface& d = *dRef;
  // Smoothing is switched off at scale 1 and 90 degrees: exact pixels.
  d.DrawTransformed(src.get(), {0, 0}, 0, 0, 1.0, 1.0, true, 90);
  EXPECT_EQ(Row(d, 0, 0, 2), (std::vector<uint32_t>{0xFF000100u, 0xFF000000u}));
  EXPECT_EQ(Row(d, 1, 0, 2), (std::vector<uint32_t>{0xFF000101u, 0xFF000001u}));
  EXPECT_EQ(Row(d, 2, 0, 2), (std::vector<uint32_t>{0xFF000102u, 0xFF000002u}));
  // 180 degrees at scale 2 is never smoothed either: B B A A on both rows.
  auto ab = Filled(2, 1, kA);
  ab->PixelAt(1, 0) = kB;
  const Ref<TSurface> hRef = MakeRef<TSurface>(4, 2, true);
  TSurface& h = *hRef;
  h.DrawTransformed(ab.get(), {0, 0}, 0, 0, 2.0, 2.0, true, 180);
  EXPECT_EQ(Row(h, 0, 0, 4), (std::vector<uint32_t>{kB, kB, kA, kA}));
  EXPECT_EQ(Row(h, 1, 0, 4), (std::vector<uint32_t>{kB, kB, kA, kA}));
  // Angle 0 keeps smoothing; a centred image of the same size is an exact
  // copy, whatever the pivot.
  auto n = Numbered(4, 2, true);
  const Ref<TSurface> zRef = MakeRef<TSurface>(4, 2, true);
  TSurface& z = *zRef;
  z.DrawTransformed(n.get(), {7, -3}, 0, 0, 1.0, 1.0, true, 0);
  EXPECT_EQ(Row(z, 1, 0, 4), (std::vector<uint32_t>{0xFF000100u, 0xFF000101u, 0xFF000102u, 0xFF000103u}));
}

TEST(SurfaceTransforms, SmoothingUsesSixteenBitFractionsOnlyWhenTurning) {
  // Blue 0 and 200 scaled by 3: destination column 2 lies a third of the way
  // from source column 0 to column 1 (21845 / 65536, or 42 / 128).
  auto src = Filled(2, 2, 0xFF000000u);
  src->PixelAt(1, 0) = src->PixelAt(1, 1) = 0xFF0000C8u;
  const Ref<TSurface> turningRef = MakeRef<TSurface>(6, 6, true);
  TSurface& turning = *turningRef;
  turning.DrawScaled(src.get(), true, 0, 0, 3.0, 3.0);
  EXPECT_EQ(turning.GetPixel(2, 3), 0xFF000042u) << "21845 * 200 >> 16 = 66";
  // Unequal factors take the independent-scale path with 7-bit weights.
  const Ref<TSurface> independentRef = MakeRef<TSurface>(6, 6, true);
  TSurface& independent = *independentRef;
  independent.DrawScaled(src.get(), true, 0, 0, 3.0, -3.0);
  EXPECT_EQ(independent.GetPixel(2, 3), 0xFF000041u) << "42 * 200 >> 7 = 65";
  EXPECT_EQ(independent.GetPixel(3, 3), 0xFF000084u) << "two thirds: 85 * 200 >> 7 = 132";
  // Every channel, alpha included, rounds toward minus infinity on its own:
  // 0x00FF8040 to 0xFF00C080 a third of the way is alpha 84, red
  // 255 - 85 = 170, green 149, blue 85 in 16 bits; alpha 83, red 171 in 7.
  auto four = Filled(2, 2, 0x00FF8040u);
  four->PixelAt(1, 0) = four->PixelAt(1, 1) = 0xFF00C080u;
  const Ref<TSurface> wideRef = MakeRef<TSurface>(6, 6, true);
  TSurface& wide = *wideRef;
  wide.DrawScaled(four.get(), true, 0, 0, 3.0, 3.0);
  EXPECT_EQ(wide.GetPixel(2, 3), 0x54AA9555u);
  const Ref<TSurface> narrowRef = MakeRef<TSurface>(6, 6, true);
  TSurface& narrow = *narrowRef;
  narrow.DrawScaled(four.get(), true, 0, 0, 3.0, -3.0);
  EXPECT_EQ(narrow.GetPixel(2, 3), 0x53AB9555u);
}

TEST(SurfaceTransforms, NegativeScalesMirrorAboutTheCentre) {
  auto src = Numbered(4, 2, true);
  const Ref<TSurface> sRef = MakeRef<TSurface>(8, 2, true);
  TSurface& s = *sRef;
  s.DrawScaled(src.get(), false, 0, 0, -2.0, 1.0);
  EXPECT_EQ(Row(s, 0, 0, 8), (std::vector<uint32_t>{0xFF000003u, 0xFF000003u, 0xFF000002u, 0xFF000002u,
                                                    0xFF000001u, 0xFF000001u, 0xFF000000u, 0xFF000000u}));
  // Equal negative factors are no rotation: the image turns upside down and
  // mirrored, the angle aside.
  const Ref<TSurface> tRef = MakeRef<TSurface>(4, 2, true);
  TSurface& t = *tRef;
  t.DrawTransformed(src.get(), {2, 1}, 0, 0, -1.0, -1.0, false, 30);
  EXPECT_EQ(Row(t, 0, 0, 4), (std::vector<uint32_t>{0xFF000103u, 0xFF000102u, 0xFF000101u, 0xFF000100u}));
  EXPECT_EQ(Row(t, 1, 0, 4), (std::vector<uint32_t>{0xFF000003u, 0xFF000002u, 0xFF000001u, 0xFF000000u}));
}

TEST(SurfaceTransforms, SourceWithoutAlphaFlagCountsAsOpaque) {
  // Alpha bytes of 0 in a surface without alpha flag mean nothing.
  auto plain = Filled(2, 1, 0x00123456u, false);
  const Ref<TSurface> scaledRef = MakeRef<TSurface>(2, 1, true);
  TSurface& scaled = *scaledRef;
  scaled.DrawScaled(plain.get(), false, 0, 0, 1.0, 1.0);
  EXPECT_EQ(scaled.GetPixel(1, 0), 0xFF123456u);
  const Ref<TSurface> atRef = MakeRef<TSurface>(3, 1, true);
  TSurface& at = *atRef;
  at.DrawAt(plain.get(), 1, 0);
  EXPECT_EQ(Row(at, 0, 0, 3), (std::vector<uint32_t>{0u, 0xFF123456u, 0xFF123456u}));
  const Ref<TSurface> betweenRef = MakeRef<TSurface>(3, 1, true);
  TSurface& between = *betweenRef;
  between.DrawAt(plain.get(), 0.5, 0);
  EXPECT_EQ(between.GetPixel(1, 0), 0xFF123456u);
  // Whole and fractional positions store 255 on a surface without alpha.
  auto half = Filled(2, 1, 0x80204060u);
  const Ref<TSurface> opaqueRef = MakeRef<TSurface>(3, 1, false);
  TSurface& opaque = *opaqueRef;
  opaque.DrawAt(half.get(), 1, 0);
  EXPECT_EQ(opaque.GetPixel(1, 0), 0xFF204060u);
  const Ref<TSurface> opaqueBetweenRef = MakeRef<TSurface>(3, 1, false);
  TSurface& opaqueBetween = *opaqueBetweenRef;
  opaqueBetween.DrawAt(half.get(), 0.5, 0);
  EXPECT_EQ(opaqueBetween.GetPixel(1, 0) >> 24, 255u);
  // With alpha on both sides the whole-number copy is exact.
  const Ref<TSurface> exactRef = MakeRef<TSurface>(3, 1, true);
  TSurface& exact = *exactRef;
  exact.DrawAt(half.get(), 1, 0);
  EXPECT_EQ(exact.GetPixel(2, 0), 0x80204060u);
}

TEST(SurfaceTransforms, FractionalDrawAtBlendsNeighboursWithSevenBitWeights) {
  // Blue 0, 100 and 255 at x = 1.25: destination pixel X lies three
  // quarters of the way (96 / 128) from source pixel X - 2 to X - 1; past
  // the source's edges the old destination pixel stands in.
  auto src = Filled(3, 1, 0xFF000000u);
  src->PixelAt(1, 0) = 0xFF000064u;
  src->PixelAt(2, 0) = 0xFF0000FFu;
  auto d = Filled(5, 1, 0xFF000080u);
  d->DrawAt(src.get(), 1.25, 0);
  // 128 + (96 * (0 - 128) >> 7) = 32; 0 + (96 * 100 >> 7) = 75;
  // 100 + (96 * 155 >> 7) = 216; 255 + (96 * (128 - 255) >> 7) = 159.
  EXPECT_EQ(Row(*d, 0, 0, 5),
            (std::vector<uint32_t>{0xFF000080u, 0xFF000020u, 0xFF00004Bu, 0xFF0000D8u, 0xFF00009Fu}));
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// A widened mask paints exactly what FillColor paints with the mask itself:
// a sweep of positions hanging off every edge, with and without a clip and
// a dirty region, in every mode and on surfaces with and without alpha (the
// cases other than addition without alpha go through FillColor).
TEST(SurfacePreparedMask, FillColorPreparedEqualsFillColorEverywhere) {
  std::mt19937 rng(31337);
  const Ref<TSurface> mask = MakeRef<TSurface>(11, 9, true);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 11; ++x) mask->SetPixel(x, y, (x + y) % 5 == 0 ? 0u : static_cast<uint32_t>(rng()));
  TPreparedMask prepared;
  prepared.Prepare(*mask);
  ASSERT_TRUE(prepared.IsPrepared());
  for (int mode = 0; mode < 6; ++mode)
    for (int variant = 0; variant < 6; ++variant) {
      const bool dstAlpha = variant % 2 == 1;
      const Ref<TSurface> base = MakeRef<TSurface>(29, 23, dstAlpha);
      for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 29; ++x) base->PixelAt(x, y) = static_cast<uint32_t>(rng());
      for (int top = -10; top <= 23; top += 3)
        for (int left = -12; left <= 29; left += 4) {
          const Ref<TSurface> expect = base->Copy(), got = base->Copy();
          for (const Ref<TSurface>& s : {expect, got}) {
            if (variant >= 2) s->SetClip(true, {3, 2, 25, 20});
            if (variant >= 4) {
              s->AddDirtyRect({0, 0, 8, 8});
              s->AddDirtyRect({14, 10, 29, 23});
            }
          }
          const uint32_t color = static_cast<uint32_t>(rng());
          const int opacity = (left + top) % 3 == 0 ? 255 : static_cast<int>(rng() % 256u);
          const TRect dest = TRect::FromSize(left, top, 11, 9);
          const bool drewExpect = expect->FillColor(color, mask.get(), static_cast<EBlendMode>(mode), opacity,
                                                    dest, {0, 0, 11, 9});
          const bool drewGot = got->FillColorPrepared(color, mask.get(), prepared,
                                                      static_cast<EBlendMode>(mode), opacity, dest);
          EXPECT_EQ(drewExpect, drewGot) << mode << " at " << left << "," << top;
          ASSERT_EQ(0, std::memcmp(expect->GetScanLine(0), got->GetScanLine(0), 29 * 23 * 4))
              << "mode " << mode << " variant " << variant << " at " << left << "," << top;
        }
    }
}

TEST(SurfacePreparedMask, AStaleOrMissingPreparationFallsBackToTheMask) {
  const Ref<TSurface> mask = MakeRef<TSurface>(4, 4, true);
  for (int i = 0; i < 16; ++i) mask->PixelAt(i % 4, i / 4) = 0x80000000u;
  TPreparedMask other;
  const Ref<TSurface> small = MakeRef<TSurface>(2, 2, true);
  other.Prepare(*small);  // the wrong size: its lanes must not be read
  TPreparedMask none;
  none.Prepare(*MakeRef<TSurface>(4, 4, false));  // no alpha: nothing prepared
  EXPECT_FALSE(none.IsPrepared());
  for (const TPreparedMask* p : {&other, &none}) {
    const Ref<TSurface> expect = MakeRef<TSurface>(6, 6, false), got = MakeRef<TSurface>(6, 6, false);
    expect->FillColor(0xFF204080u, mask.get(), kBlendAddition, 255, {1, 1, 5, 5}, {0, 0, 4, 4});
    got->FillColorPrepared(0xFF204080u, mask.get(), *p, kBlendAddition, 255, {1, 1, 5, 5});
    EXPECT_EQ(0, std::memcmp(expect->GetScanLine(0), got->GetScanLine(0), 6 * 6 * 4));
    EXPECT_EQ(got->GetPixel(2, 2), 0x000F1F3Fu);  // a surface without alpha keeps its alpha byte
  }
  const Ref<TSurface> d = MakeRef<TSurface>(6, 6, false);
  TPreparedMask ok;
  ok.Prepare(*mask);
  EXPECT_FALSE(d->FillColorPrepared(0xFF204080u, mask.get(), ok, kBlendAddition, 0, {1, 1, 5, 5}));
  EXPECT_FALSE(d->FillColorPrepared(0xFF204080u, nullptr, ok, kBlendAddition, 255, {1, 1, 5, 5}));
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Many stamps at once paint what one FillColor per stamp in their order
// paints: in addition mode without alpha (where the stamps are reordered by
// rows) and, through the plain path, in every other case; stamps inside,
// across the edges and the clip, and far outside.
TEST(SurfacePreparedMask, StampsPaintWhatOneFillPerStampPaints) {
  std::mt19937 rng(2718);
  const Ref<TSurface> mask = MakeRef<TSurface>(7, 5, true);
  for (int i = 0; i < 35; ++i)
    mask->PixelAt(i % 7, i / 7) = static_cast<uint32_t>(rng()) | (i % 4 ? 0u : 0xFF000000u);
  TPreparedMask prepared;
  prepared.Prepare(*mask);
  std::vector<TMaskStamp> stamps;
  for (int i = 0; i < 300; ++i)
    stamps.push_back({static_cast<int>(rng() % 90u) - 20, static_cast<int>(rng() % 150u) - 20,
                      static_cast<uint32_t>(rng())});
  stamps.push_back({-2147483647, 5, 0xFFFFFFFFu});
  stamps.push_back({2147483640, 2147483640, 0xFFFFFFFFu});
  for (int mode = 0; mode < 6; ++mode)
    for (int variant = 0; variant < 6; ++variant) {
      const bool dstAlpha = variant % 2 == 1;
      const Ref<TSurface> expect = MakeRef<TSurface>(50, 110, dstAlpha);
      for (int i = 0; i < 50 * 110; ++i)
        expect->PixelAt(i % 50, i / 50) = static_cast<uint32_t>(rng()) & 0xFF3F3F3Fu;
      const Ref<TSurface> got = expect->Copy();
      for (const Ref<TSurface>& s : {expect, got}) {
        if (variant >= 2) s->SetClip(true, {4, 3, 46, 100});
        if (variant >= 4) {
          s->AddDirtyRect({0, 0, 20, 40});
          s->AddDirtyRect({25, 50, 50, 110});
        }
      }
      bool drewExpect = false;
      for (const TMaskStamp& st : stamps)
        drewExpect = expect->FillColor(st.color, mask.get(), static_cast<EBlendMode>(mode), 230,
                                       TRect::FromSize(st.x, st.y, 7, 5), {0, 0, 7, 5}) ||
                     drewExpect;
      EXPECT_EQ(drewExpect,
                got->FillColorStamps(mask.get(), prepared, static_cast<EBlendMode>(mode), 230, stamps));
      ASSERT_EQ(0, std::memcmp(expect->GetScanLine(0), got->GetScanLine(0), 50 * 110 * 4))
          << "mode " << mode << " variant " << variant;
    }
  const Ref<TSurface> none = MakeRef<TSurface>(8, 8, false);
  EXPECT_FALSE(none->FillColorStamps(mask.get(), prepared, kBlendAddition, 0, stamps)) << "opacity 0";
  EXPECT_FALSE(none->FillColorStamps(mask.get(), prepared, kBlendAddition, 255, {})) << "no stamps";
}

}  // namespace
}  // namespace qv
