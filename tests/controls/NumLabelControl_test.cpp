#include <gtest/gtest.h>

#include "controls/ControlTestSupport.h"
#include "controls/ControlText.h"
#include "controls/NumLabelControl.h"
#include "core/ProcessContext.h"
#include "core/StringUtils.h"

namespace qv {
namespace {

using test::TControlTest;

class NumLabels : public TControlTest {
protected:
  void TearDown() override {
    ProcessContext().textHook = nullptr;
    TControlTest::TearDown();
  }
  Ref<TNumLabelControl> Make(const std::string& attributes) {
    Attach(
        R"(<widget type="NumLabelControl" name="score" visible="yes" width="100" height="10" )" + attributes +
        R"(><widgets><widget type="text_widget" name="label" visible="yes" resourcename="font" width="100" height="10"/></widgets></widget>)");
    return Control<TNumLabelControl>("score");
  }
  std::string Label() {
    return VarToString(screen->FindWidget("score/label")->GetPropertyValue("text_utf8"));
  }
  // The shown values after each of `frames` frames of dt.
  std::string Run(TNumLabelControl& label, int frames, int dt) {
    std::string out;
    for (int i = 0; i < frames; ++i) {
      screen->Frame(dt);
      out += (out.empty() ? "" : " ") + std::to_string(label.GetShownValue());
    }
    return out;
  }
};

TEST_F(NumLabels, CountsWithinTheLongestDuration) {
  const Ref<TNumLabelControl> label = Make(R"(maxincrementaldurationtime="1000")");
  EXPECT_EQ(Label(), "0");  // a score of nothing yet reads 0, not blank
  label->SetPropertyValue("value", 1000);
  EXPECT_FALSE(VarToBool(label->GetPropertyValue("animation_complete")));
  EXPECT_EQ(Run(*label, 11, 100), "100 200 300 400 500 600 700 800 900 1000 1000");
  EXPECT_TRUE(VarToBool(label->GetPropertyValue("animation_complete")));
  EXPECT_EQ(VarToInt(label->GetPropertyValue("current_value")), 1000);
}

TEST_F(NumLabels, NeverSlowerThanTheSmallestSpeed) {
  const Ref<TNumLabelControl> label =
      Make(R"(maxincrementaldurationtime="1000" minincrementalvaluepersecond="5000")");
  label->SetPropertyValue("value", 1000);
  EXPECT_EQ(Run(*label, 3, 100), "500 1000 1000");
}

TEST_F(NumLabels, CountsDownAndStopsAtTheTarget) {
  const Ref<TNumLabelControl> label =
      Make(R"(maxincrementaldurationtime="300" minincrementalvaluepersecond="1000")");
  label->SetPropertyValue("value", 10);
  screen->Frame(400);  // longer than the duration: at once
  EXPECT_EQ(label->GetShownValue(), 10);
  label->SetPropertyValue("value", -290);
  // Both steps are -100 in each frame: (-300 x 100) div 300, then
  // (-200 x 100) div 200, (-100 x 100) div 100, against 1000 x 100 div 1000.
  EXPECT_EQ(Run(*label, 4, 100), "-90 -190 -290 -290");
}

TEST_F(NumLabels, ANewValueRestartsTheDuration) {
  const Ref<TNumLabelControl> label = Make(R"(maxincrementaldurationtime="1000")");
  label->SetValue(1000);
  Run(*label, 5, 100);
  EXPECT_EQ(label->GetShownValue(), 500);
  label->SetValue(1500);
  EXPECT_EQ(label->GetElapsed(), 0);
  EXPECT_EQ(Run(*label, 2, 100), "600 700");
}

TEST_F(NumLabels, WithoutAnimationTheValueShowsAtOnce) {
  const Ref<TNumLabelControl> label = Make(R"(animation="no" maxincrementaldurationtime="1000")");
  label->SetPropertyValue("value", 1234567);
  screen->Frame(10);
  EXPECT_EQ(label->GetShownValue(), 1234567);
  EXPECT_EQ(Label(), "1,234,567");
  // Switching the animation on jumps to the value as well.
  label->SetPropertyValue("value", 42);
  label->SetPropertyValue("animation", true);
  EXPECT_EQ(label->GetShownValue(), 42);
  EXPECT_EQ(Label(), "42");
}

TEST_F(NumLabels, TheSeparatorIsTheLanguageString) {
  ProcessContext().textHook = [](const std::string& text) {
    return text == "%thousand_separator%" ? std::string("\xC2\xA0") : text;
  };
  const Ref<TNumLabelControl> label = Make("");
  label->SetPropertyValue("value", -1234567);
  screen->Frame(10);
  EXPECT_EQ(Label(),
            "-1\xC2\xA0"
            "234\xC2\xA0"
            "567");
}

TEST(ThousandsGrouping, GroupsOfThreeFromTheRight) {
  EXPECT_EQ(GroupThousands(0, ","), "0");
  EXPECT_EQ(GroupThousands(999, ","), "999");
  EXPECT_EQ(GroupThousands(1000, ","), "1,000");
  EXPECT_EQ(GroupThousands(100000, "."), "100.000");
  EXPECT_EQ(GroupThousands(-12345, " "), "-12 345");
  EXPECT_EQ(GroupThousands(-2147483648LL, ","), "-2,147,483,648");
}

TEST(ControlText, Utf8AndUpperCase) {
  EXPECT_EQ(DecodeUtf8("a\xC3\xA9\xE2\x82\xAC"), U"a\u00E9\u20AC");
  EXPECT_EQ(EncodeUtf8(U"a\u00E9\u20AC\U0001F600"), "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(DecodeUtf8("\xC3"), U"\uFFFD");
  EXPECT_EQ(DecodeUtf8("\xFFx"), U"\uFFFDx");
  EXPECT_EQ(UpperCaseChar(U'q'), U'Q');
  EXPECT_EQ(UpperCaseChar(U'\u00E9'), U'\u00C9');
  EXPECT_EQ(UpperCaseChar(U'\u00F7'), U'\u00F7');
  EXPECT_EQ(UpperCaseChar(U'\u044F'), U'\u042F');
  EXPECT_EQ(UpperCaseChar(U'1'), U'1');
}

}  // namespace
}  // namespace qv
