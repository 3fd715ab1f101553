// "GameScreenQueryDeleteProfile": the query dialog that asks before a
// profile goes; "label_user_profile_name" shows the "user_name" it was
// given.
#pragma once

#include "screens/GameScreenQueryDialog.h"

namespace qv {

class TGameScreenQueryDeleteProfile : public TGameScreenQueryDialog {
public:
  void BeforeShow(IParamCollection* params) override;

protected:
  ~TGameScreenQueryDeleteProfile() override = default;
};

}  // namespace qv
