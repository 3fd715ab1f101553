// The texts that celebrate an explosion wave (its chain level, its longest
// line, its number of lines, many completed cells), flown up as rows
// centred on the mean place of the wave's exploded cells.
#pragma once

#include <string>
#include <vector>

#include "game/Scoring.h"
#include "game/TurnDriver.h"
#include "graphics/Rect.h"

namespace qv {

class TGameBoardControl;

inline constexpr int kComboRise = 50;
inline constexpr int kComboLifetime = 1000;
inline constexpr int kComboDelay = 200;

// The text of a row: its key through the language, followed by its number
// when the row has one ("%COMBO x%" at chain level 3: "COMBO x3").
std::string CombinationRowText(const TComboTextRow& row);

// Where each of `rows` rows `rowHeight` high is placed: across at the
// centre (the row widgets centre themselves on their anchor), the block of
// rows centred down on it.
std::vector<TPoint> CombinationRowPlaces(TPoint centre, int rows, int rowHeight);

// The mean of the points (0, 0 for none), rounded.
TPoint MeanPoint(const std::vector<TPoint>& points);

// Shows the wave's rows as "move_score" flights in the board's scenario
// group, each row as high as the "info_text" template, its text in the
// row's font; nothing when no row applies.
void ShowCombinationTexts(TGameBoardControl& board, const TWaveStep& wave);

}  // namespace qv
