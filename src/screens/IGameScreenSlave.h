// A game screen as the game drives it: owner, show and hide, time, drawing,
// the dirty pass and input from the top of the stack.
#pragma once

#include <string>

#include "core/Ref.h"
#include "graphics/Rect.h"
#include "storage/ParamCollection.h"
#include "widgets/IWidget.h"
#include "widgets/IWindow.h"

namespace qv {

class IGameScreenOwner;
class ISurface;

class IGameScreenSlave : public virtual IInterface {
protected:
  ~IGameScreenSlave() override = default;

public:
  virtual const std::string& GetName() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual void SetOwner(IGameScreenOwner* game) = 0;
  virtual void Detach() = 0;
  virtual void Show(IParamCollection* params) = 0;
  virtual void Hide() = 0;
  virtual void Activate() = 0;
  virtual void Deactivate() = 0;
  virtual void Update(int dt) = 0;
  virtual void Draw(ISurface* target) = 0;
  virtual TRect GetRect() = 0;
  virtual void Idle() = 0;
  virtual bool MouseEvent(unsigned message, TPoint point, unsigned flags) = 0;
  virtual bool KeyEvent(unsigned message, unsigned key, unsigned flags) = 0;
  // The program's window gained or lost the keyboard focus (another window
  // came to the front); told to the top screen.
  virtual void WindowFocusChanged(bool focused) = 0;
  // On the screen that is the top again after the one above was removed.
  virtual void ScreenClosed(const std::string& closedScreenName, IParamCollection* resultParams) = 0;
  virtual IWindow* GetWindow() = 0;
  virtual Ref<IWidget> GetRootWidget() = 0;
  // The dirty pass; the result is whether the screen is active.
  virtual bool UpdateDirty() = 0;
  // The root's visibility; true without a root.
  virtual bool IsVisible() = 0;
};

}  // namespace qv
