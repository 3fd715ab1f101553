#include "board/GameScreenMap.h"

#include <utility>

#include "board/GameScreenTrophies.h"
#include "board/QuibControl.h"
#include "board/ZintaraLocationWidget.h"
#include "core/StringUtils.h"
#include "core/Trace.h"
#include "game/ZinLevelCollection.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"

namespace qv {

namespace {

constexpr char kMapPrefix[] = "maplevel";

bool ParamBool(IParamCollection* params, const std::string& name) {
  std::string text;
  if (!ParamText(params, name, text)) return false;
  return SameText(text, "yes") || SameText(text, "true") || text == "1";
}

long long ProfileInt(IUserProfile* profile, const std::string& name, long long def, bool& present) {
  long long number = def;
  present = profile && ParamInt(&profile->GetParams(), name, number);
  return number;
}

void WriteProfile(IUserProfile* profile, const std::string& name, long long value) {
  if (!profile) return;
  const std::string text = std::to_string(value);
  profile->GetParams().SetParamValue(name, text);
  if (TTrace::On()) TTrace::Emit("profile", {{"name", TTrace::Text(name)}, {"value", TTrace::Text(text)}});
}

}  // namespace

IUserProfile* TZintaraGameScreenMap::Profile() const {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr;
  return profiles ? profiles->GetCurrentProfile().get() : nullptr;
}

void TZintaraGameScreenMap::BeforeShow(IParamCollection* params) {
  IUserProfile* profile = Profile();
  const std::string before = mode_;
  mode_ = "relax";
  if (profile) {
    const TVariant stored = profile->GetParams().GetParamValueDef("current_play_mode", TVariant());
    if (!VarIsEmpty(stored)) mode_ = VarToString(stored);
  }
  ParamText(params, "PlayMode", mode_);
  // Another mode starts from its own first level when it has none yet.
  if (mode_ != before) level_ = 1;
  selected_ = 0;
  newDifficulty_ = false;
  delay_ = 0;
  story_ = 0;
  Refresh(false);
}

void TZintaraGameScreenMap::TellMaps(const std::string& property, long long value) {
  for (const char* name : {"map1", "map2"})
    if (const Ref<IWidget> map = FindWidget(name)) map->SetPropertyValue(property, value);
}

void TZintaraGameScreenMap::Trace(int walkFrom, int walkTo) {
  if (!TTrace::On()) return;
  TTrace::Emit("map", {{"mode", TTrace::Text(mode_)},
                       {"page", TTrace::Number(page_)},
                       {"level", TTrace::Number(level_)},
                       {"difficulty", TTrace::Number(difficulty_)},
                       {"walk_from", TTrace::Number(walkFrom)},
                       {"walk_to", TTrace::Number(walkTo)}});
}

void TZintaraGameScreenMap::Refresh(bool walk) {
  IUserProfile* profile = Profile();
  bool present = false;
  const long long level = ProfileInt(profile, mode_ + "Level", level_, present);
  level_ = static_cast<int>(level);
  if (!present) {
    // A mode played for the first time: its first level and its story.
    WriteProfile(profile, mode_ + "Level", level_);
    story_ = level_;
  }
  difficulty_ = static_cast<int>(ProfileInt(profile, mode_ + "Difficulty", 1, present));
  TellMaps("Difficulty", difficulty_);
  TellMaps(walk ? "animate_quib" : "level", level_);
  page_ = 0;
  ShowPage(PageOf(selected_ > 0 ? selected_ : level_));
  if (level_ > kMapLastLevel && !newDifficulty_) {
    newDifficulty_ = true;
    delay_ = kNewDifficultyDelay;
  }
  Trace(walk ? level_ - 1 : 0, walk ? level_ : 0);
}

void TZintaraGameScreenMap::ShowPage(int page) {
  if (page != 1 && page != 2) return;
  const bool changed = page != page_;
  page_ = page;
  if (const Ref<IWidget> map = FindWidget("map1")) map->Show(page == 1);
  if (const Ref<IWidget> map = FindWidget("map2")) map->Show(page == 2);
  if (changed) Trace(0, 0);
}

void TZintaraGameScreenMap::Update(int dt) {
  TGameScreen::Update(dt);
  if (!IsActive()) return;
  if (story_ > 0) OfferStory(std::exchange(story_, 0));
  if (!newDifficulty_) return;
  delay_ -= dt;
  if (delay_ > 0) return;
  IGameScreenOwner* game = GetScreenOwnerInterface();
  newDifficulty_ = false;
  // Without the screen the next round starts at once.
  if (!game || !game->ShowScreen("GS_NewDifficulty", MakeParams({{"PlayMode", mode_}}).get())) NewRound();
}

void TZintaraGameScreenMap::NewRound() {
  IUserProfile* profile = Profile();
  level_ = 1;
  ++difficulty_;
  selected_ = 0;
  WriteProfile(profile, mode_ + "Level", level_);
  WriteProfile(profile, mode_ + "Difficulty", difficulty_);
  Refresh(false);
}

void TZintaraGameScreenMap::OfferStory(int level) {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  const Ref<TZinLevelCollection> levels =
      game ? Query<TZinLevelCollection>(game->GetContextObject("zinlevels")) : nullptr;
  const int story = levels ? levels->GetHistory(level) : 0;
  if (story > 0) game->ShowScreen("GS_History", MakeParams({{"history", std::to_string(story)}}).get());
}

int TZintaraGameScreenMap::ArtifactOf(int level) const {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  const Ref<TZinLevelCollection> levels =
      game ? Query<TZinLevelCollection>(game->GetContextObject("zinlevels")) : nullptr;
  return levels ? levels->GetArtifact(level) : 0;
}

bool TZintaraGameScreenMap::Owns(const std::string& mode, int artifact) const {
  IUserProfile* profile = Profile();
  return profile && OwnsArtifact(profile->GetParams(), mode, artifact);
}

void TZintaraGameScreenMap::StartLevel(int level, const std::string& mode, bool replay) {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!game || level <= 0) return;
  // What the level may win, to tell a new artifact from one owned before.
  playedMode_ = mode;
  playedArtifact_ = ArtifactOf(level);
  ownedBefore_ = Owns(mode, playedArtifact_);
  game->ShowScreen(
      "GS_Game",
      MakeParams({{"PlayMode", mode}, {"Level", std::to_string(level)}, {"Replay", replay ? "yes" : "no"}})
          .get());
}

void TZintaraGameScreenMap::ScreenClosed(const std::string& closedScreenName,
                                         IParamCollection* resultParams) {
  if (closedScreenName == "GS_Game") {
    // Left through the pause menu: back to the main screen.
    if (!resultParams) {
      if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
      return;
    }
    Refresh(ParamBool(resultParams, "complete") && !ParamBool(resultParams, "Replay"));
    // A newly won artifact is presented in the trophy room.
    const int artifact = std::exchange(playedArtifact_, 0);
    if (artifact > 0 && !ownedBefore_ && Owns(playedMode_, artifact))
      if (IGameScreenOwner* game = GetScreenOwnerInterface())
        game->ShowScreen(
            "GS_Trophies",
            MakeParams({{"PlayMode", playedMode_}, {"artifact", std::to_string(artifact)}}).get());
    return;
  }
  if (closedScreenName == "GS_NewDifficulty") {
    NewRound();
    return;
  }
  if (closedScreenName == "GS_LevelRecords") {
    std::string button;
    ParamText(resultParams, "Button", button);
    if (button == "button_replay") StartLevel(selected_, mode_, true);
    if (button == "button_duel2players") StartLevel(selected_, "duel_player", true);
  }
}

void TZintaraGameScreenMap::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (!sender) return;
  const std::string& name = sender->GetName();
  if (code == kQuibArrivedEvent) {
    // The new level's buttons and its location's unlock, then the story
    // of the level just left.
    TellMaps("level", level_);
    TellMaps("animate_level", level_);
    OfferStory(level_ - 1);
    return;
  }
  if (code != ccClick) return;
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (name == "button_start" || name == "quib") {
    StartLevel(level_, mode_, false);
  } else if (name == "button_stage1") {
    ShowPage(1);
  } else if (name == "button_stage2") {
    ShowPage(2);
  } else if (name == "button_trophies") {
    if (game) game->ShowScreen("GS_Trophies", MakeParams({{"PlayMode", mode_}}).get());
  } else if (name.size() > sizeof(kMapPrefix) - 1 && name.rfind(kMapPrefix, 0) == 0) {
    long long level = 0;
    if (!TryParseInt(name.substr(sizeof(kMapPrefix) - 1), level) || level <= 0) return;
    selected_ = static_cast<int>(level);
    const std::string text = std::to_string(level);
    if (game) game->ShowScreen("GS_LevelRecords", MakeParams({{"Level", text}, {"PlayMode", mode_}}).get());
  }
}

}  // namespace qv
