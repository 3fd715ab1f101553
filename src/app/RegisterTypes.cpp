#include "app/RegisterTypes.h"

#include "app/ImageGame.h"
#include "app/SettingsCommands.h"
#include "audio/AudioTypes.h"
#include "functions/FunctionsTypes.h"
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
  RegisterSettingsCommandTypes();
}

void RegisterGameExecutableTypes() {
  RegisterAllTypes();
  RegisterScreensTypes();
  RegisterClass<TImageGame>("ImageGame");
}

}  // namespace qv
