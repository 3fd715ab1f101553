// The pause menu: its drop-down steps as numbers and on a stand-in game,
// and the three ways to close it.
#include "board/GameScreenMiniMenu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/PauseTestSupport.h"

namespace qv {
namespace {

TEST(MiniMenuTops, FiveButtonsSlideOutFromTheLastOne) {
  // Opening step k tests the positions against 5 - k; the last number is
  // the part below the buttons.
  const std::vector<std::vector<int>> expected = {
      {0, 0, 0, 0, 0, 40},      {0, 0, 0, 0, 40, 80},       {0, 0, 0, 40, 80, 120},
      {0, 0, 40, 80, 120, 160}, {0, 40, 80, 120, 160, 200}, {40, 80, 120, 160, 200, 240},
  };
  for (int k = 0; k <= 5; ++k) EXPECT_EQ(MiniMenuTops(5, 5 - k), expected[static_cast<size_t>(k)]) << k;
  EXPECT_EQ(MiniMenuTops(0, 0), (std::vector<int>{40}));
}

class MiniMenuTest : public test::TPauseTest {
protected:
  void SetUp() override {
    TPauseTest::SetUp();
    below = Screen(R"(<gamescreen type="ProbeScreen" name="below"><window/></gamescreen>)");
    menu = Ref<TZintaraGameScreenMiniMenu>(
        dynamic_cast<TZintaraGameScreenMiniMenu*>(Screen(test::MiniMenuXml()).get()));
    ASSERT_TRUE(menu);
    game->ShowScreen("below", nullptr);
    test::Log().clear();
  }
  std::vector<int> Tops() {
    std::vector<int> tops;
    for (const char* name :
         {"button_unpause", "button_restart", "button_options", "button_rules", "button_main_menu"})
      tops.push_back(
          static_cast<int>(menu->FindWidget(std::string("buttons_group/") + name)->GetAnchorTop()));
    tops.push_back(static_cast<int>(menu->FindWidget("bottom_window")->GetAnchorTop()) - 100);
    return tops;
  }
  int Shade() { return menu->FindWidget("shadow_rect")->GetTransparentLevel(); }

  Ref<TGameScreen> below;
  Ref<TZintaraGameScreenMiniMenu> menu;
};

TEST_F(MiniMenuTest, OpensInStepsOfFiftyMillisecondsAndClosesTheSameWayBack) {
  game->ShowScreen("GS_MiniMenu", nullptr);
  EXPECT_EQ(menu->GetButtonCount(), 5);  // the hidden one does not count
  EXPECT_EQ(Tops(), (std::vector<int>{0, 0, 0, 0, 0, 40}));
  EXPECT_EQ(Shade(), 0);
  // Steps of 50 ms on frames of 30: the rest is carried over.
  const std::vector<std::vector<int>> open = {{0, 0, 0, 0, 0, 40},
                                              {0, 0, 0, 0, 40, 80},
                                              {0, 0, 0, 40, 80, 120},
                                              {0, 0, 40, 80, 120, 160},
                                              {0, 40, 80, 120, 160, 200}};
  const int frameEnds[] = {60, 120, 150, 210, 270};  // the first frame at or past k x 50
  int now = 0;
  for (int k = 0; k < 5; ++k) {
    while (now < frameEnds[k]) {
      game->Frame(30);
      now += 30;
    }
    EXPECT_EQ(Tops(), open[static_cast<size_t>(k)]) << k;
    EXPECT_EQ(Shade(), (k + 1) * 255 / 5) << k;
  }
  EXPECT_FALSE(menu->IsOpening());
  EXPECT_EQ(menu->GetStep(), 5);
  Frames(10);
  EXPECT_EQ(Tops(), open[4]);

  // A click on "button_options" (at its place, 270 + 50, 100 + 80 + 15).
  Click({320, 195});
  EXPECT_TRUE(menu->IsClosing());
  const std::vector<std::vector<int>> close = {
      {0, 40, 80, 120, 160, 200}, {0, 0, 40, 80, 120, 160}, {0, 0, 0, 40, 80, 120}, {0, 0, 0, 0, 40, 80}};
  for (int k = 5; k >= 2; --k) {
    game->Frame(50);
    EXPECT_EQ(Tops(), close[static_cast<size_t>(5 - k)]) << k;
    EXPECT_EQ(Shade(), (k - 1) * 255 / 5) << k;
  }
  EXPECT_EQ(game->TopName(), "GS_MiniMenu");
  game->Frame(50);
  EXPECT_EQ(game->TopName(), "below");
  EXPECT_EQ(test::Log().back().rfind("ScreenClosed below GS_MiniMenu", 0), 0u);
  ASSERT_TRUE(game->closeParams);
  EXPECT_EQ(VarToString(game->closeParams->GetParamValueDef("Button", "?")), "button_options");
}

TEST_F(MiniMenuTest, EscapeOrAClickOnNothingClosesWithoutAButton) {
  game->ShowScreen("GS_MiniMenu", nullptr);
  Frames(2, 50);  // two buttons out
  EXPECT_EQ(menu->GetStep(), 2);
  EXPECT_TRUE(game->Key(WM_KEYDOWN, VK_ESCAPE));
  game->Frame(50);  // the first step back shows where it stood
  EXPECT_EQ(Tops(), (std::vector<int>{0, 0, 0, 0, 40, 80}));
  EXPECT_EQ(menu->GetStep(), 1);
  EXPECT_EQ(Shade(), 51);
  game->Frame(50);
  EXPECT_EQ(game->TopName(), "below");
  EXPECT_EQ(VarToString(game->closeParams->GetParamValueDef("Button", "?")), "");

  // Shown again it opens afresh; a release beside the buttons closes it.
  game->ShowScreen("GS_MiniMenu", nullptr);
  EXPECT_EQ(Tops(), (std::vector<int>{0, 0, 0, 0, 0, 40}));
  Frames(5, 50);
  game->Mouse(WM_LBUTTONDOWN, {20, 20});
  EXPECT_FALSE(menu->IsClosing());
  EXPECT_FALSE(game->Mouse(WM_RBUTTONUP, {20, 20}));
  EXPECT_TRUE(menu->IsClosing());
  Frames(5, 50);
  EXPECT_EQ(game->TopName(), "below");
  EXPECT_EQ(VarToString(game->closeParams->GetParamValueDef("Button", "?")), "");

  // The release of a press begun before the menu opened (a click on the
  // board going on) leaves it open.
  game->ShowScreen("GS_MiniMenu", nullptr);
  Frames(5, 50);
  EXPECT_FALSE(game->Mouse(WM_LBUTTONUP, {20, 20}));
  EXPECT_FALSE(menu->IsClosing());
  EXPECT_EQ(game->TopName(), "GS_MiniMenu");
}

}  // namespace
}  // namespace qv
