// The engine's option collection ("ScreenWidth", "FullScreenMode",
// "SoundVolume", "MusicVolume", "ApplicationCaption", ...): named text
// values that option screens read and the game sets.
#pragma once

#include <string>

#include "core/Ref.h"
#include "core/Variant.h"

namespace qv {

class IEngineOptions : public virtual IInterface {
protected:
  ~IEngineOptions() override = default;

public:
  // Empty when the option does not exist.
  virtual TVariant GetOption(const std::string& name) = 0;
  // "MusicVolume" and "SoundVolume" apply to audio at once; the display
  // options wait for the engine's ApplyDisplaySettings.
  virtual void SetOption(const std::string& name, const std::string& value) = 0;
};

}  // namespace qv
