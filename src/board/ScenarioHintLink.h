// The automatic hint: after "startdelaytime" the two flowers of the pair
// ("RefCells") swing towards each other and back along circular paths
// ("move_Flower_circle" copies of their pictures) with "sound_hint_swap",
// again after every "cycledelaytime", for as long as the player's
// "ShowHints" option is not "no". It runs until it is killed.
#pragma once

#include <vector>

#include "board/ZintaraScenario.h"

namespace qv {

// One swing: out for kHintSwingTime, back for as long.
inline constexpr int kHintSwingTime = 300;
// How far each flower turns about the pair's middle (degrees).
inline constexpr double kHintSwingAngle = 45.0;

// The point `p` turned by `degrees` about `centre` (clockwise on screen),
// rounded.
TPoint TurnAbout(TPoint p, TPoint centre, double degrees);

// When the swings of a hint begin: the first after the start delay, then
// one swing (2 * kHintSwingTime) and one cycle delay apart.
int HintSwingStart(int index, int startDelay, int cycleDelay);

class TScenarioHintLink : public TZintaraScenario {
public:
  // "startdelaytime" (default 1000), "cycledelaytime" (default 500).
  QV_PROPERTY_TABLE(TScenarioHintLink)

  // The flowers shown again, then the group's detach.
  void Detach() override;

  int Swings() const { return swings_; }
  // 0 between swings, 1 out, 2 back.
  int Leg() const { return leg_; }

protected:
  ~TScenarioHintLink() override = default;

  void StageFrame(int stage, int dt) override;
  // Never: the hint lives until the level manager kills it.
  bool StageReady(int stage) const override {
    (void)stage;
    return false;
  }

private:
  // The two flowers and where they are drawn; false without them.
  bool FindPlaces();
  void StartLeg(int leg);
  void DropCopies();
  void EndSwing();
  void ShowFlowers(bool visible);

  int startDelay_ = 1000;
  int cycleDelay_ = 500;
  int nextSwing_ = -1;
  int swingStart_ = 0;
  int swings_ = 0;
  int leg_ = 0;
  Ref<IWidget> flowers_[2];
  TPoint places_[2];
  bool flowersHidden_ = false;
  bool reported_ = false;
  std::vector<Ref<IWidget>> copies_;
};

}  // namespace qv
