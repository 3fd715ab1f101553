#include "app/BoardBot.h"

#include <algorithm>
#include <vector>

#include "app/Game.h"
#include "board/BoardCursor.h"
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

std::optional<EBotInput> BotInputFromText(const std::string& text) {
  if (text == "mouse") return EBotInput::Mouse;
  if (text == "keyboard") return EBotInput::Keyboard;
  if (text == "gamepad") return EBotInput::Gamepad;
  return std::nullopt;
}

namespace {

// The cursor's keys a bot uses, by input: the keyboard has the six hex
// directions as well, the gamepad its pad.
struct TBotKey {
  ECursorStep step;
  const char* key;
  const char* pad;
};
constexpr TBotKey kBotKeys[] = {
    {ECursorStep::Up, "Up", "dpup"},       {ECursorStep::Down, "Down", "dpdown"},
    {ECursorStep::Left, "Left", "dpleft"}, {ECursorStep::Right, "Right", "dpright"},
    {ECursorStep::UpLeft, "q", nullptr},   {ECursorStep::UpRight, "e", nullptr},
    {ECursorStep::DownLeft, "a", nullptr}, {ECursorStep::DownRight, "d", nullptr},
};

// The first key of a shortest walk of the cursor from `from` to `to`; null
// when `to` cannot be reached.
const TBotKey* FirstKeyTowards(TGameBoardControl& board, TCellPos from, TCellPos to, bool pad) {
  const auto exists = [&board](TCellPos p) { return board.CellWidget(p.col, p.row) != nullptr; };
  struct TNode {
    TCellPos at;
    const TBotKey* first;
  };
  std::vector<TNode> queue{{from, nullptr}};
  std::vector<TCellPos> seen{from};
  for (size_t i = 0; i < queue.size(); ++i) {
    if (queue[i].at == to) return queue[i].first;
    for (const TBotKey& key : kBotKeys) {
      if (pad && !key.pad) continue;
      const TCellPos next =
          StepCursor(queue[i].at, key.step, board.Model().Cols(), board.Model().Rows(), exists);
      if (std::find(seen.begin(), seen.end(), next) != seen.end()) continue;
      seen.push_back(next);
      queue.push_back({next, queue[i].first ? queue[i].first : &key});
    }
  }
  return nullptr;
}

}  // namespace

void TBoardBot::KeyFrame(TGameBoardControl& board, TInjectedInput& input) {
  const bool pad = input_ == EBotInput::Gamepad;
  const auto press = [&](const char* key, const char* button) {
    ++keys_;
    if (pad)
      input.PadPress(button);
    else
      input.KeyPress(key);
  };
  const TLinkCellInfo move = *move_;
  const std::optional<TCellPos> cursor = board.Cursor();
  if (!cursor) return press("Down", "dpdown");  // the first key shows the cursor
  const std::optional<TCellPos> selected = board.Selection();
  if (selected && *selected != move.first) return press("Escape", "b");
  const TCellPos target = selected ? move.second : move.first;
  if (*cursor == target) return press("Return", "a");
  const TBotKey* key = FirstKeyTowards(board, *cursor, target, pad);
  if (!key) {
    move_.reset();  // out of reach of the keys: choose again
    return;
  }
  press(key->key, key->pad);
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
  if (input_ != EBotInput::Mouse) {
    // Keys: the move is chosen when the board waits and keyed in over the
    // next frames; a move is dropped when its screen goes, when the board
    // goes on without it, or when it takes far more keys than any walk
    // across a board.
    if (!manager || !manager->WaitingForPlayer() || static_cast<const void*>(game.TopScreen()) != screen_ ||
        keys_ > 400)
      move_.reset();
    if (!manager || !manager->WaitingForPlayer()) return;
    if (!move_) {
      move_ = Choose(*board);
      if (!move_) return;
      screen_ = game.TopScreen();
      keys_ = 0;
      ++played_;
    }
    KeyFrame(*board, *input);
    return;
  }
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
