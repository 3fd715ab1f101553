// A completed cell's colour flown to the player's display: a burst at the
// cell, the flight along a parabola (or a path function given as the child
// "function"), and the arrival's glow. The children it drives are the
// particle systems "explosion" and "stsystem", the pictures
// "fly_color_cell" and "color_cell", and the blinking "glow".
#pragma once

#include <cstdint>

#include "board/ZintaraScenario.h"
#include "functions/PathFunction.h"

namespace qv {

inline constexpr int kColourBurstTime = 800;

struct TFlightPoint {
  double x = 0.0;
  double y = 0.0;
};

// The parabola through the start, an apex A and the target: A.y = (300 -
// y0) div 30 + 110; A.x = round((x0 - x2) / 10) + 90 when the flight goes
// down (y0 < y2), else round((x0 - x2) / 15) + 95. The flight lasts
// 2 * round(|start - A| + |A - target|) + 600 ms; x moves evenly in time
// and y is the parabola's at that x.
struct TColourFlight {
  TFlightPoint start;
  TFlightPoint apex;
  TFlightPoint target;
  int duration = 0;
  // The point at `t` ms (clamped to the flight). When two of the three
  // points share an x there is no such parabola: y then moves evenly too.
  TFlightPoint At(int t) const;
};
TColourFlight PlanColourFlight(int x0, int y0, int x2, int y2);

// The burst's emission count at `t` ms: 100 until half time, then falling
// to 0 at its end: 100 - (max(t / 800, 0.5) - 0.5)^2 * 400.
int BurstEmission(int t);

class TScenarioFlyColorCell : public TZintaraScenario {
public:
  // "x0", "y0" (start, default 200, 200), "x2", "y2" (target, default
  // 100, 100), "Cellcolor" and "color_start" (for the children's data).
  QV_PROPERTY_TABLE(TScenarioFlyColorCell)

  // The group's load, then the optional path function "function".
  void LoadFromStorage(const StorageRef& storage) override;

  const TColourFlight& Flight() const { return flight_; }
  int FlightTime() const { return flightTime_; }
  IPathFunction* Path() const { return path_.get(); }

protected:
  ~TScenarioFlyColorCell() override = default;

  // 1 the burst, 2 the flight, 3 the arrival.
  int StageCount() const override { return 3; }
  void BeginStage(int stage) override;
  void StageFrame(int stage, int dt) override;
  bool StageReady(int stage) const override;

private:
  int StageTime() const { return GetCurrentTime() - stageStart_; }
  void BeginBurst();
  void BeginFlight();
  void FlightFrame(int t);
  void BeginArrival();
  TFlightPoint PositionAt(int t);
  // The starter (the scenario that lists this one) lets it go.
  void LeaveStarter();
  Ref<IWidget> Child(const char* name);

  int x0_ = 200;
  int y0_ = 200;
  int x2_ = 100;
  int y2_ = 100;
  int cellColour_ = 0;
  uint32_t colourStart_ = 0;
  Ref<IPathFunction> path_;
  TColourFlight flight_;
  int flightTime_ = 0;
  int arrivalTime_ = 0;
  int stageStart_ = 0;
  TPoint flyBase_;
};

}  // namespace qv
