#include <gtest/gtest.h>

#include <cmath>

#include "core/Diagnostics.h"
#include "core/Random.h"
#include "storage/XMLStorage.h"
#include "widgets/GroupWidget.h"
#include "widgets/StateMachineWidget.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

using test::WidgetFromXml;

class Motion : public test::TWidgetTest {
protected:
  void SetUp() override {
    test::TWidgetTest::SetUp();
    root = Attach(R"(<widget type="group_widget" name="root" visible="yes"/>)");
  }
  Ref<IWidget> Add(const std::string& xml) {
    Ref<IWidget> w = WidgetFromXml(xml);
    EXPECT_TRUE(w) << xml;
    if (w) dynamic_cast<TGroupWidget&>(*root).InsertWidget(w);
    return w;
  }
  void Frame(int dt) {
    root->Advance(dt);
    root->UpdateDirtyRegion(false, false);
  }
  int Count() { return root->GetChildren()->GetCount(); }

  Ref<IWidget> root;
};

TEST_F(Motion, AMoveWidgetWaitsThenTravelsRoundedToEvenAndDiesAfterItsLifetime) {
  const Ref<IWidget> w = Add(
      R"(<widget type="move_widget" visible="yes" currenttime="-100" timetolive="1000"
             startposx="10" startposy="20" endposx="20" endposy="21" start_trans_level="0" end_trans_level="100"/>)");
  EXPECT_EQ(w->GetAnchorLeft(), 10.0);  // placed at the start by loading
  EXPECT_EQ(w->GetAnchorTop(), 20.0);
  EXPECT_EQ(w->GetTransparentLevel(), 0);
  Frame(50);  // still before its clock starts
  EXPECT_EQ(w->GetAnchorLeft(), 10.0);
  Frame(300);  // 250: x 10 + round(2.5) = 12, y 20 + round(0.25)
  EXPECT_EQ(w->GetAnchorLeft(), 12.0);
  EXPECT_EQ(w->GetAnchorTop(), 20.0);
  EXPECT_EQ(w->GetTransparentLevel(), 25);
  Frame(100);  // 350: round(3.5) = 4
  EXPECT_EQ(w->GetAnchorLeft(), 14.0);
  Frame(400);  // 750: round(7.5) = 8, round(0.75) = 1
  EXPECT_EQ(w->GetAnchorLeft(), 18.0);
  EXPECT_EQ(w->GetAnchorTop(), 21.0);
  EXPECT_EQ(w->GetTransparentLevel(), 75);
  Frame(250);  // 1000: at the end and gone
  EXPECT_EQ(w->GetAnchorLeft(), 20.0);
  EXPECT_EQ(w->GetTransparentLevel(), 100);
  EXPECT_TRUE(w->IsDead());
  EXPECT_EQ(Count(), 0);
}

TEST_F(Motion, AMoveWidgetOfNoLifetimeDiesInItsFirstPositiveTick) {
  const Ref<IWidget> w = Add(R"(<widget type="move_widget" startposx="3" endposx="9"/>)");
  Frame(0);
  EXPECT_EQ(w->GetAnchorLeft(), 3.0);
  EXPECT_FALSE(w->IsDead());
  Frame(1);
  EXPECT_TRUE(w->IsDead());
  EXPECT_EQ(Count(), 0);

  TDiagnosticsCollector diagnostics;
  WidgetFromXml(R"(<widget type="move_widget" name="back" timetolive="-5"/>)");
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "widget back@timetolive");
}

TEST_F(Motion, MoveKeysAreReadButNotWrittenAndBadTextsKeepTheirDefaults) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> w = WidgetFromXml(
      R"(<widget type="circular_motion_widget" startposx="7" endposx="x" centerx="4" start_trans_level="-1"/>)");
  EXPECT_EQ(VarToInt(w->GetPropertyValue("startposx")), 7);
  EXPECT_EQ(VarToInt(w->GetPropertyValue("endposx")), 0);
  EXPECT_EQ(VarToInt(w->GetPropertyValue("start_trans_level")), 0);  // clamped
  EXPECT_EQ(diagnostics.Errors().size(), 2u);
  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent&>(*w).Save(out);
  for (const char* key : {"startposx", "endposx", "centerx", "start_trans_level", "end_trans_level"})
    EXPECT_EQ(out->ReadAttr(key, "-"), "-") << key;
}

TEST_F(Motion, ACircularMotionPassesThroughTheQuarterAtHalfTime) {
  const Ref<IWidget> w = Add(
      R"(<widget type="circular_motion_widget" timetolive="1000" startposx="100" startposy="0" endposx="-100" endposy="0"/>)");
  Frame(500);
  EXPECT_NEAR(w->GetAnchorLeft(), 0.0, 1e-9);
  EXPECT_NEAR(w->GetAnchorTop(), 100.0, 1e-9);
  Frame(250);
  EXPECT_NEAR(w->GetAnchorLeft(), -100 * std::sqrt(0.5), 1e-9);
  EXPECT_NEAR(w->GetAnchorTop(), 100 * std::sqrt(0.5), 1e-9);
}

TEST_F(Motion, AnArcAcrossTheNegativeXAxisTakesTheShortWayAndGrowsItsRadius) {
  // From just above the negative x axis to just below it, around (10, 10):
  // half way it crosses the axis on the left, not the long way past the right.
  const Ref<IWidget> w = Add(
      R"(<widget type="circular_motion_widget" timetolive="100" centerx="10" centery="10"
             startposx="-90" startposy="20" endposx="-190" endposy="-10"/>)");
  Frame(50);
  const double r0 = std::hypot(100.0, 10.0), r1 = std::hypot(200.0, 20.0);
  EXPECT_NEAR(w->GetAnchorLeft(), 10 - (r0 + r1) / 2, 1e-9);
  EXPECT_NEAR(w->GetAnchorTop(), 10.0, 1e-9);
}

// Three children; state 0 draws "a" (30) or "b" (70), both go on to state 1,
// whose one action "c" leads back to 0.
constexpr const char* kMachine =
    R"(<widget type="statemachine_widget" name="m" visible="yes"><widgets>)"
    R"(<widget type="rect_widget" name="a" visible="yes"/><widget type="rect_widget" name="b" visible="yes"/>)"
    R"(<widget type="rect_widget" name="c" visible="yes"/></widgets>)"
    R"(<actiondef state="0" probability="30" duration="100" nextstate="1" widgetname="a"/>)"
    R"(<actiondef state="0" probability="70" duration="200" nextstate="1" widgetname="b"/>)"
    R"(<actiondef state="1" probability="1" duration="50" nextstate="0" widgetname="c"/>)"
    R"(</widget>)";

// A seed whose first draw below 100 is `r`.
uint32_t SeedDrawing(int r) {
  for (uint32_t seed = 1;; ++seed) {
    SetRandomSeed(seed);
    if (RandomInt(100) == r) {
      SetRandomSeed(seed);
      return seed;
    }
  }
}

TEST_F(Motion, AStateDrawsItsActionsByWeight) {
  // 30 and 70: the first for r from 0 to 30, the second from 31 to 99.
  for (const auto& [r, shown] : {std::pair{0, "a"}, {30, "a"}, {31, "b"}, {99, "b"}}) {
    const Ref<IWidget> m = WidgetFromXml(kMachine);
    SeedDrawing(r);
    dynamic_cast<TGroupWidget&>(*root).InsertWidget(m);
    auto& machine = dynamic_cast<TStateMachineWidget&>(*m);
    ASSERT_TRUE(machine.GetCurrentAction()) << r;
    EXPECT_EQ(machine.GetCurrentAction()->GetWidgetName(), shown) << r;
    for (const char* name : {"a", "b", "c"})
      EXPECT_EQ(m->FindWidget(name)->IsVisible(), name == std::string(shown)) << r;
    root->GetChildren()->DeleteWidget(0);
  }
}

TEST_F(Motion, AStateMachineHidesItsChildrenAtLoadAndSavesItsActions) {
  const Ref<IWidget> m = WidgetFromXml(kMachine);
  auto& machine = dynamic_cast<TStateMachineWidget&>(*m);
  for (const char* name : {"a", "b", "c"}) EXPECT_FALSE(m->FindWidget(name)->IsVisible());
  EXPECT_EQ(machine.Actions().GetActionCount(), 3);
  EXPECT_EQ(machine.GetCurrentAction(), nullptr);  // nothing runs without an owner
  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent&>(*m).Save(out);
  const Ref<IWidget> again = CreateFromNodeAs<IWidget>(out);
  ASSERT_TRUE(again);
  auto& copy = dynamic_cast<TStateMachineWidget&>(*again);
  ASSERT_EQ(copy.Actions().GetActionCount(), 3);
  const Ref<IActionDef> last = copy.Actions().GetAction(2);
  EXPECT_EQ(last->GetState(), 1);
  EXPECT_EQ(last->GetDuration(), 50);
  EXPECT_EQ(last->GetWidgetName(), "c");
  StorageRef def = NewStorage("actiondef");
  dynamic_cast<IPersistent&>(*MakeRef<TActionDef>()).Save(def);
  for (const char* key : {"state", "probability", "duration", "nextstate", "widgetname"})
    EXPECT_NE(def->ReadAttr(key, "-"), "-") << key;
}

TEST_F(Motion, TransitionsHandTheLeftoverTimeOnSoNoMillisecondIsLost) {
  SeedDrawing(10);  // state 0 draws "a" (100 ms)
  const Ref<IWidget> m = Add(kMachine);
  auto& machine = dynamic_cast<TStateMachineWidget&>(*m);
  const Ref<IWidget> a = m->FindWidget("a"), c = m->FindWidget("c");
  EXPECT_EQ(machine.GetCurrentState(), 0);
  EXPECT_TRUE(a->IsVisible());
  Frame(90);
  EXPECT_EQ(machine.GetCurrentState(), 0);
  Frame(40);  // 130: "a" ends at 100, "c" has run 30 of its 50
  EXPECT_EQ(machine.GetCurrentState(), 1);
  EXPECT_FALSE(a->IsVisible());
  EXPECT_TRUE(a->IsPaused());
  EXPECT_TRUE(c->IsVisible());
  EXPECT_EQ(dynamic_cast<TAbstractWidget&>(*c).GetCurrentTime(), 30);
  EXPECT_EQ(machine.GetCurrentTime(), 30);
  m->SetOwner(m->GetOwner());  // the owner handed down again: no new action
  EXPECT_EQ(machine.GetCurrentState(), 1);
  EXPECT_TRUE(c->IsVisible());
  // One long frame runs through several actions: 30 + 300 = 50 ("c") + 200
  // ("b") + 50 ("c" again) + 30 of the action state 0 draws next.
  SeedDrawing(50);  // state 0 draws "b" (200 ms) first
  Frame(300);
  EXPECT_EQ(machine.GetCurrentState(), 0);
  EXPECT_EQ(machine.GetCurrentTime(), 30);
  ASSERT_TRUE(machine.GetCurrentAction());
  const Ref<IWidget> running = m->FindWidget(machine.GetCurrentAction()->GetWidgetName());
  EXPECT_TRUE(running->IsVisible());
  EXPECT_EQ(dynamic_cast<TAbstractWidget&>(*running).GetCurrentTime(), 30);
  EXPECT_FALSE(c->IsVisible());
  EXPECT_EQ(dynamic_cast<TAbstractWidget&>(*c).GetCurrentTime(), 80);  // started with 30 + 50 left
  // Detach stops the running child and forgets the action.
  root->GetChildren()->DeleteWidget(0);
  m->Detach();
  EXPECT_FALSE(running->IsVisible());
  EXPECT_EQ(machine.GetCurrentAction(), nullptr);
}

TEST_F(Motion, UnknownStatesAndMissingChildrenAreReported) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> m = Add(
      R"(<widget type="statemachine_widget" name="m"><widgets><widget type="rect_widget" name="a"/></widgets>)"
      R"(<actiondef state="0" probability="1" duration="10" nextstate="4" widgetname="a"/></widget>)");
  auto& machine = dynamic_cast<TStateMachineWidget&>(*m);
  EXPECT_TRUE(diagnostics.Errors().empty());
  Frame(15);
  EXPECT_EQ(machine.GetCurrentState(), 4);
  EXPECT_EQ(machine.GetCurrentAction(), nullptr);
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].what, "no action for state 4");
  EXPECT_FALSE(m->FindWidget("a")->IsVisible());
  Frame(100);  // a machine without an action stays put and says it once
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
  diagnostics.Clear();

  Add(R"(<widget type="statemachine_widget" name="n">)"
      R"(<actiondef state="0" probability="5" duration="10" widgetname="ghost"/></widget>)");
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].what, "no child widget named \"ghost\"");
}

TEST_F(Motion, TheTestScenarioReleasesAHundredButterfliesOnceItsClockRuns) {
  TDiagnosticsCollector diagnostics;
  root = Attach(R"(<widget type="group_widget" name="root"><widgetfactories>)"
                R"(<widgetfactory name="Butterfly" type="WidgetFactory"><widgetstring>)"
                R"(<widget type="rect_widget" name="%name%" anchor_left="%left%" anchor_top="%top%"/>)"
                R"(</widgetstring></widgetfactory></widgetfactories></widget>)");
  const Ref<IWidget> s = Add(R"(<widget type="scenario" name="test"/>)");
  SetRandomSeed(1);
  Frame(0);
  EXPECT_EQ(Count(), 1);  // nothing before the clock passes 0
  Frame(16);
  ASSERT_EQ(Count(), 101);
  EXPECT_TRUE(s->IsPaused());
  EXPECT_EQ(dynamic_cast<TAbstractWidget&>(*s).GetCurrentTime(), 0);
  const Ref<IWidget> first = root->FindWidget("butterfly0");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->GetAnchorLeft(), 20.0);
  EXPECT_EQ(first->GetAnchorTop(), 413.0);
  const Ref<IWidget> second = root->FindWidget("butterfly1");
  ASSERT_TRUE(second);
  EXPECT_EQ(second->GetAnchorLeft(), 129.0);
  EXPECT_EQ(second->GetAnchorTop(), 131.0);
  EXPECT_TRUE(root->FindWidget("butterfly99"));
  Frame(16);  // paused: no second swarm
  EXPECT_EQ(Count(), 101);
  EXPECT_TRUE(diagnostics.Errors().empty());

  // Without the factory: reported once, not a hundred times.
  const Ref<IWidget> other = Add(R"(<widget type="scenario" name="test2"/>)");
  root->GetChildren()->DeleteWidget(0);
  dynamic_cast<TGroupWidget&>(*root).WidgetFactories().Clear();
  Frame(5);
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
}

}  // namespace
}  // namespace qv
