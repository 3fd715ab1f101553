// The program's one random generator. Every random choice of the game draws
// from it, so one seed fixes a whole run:
//   seed := seed * 134775813 + 1 (mod 2^32)
//   a draw below n is the high 32 bits of seed * n.
#pragma once

#include <cstdint>

namespace qv {

void SetRandomSeed(uint32_t seed);
uint32_t GetRandomSeed();
// Seeds from the time of day (start-up, unless a seed was given):
// TimeOfDaySeed of the system time (UTC).
void Randomize();
// ((hours * 60 + minutes) * 60 + seconds) * 1000 + milliseconds.
uint32_t TimeOfDaySeed(int hours, int minutes, int seconds, int milliseconds);
// Advances the generator and returns a value in [0, n); 0 when n <= 0.
int32_t RandomInt(int32_t n);
// Advances the generator and returns a value in [0, 1): seed / 2^32.
double RandomFloat();

}  // namespace qv
