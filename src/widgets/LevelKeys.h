// Transparency levels read from data: keys whose values are bytes.
#pragma once

#include <algorithm>
#include <string>

#include "core/Diagnostics.h"

namespace qv {

// The property-table setter of a level key stored in `field`: a value
// outside 0..255 is reported under the widget's name and key and clamped.
template <class W>
auto LevelSetter(int W::*field, const char* key) {
  return [field, key](W& w, int v) {
    if (v < 0 || v > 255) {
      ReportDataError("widget " + w.GetName() + "@" + key,
                      "level " + std::to_string(v) + " is not in 0..255");
      v = std::clamp(v, 0, 255);
    }
    w.*field = v;
  };
}

}  // namespace qv
