// Small pieces the board's presentation scenarios share: parameters for a
// factory, the mapping from the board's child space into a scenario's, the
// player's hint option, and children looked up with a report when missing.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

#include "core/Ref.h"
#include "graphics/Rect.h"
#include "storage/ParamCollection.h"
#include "widgets/IWidget.h"
#include "widgets/IWidgetOwner.h"

namespace qv {

class TGameBoardControl;

// A parameter collection holding the pairs as texts, in order.
Ref<TParamCollection> MakeScenarioParams(std::initializer_list<std::pair<std::string, std::string>> pairs);

// A point of the board's child space in the child space of `group` (a
// scenario anywhere under the board).
TPoint BoardToChildSpace(IWidgetOwner& group, TGameBoardControl& board, TPoint point);
// The way back: a point of the child space of `group` in the board's.
TPoint ChildSpaceToBoard(IWidgetOwner& group, TGameBoardControl& board, TPoint point);

// The game's "ShowHints" option through the screen owner of the chain;
// hints are on unless the option reads "no" (and without an owner).
bool HintsEnabled(IWidgetOwner& widget);

// The child of that name; a missing one is reported as a data error naming
// `where` and the child.
Ref<IWidget> RequiredChild(IWidget& parent, const std::string& name, const std::string& where);

// Plays the sound from the scenario's own sounds when it has one of that
// name, else from the board's (where the game keeps them); the channel,
// 0 when nothing played (a name neither knows is reported by the board).
uint32_t PlayScenarioSound(IWidget& scenario, TGameBoardControl* board, const std::string& name);

// Visible and running, or hidden and paused; nothing for an empty widget.
void ShowRunning(IWidget* widget, bool visible);

}  // namespace qv
