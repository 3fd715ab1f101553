// A rectangle of an image resource, blitted or painted as a colour mask;
// the hit test skips fully transparent pixels.
#pragma once

#include <cstdint>

#include "graphics/Surface.h"
#include "widgets/ResourceWidget.h"

namespace qv {

class TImageWidget : public TResourceWidget {
public:
  enum EDrawMode : int { kCopyRect = 0, kFillColor = 1 };

  // "resourceleft", "resourcetop", "fillcolor", "drawmode" ("/copyrect/
  // fillcolor"), "blendingmode" (the six blend modes), all always written.
  QV_PROPERTY_TABLE(TImageWidget)

  int GetResourceLeft() const { return resourceLeft_; }
  int GetResourceTop() const { return resourceTop_; }
  void SetResourceLeft(int value);
  void SetResourceTop(int value);
  // The source rectangle: the picture area's size from (resourceLeft, resourceTop).
  TRect GetSourceRect() const {
    return {resourceLeft_, resourceTop_, resourceLeft_ + width_, resourceTop_ + height_};
  }
  uint32_t GetFillColor() const { return fillColor_; }
  void SetFillColor(uint32_t value);
  int GetDrawMode() const { return drawMode_; }
  void SetDrawMode(int value);
  int GetBlendingMode() const { return blendingMode_; }
  void SetBlendingMode(int value);

  void Draw(ISurface* target, int x, int y) override;
  // The rectangle first, then the alpha of the image pixel under the point.
  bool ContainsPoint(TPoint point, bool ignoreVisibility) override;

protected:
  ~TImageWidget() override = default;
  void SetChanged(int& field, int value) {
    if (value == field) return;
    field = value;
    needRepaint_ = true;
  }

  int resourceLeft_ = 0;
  int resourceTop_ = 0;
  uint32_t fillColor_ = 0;
  int drawMode_ = kCopyRect;
  int blendingMode_ = kBlendNormal;
};

}  // namespace qv
