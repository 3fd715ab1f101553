// "GameScreenQueryDialog": a yes/no (or any-button) question. Every
// parameter it is shown with names a widget of the screen, whose
// "text_utf8" becomes the parameter's value (the question and the button
// captions come with the call). Any click closes the dialog with the
// result "Button" = the name of the control that was clicked.
#pragma once

#include "screens/GameScreen.h"

namespace qv {

class TGameScreenQueryDialog : public TGameScreen {
public:
  void BeforeShow(IParamCollection* params) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

protected:
  ~TGameScreenQueryDialog() override = default;
};

}  // namespace qv
