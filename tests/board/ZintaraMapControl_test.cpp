// One page of the map on a screen: the map levels and locations from its
// description, the mascot standing on the current level or walking to it,
// the level buttons and the locations' buttons it enables, and what the
// location widgets hear.
#include "board/ZintaraMapControl.h"

#include <gtest/gtest.h>

#include <string>

#include "board/BoardRegistration.h"
#include "board/QuibControl.h"
#include "board/ZintaraLocationWidget.h"
#include "controls/ControlsTypes.h"
#include "core/Diagnostics.h"
#include "particles/ParticlesTypes.h"
#include "screens/ScreenTestSupport.h"

namespace qv {
namespace {

std::string Button(const std::string& name) {
  return "<widget type='test_control' name='" + name + "' visible='yes' width='20' height='10'/>";
}

// Levels 1 .. 4 on a page: 2 -> 3 is 100 px down and to the right, 3 -> 4
// 50 px to the left. Location "meadow" holds 1 and 2, "forest" 3 and 4.
std::string MapXml(const std::string& name, const std::string& extra = {}) {
  return "<widget type='ZintaraMapControl' name='" + name +
         "' visible='yes' width='640' height='480'><widgets>" + Button("maplevel1") + Button("maplevel2") +
         Button("maplevel3") + Button("maplevel4") + Button("button_1") + Button("button_3") +
         "<widget type='ZintaraLocationWidget' name='meadow' visible='yes' start_level='0' end_level='2'/>"
         "<widget type='ZintaraLocationWidget' name='forest' visible='yes' start_level='2' end_level='4'/>"
         "<widget type='ZintaraQuibControl' name='quib' visible='no' width='40' height='50'/>"
         "</widgets><maplevels>"
         "<maplevel name='1' anchor_left='50' anchor_top='50' z='1'/>"
         "<maplevel name='2' anchor_left='100' anchor_top='100' z='1'/>"
         "<maplevel name='3' anchor_left='160' anchor_top='180' z='1'/>"
         "<maplevel name='4' anchor_left='110' anchor_top='180' z='1'/>" +
         extra +
         "</maplevels><locations>"
         "<location name='meadow'><levels><level number='1'/><level number='2'/></levels></location>"
         "<location name='forest'><levels><level number='3'/><level number='4'/></levels></location>"
         "</locations></widget>";
}

class MapControlTest : public test::TScreenTest {
protected:
  void SetUp() override {
    TScreenTest::SetUp();
    RegisterControlsTypes();
    RegisterParticlesTypes();
    RegisterBoardTypes();
  }
  TZintaraMapControl& Show(const std::string& extra = {}) {
    Screen("<gamescreen type='ProbeScreen' name='GS_Map'><window><widgets>" + MapXml("map1", extra) +
           "</widgets></window></gamescreen>");
    game->ShowScreen("GS_Map", nullptr);
    test::Log().clear();
    window = game->stack.back()->GetWindow();
    map = Query<TZintaraMapControl>(window->FindWidget("map1"));
    EXPECT_TRUE(map);
    quib = Query<TQuibControl>(window->FindWidget("map1/quib"));
    EXPECT_TRUE(quib);
    return *map;
  }
  // The enabled buttons among the map's.
  std::string Enabled() {
    std::string out;
    for (const char* name : {"maplevel1", "maplevel2", "maplevel3", "maplevel4", "button_1", "button_3"})
      if (map->GetChild(name)->IsEnabled()) out += (out.empty() ? "" : ",") + std::string(name);
    return out;
  }
  TPoint QuibAt() {
    return {static_cast<int>(quib->GetAnchorLeft()), static_cast<int>(quib->GetAnchorTop())};
  }
  int LocationLevel(const char* name) {
    return Query<TZintaraLocationWidget>(map->GetChild(name))->GetLevel();
  }

  IWindow* window = nullptr;
  Ref<TZintaraMapControl> map;
  Ref<TQuibControl> quib;
};

TEST_F(MapControlTest, TheDescriptionGivesTheMapLevelsAndTheLocations) {
  TZintaraMapControl& m = Show();
  ASSERT_EQ(m.GetMapLevels().size(), 4u);
  EXPECT_EQ(m.FindMapLevel(3)->x, 160);
  EXPECT_EQ(m.FindMapLevel(3)->y, 180);
  EXPECT_FALSE(m.FindMapLevel(5));
  ASSERT_EQ(m.GetLocations().size(), 2u);
  EXPECT_EQ(m.GetLocations()[1].First(), 3);
  EXPECT_EQ(m.GetLocations()[1].Last(), 4);
  EXPECT_EQ(m.LocationOf(2)->name, "meadow");
  EXPECT_FALSE(m.LocationOf(9));
}

TEST_F(MapControlTest, ALevelPutsTheMascotOnItAndEnablesTheLevelsBelow) {
  TZintaraMapControl& m = Show();
  m.SetPropertyValue("Difficulty", 1LL);
  m.SetPropertyValue("level", 3LL);
  EXPECT_TRUE(quib->IsVisible());
  EXPECT_EQ(quib->GetState(), TQuibControl::kStanding);
  EXPECT_EQ(QuibAt(), (TPoint{160, 145}));
  // The meadow (last level 2) is complete at level 3; the forest is not.
  EXPECT_EQ(Enabled(), "maplevel1,maplevel2,button_1");
  EXPECT_EQ(LocationLevel("meadow"), 3);
  EXPECT_EQ(LocationLevel("forest"), 3);
  // The level buttons are centred on their points once the map is built.
  EXPECT_EQ(m.GetChild("maplevel3")->GetAnchorLeft(), 150);
  EXPECT_EQ(m.GetChild("maplevel3")->GetAnchorTop(), 175);
  // On its last level a location counts as complete.
  m.SetPropertyValue("level", 4LL);
  EXPECT_EQ(Enabled(), "maplevel1,maplevel2,maplevel3,button_1,button_3");
  // A second round enables every location's buttons, and the levels below.
  m.SetPropertyValue("Difficulty", 2LL);
  m.SetPropertyValue("level", 1LL);
  EXPECT_EQ(Enabled(), "button_1,button_3");
  EXPECT_EQ(Query<TZintaraLocationWidget>(m.GetChild("forest"))->GetDifficulty(), 2);
}

TEST_F(MapControlTest, ALevelOffTheMapHidesTheMascot) {
  TZintaraMapControl& m = Show();
  m.SetPropertyValue("level", 40LL);
  EXPECT_FALSE(quib->IsVisible());
  EXPECT_EQ(Enabled(), "maplevel1,maplevel2,maplevel3,maplevel4,button_1,button_3");
}

TEST_F(MapControlTest, AWalkGoesFromTheLevelBeforeAt30msAPixel) {
  TZintaraMapControl& m = Show();
  m.SetPropertyValue("animate_quib", 3LL);
  EXPECT_TRUE(quib->IsVisible());
  EXPECT_EQ(quib->GetState(), TQuibControl::kWalking);
  EXPECT_EQ(quib->GetWalkTime(), 3000);  // (100, 100) to (160, 180)
  EXPECT_EQ(quib->Pose(), "quib2");
  EXPECT_EQ(QuibAt(), (TPoint{100, 65}));
  EXPECT_EQ(m.GetWalkFrom(), 2);
  EXPECT_EQ(m.GetMarkedLocation(), "meadow");
  // Until the screen sets the new level the page shows the one before (on
  // its last level the meadow is complete).
  EXPECT_EQ(Enabled(), "maplevel1,button_1");
  EXPECT_EQ(LocationLevel("forest"), 2);
  for (int i = 0; i < 300; ++i) game->Frame(10);
  EXPECT_EQ(test::Log(), std::vector<std::string>{});
  game->Frame(10);
  EXPECT_EQ(test::Log(), std::vector<std::string>{"control GS_Map quib 32784"});
  EXPECT_EQ(QuibAt(), (TPoint{160, 145}));
  // 3 -> 4 goes 50 px to the left.
  m.SetPropertyValue("animate_quib", 4LL);
  EXPECT_EQ(quib->GetWalkTime(), 1500);
  EXPECT_EQ(quib->Pose(), "quib1");
  EXPECT_FALSE(m.ReachedLastLevel());
}

TEST_F(MapControlTest, AWalkNeedsBothLevelsOnThePage) {
  TZintaraMapControl& m = Show();
  m.SetPropertyValue("level", 2LL);
  m.SetPropertyValue("animate_quib", 1LL);  // no level 0
  EXPECT_FALSE(quib->IsVisible());
  m.SetPropertyValue("level", 2LL);
  m.SetPropertyValue("animate_quib", 5LL);  // no level 5
  EXPECT_FALSE(quib->IsVisible());
  EXPECT_EQ(m.GetWalkFrom(), 0);
  // The page shows the new level all the same.
  EXPECT_EQ(m.GetLevel(), 5);
  EXPECT_EQ(Enabled(), "maplevel1,maplevel2,maplevel3,maplevel4,button_1,button_3");
}

TEST_F(MapControlTest, ReachingLevel70ByAWalkIsRemembered) {
  TZintaraMapControl& m = Show(
      "<maplevel name='69' anchor_left='10' anchor_top='10'/><maplevel name='70' anchor_left='40' "
      "anchor_top='50'/>");
  m.SetPropertyValue("level", 70LL);
  EXPECT_FALSE(m.ReachedLastLevel());
  m.SetPropertyValue("animate_quib", 70LL);
  EXPECT_TRUE(m.ReachedLastLevel());
  EXPECT_EQ(quib->GetWalkTime(), 1500);
}

TEST_F(MapControlTest, AnimatingALevelReachesEveryLocation) {
  TZintaraMapControl& m = Show();
  m.SetPropertyValue("level", 3LL);
  m.SetPropertyValue("animate_level", 3LL);
  // The forest (2 .. 4) starts its lock's highlight; the meadow is outside
  // ("end_level" + 1 = 3 is its done highlight).
  EXPECT_EQ(Query<TZintaraLocationWidget>(m.GetChild("forest"))->GetHighlighted(), "location_lock");
  EXPECT_EQ(Query<TZintaraLocationWidget>(m.GetChild("meadow"))->GetHighlighted(), "location_animation");
}

TEST_F(MapControlTest, BadMapLevelsAreReportedAndLeftOut) {
  TDiagnosticsCollector diagnostics;
  TZintaraMapControl& m = Show("<maplevel name='x'/><maplevel name='2' anchor_left='1'/>");
  EXPECT_EQ(m.GetMapLevels().size(), 4u);
  EXPECT_EQ(m.FindMapLevel(2)->x, 100);
  EXPECT_TRUE(diagnostics.Has("not a level number"));
  EXPECT_TRUE(diagnostics.Has("listed twice"));
}

}  // namespace
}  // namespace qv
