// A label that changes its picture while the pointer is over it; it does
// not react to clicks.
#pragma once

#include "controls/ControlWidget.h"

namespace qv {

class TLabelControl : public TControlWidget {
public:
  void SetOwner(IWidgetOwner* owner) override;
  void AdvanceTime(int dt) override;
  // Only while enabled: "image_selected" (else "image_normal") on hover,
  // "image_normal" otherwise.
  void UpdateVisual();

  bool IsHover() const { return hover_; }
  int GetVisualState() const { return visualState_; }

protected:
  ~TLabelControl() override = default;

private:
  bool hover_ = false;
  int visualState_ = 0;
};

}  // namespace qv
