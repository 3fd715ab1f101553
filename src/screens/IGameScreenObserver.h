// Something that watches a screen from outside (the data tool's screen
// preview, tests): every control event before the screen reacts to it, and
// every change of the keyboard focus. Not reference counted: the observer
// outlives the screen's use of it and is removed with SetObserver(nullptr).
#pragma once

#include "storage/ParamCollection.h"

namespace qv {

class IWidget;
class IGameScreenSlave;

class IGameScreenObserver {
public:
  virtual void ControlEventSeen(IGameScreenSlave& screen, IWidget* sender, int code,
                                IParamCollection* params) = 0;
  // focus is null when no widget has the focus any more.
  virtual void FocusChanged(IGameScreenSlave& screen, IWidget* focus) = 0;

protected:
  ~IGameScreenObserver() = default;
};

}  // namespace qv
