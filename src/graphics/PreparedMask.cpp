#include "graphics/PreparedMask.h"

#include <algorithm>

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

const std::vector<uint32_t>& TPreparedMask::BandOrder(const std::vector<TMaskStamp>& stamps, int height) {
  // Bands of 32 rows: a band of a 640-pixel surface and the stamps reaching
  // into the next one stay in the second-level cache.
  constexpr int kBand = 32;
  const int bands = std::max(1, (height + kBand - 1) / kBand) + 1;
  const auto band = [&](int y) { return y < 0 ? 0 : y >= height ? bands - 1 : y / kBand; };
  bandCounts_.assign(static_cast<size_t>(bands) + 1, 0);
  for (const TMaskStamp& s : stamps) ++bandCounts_[static_cast<size_t>(band(s.y)) + 1];
  for (int b = 0; b < bands; ++b)
    bandCounts_[static_cast<size_t>(b) + 1] += bandCounts_[static_cast<size_t>(b)];
  order_.resize(stamps.size());
  for (size_t i = 0; i < stamps.size(); ++i)
    order_[bandCounts_[static_cast<size_t>(band(stamps[i].y))]++] = static_cast<uint32_t>(i);
  return order_;
}

}  // namespace qv
