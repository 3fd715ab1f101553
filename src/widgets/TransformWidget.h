// Decorators that render their one child into a buffer of their own,
// transform it there and draw the buffer instead of the child. The buffer is
// rebuilt only when the child reported a change or a parameter changed, so a
// still picture costs one blit per frame.
//
// The buffer belongs to the widget (made by the engine's surface factory on
// first use, enlarged when the widget grows, never shrunk); the child's
// picture is rendered into a scratch surface the widget keeps as well.
#pragma once

#include "graphics/Surface.h"
#include "widgets/DecorateWidget.h"

namespace qv {

class TTransformWidget : public TDecorateWidget {
public:
  // "need_to_repaint": the buffer's dirty flag (property only).
  QV_PROPERTY_TABLE(TTransformWidget)

  // The child's pass first (its rectangle marks the buffer dirty), then
  // the widget's own. The child is never drawn on the screen itself.
  bool UpdateDirtyRegion(bool forceOld, bool forceNew) override;
  // The buffer, prepared, at the position GetDrawOffset gives.
  void Draw(ISurface* target, int x, int y) override;
  // The rectangle test, then the buffer's alpha at the point.
  bool ContainsPoint(TPoint point, bool ignoreVisibility) override;
  Ref<IWidget> WidgetAtPos(TPoint point) override;
  TPoint ScreenToChildLocal(TPoint point) override;

  // Renders the child into the cleared buffer.
  virtual void Transform(ISurface& buffer) = 0;
  // Moves the drawing position of the buffer (nothing here).
  virtual void GetDrawOffset(int& x, int& y) const {
    (void)x;
    (void)y;
  }
  // Maps a point of the buffer to the child (nothing here).
  virtual void InverseMapPoint(int& x, int& y) const {
    (void)x;
    (void)y;
  }
  // Repaint, new geometry, a rebuilt buffer and a new picture of the child.
  virtual void MarkDirty();

  bool IsBufferDirty() const { return bufferDirty_; }
  // Makes the buffer (when missing), sizes it and rebuilds it when dirty;
  // false without engine or child.
  bool PrepareBuffer();
  ISurface* GetBuffer() const { return buffer_.get(); }

protected:
  ~TTransformWidget() override = default;

  // The child's picture (its rectangle), in a scratch surface kept between
  // frames and rendered again only when the child reported a change (or is
  // another child, or changed its size); nullptr without child or engine.
  ISurface* ChildImage();
  // Drops the buffer; the next preparation makes one of the new size.
  void ReleaseBuffer() {
    buffer_ = nullptr;
    bufferDirty_ = true;
  }

  Ref<ISurface> buffer_;
  bool bufferDirty_ = true;

private:
  Ref<ISurface> childImage_;
  const IWidget* imageOf_ = nullptr;
  bool childImageDirty_ = true;
};

// "masked_widget": the child's picture where the image resource
// "resourcename" has opaque pixels.
class TMaskedSurfaceWidget : public TTransformWidget {
public:
  // "resourcename", always written.
  QV_PROPERTY_TABLE(TMaskedSurfaceWidget)

  int GetWidth() const override { return widget_ ? widget_->GetRect().Width() : 0; }
  int GetHeight() const override { return widget_ ? widget_->GetRect().Height() : 0; }
  void Transform(ISurface& buffer) override;

protected:
  ~TMaskedSurfaceWidget() override = default;

private:
  std::string maskName_;
};

// "contour_widget": the child with a line of "contourthickness" pixels in
// "contourcolor" round its pixels whose alpha exceeds "alphalimit". The
// widget is that many pixels larger than the child on every side.
class TContourWidget : public TTransformWidget {
public:
  // "showcontour" (default yes), "contourcolor", "contourthickness",
  // "alphalimit".
  QV_PROPERTY_TABLE(TContourWidget)

  double GetLeft() const override;
  double GetTop() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  void GetDrawOffset(int& x, int& y) const override;
  void InverseMapPoint(int& x, int& y) const override;
  void Transform(ISurface& buffer) override;

protected:
  ~TContourWidget() override = default;

private:
  int Margin() const { return thickness_ > 0 ? thickness_ : 0; }

  bool showContour_ = true;
  uint32_t contourColor_ = 0;
  int thickness_ = 0;
  int alphaLimit_ = 0;
};

// "cutsector_widget": the child with the sector seen from (centerx,
// centery) between "startangle" (inclusive) and "endangle" (exclusive)
// cut out (made transparent). Angles in degrees, y downwards, the sector
// running from the start angle the way angles grow.
class TCutSectorWidget : public TTransformWidget {
public:
  QV_PROPERTY_TABLE(TCutSectorWidget)

  double GetLeft() const override;
  double GetTop() const override;
  int GetWidth() const override { return widget_ ? widget_->GetWidth() : 0; }
  int GetHeight() const override { return widget_ ? widget_->GetHeight() : 0; }
  void GetDrawOffset(int& x, int& y) const override;
  void InverseMapPoint(int& x, int& y) const override;
  void Transform(ISurface& buffer) override;

  // Whether a direction (degrees) lies in the sector.
  bool InSector(double degrees) const;

protected:
  ~TCutSectorWidget() override = default;

private:
  // round(child anchor - child left / top).
  int ChildShiftX() const;
  int ChildShiftY() const;

  double centerX_ = 0.0, centerY_ = 0.0, startAngle_ = 0.0, endAngle_ = 0.0;
};

// "scrollarea_widget": a "width" x "height" window onto the child starting
// at ("shiftleft", "shifttop").
class TScrollAreaWidget : public TTransformWidget {
public:
  // "width", "height" always written; "shifttop", "shiftleft" when not 0.
  QV_PROPERTY_TABLE(TScrollAreaWidget)

  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  void InverseMapPoint(int& x, int& y) const override {
    x += shiftLeft_;
    y += shiftTop_;
  }
  void Transform(ISurface& buffer) override;

protected:
  ~TScrollAreaWidget() override = default;

private:
  void SetValue(int& field, int value) {
    if (field == value) return;
    field = value;
    geometryChanged_ = true;
    bufferDirty_ = true;
  }

  int width_ = 0, height_ = 0, shiftTop_ = 0, shiftLeft_ = 0;
};

}  // namespace qv
