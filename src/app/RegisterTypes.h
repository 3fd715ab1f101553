// Fills the class registry with every data-creatable class of the program,
// subsystem by subsystem in a fixed order. Runs once at start-up.
#pragma once

namespace qv {

void RegisterAllTypes();
// RegisterAllTypes, the screens and the stand-in game ("ImageGame"): what the
// `quorvanel` executable registers, and so what the content check accepts.
void RegisterGameExecutableTypes();

}  // namespace qv
