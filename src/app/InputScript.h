// A script of input events for replays and tests, one event a line:
//   FRAME move X Y
//   FRAME down X Y [left|right|middle]
//   FRAME up X Y [left|right|middle]
//   FRAME key NAME        (a whole stroke: down, the text it types, up)
//   FRAME keydown NAME
//   FRAME keyup NAME
//   FRAME text CHARS      (the rest of the line)
//   FRAME pad BUTTON      (a gamepad button pressed and let go: a, b, x, y,
//                          start, back, dpup, dpdown, dpleft, dpright, ...)
//   FRAME paddown BUTTON
//   FRAME padup BUTTON
//   FRAME axis AXIS VALUE (leftx, lefty, ...: -32768 to 32767)
//   FRAME close           (a close request, as the window's close button)
//   FRAME blur            (the window loses the keyboard focus)
//   FRAME focus           (the window gains it again)
//   FRAME screenshot FILE (the back surface after that frame, as PNG)
//   when shown NAME
//   when traced EVENT
//   when closed NAME
//   whenever shown NAME
//   whenever closed NAME
// FRAME counts from 1; an event is delivered before that frame. After a
// "when shown NAME" line the script waits until the screen NAME is shown
// (the first time after the previous part of the script began), and the
// frame numbers of the lines below it count from the frame in which it was
// shown; "when traced EVENT" waits in the same way for the first trace
// event of that name (a "level_end", a "move"), "when closed NAME" for the
// screen NAME to close. The lines below a "whenever shown NAME" (or
// "whenever closed NAME") line are a handler outside that sequence: each time
// NAME is shown they are played again, counted from that frame, while the
// sequence goes on (unattended play answers the dialogs that may come up at
// any time with them). Several handlers of one screen take turns, one a
// showing, in the order they stand. Handlers never keep a script from
// being done. NAME is a key name ("a", "Return", "Escape", "Left", "F1",
// "PageDown", "LShift", "Left_Shift": SDL's names with "_" for blanks)
// with optional "alt+", "ctrl+" and "shift+" prefixes. Empty lines and
// lines starting with "#" are skipped.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

class TInjectedInput;

class TInputScript {
public:
  struct TEvent {
    int64_t frame = 0;
    std::string kind;  // move, down, up, key, keydown, keyup, text, close, blur, focus, screenshot,
                       // pad, paddown, padup, axis
    int x = 0, y = 0;
    int button = 1;    // SDL numbering: 1 left, 2 middle, 3 right
    std::string text;  // key name, characters or file
    int part = 0;      // the "when shown" part of the script it belongs to
  };

  // Parses the script; on a bad line returns false and describes it in
  // `error` ("line N: ...").
  bool Parse(const std::string& text, std::string& error);
  const std::vector<TEvent>& Events() const { return events_; }
  std::vector<TEvent>& Events() { return events_; }
  // The screen each part waits for; part 0 waits for nothing.
  const std::vector<std::string>& Parts() const { return parts_; }
  // The screens (and "when traced" keys) that parts or handlers wait for,
  // each once.
  std::vector<std::string> Names() const;

  // A screen was shown in `frame`: the part waiting for it starts there.
  void ScreenShown(const std::string& name, int64_t frame);
  // A trace event of that name happened in `frame`.
  void EventTraced(const std::string& event, int64_t frame);
  // The screen NAME was closed in `frame`.
  void ScreenClosed(const std::string& name, int64_t frame);
  // The part keys of "when traced EVENT" and "when closed NAME".
  static std::string TracedKey(const std::string& event);
  static std::string ClosedKey(const std::string& screen);
  // Delivers, in order, every event due before `frame` that was not
  // delivered yet, as synthetic SDL events to `input`'s sink (the window's
  // input translation, or a tool's translator without a window; without
  // either, input events are passed over); screenshots due are kept for
  // AfterFrame.
  void Deliver(int64_t frame, TInjectedInput* input);
  // Takes the screenshots due by `frame`.
  void AfterFrame(int64_t frame, const std::function<void(const std::string& file)>& screenshot);
  // True when every event has been delivered and every screenshot taken.
  bool Done() const { return next_ >= events_.size() && shots_.empty(); }
  // Events of handlers waiting to be delivered.
  size_t Queued() const { return queued_.size(); }

private:
  std::vector<TEvent> events_;
  std::vector<std::string> parts_{""};
  // The frame each part counts from; -1 while it waits.
  std::vector<int64_t> bases_{0};
  size_t next_ = 0;
  struct THandler {
    std::string name;
    std::vector<TEvent> events;  // frames count from the showing
  };
  std::vector<THandler> handlers_;
  std::vector<size_t> turns_;  // per handler: the showings it was passed over or played
  // Handler events due, with absolute frames, in order of frame.
  std::vector<TEvent> queued_;
  void Send(const TEvent& e, int64_t due, int64_t frame, TInjectedInput* input);
  struct TShot {
    int64_t frame;
    std::string file;
  };
  std::vector<TShot> shots_;
};

}  // namespace qv
