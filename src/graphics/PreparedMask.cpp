#include "graphics/PreparedMask.h"

#include "graphics/Surface.h"

namespace qv {

void TPreparedMask::Prepare(const ISurface& mask) {
  Reset();
  const int w = mask.GetWidth(), h = mask.GetHeight();
  if (!mask.GetHasAlpha() || w <= 0 || h <= 0) return;
  lanes_.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  uint64_t* out = lanes_.data();
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = mask.GetScanLine(y);
    for (int x = 0; x < w; ++x) *out++ = uint64_t{row[x] >> 24} * 0x0001000100010001ull;
  }
  width_ = w;
  height_ = h;
}

}  // namespace qv
