#include "widgets/WidgetsTypes.h"

#include "storage/ClassRegistry.h"
#include "widgets/DecorateWidget.h"
#include "widgets/RectWidget.h"
#include "widgets/SurfaceWidget.h"
#include "widgets/VisualGroupWidget.h"
#include "widgets/WidgetFactory.h"

namespace qv {

void RegisterWidgetsTypes() {
  RegisterClass<TVisualGroupWidget>("group_widget");
  RegisterClass<TRectWidget>("rect_widget");
  RegisterClass<TSurfaceWidget>("surface_widget");
  RegisterClass<TLinkedSurfaceWidget>("linked_surface_widget");
  RegisterClass<TReplicatorWidget>("replicator_widget");
  RegisterClass<TWidgetFactory>("WidgetFactory");
}

}  // namespace qv
