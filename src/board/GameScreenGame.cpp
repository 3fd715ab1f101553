#include "board/GameScreenGame.h"

#include "board/GameBoardControl.h"
#include "core/Messages.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "playerdata/UserProfileCollection.h"
#include "screens/IGSCollection.h"
#include "screens/ScreenSupport.h"
#include "services/IMusicPlayer.h"

namespace qv {

TGameBoardControl* TZintaraGameScreenGame::Board() {
  return dynamic_cast<TGameBoardControl*>(FindWidget("gameboard").get());
}

void TZintaraGameScreenGame::BeforeShow(IParamCollection* params) {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  IUserProfileCollection* profiles = game ? game->GetUserProfiles() : nullptr;
  const Ref<IUserProfile> profile = profiles ? profiles->GetCurrentProfile() : nullptr;
  if (profile) {
    const TVariant mode = profile->GetParams().GetParamValueDef("current_play_mode", TVariant());
    if (!std::holds_alternative<std::monostate>(mode)) playMode_ = VarToString(mode);
    level_ = static_cast<int>(VarToInt(profile->GetParams().GetParamValueDef(playMode_ + "Level", 1LL), 1));
  }
  replay_ = false;
  std::string text;
  if (ParamText(params, "PlayMode", text)) playMode_ = text;
  if (ParamText(params, "Level", text)) {
    long long number = 0;
    if (TryParseInt(Trim(text), number)) level_ = static_cast<int>(number);
  }
  if (ParamText(params, "Replay", text))
    replay_ = SameText(text, "yes") || SameText(text, "true") || text == "1";
  pendingStart_ = true;
  // The second player's score shows in the duels only.
  if (const Ref<IWidget> duel = FindWidget("duel_panel"))
    duel->Show(playMode_ == "duel_computer" || playMode_ == "duel_player");
  StartLevel();
}

void TZintaraGameScreenGame::StartLevel() {
  TGameBoardControl* board = Board();
  if (!board || !pendingStart_) return;
  pendingStart_ = false;
  board->Show(true);
  board->StartLevel(level_, playMode_, replay_);
}

void TZintaraGameScreenGame::AfterAppear() {
  StartLevel();
}

void TZintaraGameScreenGame::OnShow() {
  PlayScreenSound("sound_show_window");
  musicName_ = "music_background" + std::to_string(RandomInt(3));
  IMusicCollection* musics = GetMusics();
  Ref<IMusic> music = musics ? musics->FindMusic(musicName_) : nullptr;
  if (!music && musics) {
    musicName_ = "music_background";
    music = musics->FindMusic(musicName_);
  }
  if (music)
    if (auto* player = QueryPtr<IMusicPlayer>(GetEngine())) player->PlayMusic(music.get());
  if (TGameBoardControl* board = Board()) board->Show(true);
}

void TZintaraGameScreenGame::OnHide() {
  PlayScreenSound("sound_hide_window");
  IMusicCollection* musics = GetMusics();
  if (const Ref<IMusic> music = musics ? musics->FindMusic(musicName_) : nullptr)
    if (auto* player = QueryPtr<IMusicPlayer>(GetEngine())) player->StopMusic(music.get());
  if (TGameBoardControl* board = Board()) board->Show(false);
}

void TZintaraGameScreenGame::Update(int dt) {
  TGameScreen::Update(dt);
  TGameBoardControl* board = Board();
  const Ref<IWidget> menu = FindWidget("button_menu");
  if (board && menu && menu->IsVisible() == board->InLevelEnd()) menu->Show(!board->InLevelEnd());
}

void TZintaraGameScreenGame::WindowFocusChanged(bool focused) {
  if (focused || !IsActive() || IsHiding()) return;
  if (playMode_ != "classic" && playMode_ != "duel_computer" && playMode_ != "duel_player") return;
  TGameBoardControl* board = Board();
  const Ref<IWidget> menu = FindWidget("button_menu");
  if (!board || board->InLevelEnd() || !board->GetLevelManager() || (menu && !menu->IsVisible())) return;
  if (HasScreen(kMiniMenu)) OpenMenu();
}

void TZintaraGameScreenGame::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (!sender || code != ccClick) return;
  const std::string& name = sender->GetName();
  if (name == "button_menu") OpenMenu();
  if (name == "button_go")
    if (TGameBoardControl* board = Board()) board->HideHintPanel();
  if (name == "button_next")
    if (TGameBoardControl* board = Board()) board->SetExtraParam("fast_complete", true);
}

bool TZintaraGameScreenGame::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  // The board's keys first: its cursor, and Escape taking back a selection.
  // The release of a key the board took is the board's too (a focused
  // button would take a released Return as its click).
  if (message == WM_KEYDOWN && IsActive())
    if (TGameBoardControl* board = Board(); board && board->KeyDown(key)) {
      boardKeys_.insert(key);
      return true;
    }
  if (message == WM_KEYUP && boardKeys_.erase(key)) return true;
  if (message == WM_KEYDOWN && (key == VK_ESCAPE || key == VK_PAUSE)) {
    const Ref<IWidget> menu = FindWidget("button_menu");
    if (menu && menu->IsVisible()) {
      OpenMenu();
      return true;
    }
  }
  return TGameScreen::KeyEvent(message, key, flags);
}

void TZintaraGameScreenGame::OpenMenu() {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!game) return;
  // Without a pause menu the button leaves the game for the screen below.
  if (HasScreen(kMiniMenu))
    game->ShowScreen(kMiniMenu, nullptr);
  else
    game->CloseScreen(this, nullptr);
}

bool TZintaraGameScreenGame::HasScreen(const std::string& name) {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  IGSCollection* screens = game ? game->GetScreens() : nullptr;
  return screens && screens->GetItem(name);
}

bool TZintaraGameScreenGame::Ask(const char* query) {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  return game && HasScreen(query) && game->ShowScreen(query, nullptr);
}

void TZintaraGameScreenGame::Restart() {
  pendingStart_ = true;
  StartLevel();
}

void TZintaraGameScreenGame::MenuAnswered(const std::string& button) {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!game) return;
  if (button == "button_main_menu") {
    if (!Ask(kQueryMainMenu)) game->CloseScreen(this, nullptr);
  } else if (button == "button_options") {
    game->ShowScreen("GS_Options", nullptr);
  } else if (button == "button_rules") {
    game->ShowScreen("GS_HowToPlay", nullptr);
  } else if (button == "button_restart") {
    if (!Ask(kQueryRestart)) Restart();
  }
  // "button_unpause", or the menu closed without a button: play goes on.
}

void TZintaraGameScreenGame::ScreenClosed(const std::string& closedScreenName,
                                          IParamCollection* resultParams) {
  // A statistics screen hands its results on to the screen below.
  if (LowerCase(closedScreenName).rfind("gs_statlevel", 0) == 0)
    if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, resultParams);
  std::string button;
  ParamText(resultParams, "Button", button);
  if (closedScreenName == kMiniMenu) MenuAnswered(button);
  if (closedScreenName == kQueryMainMenu && button == "button_yes")
    if (IGameScreenOwner* game = GetScreenOwnerInterface()) game->CloseScreen(this, nullptr);
  if (closedScreenName == kQueryRestart && button == "button_yes") Restart();
}

void TZintaraGameScreenGame::BoardNotification(int code, IParamCollection* params) {
  IGameScreenOwner* game = GetScreenOwnerInterface();
  if (!game) return;
  switch (code) {
    case kBoardLevelFinished: {
      const bool statistics = playMode_ == "relax" || playMode_ == "classic" || playMode_ == "duel_computer";
      const std::string screen = "GS_StatLevel" + playMode_;
      IGSCollection* screens = game->GetScreens();
      if (statistics && screens && screens->GetItem(screen) && game->ShowScreen(screen, params)) return;
      game->CloseScreen(this, params);
      break;
    }
    case kBoardGameLost:
      game->ShowScreen("GS_GameLoose", params);
      break;
    case kBoardHintConfirmed:
      if (TGameBoardControl* board = Board()) board->HideHintPanel();
      break;
    default:
      break;
  }
}

}  // namespace qv
