// What settings commands change: the game's options (without persisting
// them) and its screens. The game implements it.
#pragma once

#include <string>

#include "core/Ref.h"

namespace qv {

class IGSCollection;

class ICustomSettingsHost : public virtual IInterface {
protected:
  ~ICustomSettingsHost() override = default;

public:
  // Stores the option and hands it to the engine; nothing persists.
  virtual void SetOptionNoSave(const std::string& name, const std::string& value) = 0;
  // Every screen of the game; null without screens.
  virtual IGSCollection* GetScreens() = 0;
};

}  // namespace qv
