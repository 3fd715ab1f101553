// Handing a web address or a file to the desktop: the buttons with the
// "url" and "run_file" actions use it.
#pragma once

#include <string>

#include "core/Ref.h"

namespace qv {

class IDesktopOpener : public virtual IInterface {
protected:
  ~IDesktopOpener() override = default;

public:
  // Hands an existing file, or an address, to the desktop and minimises.
  virtual void OpenFile(const std::string& path) = 0;
  virtual void OpenURL(const std::string& address) = 0;
};

}  // namespace qv
