// The records of one finished level ("GS_LevelRecords", shown by the map
// with "Level" and "PlayMode"): the level's number and name in
// "level_info", and of the groups "relax", "classic" and "duel_computer"
// only the mode's, filled from the level record of that mode:
//
//   - "relax" and "classic": "best_score_level" and
//     "best_score_level_name" when a score is stored; "classic" also
//     "best_time_level" and "best_time_level_name" (empty without a time);
//   - "duel_computer": "Level_player_wins" as "3/5", the player's wins of
//     all the duels played on the level.
//
// A level without a record fills nothing. A button pressed on the screen
// closes it and hands its name back as "Button"; parameters that cannot
// be read close the screen on its first frame.
#pragma once

#include <string>

#include "screens/GameScreen.h"

namespace qv {

class TLevelRecord;

class TZintaraGameScreenLevelRecords : public TGameScreen {
public:
  void BeforeShow(IParamCollection* params) override;
  void Update(int dt) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

  int GetLevel() const { return level_; }
  const std::string& GetPlayMode() const { return mode_; }

protected:
  ~TZintaraGameScreenLevelRecords() override = default;

private:
  void Fill(TLevelRecord& record);
  void SetText(const std::string& widget, const std::string& text);
  void Close(const std::string& button);

  int level_ = 0;
  std::string mode_;
  bool invalid_ = false;
};

}  // namespace qv
