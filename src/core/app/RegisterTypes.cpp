#include "core/app/RegisterTypes.h"

namespace qv {

// Each subsystem's own registration function, lowest subsystem first.
void RegisterAllTypes() {
}

}  // namespace qv
