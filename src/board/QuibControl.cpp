#include "board/QuibControl.h"

#include <cmath>
#include <numbers>

#include "core/Diagnostics.h"
#include "core/StringUtils.h"
#include "storage/ClassRegistry.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

namespace {

int IntParam(IParamCollection* params, const char* name, int def) {
  return static_cast<int>(VarToInt(params->GetParamValueDef(name, static_cast<long long>(def)), def));
}

}  // namespace

std::string QuibWalkPose(int x1, int y1, int x2, int y2) {
  const double a = std::atan2(static_cast<double>(y2 - y1), static_cast<double>(x2 - x1));
  constexpr double kHalfPi = std::numbers::pi / 2;
  if (a < -kHalfPi) return "quib3";
  if (a < 0) return "quib4";
  if (a < kHalfPi) return "quib2";
  return "quib1";
}

int QuibWalkTime(int x1, int y1, int x2, int y2) {
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  return static_cast<int>(std::lround(std::sqrt(dx * dx + dy * dy) * kQuibMsPerPixel));
}

const TPropertyTable<TQuibControl>& TQuibControl::Properties() {
  using W = TQuibControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TButtonControl::Properties())
                                             .Int("x1", &W::x1_, 0)
                                             .PropertyOnly()
                                             .Int("y1", &W::y1_, 0)
                                             .PropertyOnly()
                                             .Int("x2", &W::x2_, 0)
                                             .PropertyOnly()
                                             .Int("y2", &W::y2_, 0)
                                             .PropertyOnly()
                                             .Int("time", &W::time_, 0)
                                             .PropertyOnly()
                                             .Int("state", &W::GetState, nullptr)
                                             .PropertyOnly();
  return table;
}

void TQuibControl::LoadFromStorage(const StorageRef& storage) {
  TButtonControl::LoadFromStorage(storage);
  if (!storage) return;
  const StorageRef node = storage->GetChild("function", 0);
  if (!node) return;
  const Ref<TAbstractObject> object = CreateFromNode(node);
  path_ = Query<IPathFunction>(object);
  if (object && !path_) ReportDataError("widget " + GetName(), "its \"function\" is not a path function");
}

void TQuibControl::Detach() {
  if (path_) path_->Unbind();
  TButtonControl::Detach();
}

void TQuibControl::PlaceAt(int x, int y) {
  SetAnchorLeft(x);
  SetAnchorTop(y - kQuibLift);
  Invalidate();
}

std::string TQuibControl::Pose() const {
  return state_ == kWalking ? QuibWalkPose(x1_, y1_, x2_, y2_) : std::string("quib_stay");
}

void TQuibControl::SetState(int state) {
  state_ = state;
  SetCurrentTime(0);
  const std::string pose = Pose();
  IWidgetCollection* children = GetChildren();
  for (int i = 0; children && i < children->GetCount(); ++i) {
    const Ref<IWidget> child = children->GetWidget(i);
    if (!child) continue;
    const bool shown = SameText(child->GetName(), pose);
    child->SetVisible(shown);
    if (shown)
      child->Resume();
    else
      child->Pause();
  }
}

void TQuibControl::ExecuteCommand(int code, IParamCollection* params) {
  if (code != kQuibStand && code != kQuibWalk) {
    TButtonControl::ExecuteCommand(code, params);
    return;
  }
  if (!params) return;
  x1_ = IntParam(params, "x1", x1_);
  y1_ = IntParam(params, "y1", y1_);
  PlaceAt(x1_, y1_);
  if (code == kQuibStand) {
    SetState(kStanding);
    return;
  }
  x2_ = IntParam(params, "x2", x2_);
  y2_ = IntParam(params, "y2", y2_);
  time_ = IntParam(params, "time", time_);
  if (path_) {
    path_->Bind(this);
    const std::pair<const char*, int> values[] = {{"x1", x1_}, {"y1", y1_}, {"x2", x2_}, {"y2", y2_}};
    for (const auto& [name, value] : values)
      if (float* cell = path_->GetParamSpace().FindCell(name)) *cell = static_cast<float>(value);
    path_->Prepare();
    time_ = path_->GetStepCount();
  }
  SetState(kWalking);
}

void TQuibControl::AdvanceTime(int dt) {
  TButtonControl::AdvanceTime(dt);
  const int clock = GetCurrentTime();
  if (state_ != kWalking || clock <= 0) return;
  if (clock > time_) {
    PlaceAt(x2_, y2_);
    SetState(kStanding);
    SendEvent(kQuibArrivedEvent);
    return;
  }
  if (path_) {
    path_->SetStep(static_cast<float>(clock));
    PlaceAt(static_cast<int>(std::lround(path_->GetX())), static_cast<int>(std::lround(path_->GetY())));
    return;
  }
  const long long t = time_;
  PlaceAt(static_cast<int>(x1_ + clock * (static_cast<long long>(x2_) - x1_) / t),
          static_cast<int>(y1_ + clock * (static_cast<long long>(y2_) - y1_) / t));
}

}  // namespace qv
