#include "board/GameScreenHistory.h"

#include "core/StringUtils.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"

namespace qv {

void TZintaraGameScreenHistory::BeforeShow(IParamCollection* params) {
  std::string text;
  long long story = 0;
  story_ =
      ParamText(params, "history", text) && TryParseInt(Trim(text), story) && story > 0 && story < 1000000
          ? static_cast<int>(story)
          : 0;
  const std::string number = story_ > 0 ? std::to_string(story_) : std::string();
  SetWidgetProperty(*this, "label_history", "text",
                    number.empty() ? "" : "%text_label_history" + number + "%");
  SetWidgetProperty(*this, "text_history", "text", number.empty() ? "" : "%text_history" + number + "%");
}

void TZintaraGameScreenHistory::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (!sender || code != ccClick || IsHiding()) return;
  if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
}

}  // namespace qv
