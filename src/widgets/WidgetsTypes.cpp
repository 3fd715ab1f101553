#include "widgets/WidgetsTypes.h"

#include "storage/ClassRegistry.h"
#include "widgets/RectWidget.h"
#include "widgets/VisualGroupWidget.h"

namespace qv {

void RegisterWidgetsTypes() {
  RegisterClass<TVisualGroupWidget>("group_widget");
  RegisterClass<TRectWidget>("rect_widget");
}

}  // namespace qv
