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

void SetRandomSeed(uint32_t seed) { g_seed = seed; }
uint32_t GetRandomSeed() { return g_seed; }

void Randomize() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  g_seed = static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

int32_t RandomInt(int32_t n) {
  const uint64_t s = Next();
  if (n <= 0) return 0;
  return static_cast<int32_t>((s * static_cast<uint64_t>(n)) >> 32);
}

double RandomFloat() { return static_cast<double>(Next()) / 4294967296.0; }

}  // namespace qv
