// The pause menu: a drop-down over the game screen. Its buttons are the
// visible children of "buttons_group"; they slide out one by one in steps
// of 50 ms while the shade "shadow_rect" darkens, with "bottom_window"
// following under the last one, and slide back the same way when a button
// is clicked, Escape is pressed or a click lands on nothing. Closing hands
// "Button" (the clicked button's name, empty without one) to the game
// screen.
#pragma once

#include <string>
#include <vector>

#include "screens/GameScreen.h"

namespace qv {

// The length of one step of the drop-down, and the height each button takes.
inline constexpr int kMiniMenuStepMs = 50;
inline constexpr int kMiniMenuButtonPitch = 40;

// The tops of `count` buttons (child order, 1-based positions) when every
// button whose position is greater than `threshold` has slid out, and
// after them the top of the part below (all relative to the group).
std::vector<int> MiniMenuTops(int count, int threshold);

class TZintaraGameScreenMiniMenu : public TGameScreen {
public:
  // Every button at top 0, the shade clear: the menu starts to open.
  void BeforeShow(IParamCollection* params) override;
  // The screen's time, then the steps the time covers.
  void Update(int dt) override;
  // A click on a button closes the menu with its name.
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;
  // Escape key-down closes the menu without a button.
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  // A button release that no widget takes closes the menu without a button,
  // when its press came while the menu was up (a press begun on the board
  // before the menu opened is let go of without closing it).
  bool MouseEvent(unsigned message, TPoint point, unsigned flags) override;

  // Buttons out (0 .. the button count).
  int GetStep() const { return step_; }
  bool IsOpening() const { return opening_; }
  bool IsClosing() const { return closing_; }
  int GetButtonCount() const { return static_cast<int>(buttons_.size()); }

protected:
  ~TZintaraGameScreenMiniMenu() override = default;

private:
  void StartClosing(const std::string& button);
  void Step();
  // The buttons at their tops for the threshold, "bottom_window" under them.
  void Layout(int threshold);
  void Shade();

  std::vector<Ref<IWidget>> buttons_;
  int step_ = 0;
  int carried_ = 0;
  bool opening_ = false;
  bool closing_ = false;
  bool pressed_ = false;  // a button went down while the menu was up
  std::string chosen_;
};

}  // namespace qv
