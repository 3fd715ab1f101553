// Registration of the data-creatable classes of the functions subsystem,
// and the creation of functions by their "type".
#pragma once

#include "functions/Function.h"
#include "storage/HierStorage.h"

namespace qv {

// Registers every "function_" and "path_" kind with the class registry.
void RegisterFunctionsTypes();

// The function an element's "type" names, created and named but not yet
// loaded; nullptr, reported as a data error, when the type is unknown or
// names no function kind.
Ref<IFunction> CreateFunctionOfType(const StorageRef& storage);

}  // namespace qv
