// The game screen: it holds the board ("gameboard"), starts a level from
// its parameters or the player's profile, and reacts to the board's
// notifications: a finished level goes to the mode's statistics screen (or
// back to the screen below, with the statistics), a lost game to
// "GS_GameLoose", a confirmed hint hides the hint panel. The menu button,
// Escape and Pause open the pause menu, whose answer leads to the queries, the
// options, the rules, a restart or back to play; losing the window's focus
// in a timed or duel level opens it too.
#pragma once

#include <set>
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
  // "sound_show_window" and one of the background musics
  // "music_background0" .. "music_background2" (uniformly; the screen's
  // "music_background" when it lacks the one drawn).
  void OnShow() override;
  // "sound_hide_window"; the music chosen at showing stops.
  void OnHide() override;
  // The screen's time; the menu button is hidden during the level end.
  void Update(int dt) override;
  // A lost focus during a classic or duel level opens the pause menu.
  void WindowFocusChanged(bool focused) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;
  // The board takes its keys first (the cursor, Space and Return, Escape
  // with a selection); then Escape or Pause opens the pause menu.
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  void ScreenClosed(const std::string& closedScreenName, IParamCollection* resultParams) override;
  void BoardNotification(int code, IParamCollection* params) override;

  TGameBoardControl* Board();
  const std::string& GetPlayMode() const { return playMode_; }
  int GetLevel() const { return level_; }
  bool IsReplay() const { return replay_; }
  const std::string& GetMusicName() const { return musicName_; }

protected:
  ~TZintaraGameScreenGame() override = default;

  static constexpr char kMiniMenu[] = "GS_MiniMenu";
  static constexpr char kQueryMainMenu[] = "GS_QueryMainMenu";
  static constexpr char kQueryRestart[] = "GS_QueryRestart";

private:
  std::set<unsigned> boardKeys_;  // keys down that the board took
  void StartLevel();
  // "GS_MiniMenu", or back to the screen below when the game has none.
  void OpenMenu();
  // The pause menu's answer, and the queries' answers.
  void MenuAnswered(const std::string& button);
  // Shows the query when the game has it; false when it does not.
  bool Ask(const char* query);
  void Restart();
  bool HasScreen(const std::string& name);

  std::string playMode_ = "relax";
  int level_ = 1;
  bool replay_ = false;
  bool pendingStart_ = false;
  std::string musicName_;
};

}  // namespace qv
