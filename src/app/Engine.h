// TEngine: the one engine object of the process. It owns the window and the
// display, the 32-bit software back surface everything is drawn into, the
// engine options, the global resources, the audio and the game, and runs
// the loop: one window message or one frame per turn, at most one frame
// every 10 ms.
//
// Re-entrancy: a resource load with pumping runs one loop turn before each
// resource, so the game's Advance, CollectUpdates, Draw and input calls are
// entered from inside its own call that asked for the load. Inside such a
// pumped turn the engine refuses a second pump, and defers a nested
// resource load until the running one has finished.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/IEngine.h"
#include "app/IGame.h"
#include "audio/EngineAudio.h"
#include "graphics/Surface.h"
#include "platform/PlatformWindow.h"
#include "resources/Resource.h"
#include "resources/ResourceOwner.h"
#include "storage/ParamCollection.h"
#include "storage/PersistObject.h"

namespace qv {

class TResourceCollection;

// Display channel layout: mask, shift and bit count of red, green, blue.
struct TChannelFormat {
  uint32_t mask = 0;
  uint8_t shift = 0;
  uint8_t bits = 0;
};
struct TPixelFormat {
  TChannelFormat red, green, blue;
};

// How a run is driven (the game executable's options; tests).
struct TEngineRunOptions {
  // Every frame advances exactly this many milliseconds and frames do not
  // sleep; 0 uses the real clock.
  uint32_t fixedStepMs = 0;
  // Quit after this many frames; 0: no limit.
  int64_t frameLimit = 0;
  // Called when frame `frame` (counted from 1) is due next, before the
  // messages that precede it are taken.
  std::function<void(int64_t frame)> beforeFrame;
  // Called when frame `frame` has been drawn and presented.
  std::function<void(int64_t frame)> afterFrame;
  // Output device of the audio (0: none, mixed by nobody).
  int audioDevice = 1;
  // Seeds the random generator instead of the time of day.
  std::optional<uint32_t> seed;
  // Called with the loaded game just before it starts.
  std::function<void(IGame& game)> beforeStart;
};

// The clock and sleep of the frame loop (replaceable in tests).
struct TEngineClock {
  std::function<uint32_t()> now;
  std::function<void(uint32_t ms)> sleep;
};

class TEngine : public TAbstractObject,
                public IEngine,
                public IApplication,
                public IResourceOwner,
                private IAudioResources {
protected:
  ~TEngine() override;

public:
  static constexpr char kWindowClassName[] = "TandorGameEngineWindow";
  static constexpr uint32_t kFrameDelay = 10;

  TEngine();
  void Initialize() override;

  // The seed the random generator started from in Init.
  uint32_t StartSeed() const { return startSeed_; }
  void SetRunOptions(TEngineRunOptions options) { run_ = std::move(options); }
  void SetClock(TEngineClock clock) { clock_ = std::move(clock); }

  // IApplication
  bool Init(const std::string& gameFile) override;
  void Run() override;
  void Done() override;

  // IEngine
  std::string GetApplicationPath() override;
  std::string GetDataPath() override;
  uint32_t Milliseconds() override;
  bool SaveDataText(const std::string& text, const std::string& fileName) override;
  bool SaveApplicationText(const std::string& text, const std::string& fileName) override;
  void SetOption(const std::string& name, const std::string& value) override;
  TVariant GetOption(const std::string& name) override;
  bool ApplyDisplaySettings() override;
  std::string LoadText(const std::string& path, const std::string& key) override;
  void LoadResources(const StorageRef& node, const std::string& tag, bool pump) override;
  void LoadResourceList(const std::string& path, const std::string& tag, bool pump) override;
  void LoadResourceListOver(const std::string& path, const std::string& tag) override;
  void UnloadResources(const std::string& tag) override;
  Ref<IResource> FindResource(const std::string& name) override;
  void RemoveResource(const std::string& name) override;
  TPoint GetCursorPos() override;
  void SetCursorPos(TPoint point) override;
  void HideSystemCursor() override { SetSystemCursorWanted(false); }
  void ShowSystemCursor() override { SetSystemCursorWanted(true); }
  uint32_t PlayMusic(const IMusic* music) override { return audio_->PlayMusic(music); }
  void StopMusic(const IMusic* music) override { audio_->StopMusic(music); }
  uint32_t PlaySound(const ISound* sound) override { return audio_->PlaySound(sound); }
  void StopSound(const ISound* sound) override { audio_->StopSound(sound); }
  int GetChannelState(uint32_t channel) override { return audio_->Library().ChannelIsActive(channel); }
  void StopChannel(uint32_t channel) override { audio_->Library().ChannelStop(channel); }
  void StopAllSounds() override { audio_->StopAllSounds(); }
  void SetMusicVolume(const std::string& value) override { audio_->SetMusicVolume(value); }
  void Close() override;
  void OpenFile(const std::string& path) override;
  void OpenURL(const std::string& address) override;
  Ref<ISurface> CreateSurface() override;
  Ref<IGame> GetGame() override { return game_; }
  void AddUpdateRect(const TRect& rect) override;
  void ClearUpdateRects() override;
  TPlatformWindow* GetWindowHandle() override { return window_.get(); }
  void SetMessageHook(TMessageHook hook) override { hook_ = std::move(hook); }
  void ClearMessageHook() override { hook_ = nullptr; }

  // IResourceOwner (FindResource serves both interfaces)
  std::unique_ptr<TStream> OpenResourceStream(const std::string& path) override;
  uint32_t LoadMusicModule(const std::string& path) override { return audio_->LoadMusicModule(path); }
  void FreeMusicModule(uint32_t music) override { audio_->FreeMusicModule(music); }
  uint32_t LoadSample(const std::string& path, int maxPlaybacks) override {
    return audio_->LoadSample(path, maxPlaybacks, false);
  }
  uint32_t LoadStream(const std::string& path, std::string& memory) override {
    return audio_->LoadStream(path, memory);
  }
  void FreeSampleOrStream(uint32_t handle) override { audio_->FreeSampleOrStream(handle); }
  TPixelFormat GetPixelFormat() const { return pixelFormat_; }
  // 0x00RRGGBB as a display pixel; 0 while the display is not ready.
  uint32_t ColorToPixel(uint32_t rgb) const;

  // The window procedure: what the engine does with one message.
  intptr_t WindowProc(const TMessage& message);
  // One turn of the loop: one message, or one frame, or a wait.
  void LoopTurn();
  // Why the last Init failed (one line); empty after a successful one.
  const std::string& StartError() const { return startError_; }
  // True while a resource load runs, and while a turn pumped by it runs.
  bool IsLoadingResources() const { return loading_; }
  bool IsInPumpedTurn() const { return pumping_; }

  ISurface* BackSurface() const { return back_.get(); }
  TEngineAudio& Audio() { return *audio_; }
  int ScreenWidth() const { return screenWidth_; }
  int ScreenHeight() const { return screenHeight_; }
  bool IsFullScreen() const { return fullScreen_; }
  // The window's whole factor ("WindowScale": 1, 2, 3, 0 for fit) and
  // whether the picture is scaled smooth.
  int WindowScale() const { return windowScale_; }
  bool SmoothScaling() const { return smoothScaling_; }
  bool IsActive() const { return active_; }
  bool IsFocused() const { return focused_; }
  bool IsTerminated() const { return terminated_; }
  bool IsDisplayReady() const { return displayReady_; }
  bool IsUpdatePending() const { return updatePending_; }
  bool IsSystemCursorShown() const { return cursorShown_; }
  int64_t FrameCount() const { return frames_; }
  // The colour depth a full-screen switch asks for.
  int FullScreenDepth() const;

private:
  // IAudioResources
  bool FindMusic(const std::string& name, bool choose, uint32_t& handle, int& format) override;
  bool FindSound(const std::string& name, bool choose, uint32_t& sample, int& volume) override;
  std::vector<uint32_t> SoundSamples() override;

  bool LoadGame(const std::string& gameFile);
  // The loop turn a pumping resource load runs before each resource; none
  // inside a pumped turn and none after the quit message.
  void PumpTurn();
  void LoadResourcesNow(const StorageRef& node, const std::string& tag, bool pump);
  // Reports a registered resource whose file gave no content.
  void ReportEmptyContent(IResource& resource);
  // Sets the window caption from "ApplicationCaption" when it changed.
  void UpdateCaption();
  std::string OptionText(const std::string& name);
  // The option as a whole number; `fallback`, reported, when it is none.
  int OptionInt(const std::string& name, int fallback);
  intptr_t DefaultProc(const TMessage& message);
  void SetFocused(bool focused);
  void SetSystemCursorWanted(bool wanted);
  void SetCursorOutside(bool outside);
  void ApplyCursorFlag(bool& flag, bool value, bool other);
  bool SurfacesUsable();
  void Frame(uint32_t dt);
  uint32_t Now() const;
  void Sleep(uint32_t ms) const;

  TEngineRunOptions run_;
  TEngineClock clock_;
  int screenWidth_ = 0, screenHeight_ = 0;
  int requestedDepth_ = 0;
  int desktopDepth_ = 32;
  bool fullScreen_ = false;
  int windowScale_ = 1;
  bool smoothScaling_ = false;
  std::string caption_ = kWindowClassName;  // the window's title when created
  std::string startError_;
  Ref<IGame> game_;
  Ref<TSurface> back_;
  TPixelFormat pixelFormat_;
  std::unique_ptr<TPlatformWindow> window_;
  TMessageHook hook_;
  // Declared before the resources, so that it outlives them.
  std::unique_ptr<TEngineAudio> audio_;
  Ref<TResourceCollection> resources_;
  Ref<TParamCollection> options_;
  bool active_ = false;
  bool displayReady_ = false;
  bool updatePending_ = false;
  bool terminated_ = false;
  bool initialized_ = false;
  uint32_t lastFrameTime_ = 0;
  uint32_t fixedTime_ = 0;  // the time fixed-step frames have advanced
  bool running_ = false;
  // Resource loads: one at a time; what is asked meanwhile waits here.
  struct TDeferredLoad {
    StorageRef node;  // or a list file:
    std::string path;
    std::string tag;
    bool pump = false;
  };
  bool loading_ = false;
  bool pumping_ = false;
  std::vector<TDeferredLoad> deferredLoads_;
  std::set<std::string> listsLoaded_;  // list files (path and tag) of the running load
  int64_t frames_ = 0;
  uint32_t startSeed_ = 0;
  bool focused_ = false;
  bool cursorOutside_ = false;
  bool systemCursorWanted_ = true;
  bool cursorShown_ = true;
};

}  // namespace qv
