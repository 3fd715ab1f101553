// What the screens use of the game: showing and closing screens by name,
// the engine and the cursor collection. The game implements it; the data
// tool's screen preview has a recording stand-in.
#pragma once

#include <string>

#include "core/Ref.h"
#include "storage/ParamCollection.h"

namespace qv {

class ICursorCollection;
class IGameScreenSlave;

class IGameScreenOwner : public virtual IInterface {
protected:
  ~IGameScreenOwner() override = default;

public:
  // Nothing (true) when a screen of that name is already on the stack;
  // false for a name the game does not know.
  virtual bool ShowScreen(const std::string& name, IParamCollection* params) = 0;
  // Acts only when the screen is the top of the stack; false otherwise.
  virtual bool CloseScreen(IGameScreenSlave* screen, IParamCollection* resultParams) = 0;
  // The engine object (services through QueryPtr); null without one.
  virtual IInterface* GetEngine() = 0;
  // Null when the game has no cursors.
  virtual ICursorCollection* GetCursors() = 0;
};

}  // namespace qv
