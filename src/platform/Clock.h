// The millisecond clock and sleeping.
#pragma once

#include <cstdint>

namespace qv {

// Milliseconds since an arbitrary start; wraps after about 49 days.
uint32_t PlatformTicks();
// Sleeps the calling thread for at least `ms` milliseconds.
void PlatformSleep(uint32_t ms);

}  // namespace qv
