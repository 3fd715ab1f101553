// "GameScreenUserProfiles": the players' profiles in "listbox_profiles"
// (row 0 creates a new player, row i the profile i - 1), OK to make the
// selected one current, Cancel, Delete (asks first through
// "GS_QueryDeleteProfile"). Deleting the last profile forces "GS_NewUser"
// with "Necessary".
#pragma once

#include <string>

#include "screens/GameScreen.h"
#include "screens/IListBoxControl.h"

namespace qv {

class IUserProfileCollection;

class TGameScreenUserProfiles : public TGameScreen {
public:
  void SetOwner(IGameScreenOwner* game) override;
  void Detach() override;
  void BeforeShow(IParamCollection* params) override;
  void Hide() override;
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override;
  void ScreenClosed(const std::string& closedScreenName, IParamCollection* resultParams) override;

  const std::string& GetSelectedName() const { return selectedName_; }

protected:
  ~TGameScreenUserProfiles() override = default;

private:
  IUserProfileCollection* Profiles() const;
  void Confirm();
  void Close();
  void DeleteSelected();

  Ref<IListBoxControl> list_;
  std::string selectedName_;
};

}  // namespace qv
