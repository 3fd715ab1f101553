// The map ("GS_Map"): two pages ("map1", "map2", map controls) on which
// the mascot stands on the mode's current level, or walks to it after a
// won level that was not a replay. From here the player starts the
// current level ("button_start" or a click on the mascot "quib"), looks at
// a finished level's records ("maplevel" followed by its number opens
// "GS_LevelRecords", whose "button_replay" replays it and
// "button_duel2players" plays it as a duel of two players), turns the
// page ("button_stage1", "button_stage2") and visits the trophy room
// ("button_trophies"; after a level that won an artifact it opens by
// itself and presents the artifact). The story of a level ("GS_History") is offered
// when the mascot arrives past it; after the last level "GS_NewDifficulty"
// opens and closing it starts the next round, one difficulty up.
//
// The progress lives in the current profile: the mode followed by
// "Level" and "Difficulty", the mode from "current_play_mode" or the
// parameter "PlayMode".
#pragma once

#include <string>

#include "screens/GameScreen.h"

namespace qv {

class IUserProfile;

class TZintaraGameScreenMap : public TGameScreen {
public:
  // Levels up to kMapPageLevels are on the first page.
  static constexpr int kMapPageLevels = 36;
  // Past this level the round is over.
  static constexpr int kMapLastLevel = 71;
  static constexpr int kNewDifficultyDelay = 5000;

  void BeforeShow(IParamCollection* params) override;
  void Update(int dt) override;
  void ScreenClosed(const std::string& closedScreenName, IParamCollection* resultParams) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

  const std::string& GetPlayMode() const { return mode_; }
  int GetCurrentLevel() const { return level_; }
  int GetDifficulty() const { return difficulty_; }
  int GetSelectedLevel() const { return selected_; }
  int GetPage() const { return page_; }
  bool IsNewDifficultyPending() const { return newDifficulty_; }
  // The page a level is shown on.
  static int PageOf(int level) { return level > kMapPageLevels ? 2 : 1; }
  // Shows page 1 or 2 (others are ignored).
  void ShowPage(int page);

protected:
  ~TZintaraGameScreenMap() override = default;

private:
  // Reads the progress and tells both pages: a walk to the current level,
  // or the mascot standing on it.
  void Refresh(bool walk);
  void StartLevel(int level, const std::string& mode, bool replay);
  // The story of a level, when it has one.
  void OfferStory(int level);
  void NewRound();
  void TellMaps(const std::string& property, long long value);
  void Trace(int walkFrom, int walkTo);
  IUserProfile* Profile() const;
  int ArtifactOf(int level) const;
  bool Owns(const std::string& mode, int artifact) const;

  std::string mode_;
  int level_ = 1;
  int difficulty_ = 1;
  int selected_ = 0;
  int page_ = 1;
  bool newDifficulty_ = false;
  int delay_ = 0;
  // A level whose story waits for the first frame (the screen is still
  // being shown when it finds one).
  int story_ = 0;
  // The artifact of the level being played and whether it was owned when
  // the level started.
  std::string playedMode_;
  int playedArtifact_ = 0;
  bool ownedBefore_ = false;
};

}  // namespace qv
