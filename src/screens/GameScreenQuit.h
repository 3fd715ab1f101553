// "GameScreenQuit": "button_exit" closes the program, "button_cancel" the
// dialog. When a screen shown above it closes, the program closes too.
#pragma once

#include <string>

#include "screens/GameScreen.h"

namespace qv {

class TGameScreenQuit : public TGameScreen {
public:
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;
  void ScreenClosed(const std::string& closedScreenName, IParamCollection* resultParams) override;

protected:
  ~TGameScreenQuit() override = default;

private:
  void CloseProgram();
};

}  // namespace qv
