// The engine's millisecond clock.
#pragma once

#include <cstdint>

#include "core/Ref.h"

namespace qv {

class IClock : public virtual IInterface {
protected:
  ~IClock() override = default;

public:
  // Milliseconds since an arbitrary start, wrapping after about 49 days. In
  // a fixed-step run it is the time the frames have advanced, so a run is
  // the same whatever the machine's speed.
  virtual uint32_t Milliseconds() = 0;
};

}  // namespace qv
