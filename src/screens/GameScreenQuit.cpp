#include "screens/GameScreenQuit.h"

#include "services/IApplicationClose.h"
#include "widgets/IEventHandler.h"

namespace qv {

void TGameScreenQuit::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (!sender || code != ccClick) return;
  if (sender->GetName() == "button_exit") CloseProgram();
  if (sender->GetName() == "button_cancel")
    if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
}

void TGameScreenQuit::ScreenClosed(const std::string& closedScreenName, IParamCollection* resultParams) {
  (void)closedScreenName;
  (void)resultParams;
  CloseProgram();
}

void TGameScreenQuit::CloseProgram() {
  if (auto* application = QueryPtr<IApplicationClose>(GetEngine())) application->Close();
}

}  // namespace qv
