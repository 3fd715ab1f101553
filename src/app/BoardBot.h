// A player for tests and demonstrations: whenever the board on the top
// screen waits for the first player, it chooses one of the listed moves and
// plays it through real input, so the whole input path is exercised: mouse
// presses on the two cells' screen positions, or the keyboard's cursor
// keys and Return, or a virtual gamepad's pad and A button, one key a
// frame, each chosen from what the board shows after the last.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "game/BoardTypes.h"
#include "game/LinkCellInfo.h"
#include "graphics/Rect.h"

namespace qv {

class TGame;
class TGameBoardControl;
class TInjectedInput;

enum class EBotStrategy { Best, Random, Computer };
// "best", "random" or "computer"; nothing for any other text.
std::optional<EBotStrategy> BotStrategyFromText(const std::string& text);
enum class EBotInput { Mouse, Keyboard, Gamepad };
// "mouse", "keyboard" or "gamepad"; nothing for any other text.
std::optional<EBotInput> BotInputFromText(const std::string& text);

class TBoardBot {
public:
  explicit TBoardBot(EBotStrategy strategy, EBotInput input = EBotInput::Mouse)
      : strategy_(strategy), input_(input) {}

  // Once a frame, before the frame's input: looks at the game's top
  // screen and presses the next mouse button of the move it is playing.
  void BeforeFrame(TGame& game, TInjectedInput* input);
  // The move the bot chooses on that board now (drawing for random and
  // computer); nothing without a listed move.
  std::optional<TLinkCellInfo> Choose(TGameBoardControl& board) const;
  long long MovesPlayed() const { return played_; }

private:
  // The keyboard's or the gamepad's next key for the running move.
  void KeyFrame(TGameBoardControl& board, TInjectedInput& input);
  EBotStrategy strategy_;
  EBotInput input_;
  std::optional<TLinkCellInfo> move_;  // the move being keyed in
  int keys_ = 0;                       // keys pressed for it so far
  // The presses of the running move: down and up on the first cell, then
  // on the second, one per frame.
  int step_ = 0;
  TPoint first_;
  TPoint second_;
  // The top screen the running move was chosen on (compared, never used).
  const void* screen_ = nullptr;
  long long played_ = 0;
};

}  // namespace qv
