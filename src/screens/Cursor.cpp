#include "screens/Cursor.h"

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"

namespace qv {

const TPropertyTable<TCursor>& TCursor::Properties() {
  using C = TCursor;
  static const TPropertyTable<C> table =
      TPropertyTable<C>(TPropertyObject::Properties())
          .Int(
              "hotspotx", [](const C& c) { return c.hotspot_.x; }, [](C& c, int v) { c.hotspot_.x = v; })
          .WriteIf([](const C& c) { return c.hotspot_.x != 0 || c.hotspot_.y != 0; })
          .Int(
              "hotspoty", [](const C& c) { return c.hotspot_.y; }, [](C& c, int v) { c.hotspot_.y = v; })
          .WriteIf([](const C& c) { return c.hotspot_.x != 0 || c.hotspot_.y != 0; });
  return table;
}

TCursor::~TCursor() {
  if (widget_ && widget_->GetOwner()) widget_->Detach();
}

void TCursor::LoadFromStorage(const StorageRef& storage) {
  TPropertyObject::LoadFromStorage(storage);
  if (!storage) return;
  const StorageRef node = storage->GetChild("widget", 0);
  if (!node) return;
  const Ref<TAbstractObject> object = CreateFromNode(node);
  const Ref<IWidget> widget = Query<IWidget>(object);
  if (object && !widget) ReportDataError("cursor " + GetName(), "its widget is not a widget and is dropped");
  SetWidget(widget);
}

void TCursor::SaveToStorage(const StorageRef& storage) {
  TPropertyObject::SaveToStorage(storage);
  auto* persistent = dynamic_cast<IPersistentEx*>(widget_.get());
  if (storage && persistent && persistent->IsStored()) persistent->Save(storage->AddChild("widget"));
}

void TCursor::SetWidget(const Ref<IWidget>& widget) {
  widget_ = widget;
  if (widget_) widget_->SetVisible(false);
}

}  // namespace qv
