// Closing the program from inside the game: the quit screen's exit button.
#pragma once

#include "core/Ref.h"

namespace qv {

class IApplicationClose : public virtual IInterface {
protected:
  ~IApplicationClose() override = default;

public:
  // Asks the window to close and stops frames.
  virtual void Close() = 0;
};

}  // namespace qv
