// Registers the graphics subsystem's data-creatable classes.
#pragma once

namespace qv {

void RegisterGraphicsTypes();

}  // namespace qv
