// A location of the map on a screen that has the sparks ("ps_location"):
// its last level when the data leave it out, the pictures for a level,
// and the unlock animation's highlights, their times and the event at
// their end.
#include "board/ZintaraLocationWidget.h"

#include <gtest/gtest.h>

#include <string>

#include "board/BoardRegistration.h"
#include "controls/ControlsTypes.h"
#include "particles/ParticlesTypes.h"
#include "screens/ScreenTestSupport.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

TEST(LocationCloudCover, TheCloudsThinOutOverTheLocationAndAreGoneAtItsEnd) {
  // Levels 11 .. 15 of a location from 10 to 15.
  EXPECT_EQ(LocationCloudCover(10, 10, 15), 255);
  EXPECT_EQ(LocationCloudCover(11, 10, 15), 235);  // 255 - 1 * 100 div 5
  EXPECT_EQ(LocationCloudCover(14, 10, 15), 175);
  EXPECT_EQ(LocationCloudCover(15, 10, 15), 0);
  EXPECT_EQ(LocationCloudCover(16, 10, 15), 255);
  EXPECT_EQ(LocationCloudCover(12, 10, 13), 189);  // 255 - 2 * 100 div 3
}

TEST(LocationSparkCount, TheSparksGrowWithThePicturesSide) {
  EXPECT_EQ(LocationSparkCount(40, 10), 40);  // sqrt(400) + 20
  EXPECT_EQ(LocationSparkCount(30, 30), 50);
  EXPECT_EQ(LocationSparkCount(10, 15), 32);  // 12.25 rounds to 12
  EXPECT_EQ(LocationSparkCount(0, 100), 20);
}

std::string Picture(const char* name, int width, int height) {
  return std::string("<widget type='rect_widget' name='") + name + "' visible='yes' anchor_left='10' " +
         "anchor_top='5' width='" + std::to_string(width) + "' height='" + std::to_string(height) + "'/>";
}

std::string LocationXml(const std::string& attributes) {
  return "<widget type='ZintaraLocationWidget' name='forest' visible='yes' anchor_left='100' "
         "anchor_top='50' " +
         attributes + "><widgets>" + Picture("location_animation", 40, 10) +
         Picture("location_complete", 30, 30) + Picture("location_lock", 10, 15) + Picture("clouds", 60, 40) +
         "</widgets></widget>";
}

class LocationTest : public test::TScreenTest {
protected:
  void SetUp() override {
    TScreenTest::SetUp();
    RegisterControlsTypes();
    RegisterParticlesTypes();
    RegisterBoardTypes();
  }
  TZintaraLocationWidget& Show(const std::string& attributes, const std::string& name = "GS_Map") {
    Screen("<gamescreen type='ProbeScreen' name='" + name +
           "'><window><widgets>"
           "<widget type='group_widget' name='map1' visible='yes' anchor_left='20' anchor_top='0'><widgets>" +
           LocationXml(attributes) +
           "<widget type='test_control' name='button_forest' visible='yes' width='10' height='10'/>"
           "</widgets></widget>"
           "<widget type='stochastic_particle_system' name='ps_location' visible='no' emission_count='0'/>"
           "</widgets><sounds><sound name='sound_new_location' resourcename='res_location'/></sounds>"
           "</window></gamescreen>");
    game->ShowScreen(name, nullptr);
    test::Log().clear();
    window = game->stack.back()->GetWindow();
    location = Query<TZintaraLocationWidget>(window->FindWidget("map1/forest"));
    EXPECT_TRUE(location);
    engine->played.clear();
    return *location;
  }
  std::string Visible() {
    std::string out;
    for (const char* name : {"location_animation", "location_complete", "location_lock", "clouds"})
      if (location->GetChild(name)->IsVisible()) out += (out.empty() ? "" : ",") + std::string(name);
    if (window->FindWidget("map1/button_forest")->IsVisible()) out += ",button";
    return out;
  }
  long long Sparks(const char* property) {
    return VarToInt(window->FindWidget("ps_location")->GetPropertyValue(property), -1);
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) game->Frame(10);
  }

  IWindow* window = nullptr;
  Ref<TZintaraLocationWidget> location;
};

TEST_F(LocationTest, ALocationWithoutAnEndLevelEndsFiveLevelsAfterItsStart) {
  EXPECT_EQ(Show("start_level='10'", "A").GetEndLevel(), 15);
  // An end not above the start is replaced the same way.
  EXPECT_EQ(Show("start_level='10' end_level='10'", "B").GetEndLevel(), 15);
  EXPECT_EQ(Show("start_level='10' end_level='3'", "C").GetEndLevel(), 15);
  EXPECT_EQ(Show("start_level='10' end_level='18'", "D").GetEndLevel(), 18);
  EXPECT_EQ(Show("", "E").GetEndLevel(), 5);
}

TEST_F(LocationTest, TheLevelChoosesThePictures) {
  TZintaraLocationWidget& loc = Show("start_level='10' end_level='15'");
  // Before the location: only the button is gone; nothing shows.
  loc.SetLevel(10);
  EXPECT_EQ(Visible(), "");
  // Inside it: the lock.
  loc.SetLevel(11);
  EXPECT_EQ(Visible(), "location_lock");
  loc.SetLevel(14);
  EXPECT_EQ(Visible(), "location_lock");
  // On its last level: complete, not yet done.
  loc.SetLevel(15);
  EXPECT_EQ(Visible(), "location_complete");
  EXPECT_TRUE(loc.GetChild("location_animation")->IsPaused());
  // Past it: done, its animation runs and its button shows.
  loc.SetLevel(16);
  EXPECT_EQ(Visible(), "location_animation,location_complete,button");
  EXPECT_FALSE(loc.GetChild("location_animation")->IsPaused());
  // A second round: every location is done and complete, none locked.
  loc.SetPropertyValue("Difficulty", 2LL);
  loc.SetPropertyValue("level", 1LL);
  EXPECT_EQ(Visible(), "location_animation,location_complete,button");
}

TEST_F(LocationTest, AnimatingTheLevelAfterTheEndHighlightsTheAnimationFor2000ms) {
  TZintaraLocationWidget& loc = Show("start_level='10'");
  loc.SetLevel(16);
  loc.SetPropertyValue("animate_level", 16LL);
  EXPECT_EQ(engine->played, std::vector<std::string>{"res_location -1 -101"});
  EXPECT_EQ(loc.GetHighlighted(), "location_animation");
  EXPECT_EQ(loc.GetPhaseTime(), 2000);
  // The sparks take the picture's place on the screen: the map at 20, the
  // location at 100, the picture at 10 within it.
  const Ref<IWidget> sparks = window->FindWidget("ps_location");
  EXPECT_TRUE(sparks->IsVisible());
  EXPECT_EQ(sparks->GetAnchorLeft(), 130);
  EXPECT_EQ(sparks->GetAnchorTop(), 55);
  EXPECT_EQ(Sparks("emission_count"), 40);  // sqrt(40 * 10) + 20
  Frames(199);
  EXPECT_EQ(test::Log(), std::vector<std::string>{});
  Frames(1);
  EXPECT_EQ(test::Log(), std::vector<std::string>{"control GS_Map forest 32783"});
  EXPECT_EQ(loc.GetPhase(), TZintaraLocationWidget::kIdle);
  EXPECT_EQ(Sparks("emission_count"), 0);
}

TEST_F(LocationTest, TheFirstAndTheLastLevelHighlightTheLockAndTheCompletionFor1000ms) {
  TZintaraLocationWidget& loc = Show("start_level='10' end_level='15'");
  loc.SetLevel(11);
  loc.SetPropertyValue("animate_level", 11LL);
  EXPECT_EQ(loc.GetHighlighted(), "location_lock");
  EXPECT_EQ(loc.GetPhaseTime(), 1000);
  EXPECT_EQ(Sparks("emission_count"), 32);
  Frames(100);
  EXPECT_EQ(test::Log().size(), 1u);
  test::Log().clear();
  loc.SetLevel(15);
  loc.SetPropertyValue("animate_level", 15LL);
  EXPECT_EQ(loc.GetHighlighted(), "location_complete");
  EXPECT_EQ(Sparks("emission_count"), 50);
  Frames(100);
  EXPECT_EQ(test::Log(), std::vector<std::string>{"control GS_Map forest 32783"});
}

TEST_F(LocationTest, OtherLevelsInsideFinishAtOnceAndLevelsOutsideDoNothing) {
  TZintaraLocationWidget& loc = Show("start_level='10' end_level='15'");
  loc.SetLevel(13);
  loc.SetPropertyValue("animate_level", 13LL);
  EXPECT_EQ(engine->played.size(), 1u);
  EXPECT_EQ(test::Log(), std::vector<std::string>{"control GS_Map forest 32783"});
  EXPECT_FALSE(window->FindWidget("ps_location")->IsVisible());
  test::Log().clear();
  engine->played.clear();
  for (const long long n : {10LL, 17LL, 1LL}) loc.SetPropertyValue("animate_level", n);
  EXPECT_TRUE(engine->played.empty());
  EXPECT_TRUE(test::Log().empty());
}

TEST_F(LocationTest, TheCloudsFadeFromTheLevelBeforeToTheCurrentOne) {
  TZintaraLocationWidget& loc = Show("start_level='10' end_level='15'");
  loc.SetLevel(12);
  loc.FadeClouds();
  const Ref<IWidget> clouds = loc.GetChild("clouds");
  EXPECT_TRUE(clouds->IsVisible());
  EXPECT_EQ(clouds->GetTransparentLevel(), 235);
  Frames(50);
  EXPECT_EQ(clouds->GetTransparentLevel(), 225);  // halfway from 235 to 215
  Frames(50);
  EXPECT_EQ(clouds->GetTransparentLevel(), 215);
  EXPECT_EQ(test::Log(), std::vector<std::string>{"control GS_Map forest 32783"});
}

}  // namespace
}  // namespace qv
