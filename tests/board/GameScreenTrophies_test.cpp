// The trophy room and the story screen on the stand-in game: the slots of
// the owned artifacts, a new artifact's flight phase by phase (its times,
// its straight course, the trail, the landing), the descriptions, and the
// story's texts.
#include "board/GameScreenTrophies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/GameScreenHistory.h"
#include "board/MapTestSupport.h"
#include "core/Messages.h"
#include "core/Trace.h"

namespace qv {
namespace {

std::string Rect(const std::string& name, int x, int y, const std::string& extra = {}) {
  return "<widget type='rect_widget' name='" + name + "' visible='no' mousestop='yes' anchor_left='" +
         std::to_string(x) + "' anchor_top='" + std::to_string(y) + "' width='20' height='20' " + extra +
         "/>";
}

// Slots 1 .. 14 in a row at y 100, 40 px apart from x 20; the new artifact
// appears at (300, 400).
std::string TrophiesXml() {
  std::string slots;
  for (int n = 1; n <= kTrophyCount; ++n)
    slots += Rect("artifact" + std::to_string(n), 20 + (n - 1) * 40, 100);
  return "<gamescreen type='ZintaraGameScreenTrophies' name='GS_Trophies'><window><widgets>" + slots +
         "<widget type='group_widget' name='ArtifactDescription' visible='no' mousestop='yes'><widgets>" +
         Rect("artifact1", 200, 300) + Rect("artifact2", 200, 300) + Rect("artifact3", 200, 300) +
         test::MapButton("button_ok", 400, 300) + "</widgets></widget>" +
         "<widget type='stochastic_particle_system' name='stsystem' visible='yes' emission_count='0'/>"
         "<widget type='animation_widget' name='quib_new_artifact_up' visible='no' framescount='1' "
         "animationtime='400'/>"
         "<widget type='animation_widget' name='quib_new_artifact_down' visible='no' framescount='1' "
         "animationtime='400'/>" +
         test::MapButton("button_close", 600, 440) +
         "</widgets><widgetfactories><widgetfactory type='WidgetFactory' name='Artifact'><widgetstring>"
         "<widget type='rect_widget' name='art%artifact%' visible='yes' anchor_left='300' anchor_top='400' "
         "width='20' height='20'/></widgetstring></widgetfactory></widgetfactories>"
         "<sounds><sound name='sound_artifact' resourcename='res_artifact'/>"
         "<sound name='sound_artifact_fly2' resourcename='res_fly'/></sounds></window></gamescreen>";
}

class TrophiesTest : public test::TMapTest {
protected:
  void SetUp() override {
    TMapTest::SetUp();
    room = Query<TZintaraTrophiesGameScreen>(Screen(TrophiesXml()));
    ASSERT_TRUE(room);
    Screen(test::ProbeXml("GS_Map"));
    game->ShowScreen("GS_Map", nullptr);
  }
  void Open(std::initializer_list<std::pair<const char*, std::string>> params) {
    engine->played.clear();
    game->ShowScreen("GS_Trophies", MakeParams(params).get());
  }
  std::string Slots() {
    std::string out;
    for (int n = 1; n <= kTrophyCount; ++n)
      if (room->FindWidget("artifact" + std::to_string(n))->IsVisible()) out += std::to_string(n) + " ";
    return out;
  }
  bool Shown(const std::string& path) { return room->FindWidget(path)->IsVisible(); }
  long long Trail(const char* property) {
    return VarToInt(room->FindWidget("stsystem")->GetPropertyValue(property), -1);
  }
  TPoint Flying() {
    IWidget* w = room->GetFlyingArtifact();
    return w ? TPoint{static_cast<int>(w->GetAnchorLeft()), static_cast<int>(w->GetAnchorTop())}
             : TPoint{-1, -1};
  }

  Ref<TZintaraTrophiesGameScreen> room;
};

TEST_F(TrophiesTest, TheSlotsShowTheArtifactsOwnedInTheMode) {
  game->Profile().SetParamValue("relaxartifact", "3");
  game->Profile().SetParamValue("classicartifact", "5");
  game->Profile().SetParamValue("duel_computerartifact2", "yes");
  game->Profile().SetParamValue("duel_computerartifact4", "no");
  Open({{"PlayMode", "relax"}});
  EXPECT_EQ(Slots(), "1 2 3 ");
  EXPECT_FALSE(Shown("ArtifactDescription"));
  EXPECT_FALSE(Shown("stsystem"));
  game->CloseScreen(room.get(), nullptr);
  Open({{"PlayMode", "duel_computer"}});
  EXPECT_EQ(Slots(), "2 ");
  game->CloseScreen(room.get(), nullptr);
  Open({{"PlayMode", "duel_player"}});
  EXPECT_EQ(Slots(), "");
}

TEST_F(TrophiesTest, ANewArtifactFliesToItsSlotInFourPhases) {
  std::vector<std::string> trophies;
  const TTrace::THandle handle = TTrace::Listen([&](const TTraceEvent& event) {
    if (event.event == "trophy") trophies.push_back(event.Line());
  });
  // The board has written the artifact; its slot waits for the flight.
  game->Profile().SetParamValue("relaxartifact", "3");
  Open({{"PlayMode", "relax"}, {"artifact", "3"}});
  EXPECT_EQ(Slots(), "1 2 ");
  // 1. The mascot lifts it for the lift's animation time.
  EXPECT_EQ(room->GetPhase(), TZintaraTrophiesGameScreen::kLift);
  EXPECT_EQ(room->GetPhaseTime(), 400);
  EXPECT_TRUE(Shown("quib_new_artifact_up"));
  ASSERT_TRUE(room->GetFlyingArtifact());
  EXPECT_FALSE(room->GetFlyingArtifact()->IsVisible());
  Frames(39);
  EXPECT_EQ(room->GetPhase(), TZintaraTrophiesGameScreen::kLift);
  // 2. From (300, 400) to slot 3 at (100, 100): 360.6 px, 1262 ms.
  Frames(1);
  EXPECT_EQ(room->GetPhase(), TZintaraTrophiesGameScreen::kFlight);
  EXPECT_EQ(room->GetPhaseTime(), 1262);
  EXPECT_EQ(engine->played, std::vector<std::string>{"res_fly -1 -101"});
  EXPECT_FALSE(Shown("quib_new_artifact_up"));
  EXPECT_TRUE(Shown("quib_new_artifact_down"));
  EXPECT_TRUE(room->GetFlyingArtifact()->IsVisible());
  EXPECT_TRUE(Shown("stsystem"));
  EXPECT_EQ(Trail("emission_count"), 150);
  EXPECT_EQ(Flying(), (TPoint{300, 400}));
  Frames(63);  // 630 of 1262 ms: 0.4992 of the way
  EXPECT_EQ(Flying(), (TPoint{200, 250}));
  EXPECT_EQ(Trail("emission_x"), 210);
  EXPECT_EQ(Trail("emission_y"), 260);
  // 3. At 1262 ms it lands: its description opens, its slot fills.
  Frames(63);  // 1260
  EXPECT_EQ(room->GetPhase(), TZintaraTrophiesGameScreen::kFlight);
  EXPECT_TRUE(trophies.empty());
  Frames(1);
  EXPECT_EQ(room->GetPhase(), TZintaraTrophiesGameScreen::kLanding);
  EXPECT_EQ(room->GetPhaseTime(), 500);
  EXPECT_EQ(engine->played.back(), "res_artifact -1 -101");
  EXPECT_FALSE(room->GetFlyingArtifact()->IsVisible());
  EXPECT_EQ(Trail("emission_count"), 0);
  EXPECT_TRUE(Shown("ArtifactDescription"));
  EXPECT_TRUE(Shown("ArtifactDescription/artifact3"));
  EXPECT_FALSE(Shown("ArtifactDescription/artifact2"));
  EXPECT_EQ(Slots(), "1 2 3 ");
  EXPECT_EQ(room->GetNewArtifact(), 0);
  ASSERT_EQ(trophies.size(), 1u);
  EXPECT_NE(trophies[0].find(R"("mode":"relax","artifact":3)"), std::string::npos) << trophies[0];
  // 4. After 500 ms the mascot and the flying artifact go.
  Frames(50);
  EXPECT_EQ(room->GetPhase(), TZintaraTrophiesGameScreen::kNone);
  EXPECT_FALSE(Shown("quib_new_artifact_down"));
  EXPECT_FALSE(room->GetFlyingArtifact());
  EXPECT_FALSE(room->FindWidget("flying_artifact"));
}

TEST_F(TrophiesTest, AShowingRemovesTheArtifactOfAnEarlierFlight) {
  game->Profile().SetParamValue("relaxartifact", "3");
  Open({{"PlayMode", "relax"}, {"artifact", "3"}});
  Frames(60);
  game->CloseScreen(room.get(), nullptr);
  Open({{"PlayMode", "relax"}});
  EXPECT_FALSE(room->FindWidget("flying_artifact"));
  EXPECT_EQ(room->GetPhase(), TZintaraTrophiesGameScreen::kNone);
  EXPECT_EQ(Slots(), "1 2 3 ");
}

TEST_F(TrophiesTest, AClickOnASlotShowsItsDescriptionAndOkHidesIt) {
  game->Profile().SetParamValue("relaxartifact", "2");
  Open({{"PlayMode", "relax"}});
  Click({65, 105});  // slot 2
  EXPECT_TRUE(Shown("ArtifactDescription"));
  EXPECT_TRUE(Shown("ArtifactDescription/artifact2"));
  EXPECT_FALSE(Shown("ArtifactDescription/artifact1"));
  Click({405, 305});  // button_ok
  EXPECT_FALSE(Shown("ArtifactDescription"));
  // A number without a description hides the group.
  room->ShowDescription(1);
  EXPECT_TRUE(Shown("ArtifactDescription"));
  room->ShowDescription(15);
  EXPECT_FALSE(Shown("ArtifactDescription"));
  Click({605, 445});  // button_close
  EXPECT_EQ(game->TopName(), "GS_Map");
}

TEST_F(TrophiesTest, WithoutParametersTheRoomClosesOnItsFirstFrame) {
  game->ShowScreen("GS_Trophies", nullptr);
  EXPECT_EQ(game->TopName(), "GS_Trophies");
  Frames(1);
  EXPECT_EQ(game->TopName(), "GS_Map");
}

TEST_F(TrophiesTest, TheStoryScreenShowsTheTextsOfItsNumber) {
  const Ref<TZintaraGameScreenHistory> story = Query<TZintaraGameScreenHistory>(
      Screen("<gamescreen type='ZintaraGameScreenHistory' name='GS_History'><window><widgets>"
             "<widget type='text_widget' name='label_history' visible='yes'/>"
             "<widget type='text_widget' name='text_history' visible='yes'/>" +
             test::MapButton("button_close", 600, 440) + "</widgets></window></gamescreen>"));
  ASSERT_TRUE(story);
  game->ShowScreen("GS_History", MakeParams({{"history", "3"}}).get());
  EXPECT_EQ(story->GetStory(), 3);
  EXPECT_EQ(WidgetPropertyText(*story, "label_history", "text"), "%text_label_history3%");
  EXPECT_EQ(WidgetPropertyText(*story, "text_history", "text"), "%text_history3%");
  Click({605, 445});
  EXPECT_EQ(game->TopName(), "GS_Map");
  game->ShowScreen("GS_History", MakeParams({{"history", "x"}}).get());
  EXPECT_EQ(WidgetPropertyText(*story, "text_history", "text"), "");
}

}  // namespace
}  // namespace qv
