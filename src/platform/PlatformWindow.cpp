#include "platform/PlatformWindow.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace qv {

namespace {

constexpr int kPlaceholderSize = 64;

bool ParseKeyName(const std::string& text, SDL_Keycode& key, uint16_t& mods) {
  std::string rest = text;
  mods = 0;
  for (;;) {
    const size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 >= rest.size()) break;
    std::string prefix = rest.substr(0, plus);
    for (char& c : prefix) c = static_cast<char>(SDL_tolower(static_cast<unsigned char>(c)));
    if (prefix == "alt")
      mods |= KMOD_LALT;
    else if (prefix == "ctrl")
      mods |= KMOD_LCTRL;
    else if (prefix == "shift")
      mods |= KMOD_LSHIFT;
    else
      break;
    rest = rest.substr(plus + 1);
  }
  key = SDL_GetKeyFromName(rest.c_str());
  if (key != SDLK_UNKNOWN) return true;
  // Names without blanks for scripts: "LShift", "Left_Shift", "Enter", "Esc".
  static const std::pair<const char*, const char*> kAliases[] = {
      {"lshift", "Left Shift"}, {"rshift", "Right Shift"}, {"lctrl", "Left Ctrl"}, {"rctrl", "Right Ctrl"},
      {"lalt", "Left Alt"},     {"ralt", "Right Alt"},     {"enter", "Return"},    {"esc", "Escape"},
  };
  std::string lower = rest;
  for (char& c : lower) c = static_cast<char>(SDL_tolower(static_cast<unsigned char>(c)));
  for (const auto& [alias, name] : kAliases)
    if (lower == alias) key = SDL_GetKeyFromName(name);
  if (key == SDLK_UNKNOWN) {
    std::string spaced = rest;
    for (char& c : spaced)
      if (c == '_') c = ' ';
    key = SDL_GetKeyFromName(spaced.c_str());
  }
  return key != SDLK_UNKNOWN;
}

uint16_t ModifierOfKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_LALT:
      return KMOD_LALT;
    case SDLK_RALT:
      return KMOD_RALT;
    case SDLK_LCTRL:
      return KMOD_LCTRL;
    case SDLK_RCTRL:
      return KMOD_RCTRL;
    case SDLK_LSHIFT:
      return KMOD_LSHIFT;
    case SDLK_RSHIFT:
      return KMOD_RSHIFT;
    default:
      return 0;
  }
}

// The text a plain key stroke types; empty for keys that type none.
std::string TextOfKey(SDL_Keycode key, uint16_t mods) {
  if (mods & (KMOD_ALT | KMOD_CTRL)) return {};
  if (key == SDLK_SPACE) return " ";
  if (key > 32 && key < 127) {
    char c = static_cast<char>(key);
    if ((mods & KMOD_SHIFT) && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return std::string(1, c);
  }
  return {};
}

}  // namespace

std::unique_ptr<TPlatformWindow> TPlatformWindow::Create(const std::string& title) {
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "1");
  SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  std::unique_ptr<TPlatformWindow> w(new TPlatformWindow());
  w->videoUp_ = true;
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
  while (SDL_PollEvent(&e)) Take(e, out);
  queue_.insert(queue_.end(), out.begin(), out.end());
}

void TPlatformWindow::Take(const SDL_Event& e, std::vector<TMessage>& out) {
  if (e.type == SDL_RENDER_TARGETS_RESET || e.type == SDL_RENDER_DEVICE_RESET) {
    targetsLost_ = true;
    return;
  }
  if (recorder_) {
    const std::string event = ScriptEventOf(e);
    if (!event.empty()) recorder_(event);
  }
  translator_.Translate(e, out);
}

std::string TPlatformWindow::ScriptEventOf(const SDL_Event& e) {
  auto button = [](uint8_t b) -> const char* {
    return b == SDL_BUTTON_LEFT     ? "left"
           : b == SDL_BUTTON_MIDDLE ? "middle"
           : b == SDL_BUTTON_RIGHT  ? "right"
                                    : nullptr;
  };
  auto keyName = [](SDL_Keycode key) {
    std::string name = SDL_GetKeyName(key);
    for (char& c : name)
      if (c == ' ') c = '_';
    return IsKeyName(name) ? name : std::string();
  };
  switch (e.type) {
    case SDL_MOUSEMOTION:
      return "move " + std::to_string(e.motion.x) + " " + std::to_string(e.motion.y);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const char* name = button(e.button.button);
      if (!name) return {};
      return std::string(e.type == SDL_MOUSEBUTTONDOWN ? "down " : "up ") + std::to_string(e.button.x) + " " +
             std::to_string(e.button.y) + " " + name;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const std::string name = keyName(e.key.keysym.sym);
      if (name.empty()) return {};
      // The modifiers held, except the key's own (a modifier key's stroke
      // records itself).
      const uint16_t mods = static_cast<uint16_t>(e.key.keysym.mod & ~ModifierOfKey(e.key.keysym.sym));
      std::string prefix;
      if (mods & KMOD_ALT) prefix += "alt+";
      if (mods & KMOD_CTRL) prefix += "ctrl+";
      if (mods & KMOD_SHIFT) prefix += "shift+";
      return (e.type == SDL_KEYDOWN ? "keydown " : "keyup ") + prefix + name;
    }
    case SDL_TEXTINPUT: {
      const std::string text = e.text.text;
      if (text.empty() || text.find_first_of("\r\n") != std::string::npos) return {};
      return "text " + text;
    }
    case SDL_WINDOWEVENT:
      return e.window.event == SDL_WINDOWEVENT_CLOSE ? "close" : std::string();
    case SDL_QUIT:
      return "close";
    default:
      return {};
  }
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
  if (texture_ && texWidth_ == width && texHeight_ == height && !targetsLost_) return true;
  if (texture_) SDL_DestroyTexture(texture_);
  texture_ =
      SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, width, height);
  texWidth_ = texture_ ? width : 0;
  texHeight_ = texture_ ? height : 0;
  targetsLost_ = false;
  return texture_ != nullptr;
}

bool TPlatformWindow::SetWindowed(int width, int height) {
  if (!window_ || width <= 0 || height <= 0) return false;
  if (fullScreen_ && SDL_SetWindowFullscreen(window_, 0) != 0) return false;
  fullScreen_ = false;
  SDL_SetWindowBordered(window_, SDL_TRUE);
  SDL_SetWindowSize(window_, width, height);
  if (!shownWindowed_)
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
  else
    SDL_SetWindowPosition(window_, windowX_, windowY_);
  SDL_ShowWindow(window_);
  if (!shownWindowed_) {
    SDL_GetWindowPosition(window_, &windowX_, &windowY_);
    shownWindowed_ = true;
  }
  width_ = width;
  height_ = height;
  SDL_RenderSetLogicalSize(renderer_, width, height);
  return CreateTexture(width, height);
}

bool TPlatformWindow::SetFullScreen(int width, int height) {
  if (!window_ || width <= 0 || height <= 0) return false;
  if (!fullScreen_ && shownWindowed_) SDL_GetWindowPosition(window_, &windowX_, &windowY_);
  SDL_ShowWindow(window_);
  if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return false;
  fullScreen_ = true;
  width_ = width;
  height_ = height;
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
  if (!window_) return;
  int wx = 0, wy = 0;
  LogicalToWindow(x, y, wx, wy);
  SDL_WarpMouseInWindow(window_, wx, wy);
}

bool TPlatformWindow::OpenWithDesktop(const std::string& target) {
  return SDL_OpenURL(target.c_str()) == 0;
}

void TPlatformWindow::InjectMouseMove(int x, int y) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = windowId_;
  e.motion.state = injectedButtons_;
  LogicalToWindow(x, y, e.motion.x, e.motion.y);
  SDL_PushEvent(&e);
}

void TPlatformWindow::InjectMouseButton(int x, int y, int button, bool down, int clicks) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = windowId_;
  e.button.button = static_cast<uint8_t>(button);
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = static_cast<uint8_t>(clicks);
  if (down)
    injectedButtons_ |= SDL_BUTTON(button);
  else
    injectedButtons_ &= ~SDL_BUTTON(button);
  LogicalToWindow(x, y, e.button.x, e.button.y);
  SDL_PushEvent(&e);
}

bool TPlatformWindow::InjectKey(const std::string& name, bool down) {
  SDL_Keycode key = SDLK_UNKNOWN;
  uint16_t mods = 0;
  if (!ParseKeyName(name, key, mods)) return false;
  const uint16_t own = ModifierOfKey(key);
  if (own) {
    if (down)
      injectedMods_ |= own;
    else
      injectedMods_ &= static_cast<uint16_t>(~own);
  }
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.windowID = windowId_;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  e.key.keysym.mod = static_cast<uint16_t>(injectedMods_ | mods);
  SDL_PushEvent(&e);
  return true;
}

bool TPlatformWindow::IsKeyName(const std::string& name) {
  SDL_Keycode key = SDLK_UNKNOWN;
  uint16_t mods = 0;
  return ParseKeyName(name, key, mods);
}

bool TPlatformWindow::InjectKeyPress(const std::string& name) {
  SDL_Keycode key = SDLK_UNKNOWN;
  uint16_t mods = 0;
  if (!ParseKeyName(name, key, mods)) return false;
  InjectKey(name, true);
  const std::string text = TextOfKey(key, static_cast<uint16_t>(injectedMods_ | mods));
  if (!text.empty()) InjectText(text);
  InjectKey(name, false);
  return true;
}

void TPlatformWindow::InjectClose() {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = windowId_;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  SDL_PushEvent(&e);
}

void TPlatformWindow::InjectText(const std::string& utf8) {
  // Text events carry at most 31 bytes; longer text goes in pieces that do
  // not split a character.
  size_t pos = 0;
  while (pos < utf8.size()) {
    size_t len = std::min<size_t>(SDL_TEXTINPUTEVENT_TEXT_SIZE - 1, utf8.size() - pos);
    while (len > 0 && pos + len < utf8.size() && (static_cast<unsigned char>(utf8[pos + len]) & 0xC0) == 0x80)
      --len;
    if (len == 0) break;
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_TEXTINPUT;
    e.text.windowID = windowId_;
    std::memcpy(e.text.text, utf8.data() + pos, len);
    SDL_PushEvent(&e);
    pos += len;
  }
}

}  // namespace qv
