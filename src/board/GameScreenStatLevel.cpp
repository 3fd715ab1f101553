#include "board/GameScreenStatLevel.h"

#include "core/Messages.h"
#include "core/StringUtils.h"
#include "core/Trace.h"
#include "game/ZinLevelCollection.h"
#include "localisation/MultiLanguages.h"
#include "playerdata/LevelRecords.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"

namespace qv {

namespace {

constexpr char kScreenPrefix[] = "GS_StatLevel";
// The lines in the order they count; each also has a second player's
// column of the same name followed by "_comp" in the duels.
constexpr const char* kLines[] = {"score_level", "color_cells", "total_cells", "max_combo",
                                  "max_flowers", "gamemove",    "time_level"};
constexpr char kNoRecord[] = "%StatNoRecord%";

long long ParamInt(IParamCollection* params, const std::string& name, long long def) {
  std::string text;
  long long value = def;
  if (ParamText(params, name, text) && !TryParseInt(Trim(text), value)) value = def;
  return value;
}

bool ParamBool(IParamCollection* params, const std::string& name) {
  std::string text;
  if (!ParamText(params, name, text)) return false;
  return SameText(text, "yes") || SameText(text, "true") || text == "1";
}

long long ProfileInt(IUserProfile* profile, const std::string& name) {
  if (!profile) return 0;
  return VarToInt(profile->GetParams().GetParamValueDef(name, 0LL), 0);
}

void WriteProfile(IUserProfile& profile, const std::string& name, long long value) {
  const std::string text = std::to_string(value);
  profile.GetParams().SetParamValue(name, text);
  if (TTrace::On()) TTrace::Emit("profile", {{"name", TTrace::Text(name)}, {"value", TTrace::Text(text)}});
}

std::string Score(long long value) {
  return value < 0 ? std::string(kNoRecord) : FormatThousands(static_cast<int32_t>(value));
}

std::string Time(long long seconds) {
  return seconds < 0 ? std::string(kNoRecord) : FormatTime(static_cast<int32_t>(seconds));
}

}  // namespace

IUserProfile* TZintaraGameScreenStatLevel::Profile() const {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr;
  return profiles ? profiles->GetCurrentProfile().get() : nullptr;
}

Ref<TZinLevelCollection> TZintaraGameScreenStatLevel::Levels() const {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  return game ? Query<TZinLevelCollection>(game->GetContextObject("zinlevels")) : nullptr;
}

void TZintaraGameScreenStatLevel::SetText(const std::string& widget, const std::string& text) {
  SetWidgetProperty(*this, widget, "text", text);
}

void TZintaraGameScreenStatLevel::ShowWidget(const std::string& widget, bool visible) {
  if (const Ref<IWidget> found = FindWidget(widget)) found->Show(visible);
}

void TZintaraGameScreenStatLevel::BeforeShow(IParamCollection* params) {
  steps_.clear();
  step_ = 0;
  clock_ = 0;
  started_ = false;
  result_ = MakeParams({});
  for (int i = 0; params && i < params->GetParamCount(); ++i)
    if (const Ref<IParam> param = params->GetParamAt(i))
      result_->SetParamValue(param->GetName(), param->GetValue());
  // The screen's name tells its mode when the parameters do not.
  const std::string& name = GetName();
  mode_ = name.rfind(kScreenPrefix, 0) == 0 ? name.substr(sizeof(kScreenPrefix) - 1) : std::string();
  ParamText(params, "PlayMode", mode_);
  level_ = static_cast<int>(ParamInt(params, "level", 0));
  complete_ = ParamBool(params, "complete");
  replay_ = ParamBool(params, "Replay");

  ShowWidget("lable_title_level_complete", complete_);
  ShowWidget("lable_title_level_failed", !complete_);
  const Ref<TZinLevelCollection> levels = Levels();
  const bool artifact = levels && levels->GetArtifact(level_) > 0;
  const std::string levelName = levels ? levels->GetDisplayName(level_) : std::string();
  SetText("label_level", level_ <= 0 ? std::string()
                                     : "%StatLevel% " + std::to_string(level_) +
                                           (levelName.empty() ? "" : " - ") + MacroLiteral(levelName));
  ShowWidget("label_artifact", artifact);
  ShowWidget("lable_color_cells", !artifact);

  AddLines(params);
  StoreResults(params);
}

void TZintaraGameScreenStatLevel::AddLines(IParamCollection* params) {
  for (const char* line : kLines) {
    TStep step;
    for (const std::string& widget : {std::string(line), std::string(line) + "_comp"}) {
      std::string text;
      if (!FindWidget(widget)) continue;
      SetText(widget, "");
      if (!ParamText(params, widget, text)) continue;
      TCount count;
      count.widget = widget;
      count.time = widget == "time_level";
      // "12/30" counts its first number; the rest stays as it is.
      const size_t slash = text.find('/');
      if (slash != std::string::npos) count.suffix = text.substr(slash);
      if (!TryParseInt(Trim(text.substr(0, slash)), count.to)) count.to = 0;
      step.counts.push_back(count);
    }
    if (step.counts.empty()) continue;
    step.sound = "sound_score_line";
    step.duration = kLineTime + kLineGap;
    steps_.push_back(std::move(step));
  }
}

void TZintaraGameScreenStatLevel::StoreResults(IParamCollection* params) {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr;
  ILevelRecords* records = game ? game->GetLevelRecords() : nullptr;
  IUserProfile* profile = Profile();
  const Ref<TLevelRecordTable> table = records ? records->GetLevelTables().GetTable(mode_) : nullptr;
  const Ref<TLevelRecord> record = table ? table->GetRecord(level_) : nullptr;
  const bool known = profile && level_ > 0;  // a real level's result, for a player
  const std::string player = profile ? profile->GetName() : std::string();
  const long long score = ParamInt(params, "score_level", 0);
  const long long seconds = ParamInt(params, "time_level", 0);
  const Ref<TParamCollection> changes = MakeParams({});
  bool profileChanged = false;

  // The mode's total score: a replay adds nothing.
  const long long total = ProfileInt(profile, mode_ + "Score");
  const long long newTotal = total + (known && complete_ && !replay_ ? score : 0);
  SetText("total_score", FormatThousands(static_cast<int32_t>(total)));
  if (newTotal != total) {
    WriteProfile(*profile, mode_ + "Score", newTotal);
    profileChanged = true;
  }
  if (FindWidget("total_score") && newTotal != total) {
    TStep step;
    step.counts.push_back({"total_score", total, newTotal, "", false});
    step.sound = "sound_score_line";
    step.duration = kLineTime + kLineGap;
    steps_.push_back(std::move(step));
  }

  if (mode_ == "classic" || mode_ == "relax") {
    const long long best = record ? record->GetInt("score_level", -1) : -1;
    SetText("best_score_level", Score(best));
    SetText("best_score_level_name",
            record ? MacroLiteral(record->GetText("score_levelname", "")) : std::string());
    if (known && complete_ && score > best) {
      changes->SetParamValue("score_level", std::to_string(score));
      changes->SetParamValue("score_levelname", player);
      steps_.push_back({{},
                        {{"best_score_level", Score(score)}, {"best_score_level_name", MacroLiteral(player)}},
                        "sound_best_score",
                        kAwardTime});
    }
  }
  if (mode_ == "classic") {
    const long long best = record ? record->GetInt("time_level", -1) : -1;
    SetText("best_time_level", Time(best));
    SetText("best_time_level_name",
            record ? MacroLiteral(record->GetText("time_levelname", "")) : std::string());
    if (known && complete_ && (best < 0 || seconds < best)) {
      changes->SetParamValue("time_level", std::to_string(seconds));
      changes->SetParamValue("time_levelname", player);
      steps_.push_back({{},
                        {{"best_time_level", Time(seconds)}, {"best_time_level_name", MacroLiteral(player)}},
                        "sound_best_time",
                        kAwardTime});
    }
  }
  if (mode_ == "duel_computer") {
    long long wins[2] = {record ? record->GetInt("player_wins", 0) : 0,
                         record ? record->GetInt("computer_wins", 0) : 0};
    long long totals[2] = {ProfileInt(profile, "player_wins"), ProfileInt(profile, "computer_wins")};
    const char* levelWidgets[2] = {"Level_player_wins", "Level_computer_wins"};
    const char* totalWidgets[2] = {"total_player_wins", "total_computer_wins"};
    const char* names[2] = {"player_wins", "computer_wins"};
    for (int i = 0; i < 2; ++i) {
      SetText(levelWidgets[i], std::to_string(wins[i]));
      SetText(totalWidgets[i], std::to_string(totals[i]));
    }
    if (known) {
      const int winner = complete_ ? 0 : 1;
      ++wins[winner];
      changes->SetParamValue(names[winner], std::to_string(wins[winner]));
      // A replay changes no profile value: the level's record counts it,
      // the player's totals do not.
      if (!replay_) {
        ++totals[winner];
        WriteProfile(*profile, names[winner], totals[winner]);
        profileChanged = true;
      }
      steps_.push_back({{},
                        {{levelWidgets[winner], std::to_string(wins[winner])},
                         {totalWidgets[winner], std::to_string(totals[winner])}},
                        complete_ ? "sound_level_win" : "sound_level_loose",
                        kAwardTime});
    }
  }

  if (table && changes->GetParamCount() > 0) {
    table->SetRecord(level_, *changes);
    if (TTrace::On())
      for (int i = 0; i < changes->GetParamCount(); ++i)
        TTrace::Emit("level_record",
                     {{"mode", TTrace::Text(mode_)},
                      {"level", TTrace::Number(level_)},
                      {"name", TTrace::Text(changes->GetParamAt(i)->GetName())},
                      {"value", TTrace::Text(VarToString(changes->GetParamAt(i)->GetValue()))}});
    records->SaveLevelRecords();
  }
  if (profileChanged && profiles) profiles->SaveProfiles();
}

void TZintaraGameScreenStatLevel::AfterAppear() {
  started_ = true;
  StartStep();
}

void TZintaraGameScreenStatLevel::StartStep() {
  if (!IsCounting()) return;
  const TStep& step = steps_[step_];
  for (const auto& [widget, text] : step.texts) SetText(widget, text);
  ShowCounts(step, 0);
  if (!step.sound.empty()) PlayScreenSound(step.sound);
}

void TZintaraGameScreenStatLevel::ShowCounts(const TStep& step, int elapsed) {
  for (const TCount& count : step.counts) {
    const long long span = count.to - count.from;
    const long long value = elapsed >= kLineTime ? count.to : count.from + span * elapsed / kLineTime;
    SetText(count.widget,
            (count.time ? Time(value) : FormatThousands(static_cast<int32_t>(value))) + count.suffix);
  }
}

void TZintaraGameScreenStatLevel::Update(int dt) {
  TGameScreen::Update(dt);
  if (!IsActive() || !started_) return;
  clock_ += dt;
  // A long frame may finish several steps; each starts with its sound.
  while (IsCounting()) {
    const TStep& step = steps_[step_];
    ShowCounts(step, clock_);
    if (clock_ < step.duration) break;
    clock_ -= step.duration;
    ++step_;
    StartStep();
  }
}

void TZintaraGameScreenStatLevel::SkipToEnd() {
  for (; IsCounting(); ++step_) {
    for (const auto& [widget, text] : steps_[step_].texts) SetText(widget, text);
    ShowCounts(steps_[step_], kLineTime);
  }
  clock_ = 0;
}

bool TZintaraGameScreenStatLevel::MouseEvent(unsigned message, TPoint point, unsigned flags) {
  if (TGameScreen::MouseEvent(message, point, flags)) return true;
  if (message != WM_LBUTTONDOWN || !IsActive() || IsHiding()) return false;
  SkipToEnd();
  return true;
}

bool TZintaraGameScreenStatLevel::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  // The first key while counting only finishes it.
  if (message == WM_KEYDOWN && IsCounting() && IsActive() && !IsHiding()) {
    SkipToEnd();
    return true;
  }
  return TGameScreen::KeyEvent(message, key, flags);
}

void TZintaraGameScreenStatLevel::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (code != ccClick || !sender || !game) return;
  SkipToEnd();
  const Ref<TParamCollection> result = result_ ? result_ : MakeParams({});
  result->SetParamValue("Button", sender->GetName());
  game->CloseScreen(this, result.get());
}

}  // namespace qv
