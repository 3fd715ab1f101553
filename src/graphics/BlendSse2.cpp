// The SSE2 (baseline x86-64) row kernels: the shared vector kernels over
// 128-bit lanes, 4 pixels per step.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "graphics/Blend.h"
#include "graphics/BlendPixel.h"

#include <immintrin.h>

// SSE2 is the x86-64 baseline: the kernels need no target attribute.
#define QV_VECTOR_FN

namespace qv::blend {
namespace {

struct V {
  using T = __m128i;
  static constexpr int kPixels = 4;
  static T Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const T*>(p)); }
  static void Store(uint32_t* p, T v) { _mm_storeu_si128(reinterpret_cast<T*>(p), v); }
  static T Zero() { return _mm_setzero_si128(); }
  static T Set16(int v) { return _mm_set1_epi16(static_cast<short>(v)); }
  static T Set32(uint32_t v) { return _mm_set1_epi32(static_cast<int>(v)); }
  static T Set64(uint64_t v) { return _mm_set1_epi64x(static_cast<long long>(v)); }
  static T Lo(T v, T z) { return _mm_unpacklo_epi8(v, z); }
  static T Hi(T v, T z) { return _mm_unpackhi_epi8(v, z); }
  static T Pack(T lo, T hi) { return _mm_packus_epi16(lo, hi); }
  static T PackInOrder(T lo, T hi) { return _mm_packus_epi16(lo, hi); }
  static T Add(T a, T b) { return _mm_add_epi16(a, b); }
  static T Sub(T a, T b) { return _mm_sub_epi16(a, b); }
  static T Mul(T a, T b) { return _mm_mullo_epi16(a, b); }
  static T MulHi(T a, T b) { return _mm_mulhi_epu16(a, b); }
  template <int N>
  static T Srl(T a) {
    return _mm_srli_epi16(a, N);
  }
  template <int N>
  static T Sll(T a) {
    return _mm_slli_epi16(a, N);
  }
  static T AddsU8(T a, T b) { return _mm_adds_epu8(a, b); }
  static T SubsU16(T a, T b) { return _mm_subs_epu16(a, b); }
  static T MaxU8(T a, T b) { return _mm_max_epu8(a, b); }
  static T Eq8(T a, T b) { return _mm_cmpeq_epi8(a, b); }
  static T Sub8(T a, T b) { return _mm_sub_epi8(a, b); }
  static T Min(T a, T b) { return _mm_min_epi16(a, b); }
  static T Max(T a, T b) { return _mm_max_epi16(a, b); }
  static T Gt(T a, T b) { return _mm_cmpgt_epi16(a, b); }
  static T Eq32(T a, T b) { return _mm_cmpeq_epi32(a, b); }
  static T And(T a, T b) { return _mm_and_si128(a, b); }
  static T Or(T a, T b) { return _mm_or_si128(a, b); }
  static T Xor(T a, T b) { return _mm_xor_si128(a, b); }
  static T Select(T mask, T a, T b) { return Or(And(mask, a), _mm_andnot_si128(mask, b)); }
  static T AndNot(T mask, T v) { return _mm_andnot_si128(mask, v); }
  static T Bcast(T v) { return _mm_shufflehi_epi16(_mm_shufflelo_epi16(v, 0xFF), 0xFF); }
  static bool AllZero(T v) { return _mm_movemask_epi8(_mm_cmpeq_epi8(v, Zero())) == 0xFFFF; }
  static bool Any(T v) { return _mm_movemask_epi8(v) != 0; }
  static bool AllOnes(T v) { return _mm_movemask_epi8(v) == 0xFFFF; }
};

#include "graphics/BlendVector.inc"

}  // namespace

#undef QV_VECTOR_FN

const TBlendKernels& Sse2Kernels() {
  static const TBlendKernels kernels = MakeVectorKernels<V>("sse2");
  return kernels;
}

}  // namespace qv::blend
