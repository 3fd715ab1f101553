// Points, celebration choices and the time bonus: the arithmetic of scoring,
// kept apart from the board so every rule can be checked on its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/BoardTypes.h"

namespace qv {

inline constexpr int32_t kArtifactPoints = 3000;

// Points of one cell of a line of `lineLength` cells at chain level
// `chainLevel`. A hole (kind -1) earns nothing.
int32_t CellPoints(const TCell& cell, int lineLength, int chainLevel);

// The sound that celebrates a wave with lines. The name of index 1 and 2
// ends in a drawn variant number; `name` is empty when no sound belongs to
// the chain level (below 1).
struct TExplosionSound {
  int index = 0;
  std::string name;
  int volume = 0;  // 50, 75 or 100 by the number of lines
};
// Draws from the program's generator for the variants of index 1 and 2.
TExplosionSound ChooseExplosionSound(int chainLevel, int lines);
// The index alone (no draw): L below 6 is itself, else ((L - 2) mod 3) + 3.
int ExplosionSoundIndex(int chainLevel);

// One row of the texts shown after a wave, in display order.
struct TComboTextRow {
  std::string key;     // localised key, e.g. "%COMBO x%"
  int32_t number = 0;  // the row's number where the key takes one, else 0
  std::string font;    // font resource
};
std::vector<TComboTextRow> CombinationTexts(int chainLevel, int colourCells, int totalCells, int lines,
                                            int longestLine);

// Points paid for time left when a timed level is won. `timeLeft` and
// `allowance` in milliseconds, `levelTime` in seconds. Computed in 64 bits
// and capped, so a very long level cannot turn the bonus negative.
int32_t TimeBonus(int64_t timeLeft, int64_t levelTime, int64_t allowance);

}  // namespace qv
