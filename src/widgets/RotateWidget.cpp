#include "widgets/RotateWidget.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Diagnostics.h"
#include "storage/StorageAccess.h"

namespace qv {

namespace {

// trunc for the geometry (int() of the widget code), saturated.
int Trunc(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp(std::trunc(v), -1e9, 1e9));
}

// Cosine and sine of an angle in degrees, exact at multiples of 90.
std::pair<double, double> CosSin(double degrees) {
  const double quarter = degrees / 90.0;
  if (std::isfinite(quarter) && quarter == std::floor(quarter)) {
    switch (static_cast<int>(std::fmod(std::fmod(quarter, 4.0) + 4.0, 4.0))) {
      case 0:
        return {1, 0};
      case 1:
        return {0, 1};
      case 2:
        return {-1, 0};
      default:
        return {0, -1};
    }
  }
  const double rad = degrees * std::numbers::pi / 180.0;
  return {std::cos(rad), std::sin(rad)};
}

}  // namespace

// --- smooth move -------------------------------------------------------------------

const TPropertyTable<TSmoothMoveWidget>& TSmoothMoveWidget::Properties() {
  using W = TSmoothMoveWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TTransformWidget::Properties())
          .Float("sampling_step", &W::GetSamplingStep, &W::SetSamplingStep, 0.25)
          .Always();
  return table;
}

void TSmoothMoveWidget::LoadFromStorage(const StorageRef& storage) {
  TTransformWidget::LoadFromStorage(storage);
  // The anchors again, now quantised by the loaded step.
  SetAnchorLeft(ReadFloat(storage, "anchor_left", 0.0));
  SetAnchorTop(ReadFloat(storage, "anchor_top", 0.0));
}

void TSmoothMoveWidget::SetSamplingStep(double value) {
  samplingStep_ = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.25;
}

double TSmoothMoveWidget::Quantised(double fraction) const {
  if (samplingStep_ <= 0) return fraction;
  return std::floor(fraction / samplingStep_) * samplingStep_;
}

void TSmoothMoveWidget::SetAnchorLeft(double value) {
  const double whole = std::isfinite(value) ? std::floor(value) : 0.0;
  TTransformWidget::SetAnchorLeft(whole);
  const double frac = Quantised(std::isfinite(value) ? value - whole : 0.0);
  if (frac != fracX_) {
    fracX_ = frac;
    bufferDirty_ = true;
    geometryChanged_ = true;
  }
}

void TSmoothMoveWidget::SetAnchorTop(double value) {
  const double whole = std::isfinite(value) ? std::floor(value) : 0.0;
  TTransformWidget::SetAnchorTop(whole);
  const double frac = Quantised(std::isfinite(value) ? value - whole : 0.0);
  if (frac != fracY_) {
    fracY_ = frac;
    bufferDirty_ = true;
    geometryChanged_ = true;
  }
}

void TSmoothMoveWidget::Transform(ISurface& buffer) {
  if (ISurface* child = ChildImage()) buffer.DrawAt(child, fracX_, fracY_);
}

// --- zoom ----------------------------------------------------------------------------

const TPropertyTable<TZoomWidget>& TZoomWidget::Properties() {
  using W = TZoomWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TSmoothMoveWidget::Properties())
          .Float(
              "zoom", [](const W& w) { return double(w.zoomX_); },
              [](W& w, double v) {
                w.SetZoomX(static_cast<float>(v));
                w.SetZoomY(static_cast<float>(v));
              },
              1.0)
          .PropertyOnly()
          .Float(
              "zoomx", [](const W& w) { return double(w.zoomX_); },
              [](W& w, double v) { w.SetZoomX(static_cast<float>(v)); }, 1.0)
          .PropertyOnly()
          .Float(
              "zoomy", [](const W& w) { return double(w.zoomY_); },
              [](W& w, double v) { w.SetZoomY(static_cast<float>(v)); }, 1.0)
          .PropertyOnly()
          .Float(
              "centerx", [](const W& w) { return double(w.centerX_); },
              [](W& w, double v) { w.SetCenterX(static_cast<float>(v)); })
          .Float(
              "centery", [](const W& w) { return double(w.centerY_); },
              [](W& w, double v) { w.SetCenterY(static_cast<float>(v)); })
          .Bool("smooth", &W::IsSmooth, &W::SetSmooth)
          .WhenTrue();
  return table;
}

void TZoomWidget::LoadFromStorage(const StorageRef& storage) {
  TSmoothMoveWidget::LoadFromStorage(storage);
  // "zoomx" and "zoomy" default to "zoom".
  const double zoom = ReadFloat(storage, "zoom", 1.0);
  SetZoomX(static_cast<float>(ReadFloat(storage, "zoomx", zoom)));
  SetZoomY(static_cast<float>(ReadFloat(storage, "zoomy", zoom)));
}

void TZoomWidget::SaveToStorage(const StorageRef& storage) {
  TSmoothMoveWidget::SaveToStorage(storage);
  if (zoomX_ == zoomY_) {
    WriteFloat(storage, "zoom", zoomX_, zoomX_ != 1.0f);
  } else {
    WriteFloat(storage, "zoomx", zoomX_);
    WriteFloat(storage, "zoomy", zoomY_);
  }
}

namespace {
float UsableZoom(float value) {
  return std::isfinite(value) && std::abs(value) > 0.01f ? value : 0.01f;
}
}  // namespace

void TZoomWidget::SetZoomX(float value) {
  value = UsableZoom(value);
  if (value == zoomX_) return;
  zoomX_ = value;
  geometryChanged_ = true;
  ReleaseBuffer();
}

void TZoomWidget::SetZoomY(float value) {
  value = UsableZoom(value);
  if (value == zoomY_) return;
  zoomY_ = value;
  geometryChanged_ = true;
  ReleaseBuffer();
}

void TZoomWidget::SetCenterX(float value) {
  if (value == centerX_) return;
  centerX_ = value;
  geometryChanged_ = true;
  bufferDirty_ = true;
}

void TZoomWidget::SetCenterY(float value) {
  if (value == centerY_) return;
  centerY_ = value;
  geometryChanged_ = true;
  bufferDirty_ = true;
}

void TZoomWidget::SetSmooth(bool value) {
  if (value != smooth_) bufferDirty_ = true;
  smooth_ = value;
}

double TZoomWidget::GetLeft() const {
  return Trunc(anchorLeft_) - Trunc(std::abs(zoomX_) * double(centerX_));
}
double TZoomWidget::GetTop() const {
  return Trunc(anchorTop_) - Trunc(std::abs(zoomY_) * double(centerY_));
}
int TZoomWidget::GetWidth() const {
  return widget_ ? Trunc(widget_->GetWidth() * std::abs(double(zoomX_))) + 1 : 0;
}
int TZoomWidget::GetHeight() const {
  return widget_ ? Trunc(widget_->GetHeight() * std::abs(double(zoomY_))) + 1 : 0;
}

void TZoomWidget::GetDrawOffset(int& x, int& y) const {
  x -= Trunc(std::abs(zoomX_) * double(centerX_));
  y -= Trunc(std::abs(zoomY_) * double(centerY_));
}

void TZoomWidget::InverseMapPoint(int& x, int& y) const {
  x = Trunc(std::floor((x - Trunc(std::abs(zoomX_) * double(centerX_))) / double(zoomX_) + centerX_));
  y = Trunc(std::floor((y - Trunc(std::abs(zoomY_) * double(centerY_))) / double(zoomY_) + centerY_));
}

void TZoomWidget::Transform(ISurface& buffer) {
  if (zoomX_ == 1.0f && zoomY_ == 1.0f) return TSmoothMoveWidget::Transform(buffer);
  ISurface* child = ChildImage();
  if (!child) return;
  const auto frac = [](double v) { return v - std::trunc(v); };
  const double x = (frac(std::abs(zoomX_) * double(centerX_)) - fracX_) / zoomX_;
  const double y = (frac(std::abs(zoomY_) * double(centerY_)) - fracY_) / zoomY_;
  buffer.DrawScaled(child, smooth_, x, y, zoomX_, zoomY_);
}

// --- rotate ----------------------------------------------------------------------------

const TPropertyTable<TRotateWidget>& TRotateWidget::Properties() {
  using W = TRotateWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TZoomWidget::Properties()).Float("angle", &W::GetAngle, &W::SetAngle).Always();
  return table;
}

void TRotateWidget::SetAngle(double value) {
  if (!std::isfinite(value)) value = 0.0;
  if (value == angle_) return;
  angle_ = value;
  geometryChanged_ = true;
  bufferDirty_ = true;
}

TRotateWidget::TGeometry TRotateWidget::Geometry() const {
  TGeometry g;
  if (!widget_) return g;
  const int w = widget_->GetWidth(), h = widget_->GetHeight();
  g.radius = std::sqrt(double(w) * w + double(h) * h) *
             std::max(std::abs(double(zoomX_)), std::abs(double(zoomY_))) / 2;
  // From the picture's true middle: with w div 2 an odd picture would sit
  // half a pixel off the circle the buffer covers, and lose an edge.
  const double p = zoomX_ * (centerX_ - w / 2.0), q = zoomY_ * (centerY_ - h / 2.0);
  // Turned the way the surface turns the picture, so the centre stays put.
  const auto [c, s] = CosSin(angle_);
  g.pivotX = p * c - q * s;
  g.pivotY = p * s + q * c;
  return g;
}

double TRotateWidget::GetLeft() const {
  const TGeometry g = Geometry();
  return Trunc(anchorLeft_) - Trunc(g.radius) - Trunc(g.pivotX);
}
double TRotateWidget::GetTop() const {
  const TGeometry g = Geometry();
  return Trunc(anchorTop_) - Trunc(g.radius) - Trunc(g.pivotY);
}
int TRotateWidget::GetWidth() const {
  return widget_ ? Trunc(2 * Geometry().radius) + 1 : 0;
}

void TRotateWidget::GetDrawOffset(int& x, int& y) const {
  const TGeometry g = Geometry();
  x -= Trunc(g.radius) + Trunc(g.pivotX);
  y -= Trunc(g.radius) + Trunc(g.pivotY);
}

void TRotateWidget::InverseMapPoint(int& x, int& y) const {
  const TGeometry g = Geometry();
  // Relative to the turning centre, turned back, unzoomed.
  const double dx = x - Trunc(g.radius) - Trunc(g.pivotX) - fracX_;
  const double dy = y - Trunc(g.radius) - Trunc(g.pivotY) - fracY_;
  const auto [c, s] = CosSin(angle_);
  x = Trunc(std::floor((dx * c + dy * s) / zoomX_ + centerX_));
  y = Trunc(std::floor((-dx * s + dy * c) / zoomY_ + centerY_));
}

void TRotateWidget::Transform(ISurface& buffer) {
  ISurface* child = ChildImage();
  if (!child) return;
  const TGeometry g = Geometry();
  const auto [c, s] = CosSin(angle_);
  // The turning centre belongs at anchor - pivot (plus the fraction); the
  // surface puts the picture's middle on the buffer's middle, so the rest
  // is a shift in buffer pixels, handed over in source pixels.
  const double ex = Trunc(g.radius) + Trunc(g.pivotX) - g.pivotX + fracX_ - buffer.GetWidth() / 2.0;
  const double ey = Trunc(g.radius) + Trunc(g.pivotY) - g.pivotY + fracY_ - buffer.GetHeight() / 2.0;
  const double x = -(c * ex + s * ey) / zoomX_, y = -(-s * ex + c * ey) / zoomY_;
  const double turn = std::fmod(angle_, 360.0);
  if (turn == 0.0) {
    buffer.DrawScaled(child, smooth_, x, y, zoomX_, zoomY_);
    return;
  }
  const TPoint pivot{Trunc(g.pivotX), Trunc(g.pivotY)};
  // The surface knows 90, 180 and 270 as exact turns.
  buffer.DrawTransformed(child, pivot, x, y, zoomX_, zoomY_, smooth_, turn < 0 ? turn + 360.0 : turn);
}

// --- timed rotation --------------------------------------------------------------------

const TPropertyTable<TTimedRotateWidget>& TTimedRotateWidget::Properties() {
  using W = TTimedRotateWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TRotateWidget::Properties())
                                             .Float("startangle", &W::startAngle_)
                                             .Always()
                                             .Int("rotationtime", &W::rotationTime_, 1000)
                                             .Always()
                                             .Bool("rotate", &W::rotate_)
                                             .Always();
  return table;
}

void TTimedRotateWidget::LoadFromStorage(const StorageRef& storage) {
  TRotateWidget::LoadFromStorage(storage);
  if (rotationTime_ == 0) {
    ReportDataError("widget " + GetName() + "@rotationtime", "a turn cannot take no time; 1000 is used");
    rotationTime_ = 1000;
  }
  SetAngle(startAngle_);
}

void TTimedRotateWidget::AdvanceTime(int dt) {
  TRotateWidget::AdvanceTime(dt);
  if (rotate_ && currentTime_ >= 0 && rotationTime_ != 0)
    SetAngle(startAngle_ - double(currentTime_) * 360.0 / rotationTime_);
}

}  // namespace qv
