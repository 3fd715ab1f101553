// A filled rectangle of the widget's size.
#pragma once

#include <cstdint>

#include "widgets/VisualWidget.h"

namespace qv {

class TRectWidget : public TSingleWidget {
public:
  // "color", always written; a property that can be written but not read.
  QV_PROPERTY_TABLE(TRectWidget)

  uint32_t GetColor() const { return color_; }
  void SetColor(uint32_t value);
  // Fills (x, y, x + width, y + height) at the transparency level. The
  // whole rectangle is covered, which is what a mask of the widget's size
  // without an alpha channel gives, so no mask surface is made.
  void Draw(ISurface* target, int x, int y) override;

protected:
  ~TRectWidget() override = default;

private:
  uint32_t color_ = 0;
};

}  // namespace qv
