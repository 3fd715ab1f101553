// The oil lamp: the warning volumes and the oil height as numbers, then the
// control from its widget text, its clock run down on 10 ms frames as the
// classic manager writes it.
#include "board/OilLampControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "board/BoardRegistration.h"
#include "core/Diagnostics.h"
#include "core/Variant.h"
#include "particles/ParticlesTypes.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

TEST(LampWarningVolume, OnlyWholeMinutesOfTheLastThreePlayWeakerTheMoreIsLeft) {
  // 2:30 left: crossing 2:00 plays at 100 div 3, 1:00 at 50, 0:00 nothing.
  EXPECT_EQ(LampWarningVolume(120005, 119995), 33);
  EXPECT_EQ(LampWarningVolume(60003, 59993), 50);
  EXPECT_EQ(LampWarningVolume(5, -5), 0);
  EXPECT_EQ(LampWarningVolume(0, -60000), 0);
  // Within a minute, or at three minutes and more, nothing.
  EXPECT_EQ(LampWarningVolume(150000, 120000), 0);
  EXPECT_EQ(LampWarningVolume(180010, 180000), 0);
  EXPECT_EQ(LampWarningVolume(240000, 180000), 0);
  // Just under three minutes: from the third minute, 100 div 4.
  EXPECT_EQ(LampWarningVolume(180000, 179990), 25);
  // A jump over two minutes is one warning, by the minute it came from.
  EXPECT_EQ(LampWarningVolume(150000, 30000), 33);
}

TEST(LampEmptyHeight, TheGlassEmptiesFromTheTopAsTheTimeGoes) {
  EXPECT_EQ(LampEmptyHeight(132000, 132000, 60), 0);
  EXPECT_EQ(LampEmptyHeight(132000, 66000, 60), 30);
  EXPECT_EQ(LampEmptyHeight(132000, 1000, 60), 59);  // 131000 * 60 div 132000
  EXPECT_EQ(LampEmptyHeight(132000, 0, 60), 60);
  EXPECT_EQ(LampEmptyHeight(132000, -500, 60), 60);
  EXPECT_EQ(LampEmptyHeight(132000, 200000, 60), 0);
  EXPECT_EQ(LampEmptyHeight(0, 0, 60), 0);  // not timed
  // Allowances near the 32-bit limit do not overflow.
  EXPECT_EQ(LampEmptyHeight(2000000000, 1000000000, 60), 30);
  EXPECT_EQ(LampParticles(0, 60), 30);
  EXPECT_EQ(LampParticles(30, 60), 15);
  EXPECT_EQ(LampParticles(59, 60), 0);
  EXPECT_EQ(LampParticles(0, 200), 30);
}

constexpr const char* kLamp =
    R"(<widget type="ZintaraOilLampControl" name="OilLamp_control" visible="yes" width="180" height="40" )"
    R"(OilLampStartAnimationTime="60000" OilLampEndAnimationTime="10000"><widgets>)"
    R"(<widget type="rect_widget" name="image_oil_lamp" visible="yes" width="60" height="24"/>)"
    R"(<widget type="rect_widget" name="image_oil_lamp_shine" visible="no" width="60" height="24"/>)"
    R"(<widget type="rect_widget" name="blink_OilLamp" visible="no" width="60" height="24"/>)"
    R"(<widget type="rect_widget" name="fire" visible="no" width="10" height="10"/>)"
    R"(<widget type="animation_widget" name="fire_shine" visible="no" width="10" height="10" framescount="1" animationtime="100"/>)"
    R"(<widget type="rect_widget" name="fire_animation" visible="no" width="10" height="10"/>)"
    R"(<widget type="rect_widget" name="fire_end" visible="no" width="10" height="10"/>)"
    R"(<widget type="stochastic_particle_system" name="ps_OilLamp" visible="yes" emission_count="0"/>)"
    R"(</widgets><sounds><sound name="sound_attention" resourcename="res_attention"/>)"
    R"(<sound name="sound_attention2s" resourcename="res_attention2s"/></sounds></widget>)";

class OilLampTest : public test::TWidgetTest {
protected:
  void SetUp() override {
    TWidgetTest::SetUp();
    RegisterParticlesTypes();
    RegisterBoardTypes();
    lamp = dynamic_cast<TZintaraOilLampControl*>(Attach(kLamp).get());
    ASSERT_TRUE(lamp);
  }
  bool Visible(const std::string& name) { return lamp->GetChild(name)->IsVisible(); }
  long long Property(const std::string& child, const std::string& name) {
    return VarToInt(lamp->GetChild(child)->GetPropertyValue(name), -1);
  }
  // Writes the time left from `from` down to `to` in steps of 10 ms, as the
  // classic manager does every frame; returns the sounds heard.
  std::vector<std::string> RunDown(int from, int to) {
    engine->played.clear();
    for (int t = from; t >= to; t -= 10)
      lamp->SetPropertyValue("OilLampCurrentTime", static_cast<long long>(t));
    return engine->played;
  }

  TZintaraOilLampControl* lamp = nullptr;
};

TEST_F(OilLampTest, TwoAndAHalfMinutesRunDownThroughTheStagesAndWarnings) {
  EXPECT_EQ(lamp->GetFullHeight(), 24);
  lamp->SetPropertyValue("OilLampLevelTime", 150000LL);
  EXPECT_EQ(VarToInt(lamp->GetPropertyValue("OilLampCurrentTime"), 0), 150000);
  EXPECT_EQ(lamp->GetStage(), -1);

  // The first time shown: stage 0, a full lamp, the most particles.
  EXPECT_TRUE(RunDown(150000, 150000).empty());
  EXPECT_EQ(lamp->GetStage(), kLampNormal);
  EXPECT_TRUE(Visible("fire"));
  EXPECT_TRUE(Visible("fire_shine"));
  EXPECT_FALSE(Visible("fire_animation"));
  EXPECT_EQ(Property("fire_shine", "startdelaytime"), 150000 % 30000 + 30000);
  EXPECT_EQ(Property("image_oil_lamp", "height"), 0);
  EXPECT_EQ(Property("ps_OilLamp", "emission_count"), 12);  // 24 div 2

  // Down to 2:00: nothing yet; crossing it, the warning at 33 with the
  // glass shine and the blink.
  EXPECT_TRUE(RunDown(149990, 120000).empty());
  EXPECT_FALSE(Visible("blink_OilLamp"));
  EXPECT_EQ(RunDown(119990, 60000), (std::vector<std::string>{"res_attention 33 0"}));
  EXPECT_TRUE(Visible("blink_OilLamp"));
  EXPECT_TRUE(Visible("image_oil_lamp_shine"));
  EXPECT_EQ(Property("image_oil_lamp", "height"), 14);  // 90000 * 24 div 150000

  // Crossing 1:00 warns at 50 and the flame turns low (its own warning).
  EXPECT_EQ(RunDown(59990, 10000), (std::vector<std::string>{"res_attention 50 0", "res_attention -1 -101"}));
  EXPECT_EQ(lamp->GetStage(), kLampLow);
  EXPECT_TRUE(Visible("fire_animation"));
  EXPECT_FALSE(Visible("fire"));
  EXPECT_FALSE(Visible("fire_shine"));

  // Below the end time the flame ends; crossing 0:00 warns no more.
  EXPECT_EQ(RunDown(9990, -100), (std::vector<std::string>{"res_attention2s -1 -101"}));
  EXPECT_EQ(lamp->GetStage(), kLampEnding);
  EXPECT_TRUE(Visible("fire_end"));
  EXPECT_FALSE(Visible("fire_animation"));
  EXPECT_EQ(VarToInt(lamp->GetPropertyValue("OilLampCurrentTime"), -1), 0);
  EXPECT_EQ(Property("image_oil_lamp", "height"), 24);
  EXPECT_EQ(Property("ps_OilLamp", "emission_count"), 0);
}

TEST_F(OilLampTest, TheBonusDrainIsSilentAndANewLevelFillsTheLamp) {
  lamp->SetPropertyValue("OilLampLevelTime", 150000LL);
  RunDown(150000, 70000);
  lamp->SetPropertyValue("OilLampBonusMode", TVariant(true));
  // The level end drains the lamp: the flame follows, nothing is heard,
  // no particles leave it.
  EXPECT_TRUE(RunDown(70000, 0).empty());
  EXPECT_EQ(lamp->GetStage(), kLampEnding);
  EXPECT_EQ(Property("ps_OilLamp", "emission_count"), 0);

  // The next level: full again, out of bonus mode, stage 0 shown afresh.
  lamp->SetPropertyValue("OilLampLevelTime", 100000LL);
  EXPECT_FALSE(lamp->IsBonusMode());
  EXPECT_TRUE(RunDown(100000, 100000).empty());
  EXPECT_EQ(lamp->GetStage(), kLampNormal);
  EXPECT_EQ(Property("image_oil_lamp", "height"), 0);
  EXPECT_EQ(Property("ps_OilLamp", "emission_count"), 12);
  // A level shorter than the low stage starts low, with its warning.
  lamp->SetPropertyValue("OilLampLevelTime", 30000LL);
  EXPECT_EQ(RunDown(30000, 30000), (std::vector<std::string>{"res_attention -1 -101"}));
  EXPECT_EQ(lamp->GetStage(), kLampLow);
}

TEST_F(OilLampTest, WithoutAnAllowanceTheLampIsNotUsed) {
  lamp->SetPropertyValue("OilLampLevelTime", 0LL);
  EXPECT_TRUE(RunDown(130000, -20).empty());
  EXPECT_EQ(lamp->GetStage(), -1);
  EXPECT_EQ(Property("image_oil_lamp", "height"), 24);
  EXPECT_FALSE(Visible("fire"));
}

class OilLampPartsTest : public test::TWidgetTest {};

TEST_F(OilLampPartsTest, MissingPartsAreReportedAndTheRestStillWorks) {
  RegisterBoardTypes();
  TDiagnosticsCollector errors;
  const Ref<IWidget> root = Attach(
      R"(<widget type="ZintaraOilLampControl" name="lamp" visible="yes" width="180" height="40"><widgets>)"
      R"(<widget type="rect_widget" name="image_oil_lamp" visible="yes" width="60" height="20"/>)"
      R"(</widgets></widget>)");
  EXPECT_EQ(errors.Errors().size(), 7u);
  EXPECT_TRUE(errors.Has("no \"fire_end\" child"));
  EXPECT_TRUE(errors.Has("no \"ps_OilLamp\" child"));
  root->SetPropertyValue("OilLampLevelTime", 40000LL);
  root->SetPropertyValue("OilLampCurrentTime", 5000LL);
  EXPECT_EQ(VarToInt(root->GetPropertyValue("OilLampStage"), -1), kLampEnding);
  EXPECT_EQ(VarToInt(root->GetChild("image_oil_lamp")->GetPropertyValue("height"), -1),
            17);  // 35000*20 div 40000
  EXPECT_EQ(errors.Errors().size(), 7u);
}

}  // namespace
}  // namespace qv
