// "GameScreenOptions": full screen, hints and smooth scaling as check
// boxes, sound and music volume as track bars, the window's
// size as the one visible of "label_windowscale_1", "_2", "_3" and "_fit"
// with "button_windowscale" taking the next, all applied at once through
// the game's SetOption (the persisted ones are kept between runs);
// "button_close" or Escape closes, "button_highscores" opens
// "GS_HighScores". A control whose option has no value is hidden; the same
// class serves every dialog of options, each with the controls it has.
#pragma once

#include <string>

#include "screens/GameScreen.h"

namespace qv {

// The window scale after `scale` in its round: "1", "2", "3", "fit", then
// "1" again (anything else goes to "1").
std::string NextWindowScale(const std::string& scale);

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
  void ShowWindowScale();
  Ref<IWidget> showHints_, screenMode_, soundVolume_, musicVolume_, smoothScaling_;
  // "checkbox_colourblind": the option "ColourBlind", the board's
  // high-contrast pictures for colour-blind play.
  Ref<IWidget> colourBlind_;
};

}  // namespace qv
