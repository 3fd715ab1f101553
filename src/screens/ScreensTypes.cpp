#include "screens/ScreensTypes.h"

#include "screens/GameScreen.h"
#include "screens/GameScreenNewUser.h"
#include "screens/GameScreenOptions.h"
#include "screens/GameScreenQueryDeleteProfile.h"
#include "screens/GameScreenQueryDialog.h"
#include "screens/GameScreenQuit.h"
#include "screens/GameScreenSplash.h"
#include "screens/GameScreenSplashLogos.h"
#include "screens/GameScreenUserProfiles.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterScreensTypes() {
  RegisterClass<TGameScreen>("GameScreen");
  RegisterClass<TGameScreenNewUser>("GameScreenNewUser");
  RegisterClass<TGameScreenUserProfiles>("GameScreenUserProfiles");
  RegisterClass<TGameScreenQueryDialog>("GameScreenQueryDialog");
  RegisterClass<TGameScreenQueryDeleteProfile>("GameScreenQueryDeleteProfile");
  RegisterClass<TGameScreenOptions>("GameScreenOptions");
  RegisterClass<TGameScreenSplash>("GameScreenSplash");
  RegisterClass<TGameScreenSplashLogos>("GameScreenSplashLogos");
  RegisterClass<TGameScreenQuit>("GameScreenQuit");
}

}  // namespace qv
