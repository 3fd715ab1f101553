// The per-player statistics of a level: named integers with the rules that
// close a move and a wave when their counters are added to.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace qv {

// The standard statistic names.
inline constexpr const char* kStatScore = "Score";
inline constexpr const char* kStatScoreMove = "score_move";
inline constexpr const char* kStatMaxScoreMove = "max_score_move";
inline constexpr const char* kStatMove = "move";
inline constexpr const char* kStatCombo = "combo";
inline constexpr const char* kStatMaxCombo = "max_combo";
inline constexpr const char* kStatChains = "chains";
inline constexpr const char* kStatMaxChains = "max_chains";
inline constexpr const char* kStatFlowers = "flowers";
inline constexpr const char* kStatMaxFlowers = "max_flowers";
inline constexpr const char* kStatColourCells = "color_cells";
inline constexpr const char* kStatTotalCells = "total_cells";

class TGameStatistics {
public:
  // The standard names in their display order; every one exists after Reset.
  static const std::vector<std::string>& StandardNames();

  TGameStatistics() { Reset(); }

  // Every standard value back to 0; values added under other names vanish.
  void Reset();
  // 0 for a name never added to.
  int32_t Get(const std::string& name) const;
  void Set(const std::string& name, int32_t value);
  // Adds (creating the value when missing) and applies the closing rules:
  // "Score" also feeds "score_move"; "move" closes the running move into
  // the three maxima; "combo" closes the previous wave's "flowers".
  void Add(const std::string& name, int32_t amount);

  // Name/value pairs in order: the standard names first, then any others.
  const std::vector<std::pair<std::string, int32_t>>& Values() const { return values_; }

private:
  int32_t& Slot(const std::string& name);

  std::vector<std::pair<std::string, int32_t>> values_;
};

}  // namespace qv
