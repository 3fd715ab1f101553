// "GameScreenSplash": shown while the deferred resources load. Shown again
// with "LoadComplete" it hands over to the main screen (the game's
// SplashFinished), at once or, when it has a widget named by
// "wait_button_name", when that widget reports anything.
#pragma once

#include <string>

#include "screens/GameScreen.h"

namespace qv {

class TGameScreenSplash : public TGameScreen {
public:
  // "wait_button_name", always written.
  QV_PROPERTY_TABLE(TGameScreenSplash)

  void BeforeShow(IParamCollection* params) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

protected:
  ~TGameScreenSplash() override = default;

private:
  std::string waitButtonName_;
};

}  // namespace qv
