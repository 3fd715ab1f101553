// The map's mascot: its poses by the direction of the walk, the walk's
// time and course on 10 ms frames, the arrival reported to the screen,
// and a path function that sets the course and the time instead.
#include "board/QuibControl.h"

#include <gtest/gtest.h>

#include <string>

#include "board/BoardRegistration.h"
#include "controls/ControlsTypes.h"
#include "core/Diagnostics.h"
#include "particles/ParticlesTypes.h"
#include "screens/ScreenSupport.h"
#include "screens/ScreenTestSupport.h"

namespace qv {
namespace {

TEST(QuibWalk, TheDirectionChoosesThePoseAndTheDistanceTheTime) {
  // Screen y grows downwards.
  EXPECT_EQ(QuibWalkPose(100, 100, 160, 180), "quib2");  // down and right
  EXPECT_EQ(QuibWalkPose(100, 100, 40, 20), "quib3");    // up and left
  EXPECT_EQ(QuibWalkPose(100, 100, 160, 20), "quib4");   // up and right
  EXPECT_EQ(QuibWalkPose(100, 100, 40, 180), "quib1");   // down and left
  // The borders: straight right and straight down belong to quib2 and
  // quib1, straight up to quib4, straight left (angle pi) to quib1.
  EXPECT_EQ(QuibWalkPose(0, 0, 10, 0), "quib2");
  EXPECT_EQ(QuibWalkPose(0, 0, 0, 10), "quib1");
  EXPECT_EQ(QuibWalkPose(0, 0, 0, -10), "quib4");
  EXPECT_EQ(QuibWalkPose(0, 0, -10, 0), "quib1");
  EXPECT_EQ(QuibWalkTime(100, 100, 160, 180), 3000);  // 100 px
  EXPECT_EQ(QuibWalkTime(0, 0, 1, 1), 42);            // 1.414 * 30 = 42.4
  EXPECT_EQ(QuibWalkTime(5, 5, 5, 5), 0);
}

std::string Pose(const char* name) {
  return std::string("<widget type='rect_widget' name='") + name +
         "' visible='no' paused='yes' width='40' height='50'/>";
}

std::string QuibXml(const std::string& extra = {}) {
  return "<widget type='ZintaraQuibControl' name='quib' visible='yes' enabled='yes' mousestop='yes' "
         "width='40' height='50'><widgets>" +
         Pose("quib_stay") + Pose("quib1") + Pose("quib2") + Pose("QUIB3") + Pose("quib4") + "</widgets>" +
         extra + "</widget>";
}

class QuibTest : public test::TScreenTest {
protected:
  void SetUp() override {
    TScreenTest::SetUp();
    RegisterControlsTypes();
    RegisterParticlesTypes();
    RegisterBoardTypes();
  }
  TQuibControl& Show(const std::string& extra = {}) {
    Screen("<gamescreen type='ProbeScreen' name='GS_Map'><window><widgets>" + QuibXml(extra) +
           "</widgets></window></gamescreen>");
    game->ShowScreen("GS_Map", nullptr);
    test::Log().clear();
    quib = Query<TQuibControl>(game->stack.back()->GetWindow()->FindWidget("quib"));
    EXPECT_TRUE(quib);
    return *quib;
  }
  void Command(int code, std::initializer_list<std::pair<const char*, std::string>> values) {
    const Ref<TParamCollection> params = MakeParams(values);
    quib->ExecuteCommand(code, params.get());
  }
  // The children shown, as "name" or "name,name".
  std::string Shown() {
    std::string out;
    for (const char* name : {"quib_stay", "quib1", "quib2", "quib3", "quib4"}) {
      const Ref<IWidget> child = quib->GetChild(name);
      if (!child->IsVisible()) {
        EXPECT_TRUE(child->IsPaused()) << name;
        continue;
      }
      EXPECT_FALSE(child->IsPaused()) << name;
      out += (out.empty() ? "" : ",") + std::string(name);
    }
    return out;
  }
  TPoint At() { return {static_cast<int>(quib->GetAnchorLeft()), static_cast<int>(quib->GetAnchorTop())}; }

  Ref<TQuibControl> quib;
};

TEST_F(QuibTest, StandingPlacesTheMascot35PixelsAboveTheLevel) {
  TQuibControl& q = Show();
  Command(kQuibStand, {{"x1", "120"}, {"y1", "300"}});
  EXPECT_EQ(At(), (TPoint{120, 265}));
  EXPECT_EQ(q.GetState(), TQuibControl::kStanding);
  EXPECT_EQ(Shown(), "quib_stay");
  // Standing does not move it, nor report anything.
  for (int i = 0; i < 50; ++i) game->Frame(10);
  EXPECT_EQ(At(), (TPoint{120, 265}));
  EXPECT_EQ(TakeLog(), "");
}

TEST_F(QuibTest, AWalkOf100PixelsTakes3000msAndEndsStandingAtTheTarget) {
  TQuibControl& q = Show();
  // Down and to the right: 60 across, 80 down.
  Command(kQuibWalk, {{"x1", "100"}, {"y1", "100"}, {"x2", "160"}, {"y2", "180"}, {"time", "3000"}});
  EXPECT_EQ(At(), (TPoint{100, 65}));
  EXPECT_EQ(q.GetState(), TQuibControl::kWalking);
  EXPECT_EQ(Shown(), "quib2");
  // Integer steps: after 1000 ms 60 * 1000 div 3000 = 20 across, 26 down.
  for (int i = 0; i < 100; ++i) game->Frame(10);
  EXPECT_EQ(At(), (TPoint{120, 126 - 35}));
  // At 3000 ms it is at the target, still walking.
  for (int i = 0; i < 200; ++i) game->Frame(10);
  EXPECT_EQ(At(), (TPoint{160, 145}));
  EXPECT_EQ(q.GetState(), TQuibControl::kWalking);
  EXPECT_EQ(TakeLog(), "");
  // The next frame passes the walking time: it stands and the screen hears.
  game->Frame(10);
  EXPECT_EQ(q.GetState(), TQuibControl::kStanding);
  EXPECT_EQ(At(), (TPoint{160, 145}));
  EXPECT_EQ(Shown(), "quib_stay");
  EXPECT_EQ(TakeLog(), "control GS_Map quib 32784");
  for (int i = 0; i < 20; ++i) game->Frame(10);
  EXPECT_EQ(TakeLog(), "");
}

TEST_F(QuibTest, EachDirectionShowsItsOwnPoseAlone) {
  Show();
  const std::pair<const char*, const char*> walks[] = {{"40", "quib1"},
                                                       {"160", "quib2"}};  // to y 180 from (100, 100)
  for (const auto& [x, pose] : walks) {
    Command(kQuibWalk, {{"x1", "100"}, {"y1", "100"}, {"x2", x}, {"y2", "180"}, {"time", "500"}});
    EXPECT_EQ(Shown(), pose);
  }
  Command(kQuibWalk, {{"x1", "100"}, {"y1", "100"}, {"x2", "40"}, {"y2", "20"}, {"time", "500"}});
  EXPECT_EQ(Shown(), "quib3");  // the child is named "QUIB3": names ignore case
  Command(kQuibWalk, {{"x1", "100"}, {"y1", "100"}, {"x2", "160"}, {"y2", "20"}, {"time", "500"}});
  EXPECT_EQ(Shown(), "quib4");
  Command(kQuibStand, {{"x1", "100"}, {"y1", "100"}});
  EXPECT_EQ(Shown(), "quib_stay");
}

TEST_F(QuibTest, AWalkOfNoTimeArrivesOnItsFirstFrame) {
  TQuibControl& q = Show();
  Command(kQuibWalk, {{"x1", "10"}, {"y1", "10"}, {"x2", "10"}, {"y2", "10"}, {"time", "0"}});
  game->Frame(10);
  EXPECT_EQ(q.GetState(), TQuibControl::kStanding);
  EXPECT_EQ(TakeLog(), "control GS_Map quib 32784");
}

TEST_F(QuibTest, APathFunctionGivesTheCourseAndItsStepsTheTime) {
  // A straight segment of 400 steps between the walk's two points.
  std::string cells;
  const char* names[] = {"x1", "y1", "x2", "y2"};
  for (int c = 0; c < 4; ++c)
    cells += std::string("<paramdef name='") + names[c] + "' row='2' col='" + std::to_string(c) +
             "' static='yes' value='0'/>";
  TQuibControl& q = Show(
      "<function type='path_segment'><paramspace><paramdefs>"
      "<paramdef row='0' col='0' static='yes' value='0'/><paramdef row='0' col='1' static='yes' value='0'/>"
      "<paramdef row='1' col='0' static='yes' value='0'/>" +
      cells +
      "<paramdef row='2' col='4' static='yes' value='400'/><paramdef row='2' col='5' static='yes' value='0'/>"
      "</paramdefs></paramspace></function>");
  ASSERT_TRUE(q.GetPath());
  Command(kQuibWalk, {{"x1", "0"}, {"y1", "100"}, {"x2", "200"}, {"y2", "300"}, {"time", "9999"}});
  EXPECT_EQ(q.GetWalkTime(), 400);
  for (int i = 0; i < 10; ++i) game->Frame(10);
  // Step 100 of 400: a quarter of the way.
  EXPECT_EQ(At(), (TPoint{50, 150 - 35}));
  for (int i = 0; i < 31; ++i) game->Frame(10);
  EXPECT_EQ(q.GetState(), TQuibControl::kStanding);
  EXPECT_EQ(At(), (TPoint{200, 265}));
  EXPECT_EQ(TakeLog(), "control GS_Map quib 32784");
}

TEST_F(QuibTest, AFunctionThatIsNoPathIsReportedAndIgnored) {
  TDiagnosticsCollector diagnostics;
  TQuibControl& q = Show("<function type='function_sum'/>");
  EXPECT_FALSE(q.GetPath());
  EXPECT_TRUE(diagnostics.Has("not a path function"));
}

}  // namespace
}  // namespace qv
