#include "core/app/RegisterTypes.h"

#include "audio/AudioTypes.h"

namespace qv {

// Each subsystem's own registration function, lowest subsystem first.
void RegisterAllTypes() {
  RegisterAudioTypes();
}

}  // namespace qv
