#include "widgets/WidgetFactoryCollection.h"

#include "core/Diagnostics.h"

namespace qv {

void TWidgetFactoryCollection::AddItem(const Ref<IInterface>& item) {
  const Ref<IWidgetFactory> factory = Query<IWidgetFactory>(item);
  if (!factory) {
    ReportDataError("widgetfactories", "an item that is not a widget factory is dropped");
    return;
  }
  AddByName(factory);
}

}  // namespace qv
