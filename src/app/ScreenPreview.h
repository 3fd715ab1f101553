// The screen preview of the data tool's "render --screen": a stand-in for the game that
// shows one screen and records what the screen asks of it, and a view of
// the engine that forwards every service to the real one while it records
// option changes and lets the mouse position follow the input script.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/IEngine.h"
#include "core/Messages.h"
#include "screens/GameScreen.h"
#include "screens/IGameScreenObserver.h"
#include "screens/IGameScreenOwner.h"
#include "storage/PersistObject.h"
#include "widgets/IWidgetOwner.h"

namespace qv {

// The JSON lines of the preview's events, each stamped with the current
// frame, handed to a sink (none: nothing is recorded).
class TPreviewLog {
public:
  using TSink = std::function<void(const std::string& line)>;
  explicit TPreviewLog(TSink sink) : sink_(std::move(sink)) {}
  void SetFrame(long long frame) { frame_ = frame; }
  void Event(const std::string& kind, const std::string& fields);
  // {"NAME":"VALUE",...} of a parameter collection; {} for none.
  static std::string Params(IParamCollection* params);

private:
  TSink sink_;
  long long frame_ = 0;
};

class TPreviewEngine : public TAbstractObject,
                       public IResourceLookup,
                       public ISoundPlayer,
                       public ISoundChannels,
                       public IMusicPlayer,
                       public ISurfaceFactory,
                       public IUpdateRegion,
                       public ICursorPosition,
                       public IDesktopOpener,
                       public IEngineOptions,
                       public IClock {
public:
  TPreviewEngine(IEngine& engine, TPreviewLog& log) : engine_(engine), log_(log) {}

  Ref<IResource> FindResource(const std::string& name) override { return engine_.FindResource(name); }
  uint32_t PlaySound(const ISound* sound) override { return engine_.PlaySound(sound); }
  void StopSound(const ISound* sound) override { engine_.StopSound(sound); }
  void StopAllSounds() override { engine_.StopAllSounds(); }
  int GetChannelState(uint32_t channel) override { return engine_.GetChannelState(channel); }
  void StopChannel(uint32_t channel) override { engine_.StopChannel(channel); }
  uint32_t PlayMusic(const IMusic* music) override { return engine_.PlayMusic(music); }
  void StopMusic(const IMusic* music) override { engine_.StopMusic(music); }
  Ref<ISurface> CreateSurface() override { return engine_.CreateSurface(); }
  void AddUpdateRect(const TRect& rect) override { engine_.AddUpdateRect(rect); }
  // Where the script's last mouse event was.
  TPoint GetCursorPos() override { return cursor_; }
  void SetCursor(TPoint point) { cursor_ = point; }
  // A preview hands nothing to the desktop.
  void OpenFile(const std::string&) override {}
  void OpenURL(const std::string&) override {}
  TVariant GetOption(const std::string& name) override { return engine_.GetOption(name); }
  void SetOption(const std::string& name, const std::string& value) override;
  uint32_t Milliseconds() override { return engine_.Milliseconds(); }

protected:
  ~TPreviewEngine() override = default;

private:
  IEngine& engine_;
  TPreviewLog& log_;
  TPoint cursor_;
};

// The game as one screen sees it: a stack that holds only that screen.
// Showing another screen is recorded and refused (the preview knows no
// other); closing the screen hides it, and it leaves once its root is
// invisible, after any hide effect.
class TPreviewGame : public TAbstractObject,
                     public IGameScreenOwner,
                     public IWidgetOwner,
                     public IGameScreenObserver {
public:
  TPreviewGame(TGameScreen& screen, TPreviewEngine& engine, TPreviewLog& log);

  // Gives the screen this game as owner and shows it.
  void Start();
  // Takes the screen off again (observer and owner).
  void Finish();
  // The screen's time, then its removal once closed and invisible.
  void Advance(int dt);
  void CollectUpdates();
  // A window message, handed on as the engine's window procedure hands
  // them to the game: keys and characters to KeyEvent (Alt with a
  // character as WM_CHAR with KF_ALTDOWN), mouse messages to MouseEvent,
  // which also move the cursor position.
  void Route(const TMessage& message);
  bool IsShown() const { return shown_; }

  // IGameScreenOwner
  bool ShowScreen(const std::string& name, IParamCollection* params) override;
  bool CloseScreen(IGameScreenSlave* screen, IParamCollection* resultParams) override;
  IInterface* GetEngine() override;
  ICursorCollection* GetCursors() override { return nullptr; }
  void SetOption(const std::string& name, const std::string& value) override;
  void SetOptionNoSave(const std::string& name, const std::string& value) override;
  TVariant GetOptionValue(const std::string& name) override;
  IGSCollection* GetScreens() override { return nullptr; }
  void SplashFinished() override {}

  // IWidgetOwner, the top of an owner chain outside the screens.
  const std::string& GetName() const override { return name_; }
  IWindow* GetWindow() override { return nullptr; }
  IEventHandler* GetEventHandler() override { return nullptr; }
  TPoint ScreenToChildLocal(TPoint point) override { return point; }
  Ref<IWidget> CreateWidget(const std::string&, IParamCollection*) override { return nullptr; }
  Ref<IWidget> FindWidget(const std::string&) override { return nullptr; }
  std::string GetFullPath() override { return {}; }
  void AddDirtyRect(const TRect& rect) override { engine_.AddUpdateRect(rect); }

  // IGameScreenObserver
  void ControlEventSeen(IGameScreenSlave& screen, IWidget* sender, int code,
                        IParamCollection* params) override;
  void FocusChanged(IGameScreenSlave& screen, IWidget* focus) override;

protected:
  ~TPreviewGame() override = default;

private:
  void RemoveClosed();

  TGameScreen& screen_;
  TPreviewEngine& engine_;
  TPreviewLog& log_;
  bool shown_ = false;
  Ref<IParamCollection> closeParams_;
  std::string name_;
};

}  // namespace qv
