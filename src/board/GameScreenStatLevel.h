// The statistics screen of a finished level, one per mode
// ("GS_StatLevelrelax", "GS_StatLevelclassic", "GS_StatLevelduel_computer").
// It is shown with the board's level-end statistics ("PlayMode", "Replay",
// "level", "complete", "score_level", "time_level", "color_cells" as
// "12/30", ...), stores the results at once and then reveals them:
//
//   - the title "lable_title_level_complete" or "lable_title_level_failed",
//     the level's number and name from the level list in "label_level",
//     and "label_artifact" in place of "lable_color_cells" on a level whose
//     list entry has an artifact;
//   - the value lines (text widgets named like the statistics, the second
//     player's with "_comp") count up one after the other, each with
//     "sound_score_line"; then "total_score" counts up to the mode's new
//     total;
//   - the records change last, each with its sound: a better score
//     ("best_score_level", "best_score_level_name", "sound_best_score"), a
//     better time in the timed mode ("best_time_level",
//     "best_time_level_name", "sound_best_time"), the duel's wins
//     ("Level_player_wins", "Level_computer_wins", "total_player_wins",
//     "total_computer_wins", "sound_level_win" or "sound_level_loose").
//
// A mouse press or a key skips the counting to its end. A click on a
// button closes the screen and hands back the parameters it was shown with
// and "Button" (the game screen passes them on to the screen below).
#pragma once

#include <string>
#include <vector>

#include "screens/GameScreen.h"
#include "storage/ParamCollection.h"

namespace qv {

class IUserProfile;
class TZinLevelCollection;

class TZintaraGameScreenStatLevel : public TGameScreen {
public:
  // One value line: counting takes kLineTime, the next line follows after
  // kLineGap; a record's change shows for kAwardTime before the next one.
  static constexpr int kLineTime = 400;
  static constexpr int kLineGap = 150;
  static constexpr int kAwardTime = 700;

  // Stores the level record and the profile's totals (saving both) and
  // prepares the lines; the value widgets are empty until counted.
  void BeforeShow(IParamCollection* params) override;
  // The counting starts once the screen has appeared.
  void AfterAppear() override;
  void Update(int dt) override;
  bool MouseEvent(unsigned message, TPoint point, unsigned flags) override;
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

  // Every line counted and every record shown, without their sounds.
  void SkipToEnd();
  bool IsCounting() const { return step_ < steps_.size(); }
  const std::string& GetPlayMode() const { return mode_; }

protected:
  ~TZintaraGameScreenStatLevel() override = default;

private:
  // One cell of a line: the widget, the value it counts to (from `from`),
  // and how it is written.
  struct TCount {
    std::string widget;
    long long from = 0;
    long long to = 0;
    std::string suffix;  // "/30" of "12/30"
    bool time = false;   // seconds shown as minutes and seconds
  };
  // A line counted up, or a record's change (texts set at once).
  struct TStep {
    std::vector<TCount> counts;
    std::vector<std::pair<std::string, std::string>> texts;
    std::string sound;
    int duration = 0;
  };

  void StoreResults(IParamCollection* params);
  void AddLines(IParamCollection* params);
  void StartStep();
  void ShowCounts(const TStep& step, int elapsed);
  void SetText(const std::string& widget, const std::string& text);
  void ShowWidget(const std::string& widget, bool visible);
  IUserProfile* Profile() const;
  Ref<TZinLevelCollection> Levels() const;

  std::string mode_;
  int level_ = 0;
  bool complete_ = false;
  bool replay_ = false;
  Ref<TParamCollection> result_;
  std::vector<TStep> steps_;
  size_t step_ = 0;
  int clock_ = 0;
  bool started_ = false;
};

}  // namespace qv
