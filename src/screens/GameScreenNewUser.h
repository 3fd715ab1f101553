// "GameScreenNewUser": asks a new player's name. Shown with "Necessary" the
// player cannot cancel (the first run, or the last profile was deleted);
// shown with "user_name" the field starts with it. OK (or Enter) confirms a
// name that is not blank and not taken (names ignore case), else
// "GS_QueryNotUniqueName" is shown and the dialog stays; the dialog closes
// with the result "user_name".
//
// Beyond the plain dialog: a necessary name is also created and made the
// current profile by the dialog itself, so whichever screen asked for it
// (the game at its first run has no profiles screen open) the player has
// a profile; the profiles screen's own creation of the returned name then
// finds it.
#pragma once

#include <string>

#include "screens/GameScreen.h"

namespace qv {

class TGameScreenNewUser : public TGameScreen {
public:
  void BeforeShow(IParamCollection* params) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;

  const std::string& GetEnteredName() const { return enteredName_; }
  bool IsCancelAllowed() const { return cancelAllowed_; }

protected:
  ~TGameScreenNewUser() override = default;

private:
  void Confirm();
  void Cancel();

  std::string enteredName_;
  bool cancelAllowed_ = true;
};

}  // namespace qv
