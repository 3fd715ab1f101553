// A mask surface's alpha widened once for many fills through it: one 64-bit
// word per pixel holding the alpha in each of its four 16-bit lanes, the
// form the vector kernels multiply with. A particle system paints the same
// small image thousands of times a frame; widening it once per frame
// instead of once per particle is what the lanes are for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

class ISurface;

// One paint of a prepared mask: its top-left corner and its colour.
struct TMaskStamp {
  int x = 0;
  int y = 0;
  uint32_t color = 0;
};

class TPreparedMask {
public:
  // Takes the mask's current alpha (a mask without alpha flag is left
  // unprepared: it covers every pixel and needs no lanes). Storage grows
  // only; preparing a mask of the same size again allocates nothing.
  void Prepare(const ISurface& mask);
  void Reset() { width_ = height_ = 0; }

  // Prepared from a mask of this size with alpha.
  bool IsPrepared() const { return width_ > 0 && height_ > 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  const uint64_t* Row(int y) const {
    return lanes_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_);
  }

  // The indices of `stamps` ordered by bands of rows of their top edge (in
  // their order within a band), for a surface `height` rows high. The
  // storage is kept for the next call.
  const std::vector<uint32_t>& BandOrder(const std::vector<TMaskStamp>& stamps, int height);

private:
  int width_ = 0;
  int height_ = 0;
  std::vector<uint64_t> lanes_;
  std::vector<uint32_t> bandCounts_;
  std::vector<uint32_t> order_;
};

}  // namespace qv
