#include "core/Random.h"

#include <chrono>

namespace qv {

namespace {
uint32_t g_seed = 0;  // process-wide by design: one generator for the game

uint32_t Next() {
  g_seed = g_seed * 134775813u + 1u;
  return g_seed;
}
}  // namespace

void SetRandomSeed(uint32_t seed) {
  g_seed = seed;
}
uint32_t GetRandomSeed() {
  return g_seed;
}

uint32_t TimeOfDaySeed(int hours, int minutes, int seconds, int milliseconds) {
  return static_cast<uint32_t>(((hours * 60 + minutes) * 60 + seconds) * 1000 + milliseconds);
}

void Randomize() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto sinceMidnight = duration_cast<milliseconds>(now - floor<days>(now)).count();
  const auto ms = static_cast<int>(sinceMidnight);
  g_seed = TimeOfDaySeed(ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
}

int32_t RandomInt(int32_t n) {
  const uint64_t s = Next();
  if (n <= 0) return 0;
  return static_cast<int32_t>((s * static_cast<uint64_t>(n)) >> 32);
}

double RandomFloat() {
  return static_cast<double>(Next()) / 4294967296.0;
}

}  // namespace qv
