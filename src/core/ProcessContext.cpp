#include "core/ProcessContext.h"

namespace qv {

TProcessContext& ProcessContext() {
  static TProcessContext context;
  return context;
}

void ResetProcessContext() {
  ProcessContext() = TProcessContext();
}

}  // namespace qv
