// "GameScreenOptions": full screen and hints as check boxes, sound and music
// volume as track bars, applied at once through the game's SetOption (the
// persisted ones are kept between runs); "button_close" or Escape closes,
// "button_highscores" opens "GS_HighScores". A control whose option has no
// value is hidden.
#pragma once

#include "screens/GameScreen.h"

namespace qv {

class TGameScreenOptions : public TGameScreen {
public:
  void SetOwner(IGameScreenOwner* game) override;
  void Detach() override;
  void BeforeShow(IParamCollection* params) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;

protected:
  ~TGameScreenOptions() override = default;

private:
  Ref<IWidget> showHints_, screenMode_, soundVolume_, musicVolume_;
};

}  // namespace qv
