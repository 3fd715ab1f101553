#include "board/ScenarioFlyColorCell.h"

#include <algorithm>
#include <cmath>

#include "board/GameBoardControl.h"
#include "board/ScenarioHelpers.h"
#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "particles/ParticleSystem.h"
#include "storage/ClassRegistry.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

namespace {

// The last part of the flight fades the picture and thins the trail.
constexpr int kFlightFadeTime = 500;

// Moves a particle system's emission point; the flight's systems are
// checked once, when the burst begins.
void EmitAt(IWidget* widget, TPoint at) {
  if (auto* system = dynamic_cast<TParticleSystem*>(widget)) system->SetEmission(at.x, at.y);
}

void SetEmissionCount(IWidget* widget, int count) {
  if (widget) widget->SetPropertyValue("emission_count", TVariant(static_cast<long long>(count)));
}

double Distance(TFlightPoint a, TFlightPoint b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

}  // namespace

TColourFlight PlanColourFlight(int x0, int y0, int x2, int y2) {
  TColourFlight flight;
  flight.start = {static_cast<double>(x0), static_cast<double>(y0)};
  flight.target = {static_cast<double>(x2), static_cast<double>(y2)};
  const int ay = (300 - y0) / 30 + 110;
  const int ax = y0 < y2 ? RoundEven((x0 - x2) / 10.0) + 90 : RoundEven((x0 - x2) / 15.0) + 95;
  flight.apex = {static_cast<double>(ax), static_cast<double>(ay)};
  flight.duration =
      2 * RoundEven(Distance(flight.start, flight.apex) + Distance(flight.apex, flight.target)) + 600;
  return flight;
}

TFlightPoint TColourFlight::At(int t) const {
  const double f = duration > 0 ? std::clamp(static_cast<double>(t) / duration, 0.0, 1.0) : 1.0;
  const double x = start.x + (target.x - start.x) * f;
  const double x0 = start.x, x1 = apex.x, x2 = target.x;
  if (x0 == x1 || x1 == x2 || x0 == x2) return {x, start.y + (target.y - start.y) * f};
  // Lagrange's form of the quadratic through the three points.
  const double y = start.y * (x - x1) * (x - x2) / ((x0 - x1) * (x0 - x2)) +
                   apex.y * (x - x0) * (x - x2) / ((x1 - x0) * (x1 - x2)) +
                   target.y * (x - x0) * (x - x1) / ((x2 - x0) * (x2 - x1));
  return {x, y};
}

int BurstEmission(int t) {
  const double over = std::max(static_cast<double>(t) / kColourBurstTime, 0.5) - 0.5;
  return std::max(0, static_cast<int>(100 - over * over * 400));
}

const TPropertyTable<TScenarioFlyColorCell>& TScenarioFlyColorCell::Properties() {
  using W = TScenarioFlyColorCell;
  static const TPropertyTable<W> table = TPropertyTable<W>(TZintaraScenario::Properties())
                                             .Int("x0", &W::x0_, 200)
                                             .Int("y0", &W::y0_, 200)
                                             .Int("x2", &W::x2_, 100)
                                             .Int("y2", &W::y2_, 100)
                                             .Int("Cellcolor", &W::cellColour_, 0)
                                             .Colour("color_start", &W::colourStart_, 0);
  return table;
}

void TScenarioFlyColorCell::LoadFromStorage(const StorageRef& storage) {
  TZintaraScenario::LoadFromStorage(storage);
  if (!storage) return;
  const StorageRef node = storage->GetChild("function", 0);
  if (!node) return;
  const Ref<TAbstractObject> object = CreateFromNode(node);
  path_ = Query<IPathFunction>(object);
  if (object && !path_) ReportDataError("scenario " + GetName(), "its \"function\" is not a path function");
}

Ref<IWidget> TScenarioFlyColorCell::Child(const char* name) {
  return RequiredChild(*this, name, "scenario " + GetName());
}

void TScenarioFlyColorCell::BeginStage(int stage) {
  if (stage == 1) BeginBurst();
  if (stage == 2) BeginFlight();
  if (stage == 3) BeginArrival();
}

void TScenarioFlyColorCell::StageFrame(int stage, int dt) {
  (void)dt;
  const int t = StageTime();
  if (stage == 1) {
    if (Ref<IWidget> fly = GetChild("fly_color_cell")) fly->SetTransparentLevel(t * 256 / kColourBurstTime);
    SetEmissionCount(GetChild("explosion").get(), BurstEmission(t));
  } else if (stage == 2) {
    FlightFrame(t);
  }
}

bool TScenarioFlyColorCell::StageReady(int stage) const {
  if (stage == 1) return StageTime() >= kColourBurstTime;
  if (stage == 2) return StageTime() >= flightTime_;
  return StageTime() >= arrivalTime_;
}

void TScenarioFlyColorCell::BeginBurst() {
  stageStart_ = 0;
  TGameBoardControl* board = Board();
  const TPoint start = board ? BoardToChildSpace(*this, *board, {x0_, y0_}) : TPoint{x0_, y0_};
  for (const char* name : {"explosion", "stsystem"}) {
    const Ref<IWidget> system = Child(name);
    if (system && !dynamic_cast<TParticleSystem*>(system.get()))
      ReportDataError("scenario " + GetName(), std::string("\"") + name + "\" is not a particle system");
  }
  if (Ref<IWidget> burst = GetChild("explosion")) {
    ShowRunning(burst.get(), true);
    EmitAt(burst.get(), {start.x - 5, start.y - 5});
  }
  // The pictures' own anchors are their offsets from the cell.
  if (Ref<IWidget> fly = Child("fly_color_cell"))
    flyBase_ = {RoundEven(fly->GetAnchorLeft()), RoundEven(fly->GetAnchorTop())};
  for (const char* name : {"fly_color_cell", "color_cell"})
    if (Ref<IWidget> picture = Child(name)) {
      picture->SetAnchorLeft(picture->GetAnchorLeft() + start.x);
      picture->SetAnchorTop(picture->GetAnchorTop() + start.y);
    }
  if (Ref<IWidget> trail = GetChild("stsystem")) {
    ShowRunning(trail.get(), false);
    EmitAt(trail.get(), start);
  }
}

void TScenarioFlyColorCell::BeginFlight() {
  stageStart_ = kColourBurstTime;
  flight_ = PlanColourFlight(x0_, y0_, x2_, y2_);
  flightTime_ = flight_.duration;
  if (path_) {
    path_->Bind(this);
    const std::pair<const char*, int> values[] = {{"x1", x0_}, {"y1", y0_}, {"x2", x2_}, {"y2", y2_}};
    for (const auto& [name, value] : values)
      if (float* cell = path_->GetParamSpace().FindCell(name)) *cell = static_cast<float>(value);
    path_->Prepare();
  }
  SetEmissionCount(GetChild("explosion").get(), 0);
  PlayScenarioSound(*this, Board(), "sound_cell_fly");
  if (Ref<IWidget> colour = GetChild("color_cell")) {
    colour->SetVisible(false);
    colour->SetDead(true);
  }
  if (Ref<IWidget> fly = GetChild("fly_color_cell")) fly->SetTransparentLevel(255);
  ShowRunning(GetChild("stsystem").get(), true);
}

TFlightPoint TScenarioFlyColorCell::PositionAt(int t) {
  if (!path_) return flight_.At(t);
  const int steps = path_->GetStepCount();
  const double f = flightTime_ > 0 ? std::clamp(static_cast<double>(t) / flightTime_, 0.0, 1.0) : 1.0;
  path_->SetStep(static_cast<float>(f * steps));
  return {path_->GetX(), path_->GetY()};
}

void TScenarioFlyColorCell::FlightFrame(int t) {
  const TFlightPoint p = PositionAt(t);
  TGameBoardControl* board = Board();
  const TPoint at = board ? BoardToChildSpace(*this, *board, {RoundEven(p.x), RoundEven(p.y)})
                          : TPoint{RoundEven(p.x), RoundEven(p.y)};
  const int left = flightTime_ - t;
  if (Ref<IWidget> trail = GetChild("stsystem")) {
    EmitAt(trail.get(), at);
    if (left < kFlightFadeTime) SetEmissionCount(trail.get(), std::max(0, left));
  }
  if (Ref<IWidget> fly = GetChild("fly_color_cell")) {
    fly->SetAnchorLeft(flyBase_.x + at.x);
    fly->SetAnchorTop(flyBase_.y + at.y);
    if (left < kFlightFadeTime) fly->SetTransparentLevel(std::max(0, left) * 255 / kFlightFadeTime);
  }
}

void TScenarioFlyColorCell::BeginArrival() {
  stageStart_ = kColourBurstTime + flightTime_;
  LeaveStarter();
  SetEmissionCount(GetChild("stsystem").get(), 0);
  PlayScenarioSound(*this, Board(), "sound_cell");
  if (Ref<IWidget> fly = GetChild("fly_color_cell")) {
    fly->SetVisible(false);
    fly->SetDead(true);
  }
  arrivalTime_ = 0;
  if (Ref<IWidget> glow = GetChild("glow")) {
    ShowRunning(glow.get(), true);
    glow->Restart();
    arrivalTime_ = static_cast<int>(VarToInt(glow->GetPropertyValue("firstperiod"), 0) +
                                    VarToInt(glow->GetPropertyValue("secondperiod"), 0));
  }
}

void TScenarioFlyColorCell::LeaveStarter() {
  TGameBoardControl* board = Board();
  IWidget* group = board ? board->ScenariesGroup() : nullptr;
  IWidgetCollection* scenarios = group ? group->GetChildren() : nullptr;
  if (!scenarios) return;
  for (int i = 0; i < scenarios->GetCount(); ++i) {
    auto* starter = dynamic_cast<TZintaraScenario*>(scenarios->GetWidget(i).get());
    if (!starter || starter == this) continue;
    for (const std::string& child : starter->ChildScenarios())
      if (SameText(child, GetName())) {
        starter->RemoveChildScenario(GetName());
        break;
      }
  }
}

}  // namespace qv
