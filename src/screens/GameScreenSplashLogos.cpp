#include "screens/GameScreenSplashLogos.h"

namespace qv {

namespace {

constexpr int kSequenceEnded = 10;

}  // namespace

void TGameScreenSplashLogos::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)sender;
  (void)params;
  if (code != kSequenceEnded) return;
  if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
}

}  // namespace qv
