// The duel computer's choice of move: a pick from the possible-move list
// whose strength follows the score difference and the strength factor.
#pragma once

#include <optional>

#include "game/LinkCellInfo.h"

namespace qv {

// F from the profile's stored fitting value, the difficulty and the replay
// flag: fitting + 1 - difficulty, and 0.5 less for a replay.
double ComputerStrengthFactor(double fitting, int difficulty, bool replay);

// The window of the list the computer picks from: entries start..start+k-1.
struct TComputerPickRange {
  int start = 0;
  int count = 0;
};
// Steps 2 to 6 of the choice for a list of n >= 2 entries with the given sum
// of estimated points; no draw.
TComputerPickRange ComputerPickRange(int n, long long pointsSum, long long humanScore,
                                     long long computerScore, double strength, int remainingCells);

// Draws the entry within the range, then the pair's order (an odd draw from
// 0..99 puts the second cell first). Nothing for an empty list.
std::optional<TLinkCellInfo> ChooseComputerMove(const TLinkCellInfoCollection& moves, long long humanScore,
                                                long long computerScore, double strength, int remainingCells);

}  // namespace qv
