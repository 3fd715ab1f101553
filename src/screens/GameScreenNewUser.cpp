#include "screens/GameScreenNewUser.h"

#include "core/Messages.h"
#include "core/StringUtils.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"

namespace qv {

void TGameScreenNewUser::BeforeShow(IParamCollection* params) {
  enteredName_.clear();
  std::string value;
  cancelAllowed_ = !ParamText(params, "Necessary", value);
  if (const Ref<IWidget> cancel = FindWidget("button_cancel")) cancel->SetEnabled(cancelAllowed_);
  SetWidgetProperty(*this, "edit_name", "value", std::string());
  if (ParamText(params, "user_name", value)) {
    enteredName_ = value;
    SetWidgetProperty(*this, "edit_name", "value", value);
  }
}

void TGameScreenNewUser::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (!sender) return;
  const std::string& name = sender->GetName();
  if (code == ccClick && name == "button_ok") Confirm();
  if (code == ccClick && name == "button_cancel") Cancel();
  if (code == ccTextChanged && name == "edit_name")
    enteredName_ = WidgetPropertyText(*this, "edit_name", "text_utf8");
}

bool TGameScreenNewUser::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (TGameScreen::KeyEvent(message, key, flags)) return true;
  if (!IsActive() || IsHiding() || message != WM_KEYDOWN) return false;
  if (key == VK_RETURN) {
    Confirm();
    return true;
  }
  if (key == VK_ESCAPE && cancelAllowed_) {
    Cancel();
    return true;
  }
  return false;
}

void TGameScreenNewUser::Confirm() {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!game) return;
  const std::string name = Trim(enteredName_);
  IUserProfileCollection* profiles = game->GetUserProfiles();
  if (name.empty() || (profiles && profiles->GetProfile(name))) {
    game->ShowScreen("GS_QueryNotUniqueName", nullptr);
    return;
  }
  if (!cancelAllowed_ && profiles && profiles->AddProfile(name)) profiles->SetCurrentProfile(name);
  const Ref<TParamCollection> result = MakeParams({{"user_name", name}});
  game->CloseScreen(this, result.get());
}

void TGameScreenNewUser::Cancel() {
  if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
}

}  // namespace qv
