// A control the keyboard can press: Enter or Space on a focused button,
// Escape on a dialog's cancel or close button. Click does what a press and
// release inside the control do (sounds and action included).
#pragma once

#include "core/Ref.h"

namespace qv {

class IClickable : public virtual IInterface {
protected:
  ~IClickable() override = default;

public:
  // False when the control is disabled or hidden and nothing happened.
  virtual bool Click() = 0;
};

}  // namespace qv
