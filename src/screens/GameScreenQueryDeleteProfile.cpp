#include "screens/GameScreenQueryDeleteProfile.h"

#include "screens/ScreenSupport.h"

namespace qv {

void TGameScreenQueryDeleteProfile::BeforeShow(IParamCollection* params) {
  TGameScreenQueryDialog::BeforeShow(params);
  SetWidgetProperty(*this, "label_user_profile_name", "text", std::string());
  std::string name;
  if (ParamText(params, "user_name", name))
    SetWidgetProperty(*this, "label_user_profile_name", "text_utf8", name);
}

}  // namespace qv
