#include "board/GameScreenHowToPlay.h"

#include "board/GameBoardControl.h"
#include "controls/CheckBoxControl.h"
#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/ScreenSupport.h"
#include "storage/StorageAccess.h"
#include "widgets/IEventHandler.h"

namespace qv {

namespace {

constexpr char kTutorialMode[] = "how_to_play";

}  // namespace

void TZintaraGameScreenHowToPlay::LoadFromStorage(const StorageRef& storage) {
  TGameScreen::LoadFromStorage(storage);
  demos_.clear();
  const StorageRef list = storage ? storage->GetChild("demolevels", 0) : nullptr;
  const int count = list ? list->GetChildCount("demolevel") : 0;
  for (int i = 0; i < count; ++i) {
    const StorageRef item = list->GetChild("demolevel", i);
    TDemo demo;
    demo.board = ReadString(item, "board");
    demo.number = ReadInt(item, "number", 0);
    const StorageRef node = item->GetChild("level", 0);
    try {
      if (node) {
        demo.level = MakeRef<TZinLevel>();
        demo.level->Load(node);
      }
    } catch (const ELevelError& e) {
      ReportDataError("screen " + GetName() + "@demolevels", e.what());
      demo.level = nullptr;
    }
    if (!demo.level) {
      ReportDataError("screen " + GetName() + "@demolevels", "no level for the board \"" + demo.board + "\"");
      continue;
    }
    demos_.push_back(std::move(demo));
  }
}

void TZintaraGameScreenHowToPlay::SaveToStorage(const StorageRef& storage) {
  TGameScreen::SaveToStorage(storage);
}

TGameBoardControl* TZintaraGameScreenHowToPlay::Board(const std::string& name) {
  return dynamic_cast<TGameBoardControl*>(FindWidget(name).get());
}

int TZintaraGameScreenHowToPlay::PageCount() {
  int count = 0;
  while (FindWidget("page" + std::to_string(count + 1))) ++count;
  return count;
}

std::string TZintaraGameScreenHowToPlay::ShowAgainValueName() const {
  return mode_ == "duel_computer" ? "show_how_to_playduel_computer" : "show_how_to_play";
}

void TZintaraGameScreenHowToPlay::BeforeShow(IParamCollection* params) {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr;
  const Ref<IUserProfile> profile = profiles ? profiles->GetCurrentProfile() : nullptr;
  mode_ = profile
              ? VarToString(profile->GetParams().GetParamValueDef("current_play_mode", std::string("relax")))
              : std::string("relax");
  ParamText(params, "PlayMode", mode_);
  if (auto* box = dynamic_cast<TCheckBoxControl*>(FindWidget("checkbox_showagain").get())) {
    const std::string value =
        profile ? VarToString(profile->GetParams().GetParamValueDef(ShowAgainValueName(), std::string("yes")))
                : std::string("yes");
    box->SetChecked(SameText(value, "yes"));
  }
  for (const TDemo& demo : demos_)
    if (TGameBoardControl* board = Board(demo.board))
      board->StartLoadedLevel(demo.level, demo.number, kTutorialMode, false, 1);
  ShowPage(1);
}

void TZintaraGameScreenHowToPlay::ShowPage(int page) {
  const int count = PageCount();
  if (count == 0) return;
  page_ = page < 1 ? 1 : page > count ? count : page;
  for (int n = 1; n <= count; ++n) {
    const bool shown = n == page_;
    if (const Ref<IWidget> widget = FindWidget("page" + std::to_string(n))) widget->Show(shown);
    if (TGameBoardControl* board = Board("howtoplay_gameboard" + std::to_string(n))) {
      board->Show(shown);
      if (shown)
        board->Resume();
      else
        board->Pause();
    }
  }
}

void TZintaraGameScreenHowToPlay::OnHide() {
  TGameScreen::OnHide();
  for (const TDemo& demo : demos_)
    if (TGameBoardControl* board = Board(demo.board)) board->Pause();
}

void TZintaraGameScreenHowToPlay::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!sender || !game) return;
  const std::string& name = sender->GetName();
  if (code == ccStateChanged && name == "checkbox_showagain") {
    auto* box = dynamic_cast<TCheckBoxControl*>(sender);
    IUserProfileCollection* profiles = game->GetUserProfiles();
    const Ref<IUserProfile> profile = profiles ? profiles->GetCurrentProfile() : nullptr;
    if (!box || !profile) return;
    profile->GetParams().SetParamValue(ShowAgainValueName(), std::string(box->IsChecked() ? "yes" : "no"));
    profiles->SaveProfiles();
    return;
  }
  if (code != ccClick) return;
  const std::string prefix = "button_htp";
  if (name.rfind(prefix, 0) == 0) {
    long long page = 0;
    if (TryParseInt(name.substr(prefix.size()), page)) ShowPage(static_cast<int>(page));
    return;
  }
  if (name == "button_close" || name == "button_start") {
    const Ref<TParamCollection> result = MakeParams({{"Button", name}});
    game->CloseScreen(this, result.get());
  }
}

}  // namespace qv
