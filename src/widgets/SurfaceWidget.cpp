#include "widgets/SurfaceWidget.h"

#include "core/Diagnostics.h"

namespace qv {

const TPropertyTable<TSurfaceWidget>& TSurfaceWidget::Properties() {
  using W = TSurfaceWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TVisualWidget::Properties())
                                             .Enum("drawmode", kDrawKindNames, &W::drawMode_)
                                             .Colour("fillcolor", &W::GetFillColor, &W::SetFillColor)
                                             .Always()
                                             .Int(
                                                 "width", [](const W& w) { return w.width_; },
                                                 [](W& w, int v) { w.SetGeometryValue(w.width_, v); })
                                             .PropertyOnly()
                                             .Int(
                                                 "height", [](const W& w) { return w.height_; },
                                                 [](W& w, int v) { w.SetGeometryValue(w.height_, v); })
                                             .PropertyOnly()
                                             .Int(
                                                 "shiftleft", [](const W& w) { return w.shiftLeft_; },
                                                 [](W& w, int v) { w.SetGeometryValue(w.shiftLeft_, v); })
                                             .PropertyOnly()
                                             .Int(
                                                 "shifttop", [](const W& w) { return w.shiftTop_; },
                                                 [](W& w, int v) { w.SetGeometryValue(w.shiftTop_, v); })
                                             .PropertyOnly();
  return table;
}

void TSurfaceWidget::SetSurface(const Ref<ISurface>& surface) {
  surface_ = surface;
  width_ = surface_ ? surface_->GetWidth() : 0;
  height_ = surface_ ? surface_->GetHeight() : 0;
  shiftTop_ = 0;
  shiftLeft_ = 0;
  geometryChanged_ = true;
}

void TSurfaceWidget::SetFillColor(uint32_t value) {
  if (value != fillColor_) needRepaint_ = true;
  fillColor_ = value;
}

void TSurfaceWidget::Draw(ISurface* target, int x, int y) {
  if (!target || !surface_) return;
  const TRect source{shiftLeft_, shiftTop_, shiftLeft_ + width_, shiftTop_ + height_};
  const TRect dest{x, y, x + width_, y + height_};
  if (drawMode_ == kFillColor)
    target->FillColor(fillColor_, surface_.get(), kBlendNormal, transparentLevel_, dest, source);
  else
    target->Draw(surface_.get(), source, kBlendNormal, transparentLevel_, dest);
}

Ref<IInterface> TSurfaceWidget::GetObjectProperty(const std::string& name) {
  if (SameText(name, "surface")) return surface_;
  return TVisualWidget::GetObjectProperty(name);
}

bool TSurfaceWidget::SetObjectProperty(const std::string& name, const Ref<IInterface>& value) {
  if (!SameText(name, "surface")) return TVisualWidget::SetObjectProperty(name, value);
  Ref<ISurface> surface = Query<ISurface>(value);
  if (value && !surface) return false;  // the value must supply a surface
  SetSurface(surface);
  return true;
}

const TPropertyTable<TLinkedSurfaceWidget>& TLinkedSurfaceWidget::Properties() {
  using W = TLinkedSurfaceWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TSurfaceWidget::Properties()).String("linked_widget_name", &W::linkedWidgetName_);
  return table;
}

void TLinkedSurfaceWidget::AdvanceTime(int dt) {
  TSurfaceWidget::AdvanceTime(dt);
  if (linkedWidgetName_.empty()) return;
  const Ref<IWidget> linked = FindWidget(linkedWidgetName_);
  if (!linked) {
    if (reportedName_ != linkedWidgetName_)
      ReportDataError("widget " + GetFullPath(), "no widget \"" + linkedWidgetName_ + "\" to link to");
    reportedName_ = linkedWidgetName_;
    return;
  }
  SetSurface(linked->GetImage());
}

}  // namespace qv
