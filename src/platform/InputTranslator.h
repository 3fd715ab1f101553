// Translates SDL events into the engine's window messages (Messages.h).
// Pure translation with a little state (held buttons and modifiers, the
// pointer being over the window, the gamepad's stick); it needs no window,
// so tests feed it events directly.
//
// A gamepad plays through the keyboard's keys: the pad and the left stick
// are the arrow keys, A is Return, B and Back are Escape, Start is Pause, X
// is Tab and Y is Space. The stick presses its arrow when pushed past
// kStickPress and lets go below kStickRelease, so a stick resting near the
// threshold does not chatter.
#pragma once

#include <cstdint>
#include <vector>

#include "core/Messages.h"

union SDL_Event;

namespace qv {

class TInputTranslator {
public:
  // Appends the messages the event stands for (none for events the engine
  // does not know).
  void Translate(const SDL_Event& event, std::vector<TMessage>& out);

  // MK_* bits for the buttons and modifiers currently held.
  uintptr_t KeyState() const;
  bool PointerInside() const { return pointerInside_; }

  static constexpr int kStickPress = 16000;
  static constexpr int kStickRelease = 8000;

private:
  void StickAxis(int axis, int value, std::vector<TMessage>& out);
  uint16_t mods_ = 0;      // SDL modifier bits of the last key event
  int stick_[2] = {0, 0};  // the left stick's held direction per axis: -1, 0, 1
  uintptr_t buttons_ = 0;  // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON
  bool pointerInside_ = true;
};

// The key a gamepad button stands for (SDL_GameControllerButton); 0 for
// buttons without one.
uint32_t VirtualKeyOfPadButton(int button);
// The virtual-key code of an SDL key code; 0 for keys without one.
uint32_t VirtualKeyFromSDL(int32_t keycode);
// The character a key gives together with Alt (letters and digits, Return
// as carriage return, space); 0 for none.
uint32_t AltCharacterOfKey(int32_t keycode, bool shift);

}  // namespace qv
