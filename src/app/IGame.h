// The game's side of the frame loop, as the engine calls it.
#pragma once

#include <cstdint>
#include <string>

#include "core/Ref.h"
#include "graphics/Rect.h"

namespace qv {

class IEngine;
class ISurface;

// Re-entrancy: while the game loads resources with pumping (from Start or
// Advance), the engine runs one loop turn before each resource, so Advance,
// CollectUpdates, Draw and the input calls are entered from inside the
// game's own call. A resource load asked from there is deferred until the
// running one ends; no turn is pumped inside a pumped turn.
class IGame : public virtual IInterface {
protected:
  ~IGame() override = default;

public:
  // The engine stays alive for as long as the game; the game keeps a plain
  // pointer to it.
  virtual void Start(IEngine* engine) = 0;
  virtual void Finish() = 0;
  // Advances time by `dt` milliseconds.
  virtual void Advance(int dt) = 0;
  // Draws onto the back surface (clipped to the update region).
  virtual void Draw(ISurface* surface) = 0;
  // Window messages (Messages.h); true when handled.
  virtual bool MouseEvent(uint32_t message, TPoint point, uintptr_t keyState) = 0;
  virtual bool KeyEvent(uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
  virtual void FocusChanged(bool focused) = 0;
  // False refuses a close request of the window.
  virtual bool CloseQuery() = 0;
  virtual void SetOption(const std::string& name, const std::string& value) = 0;
  // Reports the changed rectangles through the engine's AddUpdateRect.
  virtual void CollectUpdates() = 0;
};

}  // namespace qv
