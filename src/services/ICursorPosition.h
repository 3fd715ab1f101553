// Where the pointer is: hover tests and the game's cursor widget follow it
// even without mouse events.
#pragma once

#include "core/Ref.h"
#include "graphics/Rect.h"

namespace qv {

class ICursorPosition : public virtual IInterface {
protected:
  ~ICursorPosition() override = default;

public:
  // The system cursor's position in back-surface coordinates (0, 0 without
  // a window).
  virtual TPoint GetCursorPos() = 0;
};

}  // namespace qv
