#include "board/ScenarioHintLink.h"

#include <cmath>
#include <numbers>
#include <string>

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"
#include "core/Diagnostics.h"

namespace qv {

namespace {

constexpr const char* kSwingFactory = "move_Flower_circle";

}  // namespace

TPoint TurnAbout(TPoint p, TPoint centre, double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  const double dx = p.x - centre.x;
  const double dy = p.y - centre.y;
  return {RoundEven(centre.x + dx * std::cos(a) - dy * std::sin(a)),
          RoundEven(centre.y + dx * std::sin(a) + dy * std::cos(a))};
}

int HintSwingStart(int index, int startDelay, int cycleDelay) {
  return startDelay + index * (2 * kHintSwingTime + cycleDelay);
}

const TPropertyTable<TScenarioHintLink>& TScenarioHintLink::Properties() {
  using W = TScenarioHintLink;
  static const TPropertyTable<W> table = TPropertyTable<W>(TZintaraScenario::Properties())
                                             .Int("startdelaytime", &W::startDelay_, 1000)
                                             .Int("cycledelaytime", &W::cycleDelay_, 500);
  return table;
}

void TScenarioHintLink::Detach() {
  if (flowersHidden_) ShowFlowers(true);
  TZintaraScenario::Detach();
}

void TScenarioHintLink::StageFrame(int stage, int dt) {
  (void)stage;
  (void)dt;
  if (nextSwing_ < 0) nextSwing_ = startDelay_;
  const int t = GetCurrentTime();
  if (swinging_ && t >= swingEnd_) EndSwing();
  if (swinging_ || t < nextSwing_) return;
  // A swing that the option skips keeps the rhythm of the cycle.
  const int start = nextSwing_;
  nextSwing_ = start + 2 * kHintSwingTime + cycleDelay_;
  if (!HintsEnabled(*this)) return;
  swingEnd_ = start + 2 * kHintSwingTime;
  StartSwing();
}

void TScenarioHintLink::StartSwing() {
  TGameBoardControl* board = Board();
  if (!board || GetCells().size() < 2) {
    if (!reported_)
      ReportDataError("scenario " + GetName(), "a hint needs two cells, not \"" + GetRefCells() + "\"");
    reported_ = true;
    return;
  }
  TCellWidget* cells[2] = {board->CellWidget(GetCells()[0]), board->CellWidget(GetCells()[1])};
  Ref<IWidget> flowers[2];
  TPoint places[2];
  for (int i = 0; i < 2; ++i) {
    if (!cells[i] || !(flowers[i] = cells[i]->GetFlowerWidget())) return;
    const TRect rect = flowers[i]->GetRect();
    places[i] = BoardToChildSpace(
        *this, *board,
        {RoundEven(cells[i]->GetAnchorLeft()) + rect.left, RoundEven(cells[i]->GetAnchorTop()) + rect.top});
  }
  swinging_ = true;
  ++swings_;
  PlaySound("sound_hint_swap", false, 0, 0);
  const TPoint middle{(places[0].x + places[1].x) / 2, (places[0].y + places[1].y) / 2};
  for (int i = 0; i < 2; ++i) {
    const TPoint out = TurnAbout(places[i], middle, kHintSwingAngle);
    const TPoint legs[2][2] = {{places[i], out}, {out, places[i]}};
    for (int leg = 0; leg < 2; ++leg) {
      const Ref<TParamCollection> params =
          MakeScenarioParams({{"startposx", std::to_string(legs[leg][0].x)},
                              {"startposy", std::to_string(legs[leg][0].y)},
                              {"endposx", std::to_string(legs[leg][1].x)},
                              {"endposy", std::to_string(legs[leg][1].y)},
                              {"centerx", std::to_string(middle.x)},
                              {"centery", std::to_string(middle.y)},
                              {"lifetime", std::to_string(kHintSwingTime)},
                              {"currenttime", std::to_string(-leg * kHintSwingTime)}});
      const Ref<IWidget> copy = CreateWidget(kSwingFactory, params.get());
      if (!copy) continue;
      copy->SetObjectProperty("surface", flowers[i]->GetImage());
      InsertWidget(copy);
      copies_.push_back(copy);
    }
  }
  // Without copies (no factory, reported) the flowers stay where they are.
  if (!copies_.empty()) ShowFlowers(false);
}

void TScenarioHintLink::EndSwing() {
  swinging_ = false;
  for (const Ref<IWidget>& copy : copies_) copy->SetDead(true);
  copies_.clear();
  ShowFlowers(true);
}

void TScenarioHintLink::ShowFlowers(bool visible) {
  flowersHidden_ = !visible;
  TGameBoardControl* board = Board();
  if (!board) return;
  for (const TCellPos& pos : GetCells())
    if (TCellWidget* cell = board->CellWidget(pos)) cell->ShowFlower(visible);
}

}  // namespace qv
