// The base of the interactive widgets of a screen: a visual group with a
// fixed rectangle, enabled and tab-stop flags, its own keyboard focus among
// its children, mouse capture through the screen, state pictures that are
// children with agreed names, and events reported to the screen.
#pragma once

#include <string>

#include "widgets/IEventHandler.h"
#include "widgets/VisualGroupWidget.h"

namespace qv {

class IGameScreenOwner;
class IGameScreenSlave;

class TControlWidget : public TVisualGroupWidget {
public:
  // "width", "height" (always written), "enabled", "tabstop" (written when
  // true), "maskwidget".
  QV_PROPERTY_TABLE(TControlWidget)

  // The fixed rectangle: the rounded anchor, width and height; the
  // children do not change it.
  double GetLeft() const override { return anchorLeft_; }
  double GetTop() const override { return anchorTop_; }
  int GetWidth() const override { return width_; }
  int GetHeight() const override { return height_; }
  TRect GetRect() const override;
  virtual void SetWidth(int value);
  virtual void SetHeight(int value);

  bool IsEnabled() const override { return enabled_; }
  // A change runs OnEnabledChanged.
  void SetEnabled(bool value) override;
  bool IsTabStop() const override { return tabStop_; }
  void SetTabStop(bool value) override { tabStop_ = value; }

  // The children first (top down), then the control itself when it is
  // visible, stops the mouse and contains the point.
  Ref<IWidget> WidgetAtPos(TPoint point) override;
  // The rectangle with both edges inside (unrounded position); with a mask
  // widget, the mask decides.
  bool ContainsPoint(TPoint point, bool ignoreVisibility) override;

  // The point into the owner's space, then by message to the handlers.
  bool MouseEvent(unsigned message, TPoint point, unsigned flags) override;
  // Only while the control has the focus: the inner focus among the
  // children, Tab moving it forward without wrapping around.
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  void FocusGained() override;
  void FocusLost() override;
  void CaptureLost() override { pressed_ = false; }

  // Button: 0 left, 1 right, 2 middle. The base press gives a tab-stop
  // control the screen's focus; all answer false.
  virtual bool OnMouseMove(TPoint point, unsigned flags);
  virtual bool OnMouseDown(TPoint point, unsigned flags, int button);
  virtual bool OnMouseUp(TPoint point, unsigned flags, int button);
  virtual bool OnDoubleClick(TPoint point, unsigned flags, int button);

  bool HasFocus() const { return hasFocus_; }
  bool IsPressed() const { return pressed_; }
  IWidget* GetInnerFocus() const { return innerFocus_.get(); }
  const std::string& GetMaskWidgetName() const { return maskWidgetName_; }

protected:
  ~TControlWidget() override = default;

  virtual void OnEnabledChanged() {}

  // The control's event to the screen (its owner's event handler).
  void SendEvent(int code, IParamCollection* params = nullptr);
  IEventHandler* GetHandler() const { return owner_ ? owner_->GetEventHandler() : nullptr; }
  IWindow* GetScreenWindow() const { return owner_ ? owner_->GetWindow() : nullptr; }
  // The game (through the event handler) and this control's screen.
  IGameScreenOwner* GetScreenOwner() const;
  IGameScreenSlave* GetScreen() const;
  void CaptureMouse();
  void ReleaseMouse();

  // A state picture: shown is SetVisible(true) and Resume, hidden is
  // SetVisible(false) and Pause; false when the control has no such child.
  bool ShowPicture(const std::string& name);
  void HidePicture(const std::string& name);
  // The engine's pointer position in this control's owner space; false
  // without the engine's cursor service.
  bool PointerInOwnerSpace(TPoint& point);
  // The hover test of buttons, labels and check boxes: true when hover
  // flipped.
  bool PollHover(bool& hover);

  int width_ = 0;
  int height_ = 0;
  bool enabled_ = false;
  bool tabStop_ = false;
  bool pressed_ = false;
  bool hasFocus_ = false;
  Ref<IWidget> innerFocus_;
  std::string maskWidgetName_;

private:
  bool reportedMask_ = false;
};

}  // namespace qv
