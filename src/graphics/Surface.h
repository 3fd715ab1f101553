// 32-bit software surfaces: pixels in memory order blue, green, red, alpha
// (0xAARRGGBB as a little-endian uint32), rows top to bottom without padding.
// TSurface offers the whole drawing vocabulary of the engine: blending in six
// modes, filling through a mask, masked copy, scaled and rotated rendering,
// a clip rectangle and a dirty region that restricts Draw and FillColor.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/Ref.h"
#include "graphics/PreparedMask.h"
#include "graphics/Rect.h"
#include "graphics/Region.h"
#include "storage/PersistObject.h"

namespace qv {

// Blend modes of Draw and FillColor, in the order of kBlendModeNames.
enum EBlendMode : int {
  kBlendNormal = 0,
  kBlendScreen = 1,
  kBlendOverlay = 2,
  kBlendLinearLight = 3,
  kBlendAddition = 4,
  kBlendMaxOpaque = 5,
};
inline constexpr char kBlendModeNames[] = "/normal/screen/overlay/linearlight/addition/maxopaque";
// Draw kinds named in data: a Draw of a source image, or a FillColor.
inline constexpr char kDrawKindNames[] = "/copyrect/fillcolor";

// Upper bound of one surface's pixel count; larger sizes leave it empty.
inline constexpr int64_t kMaxSurfacePixels = int64_t{64} << 20;

struct TPixelStatistics {
  int64_t pixels = 0;
  int64_t transparent = 0;
  int64_t opaque = 0;
};

class ISurface : public virtual IInterface {
protected:
  ~ISurface() override = default;

public:
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  // Drops the pixels; a positive size allocates zeroed pixels.
  virtual void SetSize(int width, int height) = 0;
  // Row start, or nullptr outside 0..height-1.
  virtual uint32_t* GetScanLine(int y) = 0;
  virtual const uint32_t* GetScanLine(int y) const = 0;
  // 0 outside the surface.
  virtual uint32_t GetPixel(int x, int y) const = 0;
  // Ignored outside the surface or the enabled clip rectangle.
  virtual void SetPixel(int x, int y, uint32_t color) = 0;
  virtual bool GetHasAlpha() const = 0;
  virtual void SetHasAlpha(bool hasAlpha) = 0;

  // Blends the source rectangle onto the destination rectangle (one to one,
  // no stretching). False when nothing was drawn.
  virtual bool Draw(const ISurface* source, const TRect& sourceRect, EBlendMode mode, int opacity,
                    const TRect& destRect) = 0;
  // Paints `color` through the mask's alpha (a mask without alpha flag, or
  // no mask at all, covers the whole rectangle).
  virtual bool FillColor(uint32_t color, const ISurface* mask, EBlendMode mode, int opacity,
                         const TRect& destRect, const TRect& maskRect) = 0;
  // Copies source pixels where the mask's alpha is not 0.
  virtual bool DrawMasked(const ISurface* source, const TRect& sourceRect, const TRect& destRect,
                          const TRect& maskRect, const ISurface* mask) = 0;
  // Renders the source scaled and turned by `angle` degrees about its
  // centre, which lands on this surface's centre; (x, y) shift the sampled
  // source position by that many source pixels (the sub-pixel placement of
  // the caller). Destination pixel (X, Y) shows source point
  // centre + (x, y) + (scale and turn)^-1 * ((X + 0.5, Y + 0.5) - our centre).
  // The box written is the bounding box of the turned corners widened by
  // 2 pixels and bounded by the surface only (the clip rectangle does not
  // apply); inside it every pixel is overwritten, with 0 where no source
  // pixel lands. `pivot` is the caller's turning point in destination pixels
  // from the image centre; it does not move the image (callers place this
  // surface by it). Equal positive scales turn; otherwise the angle is
  // ignored and a negative factor mirrors about the centre.
  virtual void DrawTransformed(const ISurface* source, TPoint pivot, double x, double y, double scaleX,
                               double scaleY, bool smooth, double angle) = 0;
  // DrawTransformed without turning.
  virtual void DrawScaled(const ISurface* source, bool smooth, double x, double y, double scaleX,
                          double scaleY) = 0;
  // Copies the source to (x, y); a fractional position resamples it. Both
  // paths treat alpha alike: a source without alpha flag counts as opaque and
  // a surface without it stores 255.
  virtual void DrawAt(const ISurface* source, double x, double y) = 0;

  virtual void SetClip(bool enabled, const TRect& rect) = 0;
  virtual bool GetClipEnabled() const = 0;
  virtual TRect GetClipRect() const = 0;
  // Adds to the dirty region and turns region clipping on; returns the count.
  virtual int AddDirtyRect(const TRect& rect) = 0;
  // Empties the dirty region and turns region clipping and the clip off.
  virtual void ClearDirtyRegion() = 0;
  virtual const TRegion& GetDirtyRegion() const = 0;

  // Unchecked pixel access.
  virtual uint32_t* PixelAddress(int x, int y) = 0;
  virtual uint32_t& PixelAt(int x, int y) = 0;
  // Zeroes every byte.
  virtual void Clear() = 0;
  // Counts pixels whose alpha is above `threshold` as opaque, the others as
  // transparent, and hands "PixelsCount", "TransparentCount" and
  // "OpaqueCount" to `set` (typically a parameter collection's setter).
  virtual TPixelStatistics GetPixelStatistics(
      const std::function<void(const std::string& name, long long value)>& set, int threshold) const = 0;
};

// The result of rectangle clipping: copy `width` x `height` pixels from
// (sx, sy) of the source to (dx, dy) of the surface.
struct TBlitRect {
  int dx = 0, dy = 0, sx = 0, sy = 0, width = 0, height = 0;
};

class TSurface : public TAbstractObject, public ISurface {
protected:
  ~TSurface() override = default;

public:
  TSurface() = default;
  TSurface(int width, int height, bool hasAlpha = false);

  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  void SetSize(int width, int height) override;
  uint32_t* GetScanLine(int y) override;
  const uint32_t* GetScanLine(int y) const override;
  uint32_t GetPixel(int x, int y) const override;
  void SetPixel(int x, int y, uint32_t color) override;
  bool GetHasAlpha() const override { return hasAlpha_; }
  void SetHasAlpha(bool hasAlpha) override { hasAlpha_ = hasAlpha; }

  bool Draw(const ISurface* source, const TRect& sourceRect, EBlendMode mode, int opacity,
            const TRect& destRect) override;
  bool FillColor(uint32_t color, const ISurface* mask, EBlendMode mode, int opacity, const TRect& destRect,
                 const TRect& maskRect) override;
  bool DrawMasked(const ISurface* source, const TRect& sourceRect, const TRect& destRect,
                  const TRect& maskRect, const ISurface* mask) override;
  void DrawTransformed(const ISurface* source, TPoint pivot, double x, double y, double scaleX, double scaleY,
                       bool smooth, double angle) override;
  void DrawScaled(const ISurface* source, bool smooth, double x, double y, double scaleX,
                  double scaleY) override;
  void DrawAt(const ISurface* source, double x, double y) override;

  void SetClip(bool enabled, const TRect& rect) override;
  bool GetClipEnabled() const override { return clipEnabled_; }
  TRect GetClipRect() const override { return clip_; }
  int AddDirtyRect(const TRect& rect) override;
  void ClearDirtyRegion() override;
  const TRegion& GetDirtyRegion() const override { return dirty_; }

  uint32_t* PixelAddress(int x, int y) override { return pixels_.data() + Index(x, y); }
  uint32_t& PixelAt(int x, int y) override { return pixels_[Index(x, y)]; }
  void Clear() override;
  TPixelStatistics GetPixelStatistics(
      const std::function<void(const std::string& name, long long value)>& set, int threshold) const override;

  // FillColor(color, mask, mode, opacity, destRect, the whole mask) with the
  // mask's alpha already widened into `prepared` (made from `mask` as it is
  // now): the same pixels, faster when the same mask is painted many times
  // in addition mode onto a surface without alpha; any other case is the
  // plain FillColor.
  bool FillColorPrepared(uint32_t color, const ISurface* mask, const TPreparedMask& prepared, EBlendMode mode,
                         int opacity, const TRect& destRect);

  // FillColorPrepared(stamp colour, mask, prepared, mode, opacity, the mask's
  // size at the stamp) for every stamp, as if in their order. Addition onto
  // a surface without alpha commutes (each colour byte ends as min(d + the
  // sum of what is added, 255)), so there the stamps are painted band by
  // band of rows, which keeps the touched rows in the cache. True when any
  // stamp drew.
  bool FillColorStamps(const ISurface* mask, TPreparedMask& prepared, EBlendMode mode, int opacity,
                       const std::vector<TMaskStamp>& stamps);

  // Rectangle clipping shared by the rectangle operations: maps the source
  // rectangle of a source of the given size onto the destination rectangle,
  // honouring the clip and both bounds. False when nothing is left.
  bool ClipRects(int sourceWidth, int sourceHeight, const TRect& sourceRect, const TRect& destRect,
                 TBlitRect& out) const;

  // A new surface with the same size, alpha flag and pixels.
  Ref<TSurface> Copy() const;

private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }
  bool DrawOnce(const ISurface* source, const TRect& sourceRect, EBlendMode mode, int opacity,
                const TRect& destRect);
  bool FillOnce(uint32_t color, const ISurface* mask, EBlendMode mode, int opacity, const TRect& destRect,
                const TRect& maskRect);
  // Runs `op` once per dirty rectangle meeting destRect (with the clip set to
  // their intersection) while region clipping is on, else once.
  template <class Op>
  bool ForEachClip(const TRect& destRect, Op op);
  void RenderTransformed(const ISurface* source, double x, double y, double scaleX, double scaleY,
                         bool smooth, double angle);
  void RenderMapped(const ISurface* source, bool smooth, double x0, double y0, double ux, double uy,
                    double vx, double vy, const TRect& box, bool rotationPath);

  int width_ = 0;
  int height_ = 0;
  bool hasAlpha_ = false;
  std::vector<uint32_t> pixels_;
  bool clipEnabled_ = false;
  TRect clip_;
  TRegion dirty_;
  bool regionClip_ = false;
};

// A new surface of that size, as its interface.
Ref<ISurface> CreateSurface(int width, int height, bool hasAlpha = false);

}  // namespace qv
