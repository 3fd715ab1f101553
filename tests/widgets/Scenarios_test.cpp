#include <gtest/gtest.h>

#include <cmath>

#include "core/Diagnostics.h"
#include "core/Random.h"
#include "storage/XMLStorage.h"
#include "widgets/GroupWidget.h"
#include "widgets/MoveScenario.h"
#include "widgets/TransparentScenario.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

using test::WidgetFromXml;

// A root group holding a target box at (5, 6) with level 200.
constexpr const char* kRoot =
    R"(<widget type="group_widget" name="root" visible="yes"><widgets>)"
    R"(<widget type="rect_widget" name="box" visible="yes" transparentlevel="200" anchor_left="5" anchor_top="6" width="4" height="4"/>)"
    R"(</widgets></widget>)";

class Scenarios : public test::TWidgetTest {
protected:
  // The scenario made from `xml`, aimed at "box" and inserted into the root.
  Ref<IWidget> AddScenario(const std::string& xml) {
    Ref<IWidget> scenario = WidgetFromXml(xml);
    EXPECT_TRUE(scenario) << xml;
    if (!scenario) return nullptr;
    EXPECT_TRUE(scenario->SetObjectProperty("widget", box));
    dynamic_cast<TGroupWidget&>(*root).InsertWidget(scenario);
    return scenario;
  }
  int Count() { return root->GetChildren()->GetCount(); }
  // One frame as a screen runs it: time, then the dirty pass.
  void Frame(int dt) {
    root->Advance(dt);
    root->UpdateDirtyRegion(false, false);
  }

  void SetUp() override {
    test::TWidgetTest::SetUp();
    root = Attach(kRoot);
    box = root->FindWidget("box");
  }

  Ref<IWidget> root;
  Ref<IWidget> box;
};

TEST_F(Scenarios, AFadeAttachedBeforeItsStartWaitsThenFadesAndGivesTheLevelBack) {
  const Ref<IWidget> s = AddScenario(
      R"(<widget type="transparent_scenario" currenttime="-500" timetolive="1000" start_trans_level="0" end_trans_level="255"/>)");
  EXPECT_EQ(box->GetTransparentLevel(), 0);  // -127 clamped, set at once
  EXPECT_EQ(dynamic_cast<TTransparentScenario&>(*s).GetSavedLevel(), 200);
  Frame(500);  // clock at 0: not yet inside the fade
  EXPECT_EQ(box->GetTransparentLevel(), 0);
  Frame(250);
  EXPECT_EQ(box->GetTransparentLevel(), 63);  // 255 * 250 div 1000
  Frame(500);
  EXPECT_EQ(box->GetTransparentLevel(), 191);
  Frame(249);
  EXPECT_EQ(box->GetTransparentLevel(), 254);
  EXPECT_EQ(Count(), 2);
  // The frame that reaches the lifetime gives the level back and removes
  // the scenario.
  Frame(1);
  EXPECT_EQ(box->GetTransparentLevel(), 200);
  EXPECT_TRUE(s->IsDead());
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(s->GetObjectProperty("widget"), nullptr);
  EXPECT_TRUE(box->IsVisible());
}

TEST_F(Scenarios, AFadeOutWithMakeInvisibleHidesItsTargetAndADetachRestoresToo) {
  const Ref<IWidget> s = AddScenario(
      R"(<widget type="transparent_scenario" timetolive="100" start_trans_level="255" end_trans_level="0" makeinvisible="yes"/>)");
  EXPECT_EQ(box->GetTransparentLevel(), 255);
  Frame(30);
  EXPECT_EQ(box->GetTransparentLevel(), 179);  // 255 - 255 * 30 div 100 = 255 - 76
  Frame(80);                                   // past the end in one step
  EXPECT_EQ(box->GetTransparentLevel(), 200);
  EXPECT_FALSE(box->IsVisible());
  EXPECT_EQ(Count(), 1);

  box->SetVisible(true);
  const Ref<IWidget> other = AddScenario(
      R"(<widget type="transparent_scenario" timetolive="100" start_trans_level="0" end_trans_level="100"/>)");
  Frame(50);
  EXPECT_EQ(box->GetTransparentLevel(), 50);
  root->GetChildren()->DeleteWidget(1);  // removed half way: the old level comes back
  other->Detach();
  EXPECT_EQ(box->GetTransparentLevel(), 200);
  EXPECT_TRUE(box->IsVisible());
}

TEST_F(Scenarios, ANewTargetReleasesThePreviousOne) {
  const Ref<IWidget> second = WidgetFromXml(R"(<widget type="rect_widget" transparentlevel="90"/>)");
  const Ref<IWidget> s = AddScenario(
      R"(<widget type="transparent_scenario" currenttime="50" timetolive="100" start_trans_level="0" end_trans_level="100"/>)");
  EXPECT_EQ(box->GetTransparentLevel(), 50);
  EXPECT_TRUE(s->SetObjectProperty("widget", second));
  EXPECT_EQ(box->GetTransparentLevel(), 200);
  EXPECT_EQ(second->GetTransparentLevel(), 50);
  EXPECT_EQ(s->GetObjectProperty("widget"), Ref<IInterface>(second));
}

TEST_F(Scenarios, AMoveScenarioSlidesUnroundedAndEndsExactlyAtItsEndPoint) {
  AddScenario(
      R"(<widget type="move_scenario" timetolive="400" startposx="0" startposy="0" endposx="100" endposy="50"
                   start_trans_level="100" end_trans_level="200"/>)");
  EXPECT_EQ(box->GetAnchorLeft(), 5.0);  // nothing moves before the clock runs
  Frame(100);
  EXPECT_EQ(box->GetAnchorLeft(), 25.0);
  EXPECT_EQ(box->GetAnchorTop(), 12.5);
  EXPECT_EQ(box->GetTransparentLevel(), 125);
  Frame(201);
  EXPECT_EQ(box->GetAnchorLeft(), 75.25);
  EXPECT_EQ(box->GetAnchorTop(), 37.625);
  Frame(99);
  EXPECT_EQ(box->GetAnchorLeft(), 100.0);
  EXPECT_EQ(box->GetAnchorTop(), 50.0);
  EXPECT_EQ(box->GetTransparentLevel(), 200);  // the saved level, not the end level
  EXPECT_EQ(Count(), 1);
}

TEST_F(Scenarios, KeysAreAlwaysWritten) {
  const Ref<IWidget> s = WidgetFromXml(R"(<widget type="move_scenario" timetolive="10"/>)");
  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent&>(*s).Save(out);
  for (const char* key : {"start_trans_level", "end_trans_level", "makeinvisible", "startposx", "startposy",
                          "endposx", "endposy"})
    EXPECT_NE(out->ReadAttr(key, "-"), "-") << key;
  EXPECT_EQ(out->ReadAttr("start_trans_level", ""), "255");
  EXPECT_EQ(out->ReadAttr("endposy", ""), "0");
}

TEST_F(Scenarios, BadParametersAndMissingTargetsAreReported) {
  TDiagnosticsCollector diagnostics;
  // A level above a byte is clamped.
  const Ref<IWidget> loud =
      WidgetFromXml(R"(<widget type="transparent_scenario" timetolive="10" end_trans_level="300"/>)");
  EXPECT_EQ(VarToInt(loud->GetPropertyValue("end_trans_level")), 255);
  EXPECT_TRUE(diagnostics.Has("end_trans_level"));
  diagnostics.Clear();

  // A target that is no widget is refused.
  EXPECT_FALSE(loud->SetObjectProperty("widget", MakeRef<TSurface>()));
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
  diagnostics.Clear();

  // No target: reported once, the scenario still ends.
  const Ref<IWidget> lonely = WidgetFromXml(R"(<widget type="transparent_scenario" timetolive="100"/>)");
  dynamic_cast<TGroupWidget&>(*root).InsertWidget(lonely);
  Frame(10);
  Frame(10);
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].what, "the scenario has no target widget");
  Frame(100);
  EXPECT_EQ(Count(), 1);
  diagnostics.Clear();

  // A lifetime of 0 is reported and jumps to the end in the first positive tick.
  const Ref<IWidget> quick = AddScenario(
      R"(<widget type="transparent_scenario" timetolive="0" start_trans_level="10" end_trans_level="20"/>)");
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].what, "a scenario needs a positive timetolive, not 0");
  EXPECT_EQ(box->GetTransparentLevel(), 20);
  Frame(1);
  EXPECT_EQ(box->GetTransparentLevel(), 200);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
}

}  // namespace
}  // namespace qv
