// The moving transforms: sub-pixel placement, zoom about a centre, rotation
// about that centre and rotation over time.
#pragma once

#include "widgets/TransformWidget.h"

namespace qv {

// "smooth_move_widget": the anchor keeps whole pixels; the rest of a
// position (quantised down to "sampling_step") shifts the child's picture
// inside the buffer.
class TSmoothMoveWidget : public TTransformWidget {
public:
  // "sampling_step" (0..1, default 0.25, always written).
  QV_PROPERTY_TABLE(TSmoothMoveWidget)
  // The loaded anchors pass through the setters below.
  void LoadFromStorage(const StorageRef& storage) override;

  // floor(value) as the anchor, the quantised rest as the fraction.
  void SetAnchorLeft(double value) override;
  void SetAnchorTop(double value) override;
  int GetWidth() const override { return widget_ ? widget_->GetWidth() + 1 : 0; }
  int GetHeight() const override { return widget_ ? widget_->GetHeight() + 1 : 0; }
  void Transform(ISurface& buffer) override;

  double GetFracX() const { return fracX_; }
  double GetFracY() const { return fracY_; }
  double GetSamplingStep() const { return samplingStep_; }
  void SetSamplingStep(double value);

protected:
  ~TSmoothMoveWidget() override = default;

  double Quantised(double fraction) const;

  double fracX_ = 0.0, fracY_ = 0.0;
  double samplingStep_ = 0.25;
};

// "zoom_widget": the child scaled by ("zoomx", "zoomy") about the point
// ("centerx", "centery") of the child, which stays at the anchor.
class TZoomWidget : public TSmoothMoveWidget {
public:
  // "zoom" (both factors), "zoomx", "zoomy" (default the "zoom" value),
  // "centerx", "centery", "smooth".
  QV_PROPERTY_TABLE(TZoomWidget)
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  // |z| <= 0.01 becomes 0.01; a change drops the buffer.
  virtual void SetZoomX(float value);
  virtual void SetZoomY(float value);
  virtual void SetCenterX(float value);
  virtual void SetCenterY(float value);
  void SetSmooth(bool value);

  float GetZoomX() const { return zoomX_; }
  float GetZoomY() const { return zoomY_; }
  float GetCenterX() const { return centerX_; }
  float GetCenterY() const { return centerY_; }
  bool IsSmooth() const { return smooth_; }

  double GetLeft() const override;
  double GetTop() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  void GetDrawOffset(int& x, int& y) const override;
  void InverseMapPoint(int& x, int& y) const override;
  void Transform(ISurface& buffer) override;

protected:
  ~TZoomWidget() override = default;

  float zoomX_ = 1.0f, zoomY_ = 1.0f;
  float centerX_ = 0.0f, centerY_ = 0.0f;
  bool smooth_ = false;
};

// "rotate_widget": the zoomed child turned by "angle" degrees about the
// zoom centre, which stays at the anchor. Positive angles turn clockwise on
// screen, as the surface turns.
class TRotateWidget : public TZoomWidget {
public:
  // "angle" (always written).
  QV_PROPERTY_TABLE(TRotateWidget)
  double GetAngle() const { return angle_; }
  void SetAngle(double value);

  // Derived from the child's size, the zoom, the centre and the angle:
  // radius = sqrt(w^2 + h^2) * max(|zoomx|, |zoomy|) / 2; the pivot is the
  // zoomed offset of the centre from the child's middle (w / 2, h / 2),
  // turned with it.
  struct TGeometry {
    double radius = 0.0;
    double pivotX = 0.0, pivotY = 0.0;
  };
  TGeometry Geometry() const;

  double GetLeft() const override;
  double GetTop() const override;
  int GetWidth() const override;
  int GetHeight() const override { return GetWidth(); }
  void GetDrawOffset(int& x, int& y) const override;
  void InverseMapPoint(int& x, int& y) const override;
  void Transform(ISurface& buffer) override;

protected:
  ~TRotateWidget() override = default;

  double angle_ = 0.0;
};

// "rotate_widget_timed": while "rotate" is on, the angle follows the clock:
// startangle - currenttime * 360 / rotationtime.
class TTimedRotateWidget : public TRotateWidget {
public:
  // "startangle", "rotationtime" (default 1000, never 0), "rotate": all
  // always written.
  QV_PROPERTY_TABLE(TTimedRotateWidget)
  // The angle starts at "startangle".
  void LoadFromStorage(const StorageRef& storage) override;
  void AdvanceTime(int dt) override;

protected:
  ~TTimedRotateWidget() override = default;

private:
  double startAngle_ = 0.0;
  int rotationTime_ = 1000;
  bool rotate_ = false;
};

}  // namespace qv
