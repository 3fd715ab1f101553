// The automatic hint: after "startdelaytime" the two flowers of the pair
// ("RefCells") swing towards each other and back, turning about the pair's
// middle as the swap turns them, with "sound_hint_swap", again after every
// "cycledelaytime", for as long as the player's "ShowHints" option is not
// "no". It runs until it is killed, and puts the flowers back then.
#pragma once

#include "board/ScenarioFlyColorCell.h"
#include "board/ZintaraScenario.h"

namespace qv {

// One swing: out for kHintSwingTime, back for as long.
inline constexpr int kHintSwingTime = 300;
// How far each flower turns about the pair's middle (degrees).
inline constexpr double kHintSwingAngle = 45.0;

// When the swings of a hint begin: the first after the start delay, then
// one swing (2 * kHintSwingTime) and one cycle delay apart.
int HintSwingStart(int index, int startDelay, int cycleDelay);

// The offset of a flower drawn at `cell` at `t` ms into a swing about
// `middle`: turned (clockwise on screen) up to kHintSwingAngle at half
// time and back to none at its end.
TFlightPoint HintSwingOffset(TFlightPoint cell, TFlightPoint middle, int t);

class TScenarioHintLink : public TZintaraScenario {
public:
  // "startdelaytime" (default 1000), "cycledelaytime" (default 500).
  QV_PROPERTY_TABLE(TScenarioHintLink)

  // The flowers put back, then the group's detach.
  void Detach() override;

  int Swings() const { return swings_; }
  bool Swinging() const { return swinging_; }

protected:
  ~TScenarioHintLink() override = default;

  void StageFrame(int stage, int dt) override;
  // Never: the hint lives until the level manager kills it.
  bool StageReady(int stage) const override {
    (void)stage;
    return false;
  }

private:
  // The pair's cells on the board; false (reported once) without them.
  bool HasPair();
  void Place(int t);
  void EndSwing();

  int startDelay_ = 1000;
  int cycleDelay_ = 500;
  int nextSwing_ = -1;
  int swingStart_ = 0;
  int swings_ = 0;
  bool swinging_ = false;
  bool reported_ = false;
};

}  // namespace qv
