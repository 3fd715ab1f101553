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
    e.part = static_cast<int>(parts_.size()) - 1;
    auto fail = [&](const std::string& what) {
      error = "line " + std::to_string(number) + ": " + what;
      return false;
    };
    if (line.compare(first, 5, "when ") == 0) {
      std::string when, shown, name, extra;
      in >> when >> shown >> name;
      if ((shown != "shown" && shown != "traced") || name.empty())
        return fail("expected 'when shown NAME' or 'when traced EVENT'");
      if (in >> extra) return fail("unexpected '" + extra + "'");
      parts_.push_back(shown == "traced" ? TracedKey(name) : name);
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
    events_.push_back(std::move(e));
  }
  std::stable_sort(events_.begin(), events_.end(), [](const TEvent& a, const TEvent& b) {
    return a.part != b.part ? a.part < b.part : a.frame < b.frame;
  });
  return true;
}

std::string TInputScript::TracedKey(const std::string& event) {
  return "traced " + event;
}

void TInputScript::EventTraced(const std::string& event, int64_t frame) {
  ScreenShown(TracedKey(event), frame);
}

void TInputScript::ScreenShown(const std::string& name, int64_t frame) {
  // The first part still waiting, once the part before it has begun.
  for (size_t part = 1; part < bases_.size(); ++part) {
    if (bases_[part] >= 0) continue;
    if (bases_[part - 1] >= 0 && parts_[part] == name) bases_[part] = frame;
    return;
  }
}

void TInputScript::Deliver(int64_t frame, TInjectedInput* input) {
  for (; next_ < events_.size(); ++next_) {
    const TEvent& e = events_[next_];
    const int64_t base = bases_[static_cast<size_t>(e.part)];
    if (base < 0 || base + e.frame > frame) break;
    if (e.kind == "screenshot")
      shots_.push_back({std::max(base + e.frame, frame), e.text});
    else if (!input)
      continue;
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
