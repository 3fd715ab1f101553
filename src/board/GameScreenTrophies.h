// The trophy room ("GS_Trophies", shown with "PlayMode" and, after a level
// that won one, "artifact"): the slots "artifact1" .. "artifact14" show
// the artifacts the player owns in the mode (in "classic" and "relax" every
// number up to the profile's mode + "artifact", in the duel each
// "duel_computerartifact" + number that is "yes"). A newly won artifact is
// made from the factory "Artifact" and flown to its slot by the mascot:
//
//   1. "quib_new_artifact_up" runs for its "animationtime";
//   2. "sound_artifact_fly2"; "quib_new_artifact_down" runs while the
//      artifact moves in a straight line to its slot, 3.5 ms a pixel,
//      trailed by the particle system "stsystem";
//   3. "sound_artifact"; the artifact lands (its slot shows it) and its
//      description opens, for kTrophyLandingTime;
//   4. "quib_new_artifact_down" is hidden and the flying artifact goes.
//
// A click on a slot shows its description (the child of
// "ArtifactDescription" named like the slot); "button_ok" hides it and
// "button_close" closes the room. Without parameters it closes on its
// first frame.
#pragma once

#include <string>

#include "screens/GameScreen.h"

namespace qv {

inline constexpr int kTrophyCount = 14;
inline constexpr int kTrophyLandingTime = 500;
inline constexpr double kTrophyMsPerPixel = 3.5;

class IParamCollection;

// Whether the profile's values give the player artifact n in the mode.
bool OwnsArtifact(const IParamCollection& profile, const std::string& mode, int n);

class TZintaraTrophiesGameScreen : public TGameScreen {
public:
  enum EPhase : int { kNone = 0, kLift = 1, kFlight = 2, kLanding = 3 };

  void BeforeShow(IParamCollection* params) override;
  void Update(int dt) override;
  bool MouseEvent(unsigned message, TPoint point, unsigned flags) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

  // Whether the player owns artifact n in the room's mode.
  bool Owns(int n) const;
  // Shows the description of artifact n; none for a number without one.
  void ShowDescription(int n);
  int GetPhase() const { return phase_; }
  int GetPhaseTime() const { return phaseTime_; }
  int GetNewArtifact() const { return newArtifact_; }
  IWidget* GetFlyingArtifact() const { return flying_.get(); }

protected:
  ~TZintaraTrophiesGameScreen() override = default;

private:
  void MarkOwned();
  void BeginPhase(int phase);
  void FlightFrame();
  void RemoveFlying();
  void ShowRunning(const std::string& name, bool visible, bool restart);

  std::string mode_;
  int newArtifact_ = 0;
  int flyingArtifact_ = 0;
  bool closeAtOnce_ = false;
  int phase_ = kNone;
  int phaseTime_ = 0;
  int clock_ = 0;
  Ref<IWidget> flying_;
  TPoint from_;
  TPoint to_;
};

}  // namespace qv
