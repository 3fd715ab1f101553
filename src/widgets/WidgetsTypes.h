// Registration of the widget tree's data-creatable classes.
#pragma once

namespace qv {

// "group_widget", "rect_widget", "surface_widget", "linked_surface_widget"
// and "replicator_widget" with the class registry.
void RegisterWidgetsTypes();

}  // namespace qv
