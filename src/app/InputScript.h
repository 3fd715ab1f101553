// A script of input events for replays and tests, one event a line:
//   FRAME move X Y
//   FRAME down X Y [left|right|middle]
//   FRAME up X Y [left|right|middle]
//   FRAME key NAME        (a whole stroke: down, the text it types, up)
//   FRAME keydown NAME
//   FRAME keyup NAME
//   FRAME text CHARS      (the rest of the line)
// FRAME counts from 1; an event is delivered before that frame. NAME is a
// key name ("a", "Return", "Escape", "Left", "F1", "PageDown", "LShift", "Left_Shift":
// SDL's names with "_" for blanks) with optional "alt+", "ctrl+" and
// "shift+" prefixes. Empty lines and lines starting with "#"
// are skipped.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TInjectedInput;
class TPlatformWindow;

class TInputScript {
public:
  struct TEvent {
    int64_t frame = 0;
    std::string kind;  // move, down, up, key, keydown, keyup, text
    int x = 0, y = 0;
    int button = 1;    // SDL numbering: 1 left, 2 middle, 3 right
    std::string text;  // key name or characters
  };

  // Parses the script; on a bad line returns false and describes it in
  // `error` ("line N: ...").
  bool Parse(const std::string& text, std::string& error);
  const std::vector<TEvent>& Events() const { return events_; }

  // Delivers, in order, every event due before `frame` that was not
  // delivered yet, through the window's input translation.
  void Deliver(int64_t frame, TPlatformWindow& window);
  // The same as synthetic SDL events to `input`'s sink (a tool without a
  // window hands them to a TInputTranslator).
  void Deliver(int64_t frame, TInjectedInput& input);

private:
  std::vector<TEvent> events_;
  size_t next_ = 0;
};

}  // namespace qv
