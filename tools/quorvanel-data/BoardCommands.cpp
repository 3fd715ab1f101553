#include "Commands.h"

namespace qv::tool {

void RegisterBoardCommands(TCommandTable& table) { (void)table; }

}  // namespace qv::tool
