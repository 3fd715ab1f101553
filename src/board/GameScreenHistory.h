// The story of a level ("GS_History", shown with "history" = the story's
// number): "label_history" and "text_history" take the language's texts
// "text_label_history" and "text_history" followed by the number (story 3
// shows %text_label_history3% and %text_history3%). A button closes it.
#pragma once

#include <string>

#include "screens/GameScreen.h"

namespace qv {

class TZintaraGameScreenHistory : public TGameScreen {
public:
  void BeforeShow(IParamCollection* params) override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;

  int GetStory() const { return story_; }

protected:
  ~TZintaraGameScreenHistory() override = default;

private:
  int story_ = 0;
};

}  // namespace qv
