#include "widgets/WidgetCollection.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "core/Parsing.h"
#include "widgets/IWidgetOwner.h"

namespace qv {

// --- TSimpleWidgetCollection ----------------------------------------------------------

IWidget* TSimpleWidgetCollection::FindFace(int index) const {
  const int count = Count();
  if (faces_.size() != static_cast<size_t>(count)) faces_.resize(static_cast<size_t>(count));
  if (index < 0 || index >= count) return nullptr;
  auto& face = faces_[static_cast<size_t>(index)];
  const Ref<IInterface>& item = Items().At(index);
  if (face.first != item) face = {item, dynamic_cast<IWidget*>(item.get())};
  return face.second;
}

Ref<IWidget> TSimpleWidgetCollection::GetWidgetByKey(const std::string& key) const {
  bool digits = !key.empty();
  for (char c : key) digits = digits && c >= '0' && c <= '9';
  if (digits && key.size() < 10) return GetWidget(std::stoi(key));
  return GetWidgetByName(key);
}

void TSimpleWidgetCollection::AddItem(const Ref<IInterface>& item) {
  const Ref<IWidget> widget = Query<IWidget>(item);
  if (!widget) {
    ReportDataError("widgets", "an item that is not a widget is dropped");
    return;
  }
  Place(-1, widget);
}

void TSimpleWidgetCollection::Place(int pos, const Ref<IWidget>& widget) {
  std::optional<std::string> key;
  if (!widget->GetName().empty() && !Contains(widget->GetName())) key = widget->GetName();
  Insert(pos, key, Ref<IInterface>(widget));
}

// --- TWidgetCollection --------------------------------------------------------------

void TWidgetCollection::AddItem(const Ref<IInterface>& item) {
  const Ref<IWidget> widget = Query<IWidget>(item);
  if (!widget) {
    ReportDataError("widgets", "an item that is not a widget is dropped");
    return;
  }
  InsertWidget(widget);
}

void TWidgetCollection::InsertWidget(const Ref<IWidget>& widget) {
  if (!widget) return;
  modifiedDuringPass_ = true;
  if (widget->GetOwner() != owner_) {
    if (widget->GetOwner()) widget->Detach();
    widget->SetOwner(owner_);
  }
  widget->UpdateDirtyRegion(false, true);
  changed_ = true;
  settled_.clear();
  placedZ_[widget.get()] = widget->GetZ();
  Place(sortedByZ_ ? ZPosition(widget->GetZ()) : -1, widget);
}

int TWidgetCollection::ZPosition(int z) const {
  for (int i = Count() - 1; i >= 0; --i)
    if (Face(i)->GetZ() <= z) return i + 1;
  return 0;
}

void TWidgetCollection::DeleteWidget(int index) {
  const Ref<IWidget> widget = GetWidget(index);
  if (!widget) return;
  modifiedDuringPass_ = true;
  if (widget->GetOwner()) {
    widget->UpdateDirtyRegion(true, false);
    changed_ = true;
    widget->Detach();
  }
  Forget(widget);
  settled_.clear();
  Items().Delete(index);
}

void TWidgetCollection::Clear() {
  for (int i = Count() - 1; i >= 0; --i) DeleteWidget(i);
}

void TWidgetCollection::AdvanceAll(int dt) {
  struct TPassGuard {
    bool& flag;
    ~TPassGuard() { flag = false; }
  } guard{iterating_};
  iterating_ = true;
  changed_ = false;
  modifiedDuringPass_ = true;
  while (modifiedDuringPass_) {
    modifiedDuringPass_ = false;
    for (int i = 0; i < Count(); ++i) {
      IWidget* widget = Face(i);
      if (!widget || widget->IsPaused() || widget->IsDead() || widget->IsAdvanced()) continue;
      const Ref<IWidget> alive(widget);  // through its own advance, which may delete it
      widget->Advance(dt);
    }
  }
}

void TWidgetCollection::RemoveDead() {
  for (int i = Count() - 1; i >= 0; --i) {
    if (i >= Count()) continue;
    IWidget* face = Face(i);
    if (!face || !face->IsDead()) continue;
    const Ref<IWidget> widget(face);
    widget->UpdateDirtyRegion(true, false);
    widget->Detach();
    Forget(widget);
    settled_.clear();
    Items().Delete(i);
    changed_ = true;
  }
}

bool TWidgetCollection::StillSettled() const {
  if (settled_.size() != static_cast<size_t>(Count()) || settled_.empty()) return false;
  for (int i = 0; i < Count(); ++i) {
    const auto& [widget, z] = settled_[static_cast<size_t>(i)];
    if (Face(i) != widget || widget->GetZ() != z) return false;
  }
  return true;
}

void TWidgetCollection::RememberSettled() {
  settled_.clear();
  for (int i = 0; i < Count(); ++i) settled_.emplace_back(Face(i), Face(i)->GetZ());
}

void TWidgetCollection::SortByZ() {
  if (StillSettled()) return;
  bool settled = true;
  for (int i = 0; i < Count() && settled; ++i) {
    IWidget* widget = Face(i);
    const auto it = placedZ_.find(widget);
    settled = it != placedZ_.end() && it->second == widget->GetZ() &&
              (i == 0 || Face(i - 1)->GetZ() <= widget->GetZ());
  }
  if (settled) {
    RememberSettled();
    return;
  }
  // The widgets whose z changed since they were placed leave and are placed
  // again by z, in their order: a raised widget goes after every widget of
  // lower or equal z, and widgets of equal z otherwise keep their order.
  std::vector<std::pair<std::string, Ref<IWidget>>> moved;
  for (int i = 0; i < Count(); ++i) {
    const Ref<IWidget> widget = GetWidget(i);
    const auto it = placedZ_.find(widget.get());
    if (it == placedZ_.end() || it->second != widget->GetZ()) moved.emplace_back(Items().KeyAt(i), widget);
  }
  for (const auto& [key, widget] : moved) Items().Delete(std::string_view(key));
  // What stayed may still be out of order (a widget whose z was set and
  // set back while another moved): a stable sort settles it.
  std::vector<std::pair<std::string, Ref<IWidget>>> kept;
  for (int i = 0; i < Count(); ++i) kept.emplace_back(Items().KeyAt(i), GetWidget(i));
  std::stable_sort(kept.begin(), kept.end(),
                   [](const auto& a, const auto& b) { return a.second->GetZ() < b.second->GetZ(); });
  Items().Clear();
  for (auto& [key, widget] : kept) Items().Add(key, Ref<IInterface>(widget));
  for (auto& [key, widget] : moved) {
    placedZ_[widget.get()] = widget->GetZ();
    Items().Insert(ZPosition(widget->GetZ()), key, Ref<IInterface>(widget));
  }
  RememberSettled();
}

void TWidgetCollection::SetPropertyOnAll(const std::string& name, const TVariant& value) {
  for (int i = 0; i < Count(); ++i)
    if (const Ref<IWidget> widget = GetWidget(i)) widget->SetPropertyValue(name, value);
}

void TWidgetCollection::UpdateDirtyRegions(bool forceOld, bool forceNew) {
  for (int i = 0; i < Count(); ++i) {
    IWidget* face = Face(i);
    if (!face) continue;
    face->SetAdvanced(false);
    if (!face->IsVisible() && !face->WasVisible()) continue;
    const Ref<IWidget> widget(face);
    widget->UpdateDirtyRegion(forceOld, forceNew);
    if (widget->HasDirtyRect()) changed_ = true;
  }
}

void TWidgetCollection::SetOwner(IWidgetOwner* owner) {
  owner_ = owner;
  for (int i = 0; i < Count(); ++i)
    if (const Ref<IWidget> widget = GetWidget(i)) widget->SetOwner(owner);
}

void TWidgetCollection::DetachAll() {
  owner_ = nullptr;
  for (int i = 0; i < Count(); ++i)
    if (const Ref<IWidget> widget = GetWidget(i)) widget->Detach();
}

}  // namespace qv
