#include "platform/InjectedInput.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace qv {

namespace {

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

void TInjectedInput::MouseMove(int x, int y) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEMOTION;
  e.motion.state = buttons_;
  e.motion.x = x;
  e.motion.y = y;
  sink_(e);
}

void TInjectedInput::MouseButton(int x, int y, int button, bool down, int clicks) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = static_cast<uint8_t>(button);
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = static_cast<uint8_t>(clicks);
  if (down)
    buttons_ |= SDL_BUTTON(button);
  else
    buttons_ &= ~SDL_BUTTON(button);
  e.button.x = x;
  e.button.y = y;
  sink_(e);
}

bool TInjectedInput::Key(const std::string& name, bool down) {
  SDL_Keycode key = SDLK_UNKNOWN;
  uint16_t mods = 0;
  if (!ParseKeyName(name, key, mods)) return false;
  const uint16_t own = ModifierOfKey(key);
  if (own) {
    if (down)
      mods_ |= own;
    else
      mods_ &= static_cast<uint16_t>(~own);
  }
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  e.key.keysym.mod = static_cast<uint16_t>(mods_ | mods);
  sink_(e);
  return true;
}

bool TInjectedInput::IsKeyName(const std::string& name) {
  SDL_Keycode key = SDLK_UNKNOWN;
  uint16_t mods = 0;
  return ParseKeyName(name, key, mods);
}

bool TInjectedInput::KeyPress(const std::string& name) {
  SDL_Keycode key = SDLK_UNKNOWN;
  uint16_t mods = 0;
  if (!ParseKeyName(name, key, mods)) return false;
  Key(name, true);
  const std::string text = TextOfKey(key, static_cast<uint16_t>(mods_ | mods));
  if (!text.empty()) Text(text);
  Key(name, false);
  return true;
}

void TInjectedInput::Close() {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_WINDOWEVENT;
  e.window.event = SDL_WINDOWEVENT_CLOSE;
  sink_(e);
}

bool TInjectedInput::IsPadButtonName(const std::string& name) {
  return SDL_GameControllerGetButtonFromString(name.c_str()) != SDL_CONTROLLER_BUTTON_INVALID;
}

bool TInjectedInput::IsPadAxisName(const std::string& name) {
  return SDL_GameControllerGetAxisFromString(name.c_str()) != SDL_CONTROLLER_AXIS_INVALID;
}

bool TInjectedInput::PadButton(const std::string& name, bool down) {
  const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
  if (button == SDL_CONTROLLER_BUTTON_INVALID) return false;
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
  e.cbutton.which = kInjectedPadId;
  e.cbutton.button = static_cast<uint8_t>(button);
  e.cbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
  sink_(e);
  return true;
}

bool TInjectedInput::PadPress(const std::string& name) {
  return PadButton(name, true) && PadButton(name, false);
}

bool TInjectedInput::PadAxis(const std::string& name, int value) {
  const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
  if (axis == SDL_CONTROLLER_AXIS_INVALID) return false;
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_CONTROLLERAXISMOTION;
  e.caxis.which = kInjectedPadId;
  e.caxis.axis = static_cast<uint8_t>(axis);
  e.caxis.value = static_cast<int16_t>(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
  sink_(e);
  return true;
}

void TInjectedInput::Focus(bool gained) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_WINDOWEVENT;
  e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
  sink_(e);
}

std::string TInjectedInput::ScriptEventOf(const SDL_Event& e) {
  auto button = [](uint8_t b) -> const char* {
    return b == SDL_BUTTON_LEFT     ? "left"
           : b == SDL_BUTTON_MIDDLE ? "middle"
           : b == SDL_BUTTON_RIGHT  ? "right"
                                    : nullptr;
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
      std::string name = SDL_GetKeyName(e.key.keysym.sym);
      for (char& c : name)
        if (c == ' ') c = '_';
      if (!IsKeyName(name)) return {};
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
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const char* name =
          SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(e.cbutton.button));
      if (!name) return {};
      return std::string(e.type == SDL_CONTROLLERBUTTONDOWN ? "paddown " : "padup ") + name;
    }
    case SDL_CONTROLLERAXISMOTION: {
      const char* name =
          SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(e.caxis.axis));
      if (!name) return {};
      return std::string("axis ") + name + " " + std::to_string(e.caxis.value);
    }
    default:
      return {};
  }
}

void TInjectedInput::Text(const std::string& utf8) {
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
    std::memcpy(e.text.text, utf8.data() + pos, len);
    sink_(e);
    pos += len;
  }
}

}  // namespace qv
