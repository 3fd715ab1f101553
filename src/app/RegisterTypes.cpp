#include "app/RegisterTypes.h"

#include "app/ImageGame.h"
#include "audio/AudioTypes.h"
#include "functions/FunctionsTypes.h"
#include "particles/ParticlesTypes.h"
#include "resources/ResourcesTypes.h"
#include "storage/ClassRegistry.h"
#include "widgets/WidgetsTypes.h"

namespace qv {

// Each subsystem's own registration function, lowest subsystem first.
void RegisterAllTypes() {
  RegisterFunctionsTypes();
  RegisterResourcesTypes();
  RegisterAudioTypes();
  RegisterWidgetsTypes();
  RegisterParticlesTypes();
}

void RegisterGameExecutableTypes() {
  RegisterAllTypes();
  RegisterClass<TImageGame>("ImageGame");
}

}  // namespace qv
