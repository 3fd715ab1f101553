#include "widgets/TransparentScenario.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "widgets/LevelKeys.h"

namespace qv {

const TPropertyTable<TTransparentScenario>& TTransparentScenario::Properties() {
  using W = TTransparentScenario;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TVisualGroupWidget::Properties())
          .Int(
              "start_trans_level", [](const W& w) { return w.startLevel_; },
              LevelSetter<W>(&W::startLevel_, "start_trans_level"), 255)
          .Always()
          .Int(
              "end_trans_level", [](const W& w) { return w.endLevel_; },
              LevelSetter<W>(&W::endLevel_, "end_trans_level"), 255)
          .Always()
          .Bool("makeinvisible", &W::makeInvisible_)
          .Always();
  return table;
}

bool TTransparentScenario::CheckTimeToLive() {
  if (timeToLive_ > 0) return true;
  if (!reportedTime_)
    ReportDataError("widget " + GetFullPath(),
                    "a scenario needs a positive timetolive, not " + std::to_string(timeToLive_));
  reportedTime_ = true;
  return false;
}

int TTransparentScenario::LevelAt(int time) const {
  // Without a positive lifetime the scenario jumps: the start before its
  // clock runs, the end from then on.
  if (timeToLive_ <= 0) return time < 0 ? startLevel_ : endLevel_;
  return startLevel_ + (endLevel_ - startLevel_) * time / timeToLive_;
}

void TTransparentScenario::SetTarget(const Ref<IWidget>& target) {
  if (target_) Finish();
  target_ = target;
  if (!target_) return;
  CheckTimeToLive();
  savedLevel_ = target_->GetTransparentLevel();
  target_->SetTransparentLevel(std::clamp(LevelAt(currentTime_), 0, 255));
}

Ref<IInterface> TTransparentScenario::GetObjectProperty(const std::string& name) {
  if (SameText(name, "widget")) return target_;
  return TVisualGroupWidget::GetObjectProperty(name);
}

bool TTransparentScenario::SetObjectProperty(const std::string& name, const Ref<IInterface>& value) {
  if (!SameText(name, "widget")) return TVisualGroupWidget::SetObjectProperty(name, value);
  Ref<IWidget> widget = Query<IWidget>(value);
  if (value && !widget) {
    ReportDataError("widget " + GetFullPath() + "@widget", "the target of a scenario must be a widget");
    return false;
  }
  SetTarget(widget);
  return true;
}

void TTransparentScenario::AdvanceTime(int dt) {
  TVisualGroupWidget::AdvanceTime(dt);
  // The base step already marks a positive lifetime dead at its end; the
  // target is given back in that same frame, not only when the owner
  // removes the scenario.
  if (currentTime_ > timeToLive_ || (timeToLive_ > 0 && currentTime_ >= timeToLive_)) {
    CheckTimeToLive();
    Finish();
    SetDead(true);
    return;
  }
  if (currentTime_ <= 0) return;
  if (!target_) {
    if (!reportedTarget_) ReportDataError("widget " + GetFullPath(), "the scenario has no target widget");
    reportedTarget_ = true;
    return;
  }
  Step();
}

void TTransparentScenario::Step() {
  target_->SetPropertyValue("transparentlevel", TVariant{static_cast<long long>(LevelAt(currentTime_))});
}

void TTransparentScenario::Finish() {
  if (!target_) return;
  const Ref<IWidget> target = target_;
  target->SetTransparentLevel(savedLevel_);
  if (makeInvisible_) target->SetVisible(false);
  target_ = nullptr;
}

void TTransparentScenario::Detach() {
  Finish();
  TVisualGroupWidget::Detach();
}

}  // namespace qv
