#include "app/RegisterTypes.h"

#include "audio/AudioTypes.h"
#include "functions/FunctionsTypes.h"
#include "resources/ResourcesTypes.h"
#include "widgets/WidgetsTypes.h"

namespace qv {

// Each subsystem's own registration function, lowest subsystem first.
void RegisterAllTypes() {
  RegisterFunctionsTypes();
  RegisterResourcesTypes();
  RegisterAudioTypes();
  RegisterWidgetsTypes();
}

}  // namespace qv
