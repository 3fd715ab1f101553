// "GameScreenOptions": full screen, hints and smooth scaling as check
// boxes, sound and music volume as track bars, the window's
// size as the one visible of "label_windowscale_1", "_2", "_3" and "_fit"
// with "button_windowscale" taking the next, the language as
// "label_language_name" (the loaded language's own name) with
// "button_language" taking the next of English and the files of
// "Languages", all applied at once through the game's SetOption (the
// persisted ones are kept between runs; the game re-expands every screen's
// texts when the language changes);
// "button_close" or Escape closes, "button_highscores" opens
// "GS_HighScores". A control whose option has no value is hidden; the same
// class serves every dialog of options, each with the controls it has.
#pragma once

#include <string>
#include <vector>

#include "screens/GameScreen.h"

namespace qv {

// The window scale after `scale` in its round: "1", "2", "3", "fit", then
// "1" again (anything else goes to "1").
std::string NextWindowScale(const std::string& scale);
// The engine option naming the language: empty for English (the default
// language file alone), else the name of a file of "Languages".
inline constexpr char kLanguageOption[] = "Language";

// The language after `current` in its round: English (the empty name), then
// each of `languages` in their order, then English again; a name not in the
// list (names ignore case) goes to English.
std::string NextLanguage(const std::string& current, const std::vector<std::string>& languages);

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
  void ShowLanguage();
  Ref<IWidget> showHints_, screenMode_, soundVolume_, musicVolume_, smoothScaling_;
  // "checkbox_colourblind": the option "ColourBlind", the board's
  // high-contrast pictures for colour-blind play.
  Ref<IWidget> colourBlind_;
};

}  // namespace qv
