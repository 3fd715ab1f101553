#include "Commands.h"

namespace qv::tool {

void RegisterGraphicsCommands(TCommandTable& table) { (void)table; }

}  // namespace qv::tool
