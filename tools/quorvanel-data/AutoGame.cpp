#include "AutoGame.h"

#include "Commands.h"
#include "core/Random.h"
#include "game/BoardModel.h"
#include "game/ComputerPlayer.h"
#include "game/ZinLevel.h"

namespace qv::tool {

EStrategy StrategyFromText(const std::string& text, const std::string& what) {
  if (text == "best") return EStrategy::Best;
  if (text == "random") return EStrategy::Random;
  if (text == "computer") return EStrategy::Computer;
  throw EToolError(what + " must be best, random or computer, not '" + text + "'");
}

const char* StrategyText(EStrategy strategy) {
  switch (strategy) {
    case EStrategy::Random:
      return "random";
    case EStrategy::Computer:
      return "computer";
    case EStrategy::Best:
      break;
  }
  return "best";
}

TAutoGameResult PlayAutoGame(const TZinLevel& level, const TAutoGameSettings& settings, uint32_t seed,
                             const std::function<bool()>& beforeMove) {
  const double strength = ComputerStrengthFactor(0.0, settings.difficulty, false);
  SetRandomSeed(seed);
  TBoardModel board;
  TTurnDriver driver(board);
  driver.StartLevel(level, settings.mode, settings.difficulty);
  driver.RunToRest();
  TAutoGameResult result;
  result.remainingAtStart = driver.RemainingAtTurnStart();
  long long waves = 0;
  while (!driver.Status() && !driver.Moves().Empty() && board.Counter(kCounterMoves) < settings.maxMoves) {
    if (beforeMove && !beforeMove()) {
      result.cut = true;
      break;
    }
    TLinkCellInfo move = driver.Moves()[0];
    if (settings.strategy == EStrategy::Random) {
      move = driver.Moves()[RandomInt(driver.Moves().Count())];
    } else if (settings.strategy == EStrategy::Computer) {
      if (const auto choice = driver.ComputerMove(strength)) move = *choice;
    }
    driver.Swap(move.first, move.second);
    while (driver.Waiting() == ETurnWait::Next) {
      if (driver.Next().kind == ETurnStepKind::ExplosionWave && ++waves > settings.maxWaves) {
        result.atWaveLimit = true;
        break;
      }
    }
    if (result.atWaveLimit) break;
  }
  result.status = driver.Status();
  result.atMoveLimit = !result.status && !result.cut && !result.atWaveLimit && !driver.Moves().Empty();
  result.moves = board.Counter(kCounterMoves);
  result.score = board.Score(kPlayerOne);
  return result;
}

}  // namespace qv::tool
