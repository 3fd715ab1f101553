#include "platform/InputTranslator.h"

#include <SDL.h>

#include <algorithm>

namespace qv {

namespace {

intptr_t KeyLParam(const SDL_KeyboardEvent& key, bool down, bool alt) {
  intptr_t l = KF_REPEAT_ONE | (static_cast<intptr_t>(key.keysym.scancode & 0xFF) << 16);
  if (alt) l |= KF_ALTDOWN;
  if (!down)
    l |= KF_PREVDOWN | KF_UP;
  else if (key.repeat)
    l |= KF_PREVDOWN;
  return l;
}

// Characters that typing produces as key messages rather than text.
uint32_t ControlCharacterOfKey(SDL_Keycode key, uint16_t mods) {
  switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return 13;
    case SDLK_BACKSPACE:
      return 8;
    case SDLK_TAB:
      return 9;
    case SDLK_ESCAPE:
      return 27;
    default:
      break;
  }
  if ((mods & KMOD_CTRL) && key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>(key - SDLK_a + 1);
  return 0;
}

// Decodes one UTF-8 sequence; advances `p`. Invalid bytes give U+FFFD.
uint32_t NextCodePoint(const unsigned char*& p) {
  const unsigned char c = *p++;
  if (c < 0x80) return c;
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
  if (extra < 0) return 0xFFFD;
  uint32_t cp = c & (0x3F >> extra);
  for (int i = 0; i < extra; ++i) {
    if ((*p & 0xC0) != 0x80) return 0xFFFD;
    cp = (cp << 6) | (*p++ & 0x3F);
  }
  return cp;
}

uintptr_t ButtonBit(uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return MK_LBUTTON;
    case SDL_BUTTON_RIGHT:
      return MK_RBUTTON;
    case SDL_BUTTON_MIDDLE:
      return MK_MBUTTON;
    default:
      return 0;
  }
}

intptr_t PointLParam(int x, int y) {
  return MakeLParam(std::max(0, x), std::max(0, y));
}

}  // namespace

uint32_t VirtualKeyFromSDL(int32_t keycode) {
  if (keycode >= SDLK_a && keycode <= SDLK_z) return static_cast<uint32_t>('A' + (keycode - SDLK_a));
  if (keycode >= SDLK_0 && keycode <= SDLK_9) return static_cast<uint32_t>('0' + (keycode - SDLK_0));
  if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return VK_F1 + static_cast<uint32_t>(keycode - SDLK_F1);
  if (keycode >= SDLK_KP_1 && keycode <= SDLK_KP_9)
    return VK_NUMPAD0 + 1 + static_cast<uint32_t>(keycode - SDLK_KP_1);
  switch (keycode) {
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_CLEAR:
      return VK_CLEAR;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
      return VK_MENU;
    case SDLK_PAUSE:
      return VK_PAUSE;
    case SDLK_CAPSLOCK:
      return VK_CAPITAL;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_PAGEUP:
      return VK_PRIOR;
    case SDLK_PAGEDOWN:
      return VK_NEXT;
    case SDLK_END:
      return VK_END;
    case SDLK_HOME:
      return VK_HOME;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_DOWN:
      return VK_DOWN;
    case SDLK_PRINTSCREEN:
      return VK_SNAPSHOT;
    case SDLK_INSERT:
      return VK_INSERT;
    case SDLK_DELETE:
      return VK_DELETE;
    case SDLK_LGUI:
      return VK_LWIN;
    case SDLK_RGUI:
      return VK_RWIN;
    case SDLK_APPLICATION:
      return VK_APPS;
    case SDLK_KP_0:
      return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY:
      return VK_MULTIPLY;
    case SDLK_KP_PLUS:
      return VK_ADD;
    case SDLK_KP_MINUS:
      return VK_SUBTRACT;
    case SDLK_KP_PERIOD:
      return VK_DECIMAL;
    case SDLK_KP_DIVIDE:
      return VK_DIVIDE;
    case SDLK_NUMLOCKCLEAR:
      return VK_NUMLOCK;
    case SDLK_SCROLLLOCK:
      return VK_SCROLL;
    case SDLK_SEMICOLON:
      return VK_OEM_1;
    case SDLK_EQUALS:
      return VK_OEM_PLUS;
    case SDLK_COMMA:
      return VK_OEM_COMMA;
    case SDLK_MINUS:
      return VK_OEM_MINUS;
    case SDLK_PERIOD:
      return VK_OEM_PERIOD;
    case SDLK_SLASH:
      return VK_OEM_2;
    case SDLK_BACKQUOTE:
      return VK_OEM_3;
    case SDLK_LEFTBRACKET:
      return VK_OEM_4;
    case SDLK_BACKSLASH:
      return VK_OEM_5;
    case SDLK_RIGHTBRACKET:
      return VK_OEM_6;
    case SDLK_QUOTE:
      return VK_OEM_7;
    default:
      return 0;
  }
}

uint32_t AltCharacterOfKey(int32_t keycode, bool shift) {
  if (keycode >= SDLK_a && keycode <= SDLK_z)
    return static_cast<uint32_t>((shift ? 'A' : 'a') + (keycode - SDLK_a));
  if (keycode >= SDLK_0 && keycode <= SDLK_9) return static_cast<uint32_t>(keycode);
  if (keycode == SDLK_RETURN || keycode == SDLK_KP_ENTER) return 13;
  if (keycode == SDLK_SPACE) return 32;
  return 0;
}

uint32_t VirtualKeyOfPadButton(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return VK_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return VK_DOWN;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return VK_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return VK_RIGHT;
    case SDL_CONTROLLER_BUTTON_A:
      return VK_RETURN;
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_BACK:
      return VK_ESCAPE;
    case SDL_CONTROLLER_BUTTON_START:
      return VK_PAUSE;
    case SDL_CONTROLLER_BUTTON_X:
      return VK_TAB;
    case SDL_CONTROLLER_BUTTON_Y:
      return VK_SPACE;
    default:
      return 0;
  }
}

namespace {

// A key message of the gamepad: repeat count 1, no scan code.
TMessage PadKey(uint32_t vk, bool down) {
  return {down ? WM_KEYDOWN : WM_KEYUP, vk, down ? KF_REPEAT_ONE : (KF_REPEAT_ONE | KF_PREVDOWN | KF_UP)};
}

}  // namespace

void TInputTranslator::StickAxis(int axis, int value, std::vector<TMessage>& out) {
  int& held = stick_[axis];
  int want = held;
  if (held == 0) {
    if (value >= kStickPress)
      want = 1;
    else if (value <= -kStickPress)
      want = -1;
  } else if ((held > 0 && value < kStickRelease) || (held < 0 && value > -kStickRelease)) {
    want = value >= kStickPress ? 1 : value <= -kStickPress ? -1 : 0;
  }
  if (want == held) return;
  const auto key = [axis](int direction) -> uint32_t {
    return axis == 0 ? (direction > 0 ? VK_RIGHT : VK_LEFT) : (direction > 0 ? VK_DOWN : VK_UP);
  };
  if (held != 0) out.push_back(PadKey(key(held), false));
  if (want != 0) out.push_back(PadKey(key(want), true));
  held = want;
}

uintptr_t TInputTranslator::KeyState() const {
  uintptr_t state = buttons_;
  if (mods_ & KMOD_SHIFT) state |= MK_SHIFT;
  if (mods_ & KMOD_CTRL) state |= MK_CONTROL;
  return state;
}

void TInputTranslator::Translate(const SDL_Event& event, std::vector<TMessage>& out) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const SDL_KeyboardEvent& key = event.key;
      const bool down = event.type == SDL_KEYDOWN;
      mods_ = key.keysym.mod;
      const uint32_t vk = VirtualKeyFromSDL(key.keysym.sym);
      const bool alt = (mods_ & KMOD_ALT) != 0 || (!down && vk == VK_MENU);
      const bool ctrl = (mods_ & KMOD_CTRL) != 0;
      if (vk != 0) {
        const uint32_t code = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
        out.push_back({code, vk, KeyLParam(key, down, alt)});
      }
      if (!down) break;
      if (alt && !ctrl) {
        // Alt with a character opens the keyboard menu: the engine offers the
        // character to the game as a menu key.
        const uint32_t c = AltCharacterOfKey(key.keysym.sym, (mods_ & KMOD_SHIFT) != 0);
        if (c != 0) out.push_back({WM_SYSCOMMAND, SC_KEYMENU, static_cast<intptr_t>(c)});
      } else if (!alt) {
        const uint32_t c = ControlCharacterOfKey(key.keysym.sym, mods_);
        if (c != 0) out.push_back({WM_CHAR, c, KeyLParam(key, true, false)});
      }
      break;
    }
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
      const uint32_t vk = VirtualKeyOfPadButton(event.cbutton.button);
      if (vk == 0) break;
      const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
      out.push_back(PadKey(vk, down));
      if (down && (vk == VK_RETURN || vk == VK_SPACE || vk == VK_TAB || vk == VK_ESCAPE))
        out.push_back({WM_CHAR, vk, KF_REPEAT_ONE});  // their characters share their codes
      break;
    }
    case SDL_CONTROLLERAXISMOTION:
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) StickAxis(0, event.caxis.value, out);
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) StickAxis(1, event.caxis.value, out);
      break;
    case SDL_TEXTINPUT: {
      // Alt and Ctrl combinations were answered by their key events.
      if (mods_ & (KMOD_ALT | KMOD_CTRL)) break;
      const auto* p = reinterpret_cast<const unsigned char*>(event.text.text);
      while (*p) {
        const uint32_t cp = NextCodePoint(p);
        out.push_back({WM_CHAR, cp, KF_REPEAT_ONE});
      }
      break;
    }
    case SDL_MOUSEMOTION:
      out.push_back({WM_MOUSEMOVE, KeyState(), PointLParam(event.motion.x, event.motion.y)});
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const SDL_MouseButtonEvent& b = event.button;
      const uintptr_t bit = ButtonBit(b.button);
      if (bit == 0) break;
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      if (down)
        buttons_ |= bit;
      else
        buttons_ &= ~bit;
      uint32_t base = bit == MK_LBUTTON   ? WM_LBUTTONDOWN
                      : bit == MK_RBUTTON ? WM_RBUTTONDOWN
                                          : WM_MBUTTONDOWN;
      uint32_t code = base;  // down
      if (!down)
        code = base + 1;
      else if (b.clicks >= 2 && b.clicks % 2 == 0)
        code = base + 2;  // the second click of a pair
      out.push_back({code, KeyState(), PointLParam(b.x, b.y)});
      break;
    }
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          out.push_back({WM_SETFOCUS, 0, 0});
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          mods_ = 0;
          buttons_ = 0;
          out.push_back({WM_KILLFOCUS, 0, 0});
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          out.push_back({WM_SYSCOMMAND, SC_MINIMIZE, 0});
          break;
        case SDL_WINDOWEVENT_RESTORED:
          out.push_back({WM_SYSCOMMAND, SC_RESTORE, 0});
          break;
        case SDL_WINDOWEVENT_CLOSE:
          out.push_back({WM_CLOSE, 0, 0});
          break;
        case SDL_WINDOWEVENT_ENTER:
          pointerInside_ = true;
          out.push_back({WM_NCHITTEST, 1, 0});
          break;
        case SDL_WINDOWEVENT_LEAVE:
          pointerInside_ = false;
          out.push_back({WM_NCHITTEST, 0, 0});
          break;
        default:
          break;
      }
      break;
    case SDL_QUIT:  // a request from outside (a signal): ask like the close button
      out.push_back({WM_CLOSE, 0, 0});
      break;
    default:
      break;
  }
}

}  // namespace qv
