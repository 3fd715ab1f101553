#include "platform/PlatformWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace qv {

namespace {

constexpr int kPlaceholderSize = 64;

}  // namespace

std::unique_ptr<TPlatformWindow> TPlatformWindow::Create(const std::string& title) {
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  std::unique_ptr<TPlatformWindow> w(new TPlatformWindow());
  w->videoUp_ = true;
  // Gamepads are welcome but not needed: without the subsystem the game
  // simply has none.
  w->padsUp_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  w->window_ = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                kPlaceholderSize, kPlaceholderSize, SDL_WINDOW_HIDDEN);
  if (!w->window_) return nullptr;
  w->windowId_ = SDL_GetWindowID(w->window_);
  w->renderer_ = SDL_CreateRenderer(w->window_, -1, 0);
  if (!w->renderer_) w->renderer_ = SDL_CreateRenderer(w->window_, -1, SDL_RENDERER_SOFTWARE);
  if (!w->renderer_) return nullptr;
  return w;
}

TPlatformWindow::~TPlatformWindow() {
  Destroy();
  for (auto& [id, pad] : pads_) SDL_GameControllerClose(pad);
  pads_.clear();
  if (padsUp_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  if (videoUp_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void TPlatformWindow::Destroy() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  if (window_) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  texWidth_ = texHeight_ = 0;
}

void TPlatformWindow::PumpEvents() {
  SDL_Event e;
  std::vector<TMessage> out;
  while (SDL_PollEvent(&e)) {
    // Only the real mouse hands the cursor back to SDL's pointer: the
    // injected moves come back through this queue too.
    if (e.type == SDL_MOUSEMOTION && e.motion.which != kInjectedMouseId) injectedPointer_ = false;
    Take(e, out);
  }
  queue_.insert(queue_.end(), out.begin(), out.end());
}

void TPlatformWindow::Take(const SDL_Event& e, std::vector<TMessage>& out) {
  if (e.type == SDL_RENDER_TARGETS_RESET || e.type == SDL_RENDER_DEVICE_RESET) {
    targetsLost_ = true;
    return;
  }
  // Gamepads come and go while the game runs (the ones there at the start
  // arrive as additions too).
  if (e.type == SDL_CONTROLLERDEVICEADDED) {
    if (SDL_GameController* pad = SDL_GameControllerOpen(e.cdevice.which))
      pads_[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad))] = pad;
    return;
  }
  if (e.type == SDL_CONTROLLERDEVICEREMOVED) {
    if (auto it = pads_.find(e.cdevice.which); it != pads_.end()) {
      SDL_GameControllerClose(it->second);
      pads_.erase(it);
    }
    return;
  }
  if (recorder_) {
    const std::string event = TInjectedInput::ScriptEventOf(e);
    if (!event.empty()) recorder_(event);
  }
  translator_.Translate(e, out);
}

bool TPlatformWindow::PeekMessage() {
  if (queue_.empty()) PumpEvents();
  return !queue_.empty();
}

bool TPlatformWindow::GetMessage(TMessage& message) {
  if (!PeekMessage()) return false;
  message = queue_.front();
  queue_.pop_front();
  return true;
}

void TPlatformWindow::WaitMessage(int timeoutMs) {
  if (!queue_.empty()) return;
  SDL_Event e;
  if (SDL_WaitEventTimeout(&e, timeoutMs)) {
    std::vector<TMessage> out;
    Take(e, out);
    queue_.insert(queue_.end(), out.begin(), out.end());
  }
}

void TPlatformWindow::PostMessage(const TMessage& message) {
  queue_.push_back(message);
}

intptr_t TPlatformWindow::DefaultProc(const TMessage& message) {
  switch (message.message) {
    case WM_CLOSE:
      if (window_) {
        Destroy();
        PostMessage({WM_DESTROY, 0, 0});
      }
      return 0;
    case WM_SYSCOMMAND:
      if (message.wParam == SC_MINIMIZE && window_ && !(SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED))
        SDL_MinimizeWindow(window_);
      else if (message.wParam == SC_CLOSE)
        PostMessage({WM_CLOSE, 0, 0});
      return 0;
    case WM_NCHITTEST:
      return message.wParam ? HTCLIENT : HTNOWHERE;
    default:
      return 0;
  }
}

bool TPlatformWindow::CreateTexture(int width, int height) {
  if (!renderer_ || width <= 0 || height <= 0) return false;
  if (texture_ && texWidth_ == width && texHeight_ == height && !targetsLost_) {
    SDL_SetTextureScaleMode(texture_, smooth_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return true;
  }
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
  if (texture_) SDL_SetTextureScaleMode(texture_, smooth_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  texWidth_ = texture_ ? width : 0;
  texHeight_ = texture_ ? height : 0;
  targetsLost_ = false;
  return texture_ != nullptr;
}

int TPlatformWindow::FitScale(int width, int height) const {
  if (width <= 0 || height <= 0) return 1;
  SDL_Rect area;
  const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
  if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &area) != 0) return 1;
  // Room for the window's frame and title.
  constexpr int kFrame = 64;
  const int factor = std::min((area.w - kFrame / 2) / width, (area.h - kFrame) / height);
  return std::max(1, std::min(factor, 8));
}

bool TPlatformWindow::SetWindowed(int width, int height, int scale, bool smooth) {
  if (!window_ || width <= 0 || height <= 0) return false;
  const int factor = scale <= 0 ? FitScale(width, height) : std::min(scale, 8);
  if (fullScreen_ && SDL_SetWindowFullscreen(window_, 0) != 0) return false;
  const bool resized = shownWindowed_ && factor != scale_;
  fullScreen_ = false;
  SDL_SetWindowBordered(window_, SDL_TRUE);
  SDL_SetWindowSize(window_, width * factor, height * factor);
  if (!shownWindowed_ || resized)
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  else
    SDL_SetWindowPosition(window_, windowX_, windowY_);
  SDL_ShowWindow(window_);
  if (!shownWindowed_ || resized) {
    SDL_GetWindowPosition(window_, &windowX_, &windowY_);
    shownWindowed_ = true;
  }
  width_ = width;
  height_ = height;
  scale_ = factor;
  smooth_ = smooth;
  SDL_RenderSetLogicalSize(renderer_, width, height);
  return CreateTexture(width, height);
}

bool TPlatformWindow::SetFullScreen(int width, int height, bool smooth) {
  if (!window_ || width <= 0 || height <= 0) return false;
  if (!fullScreen_ && shownWindowed_) SDL_GetWindowPosition(window_, &windowX_, &windowY_);
  SDL_ShowWindow(window_);
  if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
  fullScreen_ = true;
  width_ = width;
  height_ = height;
  smooth_ = smooth;
  SDL_RenderSetLogicalSize(renderer_, width, height);
  return CreateTexture(width, height);
}

void TPlatformWindow::SetCaption(const std::string& caption) {
  if (window_) SDL_SetWindowTitle(window_, caption.c_str());
}

int TPlatformWindow::DesktopBitsPerPixel() const {
  SDL_DisplayMode mode;
  const int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
  if (SDL_GetDesktopDisplayMode(display < 0 ? 0 : display, &mode) != 0) return 32;
  return static_cast<int>(SDL_BITSPERPIXEL(mode.format));
}

bool TPlatformWindow::SurfacesUsable(bool& restored) {
  restored = false;
  if (!window_ || !renderer_) return false;
  if (targetsLost_ || !texture_) {
    if (!CreateTexture(width_, height_)) return false;
    restored = true;
  }
  return true;
}

bool TPlatformWindow::Present(const void* pixels, int width, int height, int pitch) {
  if (!texture_ || !pixels || width != texWidth_ || height != texHeight_) return false;
  if (SDL_UpdateTexture(texture_, nullptr, pixels, pitch) != 0) return false;
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  SDL_RenderClear(renderer_);
  SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
  SDL_RenderPresent(renderer_);
  return true;
}

void TPlatformWindow::ShowCursor(bool show) {
  SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

bool TPlatformWindow::GetCursorPos(int& x, int& y) const {
  if (injectedPointer_) {
    x = injectedX_;
    y = injectedY_;
    return true;
  }
  int wx = 0, wy = 0;
  SDL_GetMouseState(&wx, &wy);
  if (!renderer_) {
    x = wx;
    y = wy;
    return false;
  }
  float lx = 0, ly = 0;
  SDL_RenderWindowToLogical(renderer_, wx, wy, &lx, &ly);
  x = static_cast<int>(lx);
  y = static_cast<int>(ly);
  return true;
}

void TPlatformWindow::LogicalToWindow(int x, int y, int& wx, int& wy) const {
  wx = x;
  wy = y;
  if (!renderer_) return;
  SDL_RenderLogicalToWindow(renderer_, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
}

void TPlatformWindow::SetCursorPos(int x, int y) {
  injectedPointer_ = false;
  if (!window_) return;
  int wx = 0, wy = 0;
  LogicalToWindow(x, y, wx, wy);
  SDL_WarpMouseInWindow(window_, wx, wy);
}

bool TPlatformWindow::OpenWithDesktop(const std::string& target) {
  return SDL_OpenURL(target.c_str()) == 0;
}

void TPlatformWindow::PushInjected(SDL_Event& e) {
  switch (e.type) {
    case SDL_MOUSEMOTION:
      // An injected pointer does not move SDL's own: the cursor follows
      // it until the real mouse moves.
      injectedPointer_ = true;
      injectedX_ = e.motion.x;
      injectedY_ = e.motion.y;
      e.motion.windowID = windowId_;
      e.motion.which = kInjectedMouseId;
      LogicalToWindow(e.motion.x, e.motion.y, e.motion.x, e.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      injectedPointer_ = true;
      injectedX_ = e.button.x;
      injectedY_ = e.button.y;
      e.button.windowID = windowId_;
      LogicalToWindow(e.button.x, e.button.y, e.button.x, e.button.y);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      e.key.windowID = windowId_;
      break;
    case SDL_TEXTINPUT:
      e.text.windowID = windowId_;
      break;
    case SDL_WINDOWEVENT:
      e.window.windowID = windowId_;
      break;
    default:
      break;
  }
  SDL_PushEvent(&e);
}

}  // namespace qv
