// A location of the map: a group of levels from "start_level" (exclusive)
// to "end_level", drawn with agreed child pictures: "location_animation"
// (running once the location is done), "location_complete",
// "location_lock" (while the player is inside it) and "clouds". The map
// control tells it the difficulty and the current level ("Difficulty",
// "level") and asks for the unlock animation of a level ("animate_level"):
// the screen's particle system "ps_location" then sparkles over one of the
// pictures, and when that is over the screen hears
// kLocationAnimatedEvent with "level".
#pragma once

#include <string>

#include "widgets/VisualGroupWidget.h"

namespace qv {

inline constexpr int kLocationAnimatedEvent = 32783;
// How long each highlight of the unlock animation lasts.
inline constexpr int kLocationDoneHighlight = 2000;
inline constexpr int kLocationPictureHighlight = 1000;
// The clouds' fade between two levels.
inline constexpr int kLocationCloudsFade = 1000;

// The clouds' transparency level over a location of levels
// start+1 .. end when the player is at level x: 255 outside it, falling
// evenly from 255 towards 0 inside it, 0 at the end.
int LocationCloudCover(int x, int start, int end);
// The particles over a highlighted picture of that size.
int LocationSparkCount(int width, int height);

class TZintaraLocationWidget : public TVisualGroupWidget {
public:
  enum EPhase : int { kIdle = 0, kFadingClouds = 1, kHighlighting = 2 };

  // "start_level" (default 0), "end_level" (default start_level + 5; a
  // value not above start_level is replaced by that), "Difficulty";
  // "level" and "animate_level" as properties.
  QV_PROPERTY_TABLE(TZintaraLocationWidget)

  void AdvanceTime(int dt) override;

  int GetStartLevel() const { return startLevel_; }
  void SetStartLevel(int value) { startLevel_ = value; }
  // The last level, corrected as above.
  int GetEndLevel() const;
  void SetEndLevel(int value) { endLevel_ = value; }
  int GetDifficulty() const { return difficulty_; }
  void SetDifficulty(int value) { difficulty_ = value; }
  int GetLevel() const { return level_; }
  // The pictures for level n without animation.
  void SetLevel(int n);
  // Starts the unlock animation of level n (nothing outside the location).
  void AnimateLevel(int n);
  int GetAnimatedLevel() const { return 0; }

  // Difficulty above 1, or the current level past the end.
  bool IsDone() const;
  int GetPhase() const { return phase_; }
  int GetPhaseTime() const { return phaseTime_; }
  // The picture being highlighted ("" when none).
  const std::string& GetHighlighted() const { return highlighted_; }
  // The clouds' fade as its own phase: from the cover of the level before
  // the current one to the current one's.
  void FadeClouds();

protected:
  ~TZintaraLocationWidget() override = default;

private:
  void Highlight(const std::string& picture, int time);
  void Finish();
  void ShowPart(const std::string& name, bool visible, bool running);
  Ref<IWidget> ScreenWidget(const std::string& name) const;

  int startLevel_ = 0;
  int endLevel_ = 0;
  int difficulty_ = 1;
  int level_ = 0;
  int phase_ = kIdle;
  int phaseTime_ = 0;
  int clock_ = 0;
  std::string highlighted_;
};

}  // namespace qv
