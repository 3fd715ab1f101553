// The main window over SDL2: the message queue in the engine's vocabulary,
// the display (windowed, or borderless desktop full screen with the image
// scaled to fit and letterboxed), presentation of the B,G,R,A back surface
// through a streaming texture, the system cursor and the desktop opener.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/Messages.h"
#include "platform/InjectedInput.h"
#include "platform/InputTranslator.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
struct _SDL_GameController;
typedef struct _SDL_GameController SDL_GameController;

namespace qv {

class TPlatformWindow {
public:
  // Brings up video and creates the (hidden) window; empty when there is no
  // display.
  static std::unique_ptr<TPlatformWindow> Create(const std::string& title);
  ~TPlatformWindow();
  TPlatformWindow(const TPlatformWindow&) = delete;
  TPlatformWindow& operator=(const TPlatformWindow&) = delete;

  // Messages. PeekMessage pumps the system's events into the queue and
  // tells whether a message waits; GetMessage takes the next one (false when
  // none waits).
  bool PeekMessage();
  bool GetMessage(TMessage& message);
  // Blocks until an event arrives (at most `timeoutMs`).
  void WaitMessage(int timeoutMs = 100);
  void PostMessage(const TMessage& message);
  void PostQuitMessage(int exitCode) { PostMessage({WM_QUIT, static_cast<uintptr_t>(exitCode), 0}); }
  // What the window does with a message nobody consumed: a close request
  // destroys the window (WM_DESTROY follows), minimise and restore commands
  // act on the window, the hit test answers client or outside.
  intptr_t DefaultProc(const TMessage& message);
  bool IsDestroyed() const { return window_ == nullptr; }

  // Display. Windowed: the client area is width x height times `scale` (1
  // to 3; 0 fits the largest whole factor into the desktop's usable area),
  // centred the first time and whenever its size changes, at the
  // remembered place otherwise. Full screen: desktop full screen, the image
  // scaled with its aspect kept. The picture is scaled with its pixels kept
  // sharp, or `smooth`; either way the mouse comes back in back-surface
  // pixels.
  bool SetWindowed(int width, int height, int scale = 1, bool smooth = false);
  bool SetFullScreen(int width, int height, bool smooth = false);
  // The whole factor that fits width x height into the desktop's usable
  // area (at least 1).
  int FitScale(int width, int height) const;
  int Scale() const { return scale_; }
  bool IsFullScreen() const { return fullScreen_; }
  void SetCaption(const std::string& caption);
  // Bits per pixel of the desktop's mode.
  int DesktopBitsPerPixel() const;
  // True when presenting is possible; recreates the texture after the
  // renderer lost it and then reports `restored`.
  bool SurfacesUsable(bool& restored);
  // Copies a 32-bit B,G,R,A image of the screen size to the display and
  // shows it. False when the display is not ready.
  bool Present(const void* pixels, int width, int height, int pitch);

  // Cursor, in back-surface coordinates.
  void ShowCursor(bool show);
  bool GetCursorPos(int& x, int& y) const;
  void SetCursorPos(int x, int y);

  // Hands a file path or an address to the desktop's opener.
  static bool OpenWithDesktop(const std::string& target);

  // Synthetic input, delivered through the same translation as real input
  // (coordinates in back-surface pixels; key names as TInjectedInput's).
  void InjectMouseMove(int x, int y) { injected_.MouseMove(x, y); }
  void InjectMouseButton(int x, int y, int button, bool down, int clicks = 1) {
    injected_.MouseButton(x, y, button, down, clicks);
  }
  bool InjectKey(const std::string& name, bool down) { return injected_.Key(name, down); }
  static bool IsKeyName(const std::string& name) { return TInjectedInput::IsKeyName(name); }
  bool InjectKeyPress(const std::string& name) { return injected_.KeyPress(name); }
  void InjectText(const std::string& utf8) { injected_.Text(utf8); }
  // The window's close button.
  void InjectClose() { injected_.Close(); }
  TInjectedInput& Injected() { return injected_; }

  const TInputTranslator& Translator() const { return translator_; }
  // The SDL window's id: the events of the system's mouse and keyboard
  // for this window carry it.
  uint32_t SdlWindowId() const { return windowId_; }

  // Every input event the window takes (real or injected) is handed to the
  // recorder as one event of the input-script format, without its frame
  // ("move X Y", "down X Y left", "keydown NAME", "text CHARS", "close").
  void SetRecorder(std::function<void(const std::string& event)> recorder) {
    recorder_ = std::move(recorder);
  }

private:
  TPlatformWindow() = default;
  bool CreateTexture(int width, int height);
  void Destroy();
  void PumpEvents();
  void Take(const SDL_Event& event, std::vector<TMessage>& out);
  void LogicalToWindow(int x, int y, int& wx, int& wy) const;
  // Into SDL's queue, on this window and in window coordinates.
  void PushInjected(SDL_Event& event);
  // The mouse id that marks injected motion when it comes back from SDL's
  // queue (SDL numbers real mice from 0 and touch as all ones).
  static constexpr uint32_t kInjectedMouseId = 0x51564D49u;
  // The last injected pointer position (logical), used while no real
  // motion has come since.
  bool injectedPointer_ = false;
  int injectedX_ = 0;
  int injectedY_ = 0;

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  uint32_t windowId_ = 0;
  int texWidth_ = 0, texHeight_ = 0;
  int width_ = 0, height_ = 0;
  int scale_ = 1;
  bool smooth_ = false;
  bool fullScreen_ = false;
  bool shownWindowed_ = false;
  int windowX_ = 0, windowY_ = 0;
  bool targetsLost_ = false;
  bool videoUp_ = false;
  bool padsUp_ = false;
  std::map<int32_t, SDL_GameController*> pads_;  // by joystick instance id
  std::function<void(const std::string&)> recorder_;
  TInjectedInput injected_{[this](SDL_Event& event) { PushInjected(event); }};
  std::deque<TMessage> queue_;
  TInputTranslator translator_;
};

}  // namespace qv
