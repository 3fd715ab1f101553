#include <gtest/gtest.h>

#include "controls/ControlTestSupport.h"
#include "controls/TrackBarControl.h"

namespace qv {
namespace {

using test::TControlTest;

class TrackBars : public TControlTest {
protected:
  // A bar at (10, 0), 110 long, with a slider of 10: the slider's place
  // along the track equals the position for 0..100.
  Ref<TTrackBarControl> Make(const std::string& attributes = R"(min="0" max="100" frequency="10")",
                             bool selectedPicture = true) {
    const bool vertical = attributes.find("vertical") != std::string::npos;
    const std::string size = vertical ? R"(width="10" height="110")" : R"(width="110" height="10")";
    Attach(
        R"(<widget type="TrackBarControl" name="volume" visible="yes" mousestop="yes" enabled="yes" tabstop="yes" anchor_left="10" )" +
        size + " " + attributes +
        R"(><widgets><widget type="group_widget" name="image_slider" visible="yes"><widgets>)"
        R"(<widget type="rect_widget" name="image_slidernormal" width="10" height="10"/>)" +
        (selectedPicture
             ? R"(<widget type="rect_widget" name="image_sliderselected" width="10" height="10"/>)"
             : "") +
        "</widgets></widget></widgets></widget>");
    return Control<TTrackBarControl>("volume");
  }
  double Slider() { return screen->FindWidget("volume/image_slider")->GetAnchorLeft(); }
  bool Shown(const std::string& picture) {
    return screen->FindWidget("volume/image_slider/" + picture)->IsVisible();
  }
  int Changes() const {
    int n = 0;
    for (const auto& e : screen->events) n += e.code == 3;
    return n;
  }
};

TEST_F(TrackBars, PositionsSnapToTheFrequencyWithTiesToEven) {
  const Ref<TTrackBarControl> bar = Make();
  bar->SetPosition(44);
  EXPECT_EQ(bar->GetPosition(), 40);
  bar->SetPosition(45);
  EXPECT_EQ(bar->GetPosition(), 40);
  bar->SetPosition(55);
  EXPECT_EQ(bar->GetPosition(), 60);
  EXPECT_EQ(Slider(), 60.0);
  bar->SetPosition(150);
  EXPECT_EQ(bar->GetPosition(), 100);
  bar->SetPosition(-5);
  EXPECT_EQ(bar->GetPosition(), 0);
  // 40, 60, 100, 0: the second 40 changed nothing.
  EXPECT_EQ(Changes(), 4);
  EXPECT_EQ(screen->EventsText(), "volume 3, volume 3, volume 3, volume 3");
  bar->SetPropertyValue("position", 71);
  EXPECT_EQ(VarToInt(bar->GetPropertyValue("position")), 70);
}

TEST_F(TrackBars, ASnappedPositionNeverPassesTheEnds) {
  const Ref<TTrackBarControl> bar = Make(R"(min="0" max="95" frequency="10")");
  bar->SetPosition(95);
  EXPECT_EQ(bar->GetPosition(), 95);
  bar->SetPosition(94);
  EXPECT_EQ(bar->GetPosition(), 90);
  bar->SetPosition(-3);
  EXPECT_EQ(bar->GetPosition(), 0);
}

TEST_F(TrackBars, DraggingMovesTheSliderSmoothlyAndThePositionInSteps) {
  const Ref<TTrackBarControl> bar = Make();
  bar->SetPosition(40);
  screen->events.clear();
  // Grabbed 3 into the slider (at 10 + 40).
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 53, 5));
  EXPECT_EQ(screen->GetCapture(), bar.get());
  EXPECT_TRUE(Shown("image_sliderselected"));
  EXPECT_FALSE(Shown("image_slidernormal"));
  std::vector<std::string> trail;
  for (int x : {56, 60, 61, 64, 68, 70, 200}) {
    EXPECT_TRUE(Mouse(WM_MOUSEMOVE, x, 50));
    trail.push_back(std::to_string(static_cast<int>(Slider())) + ":" + std::to_string(bar->GetPosition()));
  }
  const std::vector<std::string> expected = {"43:40", "47:50", "48:50", "51:50", "55:60", "57:60", "100:100"};
  EXPECT_EQ(trail, expected);
  EXPECT_EQ(Changes(), 3);  // 50, 60, 100: each once
  EXPECT_TRUE(Mouse(WM_MOUSEMOVE, 0, 0));
  EXPECT_EQ(Slider(), 0.0);
  EXPECT_EQ(bar->GetPosition(), 0);
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 0, 0));
  EXPECT_EQ(screen->GetCapture(), nullptr);
  EXPECT_FALSE(Shown("image_sliderselected"));
  EXPECT_TRUE(Shown("image_slidernormal"));
  // Moves without a press do nothing.
  EXPECT_FALSE(Mouse(WM_MOUSEMOVE, 60, 5));
  EXPECT_EQ(bar->GetPosition(), 0);
}

TEST_F(TrackBars, APressBesideTheSliderDoesNotGrabIt) {
  const Ref<TTrackBarControl> bar = Make();
  bar->SetPosition(40);
  EXPECT_FALSE(Mouse(WM_LBUTTONDOWN, 49, 5));
  EXPECT_FALSE(Mouse(WM_LBUTTONDOWN, 61, 5));
  EXPECT_EQ(screen->GetCapture(), nullptr);
  EXPECT_FALSE(Mouse(WM_RBUTTONDOWN, 55, 5));
  // Both edges of the slider grab.
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 60, 5));
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 60, 5));
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 50, 5));
}

TEST_F(TrackBars, KeysMoveByTheFrequencyAlongTheBar) {
  const Ref<TTrackBarControl> bar = Make();
  screen->SetFocus(bar.get());
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_RIGHT));
  EXPECT_EQ(bar->GetPosition(), 10);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_END));
  EXPECT_EQ(bar->GetPosition(), 100);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_RIGHT));
  EXPECT_EQ(bar->GetPosition(), 100);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_LEFT));
  EXPECT_EQ(bar->GetPosition(), 90);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_HOME));
  EXPECT_EQ(bar->GetPosition(), 0);
  EXPECT_FALSE(Key(WM_KEYDOWN, VK_DOWN));  // not along a horizontal bar
  EXPECT_EQ(Changes(), 4);
  EXPECT_TRUE(Shown("image_slidernormal"));
}

TEST_F(TrackBars, AVerticalBarUsesTheHeightAndUpDown) {
  const Ref<TTrackBarControl> bar = Make(R"(min="0" max="50" frequency="5" vertical="yes")");
  screen->SetFocus(bar.get());
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_DOWN));
  EXPECT_EQ(bar->GetPosition(), 5);
  EXPECT_EQ(screen->FindWidget("volume/image_slider")->GetAnchorTop(), 10.0);
  EXPECT_FALSE(Key(WM_KEYDOWN, VK_RIGHT));
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_UP));
  EXPECT_EQ(bar->GetPosition(), 0);
  // Grab at the top, drag down by 50 of the 100 of track: half way.
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 15, 2));
  Mouse(WM_MOUSEMOVE, 15, 52);
  EXPECT_EQ(bar->GetPosition(), 25);
  EXPECT_EQ(screen->FindWidget("volume/image_slider")->GetAnchorTop(), 50.0);
}

TEST_F(TrackBars, WithoutASelectedPictureTheNormalOneStaysVisible) {
  const Ref<TTrackBarControl> bar = Make(R"(min="0" max="100" frequency="10")", false);
  EXPECT_TRUE(Shown("image_slidernormal"));
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 12, 5));
  EXPECT_TRUE(Shown("image_slidernormal"));
}

TEST_F(TrackBars, PropertiesAndStoredKeys) {
  const Ref<TTrackBarControl> bar = Make(R"(min="0" max="100")");
  EXPECT_EQ(bar->GetFrequency(), 1);  // the default 0 is stored as 1
  bar->SetPropertyValue("frequency", 0);
  EXPECT_EQ(bar->GetFrequency(), 1);
  bar->SetPropertyValue("frequency", 20);
  EXPECT_EQ(VarToInt(bar->GetPropertyValue("frequency")), 20);
  EXPECT_TRUE(VarToBool(bar->GetPropertyValue("slidervisible")));
  bar->SetPropertyValue("slidervisible", false);
  EXPECT_FALSE(screen->FindWidget("volume/image_slider")->IsVisible());
  const StorageRef out = LoadStorageText("<widget/>");
  bar->Save(out);
  EXPECT_EQ(out->ReadAttr("min", ""), "0");
  EXPECT_EQ(out->ReadAttr("max", ""), "100");
  EXPECT_EQ(out->ReadAttr("frequency", ""), "20");
  EXPECT_EQ(out->ReadAttr("vertical", "none"), "none");
  EXPECT_EQ(out->ReadAttr("position", "none"), "none");
}

}  // namespace
}  // namespace qv
