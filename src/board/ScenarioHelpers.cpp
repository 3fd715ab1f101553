#include "board/ScenarioHelpers.h"

#include "audio/Sound.h"
#include "board/GameBoardControl.h"
#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "screens/IGameScreenOwner.h"
#include "widgets/IEventHandler.h"

namespace qv {

Ref<TParamCollection> MakeScenarioParams(std::initializer_list<std::pair<std::string, std::string>> pairs) {
  Ref<TParamCollection> params = MakeRef<TParamCollection>();
  params->Initialize();
  for (const auto& [name, value] : pairs) params->SetParamValue(name, TVariant(value));
  return params;
}

TPoint BoardToChildSpace(IWidgetOwner& group, TGameBoardControl& board, TPoint point) {
  // Both owners map the screen into their children's space by their own
  // origin; the difference of the two mappings of one point is the shift.
  const TPoint inGroup = group.ScreenToChildLocal({0, 0});
  const TPoint inBoard = board.ScreenToChildLocal({0, 0});
  return {point.x + inGroup.x - inBoard.x, point.y + inGroup.y - inBoard.y};
}

TPoint ChildSpaceToBoard(IWidgetOwner& group, TGameBoardControl& board, TPoint point) {
  const TPoint origin = BoardToChildSpace(group, board, {0, 0});
  return {point.x - origin.x, point.y - origin.y};
}

bool HintsEnabled(IWidgetOwner& widget) {
  IEventHandler* handler = widget.GetEventHandler();
  auto* owner = handler ? QueryPtr<IGameScreenOwner>(handler->GetScreenOwner()) : nullptr;
  if (!owner) return true;
  return !SameText(Trim(VarToString(owner->GetOptionValue("ShowHints"))), "no");
}

Ref<IWidget> RequiredChild(IWidget& parent, const std::string& name, const std::string& where) {
  Ref<IWidget> child = parent.GetChild(name);
  if (!child) ReportDataError(where, "no child widget \"" + name + "\"");
  return child;
}

uint32_t PlayScenarioSound(IWidget& scenario, TGameBoardControl* board, const std::string& name) {
  ISoundCollection* own = scenario.GetSounds();
  if ((own && own->FindSound(name)) || !board) return scenario.PlaySound(name, false, 0, 0);
  return board->PlaySound(name, false, 0, 0);
}

void ShowRunning(IWidget* widget, bool visible) {
  if (!widget) return;
  widget->SetVisible(visible);
  if (visible)
    widget->Resume();
  else
    widget->Pause();
}

}  // namespace qv
