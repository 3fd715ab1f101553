#include "board/GameScreenMain.h"

#include <climits>

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "localisation/MultiLanguages.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/IGSCollection.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"

namespace qv {

namespace {

struct TModeButton {
  const char* button;
  const char* mode;
};
constexpr TModeButton kModeButtons[] = {
    {"button_relax", "relax"}, {"button_classic", "classic"}, {"button_duel", "duel_computer"}};

const char* ModeOf(const std::string& button) {
  for (const TModeButton& each : kModeButtons)
    if (button == each.button) return each.mode;
  return nullptr;
}

// A whole number from the profile; `def` when it is missing or no number.
long long ProfileNumber(IParamCollection* params, const std::string& name, long long def) {
  ParamInt(params, name, def);
  return def;
}

int32_t Clamped(long long value) {
  return static_cast<int32_t>(value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : value);
}

}  // namespace

TZintaraGameScreenMain::TZintaraGameScreenMain() : levels_(MakeRef<TZinLevelCollection>()) {}

void TZintaraGameScreenMain::LoadFromStorage(const StorageRef& storage) {
  TGameScreen::LoadFromStorage(storage);
  if (!storage) return;
  const StorageRef list = storage->GetChild("levels", 0);
  if (!list) return;
  try {
    levels_->Load(list);
  } catch (const ELevelError& e) {
    ReportDataError("screen " + GetName() + "@levels", e.what());
  }
}

void TZintaraGameScreenMain::SaveToStorage(const StorageRef& storage) {
  TGameScreen::SaveToStorage(storage);
}

void TZintaraGameScreenMain::SetOwner(IGameScreenOwner* game) {
  TGameScreen::SetOwner(game);
  if (game) game->SetContextObject("zinlevels", levels_);
}

Ref<IUserProfile> TZintaraGameScreenMain::CurrentProfile() {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr;
  return profiles ? profiles->GetCurrentProfile() : nullptr;
}

IParamCollection* TZintaraGameScreenMain::ProfileParams() {
  const Ref<IUserProfile> profile = CurrentProfile();
  return profile ? &profile->GetParams() : nullptr;
}

bool TZintaraGameScreenMain::DuelOpen() {
  return ProfileNumber(ProfileParams(), "LevelMax", 0) > kDuelAfterLevel;
}

void TZintaraGameScreenMain::BeforeShow(IParamCollection* params) {
  TGameScreen::BeforeShow(params);
  fresh_ = true;
  ShowProgress();
}

void TZintaraGameScreenMain::ScreenClosed(const std::string& closedScreenName,
                                          IParamCollection* resultParams) {
  TGameScreen::ScreenClosed(closedScreenName, resultParams);
  // Leaving the map brings the player back here: the next mode chosen
  // counts as a new entry.
  if (closedScreenName == kMapScreen) fresh_ = true;
  ShowProgress();
}

bool TZintaraGameScreenMain::UpdateDirty() {
  if (IsVisible() && language_ != LanguageGeneration()) ShowProgress();
  return TGameScreen::UpdateDirty();
}

void TZintaraGameScreenMain::ShowProgress() {
  language_ = LanguageGeneration();
  const Ref<IUserProfile> profile = CurrentProfile();
  IParamCollection* params = profile ? &profile->GetParams() : nullptr;
  // Each text is expanded right after its variables are set, and written
  // as it came out (the variables are shared by the three modes).
  const auto write = [this](const std::string& widget, const std::string& macro) {
    SetWidgetProperty(*this, widget, "text", MacroLiteral(ExpandText(macro)));
  };
  SetTextVariable("username", profile ? profile->GetName() : std::string());
  write("welcome", "%welcome%");
  const bool duel = DuelOpen();
  for (const TModeButton& each : kModeButtons) {
    const std::string mode = each.mode;
    const Ref<IWidget> button = FindWidget(each.button);
    if (!button) continue;
    const bool open = mode != "duel_computer" || duel;
    button->SetEnabled(open);
    SetTextVariable("pattern_level", std::to_string(ProfileNumber(params, mode + "Level", 1)));
    SetTextVariable("pattern_difficulty", std::to_string(ProfileNumber(params, mode + "Difficulty", 1)));
    SetTextVariable("pattern_score", FormatThousands(Clamped(ProfileNumber(params, mode + "Score", 0))));
    const std::string text = open ? (mode == "duel_computer" ? "%duel" : "%" + mode) + "_text_current_level%"
                                  : "%duel_mode_not_available%";
    write(std::string(each.button) + "/info", text);
  }
}

void TZintaraGameScreenMain::OfferRules(const std::string& mode) {
  IParamCollection* params = ProfileParams();
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!params || !game) return;
  const std::string name = mode == "duel_computer" ? "show_how_to_playduel_computer" : "show_how_to_play";
  if (VarIsEmpty(params->GetParamValueDef(name, TVariant()))) params->SetParamValue(name, std::string("yes"));
  if (!SameText(VarToString(params->GetParamValueDef(name, TVariant())), "yes")) return;
  IGSCollection* screens = game->GetScreens();
  if (!screens || !screens->GetItem(kRulesScreen)) return;
  const Ref<TParamCollection> show = MakeParams({{"PlayMode", mode}, {"first_run", "yes"}});
  game->ShowScreen(kRulesScreen, show.get());
}

void TZintaraGameScreenMain::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (!sender || code != ccClick) return;
  const char* mode = ModeOf(sender->GetName());
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!mode || !game) return;
  if (std::string(mode) == "duel_computer" && !DuelOpen()) return;
  if (IParamCollection* profile = ProfileParams())
    profile->SetParamValue("current_play_mode", std::string(mode));
  const Ref<TParamCollection> show = MakeParams({{"PlayMode", mode}});
  // The map chooses the level; content without one plays the mode's level.
  IGSCollection* screens = game->GetScreens();
  if (screens && screens->GetItem(kMapScreen) && game->ShowScreen(kMapScreen, show.get())) {
    if (fresh_) {
      fresh_ = false;
      OfferRules(mode);
    }
    return;
  }
  game->ShowScreen("GS_Game", show.get());
}

}  // namespace qv
