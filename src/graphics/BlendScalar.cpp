// The reference row kernels: the blend formulas one pixel at a time.
#include <cstring>

#include "graphics/Blend.h"
#include "graphics/BlendPixel.h"

namespace qv::blend {
namespace {

void DrawNormal(uint32_t* d, const uint32_t* s, int n, int o, bool dstAlpha, bool srcAlpha) {
  if (!srcAlpha) {
    if (o == 255) {
      std::memcpy(d, s, static_cast<size_t>(n) * 4);
      return;
    }
    for (int i = 0; i < n; ++i) d[i] = NormalOpaqueSource(d[i], s[i], o, dstAlpha);
  } else if (o == 255) {
    for (int i = 0; i < n; ++i) d[i] = NormalAlphaFull(d[i], s[i], dstAlpha);
  } else {
    for (int i = 0; i < n; ++i) d[i] = NormalAlphaPartial(d[i], s[i], o, dstAlpha);
  }
}

template <int Mode>
void DrawMode(uint32_t* d, const uint32_t* s, int n, int o, bool dstAlpha, bool srcAlpha) {
  for (int i = 0; i < n; ++i) {
    const int sa = srcAlpha ? B(s[i], 3) : 255;
    if (sa == 0) continue;
    const int f = (sa * o) >> 8;
    if constexpr (Mode == 5)
      d[i] = MaxOpaquePixel(d[i], s[i], f, dstAlpha);
    else
      d[i] = ModePixel(Mode, d[i], s[i], f, dstAlpha);
  }
}

void FillNormal(uint32_t* d, const uint32_t* m, int n, uint32_t k, int o, bool dstAlpha, bool maskAlpha) {
  const int q = o * B(k, 3) / 255;
  if (!maskAlpha) {
    if (q == 255) {
      for (int i = 0; i < n; ++i) d[i] = k;
    } else {
      for (int i = 0; i < n; ++i) d[i] = FillPlain(d[i], k, q, dstAlpha);
    }
  } else if (q == 255) {
    for (int i = 0; i < n; ++i) {
      const int e = B(m[i], 3);
      d[i] = e == 255 ? k : FillMasked(d[i], k, e, dstAlpha);
      if (!dstAlpha) d[i] |= 0xFF000000u;
    }
  } else {
    for (int i = 0; i < n; ++i) d[i] = FillMasked(d[i], k, (o * B(m[i], 3)) >> 8, dstAlpha);
  }
}

template <int Mode>
void FillMode(uint32_t* d, const uint32_t* m, int n, uint32_t k, int o, bool dstAlpha, bool maskAlpha) {
  const int ka = (o * B(k, 3)) >> 8;
  for (int i = 0; i < n; ++i) {
    const int ma = maskAlpha ? B(m[i], 3) : 255;
    if constexpr (Mode == 5) {
      d[i] = MaxOpaquePixel(d[i], k, (ma * o) >> 8, dstAlpha);
    } else {
      if (ma == 0) continue;
      d[i] = ModePixel(Mode, d[i], k, (ma * ka) >> 8, dstAlpha);
    }
  }
}

// Rectangle drivers over the row kernels (instantiated where the row
// kernels are, so they share their instruction set and inline them).
template <TDrawRowFn Row>
void DrawRectOf(uint32_t* d, ptrdiff_t dStride, const uint32_t* s, ptrdiff_t sStride, int width, int height,
                int opacity, bool dstAlpha, bool srcAlpha) {
  for (int y = 0; y < height; ++y, d += dStride, s += sStride) Row(d, s, width, opacity, dstAlpha, srcAlpha);
}

template <TFillRowFn Row>
void FillRectOf(uint32_t* d, ptrdiff_t dStride, const uint32_t* m, ptrdiff_t mStride, int width, int height,
                uint32_t color, int opacity, bool dstAlpha, bool maskAlpha) {
  for (int y = 0; y < height; ++y, d += dStride) {
    Row(d, m, width, color, opacity, dstAlpha, maskAlpha);
    if (m) m += mStride;
  }
}

void FillAddLanes(uint32_t* d, ptrdiff_t dStride, const uint64_t* lanes, ptrdiff_t lStride, int width,
                  int height, uint32_t color, int opacity) {
  const int ka = (opacity * B(color, 3)) >> 8;
  for (int y = 0; y < height; ++y, d += dStride, lanes += lStride)
    for (int i = 0; i < width; ++i) {
      const int ma = static_cast<int>(lanes[i] & 255u);
      if (ma != 0) d[i] = ModePixel(4, d[i], color, (ma * ka) >> 8, false);
    }
}

}  // namespace

const TBlendKernels& ScalarKernels() {
  static const TBlendKernels kernels{
      "scalar",
      {DrawNormal, DrawMode<1>, DrawMode<2>, DrawMode<3>, DrawMode<4>, DrawMode<5>},
      {FillNormal, FillMode<1>, FillMode<2>, FillMode<3>, FillMode<4>, FillMode<5>},
      {DrawRectOf<DrawNormal>, DrawRectOf<DrawMode<1>>, DrawRectOf<DrawMode<2>>, DrawRectOf<DrawMode<3>>,
       DrawRectOf<DrawMode<4>>, DrawRectOf<DrawMode<5>>},
      {FillRectOf<FillNormal>, FillRectOf<FillMode<1>>, FillRectOf<FillMode<2>>, FillRectOf<FillMode<3>>,
       FillRectOf<FillMode<4>>, FillRectOf<FillMode<5>>},
      FillAddLanes};
  return kernels;
}

const TBlendKernels& Kernels(EBlendPath path) {
  switch (path) {
    case EBlendPath::Scalar:
      return ScalarKernels();
    case EBlendPath::Sse2:
      return Sse2Kernels();
    case EBlendPath::Avx2:
      return CpuHasAvx2() ? Avx2Kernels() : Sse2Kernels();
  }
  return ScalarKernels();
}

bool CpuHasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}

const TBlendKernels& ActiveKernels() {
  static const TBlendKernels& active = Kernels(EBlendPath::Avx2);
  return active;
}

}  // namespace qv::blend
