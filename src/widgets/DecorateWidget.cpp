#include "widgets/DecorateWidget.h"

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"

namespace qv {

TDecorateWidget::~TDecorateWidget() {
  if (widget_) widget_->Detach();
}

void TDecorateWidget::LoadFromStorage(const StorageRef& storage) {
  TVisualWidget::LoadFromStorage(storage);
  if (!storage) return;
  const StorageRef node = storage->GetChild("widget", 0);
  if (!node) return;
  const Ref<TAbstractObject> object = CreateFromNode(node);
  Ref<IWidget> child = Query<IWidget>(object);
  if (!child) {
    if (object) ReportDataError("widget " + GetName(), "its child is not a widget and is dropped");
    return;
  }
  SetWidget(child);
}

void TDecorateWidget::SaveToStorage(const StorageRef& storage) {
  TVisualWidget::SaveToStorage(storage);
  auto* persistent = dynamic_cast<IPersistentEx*>(widget_.get());
  if (storage && persistent && persistent->IsStored()) persistent->Save(storage->AddChild("widget"));
}

void TDecorateWidget::SetWidget(const Ref<IWidget>& widget) {
  if (widget_ == widget) return;
  if (widget_) widget_->Detach();
  widget_ = widget;
  if (widget_ && owner_) {
    if (widget_->GetOwner()) widget_->Detach();
    widget_->SetOwner(this);
  }
  geometryChanged_ = true;
}

void TDecorateWidget::SetOwner(IWidgetOwner* owner) {
  TVisualWidget::SetOwner(owner);
  if (widget_) widget_->SetOwner(owner ? this : nullptr);
}

void TDecorateWidget::Detach() {
  if (widget_) widget_->Detach();
  TVisualWidget::Detach();
}

void TDecorateWidget::AdvanceTime(int dt) {
  TVisualWidget::AdvanceTime(dt);
  if (widget_ && !widget_->IsPaused()) widget_->Advance(dt);
}

void TDecorateWidget::Restart() {
  if (widget_) widget_->Restart();
  TVisualWidget::Restart();
}

void TDecorateWidget::Resume() {
  if (widget_) widget_->Resume();
  TVisualWidget::Resume();
}

void TDecorateWidget::Pause() {
  if (widget_) widget_->Pause();
  TVisualWidget::Pause();
}

void TDecorateWidget::Invalidate() {
  if (widget_) widget_->Invalidate();
  TVisualWidget::Invalidate();
}

void TDecorateWidget::Draw(ISurface* target, int x, int y) {
  if (widget_ && widget_->IsVisible())
    widget_->Draw(target, x + RoundEven(widget_->GetAnchorLeft()), y + RoundEven(widget_->GetAnchorTop()));
}

bool TDecorateWidget::UpdateDirtyRegion(bool forceOld, bool forceNew) {
  if (widget_) {
    widget_->UpdateDirtyRegion(forceOld, forceNew);
    if (widget_->HasDirtyRect()) {
      needRepaint_ = true;
      geometryChanged_ = true;
    }
  }
  return TVisualWidget::UpdateDirtyRegion(forceOld, forceNew);
}

Ref<IWidget> TDecorateWidget::WidgetAtPos(TPoint point) {
  Ref<IWidget> hit = TVisualWidget::WidgetAtPos(point);
  if (!hit || !widget_) return hit;
  const TPoint local{point.x - RoundEven(anchorLeft_), point.y - RoundEven(anchorTop_)};
  if (Ref<IWidget> inner = widget_->WidgetAtPos(local)) return inner;
  return hit;
}

TPoint TDecorateWidget::ScreenToChildLocal(TPoint point) {
  const TPoint p = ScreenToLocal(point);
  return {p.x - RoundEven(anchorLeft_), p.y - RoundEven(anchorTop_)};
}

Ref<IInterface> TDecorateWidget::GetObjectProperty(const std::string& name) {
  if (SameText(name, "widget")) return widget_;
  return TVisualWidget::GetObjectProperty(name);
}

bool TDecorateWidget::SetObjectProperty(const std::string& name, const Ref<IInterface>& value) {
  if (!SameText(name, "widget")) return TVisualWidget::SetObjectProperty(name, value);
  Ref<IWidget> widget = Query<IWidget>(value);
  if (value && !widget) return false;
  SetWidget(widget);
  return true;
}

const TPropertyTable<TReplicatorWidget>& TReplicatorWidget::Properties() {
  using W = TReplicatorWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TDecorateWidget::Properties())
                                             .Int(
                                                 "cols", [](const W& w) { return w.cols_; },
                                                 [](W& w, int v) {
                                                   if (v != w.cols_) w.geometryChanged_ = true;
                                                   w.cols_ = v;
                                                 },
                                                 1)
                                             .Always()
                                             .Int(
                                                 "rows", [](const W& w) { return w.rows_; },
                                                 [](W& w, int v) {
                                                   if (v != w.rows_) w.geometryChanged_ = true;
                                                   w.rows_ = v;
                                                 },
                                                 1)
                                             .Always();
  return table;
}

void TReplicatorWidget::Draw(ISurface* target, int x, int y) {
  if (!widget_) return;
  const int w = widget_->GetWidth();
  const int h = widget_->GetHeight();
  for (int i = 0; i < cols_; ++i)
    for (int j = 0; j < rows_; ++j) widget_->Draw(target, x + w * i, y + h * j);
}

}  // namespace qv
