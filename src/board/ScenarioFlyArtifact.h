// A collected artifact flown from its cell ("x1", "y1") to the trophy
// display ("x2", "y2") along a curve that rises above both ends; at its end
// it takes itself out of the board's running scenarios, which the level
// end waits for.
#pragma once

#include <string>

#include "board/ScenarioFlyColorCell.h"
#include "board/ZintaraScenario.h"

namespace qv {

inline constexpr int kArtifactFlightTime = 1500;
// How far the curve's control point lies above the higher end.
inline constexpr int kArtifactFlightRise = 150;

// The quadratic curve from `from` to `to` whose control point is midway
// across and kArtifactFlightRise above the higher end, at `f` (0..1).
TFlightPoint ArtifactFlightAt(TFlightPoint from, TFlightPoint to, double f);

// The ";"-joined list without the entries equal (in any case) to `name`,
// each kept entry after a ";".
std::string WithoutScenarioName(const std::string& list, const std::string& name);

class TScenarioFlyArtifact : public TZintaraScenario {
public:
  // "x1", "y1" (start, default 0, 0), "x2", "y2" (target, default 560,
  // 40), "artifact" (its number), "show_trothies_room" ("yes"/"no").
  QV_PROPERTY_TABLE(TScenarioFlyArtifact)

  IWidget* Picture() const { return picture_.get(); }
  bool ShowsTrophyRoom() const { return showTrophies_; }

protected:
  ~TScenarioFlyArtifact() override = default;

  void BeginStage(int stage) override;
  void StageFrame(int stage, int dt) override;
  bool StageReady(int stage) const override;
  void Finished() override;

private:
  int x1_ = 0;
  int y1_ = 0;
  int x2_ = 560;
  int y2_ = 40;
  int artifact_ = 0;
  bool showTrophies_ = false;
  Ref<IWidget> picture_;
};

}  // namespace qv
