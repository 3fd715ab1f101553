#include "app/InputScript.h"

#include <algorithm>
#include <sstream>

#include "platform/InjectedInput.h"
#include "platform/PlatformWindow.h"

namespace qv {

namespace {

bool ParseButton(const std::string& word, int& button) {
  if (word.empty() || word == "left")
    button = 1;
  else if (word == "middle")
    button = 2;
  else if (word == "right")
    button = 3;
  else
    return false;
  return true;
}

}  // namespace

bool TInputScript::Parse(const std::string& text, std::string& error) {
  events_.clear();
  next_ = 0;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream in(line);
    TEvent e;
    auto fail = [&](const std::string& what) {
      error = "line " + std::to_string(number) + ": " + what;
      return false;
    };
    if (!(in >> e.frame) || e.frame < 0) return fail("expected a frame number");
    if (!(in >> e.kind)) return fail("expected an event");
    if (e.kind == "move" || e.kind == "down" || e.kind == "up") {
      if (!(in >> e.x >> e.y)) return fail("expected X and Y");
      if (e.kind != "move") {
        std::string button;
        in >> button;
        if (!ParseButton(button, e.button)) return fail("unknown button '" + button + "'");
      }
    } else if (e.kind == "key" || e.kind == "keydown" || e.kind == "keyup") {
      if (!(in >> e.text)) return fail("expected a key name");
      if (!TInjectedInput::IsKeyName(e.text)) return fail("unknown key '" + e.text + "'");
    } else if (e.kind == "text") {
      std::string rest;
      std::getline(in, rest);
      if (!rest.empty() && rest.front() == ' ') rest.erase(0, 1);
      if (rest.empty()) return fail("expected characters");
      e.text = rest;
    } else {
      return fail("unknown event '" + e.kind + "'");
    }
    std::string extra;
    if (e.kind != "text" && (in >> extra)) return fail("unexpected '" + extra + "'");
    events_.push_back(std::move(e));
  }
  std::stable_sort(events_.begin(), events_.end(),
                   [](const TEvent& a, const TEvent& b) { return a.frame < b.frame; });
  return true;
}

void TInputScript::Deliver(int64_t frame, TPlatformWindow& window) {
  Deliver(frame, window.Injected());
}

void TInputScript::Deliver(int64_t frame, TInjectedInput& input) {
  for (; next_ < events_.size() && events_[next_].frame <= frame; ++next_) {
    const TEvent& e = events_[next_];
    if (e.kind == "move")
      input.MouseMove(e.x, e.y);
    else if (e.kind == "down")
      input.MouseButton(e.x, e.y, e.button, true);
    else if (e.kind == "up")
      input.MouseButton(e.x, e.y, e.button, false);
    else if (e.kind == "key")
      input.KeyPress(e.text);
    else if (e.kind == "keydown")
      input.Key(e.text, true);
    else if (e.kind == "keyup")
      input.Key(e.text, false);
    else if (e.kind == "text")
      input.Text(e.text);
  }
}

}  // namespace qv
