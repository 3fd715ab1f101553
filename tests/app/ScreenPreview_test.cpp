// The data tool's screen preview: what the stand-in game records of a
// screen's calls, and how window messages reach the screen.
#include "app/ScreenPreview.h"

#include <gtest/gtest.h>

#include "app/Engine.h"
#include "screens/ScreenTestSupport.h"
#include "services/IEngineOptions.h"

namespace qv {
namespace {

// Reacts to the test controls by name: "show" shows "next" with A=1,
// "close" closes itself with answer=yes, "option" sets the sound volume.
class TActingScreen : public TGameScreen {
public:
  void OnControlEvent(IWidget* sender, int code, IParamCollection*) override {
    auto* game = static_cast<IGameScreenOwner*>(GetScreenOwnerInterface());
    const Ref<TParamCollection> params = MakeRef<TParamCollection>();
    params->Initialize();
    const std::string name = sender->GetName();
    if (name == "show") {
      params->SetParamValue("A", TVariant(1LL));
      shown = game->ShowScreen("next", params.get());
    } else if (name == "close") {
      params->SetParamValue("answer", TVariant(std::string("yes")));
      closed = game->CloseScreen(this, params.get());
    } else if (name == "option") {
      GetScreenOwnerInterface()->SetOption("SoundVolume", "40");
    }
    (void)code;
  }
  bool shown = true;
  bool closed = false;

protected:
  ~TActingScreen() override = default;
};

std::string Control(const std::string& name, int left, const std::string& flags = "") {
  return R"(<widget type="test_control" name=")" + name +
         R"(" visible="yes" mousestop="yes" width="10" height="10" anchor_left=")" + std::to_string(left) +
         R"(" anchor_top="0" )" + flags + "/>";
}

class ScreenPreview : public test::TScreenTest {
protected:
  void SetUp() override {
    TScreenTest::SetUp();
    RegisterClass<TActingScreen>("ActingScreen");
    real = MakeRef<TEngine>();
    real->Initialize();
  }
  void TearDown() override {
    if (preview) preview->Finish();
    TScreenTest::TearDown();
  }
  void Start(const std::string& widgets, const std::string& effects = "") {
    screen = CreateFromNodeAs<TActingScreen>(
        LoadStorageText(R"(<gamescreen type="ActingScreen" name="main"><window><widgets>)" + widgets +
                        "</widgets>" + effects + "</window></gamescreen>"));
    ASSERT_TRUE(screen);
    view = MakeRef<TPreviewEngine>(*real, log);
    preview = MakeRef<TPreviewGame>(*screen, *view, log);
    preview->Start();
  }
  void Click(int x, int y) {
    preview->Route({WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, y)});
    preview->Route({WM_LBUTTONUP, 0, MakeLParam(x, y)});
  }
  std::string Lines() {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    lines.clear();
    return text;
  }

  std::vector<std::string> lines;
  TPreviewLog log{[this](const std::string& line) { lines.push_back(line); }};
  Ref<TEngine> real;
  Ref<TActingScreen> screen;
  Ref<TPreviewEngine> view;
  Ref<TPreviewGame> preview;
};

TEST_F(ScreenPreview, RecordsControlEventsAndTheScreensCallsOnTheGame) {
  Start(Control("show", 0) + Control("close", 20) + Control("option", 40) +
        Control("field", 60, R"(tabstop="yes")"));
  EXPECT_EQ("{\"frame\":0,\"event\":\"focus\",\"widget\":\"field\"}\n", Lines());
  log.SetFrame(1);
  Click(5, 5);
  EXPECT_EQ(
      "{\"frame\":1,\"event\":\"control\",\"sender\":\"show\",\"code\":1}\n"
      "{\"frame\":1,\"event\":\"show\",\"screen\":\"next\",\"params\":{\"A\":\"1\"}}\n",
      Lines());
  EXPECT_FALSE(screen->shown);  // the preview knows no other screen
  log.SetFrame(2);
  Click(45, 5);
  EXPECT_EQ(
      "{\"frame\":2,\"event\":\"control\",\"sender\":\"option\",\"code\":1}\n"
      "{\"frame\":2,\"event\":\"option\",\"name\":\"SoundVolume\",\"value\":\"40\"}\n",
      Lines());
  EXPECT_EQ("40", VarToString(real->GetOption("SoundVolume")));
  log.SetFrame(3);
  Click(25, 5);
  EXPECT_EQ(
      "{\"frame\":3,\"event\":\"control\",\"sender\":\"close\",\"code\":1}\n"
      "{\"frame\":3,\"event\":\"close\",\"screen\":\"main\",\"params\":{\"answer\":\"yes\"}}\n"
      "{\"frame\":3,\"event\":\"focus\",\"widget\":null}\n",
      Lines());
  EXPECT_TRUE(screen->closed);
  // Closed without a hide effect, it has left at once and gets nothing more.
  EXPECT_FALSE(preview->IsShown());
  Click(5, 5);
  EXPECT_EQ("", Lines());
}

TEST_F(ScreenPreview, AClosingScreenStaysShownForItsHideEffect) {
  Start(
      Control("close", 0),
      R"(<effects><widgets><widget type="func_appearance_effect" name="hide_effect" durationtime="20"/></widgets></effects>)");
  Click(5, 5);
  EXPECT_TRUE(preview->IsShown());
  for (int frame = 1; frame <= 2; ++frame) {
    EXPECT_TRUE(preview->IsShown()) << frame;
    preview->Advance(10);
    preview->CollectUpdates();
  }
  EXPECT_FALSE(preview->IsShown());
}

TEST_F(ScreenPreview, MessagesReachTheScreenAsTheGameGetsThem) {
  Start(Control("a", 0, R"(tabstop="yes")") + Control("b", 20, R"(tabstop="yes")"));
  test::Log().clear();
  // The cursor position follows every mouse message.
  EXPECT_EQ(TPoint(0, 0), view->GetCursorPos());
  preview->Route({WM_MOUSEMOVE, 0, MakeLParam(25, 3)});
  EXPECT_EQ(TPoint(25, 3), view->GetCursorPos());
  EXPECT_EQ("mouse b 512 25,3", TakeLog());
  // Keys and characters go to the focus; Tab's key-up moves it.
  preview->Route({WM_KEYDOWN, VK_TAB, 0});
  preview->Route({WM_CHAR, 9, 0});
  preview->Route({WM_KEYUP, VK_TAB, 0});
  EXPECT_EQ("key a 256 9|key a 258 9|key a 257 9|lost a|gained b", TakeLog());
  // Alt with a character reaches the screen as a character with the Alt bit;
  // system keys do not reach it.
  preview->Route({WM_SYSCOMMAND, SC_KEYMENU, 'x'});
  preview->Route({WM_SYSKEYDOWN, 'X', 0});
  EXPECT_EQ("key b 258 120", TakeLog());
  // The view hands the rest to the real engine.
  EXPECT_TRUE(view->CreateSurface());
  EXPECT_FALSE(view->FindResource("nothing"));
}

}  // namespace
}  // namespace qv
