// "Game": the object the game description makes. It owns the option
// values, every screen and the stack of the shown ones, the resource list
// files and the cursors; it decides which screen comes first (splash
// logos, then the splash while the deferred resources load, then the main
// screen), gives time, drawing and input to the shown screens, asks the
// close-query screen before the program may close and keeps options in
// step with the engine and the options store. It owns the language switch:
// the option "Language" (empty: English, the default file alone; else a
// file of "Languages") is loaded at start and whenever it is set, and every
// screen's texts are expanded again at once (ReexpandTexts).
//
// Ownership: the game holds every screen (the screen collection) and the
// shown stack holds references into it; a screen keeps a plain pointer to
// the game (SetOwner), which Finish clears (Detach). Cursor widgets get the
// game as their plain-pointer owner and are detached in Finish. The engine
// outlives the game and is kept as a plain pointer.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include <memory>

#include "app/CustomSettings.h"
#include "app/GameOptions.h"
#include "app/ICustomSettingsHost.h"
#include "app/IGame.h"
#include "playerdata/HighScores.h"
#include "playerdata/LevelRecords.h"
#include "playerdata/UserProfileCollection.h"
#include "resources/ResourceFile.h"
#include "screens/CursorCollection.h"
#include "screens/GSCollection.h"
#include "screens/IGameScreenOwner.h"
#include "screens/IGameScreenSlave.h"
#include "storage/ParamCollection.h"
#include "storage/PersistObject.h"
#include "widgets/IWidgetOwner.h"

namespace qv {

// The key that sizes the window (F10): the next window scale in its round
// (NextWindowScale of screens/GameScreenOptions.h).
inline constexpr uintptr_t kWindowScaleKey = 0x79;

class IEngine;

class TGame : public TPersistObject,
              public IWidgetOwner,
              public IGameScreenOwner,
              public ICustomSettingsHost,
              public IGame {
protected:
  ~TGame() override;

public:
  // The screen that asks a new player's name.
  static constexpr char kNewUserScreen[] = "GS_NewUser";

  TGame();
  // "splashlogosgs", "splashgs", "closequerygs", "maings", each written
  // when not empty.
  QV_PROPERTY_TABLE(TGame)

  // The screen names, then custom settings, cursors, resource files,
  // options and screens, in this order.
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  // IGame.
  void Start(IEngine* engine) override;
  void Finish() override;
  void Advance(int dt) override;
  void Draw(ISurface* surface) override;
  bool MouseEvent(uint32_t message, TPoint point, uintptr_t keyState) override;
  bool KeyEvent(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void FocusChanged(bool focused) override;
  bool CloseQuery() override;
  void CollectUpdates() override;

  // IGameScreenOwner (SetOption also serves IGame).
  void SetOption(const std::string& name, const std::string& value) override;
  void SetOptionNoSave(const std::string& name, const std::string& value) override;
  TVariant GetOptionValue(const std::string& name) override;
  bool ShowScreen(const std::string& name, IParamCollection* params) override;
  bool CloseScreen(IGameScreenSlave* screen, IParamCollection* resultParams) override;
  IInterface* GetEngine() override;
  ICursorCollection* GetCursors() override { return cursors_.get(); }
  IGSCollection* GetScreens() override { return screens_.get(); }
  void SplashFinished() override;
  IUserProfileCollection* GetUserProfiles() override { return profiles_.get(); }
  ILevelRecords* GetLevelRecords() override { return levelRecords_.get(); }
  IHighScores* GetHighScores() override { return highScores_.get(); }
  Ref<IInterface> GetContextObject(const std::string& name) override;
  void SetContextObject(const std::string& name, const Ref<IInterface>& value) override;

  // IWidgetOwner, for the cursor widgets.
  const std::string& GetName() const override { return TPersistObject::GetName(); }
  IWindow* GetWindow() override { return nullptr; }
  IEventHandler* GetEventHandler() override { return nullptr; }
  TPoint ScreenToChildLocal(TPoint point) override { return point; }
  Ref<IWidget> CreateWidget(const std::string&, IParamCollection*) override { return nullptr; }
  Ref<IWidget> FindWidget(const std::string&) override { return nullptr; }
  std::string GetFullPath() override { return {}; }
  void AddDirtyRect(const TRect& rect) override;

  // The per-user folder of the options and player files; the engine's data
  // path unless set (tests set a temporary one).
  void SetDataFolder(const std::string& folder) { dataFolder_ = folder; }
  // Development and tests: the game starts straight into a level of a
  // play mode on "GS_Game" over the main screen, without the splash
  // screens; without a player profile it makes one named "Player".
  void StartWithLevel(int level, const std::string& playMode);
  static constexpr char kGameScreen[] = "GS_Game";
  static constexpr char kDefaultPlayer[] = "Player";
  TParamCollection& Options() { return options_.Params(); }
  TResourceFileCollection& ResourceFiles() { return *resourceFiles_; }
  TGSCollection& Screens() { return *screens_; }
  TCursorCollection& Cursors() { return *cursors_; }

  // The shown stack, bottom first.
  int ShownCount() const { return static_cast<int>(shown_.size()); }
  IGameScreenSlave* ShownScreen(int index) const;
  IGameScreenSlave* TopScreen() const { return shown_.empty() ? nullptr : shown_.back().get(); }
  bool IsShown(const std::string& name) const;
  bool IsLoading() const { return loading_; }
  // The language the tables hold ("" for English alone).
  const std::string& GetAppliedLanguage() const { return appliedLanguage_; }

protected:
  // The operations a game class may replace; the focus goes to the top screen.
  virtual void StartHook();
  virtual void LoadPersistedOptions();
  // True when the engine's value of some option changed.
  virtual bool PushOptionsToEngine();
  virtual void OnFocusChanged(bool focused);
  virtual bool OnCloseQuery();
  virtual bool OnKeyEvent(uint32_t message, uintptr_t wParam, intptr_t lParam);

private:
  void RemoveClosedScreens();
  // First the alternative lists of that mode whose option is on, then the
  // lists without an option (which leave the names already taken alone).
  void LoadResourceFiles(int loadMode, bool pump);
  // Brings the alternative lists of the loaded modes in step with their
  // options (all of them, or those of `option` only): a list whose option
  // went "yes" loads over the others, one whose option went "no" is
  // unloaded and the lists without an option fill its names in again. The
  // whole picture is repainted after a change.
  void ApplyAlternativeResources(const std::string& option);
  bool IsOptionOn(const std::string& name);
  IGameScreenSlave* FindScreen(const std::string& name) const;
  // Loads the language the option names when it is not the one loaded, and
  // expands every screen's texts again.
  void ApplyLanguage();

  TGameOptions options_;
  std::unique_ptr<TGlobalOptions> optionsFile_;
  Ref<TCustomSettingsCollection> customSettings_;
  Ref<TResourceFileCollection> resourceFiles_;
  Ref<TGSCollection> screens_;
  Ref<TCursorCollection> cursors_;
  Ref<THighScores> highScores_;
  Ref<TLevelRecords> levelRecords_;
  Ref<TUserProfileCollection> profiles_;
  std::string dataFolder_;
  std::vector<Ref<IGameScreenSlave>> shown_;
  Ref<IParamCollection> closeParams_;
  IEngine* engine_ = nullptr;
  bool waitingForSplashLogo_ = false;
  bool startHookPending_ = true;
  bool loading_ = true;
  // The load modes whose lists are loaded, and the alternative lists
  // (by name) loaded over them.
  std::set<int> loadedModes_;
  std::set<std::string> alternativesLoaded_;
  std::string splashLogoScreen_, splashScreen_, closeQueryScreen_, mainScreen_;
  // Keyed by lower-case name.
  std::map<std::string, Ref<IInterface>> contextObjects_;
  int directLevel_ = 0;
  std::string directMode_;
  // Start-up loaded the default language alone.
  std::string appliedLanguage_;
};

}  // namespace qv
