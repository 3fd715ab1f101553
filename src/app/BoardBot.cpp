#include "app/BoardBot.h"

#include "app/Game.h"
#include "board/GameBoardControl.h"
#include "board/GameScreenGame.h"
#include "board/LevelManager.h"
#include "core/Random.h"
#include "game/ComputerPlayer.h"
#include "platform/InjectedInput.h"

namespace qv {

std::optional<EBotStrategy> BotStrategyFromText(const std::string& text) {
  if (text == "best") return EBotStrategy::Best;
  if (text == "random") return EBotStrategy::Random;
  if (text == "computer") return EBotStrategy::Computer;
  return std::nullopt;
}

std::optional<TLinkCellInfo> TBoardBot::Choose(TGameBoardControl& board) const {
  const TLinkCellInfoCollection& moves = board.Driver().Moves();
  if (moves.Empty()) return std::nullopt;
  switch (strategy_) {
    case EBotStrategy::Best:
      return moves[0];
    case EBotStrategy::Random:
      return moves[RandomInt(moves.Count())];
    case EBotStrategy::Computer: {
      const double strength =
          ComputerStrengthFactor(board.GetFittingFactor(), board.Model().Difficulty(), board.IsReplay());
      return board.Driver().ComputerMove(strength);
    }
  }
  return std::nullopt;
}

void TBoardBot::BeforeFrame(TGame& game, TInjectedInput* input) {
  if (!input) return;
  // A move whose game screen is no longer on top (left through its menu,
  // or its level over) is dropped: its presses would land on the screen
  // now shown.
  if (step_ > 0 && static_cast<const void*>(game.TopScreen()) != screen_) {
    // A button still held is let go, or the next screen would never see a
    // press of its own.
    if (step_ % 2 == 0) {
      const TPoint at = step_ == 2 ? first_ : second_;
      input->MouseButton(at.x, at.y, 1, false);
    }
    step_ = 0;
  }
  if (step_ > 0) {
    // One press or release a frame: down, up on the first cell, then the second.
    const TPoint at = step_ <= 2 ? first_ : second_;
    if (step_ == 1 || step_ == 3) input->MouseMove(at.x, at.y);
    input->MouseButton(at.x, at.y, 1, step_ % 2 == 1);
    step_ = step_ == 4 ? 0 : step_ + 1;
    return;
  }
  auto* screen = dynamic_cast<TZintaraGameScreenGame*>(game.TopScreen());
  TGameBoardControl* board = screen ? screen->Board() : nullptr;
  auto* manager = board ? dynamic_cast<TBaseLevelManager*>(board->GetLevelManager()) : nullptr;
  if (!manager || !manager->WaitingForPlayer()) return;
  const std::optional<TLinkCellInfo> move = Choose(*board);
  if (!move) return;
  first_ = board->CellScreenCentre(move->first);
  second_ = board->CellScreenCentre(move->second);
  screen_ = game.TopScreen();
  ++played_;
  step_ = 1;
  BeforeFrame(game, input);
}

}  // namespace qv
