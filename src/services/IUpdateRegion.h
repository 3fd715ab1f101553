// The update region of the frame being made: the top of a widget owner
// chain reports the rectangles that changed, and only those are drawn.
#pragma once

#include "core/Ref.h"
#include "graphics/Rect.h"

namespace qv {

class IUpdateRegion : public virtual IInterface {
protected:
  ~IUpdateRegion() override = default;

public:
  // Adds a rectangle in screen (back-surface) coordinates; clamped to the
  // screen, and ignored when nothing of it is on the screen.
  virtual void AddUpdateRect(const TRect& rect) = 0;
};

}  // namespace qv
