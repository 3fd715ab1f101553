// "GameScreenSplashLogos": the first screen; it closes when its sequence
// control reports the end of the logos (code 10).
#pragma once

#include "screens/GameScreen.h"

namespace qv {

class TGameScreenSplashLogos : public TGameScreen {
public:
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

protected:
  ~TGameScreenSplashLogos() override = default;
};

}  // namespace qv
