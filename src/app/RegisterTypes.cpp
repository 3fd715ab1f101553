#include "app/RegisterTypes.h"

#include "app/Game.h"
#include "app/ImageGame.h"
#include "app/SettingsCommands.h"
#include "audio/AudioTypes.h"
#include "board/BoardRegistration.h"
#include "controls/ControlsTypes.h"
#include "functions/FunctionsTypes.h"
#include "particles/ParticlesTypes.h"
#include "resources/ResourcesTypes.h"
#include "screens/ScreensTypes.h"
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
  RegisterSettingsCommandTypes();
}

void RegisterGameExecutableTypes() {
  RegisterAllTypes();
  RegisterScreensTypes();
  RegisterControlsTypes();
  RegisterBoardTypes();
  RegisterClass<TGame>("Game");
  RegisterClass<TImageGame>("ImageGame");
}

}  // namespace qv
