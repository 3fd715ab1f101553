// One flower (or artifact) on the board: a visual group made by the
// "FlowerColor" or "Artifact" factory, which knows its colour code.
#pragma once

#include <cstdint>

#include "widgets/VisualGroupWidget.h"

namespace qv {

class TFlowerWidget : public TVisualGroupWidget {
public:
  // "Flowercolor" (default 0).
  QV_PROPERTY_TABLE(TFlowerWidget)

  int32_t GetFlowerCode() const { return code_; }
  void SetFlowerCode(int32_t code) { code_ = code; }
  // The pointer came near: restarts the "widgetFlower" child and plays
  // "FlowerShine".
  void Hover();

protected:
  ~TFlowerWidget() override = default;

private:
  int32_t code_ = 0;
};

}  // namespace qv
