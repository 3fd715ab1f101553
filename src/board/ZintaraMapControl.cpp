#include "board/ZintaraMapControl.h"

#include <algorithm>

#include "board/QuibControl.h"
#include "board/ZintaraLocationWidget.h"
#include "core/Diagnostics.h"
#include "screens/ScreenSupport.h"
#include "storage/StorageAccess.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

int TZintaraMapControl::TLocation::First() const {
  return levels.empty() ? 0 : *std::min_element(levels.begin(), levels.end());
}

int TZintaraMapControl::TLocation::Last() const {
  return levels.empty() ? 0 : *std::max_element(levels.begin(), levels.end());
}

const TPropertyTable<TZintaraMapControl>& TZintaraMapControl::Properties() {
  using W = TZintaraMapControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TControlWidget::Properties())
                                             .Int("Difficulty", &W::difficulty_, 1)
                                             .PropertyOnly()
                                             .Int("level", &W::GetLevel, &W::SetLevel)
                                             .PropertyOnly()
                                             .Int("animate_quib", &W::GetZero, &W::AnimateQuib)
                                             .PropertyOnly()
                                             .WriteOnly()
                                             .Int("animate_level", &W::GetZero, &W::AnimateLevel)
                                             .PropertyOnly()
                                             .WriteOnly();
  return table;
}

void TZintaraMapControl::Report(const std::string& what) {
  ReportDataError("map " + GetName(), what);
}

void TZintaraMapControl::LoadFromStorage(const StorageRef& storage) {
  TControlWidget::LoadFromStorage(storage);
  mapLevels_.clear();
  locations_.clear();
  built_ = false;
  if (!storage) return;
  if (const StorageRef list = storage->GetChild("maplevels", 0))
    for (int i = 0; i < list->GetChildCount("maplevel"); ++i) {
      const StorageRef node = list->GetChild("maplevel", i);
      TMapLevel level;
      level.number = ReadInt(node, "name", 0);
      level.x = ReadInt(node, "anchor_left", 0);
      level.y = ReadInt(node, "anchor_top", 0);
      level.z = ReadInt(node, "z", 0);
      if (level.number <= 0) {
        Report("a map level's \"name\" is not a level number");
        continue;
      }
      if (FindMapLevel(level.number)) {
        Report("map level " + std::to_string(level.number) + " is listed twice");
        continue;
      }
      mapLevels_.push_back(level);
    }
  if (const StorageRef list = storage->GetChild("locations", 0))
    for (int i = 0; i < list->GetChildCount("location"); ++i) {
      const StorageRef node = list->GetChild("location", i);
      TLocation location;
      location.name = ReadString(node, "name");
      if (const StorageRef levels = node->GetChild("levels", 0))
        for (int k = 0; k < levels->GetChildCount("level"); ++k)
          if (const int number = ReadInt(levels->GetChild("level", k), "number", 0); number > 0)
            location.levels.push_back(number);
      if (location.levels.empty()) Report("location \"" + location.name + "\" has no levels");
      locations_.push_back(std::move(location));
    }
}

void TZintaraMapControl::SaveToStorage(const StorageRef& storage) {
  TControlWidget::SaveToStorage(storage);
  if (!storage) return;
  if (!mapLevels_.empty()) {
    const StorageRef list = storage->AddChild("maplevels");
    for (const TMapLevel& level : mapLevels_) {
      const StorageRef node = list->AddChild("maplevel");
      WriteInt(node, "name", level.number);
      WriteInt(node, "anchor_left", level.x);
      WriteInt(node, "anchor_top", level.y);
      WriteInt(node, "z", level.z);
    }
  }
  if (!locations_.empty()) {
    const StorageRef list = storage->AddChild("locations");
    for (const TLocation& location : locations_) {
      const StorageRef node = list->AddChild("location");
      WriteString(node, "name", location.name);
      const StorageRef levels = node->AddChild("levels");
      for (const int number : location.levels) WriteInt(levels->AddChild("level"), "number", number);
    }
  }
}

const TZintaraMapControl::TMapLevel* TZintaraMapControl::FindMapLevel(int number) const {
  for (const TMapLevel& level : mapLevels_)
    if (level.number == number) return &level;
  return nullptr;
}

const TZintaraMapControl::TLocation* TZintaraMapControl::LocationOf(int n) const {
  for (const TLocation& location : locations_)
    if (std::find(location.levels.begin(), location.levels.end(), n) != location.levels.end())
      return &location;
  return nullptr;
}

bool TZintaraMapControl::IsLocationComplete(const TLocation& location) const {
  return difficulty_ > 1 || level_ >= location.Last();
}

Ref<IWidget> TZintaraMapControl::Quib() {
  return GetChild("quib");
}

void TZintaraMapControl::Build() {
  built_ = true;
  for (const TMapLevel& level : mapLevels_) {
    const Ref<IWidget> button = GetChild("maplevel" + std::to_string(level.number));
    if (!button) continue;
    // The button is centred on the level's point.
    button->SetAnchorLeft(level.x - button->GetWidth() / 2);
    button->SetAnchorTop(level.y - button->GetHeight() / 2);
    button->SetZ(level.z);
  }
  if (IWidgetCollection* children = GetChildren()) children->SortByZ();
}

void TZintaraMapControl::ShowLevel(int n) {
  level_ = n;
  for (const TMapLevel& level : mapLevels_)
    if (const Ref<IWidget> button = GetChild("maplevel" + std::to_string(level.number)))
      button->SetEnabled(level.number < n);
  for (const TLocation& location : locations_) {
    const bool active = IsLocationComplete(location) || location.Last() < n;
    for (const int number : location.levels)
      if (const Ref<IWidget> button = GetChild("button_" + std::to_string(number)))
        button->SetEnabled(active);
  }
  IWidgetCollection* children = GetChildren();
  for (int i = 0; children && i < children->GetCount(); ++i) {
    const Ref<IWidget> child = children->GetWidget(i);
    if (!child || !dynamic_cast<TZintaraLocationWidget*>(child.get())) continue;
    child->SetPropertyValue("Difficulty", static_cast<long long>(difficulty_));
    child->SetPropertyValue("level", static_cast<long long>(n));
  }
}

void TZintaraMapControl::SetLevel(int n) {
  if (!built_) Build();
  walkFrom_ = 0;
  const Ref<IWidget> quib = Quib();
  if (quib) quib->SetVisible(false);
  if (const TMapLevel* at = FindMapLevel(n); at && quib) {
    quib->SetVisible(true);
    const Ref<TParamCollection> params =
        MakeParams({{"x1", std::to_string(at->x)}, {"y1", std::to_string(at->y)}});
    quib->ExecuteCommand(kQuibStand, params.get());
  }
  ShowLevel(n);
}

void TZintaraMapControl::AnimateQuib(int n) {
  if (!built_) Build();
  const Ref<IWidget> quib = Quib();
  if (quib) quib->SetVisible(false);
  const TMapLevel* from = FindMapLevel(n - 1);
  const TMapLevel* to = FindMapLevel(n);
  if (!from || !to) {
    // The walk is on the other page (or on none): this one shows level n.
    walkFrom_ = 0;
    ShowLevel(n);
    return;
  }
  const TLocation* location = LocationOf(n - 1);
  marked_ = location ? location->name : std::string();
  walkFrom_ = n - 1;
  ShowLevel(n - 1);
  if (n == kMapLastWalkLevel) reachedLast_ = true;
  if (!quib) return;
  quib->SetVisible(true);
  const Ref<TParamCollection> params =
      MakeParams({{"x1", std::to_string(from->x)},
                  {"y1", std::to_string(from->y)},
                  {"x2", std::to_string(to->x)},
                  {"y2", std::to_string(to->y)},
                  {"time", std::to_string(QuibWalkTime(from->x, from->y, to->x, to->y))}});
  quib->ExecuteCommand(kQuibWalk, params.get());
}

void TZintaraMapControl::AnimateLevel(int n) {
  IWidgetCollection* children = GetChildren();
  for (int i = 0; children && i < children->GetCount(); ++i)
    if (const Ref<IWidget> child = children->GetWidget(i);
        child && dynamic_cast<TZintaraLocationWidget*>(child.get()))
      child->SetPropertyValue("animate_level", static_cast<long long>(n));
}

}  // namespace qv
