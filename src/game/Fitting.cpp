#include "game/Fitting.h"

namespace qv {

double FittingAfterTimedLoss(double fitting) {
  return fitting * 2.0 / 3.0 + 11.0 / 30.0;
}

double FittingAfterTimedWin(double fitting, int32_t allowance, int32_t timeLeft) {
  if (allowance < 1) return 1.0;
  const double used = (static_cast<double>(allowance) - timeLeft) * 1.1 / allowance;
  return used / 3.0 + fitting * 2.0 / 3.0;
}

double FittingAfterDuel(double fitting, int32_t playerScore, int32_t computerScore) {
  return (static_cast<double>(computerScore) - playerScore) / 3000.0 / 3.0 + fitting * 2.0 / 3.0;
}

}  // namespace qv
