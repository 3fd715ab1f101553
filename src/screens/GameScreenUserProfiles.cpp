#include "screens/GameScreenUserProfiles.h"

#include "core/StringUtils.h"
#include "localisation/MultiLanguages.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/IListBoxControl.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"

namespace qv {

namespace {

// The list box's codes.
constexpr int kSelectionChanged = 5;
constexpr int kRowDoubleClicked = 6;

}  // namespace

void TGameScreenUserProfiles::SetOwner(IGameScreenOwner* game) {
  TGameScreen::SetOwner(game);
  list_ = Query<IListBoxControl>(FindWidget("listbox_profiles"));
}

void TGameScreenUserProfiles::Detach() {
  list_ = nullptr;
  TGameScreen::Detach();
}

IUserProfileCollection* TGameScreenUserProfiles::Profiles() const {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  return game ? game->GetUserProfiles() : nullptr;
}

void TGameScreenUserProfiles::BeforeShow(IParamCollection* params) {
  (void)params;
  selectedName_.clear();
  if (!list_) return;
  list_->Clear();
  list_->AddItem("", GetCreateNewUserText());
  IUserProfileCollection* profiles = Profiles();
  if (!profiles) return;
  const Ref<IUserProfile> current = profiles->GetCurrentProfile();
  if (current) selectedName_ = current->GetName();
  for (int i = 0; i < profiles->GetProfileCount(); ++i) {
    const Ref<IUserProfile> profile = profiles->GetProfileAt(i);
    list_->AddItem("", profile->GetName());
    if (profile == current) list_->SetSelected(i + 1);
  }
}

void TGameScreenUserProfiles::Hide() {
  TGameScreen::Hide();
  if (list_) list_->Clear();
}

void TGameScreenUserProfiles::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (!sender) return;
  IGameScreenOwner* game = GetScreenOwnerInterface();
  const std::string& name = sender->GetName();
  if (name == "listbox_profiles" && list_) {
    if (code == kSelectionChanged) {
      const int row = list_->GetSelected();
      if (row > 0)
        selectedName_ = list_->GetItemText(std::to_string(row));
      else if (row == 0 && game)
        game->ShowScreen("GS_NewUser", nullptr);
    } else if (code == kRowDoubleClicked) {
      Confirm();
    }
    return;
  }
  if (code != ccClick) return;
  if (name == "button_ok") {
    Confirm();
  } else if (name == "button_cancel") {
    Close();
  } else if (name == "button_delete" && list_ && game && list_->GetSelected() > 0) {
    const Ref<TParamCollection> query =
        MakeParams({{"user_name", list_->GetItemText(std::to_string(list_->GetSelected()))}});
    game->ShowScreen("GS_QueryDeleteProfile", query.get());
  }
}

void TGameScreenUserProfiles::Confirm() {
  if (IUserProfileCollection* profiles = Profiles()) {
    profiles->SetCurrentProfile(selectedName_);
    profiles->SaveProfiles();
  }
  Close();
}

void TGameScreenUserProfiles::Close() {
  if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
}

void TGameScreenUserProfiles::ScreenClosed(const std::string& closedScreenName,
                                           IParamCollection* resultParams) {
  IUserProfileCollection* profiles = Profiles();
  if (!profiles || !list_) return;
  std::string value;
  if (closedScreenName == "GS_NewUser") {
    if (!ParamText(resultParams, "user_name", value)) return;
    const Ref<IUserProfile> profile = profiles->AddProfile(value);
    if (!profile) return;
    // The row of the new (or the found) profile.
    int row = -1;
    for (int i = 0; i < profiles->GetProfileCount(); ++i)
      if (profiles->GetProfileAt(i) == profile) row = i + 1;
    if (row >= list_->GetItemCount()) list_->AddItem("", profile->GetName());
    if (row > 0) list_->SetSelected(row);
    selectedName_ = profile->GetName();
    Confirm();
  } else if (closedScreenName == "GS_QueryDeleteProfile") {
    if (ParamText(resultParams, "Button", value) && value == "button_yes") DeleteSelected();
  }
}

void TGameScreenUserProfiles::DeleteSelected() {
  IUserProfileCollection* profiles = Profiles();
  const int row = list_->GetSelected();
  if (row <= 0 || row > profiles->GetProfileCount()) return;
  profiles->DeleteProfile(profiles->GetProfileAt(row - 1)->GetName());
  list_->DeleteItem(std::to_string(row));
  const int now = list_->GetSelected();
  if (now > 0) {
    selectedName_ = list_->GetItemText(std::to_string(now));
    if (!profiles->GetCurrentProfile()) profiles->SetCurrentProfile(selectedName_);
  }
  if (list_->GetItemCount() <= 1) {
    profiles->SetCurrentProfile("");
    selectedName_.clear();
    if (IGameScreenOwner* game = GetScreenOwnerInterface()) {
      const Ref<TParamCollection> necessary = MakeParams({{"Necessary", "1"}});
      game->ShowScreen("GS_NewUser", necessary.get());
    }
  }
  profiles->SaveProfiles();
}

}  // namespace qv
