// The screen as its widgets see it. Capture, focus and the screen's own
// sounds join it with the screens.
#pragma once

#include <string>

#include "core/Ref.h"

namespace qv {

class IWidget;

class IWindow : public virtual IInterface {
protected:
  ~IWindow() override = default;

public:
  // A path looked up from the screen's root widget.
  virtual Ref<IWidget> FindWidget(const std::string& path) = 0;
};

}  // namespace qv
