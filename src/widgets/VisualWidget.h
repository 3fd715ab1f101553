// A widget with a place on screen: visibility, z, anchor, mouse stop and the
// dirty-rectangle bookkeeping between frames.
#pragma once

#include "widgets/AbstractWidget.h"

namespace qv {

class TVisualWidget : public TAbstractWidget {
public:
  // "visible", "mousestop" (written when true), "z", "anchor_left" and
  // "anchor_top" (always written).
  QV_PROPERTY_TABLE(TVisualWidget)

  bool IsVisible() const override { return visible_; }
  void SetVisible(bool value) override { visible_ = value; }
  int GetZ() const override { return z_; }
  void SetZ(int value) override { z_ = value; }
  double GetAnchorLeft() const override { return anchorLeft_; }
  void SetAnchorLeft(double value) override;
  double GetAnchorTop() const override { return anchorTop_; }
  void SetAnchorTop(double value) override;
  double GetLeft() const override { return anchorLeft_; }
  double GetTop() const override { return anchorTop_; }
  bool IsMouseStop() const override { return mouseStop_; }
  void SetMouseStop(bool value) override { mouseStop_ = value; }

  Ref<ISurface> GetImage() override;
  bool UpdateDirtyRegion(bool forceOld, bool forceNew) override;
  bool GetRectOfPass(uint64_t pass, TRect& rect) const override {
    if (pass == 0 || pass != rectPass_) return false;
    rect = currentRect_;
    return true;
  }
  bool WasVisible() const override { return wasVisible_; }

  bool IsGeometryChanged() const { return geometryChanged_; }
  void SetGeometryChanged() { geometryChanged_ = true; }
  const TRect& GetPreviousRect() const { return previousRect_; }

protected:
  ~TVisualWidget() override = default;

  bool visible_ = false;
  int z_ = 0;
  double anchorLeft_ = 0.0;
  double anchorTop_ = 0.0;
  bool mouseStop_ = false;
  TRect previousRect_;
  // Where previousRect_ was on screen: an owner that moved since must not
  // move the old area with it.
  TRect previousScreenRect_;
  bool wasVisible_ = false;
  TRect currentRect_;
  // The dirty pass that computed currentRect_ (0: none).
  uint64_t rectPass_ = 0;
  bool geometryChanged_ = false;
};

// A visual widget with a stored width and height.
class TSingleWidget : public TVisualWidget {
public:
  // "width" and "height", always written.
  QV_PROPERTY_TABLE(TSingleWidget)

  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  virtual void SetWidth(int value);
  virtual void SetHeight(int value);

protected:
  ~TSingleWidget() override = default;

  int width_ = 0;
  int height_ = 0;
};

}  // namespace qv
