#include "widgets/ResourceWidget.h"

#include "core/Diagnostics.h"

namespace qv {

const TPropertyTable<TResourceWidget>& TResourceWidget::Properties() {
  using W = TResourceWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TSingleWidget::Properties())
                                             .String(
                                                 "resourcename", [](const W& w) { return w.resourceName_; },
                                                 [](W& w, const std::string& v) { w.SetResourceName(v); })
                                             .Always();
  return table;
}

void TResourceWidget::SetResourceName(const std::string& name) {
  if (name == resourceName_) return;
  resourceName_ = name;
  needRepaint_ = true;
}

template <class I>
Ref<I> TResourceWidget::FindNamed(const char* kind) {
  if (resourceName_.empty()) return nullptr;
  auto* lookup = GetService<IResourceLookup>();
  if (!lookup) return nullptr;
  const Ref<IResource> resource = lookup->FindResource(resourceName_);
  Ref<I> typed = Query<I>(resource);
  if (!typed && reportedName_ != resourceName_) {
    reportedName_ = resourceName_;
    ReportDataError("widget " + GetFullPath(), resource ? "resource \"" + resourceName_ + "\" is not " + kind
                                                        : "no resource named \"" + resourceName_ + "\"");
  }
  return typed;
}

Ref<IImageResource> TResourceWidget::FindImageResource() {
  return FindNamed<IImageResource>("an image");
}

Ref<IFontResource> TResourceWidget::FindFontResource() {
  return FindNamed<IFontResource>("a font");
}

}  // namespace qv
