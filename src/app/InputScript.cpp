#include "app/InputScript.h"

#include <algorithm>
#include <sstream>

#include "platform/InjectedInput.h"

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
  parts_ = {""};
  bases_ = {0};
  shots_.clear();
  handlers_.clear();
  turns_.clear();
  queued_.clear();
  next_ = 0;
  bool inHandler = false;
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
    e.part = static_cast<int>(parts_.size()) - 1;
    auto fail = [&](const std::string& what) {
      error = "line " + std::to_string(number) + ": " + what;
      return false;
    };
    if (line.compare(first, 9, "whenever ") == 0) {
      std::string whenever, shown, name, extra;
      in >> whenever >> shown >> name;
      if ((shown != "shown" && shown != "closed") || name.empty())
        return fail("expected 'whenever shown NAME' or 'whenever closed NAME'");
      if (in >> extra) return fail("unexpected '" + extra + "'");
      handlers_.push_back({shown == "closed" ? ClosedKey(name) : name, {}});
      inHandler = true;
      continue;
    }
    if (line.compare(first, 5, "when ") == 0) {
      inHandler = false;
      std::string when, shown, name, extra;
      in >> when >> shown >> name;
      if ((shown != "shown" && shown != "traced" && shown != "closed") || name.empty())
        return fail("expected 'when shown NAME', 'when closed NAME' or 'when traced EVENT'");
      if (in >> extra) return fail("unexpected '" + extra + "'");
      parts_.push_back(shown == "traced" ? TracedKey(name) : shown == "closed" ? ClosedKey(name) : name);
      bases_.push_back(-1);
      continue;
    }
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
    } else if (e.kind == "pad" || e.kind == "paddown" || e.kind == "padup") {
      if (!(in >> e.text)) return fail("expected a gamepad button");
      if (!TInjectedInput::IsPadButtonName(e.text)) return fail("unknown gamepad button '" + e.text + "'");
    } else if (e.kind == "axis") {
      if (!(in >> e.text >> e.x)) return fail("expected an axis and a value");
      if (!TInjectedInput::IsPadAxisName(e.text)) return fail("unknown gamepad axis '" + e.text + "'");
      if (e.x < -32768 || e.x > 32767) return fail("axis values go from -32768 to 32767");
    } else if (e.kind == "close" || e.kind == "blur" || e.kind == "focus") {
    } else if (e.kind == "screenshot") {
      if (!(in >> e.text)) return fail("expected a file name");
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
    if (inHandler)
      handlers_.back().events.push_back(std::move(e));
    else
      events_.push_back(std::move(e));
  }
  std::stable_sort(events_.begin(), events_.end(), [](const TEvent& a, const TEvent& b) {
    return a.part != b.part ? a.part < b.part : a.frame < b.frame;
  });
  for (THandler& h : handlers_)
    std::stable_sort(h.events.begin(), h.events.end(),
                     [](const TEvent& a, const TEvent& b) { return a.frame < b.frame; });
  turns_.assign(handlers_.size(), 0);
  return true;
}

std::vector<std::string> TInputScript::Names() const {
  std::vector<std::string> names;
  auto add = [&names](const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
  };
  for (size_t part = 1; part < parts_.size(); ++part) add(parts_[part]);
  for (const THandler& h : handlers_) add(h.name);
  return names;
}

std::string TInputScript::TracedKey(const std::string& event) {
  return "traced " + event;
}

std::string TInputScript::ClosedKey(const std::string& screen) {
  return "closed " + screen;
}

void TInputScript::ScreenClosed(const std::string& name, int64_t frame) {
  ScreenShown(ClosedKey(name), frame);
}

void TInputScript::EventTraced(const std::string& event, int64_t frame) {
  ScreenShown(TracedKey(event), frame);
}

void TInputScript::ScreenShown(const std::string& name, int64_t frame) {
  // The first part still waiting, once the part before it has begun.
  for (size_t part = 1; part < bases_.size(); ++part) {
    if (bases_[part] >= 0) continue;
    if (bases_[part - 1] >= 0 && parts_[part] == name) bases_[part] = frame;
    break;
  }
  // The handler of this screen whose turn it is: the one played least so
  // far, the first of those.
  size_t chosen = handlers_.size();
  for (size_t i = 0; i < handlers_.size(); ++i)
    if (handlers_[i].name == name && (chosen == handlers_.size() || turns_[i] < turns_[chosen])) chosen = i;
  if (chosen == handlers_.size()) return;
  ++turns_[chosen];
  for (TEvent e : handlers_[chosen].events) {
    e.frame += frame;
    auto at = std::upper_bound(queued_.begin(), queued_.end(), e.frame,
                               [](int64_t f, const TEvent& q) { return f < q.frame; });
    queued_.insert(at, std::move(e));
  }
}

void TInputScript::Deliver(int64_t frame, TInjectedInput* input) {
  for (; next_ < events_.size(); ++next_) {
    const TEvent& e = events_[next_];
    const int64_t base = bases_[static_cast<size_t>(e.part)];
    if (base < 0 || base + e.frame > frame) break;
    Send(e, base + e.frame, frame, input);
  }
  size_t due = 0;
  while (due < queued_.size() && queued_[due].frame <= frame) {
    Send(queued_[due], queued_[due].frame, frame, input);
    ++due;
  }
  queued_.erase(queued_.begin(), queued_.begin() + static_cast<std::ptrdiff_t>(due));
}

void TInputScript::Send(const TEvent& e, int64_t due, int64_t frame, TInjectedInput* input) {
  {
    if (e.kind == "screenshot")
      shots_.push_back({std::max(due, frame), e.text});
    else if (!input)
      return;
    else if (e.kind == "close")
      input->Close();
    else if (e.kind == "blur" || e.kind == "focus")
      input->Focus(e.kind == "focus");
    else if (e.kind == "move")
      input->MouseMove(e.x, e.y);
    else if (e.kind == "down")
      input->MouseButton(e.x, e.y, e.button, true);
    else if (e.kind == "up")
      input->MouseButton(e.x, e.y, e.button, false);
    else if (e.kind == "key")
      input->KeyPress(e.text);
    else if (e.kind == "keydown")
      input->Key(e.text, true);
    else if (e.kind == "keyup")
      input->Key(e.text, false);
    else if (e.kind == "text")
      input->Text(e.text);
    else if (e.kind == "pad")
      input->PadPress(e.text);
    else if (e.kind == "paddown" || e.kind == "padup")
      input->PadButton(e.text, e.kind == "paddown");
    else if (e.kind == "axis")
      input->PadAxis(e.text, e.x);
  }
}

void TInputScript::AfterFrame(int64_t frame, const std::function<void(const std::string& file)>& screenshot) {
  for (size_t i = 0; i < shots_.size();) {
    if (shots_[i].frame > frame) {
      ++i;
      continue;
    }
    const std::string file = shots_[i].file;
    shots_.erase(shots_.begin() + static_cast<std::ptrdiff_t>(i));
    if (screenshot) screenshot(file);
  }
}

}  // namespace qv
