// The fixture of the board scenarios' tests that need no board: the widget,
// function, particle and board scenario kinds registered, a fake engine
// and screen, and a clock that advances a widget by fixed steps.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board/BoardScenarioTypes.h"
#include "core/Variant.h"
#include "particles/ParticlesTypes.h"
#include "widgets/WidgetTestSupport.h"

namespace qv::test {

class TScenarioTest : public TWidgetTest {
protected:
  void SetUp() override {
    TWidgetTest::SetUp();
    RegisterParticlesTypes();
    RegisterBoardScenarioTypes();
  }

  // Advances `widget` by `step` until `until` milliseconds of frames have
  // passed since the last call (the clock the test keeps in `now`).
  void RunTo(IWidget& widget, int until, int step) {
    while (now < until) {
      widget.Advance(step);
      now += step;
    }
  }

  static long long Int(IWidget& widget, const std::string& name) {
    return VarToInt(widget.GetPropertyValue(name), -9999);
  }

  int now = 0;
};

}  // namespace qv::test
