// Scenarios that run without a board (their coordinates are then the
// scenario's own), and the bonus types loaded from data.
#include <gtest/gtest.h>

#include "board/Bonus.h"
#include "board/BonusType.h"
#include "board/ScenarioFlyColorCell.h"
#include "board/ScenarioTestSupport.h"
#include "core/Diagnostics.h"

namespace qv::test {
namespace {

const char kColourFlight[] = R"(<widget type="ScenarioFlyColorCell" name="fly0" visible="yes"
    x0="200" y0="200" x2="100" y2="100" Cellcolor="3" color_start="-1075089385"><widgets>
  <widget type="stochastic_particle_system" name="explosion" emission_count="5"/>
  <widget type="stochastic_particle_system" name="stsystem" visible="yes" emission_count="100"/>
  <widget type="rect_widget" name="fly_color_cell" visible="yes" anchor_left="-5" anchor_top="-5" width="10" height="10"/>
  <widget type="rect_widget" name="color_cell" visible="yes" anchor_left="-8" anchor_top="-8" width="16" height="16"/>
  <widget type="blink_widget" name="glow" firstperiod="120" secondperiod="80"/>
</widgets></widget>)";

using TColourFlightTest = TScenarioTest;

TEST_F(TColourFlightTest, BurstFlightAndArrivalAtTheirTimes) {
  const Ref<IWidget> scenario = Attach(kColourFlight);
  IWidget& s = *scenario;
  // 4 ms frames meet every phase end: 800, 800 + 888, and 200 ms of glow.
  RunTo(s, 4, 4);
  const Ref<IWidget> fly = s.GetChild("fly_color_cell");
  const Ref<IWidget> burst = s.GetChild("explosion");
  const Ref<IWidget> trail = s.GetChild("stsystem");
  ASSERT_TRUE(fly && burst && trail);
  EXPECT_TRUE(burst->IsVisible());
  EXPECT_FALSE(burst->IsPaused());
  EXPECT_FALSE(trail->IsVisible());
  EXPECT_EQ(Int(*burst, "emission_x"), 195);
  EXPECT_EQ(Int(*trail, "emission_x"), 200);
  EXPECT_EQ(fly->GetAnchorLeft(), 195);
  EXPECT_EQ(s.GetChild("color_cell")->GetAnchorTop(), 192);

  RunTo(s, 400, 4);
  EXPECT_EQ(fly->GetTransparentLevel(), 128);  // 400 * 256 div 800
  EXPECT_EQ(Int(*burst, "emission_count"), 100);
  RunTo(s, 600, 4);
  EXPECT_EQ(Int(*burst, "emission_count"), 75);

  // The flight starts at 800: the burst stops, the cell's picture goes.
  RunTo(s, 804, 4);
  EXPECT_EQ(Int(*burst, "emission_count"), 0);
  EXPECT_FALSE(s.GetChild("color_cell"));
  EXPECT_EQ(fly->GetTransparentLevel(), 255);
  EXPECT_TRUE(trail->IsVisible());

  // Before the last 500 ms the trail and the picture are left as they are.
  RunTo(s, 800 + 384, 4);
  EXPECT_EQ(Int(*trail, "emission_count"), 100);
  EXPECT_EQ(fly->GetTransparentLevel(), 255);
  // Half way (444 of 888 ms) x is 150 and y the parabola's 290; 444 ms are
  // left, so the trail emits 444 and the picture is at 444 * 255 div 500.
  RunTo(s, 800 + 444, 4);
  EXPECT_EQ(fly->GetAnchorLeft(), -5 + 150);
  EXPECT_EQ(fly->GetAnchorTop(), -5 + 290);
  EXPECT_EQ(Int(*trail, "emission_x"), 150);
  EXPECT_EQ(Int(*trail, "emission_count"), 444);
  EXPECT_EQ(fly->GetTransparentLevel(), 226);

  // The last 500 ms fade the picture and thin the trail.
  RunTo(s, 800 + 788, 4);
  EXPECT_EQ(fly->GetTransparentLevel(), 51);      // 100 * 255 div 500
  EXPECT_EQ(Int(*trail, "emission_count"), 100);  // T - t
  RunTo(s, 800 + 888 - 4, 4);
  EXPECT_EQ(Int(*trail, "emission_count"), 4);

  // Arrival at 1688: the trail stops, the picture goes, the glow shows for
  // its two periods.
  RunTo(s, 1692, 4);
  EXPECT_EQ(Int(*trail, "emission_count"), 0);
  EXPECT_FALSE(s.GetChild("fly_color_cell"));
  ASSERT_TRUE(s.GetChild("glow"));
  EXPECT_TRUE(s.GetChild("glow")->IsVisible());
  RunTo(s, 1884, 4);
  EXPECT_FALSE(s.IsDead());
  RunTo(s, 1888, 4);
  EXPECT_TRUE(s.IsDead());
}

TEST_F(TColourFlightTest, MissingChildrenAreReportedAndTheFlightStillEnds) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> scenario = Attach(R"(<widget type="ScenarioFlyColorCell" name="bare" visible="yes"/>)");
  RunTo(*scenario, 2000, 10);
  EXPECT_TRUE(scenario->IsDead());  // 800 + 888 ms, no glow
  EXPECT_GE(static_cast<int>(diagnostics.Errors().size()), 4);
  EXPECT_TRUE(diagnostics.Has("explosion"));
  EXPECT_TRUE(diagnostics.Has("fly_color_cell"));
}

TEST_F(TColourFlightTest, APathFunctionReplacesTheParabola) {
  // A straight segment of 100 steps whose ends are the flight's "x1".."y2".
  std::string cells;
  const char* names[] = {"x1", "y1", "x2", "y2"};
  for (int c = 0; c < 4; ++c)
    cells += std::string("<paramdef name='") + names[c] + "' row='2' col='" + std::to_string(c) +
             "' static='yes' value='0'/>";
  const std::string xml =
      R"(<widget type="ScenarioFlyColorCell" name="fly1" visible="yes" x0="200" y0="200" x2="100" y2="100"><widgets>)"
      R"(<widget type="rect_widget" name="fly_color_cell" visible="yes" width="10" height="10"/>)"
      R"(</widgets><function type="path_segment"><paramspace><paramdefs>)"
      R"(<paramdef row='0' col='0' static='yes' value='0'/><paramdef row='0' col='1' static='yes' value='0'/>)"
      R"(<paramdef row='1' col='0' static='yes' value='0'/>)" +
      cells +
      R"(<paramdef row='2' col='4' static='yes' value='100'/><paramdef row='2' col='5' static='yes' value='0'/>)"
      R"(</paramdefs></paramspace></function></widget>)";
  const Ref<IWidget> scenario = Attach(xml);
  auto* flight = dynamic_cast<TScenarioFlyColorCell*>(scenario.get());
  ASSERT_TRUE(flight);
  ASSERT_TRUE(flight->Path());
  RunTo(*scenario, 800 + 444, 4);
  // The phase still lasts the parabola's 888 ms; half of it is step 50.
  EXPECT_EQ(flight->FlightTime(), 888);
  const Ref<IWidget> fly = scenario->GetChild("fly_color_cell");
  EXPECT_EQ(fly->GetAnchorLeft(), 150);
  EXPECT_EQ(fly->GetAnchorTop(), 150);
}

TEST_F(TScenarioTest, ArtifactFlightWithoutItsPictureFactoryEndsOnTime) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> scenario =
      Attach(R"(<widget type="ScenarioFlyArtifact" name="artifact_fly" x1="10" y1="300" artifact="4"/>)");
  RunTo(*scenario, 1490, 10);
  EXPECT_FALSE(scenario->IsDead());
  RunTo(*scenario, 1500, 10);
  EXPECT_TRUE(scenario->IsDead());
  EXPECT_GE(static_cast<int>(diagnostics.Errors().size()), 1);  // no "Artifact" factory anywhere
}

const char kBonusType[] = R"(<bonustype type="BonusType" name="shovel" bonustype="3">
  <context_params>
    <context><param name="mode" value="relax"/></context>
    <content>
      <context_param name="weight">
        <context_values>
          <context_value value="7"><context><param name="mode" value="relax"/></context></context_value>
          <context_value value="2"/>
        </context_values>
      </context_param>
    </content>
  </context_params>
  <widgetfactories>
    <widgetfactory type="WidgetFactory" name="widget_bonus">
      <widgetstring><widget type="rect_widget" name="bonus%n%" width="%n%" height="2"/></widgetstring>
    </widgetfactory>
  </widgetfactories>
</bonustype>)";

TEST_F(TScenarioTest, BonusTypesLoadTheirWeightAndMakeTheirWidget) {
  const Ref<TBonusType> type = CreateFromNodeAs<TBonusType>(LoadStorageText(kBonusType));
  ASSERT_TRUE(type);
  EXPECT_EQ(type->GetBonusType(), 3);
  EXPECT_EQ(type->Weight(), 7);
  type->ContextParams().SetContextValue("mode", TVariant(std::string("classic")));
  EXPECT_EQ(type->Weight(), 2);
  const Ref<TParamCollection> params = MakeRef<TParamCollection>();
  params->Initialize();
  params->SetParamValue("n", TVariant(std::string("5")));
  const Ref<IWidget> widget = type->CreateBonusWidget(params.get());
  ASSERT_TRUE(widget);
  EXPECT_EQ(widget->GetName(), "bonus5");
  EXPECT_EQ(widget->GetWidth(), 5);

  // Saved and loaded again, it keeps its number and its factory.
  const StorageRef saved = LoadStorageText("<bonustype/>");
  type->Save(saved);
  const Ref<TBonusType> again = CreateFromNodeAs<TBonusType>(saved);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->GetBonusType(), 3);
  EXPECT_TRUE(again->CreateBonusWidget(params.get()));
}

TEST_F(TScenarioTest, BonusTypeWithoutWeightOrFactory) {
  TDiagnosticsCollector diagnostics;
  const Ref<TBonusType> type =
      CreateFromNodeAs<TBonusType>(LoadStorageText(R"(<bonustype type="BonusType" bonustype="1"/>)"));
  ASSERT_TRUE(type);
  EXPECT_EQ(type->Weight(), 0);
  EXPECT_FALSE(type->CreateBonusWidget(nullptr));
  EXPECT_TRUE(diagnostics.Has("widget_bonus"));

  const Ref<TBonus> bonus =
      CreateFromNodeAs<TBonus>(LoadStorageText(R"(<bonus type="Bonus" bonustype="3" params="x=1\y={2}"/>)"));
  ASSERT_TRUE(bonus);
  EXPECT_EQ(bonus->GetBonusType(), 3);
  EXPECT_EQ(bonus->GetParams(), "x=1\\y={2}");
}

}  // namespace
}  // namespace qv::test
