#include "Commands.h"

namespace qv::tool {

void RegisterTextCommands(TCommandTable& table) { (void)table; }

}  // namespace qv::tool
