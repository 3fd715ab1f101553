// Registration of the data-creatable classes of the functions subsystem.
#pragma once

namespace qv {

// Registers every "function_" kind with the class registry.
void RegisterFunctionsTypes();

}  // namespace qv
