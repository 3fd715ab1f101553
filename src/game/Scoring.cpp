#include "game/Scoring.h"

#include <algorithm>
#include <limits>

#include "core/Random.h"

namespace qv {

int32_t CellPoints(const TCell& cell, int lineLength, int chainLevel) {
  if (cell.kind == kCellNone) return 0;
  if (cell.flower == kArtifact) return kArtifactPoints;
  const int32_t base = (chainLevel + lineLength + 1) * 20;
  switch (cell.kind) {
    case kCellNormal:
      if (cell.colour == kNoColour) return 500;
      return cell.colour == cell.flower ? 1000 : base;
    case kCellDouble:
      return base * 2;
    case kCellTriple:
      return base * 3;
    default:
      return base;
  }
}

int ExplosionSoundIndex(int chainLevel) {
  return chainLevel < 6 ? chainLevel : ((chainLevel - 2) % 3) + 3;
}

TExplosionSound ChooseExplosionSound(int chainLevel, int lines) {
  TExplosionSound sound;
  sound.index = ExplosionSoundIndex(chainLevel);
  sound.volume = lines <= 1 ? 50 : lines == 2 ? 75 : 100;
  switch (sound.index) {
    case 1:
      sound.name = "sound_explosion1_" + std::to_string(RandomInt(3) + 1);
      break;
    case 2:
      sound.name = "sound_explosion2_" + std::to_string(RandomInt(2) + 1);
      break;
    case 3:
    case 4:
    case 5:
      sound.name = "sound_explosion" + std::to_string(sound.index);
      break;
    default:
      break;
  }
  return sound;
}

std::vector<TComboTextRow> CombinationTexts(int chainLevel, int colourCells, int totalCells, int lines,
                                            int longestLine) {
  std::vector<TComboTextRow> rows;
  if (chainLevel > 1) rows.push_back({"%COMBO x%", chainLevel, "font_combo1"});
  if (longestLine == 4) rows.push_back({"%PERFECT!%", 0, "font_combo2"});
  if (longestLine >= 5) rows.push_back({"%GRAND!%", 0, "font_combo2"});
  static const char* const kLineKeys[] = {"%DOUBLE%", "%TRIPLE%", "%QUADRUPLE%", "%QUINTUPLE%", "%SEXTUPLE%"};
  if (lines >= 2 && lines <= 6) rows.push_back({kLineKeys[lines - 2], 0, "font_combo3"});
  if (lines >= 7) rows.push_back({"%MULTIPLE%", 0, "font_combo3"});
  if (colourCells > 100) rows.push_back({"%COLORCELLSx%", colourCells, "font_combo4"});
  if (totalCells > 100) rows.push_back({"%TOTALCELLSx%", totalCells, "font_combo4"});
  return rows;
}

int32_t TimeBonus(int64_t timeLeft, int64_t levelTime, int64_t allowance) {
  const int64_t a = timeLeft + levelTime * 1000 - allowance;
  if (a < 1) return 0;
  const int64_t bonus = (a * 2000 / 600000) * 10;
  return static_cast<int32_t>(std::min<int64_t>(bonus, std::numeric_limits<int32_t>::max()));
}

}  // namespace qv
