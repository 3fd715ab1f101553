#include "board/GameScreenLevelRecords.h"

#include "core/StringUtils.h"
#include "game/ZinLevelCollection.h"
#include "localisation/MultiLanguages.h"
#include "playerdata/LevelRecords.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"

namespace qv {

namespace {

constexpr const char* kModes[] = {"relax", "classic", "duel_computer"};

}  // namespace

void TZintaraGameScreenLevelRecords::SetText(const std::string& widget, const std::string& text) {
  SetWidgetProperty(*this, widget, "text", text);
}

void TZintaraGameScreenLevelRecords::BeforeShow(IParamCollection* params) {
  std::string levelText;
  long long level = 0;
  mode_.clear();
  invalid_ = !ParamText(params, "Level", levelText) || !TryParseInt(Trim(levelText), level) ||
             !ParamText(params, "PlayMode", mode_) || level <= 0 || level > 2147483647LL;
  level_ = invalid_ ? 0 : static_cast<int>(level);
  if (invalid_) return;

  IGameScreenOwner* game = GetScreenOwnerInterface();
  const Ref<TZinLevelCollection> levels =
      game ? Query<TZinLevelCollection>(game->GetContextObject("zinlevels")) : nullptr;
  SetText("level_info", levels && levels->Find(level_)
                            ? "%label_level%: " + MacroLiteral(levels->GetDisplayName(level_))
                            : std::string());
  for (const char* mode : kModes)
    if (const Ref<IWidget> group = FindWidget(mode)) group->Show(mode_ == mode);

  ILevelRecords* records = game ? game->GetLevelRecords() : nullptr;
  const Ref<TLevelRecordTable> table = records ? records->GetLevelTables().GetTable(mode_) : nullptr;
  if (const Ref<TLevelRecord> record = table ? table->GetRecord(level_) : nullptr) Fill(*record);
}

void TZintaraGameScreenLevelRecords::Fill(TLevelRecord& record) {
  const std::string group = mode_ + "/";
  if (mode_ == "relax" || mode_ == "classic") {
    const long long score = record.GetInt("score_level", -1);
    if (score >= 0) {
      SetText(group + "best_score_level", FormatThousands(static_cast<int32_t>(score)));
      SetText(group + "best_score_level_name", MacroLiteral(record.GetText("score_levelname", "")));
    }
  }
  if (mode_ == "classic") {
    const long long seconds = record.GetInt("time_level", -1);
    SetText(group + "best_time_level", seconds >= 0 ? FormatTime(static_cast<int32_t>(seconds)) : "");
    SetText(group + "best_time_level_name",
            seconds >= 0 ? MacroLiteral(record.GetText("time_levelname", "")) : "");
  }
  if (mode_ == "duel_computer") {
    const long long player = record.GetInt("player_wins", 0);
    const long long computer = record.GetInt("computer_wins", 0);
    SetText(group + "Level_player_wins", std::to_string(player) + "/" + std::to_string(player + computer));
  }
}

void TZintaraGameScreenLevelRecords::Update(int dt) {
  TGameScreen::Update(dt);
  if (invalid_ && IsActive()) Close(std::string());
}

void TZintaraGameScreenLevelRecords::Close(const std::string& button) {
  invalid_ = false;
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!game) return;
  const Ref<TParamCollection> result = MakeParams({{"Button", button}});
  game->CloseScreen(this, result.get());
}

void TZintaraGameScreenLevelRecords::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (sender && code == ccClick && !IsHiding()) Close(sender->GetName());
}

}  // namespace qv
