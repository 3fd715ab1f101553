#include "game/GameStatistics.h"

#include <algorithm>

namespace qv {

const std::vector<std::string>& TGameStatistics::StandardNames() {
  static const std::vector<std::string> names = {
      kStatScore,  kStatScoreMove, kStatMaxScoreMove, kStatMove,       kStatCombo,       kStatMaxCombo,
      kStatChains, kStatMaxChains, kStatFlowers,      kStatMaxFlowers, kStatColourCells, kStatTotalCells};
  return names;
}

void TGameStatistics::Reset() {
  values_.clear();
  for (const auto& name : StandardNames()) values_.emplace_back(name, 0);
}

int32_t TGameStatistics::Get(const std::string& name) const {
  for (const auto& [n, v] : values_)
    if (n == name) return v;
  return 0;
}

int32_t& TGameStatistics::Slot(const std::string& name) {
  for (auto& [n, v] : values_)
    if (n == name) return v;
  values_.emplace_back(name, 0);
  return values_.back().second;
}

void TGameStatistics::Set(const std::string& name, int32_t value) {
  Slot(name) = value;
}

namespace {
void CloseInto(int32_t& maximum, int32_t& running) {
  maximum = std::max(maximum, running);
  running = 0;
}
}  // namespace

void TGameStatistics::Add(const std::string& name, int32_t amount) {
  if (name == kStatMove) {
    CloseInto(Slot(kStatMaxScoreMove), Slot(kStatScoreMove));
    CloseInto(Slot(kStatMaxCombo), Slot(kStatCombo));
    CloseInto(Slot(kStatMaxChains), Slot(kStatChains));
  } else if (name == kStatCombo) {
    CloseInto(Slot(kStatMaxFlowers), Slot(kStatFlowers));
  } else if (name == kStatScore) {
    Slot(kStatScoreMove) += amount;
  }
  Slot(name) += amount;
}

}  // namespace qv
