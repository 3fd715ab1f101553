// The per-pixel blend formulas in plain integer arithmetic: the reference
// the vector kernels must match, and the tails of their rows. Bytes are
// truncated on store; ">> 8" of a negative value rounds toward minus
// infinity.
#pragma once

#include <algorithm>
#include <cstdint>

namespace qv::blend {

inline int B(uint32_t p, int i) {
  return static_cast<int>((p >> (8 * i)) & 255u);
}
inline uint32_t Alpha(uint32_t p) {
  return p >> 24;
}
inline uint32_t Compose(int b, int g, int r, int a) {
  return (static_cast<uint32_t>(b) & 255u) | ((static_cast<uint32_t>(g) & 255u) << 8) |
         ((static_cast<uint32_t>(r) & 255u) << 16) | ((static_cast<uint32_t>(a) & 255u) << 24);
}
inline uint32_t WithAlpha(uint32_t p, int a) {
  return (p & 0x00FFFFFFu) | ((static_cast<uint32_t>(a) & 255u) << 24);
}

// d.c + floor((s.c - d.c) * f / 256) on every colour byte; alpha from d.
inline uint32_t LerpColor(uint32_t d, uint32_t s, int f) {
  int c[3];
  for (int i = 0; i < 3; ++i) c[i] = B(d, i) + (((B(s, i) - B(d, i)) * f) >> 8);
  return Compose(c[0], c[1], c[2], B(d, 3));
}

// Normal mode, source without alpha, opacity o < 255.
inline uint32_t NormalOpaqueSource(uint32_t d, uint32_t s, int o, bool dstAlpha) {
  int c[3];
  for (int i = 0; i < 3; ++i) c[i] = (B(s, i) * o + B(d, i) * (255 - o) + 255) >> 8;
  return Compose(c[0], c[1], c[2], dstAlpha ? o : B(d, 3));
}

// Normal mode, source with alpha, opacity 255.
inline uint32_t NormalAlphaFull(uint32_t d, uint32_t s, bool dstAlpha) {
  const int da = B(d, 3), sa = B(s, 3);
  uint32_t r = d;
  if (da == 0) {
    r = s;
  } else if (sa > 0) {
    r = WithAlpha(LerpColor(d, s, sa), sa + (((255 - sa) * (da + 1)) >> 8));
  }
  return dstAlpha ? r : (r | 0xFF000000u);
}

// Normal mode, source with alpha, opacity o < 255.
inline uint32_t NormalAlphaPartial(uint32_t d, uint32_t s, int o, bool dstAlpha) {
  const int da = B(d, 3);
  const int f = (B(s, 3) * o) >> 8;
  uint32_t r = f > 0 ? LerpColor(d, s, f) : d;
  if (dstAlpha) r = WithAlpha(r, (256 * (da + f) - da * f) >> 8);
  return r;
}

// Modes 1 to 4 for one pixel with strength f and colour source s.
inline uint32_t ModePixel(int mode, uint32_t d, uint32_t s, int f, bool dstAlpha) {
  int c[3];
  const int da = B(d, 3);
  for (int i = 0; i < 3; ++i) {
    const int sc = B(s, i), dc = B(d, i);
    switch (mode) {
      case 1: {
        const int x = (sc * f) >> 8;
        c[i] = 255 - (((255 - x) * (256 - dc)) >> 8);
        break;
      }
      case 2: {
        const int g = 255 - f;
        if (dc <= 127)
          c[i] = ((sc * dc * f) >> 15) + ((dc * g) >> 8);
        else
          c[i] = (((255 - (((255 - sc) * (255 - dc)) >> 7)) * f) >> 8) + ((dc * g) >> 8);
        break;
      }
      case 3: {
        const int t = f * (2 * sc - 255) / 256;  // truncates toward zero
        c[i] = std::clamp(dc + t, 0, 255);
        break;
      }
      default:
        c[i] = std::min(dc + ((f * sc) >> 8), 255);
        break;
    }
  }
  int a = da;
  if (dstAlpha) a = mode == 2 ? (da * (255 - f) + f) >> 8 : f + (((255 - f) * da) >> 8);
  return Compose(c[0], c[1], c[2], a);
}

// Mode 5: the source replaces the destination when f reaches its alpha.
inline uint32_t MaxOpaquePixel(uint32_t d, uint32_t s, int f, bool dstAlpha) {
  if (f < B(d, 3)) return d;
  return dstAlpha ? WithAlpha(s, f) : s;
}

// FillColor, normal mode, mask without alpha, q < 255.
inline uint32_t FillPlain(uint32_t d, uint32_t k, int q, bool dstAlpha) {
  int c[3];
  for (int i = 0; i < 3; ++i) c[i] = (B(d, i) * (255 - q) + B(k, i) * q + 255) >> 8;
  return Compose(c[0], c[1], c[2], dstAlpha ? std::max(B(d, 3), q) : B(d, 3));
}

// FillColor, normal mode, mask with alpha, at strength f (the mask's alpha
// at full strength, else scaled by the opacity).
inline uint32_t FillMasked(uint32_t d, uint32_t k, int f, bool dstAlpha) {
  if (f <= 0) return d;
  const int da = B(d, 3);
  const uint32_t r = LerpColor(d, k, f);
  return dstAlpha ? WithAlpha(r, da + (((255 - da) * f) >> 8)) : r;
}

}  // namespace qv::blend
