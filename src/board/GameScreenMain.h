// The main screen: a game screen that also holds the level list (its
// "levels" child) and publishes it to the game as "zinlevels", where the
// board and the map find it.
//
// Whenever it is shown or a screen above it closes, it writes the player's
// progress into its texts: "welcome" gets "%welcome%" with the variable
// "username", and the info text of each mode button (its child "info")
// gets "%relax_text_current_level%", "%classic_text_current_level%" or
// "%duel_text_current_level%" with the variables "pattern_level",
// "pattern_difficulty" and "pattern_score" from the mode's "Level" (1 when
// missing), "Difficulty" (1) and "Score" (0). The duel opens once the
// profile's "LevelMax" is above 3; before that its button is disabled and
// its text is "%duel_mode_not_available%".
#pragma once

#include <string>

#include "game/ZinLevelCollection.h"
#include "screens/GameScreen.h"

namespace qv {

class IUserProfile;

class TZintaraGameScreenMain : public TGameScreen {
public:
  static constexpr char kMapScreen[] = "GS_Map";
  static constexpr char kRulesScreen[] = "GS_HowToPlay";
  // "LevelMax" must be above this for the duel against the computer.
  static constexpr int kDuelAfterLevel = 3;

  TZintaraGameScreenMain();

  // The screen, then the "levels" child into the level list.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  // Publishes the level list once the screen has its game.
  void SetOwner(IGameScreenOwner* game) override;

  void BeforeShow(IParamCollection* params) override;
  // Back from the map, the profiles or a game: the texts again.
  void ScreenClosed(const std::string& closedScreenName, IParamCollection* resultParams) override;
  // A language chosen meanwhile (the options over this screen): the texts
  // again, before the screen is drawn.
  bool UpdateDirty() override;

  // The mode buttons ("button_relax", "button_classic", "button_duel")
  // store the mode as the profile's "current_play_mode" and open the map
  // "GS_Map", or, when the content has no map, the game screen "GS_Game"
  // on the mode's level. The first mode chosen after the player came to
  // this screen creates the mode's "show_how_to_play" value as "yes" when
  // it is missing, and while it is "yes" the rules "GS_HowToPlay" open
  // over the map with "PlayMode" and "first_run" = "yes".
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

  // Writes the welcome and the modes' texts and opens or closes the duel.
  void ShowProgress();
  bool DuelOpen();

  TZinLevelCollection& Levels() { return *levels_; }

protected:
  ~TZintaraGameScreenMain() override = default;

private:
  Ref<IUserProfile> CurrentProfile();
  IParamCollection* ProfileParams();
  void OfferRules(const std::string& mode);

  Ref<TZinLevelCollection> levels_;
  bool fresh_ = true;
  unsigned language_ = 0;
};

}  // namespace qv
