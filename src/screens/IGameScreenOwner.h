// What the screens use of the game: showing and closing screens by name,
// the engine and the cursor collection. The game implements it; the data
// tool's screen preview has a recording stand-in.
#pragma once

#include <string>

#include "core/Ref.h"
#include "core/Variant.h"
#include "storage/ParamCollection.h"

namespace qv {

class ICursorCollection;
class IGameScreenSlave;
class IGSCollection;
class IHighScores;
class ILevelRecords;
class IUserProfileCollection;

class IGameScreenOwner : public virtual IInterface {
protected:
  ~IGameScreenOwner() override = default;

public:
  // Stores the option; a persisted one is also written to the options
  // file; then pushed to the engine, and the display re-applied when the
  // engine's value changed.
  virtual void SetOption(const std::string& name, const std::string& value) = 0;
  // Stored and pushed to the engine only.
  virtual void SetOptionNoSave(const std::string& name, const std::string& value) = 0;
  // Null when the game has no such option.
  virtual TVariant GetOptionValue(const std::string& name) = 0;
  // False, and nothing happens, when a screen of that name is already on
  // the stack or the game has no screen of that name.
  virtual bool ShowScreen(const std::string& name, IParamCollection* params) = 0;
  // Acts only when the screen is the top of the stack; false otherwise.
  virtual bool CloseScreen(IGameScreenSlave* screen, IParamCollection* resultParams) = 0;
  // The engine object (services through QueryPtr); null without one.
  virtual IInterface* GetEngine() = 0;
  // Null when the game has no cursors.
  virtual ICursorCollection* GetCursors() = 0;
  // Every screen of the game.
  virtual IGSCollection* GetScreens() = 0;
  // The splash screen closes (when shown) and the main screen opens.
  virtual void SplashFinished() = 0;
  // The player data; null where the owner has none (previews, tests).
  virtual IUserProfileCollection* GetUserProfiles() { return nullptr; }
  virtual ILevelRecords* GetLevelRecords() { return nullptr; }
  virtual IHighScores* GetHighScores() { return nullptr; }
  // The game's context objects: what one screen publishes for others by
  // name (the level list, "zinlevels"). Empty when none of that name; an
  // owner without a context keeps nothing.
  virtual Ref<IInterface> GetContextObject(const std::string& name) {
    (void)name;
    return nullptr;
  }
  virtual void SetContextObject(const std::string& name, const Ref<IInterface>& value) {
    (void)name;
    (void)value;
  }
};

}  // namespace qv
