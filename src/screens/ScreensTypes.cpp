#include "screens/ScreensTypes.h"

#include "screens/GameScreen.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterScreensTypes() {
  RegisterClass<TGameScreen>("GameScreen");
}

}  // namespace qv
