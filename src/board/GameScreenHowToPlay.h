// The rules screen "GS_HowToPlay": pages of rules ("page1", "page2", ...),
// chosen by "button_htp1", "button_htp2", ..., each with a demonstration
// board ("howtoplay_gameboard1", ...) that plays its level by itself in the
// tutorial mode. The levels are part of the screen's description:
//
//   <demolevels>
//     <demolevel board="howtoplay_gameboard1" number="90"><level .../></demolevel>
//   </demolevels>
//
// The check box "checkbox_showagain" keeps "yes" or "no" in the profile's
// "show_how_to_play" (for the duel "show_how_to_playduel_computer"), the
// value the main screen asks before it opens this screen on entering a
// mode. "button_close" and "button_start" close the screen with "Button".
#pragma once

#include <string>
#include <vector>

#include "game/ZinLevel.h"
#include "screens/GameScreen.h"

namespace qv {

class TGameBoardControl;

class TZintaraGameScreenHowToPlay : public TGameScreen {
public:
  // The screen, then the child "demolevels".
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  // "PlayMode" (else the profile's "current_play_mode") chooses the value
  // the check box keeps; page 1 is shown and every board starts its level.
  void BeforeShow(IParamCollection* params) override;
  void OnHide() override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

  // Shows page n (1-based) with its board running; the others hidden and
  // their boards paused.
  void ShowPage(int page);
  int GetPage() const { return page_; }
  // The profile value the check box keeps.
  std::string ShowAgainValueName() const;

protected:
  ~TZintaraGameScreenHowToPlay() override = default;

private:
  struct TDemo {
    std::string board;
    int number = 0;
    Ref<TZinLevel> level;
  };
  TGameBoardControl* Board(const std::string& name);
  int PageCount();

  std::vector<TDemo> demos_;
  std::string mode_ = "relax";
  int page_ = 1;
};

}  // namespace qv
