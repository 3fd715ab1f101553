#include "game/GameStatistics.h"

#include <algorithm>

namespace qv {

const std::vector<std::string>& TGameStatistics::StandardNames() {
  static const std::vector<std::string> names = {
      "Score",  "score_move", "max_score_move", "move",        "combo",      "max_combo",
      "chains", "max_chains", "flowers",        "max_flowers", "color_cells", "total_cells"};
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

void TGameStatistics::Set(const std::string& name, int32_t value) { Slot(name) = value; }

namespace {
void CloseInto(int32_t& maximum, int32_t& running) {
  maximum = std::max(maximum, running);
  running = 0;
}
}  // namespace

void TGameStatistics::Add(const std::string& name, int32_t amount) {
  if (name == "move") {
    CloseInto(Slot("max_score_move"), Slot("score_move"));
    CloseInto(Slot("max_combo"), Slot("combo"));
    CloseInto(Slot("max_chains"), Slot("chains"));
  } else if (name == "combo") {
    CloseInto(Slot("max_flowers"), Slot("flowers"));
  } else if (name == "Score") {
    Slot("score_move") += amount;
  }
  Slot(name) += amount;
}

}  // namespace qv
