#include "board/GameScreenMain.h"

#include "core/Diagnostics.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/IGSCollection.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"

namespace qv {

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

void TZintaraGameScreenMain::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (!sender || code != ccClick) return;
  const std::string& name = sender->GetName();
  const char* mode = name == "button_relax"     ? "relax"
                     : name == "button_classic" ? "classic"
                     : name == "button_duel"    ? "duel_computer"
                                                : nullptr;
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!mode || !game) return;
  IUserProfileCollection* profiles = game->GetUserProfiles();
  const Ref<IUserProfile> profile = profiles ? profiles->GetCurrentProfile() : nullptr;
  if (profile) profile->GetParams().SetParamValue("current_play_mode", std::string(mode));
  const Ref<TParamCollection> show = MakeParams({{"PlayMode", mode}});
  // The map chooses the level; content without one plays the mode's level.
  IGSCollection* screens = game->GetScreens();
  if (screens && screens->GetItem(kMapScreen) && game->ShowScreen(kMapScreen, show.get())) return;
  game->ShowScreen("GS_Game", show.get());
}

}  // namespace qv
