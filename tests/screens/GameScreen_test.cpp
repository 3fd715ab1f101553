#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "screens/ScreenTestSupport.h"

namespace qv {
namespace {

using test::TScreenTest;

// A control of the test kind, 10x10 at (left, 0).
std::string Control(const std::string& name, int left, const std::string& flags) {
  return R"(<widget type="test_control" name=")" + name + R"(" width="10" height="10" anchor_left=")" +
         std::to_string(left) + R"(" anchor_top="0" )" + flags + "/>";
}

std::string ScreenXml(const std::string& name, const std::string& window, const std::string& attrs = "") {
  return R"(<gamescreen type="ProbeScreen" name=")" + name + R"(" )" + attrs + "><window>" + window +
         "</window></gamescreen>";
}

std::string HideEffect(int duration) {
  return R"(<effects><widgets><widget type="func_appearance_effect" name="hide_effect" durationtime=")" +
         std::to_string(duration) + R"("/></widgets></effects>)";
}

// a and c are visible tab stops, b is none, d is an invisible one.
const std::string kTabs = "<widgets>" + Control("a", 0, R"(visible="yes" mousestop="yes" tabstop="yes")") +
                          Control("b", 20, R"(visible="yes" mousestop="yes")") +
                          Control("c", 40, R"(visible="yes" mousestop="yes" tabstop="yes")") +
                          Control("d", 60, R"(tabstop="yes")") + "</widgets>";

class GameScreens : public TScreenTest {};

TEST_F(GameScreens, ShowRunsTheHooksInOrderAndFocusesTheFirstTabStop) {
  const Ref<TGameScreen> screen = Screen(ScreenXml("main", kTabs));
  const Ref<TParamCollection> params = MakeRef<TParamCollection>();
  params->Initialize();
  params->SetParamValue("x", TVariant(std::string("7")));
  EXPECT_FALSE(screen->IsVisible());
  ASSERT_TRUE(game->ShowScreen("main", params.get()));
  EXPECT_EQ("BeforeShow main 7|OnShow main|gained a|AfterAppear main", TakeLog());
  EXPECT_TRUE(screen->IsVisible());
  EXPECT_TRUE(screen->IsActive());
  EXPECT_FALSE(screen->IsAppearing());
  EXPECT_EQ("a", screen->GetFocus()->GetName());
  // Shown again while on the stack: nothing happens.
  EXPECT_TRUE(game->ShowScreen("main", nullptr));
  EXPECT_EQ("", TakeLog());
  EXPECT_FALSE(game->ShowScreen("nosuchscreen", nullptr));
}

TEST_F(GameScreens, TabKeyUpMovesTheFocusAndWraps) {
  const Ref<TGameScreen> screen = Screen(ScreenXml("main", kTabs));
  game->ShowScreen("main", nullptr);
  TakeLog();
  // Key-down goes to the focus and moves nothing.
  EXPECT_FALSE(game->Key(WM_KEYDOWN, VK_TAB));
  EXPECT_EQ("key a 256 9", TakeLog());
  EXPECT_TRUE(game->Key(WM_KEYUP, VK_TAB));
  EXPECT_EQ("key a 257 9|lost a|gained c", TakeLog());
  // From the last visible tab stop back to the first (d is invisible).
  EXPECT_TRUE(game->Key(WM_KEYUP, VK_TAB));
  EXPECT_EQ("key c 257 9|lost c|gained a", TakeLog());
  // Made visible, d takes its turn.
  screen->FindWidget("d")->SetVisible(true);
  game->Key(WM_KEYUP, VK_TAB);
  game->Key(WM_KEYUP, VK_TAB);
  EXPECT_EQ("d", screen->GetFocus()->GetName());
  // A widget that handles Tab itself keeps the focus.
  screen->FindWidget("d")->SetPropertyValue("handles", TVariant(9LL));
  EXPECT_TRUE(game->Key(WM_KEYUP, VK_TAB));
  EXPECT_EQ("d", screen->GetFocus()->GetName());
}

TEST_F(GameScreens, TabTakesUnnamedAndEquallyNamedTabStopsInTurn) {
  const Ref<TGameScreen> screen =
      Screen(ScreenXml("main", "<widgets>" + Control("", 0, R"(visible="yes" tabstop="yes")") +
                                   Control("same", 20, R"(visible="yes" tabstop="yes")") +
                                   Control("same", 40, R"(visible="yes" tabstop="yes")") + "</widgets>"));
  game->ShowScreen("main", nullptr);
  IWidgetCollection* children = screen->GetRootChildren();
  ASSERT_EQ(3, children->GetCount());
  for (int turn = 1; turn <= 3; ++turn) {
    game->Key(WM_KEYUP, VK_TAB);
    EXPECT_EQ(children->GetWidget(turn % 3).get(), screen->GetFocus()) << turn;
  }
}

TEST_F(GameScreens, WithoutAFocusableChildNothingHasFocusAndKeysAreNotHandled) {
  const Ref<TGameScreen> screen =
      Screen(ScreenXml("main", "<widgets>" + Control("b", 0, R"(visible="yes" mousestop="yes")") +
                                   Control("d", 60, R"(tabstop="yes")") + "</widgets>"));
  game->ShowScreen("main", nullptr);
  EXPECT_FALSE(screen->GetFocus());
  EXPECT_FALSE(game->Key(WM_KEYUP, VK_TAB));
  EXPECT_FALSE(game->Key(WM_KEYDOWN, 'A'));
  EXPECT_FALSE(screen->GetFocus());
  EXPECT_EQ("BeforeShow main|OnShow main|AfterAppear main", TakeLog());
  // A tab stop that becomes visible takes the focus with the next key.
  screen->FindWidget("d")->SetVisible(true);
  EXPECT_FALSE(game->Key(WM_KEYDOWN, 'A'));
  EXPECT_EQ("gained d|key d 256 65", TakeLog());
}

TEST_F(GameScreens, TheFocusSearchWrapsFromTheStartIndex) {
  const Ref<TGameScreen> screen = Screen(ScreenXml("main", kTabs));
  screen->FindWidget("d")->SetVisible(true);
  auto name = [&](int start) {
    const Ref<IWidget> w = screen->FindFocusable(start);
    return w ? w->GetName() : std::string("-");
  };
  // Indexes count the tab stops a, c and d.
  EXPECT_EQ("a", name(-1));
  EXPECT_EQ("c", name(0));
  EXPECT_EQ("d", name(1));
  EXPECT_EQ("a", name(2));
  EXPECT_EQ("a", name(9));
  EXPECT_EQ("d", screen->FindFocusable(0, true)->GetName());
  EXPECT_EQ("d", screen->FindFocusable(-1, true)->GetName());
  const Ref<TGameScreen> empty = Screen(ScreenXml("empty", ""));
  EXPECT_FALSE(empty->FindFocusable(-1));
}

// Without a mouse: tab stops inside groups take their turns, the arrows
// move the focus both ways, and a hidden group's stops are passed over.
TEST_F(GameScreens, TheArrowsAndTabWalkTheTabStopsInsideGroupsToo) {
  const std::string group = R"(<widget type="group_widget" name="group" visible="yes"><widgets>)" +
                            Control("b1", 20, R"(visible="yes" tabstop="yes")") +
                            Control("b2", 40, R"(visible="yes" tabstop="yes")") + "</widgets></widget>";
  const std::string hidden = R"(<widget type="group_widget" name="hidden" visible="no"><widgets>)" +
                             Control("h", 60, R"(visible="yes" tabstop="yes")") + "</widgets></widget>";
  const Ref<TGameScreen> screen = Screen(
      ScreenXml("main", "<widgets>" + Control("a", 0, R"(visible="yes" tabstop="yes")") + group + hidden +
                            Control("z", 80, R"(visible="yes" tabstop="yes")") + "</widgets>"));
  game->ShowScreen("main", nullptr);
  auto focus = [&] { return screen->GetFocus() ? screen->GetFocus()->GetName() : std::string("-"); };
  EXPECT_EQ("a", focus());
  game->Key(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ("b1", focus());
  game->Key(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ("b2", focus());
  game->Key(WM_KEYUP, VK_TAB);
  EXPECT_EQ("z", focus());  // h is in a hidden group
  game->Key(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ("a", focus());  // round again
  game->Key(WM_KEYDOWN, VK_UP);
  EXPECT_EQ("z", focus());
  game->Key(WM_KEYDOWN, VK_LEFT);
  EXPECT_EQ("b2", focus());
  // The release of an arrow moves nothing.
  game->Key(WM_KEYUP, VK_DOWN);
  EXPECT_EQ("b2", focus());
}

TEST_F(GameScreens, ADialogFreezesTheScreenBelowUntilItsRootIsInvisible) {
  const Ref<TGameScreen> main = Screen(ScreenXml("main", kTabs));
  const Ref<TGameScreen> dialog = Screen(
      ScreenXml("dialog", "<widgets>" + Control("ok", 100, R"(visible="yes" mousestop="yes" tabstop="yes")") +
                              "</widgets>" + HideEffect(300)));
  game->ShowScreen("main", nullptr);
  game->Frame(100);
  const Ref<IWidget> a = main->FindWidget("a");
  EXPECT_EQ(100, VarToInt(a->GetPropertyValue("currenttime")));
  game->ShowScreen("dialog", nullptr);
  EXPECT_FALSE(main->IsActive());
  EXPECT_TRUE(main->IsVisible());
  TakeLog();
  game->Frame(100);
  game->Frame(100);
  EXPECT_EQ(100, VarToInt(a->GetPropertyValue("currenttime")));
  EXPECT_EQ(200, VarToInt(dialog->FindWidget("ok")->GetPropertyValue("currenttime")));
  // No input below: the game gives the top screen everything, and the
  // screen below refuses what reaches it.
  EXPECT_FALSE(game->Mouse(WM_LBUTTONDOWN, {5, 5}));
  EXPECT_FALSE(main->MouseEvent(WM_LBUTTONDOWN, {5, 5}, 0));
  EXPECT_FALSE(main->KeyEvent(WM_KEYUP, VK_TAB, 0));
  EXPECT_TRUE(game->Key(WM_KEYUP, VK_TAB));
  EXPECT_EQ("key ok 257 9", TakeLog());
  // Closing: the dialog stays on the stack, visible and unclickable, for
  // its hide effect.
  const Ref<TParamCollection> result = MakeRef<TParamCollection>();
  result->Initialize();
  result->SetParamValue("answer", TVariant(std::string("yes")));
  EXPECT_FALSE(game->CloseScreen(main.get(), nullptr));
  EXPECT_TRUE(game->CloseScreen(dialog.get(), result.get()));
  EXPECT_EQ("OnHide dialog|lost ok", TakeLog());
  for (int frame = 1; frame <= 2; ++frame) {
    game->Frame(100);
    ASSERT_EQ(2u, game->stack.size()) << frame;
    EXPECT_TRUE(dialog->IsVisible());
    EXPECT_FALSE(game->Mouse(WM_LBUTTONDOWN, {105, 5}));
    EXPECT_FALSE(game->Key(WM_KEYUP, VK_TAB));
    EXPECT_EQ(100, VarToInt(a->GetPropertyValue("currenttime")));
  }
  EXPECT_EQ("", TakeLog());
  game->Frame(100);
  ASSERT_EQ(1u, game->stack.size());
  EXPECT_FALSE(dialog->IsVisible());
  EXPECT_TRUE(main->IsActive());
  EXPECT_EQ("ScreenClosed main dialog yes", TakeLog());
  game->Frame(100);
  EXPECT_EQ(200, VarToInt(a->GetPropertyValue("currenttime")));
  EXPECT_TRUE(game->Mouse(WM_LBUTTONDOWN, {5, 5}));
}

TEST_F(GameScreens, AfterAppearRunsInTheFirstFrameTheShowEffectIsOver) {
  const Ref<TGameScreen> screen = Screen(ScreenXml(
      "main",
      kTabs +
          R"(<effects><widgets><widget type="func_appearance_effect" name="show_effect" durationtime="300"/></widgets></effects>)"));
  game->ShowScreen("main", nullptr);
  EXPECT_EQ("BeforeShow main|OnShow main|gained a", TakeLog());
  EXPECT_TRUE(screen->IsAppearing());
  game->Frame(100);
  game->Frame(100);
  EXPECT_EQ("", TakeLog());
  EXPECT_TRUE(screen->IsAppearing());
  game->Frame(100);
  EXPECT_EQ("AfterAppear main", TakeLog());
  EXPECT_FALSE(screen->IsAppearing());
  game->Frame(100);
  EXPECT_EQ("", TakeLog());
  // Closed before it has appeared, a screen never gets AfterAppear.
  game->CloseScreen(screen.get(), nullptr);
  game->ShowScreen("main", nullptr);
  game->Frame(100);
  screen->Hide();
  for (int i = 0; i < 4; ++i) screen->Update(100);
  EXPECT_EQ(std::string::npos, TakeLog().find("AfterAppear"));
}

TEST_F(GameScreens, MouseGoesToTheCaptureOrTheMouseStoppingWidgetUnderThePoint) {
  const Ref<TGameScreen> screen = Screen(
      ScreenXml("main", R"(<widgets>
        <widget type="group_widget" name="open" visible="yes" anchor_left="100"><widgets>)" +
                            Control("inner", 0, R"(visible="yes" mousestop="yes")") + R"(</widgets></widget>
        <widget type="group_widget" name="stops" visible="yes" mousestop="yes" anchor_left="200"><widgets>)" +
                            Control("inner2", 0, R"(visible="yes" mousestop="yes")") +
                            R"(</widgets></widget>)" + Control("plain", 300, R"(visible="yes")") +
                            Control("b", 0, R"(visible="yes" mousestop="yes")") + "</widgets>"));
  game->ShowScreen("main", nullptr);
  TakeLog();
  // A group without "mousestop" passes no clicks to its children.
  EXPECT_FALSE(game->Mouse(WM_LBUTTONDOWN, {105, 5}));
  EXPECT_FALSE(game->Mouse(WM_LBUTTONDOWN, {305, 5}));
  EXPECT_EQ("", TakeLog());
  EXPECT_TRUE(game->Mouse(WM_LBUTTONDOWN, {205, 5}));
  EXPECT_EQ("mouse inner2 513 205,5", TakeLog());
  // Both edges of a rectangle are inside.
  EXPECT_TRUE(game->Mouse(WM_MOUSEMOVE, {10, 10}));
  EXPECT_EQ("mouse b 512 10,10", TakeLog());
  // The capture gets everything, wherever the point.
  screen->SetCapture(screen->FindWidget("b").get());
  EXPECT_TRUE(game->Mouse(WM_MOUSEMOVE, {205, 5}));
  EXPECT_EQ("mouse b 512 205,5", TakeLog());
  screen->SetCapture(screen->FindWidget("stops/inner2").get());
  EXPECT_EQ("capturelost b", TakeLog());
  screen->ReleaseCapture();
  EXPECT_EQ("capturelost inner2", TakeLog());
  EXPECT_FALSE(screen->GetCapture());
  // A capture widget removed from the tree is let go.
  screen->SetCapture(screen->FindWidget("b").get());
  screen->GetRootChildren()->DeleteWidget("b");
  EXPECT_FALSE(game->Mouse(WM_MOUSEMOVE, {305, 5}));
  EXPECT_FALSE(screen->GetCapture());
}

// Sees what the data tool's preview sees.
class TLogObserver : public IGameScreenObserver {
public:
  void ControlEventSeen(IGameScreenSlave& screen, IWidget* sender, int code, IParamCollection*) override {
    test::Log().push_back("seen " + screen.GetName() + " " + sender->GetName() + " " + std::to_string(code));
  }
  void FocusChanged(IGameScreenSlave&, IWidget* focus) override {
    test::Log().push_back(std::string("focus ") + (focus ? focus->GetName() : "none"));
  }
};

TEST_F(GameScreens, TheObserverSeesControlEventsBeforeTheScreenAndEveryFocusChange) {
  TLogObserver observer;
  const Ref<TGameScreen> screen = Screen(ScreenXml("main", kTabs));
  screen->SetObserver(&observer);
  game->ShowScreen("main", nullptr);
  EXPECT_EQ("BeforeShow main|OnShow main|gained a|focus a|AfterAppear main", TakeLog());
  game->Mouse(WM_LBUTTONUP, {25, 5});
  EXPECT_EQ("mouse b 514 25,5|seen main b 1|control main b 1", TakeLog());
  game->Key(WM_KEYUP, VK_TAB);
  EXPECT_EQ("key a 257 9|lost a|gained c|focus c", TakeLog());
  screen->ClearFocus();
  EXPECT_EQ("lost c|focus none", TakeLog());
  screen->SetFocus(screen->FindWidget("b").get());
  screen->ResetInput();
  EXPECT_EQ("gained b|focus b|focus none", TakeLog());
  screen->SetObserver(nullptr);
  game->Mouse(WM_LBUTTONUP, {25, 5});
  EXPECT_EQ("mouse b 514 25,5|control main b 1", TakeLog());
}

TEST_F(GameScreens, EscapePressesTheCancelOrCloseButton) {
  const Ref<TGameScreen> screen = Screen(
      ScreenXml("main", "<widgets>" + Control("field", 0, R"(visible="yes" tabstop="yes")") +
                            Control("button_cancel", 20, R"(visible="yes" enabled="yes")") +
                            Control("button_close", 40, R"(visible="yes" enabled="yes")") + "</widgets>"));
  game->ShowScreen("main", nullptr);
  TakeLog();
  EXPECT_TRUE(game->Key(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_EQ("key field 256 27|click button_cancel", TakeLog());
  // Only the key-down presses.
  EXPECT_FALSE(game->Key(WM_KEYUP, VK_ESCAPE));
  EXPECT_EQ("key field 257 27", TakeLog());
  // A disabled or hidden cancel button leaves it to the close button.
  screen->FindWidget("button_cancel")->SetEnabled(false);
  EXPECT_TRUE(game->Key(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_EQ("key field 256 27|click button_close", TakeLog());
  screen->FindWidget("button_close")->SetVisible(false);
  EXPECT_FALSE(game->Key(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_EQ("key field 256 27", TakeLog());
  // A focus that handles Escape itself keeps it.
  screen->FindWidget("button_close")->SetVisible(true);
  screen->FindWidget("field")->SetPropertyValue("handles", TVariant(27LL));
  EXPECT_TRUE(game->Key(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_EQ("key field 256 27", TakeLog());
}

TEST_F(GameScreens, EscapeNeedsAPressableDirectChild) {
  const Ref<TGameScreen> screen =
      Screen(ScreenXml("main", R"(<widgets><widget type="rect_widget" name="button_cancel" visible="yes"/>
        <widget type="group_widget" name="g" visible="yes"><widgets>)" +
                                   Control("button_close", 40, R"(visible="yes" enabled="yes")") +
                                   "</widgets></widget></widgets>"));
  game->ShowScreen("main", nullptr);
  TakeLog();
  // No focus at all: Escape is still the dialog's, but nothing here presses.
  EXPECT_FALSE(game->Key(WM_KEYDOWN, VK_ESCAPE));
  EXPECT_EQ("", TakeLog());
}

TEST_F(GameScreens, ScreenSoundsAndBackgroundMusicGoThroughTheEngine) {
  const Ref<TGameScreen> screen = Screen(ScreenXml("main", R"(<sounds>
      <sound name="sound_show_window" resourcename="show"/><sound name="sound_hide_window" resourcename="hide"/>
      <sound name="ding" resourcename="ding" volume="50"/></sounds>
      <musics><music name="music_background" resourcename="tune"/></musics>)"));
  game->ShowScreen("main", nullptr);
  EXPECT_EQ(std::vector<std::string>({"show -1 -101"}), engine->played);
  EXPECT_EQ(std::vector<std::string>({"tune"}), engine->musicPlayed);
  screen->PlayScreenSound("ding");
  screen->PlayScreenSound("nothing");
  screen->StopScreenSound("ding");
  EXPECT_EQ(std::vector<std::string>({"show -1 -101", "ding 50 -101"}), engine->played);
  EXPECT_EQ(std::vector<std::string>({"ding"}), engine->stopped);
  game->CloseScreen(screen.get(), nullptr);
  EXPECT_EQ("hide -1 -101", engine->played.back());
  EXPECT_EQ(std::vector<std::string>({"tune"}), engine->musicStopped);
  // A screen without sounds or music is quiet.
  Screen(ScreenXml("quiet", ""));
  game->ShowScreen("quiet", nullptr);
  EXPECT_EQ(3u, engine->played.size());
  EXPECT_EQ(1u, engine->musicPlayed.size());
}

TEST_F(GameScreens, TheWindowPlacesTheRootAndSavesBack) {
  TDiagnosticsCollector errors;
  const Ref<TGameScreen> screen = Screen(
      R"(<gamescreen type="GameScreen" name="main" cursor_name="hand"><window left="30" top="40" anchor_left="1">
           <widgets><widget type="rect_widget" name="r" visible="yes" width="5" height="6"/></widgets>
           <sounds><sound name="ding" resourcename="ding"/></sounds>
           <musics><music name="music_background" resourcename="tune"/></musics></window></gamescreen>)");
  EXPECT_TRUE(errors.Errors().empty());
  EXPECT_EQ("hand", screen->GetCursorName());
  EXPECT_EQ(30.0, screen->Root().GetAnchorLeft());
  EXPECT_EQ(40.0, screen->Root().GetAnchorTop());
  EXPECT_TRUE(screen->Root().IsMouseStop());
  EXPECT_EQ(TRect(30, 40, 35, 46), screen->GetRect());
  EXPECT_EQ("main/", screen->FindWidget("r")->GetFullPath().substr(0, 5));
  const StorageRef out = NewStorage("gamescreen");
  screen->Save(out);
  const std::string xml = out->GetMarkup();
  EXPECT_NE(std::string::npos, xml.find(R"(type="GameScreen")")) << xml;
  EXPECT_NE(std::string::npos, xml.find(R"(cursor_name="hand")")) << xml;
  EXPECT_NE(std::string::npos, xml.find(R"(left="30" top="40")")) << xml;
  EXPECT_EQ(xml.find("<sounds"), xml.rfind("<sounds")) << xml;
  EXPECT_NE(std::string::npos, xml.find("<musics")) << xml;
  const Ref<TGameScreen> again = CreateFromNodeAs<TGameScreen>(LoadStorageText(xml));
  ASSERT_TRUE(again);
  EXPECT_EQ(40.0, again->Root().GetAnchorTop());
  EXPECT_TRUE(again->FindWidget("r"));
  EXPECT_TRUE(again->GetMusics()->FindMusic("music_background"));
  // A coordinate that is no number is reported and counts as 0.
  const Ref<TGameScreen> bad =
      Screen(R"(<gamescreen type="GameScreen" name="bad"><window left="x"/></gamescreen>)");
  EXPECT_TRUE(errors.Has("gamescreen bad@left"));
  EXPECT_EQ(0.0, bad->Root().GetAnchorLeft());
  // No window: an empty screen that is always "visible".
  const Ref<TGameScreen> bare = Screen(R"(<gamescreen type="GameScreen" name="bare"/>)");
  EXPECT_FALSE(bare->IsVisible());
  bare->Show(nullptr);
  EXPECT_TRUE(bare->IsVisible());
}

TEST_F(GameScreens, AScreenThatWasActiveGetsOneMoreDirtyPass) {
  const Ref<TGameScreen> main = Screen(ScreenXml("main", kTabs));
  Screen(ScreenXml("dialog", ""));
  game->ShowScreen("main", nullptr);
  game->Frame(10);
  game->ShowScreen("dialog", nullptr);
  main->FindWidget("a")->SetAnchorTop(50);
  engine->rects.clear();
  EXPECT_FALSE(main->UpdateDirty());
  EXPECT_FALSE(engine->rects.empty());
  main->FindWidget("a")->SetAnchorTop(60);
  engine->rects.clear();
  main->UpdateDirty();
  EXPECT_TRUE(engine->rects.empty());
}

TEST_F(GameScreens, DrawingSkipsAnInvisibleRoot) {
  const Ref<TGameScreen> screen = Screen(
      R"(<gamescreen type="GameScreen" name="main"><window left="2" top="1"><widgets>
           <widget type="rect_widget" name="r" visible="yes" width="2" height="1" color="$FF00FF00"/></widgets></window></gamescreen>)");
  const Ref<TSurface> target = MakeRef<TSurface>();
  target->SetSize(6, 4);
  screen->Draw(target.get());
  EXPECT_EQ(0u, target->GetPixel(2, 1));
  screen->Show(nullptr);
  screen->Draw(target.get());
  EXPECT_EQ(0xFF00FF00u, target->GetPixel(2, 1));
  EXPECT_EQ(0xFF00FF00u, target->GetPixel(3, 1));
  EXPECT_EQ(0u, target->GetPixel(4, 1));
}

TEST_F(GameScreens, TheRootsChainReachesTheScreenAndTheGame) {
  const Ref<TGameScreen> screen = Screen(ScreenXml("main", kTabs));
  const Ref<IWidget> a = screen->FindWidget("a");
  IWidgetOwner* owner = a->GetOwner();
  ASSERT_TRUE(owner);
  EXPECT_EQ(static_cast<IWindow*>(screen.get()), owner->GetWindow());
  IEventHandler* handler = owner->GetEventHandler();
  ASSERT_TRUE(handler);
  EXPECT_EQ(static_cast<IInterface*>(engine.get()), handler->GetEngine());
  EXPECT_EQ(static_cast<IInterface*>(game.get()), handler->GetScreenOwner());
  EXPECT_EQ(a, a->FindWidget("window:/a"));
  EXPECT_EQ(TPoint(7, 8), owner->ScreenToChildLocal({7, 8}));
  EXPECT_FALSE(screen->CreateWidget("x", nullptr));
  screen->Detach();
  EXPECT_FALSE(a->GetOwner());
  EXPECT_FALSE(screen->GetEngine());
}

}  // namespace
}  // namespace qv
