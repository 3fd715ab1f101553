// The screen as its widgets see it: mouse capture, keyboard focus, lookup
// from the root and the screen's own sounds. A game screen implements it;
// widgets reach it through GetWindow of their owner chain.
#pragma once

#include <string>

#include "core/Ref.h"
#include "graphics/Rect.h"

namespace qv {

class IWidget;
class IWidgetCollection;

class IWindow : public virtual IInterface {
protected:
  ~IWindow() override = default;

public:
  // The previous capture widget gets CaptureLost.
  virtual void SetCapture(IWidget* widget) = 0;
  // The capture widget gets CaptureLost; no capture afterwards.
  virtual void ReleaseCapture() = 0;
  virtual IWidget* GetCapture() = 0;
  // The old focus gets FocusLost, the new one FocusGained.
  virtual void SetFocus(IWidget* widget) = 0;
  virtual void ClearFocus() = 0;
  virtual IWidget* GetFocus() = 0;
  // The root's children; null without a root.
  virtual IWidgetCollection* GetRootChildren() = 0;
  // Capture and focus cleared without notification; the root invalidated.
  virtual void ResetInput() = 0;
  // In screen coordinates.
  virtual Ref<IWidget> WidgetAtPos(TPoint point) = 0;
  // A path looked up from the screen's root widget.
  virtual Ref<IWidget> FindWidget(const std::string& path) = 0;
  // The sound of that name in the screen's sounds; nothing when absent.
  virtual void PlayScreenSound(const std::string& name) = 0;
  virtual void StopScreenSound(const std::string& name) = 0;
};

}  // namespace qv
