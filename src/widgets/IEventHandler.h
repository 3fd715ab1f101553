// Where controls report what happened to them: the screen they live on.
// Reached through GetEventHandler of the owner chain.
#pragma once

#include "core/Ref.h"
#include "storage/ParamCollection.h"

namespace qv {

class IWidget;

// Control event codes.
enum EControlCode : int {
  ccClick = 1,
  ccStateChanged = 2,
  ccTextChanged = 4,
};

class IEventHandler : public virtual IInterface {
protected:
  ~IEventHandler() override = default;

public:
  // sender is the control; the screen tells controls apart by their names.
  virtual void OnControlEvent(IWidget* sender, int code, IParamCollection* params) = 0;
  // The engine object (services through QueryPtr); null without one.
  virtual IInterface* GetEngine() = 0;
  // The game as the screens see it (IGameScreenOwner); null without one.
  virtual IInterface* GetScreenOwner() = 0;
};

}  // namespace qv
