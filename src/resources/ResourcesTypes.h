// Registers the resources subsystem's data-creatable classes.
#pragma once

namespace qv {

void RegisterResourcesTypes();

}  // namespace qv
