// Row kernels of Draw and FillColor. The scalar kernels are the reference
// formulas; the SSE2 and AVX2 kernels compute the same results bit for bit
// and are chosen at run time.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::blend {

// One row of a Draw: n destination pixels d blended with n source pixels s.
using TDrawRowFn = void (*)(uint32_t* d, const uint32_t* s, int n, int opacity, bool dstAlpha, bool srcAlpha);
// One row of a FillColor through n mask pixels m (m may be null when
// maskAlpha is false: such a mask covers every pixel).
using TFillRowFn = void (*)(uint32_t* d, const uint32_t* m, int n, uint32_t color, int opacity, bool dstAlpha,
                            bool maskAlpha);
// A whole rectangle of `height` rows of `width` pixels; strides in pixels.
// One call per draw keeps the per-draw setup out of the row loop.
using TDrawRectFn = void (*)(uint32_t* d, ptrdiff_t dStride, const uint32_t* s, ptrdiff_t sStride, int width,
                             int height, int opacity, bool dstAlpha, bool srcAlpha);
using TFillRectFn = void (*)(uint32_t* d, ptrdiff_t dStride, const uint32_t* m, ptrdiff_t mStride, int width,
                             int height, uint32_t color, int opacity, bool dstAlpha, bool maskAlpha);

// Addition-mode FillColor onto a destination without alpha through a mask
// already widened into lanes (TPreparedMask: the mask's alpha in each
// 16-bit lane of one 64-bit word per pixel); strides in pixels. The result
// equals fillRect[kBlendAddition] with that mask.
using TFillAddLanesFn = void (*)(uint32_t* d, ptrdiff_t dStride, const uint64_t* lanes, ptrdiff_t lStride,
                                 int width, int height, uint32_t color, int opacity);

struct TBlendKernels {
  const char* name;
  TDrawRowFn draw[6];  // by blend mode
  TFillRowFn fill[6];
  TDrawRectFn drawRect[6];
  TFillRectFn fillRect[6];
  TFillAddLanesFn fillAddLanes;
};

enum class EBlendPath { Scalar, Sse2, Avx2 };

// The kernels of one path; Avx2 answers the SSE2 kernels on a processor
// without AVX2.
const TBlendKernels& Kernels(EBlendPath path);
bool CpuHasAvx2();
// The fastest kernels this processor runs.
const TBlendKernels& ActiveKernels();

// Defined by the per-path sources.
const TBlendKernels& ScalarKernels();
const TBlendKernels& Sse2Kernels();
const TBlendKernels& Avx2Kernels();

}  // namespace qv::blend
