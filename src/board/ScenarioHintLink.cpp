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
  if (leg_ == 1 && t >= swingStart_ + kHintSwingTime) StartLeg(2);
  if (leg_ == 2 && t >= swingStart_ + 2 * kHintSwingTime) EndSwing();
  if (leg_ != 0 || t < nextSwing_) return;
  // A swing that the option skips keeps the rhythm of the cycle.
  swingStart_ = nextSwing_;
  nextSwing_ = swingStart_ + 2 * kHintSwingTime + cycleDelay_;
  if (!HintsEnabled(*this)) return;
  if (!FindPlaces()) return;
  ++swings_;
  PlaySound("sound_hint_swap", false, 0, 0);
  StartLeg(1);
}

bool TScenarioHintLink::FindPlaces() {
  TGameBoardControl* board = Board();
  if (!board || GetCells().size() < 2) {
    if (!reported_)
      ReportDataError("scenario " + GetName(), "a hint needs two cells, not \"" + GetRefCells() + "\"");
    reported_ = true;
    return false;
  }
  for (int i = 0; i < 2; ++i) {
    TCellWidget* cell = board->CellWidget(GetCells()[static_cast<size_t>(i)]);
    flowers_[i] = cell ? cell->GetFlowerWidget() : nullptr;
    if (!flowers_[i]) return false;
    const TRect rect = flowers_[i]->GetRect();
    places_[i] = BoardToChildSpace(
        *this, *board,
        {RoundEven(cell->GetAnchorLeft()) + rect.left, RoundEven(cell->GetAnchorTop()) + rect.top});
  }
  return true;
}

void TScenarioHintLink::StartLeg(int leg) {
  leg_ = leg;
  DropCopies();
  const TPoint middle{(places_[0].x + places_[1].x) / 2, (places_[0].y + places_[1].y) / 2};
  for (int i = 0; i < 2; ++i) {
    const TPoint out = TurnAbout(places_[i], middle, kHintSwingAngle);
    const TPoint from = leg == 1 ? places_[i] : out;
    const TPoint to = leg == 1 ? out : places_[i];
    const Ref<TParamCollection> params = MakeScenarioParams({{"startposx", std::to_string(from.x)},
                                                             {"startposy", std::to_string(from.y)},
                                                             {"endposx", std::to_string(to.x)},
                                                             {"endposy", std::to_string(to.y)},
                                                             {"centerx", std::to_string(middle.x)},
                                                             {"centery", std::to_string(middle.y)},
                                                             {"lifetime", std::to_string(kHintSwingTime)}});
    const Ref<IWidget> copy = CreateWidget(kSwingFactory, params.get());
    if (!copy) continue;
    if (flowers_[i]) copy->SetObjectProperty("surface", flowers_[i]->GetImage());
    InsertWidget(copy);
    copies_.push_back(copy);
  }
  // Without copies (no factory, reported) the flowers stay where they are.
  ShowFlowers(copies_.empty());
}

void TScenarioHintLink::DropCopies() {
  for (const Ref<IWidget>& copy : copies_) copy->SetDead(true);
  copies_.clear();
}

void TScenarioHintLink::EndSwing() {
  leg_ = 0;
  DropCopies();
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
