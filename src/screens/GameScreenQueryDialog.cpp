#include "screens/GameScreenQueryDialog.h"

#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"

namespace qv {

void TGameScreenQueryDialog::BeforeShow(IParamCollection* params) {
  for (int i = 0; params && i < params->GetParamCount(); ++i)
    if (const Ref<IParam> param = params->GetParamAt(i))
      SetWidgetProperty(*this, param->GetName(), "text_utf8", VarToString(param->GetValue()));
}

void TGameScreenQueryDialog::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (code != ccClick || !sender || !GetScreenOwnerInterface()) return;
  const Ref<TParamCollection> result = MakeParams({{"Button", sender->GetName()}});
  GetScreenOwnerInterface()->CloseScreen(this, result.get());
}

}  // namespace qv
