// The map's mascot: a button that stands on a map level or walks from one
// to the next. Its poses are children with agreed names: "quib_stay" while
// it stands, and while it walks "quib1" (down and to the left), "quib2"
// (down and to the right), "quib3" (up and to the left) and "quib4" (up
// and to the right); the pose shown runs, the others are hidden and
// paused. It is drawn kQuibLift pixels above the point it stands on.
//
// Commands: kQuibStand places it on ("x1", "y1"); kQuibWalk places it
// there and walks to ("x2", "y2") in "time" milliseconds, or along its
// path function (an optional "function" child, given the two points as
// its named values "x1", "y1", "x2", "y2") in the path's step count of
// milliseconds. On arrival it stands and tells the screen
// kQuibArrivedEvent.
#pragma once

#include <string>

#include "controls/ButtonControl.h"
#include "functions/PathFunction.h"

namespace qv {

inline constexpr int kQuibStand = 0;
inline constexpr int kQuibWalk = 1;
inline constexpr int kQuibArrivedEvent = 32784;
// How far above its point the mascot is drawn, and how long a walk takes
// per pixel of straight distance.
inline constexpr int kQuibLift = 35;
inline constexpr int kQuibMsPerPixel = 30;

// The walking pose for a walk from (x1, y1) to (x2, y2) (y grows
// downwards).
std::string QuibWalkPose(int x1, int y1, int x2, int y2);
// The time of a straight walk: the distance times kQuibMsPerPixel, rounded.
int QuibWalkTime(int x1, int y1, int x2, int y2);

class TQuibControl : public TButtonControl {
public:
  enum EState : int { kStanding = 0, kWalking = 1 };

  // "x1", "y1", "x2", "y2", "time" and "state" (property only).
  QV_PROPERTY_TABLE(TQuibControl)

  // The button, then the "function" child into the path function.
  void LoadFromStorage(const StorageRef& storage) override;
  void AdvanceTime(int dt) override;
  void ExecuteCommand(int code, IParamCollection* params) override;
  void Detach() override;

  // Stores the state, restarts the clock and shows the pose.
  void SetState(int state);
  int GetState() const { return state_; }
  int GetWalkTime() const { return time_; }
  // The pose the state and the direction of the walk ask for.
  std::string Pose() const;
  IPathFunction* GetPath() const { return path_.get(); }

protected:
  ~TQuibControl() override = default;

private:
  void PlaceAt(int x, int y);

  int x1_ = 0;
  int y1_ = 0;
  int x2_ = 0;
  int y2_ = 0;
  int time_ = 0;
  int state_ = kStanding;
  Ref<IPathFunction> path_;
};

}  // namespace qv
