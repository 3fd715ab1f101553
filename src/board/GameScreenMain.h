// The main screen: a game screen that also holds the level list (its
// "levels" child) and publishes it to the game as "zinlevels", where the
// board and the map find it.
#pragma once

#include "game/ZinLevelCollection.h"
#include "screens/GameScreen.h"

namespace qv {

class TZintaraGameScreenMain : public TGameScreen {
public:
  static constexpr char kMapScreen[] = "GS_Map";

  TZintaraGameScreenMain();

  // The screen, then the "levels" child into the level list.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  // Publishes the level list once the screen has its game.
  void SetOwner(IGameScreenOwner* game) override;

  // The mode buttons ("button_relax", "button_classic", "button_duel")
  // store the mode as the profile's "current_play_mode" and open the map
  // "GS_Map", or, when the content has no map, the game screen "GS_Game"
  // on the mode's level.
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

  TZinLevelCollection& Levels() { return *levels_; }

protected:
  ~TZintaraGameScreenMain() override = default;

private:
  Ref<TZinLevelCollection> levels_;
};

}  // namespace qv
