#include "game/ComputerPlayer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/Random.h"

namespace qv {

double ComputerStrengthFactor(double fitting, int difficulty, bool replay) {
  return fitting + 1.0 - difficulty - (replay ? 0.5 : 0.0);
}

namespace {
// Nearest integer, ties to even.
long long RoundEven(double v) {
  return static_cast<long long>(std::nearbyint(v));
}
}  // namespace

TComputerPickRange ComputerPickRange(int n, long long pointsSum, long long humanScore,
                                     long long computerScore, double strength, int remainingCells) {
  const long long a = (2 * pointsSum) / (n - 1);
  const long long d = humanScore - computerScore;
  const long long e = std::llabs(d);
  double q = 0.0;
  double p = 0.0;
  if (e > a) {
    q = static_cast<double>(a) / static_cast<double>(e);
    p = 1.0 - q;
    if (d < 0) p = -p;
    q = q / 2.0;
  } else {
    // With no points at all (a = 0, hence e = 0) the scores are level.
    q = a > 0 ? 1.0 - static_cast<double>(e) / static_cast<double>(a) : 1.0;
    p = d < 0 ? -0.3 : 0.3;
  }
  const double f = -strength / 2.0;
  long long k = RoundEven(std::fabs(q) * (1.0 - std::fabs(f)) * (n - 1));
  k = std::max<long long>(std::min<long long>(k, n - 1), 1);
  long long start = 0;
  const double m = p + f;
  if (m >= 0.5) {
    // a pick among the k strongest moves
  } else if (std::fabs(m) < 0.5) {
    k += RoundEven((0.5 - m) * static_cast<double>(n - 1 - k));
  } else if (remainingCells < 3) {
    k = n;
  } else {
    start = (n - 1) - k;
  }
  return {static_cast<int>(start), static_cast<int>(k)};
}

std::optional<TLinkCellInfo> ChooseComputerMove(const TLinkCellInfoCollection& moves, long long humanScore,
                                                long long computerScore, double strength,
                                                int remainingCells) {
  const int n = moves.Count();
  if (n == 0) return std::nullopt;
  int index = 0;
  if (n > 1) {
    long long sum = 0;
    for (const auto& move : moves) sum += move.points;
    const TComputerPickRange range =
        ComputerPickRange(n, sum, humanScore, computerScore, strength, remainingCells);
    index = std::clamp(range.start + RandomInt(range.count), 0, n - 1);
  }
  TLinkCellInfo choice = moves[index];
  if (RandomInt(100) % 2 == 1) std::swap(choice.first, choice.second);
  return choice;
}

}  // namespace qv
