// The AVX2 (chosen at run time) row kernels: the shared vector kernels over
// 256-bit lanes, 8 pixels per step.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "graphics/Blend.h"
#include "graphics/BlendPixel.h"

#include <immintrin.h>

// Every function that touches AVX2 lanes carries the target attribute
// (accepted by gcc and clang alike); the rest of the file, and everything it
// includes, stays at the baseline instruction set.
#define QV_VECTOR_FN __attribute__((target("avx2")))

namespace qv::blend {
namespace {

struct V {
  using T = __m256i;
  static constexpr int kPixels = 8;
  QV_VECTOR_FN static T Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const T*>(p)); }
  QV_VECTOR_FN static void Store(uint32_t* p, T v) { _mm256_storeu_si256(reinterpret_cast<T*>(p), v); }
  QV_VECTOR_FN static T Zero() { return _mm256_setzero_si256(); }
  QV_VECTOR_FN static T Set16(int v) { return _mm256_set1_epi16(static_cast<short>(v)); }
  QV_VECTOR_FN static T Set32(uint32_t v) { return _mm256_set1_epi32(static_cast<int>(v)); }
  QV_VECTOR_FN static T Set64(uint64_t v) { return _mm256_set1_epi64x(static_cast<long long>(v)); }
  QV_VECTOR_FN static T Lo(T v, T z) { return _mm256_unpacklo_epi8(v, z); }
  QV_VECTOR_FN static T Hi(T v, T z) { return _mm256_unpackhi_epi8(v, z); }
  QV_VECTOR_FN static T Pack(T lo, T hi) { return _mm256_packus_epi16(lo, hi); }
  // Packing works within 128-bit halves; the quarter swap puts pixels 0..3
  // of `lo` before pixels 4..7 of `hi`.
  QV_VECTOR_FN static T PackInOrder(T lo, T hi) {
    return _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8);
  }
  QV_VECTOR_FN static T Add(T a, T b) { return _mm256_add_epi16(a, b); }
  QV_VECTOR_FN static T Sub(T a, T b) { return _mm256_sub_epi16(a, b); }
  QV_VECTOR_FN static T Mul(T a, T b) { return _mm256_mullo_epi16(a, b); }
  QV_VECTOR_FN static T MulHi(T a, T b) { return _mm256_mulhi_epu16(a, b); }
  template <int N>
  QV_VECTOR_FN static T Srl(T a) {
    return _mm256_srli_epi16(a, N);
  }
  template <int N>
  QV_VECTOR_FN static T Sll(T a) {
    return _mm256_slli_epi16(a, N);
  }
  QV_VECTOR_FN static T AddsU8(T a, T b) { return _mm256_adds_epu8(a, b); }
  QV_VECTOR_FN static T SubsU16(T a, T b) { return _mm256_subs_epu16(a, b); }
  QV_VECTOR_FN static T MaxU8(T a, T b) { return _mm256_max_epu8(a, b); }
  QV_VECTOR_FN static T Eq8(T a, T b) { return _mm256_cmpeq_epi8(a, b); }
  QV_VECTOR_FN static T Sub8(T a, T b) { return _mm256_sub_epi8(a, b); }
  QV_VECTOR_FN static T Min(T a, T b) { return _mm256_min_epi16(a, b); }
  QV_VECTOR_FN static T Max(T a, T b) { return _mm256_max_epi16(a, b); }
  QV_VECTOR_FN static T Gt(T a, T b) { return _mm256_cmpgt_epi16(a, b); }
  QV_VECTOR_FN static T Eq32(T a, T b) { return _mm256_cmpeq_epi32(a, b); }
  QV_VECTOR_FN static T And(T a, T b) { return _mm256_and_si256(a, b); }
  QV_VECTOR_FN static T Or(T a, T b) { return _mm256_or_si256(a, b); }
  QV_VECTOR_FN static T Xor(T a, T b) { return _mm256_xor_si256(a, b); }
  QV_VECTOR_FN static T Select(T mask, T a, T b) { return _mm256_blendv_epi8(b, a, mask); }
  QV_VECTOR_FN static T AndNot(T mask, T v) { return _mm256_andnot_si256(mask, v); }
  QV_VECTOR_FN static T Bcast(T v) { return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(v, 0xFF), 0xFF); }
  QV_VECTOR_FN static bool AllZero(T v) { return _mm256_movemask_epi8(_mm256_cmpeq_epi8(v, Zero())) == -1; }
  QV_VECTOR_FN static bool Any(T v) { return _mm256_movemask_epi8(v) != 0; }
  QV_VECTOR_FN static bool AllOnes(T v) { return _mm256_movemask_epi8(v) == -1; }
};

#include "graphics/BlendVector.inc"

}  // namespace

#undef QV_VECTOR_FN

const TBlendKernels& Avx2Kernels() {
  static const TBlendKernels kernels = MakeVectorKernels<V>("avx2");
  return kernels;
}

}  // namespace qv::blend
