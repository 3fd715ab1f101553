#include "widgets/TransformWidget.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "core/Diagnostics.h"
#include "services/IResourceLookup.h"

namespace qv {

// --- the buffer ------------------------------------------------------------------

const TPropertyTable<TTransformWidget>& TTransformWidget::Properties() {
  using W = TTransformWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TDecorateWidget::Properties())
                                             .Bool(
                                                 "need_to_repaint", [](const W& w) { return w.bufferDirty_; },
                                                 [](W& w, bool v) {
                                                   w.bufferDirty_ = v;
                                                   if (v) w.childImageDirty_ = true;
                                                 })
                                             .PropertyOnly();
  return table;
}

void TTransformWidget::MarkDirty() {
  needRepaint_ = true;
  geometryChanged_ = true;
  bufferDirty_ = true;
  childImageDirty_ = true;
}

bool TTransformWidget::UpdateDirtyRegion(bool forceOld, bool forceNew) {
  if (widget_) {
    widget_->UpdateDirtyRegion(false, false);
    if (widget_->HasDirtyRect()) MarkDirty();
  }
  return TVisualWidget::UpdateDirtyRegion(forceOld, forceNew);
}

bool TTransformWidget::PrepareBuffer() {
  if (!widget_) return false;
  if (!buffer_) {
    buffer_ = NewSurface();
    if (!buffer_) return false;
    buffer_->SetHasAlpha(true);
    bufferDirty_ = true;
  }
  const TRect rect = GetRect();
  if (buffer_->GetWidth() < rect.Width() || buffer_->GetHeight() < rect.Height()) {
    buffer_->SetSize(std::max(buffer_->GetWidth(), rect.Width()),
                     std::max(buffer_->GetHeight(), rect.Height()));
    bufferDirty_ = true;
  }
  if (bufferDirty_) {
    buffer_->Clear();
    Transform(*buffer_);
    bufferDirty_ = false;
  }
  return true;
}

ISurface* TTransformWidget::ChildImage() {
  if (!widget_) return nullptr;
  if (!childImage_) {
    childImage_ = NewSurface();
    if (!childImage_) return nullptr;
    childImage_->SetHasAlpha(true);
    childImageDirty_ = true;
  }
  const TRect rect = widget_->GetRect();
  if (childImage_->GetWidth() != rect.Width() || childImage_->GetHeight() != rect.Height()) {
    childImage_->SetSize(rect.Width(), rect.Height());
    childImageDirty_ = true;
  }
  if (imageOf_ != widget_.get()) childImageDirty_ = true;
  if (!childImageDirty_) return childImage_.get();
  childImage_->Clear();
  // As GetImage renders a widget: its rectangle's corner at the origin.
  widget_->Draw(childImage_.get(), RoundEven(widget_->GetAnchorLeft() - rect.left),
                RoundEven(widget_->GetAnchorTop() - rect.top));
  imageOf_ = widget_.get();
  childImageDirty_ = false;
  return childImage_.get();
}

void TTransformWidget::Draw(ISurface* target, int x, int y) {
  if (!widget_ || !target || !PrepareBuffer()) return;
  GetDrawOffset(x, y);
  // The whole buffer, but never beyond the widget's rectangle (a buffer
  // left larger by an earlier size would paint outside the dirty area).
  const TRect rect = GetRect();
  const int w = std::min(buffer_->GetWidth(), rect.Width());
  const int h = std::min(buffer_->GetHeight(), rect.Height());
  target->Draw(buffer_.get(), {0, 0, w, h}, kBlendNormal, transparentLevel_, TRect::FromSize(x, y, w, h));
}

bool TTransformWidget::ContainsPoint(TPoint point, bool ignoreVisibility) {
  if (!TVisualWidget::ContainsPoint(point, ignoreVisibility)) return false;
  if (!PrepareBuffer()) return false;
  int ox = 0, oy = 0;
  GetDrawOffset(ox, oy);
  const int bx = point.x - RoundEven(anchorLeft_) - ox, by = point.y - RoundEven(anchorTop_) - oy;
  return (buffer_->GetPixel(bx, by) >> 24) != 0;
}

Ref<IWidget> TTransformWidget::WidgetAtPos(TPoint point) {
  Ref<IWidget> hit = TVisualWidget::WidgetAtPos(point);
  if (!hit || !widget_) return hit;
  int ox = 0, oy = 0;
  GetDrawOffset(ox, oy);
  int x = point.x - RoundEven(anchorLeft_) - ox, y = point.y - RoundEven(anchorTop_) - oy;
  InverseMapPoint(x, y);
  if (Ref<IWidget> inner = widget_->WidgetAtPos({x, y})) return inner;
  return hit;
}

TPoint TTransformWidget::ScreenToChildLocal(TPoint point) {
  const TPoint p = ScreenToLocal(point);
  int ox = 0, oy = 0;
  GetDrawOffset(ox, oy);
  int x = p.x - RoundEven(anchorLeft_) - ox, y = p.y - RoundEven(anchorTop_) - oy;
  InverseMapPoint(x, y);
  return {x, y};
}

// --- masked ------------------------------------------------------------------------

const TPropertyTable<TMaskedSurfaceWidget>& TMaskedSurfaceWidget::Properties() {
  using W = TMaskedSurfaceWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TTransformWidget::Properties())
                                             .String(
                                                 "resourcename", [](const W& w) { return w.maskName_; },
                                                 [](W& w, const std::string& v) {
                                                   if (v != w.maskName_) w.bufferDirty_ = true;
                                                   w.maskName_ = v;
                                                 })
                                             .Always();
  return table;
}

void TMaskedSurfaceWidget::Transform(ISurface& buffer) {
  auto* lookup = GetService<IResourceLookup>();
  if (!lookup || maskName_.empty()) return;
  const Ref<IImageResource> image = lookup->FindImage(maskName_);
  const Ref<ISurface> mask = image ? image->GetSurface() : nullptr;
  if (!mask) return;
  ISurface* child = ChildImage();
  if (!child) return;
  const TRect whole{0, 0, child->GetWidth(), child->GetHeight()};
  buffer.DrawMasked(child, whole, whole, {0, 0, mask->GetWidth(), mask->GetHeight()}, mask.get());
}

// --- contour -----------------------------------------------------------------------

const TPropertyTable<TContourWidget>& TContourWidget::Properties() {
  using W = TContourWidget;
  const auto dirty = [](auto member) {
    return [member](W& w, auto v) {
      if (w.*member != v) w.MarkDirty();
      w.*member = v;
    };
  };
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TTransformWidget::Properties())
          .Bool(
              "showcontour", [](const W& w) { return w.showContour_; },
              [dirty](W& w, bool v) { dirty (&W::showContour_)(w, v); }, true)
          .Colour(
              "contourcolor", [](const W& w) { return w.contourColor_; },
              [dirty](W& w, uint32_t v) { dirty (&W::contourColor_)(w, v); })
          .Int(
              "contourthickness", [](const W& w) { return w.thickness_; },
              [dirty](W& w, int v) { dirty (&W::thickness_)(w, v); })
          .Int(
              "alphalimit", [](const W& w) { return w.alphaLimit_; },
              [dirty](W& w, int v) { dirty (&W::alphaLimit_)(w, v); });
  return table;
}

double TContourWidget::GetLeft() const {
  return widget_ ? anchorLeft_ + widget_->GetRect().left - Margin() : anchorLeft_;
}
double TContourWidget::GetTop() const {
  return widget_ ? anchorTop_ + widget_->GetRect().top - Margin() : anchorTop_;
}
int TContourWidget::GetWidth() const {
  return widget_ ? widget_->GetRect().Width() + 2 * Margin() : 0;
}
int TContourWidget::GetHeight() const {
  return widget_ ? widget_->GetRect().Height() + 2 * Margin() : 0;
}

void TContourWidget::GetDrawOffset(int& x, int& y) const {
  if (!widget_) return;
  x += widget_->GetRect().left - Margin();
  y += widget_->GetRect().top - Margin();
}

void TContourWidget::InverseMapPoint(int& x, int& y) const {
  if (!widget_) return;
  x += widget_->GetRect().left - Margin();
  y += widget_->GetRect().top - Margin();
}

void TContourWidget::Transform(ISurface& buffer) {
  ISurface* child = ChildImage();
  if (!child) return;
  const int m = Margin(), w = child->GetWidth(), h = child->GetHeight();
  buffer.DrawAt(child, m, m);
  if (!showContour_ || m == 0) return;
  // Every pixel within the thickness (a round pen) of a pixel above the
  // limit that is not itself above it takes the colour.
  const auto solid = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < w && y<h&& static_cast<int>(child->GetPixel(x, y) >> 24)> alphaLimit_;
  };
  for (int y = -m; y < h + m; ++y) {
    for (int x = -m; x < w + m; ++x) {
      if (solid(x, y)) continue;
      bool near = false;
      for (int dy = -m; dy <= m && !near; ++dy)
        for (int dx = -m; dx <= m && !near; ++dx)
          if (dx * dx + dy * dy <= m * m && solid(x + dx, y + dy)) near = true;
      if (near) buffer.SetPixel(x + m, y + m, contourColor_);
    }
  }
}

// --- cut sector ----------------------------------------------------------------------

const TPropertyTable<TCutSectorWidget>& TCutSectorWidget::Properties() {
  using W = TCutSectorWidget;
  const auto field = [](double W::*member) {
    return [member](W& w, double v) {
      if (w.*member != v) w.bufferDirty_ = true;
      w.*member = v;
    };
  };
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TTransformWidget::Properties())
          .Float(
              "centerx", [](const W& w) { return w.centerX_; }, field(&W::centerX_))
          .Float(
              "centery", [](const W& w) { return w.centerY_; }, field(&W::centerY_))
          .Float(
              "startangle", [](const W& w) { return w.startAngle_; }, field(&W::startAngle_))
          .Float(
              "endangle", [](const W& w) { return w.endAngle_; }, field(&W::endAngle_));
  return table;
}

int TCutSectorWidget::ChildShiftX() const {
  return widget_ ? RoundEven(widget_->GetAnchorLeft() - widget_->GetRect().left) : 0;
}
int TCutSectorWidget::ChildShiftY() const {
  return widget_ ? RoundEven(widget_->GetAnchorTop() - widget_->GetRect().top) : 0;
}
double TCutSectorWidget::GetLeft() const {
  return anchorLeft_ - ChildShiftX();
}
double TCutSectorWidget::GetTop() const {
  return anchorTop_ - ChildShiftY();
}
void TCutSectorWidget::GetDrawOffset(int& x, int& y) const {
  x -= ChildShiftX();
  y -= ChildShiftY();
}
void TCutSectorWidget::InverseMapPoint(int& x, int& y) const {
  if (!widget_) return;
  x += widget_->GetRect().left;
  y += widget_->GetRect().top;
}

bool TCutSectorWidget::InSector(double degrees) const {
  const double span = endAngle_ - startAngle_;
  if (!std::isfinite(span) || span <= 0) return false;
  if (span >= 360) return true;
  double from = std::fmod(degrees - startAngle_, 360.0);
  if (from < 0) from += 360;
  return from < span;
}

void TCutSectorWidget::Transform(ISurface& buffer) {
  if (!widget_) return;
  const TRect rect = widget_->GetRect();
  widget_->Draw(&buffer, RoundEven(widget_->GetAnchorLeft() - rect.left),
                RoundEven(widget_->GetAnchorTop() - rect.top));
  for (int y = 0; y < buffer.GetHeight(); ++y) {
    uint32_t* row = buffer.GetScanLine(y);
    for (int x = 0; x < buffer.GetWidth(); ++x) {
      const double degrees = std::atan2(y - centerY_, x - centerX_) * 180.0 / std::numbers::pi;
      if (InSector(degrees)) row[x] = 0;  // cut out: transparent
    }
  }
}

// --- scroll area -------------------------------------------------------------------

const TPropertyTable<TScrollAreaWidget>& TScrollAreaWidget::Properties() {
  using W = TScrollAreaWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TTransformWidget::Properties())
          .Int(
              "width", [](const W& w) { return w.width_; }, [](W& w, int v) { w.SetValue(w.width_, v); })
          .Always()
          .Int(
              "height", [](const W& w) { return w.height_; }, [](W& w, int v) { w.SetValue(w.height_, v); })
          .Always()
          .Int(
              "shifttop", [](const W& w) { return w.shiftTop_; },
              [](W& w, int v) { w.SetValue(w.shiftTop_, v); })
          .Int(
              "shiftleft", [](const W& w) { return w.shiftLeft_; },
              [](W& w, int v) { w.SetValue(w.shiftLeft_, v); });
  return table;
}

void TScrollAreaWidget::Transform(ISurface& buffer) {
  if (!widget_) return;
  widget_->Draw(&buffer, RoundEven(widget_->GetAnchorLeft()) - shiftLeft_,
                RoundEven(widget_->GetAnchorTop()) - shiftTop_);
}

}  // namespace qv
