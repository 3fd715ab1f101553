// Widgets that draw a surface: one they are given, or the image of another
// widget taken every frame.
#pragma once

#include <cstdint>

#include "widgets/VisualWidget.h"

namespace qv {

class TSurfaceWidget : public TVisualWidget {
public:
  enum EDrawMode : int { kCopyRect = 0, kFillColor = 1 };

  // "drawmode" ("/copyrect/fillcolor" by exact name), "fillcolor" (always
  // written); "width", "height", "shiftleft", "shifttop" are properties.
  QV_PROPERTY_TABLE(TSurfaceWidget)

  ISurface* GetSurface() const { return surface_.get(); }
  // Width and height from the surface, shifts back to 0.
  virtual void SetSurface(const Ref<ISurface>& surface);
  int GetDrawMode() const { return drawMode_; }
  uint32_t GetFillColor() const { return fillColor_; }
  void SetFillColor(uint32_t value);

  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  // "copyrect" blends the part (shiftLeft, shiftTop, width x height) of the
  // surface; "fillcolor" paints the fill colour through it.
  void Draw(ISurface* target, int x, int y) override;
  Ref<IInterface> GetObjectProperty(const std::string& name) override;
  bool SetObjectProperty(const std::string& name, const Ref<IInterface>& value) override;

protected:
  ~TSurfaceWidget() override = default;
  void SetGeometryValue(int& field, int value) {
    if (value == field) return;
    field = value;
    geometryChanged_ = true;
  }

  Ref<ISurface> surface_;
  int drawMode_ = kCopyRect;
  uint32_t fillColor_ = 0;
  int width_ = 0;
  int height_ = 0;
  int shiftTop_ = 0;
  int shiftLeft_ = 0;
};

// Every frame the image of the widget named by "linked_widget_name" (a path
// from this widget) becomes its surface.
class TLinkedSurfaceWidget : public TSurfaceWidget {
public:
  QV_PROPERTY_TABLE(TLinkedSurfaceWidget)

  void AdvanceTime(int dt) override;
  const std::string& GetLinkedWidgetName() const { return linkedWidgetName_; }

protected:
  ~TLinkedSurfaceWidget() override = default;

private:
  std::string linkedWidgetName_;
  std::string reportedName_;  // a missing link is reported once per name
};

}  // namespace qv
