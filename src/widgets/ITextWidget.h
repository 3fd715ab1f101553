// What a text widget answers beyond the widget operations: measures of a
// text in its font and the laid-out place of one of its characters.
#pragma once

#include <string>

#include "graphics/Rect.h"
#include "widgets/IWidget.h"

namespace qv {

class ITextWidget : public virtual IInterface {
protected:
  ~ITextWidget() override = default;

public:
  // Over the characters (UTF-8) the font has: the sum of the advances
  // (the fixed width when used, else the glyph width), the largest glyph
  // height. 0 without a font.
  virtual int TextWidth(const std::string& text) = 0;
  virtual int TextHeight(const std::string& text) = 0;
  // The rectangle of the character at the 1-based position, in owner
  // coordinates; false when out of range or not shown.
  virtual bool SymbolRect(int position, TRect& rect) = 0;
};

}  // namespace qv
