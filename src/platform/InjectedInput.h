// Synthetic input as SDL events: mouse moves and buttons, key strokes by
// name and typed text, a virtual gamepad's buttons and axes, with the held buttons and modifiers remembered
// between events. The window pushes the events into SDL's queue; tools
// without a window hand them straight to a TInputTranslator.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

union SDL_Event;

namespace qv {

class TInjectedInput {
public:
  // Receives every event made (coordinates in back-surface pixels).
  using TSink = std::function<void(SDL_Event& event)>;
  explicit TInjectedInput(TSink sink) : sink_(std::move(sink)) {}

  void MouseMove(int x, int y);
  void MouseButton(int x, int y, int button, bool down, int clicks = 1);
  // Key names are SDL key names ("Return", "Escape", "a"; "_" for blanks,
  // "LShift", "Esc", ...) with optional "alt+", "ctrl+" and "shift+"
  // prefixes. False for unknown names.
  bool Key(const std::string& name, bool down);
  // A whole stroke: down, the text it types (when it types any), up.
  bool KeyPress(const std::string& name);
  void Text(const std::string& utf8);
  // A gamepad's button by SDL's name ("a", "b", "start", "dpup", ...), as
  // from a pad that the game need not have opened; false for unknown names.
  bool PadButton(const std::string& name, bool down);
  bool PadPress(const std::string& name);  // down, then up
  // An axis by SDL's name ("leftx", "lefty", ...), -32768 to 32767.
  bool PadAxis(const std::string& name, int value);
  static bool IsPadButtonName(const std::string& name);
  static bool IsPadAxisName(const std::string& name);
  // The instance id the injected pad's events carry.
  static constexpr int32_t kInjectedPadId = 0x5150;
  // The window's close button.
  void Close();
  // The window gains or loses the keyboard focus (another window comes to
  // the front, or goes).
  void Focus(bool gained);
  static bool IsKeyName(const std::string& name);
  // One SDL input event as an event of the input-script format, without
  // its frame ("move X Y", "down X Y left", "keydown alt+Return",
  // "text CHARS", "close", "paddown a", "axis leftx -20000"); empty when
  // it is not input.
  static std::string ScriptEventOf(const SDL_Event& event);

private:
  TSink sink_;
  uint16_t mods_ = 0;
  uint32_t buttons_ = 0;
};

}  // namespace qv
