// "Game": the object the game description makes. It owns the option
// values, every screen and the stack of the shown ones, the resource list
// files and the cursors; it decides which screen comes first (splash
// logos, then the splash while the deferred resources load, then the main
// screen), gives time, drawing and input to the shown screens, asks the
// close-query screen before the program may close and keeps options in
// step with the engine and the options store.
//
// Ownership: the game holds every screen (the screen collection) and the
// shown stack holds references into it; a screen keeps a plain pointer to
// the game (SetOwner), which Finish clears (Detach). Cursor widgets get the
// game as their plain-pointer owner and are detached in Finish. The engine
// outlives the game and is kept as a plain pointer.
#pragma once

#include <string>
#include <vector>

#include "app/IGame.h"
#include "app/IOptionStore.h"
#include "resources/ResourceFile.h"
#include "screens/ICursorCollection.h"
#include "screens/IGSCollection.h"
#include "screens/IGameScreenOwner.h"
#include "screens/IGameScreenSlave.h"
#include "storage/ParamCollection.h"
#include "storage/PersistObject.h"
#include "widgets/IWidgetOwner.h"

namespace qv {

class IEngine;

class TGame : public TPersistObject, public IWidgetOwner, public IGameScreenOwner, public IGame {
protected:
  ~TGame() override;

public:
  // The option names kept between runs, each enclosed in ";".
  static constexpr char kPersistedOptionNames[] = ";FullScreenMode;MusicVolume;SoundVolume;ShowHints;";
  static bool IsPersistedOption(const std::string& name);

  TGame();
  // "splashlogosgs", "splashgs", "closequerygs", "maings", each written
  // when not empty.
  QV_PROPERTY_TABLE(TGame)

  // The screen names, then resource files, options and screens, in this
  // order.
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

  // IWidgetOwner, for the cursor widgets.
  const std::string& GetName() const override { return TPersistObject::GetName(); }
  IWindow* GetWindow() override { return nullptr; }
  IEventHandler* GetEventHandler() override { return nullptr; }
  TPoint ScreenToChildLocal(TPoint point) override { return point; }
  Ref<IWidget> CreateWidget(const std::string&, IParamCollection*) override { return nullptr; }
  Ref<IWidget> FindWidget(const std::string&) override { return nullptr; }
  std::string GetFullPath() override { return {}; }
  void AddDirtyRect(const TRect& rect) override;

  // What the description and the process give the game.
  void SetScreens(const Ref<IGSCollection>& screens) { screens_ = screens; }
  void SetCursors(const Ref<ICursorCollection>& cursors) { cursors_ = cursors; }
  void SetOptionStore(const Ref<IOptionStore>& store) { optionStore_ = store; }
  TParamCollection& Options() { return *options_; }
  TResourceFileCollection& ResourceFiles() { return *resourceFiles_; }

  // The shown stack, bottom first.
  int ShownCount() const { return static_cast<int>(shown_.size()); }
  IGameScreenSlave* ShownScreen(int index) const;
  IGameScreenSlave* TopScreen() const { return shown_.empty() ? nullptr : shown_.back().get(); }
  bool IsShown(const std::string& name) const;
  bool IsLoading() const { return loading_; }

protected:
  // The six operations a game class may replace.
  virtual void StartHook();
  virtual void LoadPersistedOptions();
  // True when the engine's value of some option changed.
  virtual bool PushOptionsToEngine();
  virtual void OnFocusChanged(bool focused);
  virtual bool OnCloseQuery();
  virtual bool OnKeyEvent(uint32_t message, uintptr_t wParam, intptr_t lParam);

private:
  // Pushes one option; true when the engine's value changed.
  bool PushOption(const std::string& name, const TVariant& value);
  void RemoveClosedScreens();
  void LoadResourceFiles(int loadMode, bool pump);
  IGameScreenSlave* FindScreen(const std::string& name) const;

  Ref<TParamCollection> options_;
  Ref<TResourceFileCollection> resourceFiles_;
  Ref<IGSCollection> screens_;
  Ref<ICursorCollection> cursors_;
  Ref<IOptionStore> optionStore_;
  std::vector<Ref<IGameScreenSlave>> shown_;
  Ref<IParamCollection> closeParams_;
  IEngine* engine_ = nullptr;
  bool waitingForSplashLogo_ = false;
  bool startHookPending_ = true;
  bool loading_ = true;
  std::string splashLogoScreen_, splashScreen_, closeQueryScreen_, mainScreen_;
};

}  // namespace qv
