// The vector kernels against the reference formulas, and the formulas
// themselves on hand-checked pixels.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graphics/Blend.h"
#include "graphics/BlendPixel.h"

namespace qv::blend {
namespace {

// Pixels biased toward the values where formulas branch: alpha 0 and 255,
// colour bytes 0, 127, 128 and 255.
uint32_t RandomPixel(std::mt19937& rng) {
  static const int special[] = {0, 1, 127, 128, 254, 255};
  auto byte = [&](int specialOdds) {
    return (rng() % 8u) < static_cast<unsigned>(specialOdds) ? special[rng() % 6u]
                                                             : static_cast<int>(rng() % 256u);
  };
  return Compose(byte(3), byte(3), byte(3), byte(5));
}

std::vector<const TBlendKernels*> VectorPaths() {
  std::vector<const TBlendKernels*> paths{&Sse2Kernels()};
  if (CpuHasAvx2()) paths.push_back(&Avx2Kernels());
  return paths;
}

const int kWidths[] = {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 64, 101};
const int kOpacities[] = {255, 128, 1, 254, 77};

TEST(BlendKernels, DrawMatchesScalarForEveryModeOpacityAndAlignment) {
  std::mt19937 rng(12345);
  const TBlendKernels& ref = ScalarKernels();
  for (const TBlendKernels* path : VectorPaths()) {
    for (int mode = 0; mode < 6; ++mode)
      for (int o : kOpacities)
        for (int flags = 0; flags < 4; ++flags)
          for (int w : kWidths)
            for (int offset = 0; offset < 3; ++offset) {
              const bool dstAlpha = flags & 1, srcAlpha = flags & 2;
              std::vector<uint32_t> src(w + 3), dst(w + 3);
              for (auto& p : src) p = RandomPixel(rng);
              for (auto& p : dst) p = RandomPixel(rng);
              std::vector<uint32_t> expect = dst, got = dst;
              ref.draw[mode](expect.data() + offset, src.data() + (2 - offset), w, o, dstAlpha, srcAlpha);
              path->draw[mode](got.data() + offset, src.data() + (2 - offset), w, o, dstAlpha, srcAlpha);
              ASSERT_EQ(expect, got) << path->name << " mode " << mode << " opacity " << o << " dstAlpha "
                                     << dstAlpha << " srcAlpha " << srcAlpha << " width " << w;
            }
  }
}

TEST(BlendKernels, FillMatchesScalarForEveryModeOpacityAndAlignment) {
  std::mt19937 rng(777);
  const TBlendKernels& ref = ScalarKernels();
  for (const TBlendKernels* path : VectorPaths()) {
    for (int mode = 0; mode < 6; ++mode)
      for (int o : kOpacities)
        for (int flags = 0; flags < 4; ++flags)
          for (int w : kWidths)
            for (int trial = 0; trial < 3; ++trial) {
              const bool dstAlpha = flags & 1, maskAlpha = flags & 2;
              // Opaque colours take the q = 255 branches at full opacity.
              uint32_t color = RandomPixel(rng);
              if (trial == 0) color |= 0xFF000000u;
              std::vector<uint32_t> mask(w + 1), dst(w + 1);
              for (auto& p : mask) p = RandomPixel(rng);
              for (auto& p : dst) p = RandomPixel(rng);
              std::vector<uint32_t> expect = dst, got = dst;
              const uint32_t* m = maskAlpha ? mask.data() + 1 : nullptr;
              ref.fill[mode](expect.data() + trial % 2, m, w, color, o, dstAlpha, maskAlpha);
              path->fill[mode](got.data() + trial % 2, m, w, color, o, dstAlpha, maskAlpha);
              ASSERT_EQ(expect, got) << path->name << " mode " << mode << " opacity " << o << " colour "
                                     << std::hex << color << std::dec << " dstAlpha " << dstAlpha
                                     << " maskAlpha " << maskAlpha << " width " << w;
            }
  }
}

TEST(BlendKernels, RectangleDriversFollowTheStrides) {
  std::mt19937 rng(99);
  constexpr int kW = 13, kH = 3, kSrcStride = 17, kDstStride = 21;
  for (const TBlendKernels* path : VectorPaths())
    for (int mode = 0; mode < 6; ++mode) {
      std::vector<uint32_t> src(kSrcStride * kH), dst(kDstStride * kH);
      for (auto& p : src) p = RandomPixel(rng);
      for (auto& p : dst) p = RandomPixel(rng);
      std::vector<uint32_t> expect = dst, got = dst, fillExpect = dst, fillGot = dst;
      for (int y = 0; y < kH; ++y)
        ScalarKernels().draw[mode](expect.data() + y * kDstStride, src.data() + y * kSrcStride, kW, 200, true,
                                   true);
      path->drawRect[mode](got.data(), kDstStride, src.data(), kSrcStride, kW, kH, 200, true, true);
      EXPECT_EQ(expect, got) << path->name << " draw mode " << mode;
      for (int y = 0; y < kH; ++y)
        ScalarKernels().fill[mode](fillExpect.data() + y * kDstStride, src.data() + y * kSrcStride, kW,
                                   0xC0A0B0F0u, 200, true, true);
      path->fillRect[mode](fillGot.data(), kDstStride, src.data(), kSrcStride, kW, kH, 0xC0A0B0F0u, 200, true,
                           true);
      EXPECT_EQ(fillExpect, fillGot) << path->name << " fill mode " << mode;
      // Without mask alpha no mask is read at all (a null mask must do); in
      // normal mode an opaque colour replaces every pixel of the rectangle
      // and nothing between the rows.
      std::vector<uint32_t> plain = dst;
      path->fillRect[mode](plain.data(), kDstStride, nullptr, 0, kW, kH, 0xFF102030u, 255, false, false);
      std::vector<uint32_t> plainExpect = dst;
      ScalarKernels().fillRect[mode](plainExpect.data(), kDstStride, nullptr, 0, kW, kH, 0xFF102030u, 255,
                                     false, false);
      EXPECT_EQ(plainExpect, plain) << path->name << " plain fill mode " << mode;
      if (mode == 0) {
        for (int y = 0; y < kH; ++y) {
          EXPECT_EQ(plain[y * kDstStride], 0xFF102030u) << path->name;
          EXPECT_EQ(plain[y * kDstStride + kW - 1], 0xFF102030u) << path->name;
          EXPECT_EQ(plain[y * kDstStride + kW], dst[y * kDstStride + kW]) << path->name << " row " << y;
        }
      }
    }
}

TEST(BlendKernels, SpriteLikeDataTakesTheBlockShortcutsExactly) {
  // Mostly opaque or clear pixels, so whole vector blocks are opaque or
  // clear, over destinations that are mostly opaque.
  std::mt19937 rng(4242);
  auto pick = [&](int opaquePct, int clearPct) {
    const unsigned r = rng() % 100u;
    const uint32_t a = r < static_cast<unsigned>(opaquePct)              ? 255u
                       : r < static_cast<unsigned>(opaquePct + clearPct) ? 0u
                                                                         : rng() % 256u;
    return (rng() & 0x00FFFFFFu) | a << 24;
  };
  for (const TBlendKernels* path : VectorPaths())
    for (int trial = 0; trial < 200; ++trial) {
      const int w = 1 + static_cast<int>(rng() % 40u);
      std::vector<uint32_t> src(w), dst(w);
      const bool opaqueRun = trial % 2 == 0;
      for (auto& p : src) p = opaqueRun ? pick(95, 3) : pick(5, 93);
      for (auto& p : dst) p = pick(90, 3);
      for (int flags = 0; flags < 2; ++flags)
        for (int o : {255, 200}) {
          std::vector<uint32_t> expect = dst, got = dst;
          ScalarKernels().draw[0](expect.data(), src.data(), w, o, flags, true);
          path->draw[0](got.data(), src.data(), w, o, flags, true);
          ASSERT_EQ(expect, got) << path->name << " trial " << trial << " dstAlpha " << flags << " opacity "
                                 << o;
        }
    }
}

TEST(BlendKernels, ClearSourceBlocksOverOpaqueDestinationStayUntouched) {
  // The skip path of the vector kernels must agree with the formulas too.
  for (const TBlendKernels* path : VectorPaths()) {
    std::vector<uint32_t> src(64, 0x00FFFFFFu), dst(64, 0xFF102030u);
    path->draw[0](dst.data(), src.data(), 64, 255, false, true);
    EXPECT_EQ(dst, std::vector<uint32_t>(64, 0xFF102030u)) << path->name;
  }
}

TEST(BlendFormulas, NormalHalfAlphaOverOpaqueMovesHalfwayAndStaysOpaque) {
  const uint32_t d = Compose(100, 201, 0, 255), s = Compose(201, 0, 255, 128);
  const uint32_t r = NormalAlphaFull(d, s, true);
  EXPECT_EQ(B(r, 0), 150);
  EXPECT_EQ(B(r, 1), 100) << "201 - 100.5 rounds toward minus infinity (truncation gives 101)";
  EXPECT_EQ(B(r, 2), 127);
  EXPECT_EQ(B(r, 3), 255) << "128 + (127 * 256 >> 8)";
  // At opacity 128: f = 64; d.a = (256 * (255 + 64) - 255 * 64) >> 8 = 255.
  EXPECT_EQ(NormalAlphaPartial(d, s, 128, true), Compose(125, 150, 63, 255));
  // A source without alpha at opacity 128: (s * 128 + d * 127 + 255) >> 8,
  // so green (201 * 127 + 255) >> 8 = 100; the alpha becomes the opacity.
  EXPECT_EQ(NormalOpaqueSource(d, s, 128, true), Compose(151, 100, 128, 128));
}

TEST(BlendFormulas, NormalOverTransparentDestinationCopiesExactly) {
  const uint32_t s = Compose(1, 2, 3, 40);
  EXPECT_EQ(NormalAlphaFull(Compose(9, 9, 9, 0), s, true), s);
  // Without the alpha flag the result is opaque.
  EXPECT_EQ(NormalAlphaFull(Compose(9, 9, 9, 0), s, false), s | 0xFF000000u);
}

TEST(BlendFormulas, OverlayAtFullStrengthClearsAlpha) {
  EXPECT_EQ(B(ModePixel(2, Compose(10, 200, 128, 255), Compose(50, 50, 50, 255), 255, true), 3), 0);
}

TEST(BlendFormulas, LinearLightWithBlackDarkensBy254) {
  const uint32_t r = ModePixel(3, Compose(254, 255, 100, 255), Compose(0, 0, 0, 255), 255, true);
  EXPECT_EQ(B(r, 0), 0);
  EXPECT_EQ(B(r, 1), 1);
  EXPECT_EQ(B(r, 2), 0);
  // White lightens by the same amount, truncated toward zero.
  EXPECT_EQ(B(ModePixel(3, Compose(0, 0, 0, 255), Compose(255, 255, 255, 255), 255, true), 0), 254);
}

TEST(BlendFormulas, AdditionSaturatesAndScreenNeverDarkens) {
  const uint32_t d = Compose(250, 10, 0, 255), s = Compose(255, 100, 255, 255);
  const uint32_t add = ModePixel(4, d, s, 254, true);
  EXPECT_EQ(add, Compose(255, 109, 253, 254)) << "10 + 99; 0 + 253; alpha 254 + (1 * 255 >> 8)";
  for (int dc = 0; dc < 256; dc += 15)
    for (int sc = 0; sc < 256; sc += 15)
      EXPECT_GE(B(ModePixel(1, Compose(dc, 0, 0, 255), Compose(sc, 0, 0, 255), 200, true), 0), dc);
}

TEST(BlendFormulas, ScreenAndOverlayWorkedExamples) {
  // Screen, f = 254: x = 200 * 254 >> 8 = 198; 255 - (57 * 156 >> 8) = 221;
  // the alpha 254 + (1 * 255 >> 8) = 254.
  EXPECT_EQ(ModePixel(1, Compose(100, 0, 255, 255), Compose(200, 0, 255, 255), 254, true),
            Compose(221, 0, 255, 254));
  // Overlay, f = 254: dark 100 under 200 gives 200 * 100 * 254 >> 15 = 155;
  // light 200 under 100 gives (255 - (155 * 55 >> 7)) * 254 >> 8 = 187;
  // the alpha (255 * 1 + 254) >> 8 = 1.
  EXPECT_EQ(ModePixel(2, Compose(100, 200, 0, 255), Compose(200, 100, 0, 255), 254, true),
            Compose(155, 187, 0, 1));
  // Without the alpha flag the destination's alpha byte stays.
  EXPECT_EQ(B(ModePixel(2, Compose(100, 200, 0, 255), Compose(200, 100, 0, 255), 254, false), 3), 255);
}

TEST(BlendFormulas, FillWorkedExamples) {
  // Plain mask, q = 128: (d * 127 + k * 128 + 255) >> 8, alpha max(d.a, q).
  EXPECT_EQ(FillPlain(Compose(0, 255, 100, 40), Compose(255, 0, 100, 255), 128, true),
            Compose(128, 127, 100, 128));
  // Mask alpha 64 at full strength: d + floor(64 * (k - d) / 256), alpha
  // 40 + (215 * 64 >> 8) = 93.
  EXPECT_EQ(FillMasked(Compose(0, 255, 100, 40), Compose(255, 0, 100, 255), 64, true),
            Compose(63, 191, 100, 93));
  // Maxopaque: replaced only when f reaches the destination's alpha.
  EXPECT_EQ(MaxOpaquePixel(Compose(1, 2, 3, 100), Compose(9, 8, 7, 255), 99, true), Compose(1, 2, 3, 100));
  EXPECT_EQ(MaxOpaquePixel(Compose(1, 2, 3, 100), Compose(9, 8, 7, 255), 100, true), Compose(9, 8, 7, 100));
}

}  // namespace
}  // namespace qv::blend

namespace qv::blend {
namespace {

// The widened-mask addition kernel (the particles' fill) against the plain
// addition fill through the mask it was widened from, on every path
// (scalar included), every width around the vector blocks, odd strides and
// opacities, colours of every alpha.
TEST(BlendKernels, FillAddLanesMatchesTheAdditionFillOnEveryPath) {
  std::mt19937 rng(4242);
  std::vector<const TBlendKernels*> paths = VectorPaths();
  paths.push_back(&ScalarKernels());
  for (const TBlendKernels* path : paths)
    for (int o : kOpacities)
      for (int w : kWidths)
        for (int trial = 0; trial < 4; ++trial) {
          const int h = 1 + trial, mStride = w + trial, dStride = w + 3 + trial;
          std::vector<uint32_t> mask(static_cast<size_t>(mStride * h)), dst(static_cast<size_t>(dStride * h));
          for (auto& p : mask) p = RandomPixel(rng);
          for (auto& p : dst) p = RandomPixel(rng);
          std::vector<uint64_t> lanes(mask.size());
          for (size_t i = 0; i < mask.size(); ++i) lanes[i] = uint64_t{mask[i] >> 24} * 0x0001000100010001ull;
          uint32_t color = RandomPixel(rng);
          if (trial == 0) color |= 0xFF000000u;
          std::vector<uint32_t> expect = dst, got = dst;
          ScalarKernels().fillRect[4](expect.data(), dStride, mask.data(), mStride, w, h, color, o, false,
                                      true);
          path->fillAddLanes(got.data(), dStride, lanes.data(), mStride, w, h, color, o);
          ASSERT_EQ(expect, got) << path->name << " opacity " << o << " colour " << std::hex << color
                                 << std::dec << " width " << w << " rows " << h;
        }
}

TEST(BlendFormulas, FillAddLanesWorkedExamples) {
  for (const TBlendKernels* path : {&ScalarKernels(), &Sse2Kernels(), &ActiveKernels()}) {
    // Nine pixels, so the vector block and the tail both run: mask alpha
    // 128, 255, 0 and a saturating one.
    const uint32_t a[9] = {128, 255, 0, 255, 128, 255, 0, 255, 128};
    uint64_t lanes[9];
    for (int i = 0; i < 9; ++i) lanes[i] = uint64_t{a[i]} * 0x0001000100010001ull;
    uint32_t d[9];
    for (uint32_t& p : d) p = 0xFF102030u;
    d[3] = d[7] = 0x80F0F0F0u;
    path->fillAddLanes(d, 9, lanes, 9, 9, 1, 0xFF4080C0u, 255);
    // ka = 254; alpha 128: f = 127, adding 95, 63, 31 to b, g, r.
    EXPECT_EQ(d[0], 0xFF2F5F8Fu) << path->name;
    EXPECT_EQ(d[8], 0xFF2F5F8Fu) << path->name;
    // alpha 255: f = 253, adds (253 * c) >> 8.
    EXPECT_EQ(d[1], 0xFF4F9EEDu) << path->name;
    EXPECT_EQ(d[2], 0xFF102030u) << path->name;  // mask alpha 0: untouched
    // Saturation per byte; the destination's alpha byte never changes.
    EXPECT_EQ(d[3], 0x80FFFFFFu) << path->name;
  }
}

}  // namespace
}  // namespace qv::blend
