#include "screens/GameScreenSplash.h"

#include "screens/ScreenSupport.h"

namespace qv {

const TPropertyTable<TGameScreenSplash>& TGameScreenSplash::Properties() {
  using S = TGameScreenSplash;
  static const TPropertyTable<S> table =
      TPropertyTable<S>(TGameScreen::Properties()).String("wait_button_name", &S::waitButtonName_).Always();
  return table;
}

void TGameScreenSplash::BeforeShow(IParamCollection* params) {
  std::string value;
  if (!ParamText(params, "LoadComplete", value)) return;
  const bool wait = !waitButtonName_.empty() && FindWidget(waitButtonName_);
  if (!wait)
    if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->SplashFinished();
}

void TGameScreenSplash::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)code;
  (void)params;
  if (sender && !waitButtonName_.empty() && sender->GetName() == waitButtonName_)
    if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->SplashFinished();
}

}  // namespace qv
