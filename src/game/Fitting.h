// How the game adapts to the player: the timed mode's fitting and time
// factors after a level, and the duel computer's fitting value. Plain
// arithmetic, kept apart so every rule can be checked with numbers.
#pragma once

#include <cstdint>

namespace qv {

// The time factor grows by this after a lost timed level.
inline constexpr double kTimeFactorStep = 0.1;

// A lost timed level: fitting * 2/3 + 11/30.
double FittingAfterTimedLoss(double fitting);
// A won timed level: 1.0 with no allowance, else the share of the allowance
// used, times 1.1, weighs a third against two thirds of the old value.
double FittingAfterTimedWin(double fitting, int32_t allowance, int32_t timeLeft);
// A duel against the computer in which the player scored: the score
// difference (computer minus player) / 3000 weighs a third.
double FittingAfterDuel(double fitting, int32_t playerScore, int32_t computerScore);

}  // namespace qv
