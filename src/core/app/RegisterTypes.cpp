#include "core/app/RegisterTypes.h"

#include "audio/AudioTypes.h"
#include "functions/FunctionsTypes.h"
#include "graphics/GraphicsTypes.h"

namespace qv {

// Each subsystem's own registration function, lowest subsystem first.
void RegisterAllTypes() {
  RegisterFunctionsTypes();
  RegisterGraphicsTypes();
  RegisterAudioTypes();
}

}  // namespace qv
