// The game screen: it holds the board ("gameboard"), starts a level from
// its parameters or the player's profile, and reacts to the board's
// notifications: a finished level goes to the mode's statistics screen (or
// back to the screen below, with the statistics), a lost game to
// "GS_GameLoose", a confirmed hint hides the hint panel.
#pragma once

#include <string>

#include "board/IGameBoardHost.h"
#include "screens/GameScreen.h"

namespace qv {

class TGameBoardControl;

class TZintaraGameScreenGame : public TGameScreen, public IGameBoardHost {
public:
  // Play mode, level and replay from the profile ("current_play_mode",
  // mode + "Level"), overridden by "PlayMode", "Level" and "Replay".
  void BeforeShow(IParamCollection* params) override;
  // The board visible and running; the level starts.
  void AfterAppear() override;
  void OnShow() override;
  void OnHide() override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  void ScreenClosed(const std::string& closedScreenName, IParamCollection* resultParams) override;
  void BoardNotification(int code, IParamCollection* params) override;

  TGameBoardControl* Board();
  const std::string& GetPlayMode() const { return playMode_; }
  int GetLevel() const { return level_; }
  bool IsReplay() const { return replay_; }

protected:
  ~TZintaraGameScreenGame() override = default;

  static constexpr char kMiniMenu[] = "GS_MiniMenu";

private:
  void StartLevel();
  // "GS_MiniMenu", or back to the screen below when the game has none.
  void OpenMenu();

  std::string playMode_ = "relax";
  int level_ = 1;
  bool replay_ = false;
  bool pendingStart_ = false;
};

}  // namespace qv
