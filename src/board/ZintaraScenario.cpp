#include "board/ZintaraScenario.h"

#include "board/GameBoardControl.h"
#include "core/StringUtils.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

namespace {

std::vector<std::string> SplitNames(const std::string& text) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= text.size()) {
    size_t semi = text.find(';', start);
    if (semi == std::string::npos) semi = text.size();
    std::string name = Trim(text.substr(start, semi - start));
    if (!name.empty()) names.push_back(std::move(name));
    start = semi + 1;
  }
  return names;
}

std::string JoinNames(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& name : names) out += (out.empty() ? "" : ";") + name;
  return out;
}

}  // namespace

const TPropertyTable<TZintaraScenario>& TZintaraScenario::Properties() {
  using W = TZintaraScenario;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TVisualGroupWidget::Properties())
          .String(
              "RefCells", [](const W& w) { return w.refCells_; },
              [](W& w, const std::string& v) { w.SetRefCells(v); }, "")
          .String(
              "childscenaries", [](const W& w) { return JoinNames(w.children_); },
              [](W& w, const std::string& v) { w.children_ = SplitNames(v); }, "")
          .PropertyOnly();
  return table;
}

void TZintaraScenario::SetRefCells(const std::string& text) {
  refCells_ = text;
  cells_ = CellsFromText(text);
}

TGameBoardControl* TZintaraScenario::Board() const {
  IWidgetOwner* owner = GetOwner();
  while (owner) {
    if (auto* board = dynamic_cast<TGameBoardControl*>(owner)) return board;
    auto* widget = dynamic_cast<IWidget*>(owner);
    owner = widget ? widget->GetOwner() : nullptr;
  }
  return nullptr;
}

void TZintaraScenario::AddChildScenario(const std::string& name) {
  if (!name.empty()) children_.push_back(name);
}

void TZintaraScenario::RemoveChildScenario(const std::string& name) {
  for (auto it = children_.begin(); it != children_.end(); ++it)
    if (SameText(*it, name)) {
      children_.erase(it);
      return;
    }
}

bool TZintaraScenario::AnyChildAlive() const {
  TGameBoardControl* board = Board();
  if (!board) return false;
  for (const std::string& name : children_)
    if (board->ScenarioAlive(name)) return true;
  return false;
}

Ref<IWidget> TZintaraScenario::StartChild(const std::string& factory, IParamCollection* params) {
  TGameBoardControl* board = Board();
  if (!board) return nullptr;
  Ref<IWidget> child = board->RunScenario(factory, params, false);
  if (child) AddChildScenario(child->GetName());
  return child;
}

void TZintaraScenario::AdvanceTime(int dt) {
  TScenario::AdvanceTime(dt);
  // A scenario begins on its first frame past its start delay, as one
  // without a delay begins on its first frame: so delays keep their
  // distances (a line 150 ms after another begins 150 ms later). A stage
  // that set the clock back itself goes on when the clock reaches 0.
  if (ended_ || IsDead() || GetCurrentTime() < 0) return;
  if (stage_ == 0 && GetCurrentTime() == 0) return;
  if (stage_ == 0) {
    stage_ = 1;
    BeginStage(stage_);
  }
  // A stage that is ready at once moves on in the same frame only through
  // its own check, never twice, so each stage sees at least one frame.
  StageFrame(stage_, dt);
  if (!StageReady(stage_) || AnyChildAlive()) return;
  if (stage_ < StageCount()) {
    ++stage_;
    BeginStage(stage_);
    return;
  }
  ended_ = true;
  Finished();
  SetDead(true);
}

}  // namespace qv
