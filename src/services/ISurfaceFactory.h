// Surface creation: widgets render images, caches and transform buffers into
// surfaces the engine makes.
#pragma once

#include "core/Ref.h"
#include "graphics/Surface.h"

namespace qv {

class ISurfaceFactory : public virtual IInterface {
protected:
  ~ISurfaceFactory() override = default;

public:
  // A new empty 32-bit surface (size 0 x 0 until SetSize).
  virtual Ref<ISurface> CreateSurface() = 0;
};

}  // namespace qv
