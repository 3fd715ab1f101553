#include "graphics/Surface.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "graphics/Blend.h"
#include "graphics/BlendPixel.h"
#include "graphics/PreparedMask.h"

namespace qv {

TSurface::TSurface(int width, int height, bool hasAlpha) : hasAlpha_(hasAlpha) {
  SetSize(width, height);
}

Ref<ISurface> CreateSurface(int width, int height, bool hasAlpha) {
  return MakeRef<TSurface>(width, height, hasAlpha);
}

void TSurface::SetSize(int width, int height) {
  pixels_ = {};
  width_ = height_ = 0;
  if (width <= 0 || height <= 0 || int64_t{width} * height > kMaxSurfacePixels) return;
  pixels_.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
  width_ = width;
  height_ = height;
}

uint32_t* TSurface::GetScanLine(int y) {
  return y >= 0 && y < height_ ? pixels_.data() + Index(0, y) : nullptr;
}

const uint32_t* TSurface::GetScanLine(int y) const {
  return y >= 0 && y < height_ ? pixels_.data() + Index(0, y) : nullptr;
}

uint32_t TSurface::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[Index(x, y)];
}

void TSurface::SetPixel(int x, int y, uint32_t color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  if (clipEnabled_ && !clip_.Contains(x, y)) return;
  pixels_[Index(x, y)] = hasAlpha_ ? color : (color | 0xFF000000u);
}

void TSurface::Clear() {
  std::fill(pixels_.begin(), pixels_.end(), 0u);
}

void TSurface::SetClip(bool enabled, const TRect& rect) {
  clipEnabled_ = enabled;
  clip_ = rect;
}

int TSurface::AddDirtyRect(const TRect& rect) {
  const int count = dirty_.AddRect(rect);
  regionClip_ = !dirty_.IsEmpty();
  return count;
}

void TSurface::ClearDirtyRegion() {
  dirty_.Clear();
  regionClip_ = false;
  clipEnabled_ = false;
}

TPixelStatistics TSurface::GetPixelStatistics(
    const std::function<void(const std::string& name, long long value)>& set, int threshold) const {
  TPixelStatistics st;
  st.pixels = static_cast<int64_t>(pixels_.size());
  for (uint32_t p : pixels_)
    if (static_cast<int>(p >> 24) > threshold) ++st.opaque;
  st.transparent = st.pixels - st.opaque;
  if (set) {
    set("PixelsCount", st.pixels);
    set("TransparentCount", st.transparent);
    set("OpaqueCount", st.opaque);
  }
  return st;
}

bool TSurface::ClipRects(int sourceWidth, int sourceHeight, const TRect& sourceRect, const TRect& destRect,
                         TBlitRect& out) const {
  if (pixels_.empty() || sourceWidth <= 0 || sourceHeight <= 0) return false;
  // 64-bit arithmetic: rectangles come from data and may be anything.
  int64_t dl = destRect.left, dt = destRect.top, dr = destRect.right, db = destRect.bottom;
  int64_t sl = sourceRect.left, st = sourceRect.top, sr = sourceRect.right, sb = sourceRect.bottom;
  if (dr <= 0 || db <= 0 || dl >= width_ || dt >= height_ || dr <= dl || db <= dt) return false;
  if (sr <= 0 || sb <= 0 || sl >= sourceWidth || st >= sourceHeight || sr <= sl || sb <= st) return false;
  if (clipEnabled_) {
    if (dl < clip_.left) {
      sl += clip_.left - dl;
      dl = clip_.left;
    }
    if (dt < clip_.top) {
      st += clip_.top - dt;
      dt = clip_.top;
    }
    dr = std::min<int64_t>(dr, clip_.right);
    db = std::min<int64_t>(db, clip_.bottom);
  }
  int64_t w = std::min(sr - sl, dr - dl), h = std::min(sb - st, db - dt);
  if (dl < 0) {
    sl -= dl;
    w += dl;
    dl = 0;
  }
  if (dt < 0) {
    st -= dt;
    h += dt;
    dt = 0;
  }
  w = std::min<int64_t>(w, width_ - dl);
  h = std::min<int64_t>(h, height_ - dt);
  if (sl < 0) {
    dl -= sl;
    w += sl;
    sl = 0;
  }
  if (st < 0) {
    dt -= st;
    h += st;
    st = 0;
  }
  w = std::min<int64_t>(w, sourceWidth - sl);
  h = std::min<int64_t>(h, sourceHeight - st);
  if (w <= 0 || h <= 0) return false;
  out = {static_cast<int>(dl), static_cast<int>(dt), static_cast<int>(sl),
         static_cast<int>(st), static_cast<int>(w),  static_cast<int>(h)};
  return true;
}

template <class Op>
bool TSurface::ForEachClip(const TRect& destRect, Op op) {
  if (!(clipEnabled_ && regionClip_)) return op();
  const TRect saved = clip_;
  bool drew = false;
  for (const TRect& r : dirty_.Rects()) {
    const TRect part = Intersect(r, destRect);
    if (part.IsEmpty()) continue;
    clip_ = part;
    drew = op() || drew;
  }
  clip_ = saved;
  return drew;
}

bool TSurface::Draw(const ISurface* source, const TRect& sourceRect, EBlendMode mode, int opacity,
                    const TRect& destRect) {
  if (opacity <= 0 || mode < 0 || mode > kBlendMaxOpaque || !source) return false;
  opacity = std::min(opacity, 255);
  if (source == this) {
    // Onto itself: the rows may overlap, so read from a copy.
    const Ref<TSurface> copy = Copy();
    return Draw(copy.get(), sourceRect, mode, opacity, destRect);
  }
  return ForEachClip(destRect, [&] { return DrawOnce(source, sourceRect, mode, opacity, destRect); });
}

bool TSurface::DrawOnce(const ISurface* source, const TRect& sourceRect, EBlendMode mode, int opacity,
                        const TRect& destRect) {
  TBlitRect b;
  if (!ClipRects(source->GetWidth(), source->GetHeight(), sourceRect, destRect, b)) return false;
  const bool srcAlpha = source->GetHasAlpha();
  // Rows are contiguous with a stride of the width on every surface.
  const uint32_t* s = source->GetScanLine(b.sy) + b.sx;
  const size_t sStride = static_cast<size_t>(source->GetWidth());
  uint32_t* d = PixelAddress(b.dx, b.dy);
  if (mode == kBlendNormal && !srcAlpha && opacity == 255 && b.width == width_ &&
      b.width == source->GetWidth()) {
    std::memcpy(d, s, static_cast<size_t>(b.width) * static_cast<size_t>(b.height) * 4);
    return true;
  }
  blend::ActiveKernels().drawRect[mode](d, width_, s, static_cast<ptrdiff_t>(sStride), b.width, b.height,
                                        opacity, hasAlpha_, srcAlpha);
  return true;
}

bool TSurface::FillColor(uint32_t color, const ISurface* mask, EBlendMode mode, int opacity,
                         const TRect& destRect, const TRect& maskRect) {
  // Opacity 0 paints nothing in any mode (the formulas of modes 1 to 5
  // would still nudge colour and alpha at strength 0).
  if (opacity <= 0 || mode < 0 || mode > kBlendMaxOpaque) return false;
  if (mask == this) return FillColor(color, Copy().get(), mode, opacity, destRect, maskRect);
  opacity = std::min(opacity, 255);
  return ForEachClip(destRect, [&] { return FillOnce(color, mask, mode, opacity, destRect, maskRect); });
}

bool TSurface::FillOnce(uint32_t color, const ISurface* mask, EBlendMode mode, int opacity,
                        const TRect& destRect, const TRect& maskRect) {
  TBlitRect b;
  // Without a mask the fill covers the destination rectangle (bounded to
  // the surface first, so any rectangle works).
  const TRect dr = mask ? destRect : Intersect(destRect, {0, 0, width_, height_});
  const int mw = mask ? mask->GetWidth() : dr.Width();
  const int mh = mask ? mask->GetHeight() : dr.Height();
  const TRect mr = mask ? maskRect : TRect::FromSize(0, 0, mw, mh);
  if (!ClipRects(mw, mh, mr, dr, b)) return false;
  const bool maskAlpha = mask && mask->GetHasAlpha();
  blend::ActiveKernels().fillRect[mode](
      PixelAddress(b.dx, b.dy), width_, maskAlpha ? mask->GetScanLine(b.sy) + b.sx : nullptr,
      maskAlpha ? mask->GetWidth() : 0, b.width, b.height, color, opacity, hasAlpha_, maskAlpha);
  return true;
}

bool TSurface::FillColorPrepared(uint32_t color, const ISurface* mask, const TPreparedMask& prepared,
                                 EBlendMode mode, int opacity, const TRect& destRect) {
  if (!mask) return false;
  const int mw = mask->GetWidth(), mh = mask->GetHeight();
  const TRect whole{0, 0, mw, mh};
  if (mode != kBlendAddition || hasAlpha_ || mask == this || !mask->GetHasAlpha() || !prepared.IsPrepared() ||
      prepared.Width() != mw || prepared.Height() != mh)
    return FillColor(color, mask, mode, opacity, destRect, whole);
  if (opacity <= 0) return false;
  opacity = std::min(opacity, 255);
  const auto fill = blend::ActiveKernels().fillAddLanes;
  return ForEachClip(destRect, [&] {
    TBlitRect b;
    if (!ClipRects(mw, mh, whole, destRect, b)) return false;
    fill(PixelAddress(b.dx, b.dy), width_, prepared.Row(b.sy) + b.sx, mw, b.width, b.height, color, opacity);
    return true;
  });
}

bool TSurface::FillColorStamps(const ISurface* mask, TPreparedMask& prepared, EBlendMode mode, int opacity,
                               const std::vector<TMaskStamp>& stamps) {
  if (!mask) return false;
  const int mw = mask->GetWidth(), mh = mask->GetHeight();
  const bool commutes = mode == kBlendAddition && !hasAlpha_ && mask != this && mask->GetHasAlpha() &&
                        prepared.IsPrepared() && prepared.Width() == mw && prepared.Height() == mh;
  bool drew = false;
  if (!commutes || opacity <= 0) {
    for (const TMaskStamp& s : stamps)
      drew = FillColorPrepared(s.color, mask, prepared, mode, opacity, TRect::FromSize(s.x, s.y, mw, mh)) ||
             drew;
    return drew;
  }
  opacity = std::min(opacity, 255);
  const auto fill = blend::ActiveKernels().fillAddLanes;
  const TRect whole{0, 0, mw, mh};
  for (const uint32_t i : prepared.BandOrder(stamps, height_)) {
    const TMaskStamp& s = stamps[i];
    const TRect dest = TRect::FromSize(s.x, s.y, mw, mh);
    const auto once = [&] {
      TBlitRect b{dest.left, dest.top, 0, 0, mw, mh};
      // Most stamps lie wholly inside the surface and the clip, where
      // clipping would change nothing.
      const bool inside = dest.left >= 0 && dest.top >= 0 && dest.right <= width_ && dest.bottom <= height_ &&
                          dest.Width() == mw && dest.Height() == mh &&
                          (!clipEnabled_ || (dest.left >= clip_.left && dest.top >= clip_.top &&
                                             dest.right <= clip_.right && dest.bottom <= clip_.bottom));
      if (!inside && !ClipRects(mw, mh, whole, dest, b)) return false;
      fill(PixelAddress(b.dx, b.dy), width_, prepared.Row(b.sy) + b.sx, mw, b.width, b.height, s.color,
           opacity);
      return true;
    };
    if (ForEachClip(dest, once)) drew = true;
  }
  return drew;
}

bool TSurface::DrawMasked(const ISurface* source, const TRect& sourceRect, const TRect& destRect,
                          const TRect& maskRect, const ISurface* mask) {
  if (!source || !mask) return false;
  if (source == this || mask == this) {
    const Ref<TSurface> copy = Copy();
    return DrawMasked(source == this ? copy.get() : source, sourceRect, destRect, maskRect,
                      mask == this ? copy.get() : mask);
  }
  TBlitRect b;
  if (!ClipRects(source->GetWidth(), source->GetHeight(), sourceRect, destRect, b)) return false;
  // Dest, source and mask pixels correspond one to one from their corners.
  int64_t offX = int64_t{b.dx} - destRect.left, offY = int64_t{b.dy} - destRect.top;
  int64_t mx = maskRect.left + offX, my = maskRect.top + offY;
  int64_t w = std::min<int64_t>(b.width, int64_t{maskRect.right} - maskRect.left - offX);
  int64_t h = std::min<int64_t>(b.height, int64_t{maskRect.bottom} - maskRect.top - offY);
  int64_t dx = b.dx, dy = b.dy, sx = b.sx, sy = b.sy;
  if (mx < 0) {
    dx -= mx;
    sx -= mx;
    w += mx;
    mx = 0;
  }
  if (my < 0) {
    dy -= my;
    sy -= my;
    h += my;
    my = 0;
  }
  w = std::min<int64_t>(w, mask->GetWidth() - mx);
  h = std::min<int64_t>(h, mask->GetHeight() - my);
  if (w <= 0 || h <= 0) return false;
  const bool maskAlpha = mask->GetHasAlpha();
  const uint32_t force = hasAlpha_ ? 0u : 0xFF000000u;
  for (int64_t y = 0; y < h; ++y) {
    uint32_t* d = PixelAddress(static_cast<int>(dx), static_cast<int>(dy + y));
    const uint32_t* s = source->GetScanLine(static_cast<int>(sy + y)) + sx;
    const uint32_t* m = mask->GetScanLine(static_cast<int>(my + y)) + mx;
    for (int64_t x = 0; x < w; ++x)
      if (!maskAlpha || (m[x] >> 24) != 0) d[x] = s[x] | force;
  }
  return true;
}

Ref<TSurface> TSurface::Copy() const {
  auto copy = MakeRef<TSurface>();
  copy->width_ = width_;
  copy->height_ = height_;
  copy->hasAlpha_ = hasAlpha_;
  copy->pixels_ = pixels_;
  return copy;
}

namespace {

// Scale factors whose size lies outside this range draw nothing (and keep
// the 16.16 steps far from overflow); a negative factor mirrors.
bool ScaleUsable(double scale) {
  return std::isfinite(scale) && std::abs(scale) >= 1e-4 && std::abs(scale) <= 1e4;
}

// Positions beyond this size draw nothing (the image is far off anyway).
bool PositionUsable(double v) {
  return std::isfinite(v) && std::abs(v) <= 1e9;
}

// Bilinear mix of two pixels, each channel a + floor(w * (b - a) / 2^Bits),
// computed as (a * (2^Bits - w) + b * w) >> Bits (the same value, since
// a * 2^Bits is a whole multiple) on two channels at a time.
template <int Bits>
inline uint32_t Mix(uint32_t a, uint32_t b, int w) {
  const uint32_t wb = static_cast<uint32_t>(w), wa = (1u << Bits) - wb;
  if constexpr (Bits <= 8) {
    // Each product fits 16 bits: blue and red, then green and alpha.
    const uint32_t rb = (((a & 0x00FF00FFu) * wa + (b & 0x00FF00FFu) * wb) >> Bits) & 0x00FF00FFu;
    const uint32_t ag =
        ((((a >> 8) & 0x00FF00FFu) * wa + ((b >> 8) & 0x00FF00FFu) * wb) >> Bits) & 0x00FF00FFu;
    return rb | ag << 8;
  } else {
    // 24-bit products: two channels in the halves of a 64-bit word.
    const auto spread = [](uint32_t p) { return (p & 0xFFu) | static_cast<uint64_t>(p & 0xFF0000u) << 16; };
    constexpr uint64_t kMask = 0x000000FF000000FFull;
    const uint64_t rb = ((spread(a) * wa + spread(b) * wb) >> Bits) & kMask;
    const uint64_t ag = ((spread(a >> 8) * wa + spread(b >> 8) * wb) >> Bits) & kMask;
    const auto pack = [](uint64_t v) {
      return static_cast<uint32_t>(v) | static_cast<uint32_t>(v >> 32) << 16;
    };
    return pack(rb) | pack(ag) << 8;
  }
}

}  // namespace

namespace {

// One row of bilinear samples with `Bits`-bit fractions, stepping the 16.16
// source position (u, v) by (du, dv). Interior samples read their four
// neighbours straight from the rows; at the source's edges the missing
// neighbours are the destination pixel's.
template <int Bits>
void BilinearRow(uint32_t* d, int n, int64_t u, int64_t v, int64_t du, int64_t dv, const uint32_t* base,
                 int sw, int sh, uint32_t sourceForce, uint32_t force) {
  const ptrdiff_t stride = sw;
  for (int i = 0; i < n; ++i, ++d, u += du, v += dv) {
    const int64_t iu = u >> 16, iv = v >> 16;
    if (iu < -1 || iv < -1 || iu >= sw || iv >= sh) {
      *d = force;
      continue;
    }
    const int fu = static_cast<int>(u & 0xFFFF) >> (16 - Bits);
    const int fv = static_cast<int>(v & 0xFFFF) >> (16 - Bits);
    uint32_t p00, p10, p01, p11;
    if (iu >= 0 && iv >= 0 && iu + 1 < sw && iv + 1 < sh) {
      const uint32_t* p = base + iv * stride + iu;
      p00 = p[0] | sourceForce;
      p10 = p[1] | sourceForce;
      p01 = p[stride] | sourceForce;
      p11 = p[stride + 1] | sourceForce;
    } else {
      const uint32_t here = *d;
      const auto sample = [=](int64_t px, int64_t py) {
        return px >= 0 && py >= 0 && px < sw && py < sh ? base[py * stride + px] | sourceForce : here;
      };
      p00 = sample(iu, iv);
      p10 = sample(iu + 1, iv);
      p01 = sample(iu, iv + 1);
      p11 = sample(iu + 1, iv + 1);
    }
    *d = Mix<Bits>(Mix<Bits>(p00, p10, fu), Mix<Bits>(p01, p11, fu), fv) | force;
  }
}

}  // namespace

// Renders the source through an inverse mapping: the centre of destination
// pixel (X, Y) shows source position (x0 + X'*ux + Y'*vx, y0 + X'*uy + Y'*vy)
// with X' = X + 0.5 and Y' = Y + 0.5, stepped in 16.16 fixed point over the
// box. The source rows are reached from one base pointer (rows are
// contiguous with a stride of the width on every surface).
void TSurface::RenderMapped(const ISurface* source, bool smooth, double x0, double y0, double ux, double uy,
                            double vx, double vy, const TRect& box, bool rotationPath) {
  const int sw = source->GetWidth(), sh = source->GetHeight();
  const uint32_t* const base = source->GetScanLine(0);
  const ptrdiff_t stride = sw;
  const auto fix = [](double v) { return static_cast<int64_t>(std::llround(v * 65536.0)); };
  // Each row starts from its exact position, so steps never drift down rows.
  const int64_t dux = fix(ux), duy = fix(uy);
  const uint32_t force = hasAlpha_ ? 0u : 0xFF000000u;
  // A source without alpha flag counts as opaque whatever its alpha bytes.
  const uint32_t sourceForce = source->GetHasAlpha() ? 0u : 0xFF000000u;
  const int n = box.Width();
  for (int Y = box.top; Y < box.bottom; ++Y) {
    // The bilinear grid sits on pixel centres, half a pixel back.
    const double cx = box.left + 0.5, cy = Y + 0.5, grid = smooth ? 0.5 : 0.0;
    int64_t u = fix(x0 + cx * ux + cy * vx - grid);
    int64_t v = fix(y0 + cx * uy + cy * vy - grid);
    uint32_t* d = PixelAddress(box.left, Y);
    if (smooth) {
      if (rotationPath)
        BilinearRow<16>(d, n, u, v, dux, duy, base, sw, sh, sourceForce, force);
      else
        BilinearRow<7>(d, n, u, v, dux, duy, base, sw, sh, sourceForce, force);
      continue;
    }
    for (int i = 0; i < n; ++i, ++d, u += dux, v += duy) {
      const int64_t iu = u >> 16, iv = v >> 16;
      *d = iu >= 0 && iv >= 0 && iu < sw && iv < sh ? base[iv * stride + iu] | sourceForce | force : force;
    }
  }
}

void TSurface::RenderTransformed(const ISurface* source, double x, double y, double scaleX, double scaleY,
                                 bool smooth, double angle) {
  if (!source || pixels_.empty() || source->GetWidth() <= 0 || source->GetHeight() <= 0) return;
  if (!ScaleUsable(scaleX) || !ScaleUsable(scaleY) || !std::isfinite(angle)) return;
  if (!PositionUsable(x) || !PositionUsable(y)) return;
  // Equal positive factors take the rotation path; anything else (a
  // negative factor mirrors) the independent-scale path, angle ignored.
  const bool rotation = scaleX == scaleY && scaleX > 0;
  double c = 1, s = 0;
  if (rotation) {
    const double rad = angle * std::numbers::pi / 180.0;
    c = std::cos(rad);
    s = std::sin(rad);
    if ((scaleX == 1 && angle == 90) || angle == 180 || angle == 270) smooth = false;
  }
  // Forward: dest = centre + R * S * (src - (source centre + (x, y))).
  const double sw = source->GetWidth(), sh = source->GetHeight();
  const double dcx = width_ / 2.0, dcy = height_ / 2.0, scx = sw / 2.0 + x, scy = sh / 2.0 + y;
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  for (const auto& [cx, cy] : {std::pair{0.0, 0.0}, {sw, 0.0}, {0.0, sh}, {sw, sh}}) {
    const double px = (cx - scx) * scaleX, py = (cy - scy) * scaleY;
    const double fx = dcx + px * c - py * s, fy = dcy + px * s + py * c;
    minX = std::min(minX, fx);
    maxX = std::max(maxX, fx);
    minY = std::min(minY, fy);
    maxY = std::max(maxY, fy);
  }
  // Widened by 2 pixels and bounded by the surface alone.
  const auto bound = [](double v, int limit) { return static_cast<int>(std::clamp(v, 0.0, double(limit))); };
  const TRect box{bound(std::floor(minX) - 2, width_), bound(std::floor(minY) - 2, height_),
                  bound(std::ceil(maxX) + 2, width_), bound(std::ceil(maxY) + 2, height_)};
  if (box.IsEmpty()) return;
  // Inverse: src = source centre + (x, y) + S^-1 * R^-1 * (dest - centre).
  const double ux = c / scaleX, uy = -s / scaleY, vx = s / scaleX, vy = c / scaleY;
  const double x0 = scx - (dcx * ux + dcy * vx), y0 = scy - (dcx * uy + dcy * vy);
  RenderMapped(source, smooth, x0, y0, ux, uy, vx, vy, box, rotation);
}

void TSurface::DrawTransformed(const ISurface* source, TPoint /*pivot*/, double x, double y, double scaleX,
                               double scaleY, bool smooth, double angle) {
  if (source == this) return RenderTransformed(Copy().get(), x, y, scaleX, scaleY, smooth, angle);
  RenderTransformed(source, x, y, scaleX, scaleY, smooth, angle);
}

void TSurface::DrawScaled(const ISurface* source, bool smooth, double x, double y, double scaleX,
                          double scaleY) {
  if (source == this) return RenderTransformed(Copy().get(), x, y, scaleX, scaleY, smooth, 0);
  RenderTransformed(source, x, y, scaleX, scaleY, smooth, 0);
}

void TSurface::DrawAt(const ISurface* source, double x, double y) {
  if (source == this) return DrawAt(Copy().get(), x, y);
  if (!source || pixels_.empty() || !PositionUsable(x) || !PositionUsable(y)) return;
  const int sw = source->GetWidth(), sh = source->GetHeight();
  if (sw <= 0 || sh <= 0) return;
  if (x == std::floor(x) && y == std::floor(y)) {
    TBlitRect b;
    const int ix = static_cast<int>(x), iy = static_cast<int>(y);
    if (!ClipRects(sw, sh, {0, 0, sw, sh}, TRect::FromSize(ix, iy, sw, sh), b)) return;
    // Alpha as on the fractional path: an opaque source or an opaque
    // surface stores 255.
    const uint32_t force = hasAlpha_ && source->GetHasAlpha() ? 0u : 0xFF000000u;
    for (int r = 0; r < b.height; ++r) {
      uint32_t* d = PixelAddress(b.dx, b.dy + r);
      const uint32_t* s = source->GetScanLine(b.sy + r) + b.sx;
      if (force == 0)
        std::memcpy(d, s, static_cast<size_t>(b.width) * 4);
      else
        for (int i = 0; i < b.width; ++i) d[i] = s[i] | force;
    }
    return;
  }
  const int left = static_cast<int>(std::floor(x)), top = static_cast<int>(std::floor(y));
  TRect box = Intersect(TRect::FromSize(left, top, sw + 1, sh + 1), {0, 0, width_, height_});
  if (clipEnabled_) box = Intersect(box, clip_);
  if (box.IsEmpty()) return;
  // The centre of destination pixel X shows source position X + 0.5 - x.
  RenderMapped(source, true, -x, -y, 1, 0, 0, 1, box, false);
}

}  // namespace qv
