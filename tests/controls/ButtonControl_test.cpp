#include <gtest/gtest.h>

#include "controls/ButtonControl.h"
#include "controls/ControlTestSupport.h"
#include "core/Diagnostics.h"

namespace qv {
namespace {

using test::TControlTest;

// A button at (10, 20), 100 x 30, with its three pictures and click sound.
std::string Button(const std::string& attributes, const std::string& name = "button_ok",
                   const std::string& pictures = "normal selected disabled") {
  std::string children;
  for (const char* p : {"normal", "selected", "disabled"})
    if (pictures.find(p) != std::string::npos)
      children +=
          std::string(R"(<widget type="rect_widget" name="image_)") + p + R"(" width="100" height="30"/>)";
  return R"(<widget type="ButtonControl" name=")" + name +
         R"(" visible="yes" mousestop="yes" anchor_left="10" anchor_top="20" width="100" height="30" )" +
         attributes +
         R"(><sounds><sound name="sound_buttonclick" resourcename="snd_click"/></sounds><widgets>)" +
         children + "</widgets></widget>";
}

class Buttons : public TControlTest {
protected:
  Ref<TButtonControl> Make(const std::string& attributes,
                           const std::string& pictures = "normal selected disabled") {
    Attach(Button(attributes, "button_ok", pictures));
    return Control<TButtonControl>("button_ok");
  }
  bool PictureShown(const std::string& name) {
    const Ref<IWidget> p = screen->FindWidget("button_ok/" + name);
    return p && p->IsVisible() && !p->IsPaused();
  }
  void Click(int x = 50, int y = 30) {
    EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, x, y));
    EXPECT_TRUE(Mouse(WM_LBUTTONUP, x, y));
  }
};

TEST_F(Buttons, AClickIsAPressAndAReleaseInsideWithTheSoundForEach) {
  const Ref<TButtonControl> button = Make(R"(enabled="yes")");
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 50, 30));
  EXPECT_EQ(screen->GetCapture(), button.get());
  EXPECT_TRUE(button->IsPressed());
  EXPECT_EQ(Played("snd_click"), 1);
  EXPECT_TRUE(screen->events.empty());
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 50, 30));
  EXPECT_EQ(screen->EventsText(), "button_ok 1");
  EXPECT_EQ(screen->events[0].params, "");
  EXPECT_EQ(Played("snd_click"), 2);
  EXPECT_EQ(engine->played[0], "snd_click 100 0");
  EXPECT_EQ(screen->GetCapture(), nullptr);
  EXPECT_FALSE(button->IsPressed());
}

TEST_F(Buttons, ReleasingOutsideCancelsButTheClickSoundWasPlayed) {
  const Ref<TButtonControl> button = Make(R"(enabled="yes")");
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 50, 30));
  Mouse(WM_MOUSEMOVE, 300, 300);
  // The capture brings the release back to the button, outside it.
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 300, 300));
  EXPECT_TRUE(screen->events.empty());
  EXPECT_EQ(Played("snd_click"), 1);
  EXPECT_EQ(screen->GetCapture(), nullptr);
  EXPECT_FALSE(button->IsPressed());
}

TEST_F(Buttons, BothEdgesOfTheRectangleAreInside) {
  Make(R"(enabled="yes")");
  Click(110, 50);
  Click(10, 20);
  EXPECT_EQ(screen->EventsText(), "button_ok 1, button_ok 1");
  EXPECT_FALSE(Mouse(WM_LBUTTONDOWN, 111, 50));
  EXPECT_FALSE(Mouse(WM_LBUTTONDOWN, 50, 51));
}

TEST_F(Buttons, OnlyTheLeftButtonOfAnEnabledButtonPresses) {
  const Ref<TButtonControl> button = Make(R"(enabled="yes")");
  EXPECT_FALSE(Mouse(WM_RBUTTONDOWN, 50, 30));
  EXPECT_FALSE(Mouse(WM_RBUTTONUP, 50, 30));
  EXPECT_FALSE(Mouse(WM_MBUTTONDOWN, 50, 30));
  EXPECT_EQ(screen->GetCapture(), nullptr);
  // A release without a press does nothing.
  EXPECT_FALSE(Mouse(WM_LBUTTONUP, 50, 30));
  button->SetEnabled(false);
  EXPECT_FALSE(Mouse(WM_LBUTTONDOWN, 50, 30));
  EXPECT_EQ(Played("snd_click"), 0);
  EXPECT_TRUE(screen->events.empty());
}

TEST_F(Buttons, EveryActionType) {
  struct Case {
    const char* attributes;
    const char* opened;
    const char* shown;
    const char* closed;
    const char* events;
  } cases[] = {
      {R"(actiontype="url" url="https://example.org/")", "url https://example.org/", "", "", ""},
      {R"(actiontype="run_file" file_to_run="readme.txt")", "file readme.txt", "", "", ""},
      {R"(actiontype="closegamescreen")", "", "", "screen", ""},
      {R"(actiontype="showgamescreen" gamescreenname="GS_Options")", "", "GS_Options", "", ""},
      {R"(actiontype="ShowGameScreen" gamescreenname="GS_Map" GSParams="level=3\mode = {a\b}")", "",
       "GS_Map LEVEL=3;MODE=a\\b", "", ""},
      {R"(actiontype="CloseGameScreen")", "", "", "screen", ""},
      {R"(actiontype="URL" url="x")", "url x", "", "", ""},
      {R"(actiontype="something_else")", "", "", "", "button_ok 1"},
      {R"()", "", "", "", "button_ok 1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    engine->opened.clear();
    screen->shown.clear();
    screen->closed.clear();
    screen->events.clear();
    Make(std::string(R"(enabled="yes" )") + c.attributes);
    Click();
    EXPECT_EQ(engine->opened.empty() ? "" : engine->opened[0], c.opened);
    EXPECT_EQ(screen->shown.empty() ? "" : screen->shown[0], c.shown);
    EXPECT_EQ(screen->closed.empty() ? "" : screen->closed[0], c.closed);
    EXPECT_EQ(screen->EventsText(), c.events);
    EXPECT_EQ(engine->opened.size() + screen->shown.size() + screen->closed.size() + screen->events.size(),
              1u);
  }
}

TEST_F(Buttons, TheActionTypeIsStoredInLowerCase) {
  const Ref<TButtonControl> button = Make(R"(enabled="yes" actiontype="ShowGameScreen" gamescreenname="A")");
  EXPECT_EQ(button->GetActionType(), "showgamescreen");
  EXPECT_EQ(VarToString(button->GetPropertyValue("actiontype")), "showgamescreen");
}

TEST_F(Buttons, ShowingAScreenWithoutANameOrAnUnknownOneIsReported) {
  TDiagnosticsCollector diagnostics;
  Make(R"(enabled="yes" actiontype="showgamescreen")");
  Click();
  EXPECT_TRUE(screen->shown.empty());
  EXPECT_TRUE(screen->events.empty());
  EXPECT_EQ(static_cast<int>(diagnostics.Errors().size()), 1);
  Make(R"(enabled="yes" actiontype="showgamescreen" gamescreenname="unknown_screen")");
  Click();
  EXPECT_EQ(screen->shown.size(), 1u);
  EXPECT_EQ(static_cast<int>(diagnostics.Errors().size()), 2);
}

TEST_F(Buttons, PicturesFollowEnabledAndHover) {
  const Ref<TButtonControl> button = Make("");
  // Disabled from the start: the first update at insertion shows it.
  EXPECT_EQ(button->GetVisualState(), TButtonControl::kDisabled);
  EXPECT_TRUE(PictureShown("image_disabled"));
  EXPECT_FALSE(PictureShown("image_normal"));
  button->SetPropertyValue("enabled", true);
  EXPECT_TRUE(PictureShown("image_normal"));
  EXPECT_FALSE(PictureShown("image_disabled"));
  // Hover follows the engine's pointer, without any mouse event.
  engine->pointer = {60, 40};
  screen->Frame(10);
  EXPECT_TRUE(button->IsHover());
  EXPECT_TRUE(PictureShown("image_selected"));
  EXPECT_FALSE(PictureShown("image_normal"));
  const Ref<IWidget> normal = screen->FindWidget("button_ok/image_normal");
  EXPECT_TRUE(normal->IsPaused());
  engine->pointer = {0, 0};
  screen->Frame(10);
  EXPECT_FALSE(button->IsHover());
  EXPECT_TRUE(PictureShown("image_normal"));
  EXPECT_FALSE(PictureShown("image_selected"));
}

TEST_F(Buttons, MissingPicturesFallBackToTheNormalOne) {
  const Ref<TButtonControl> button = Make("", "normal");
  EXPECT_TRUE(PictureShown("image_normal"));
  button->SetEnabled(true);
  engine->pointer = {60, 40};
  screen->Frame(10);
  EXPECT_EQ(button->GetVisualState(), TButtonControl::kSelected);
  EXPECT_TRUE(PictureShown("image_normal"));
}

TEST_F(Buttons, AHiddenButtonHasNoHover) {
  const Ref<TButtonControl> button = Make(R"(enabled="yes")");
  button->SetVisible(false);
  engine->pointer = {60, 40};
  button->AdvanceTime(10);
  EXPECT_FALSE(button->IsHover());
}

TEST_F(Buttons, EnterOrSpaceOnTheFocusedButtonClicksIt) {
  const Ref<TButtonControl> button = Make(R"(enabled="yes" tabstop="yes")");
  // The screen gives the first tab stop the focus with the first key.
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_RETURN));
  EXPECT_TRUE(button->HasFocus());
  EXPECT_TRUE(screen->events.empty());
  EXPECT_TRUE(Key(WM_KEYUP, VK_RETURN));
  EXPECT_EQ(screen->EventsText(), "button_ok 1");
  EXPECT_EQ(Played("snd_click"), 2);
  Press(VK_SPACE);
  EXPECT_EQ(screen->EventsText(), "button_ok 1, button_ok 1");
  // Other keys are not the button's.
  EXPECT_FALSE(Key(WM_KEYUP, 'A'));
  EXPECT_EQ(screen->events.size(), 2u);
}

TEST_F(Buttons, KeysDoNothingOnADisabledOrUnfocusedButton) {
  const Ref<TButtonControl> button = Make(R"(tabstop="yes")");
  EXPECT_FALSE(Key(WM_KEYUP, VK_RETURN));
  EXPECT_TRUE(button->HasFocus());
  button->SetEnabled(true);
  screen->ClearFocus();
  EXPECT_FALSE(button->KeyEvent(WM_KEYUP, VK_RETURN, 0));
  EXPECT_TRUE(screen->events.empty());
}

TEST_F(Buttons, ClickDoesWhatAPressAndAReleaseInsideDo) {
  const Ref<TButtonControl> button =
      Make(R"(actiontype="showgamescreen" gamescreenname="GS_Map" GSParams="level=3")");
  IClickable* clickable = QueryPtr<IClickable>(button.get());
  ASSERT_TRUE(clickable);
  EXPECT_FALSE(clickable->Click());  // disabled
  EXPECT_TRUE(screen->shown.empty());
  button->SetEnabled(true);
  EXPECT_TRUE(clickable->Click());
  ASSERT_EQ(screen->shown.size(), 1u);
  EXPECT_EQ(screen->shown[0], "GS_Map LEVEL=3");
  EXPECT_EQ(Played("snd_click"), 2);
  EXPECT_EQ(screen->GetCapture(), nullptr);
  button->SetVisible(false);
  EXPECT_FALSE(clickable->Click());
}

TEST_F(Buttons, APressGivesATabStopButtonTheFocus) {
  const Ref<TButtonControl> button = Make(R"(enabled="yes" tabstop="yes")");
  Mouse(WM_LBUTTONDOWN, 50, 30);
  EXPECT_EQ(screen->GetFocus(), button.get());
  EXPECT_TRUE(button->HasFocus());
}

TEST_F(Buttons, SavedKeys) {
  const Ref<TButtonControl> button =
      Make(R"(enabled="yes" actiontype="URL" url="u" GSParams="a=1" gamescreenname="g" file_to_run="f")");
  const StorageRef out = LoadStorageText("<widget/>");
  button->Save(out);
  EXPECT_EQ(out->ReadAttr("actiontype", ""), "url");
  EXPECT_EQ(out->ReadAttr("GSParams", ""), "a=1");
  EXPECT_EQ(out->ReadAttr("gamescreenname", ""), "g");
  EXPECT_EQ(out->ReadAttr("url", ""), "u");
  EXPECT_EQ(out->ReadAttr("file_to_run", "none"), "none");
  EXPECT_EQ(out->ReadAttr("width", ""), "100");
  EXPECT_EQ(out->ReadAttr("enabled", ""), "yes");
  EXPECT_EQ(out->ReadAttr("tabstop", "none"), "none");
}

}  // namespace
}  // namespace qv
