#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "screens/ScreenTestSupport.h"

namespace qv {
namespace {

using test::TScreenTest;

const char kCursors[] = R"(<cursors default_cursor_name="hand">
    <cursor name="arrow" hotspotx="1"><widget type="rect_widget" name="aw" visible="yes" anchor_left="3" anchor_top="4" width="4" height="4"/></cursor>
    <cursor name="wait"><widget type="rect_widget" name="ww" width="2" height="2"/></cursor>
    <cursor name="bare"/>
  </cursors>)";

class Cursors : public TScreenTest {
protected:
  void SetUp() override {
    TScreenTest::SetUp();
    cursors = MakeRef<TCursorCollection>();
    cursors->Initialize();
    cursors->Load(LoadStorageText(kCursors));
    for (int i = 0; i < cursors->GetCount(); ++i)
      if (const Ref<IWidget> w = cursors->GetItem(i)->GetWidget()) w->SetOwner(screen.get());
    game->cursors = cursors;
  }
  void TearDown() override {
    for (int i = 0; i < cursors->GetCount(); ++i)
      if (const Ref<IWidget> w = cursors->GetItem(i)->GetWidget()) w->Detach();
    TScreenTest::TearDown();
  }
  std::string Current() {
    const Ref<ICursor> c = cursors->GetCurrentCursor();
    return c ? c->GetName() : "-";
  }
  Ref<TCursorCollection> cursors;
};

TEST_F(Cursors, LoadingHidesTheWidgetsAndKeepsTheHotspots) {
  ASSERT_EQ(3, cursors->GetCount());
  const Ref<ICursor> arrow = cursors->GetItem("ARROW");
  ASSERT_TRUE(arrow);
  EXPECT_EQ(TPoint(1, 0), arrow->GetHotspot());
  EXPECT_FALSE(arrow->GetWidget()->IsVisible());
  EXPECT_FALSE(cursors->GetItem("bare")->GetWidget());
  EXPECT_FALSE(cursors->GetCurrentCursor());
  // Both hotspot keys are written when either is not 0; none when both are.
  const StorageRef out = NewStorage("cursors");
  cursors->Save(out);
  const std::string xml = out->GetMarkup();
  EXPECT_NE(std::string::npos, xml.find(R"(default_cursor_name="hand")")) << xml;
  EXPECT_NE(std::string::npos, xml.find(R"(hotspotx="1" hotspoty="0")")) << xml;
  EXPECT_EQ(xml.find("hotspotx"), xml.rfind("hotspotx")) << xml;
  EXPECT_NE(std::string::npos, xml.find(R"(name="ww")")) << xml;
}

TEST_F(Cursors, TheDefaultNameFallsBackToTheFirstCursor) {
  EXPECT_EQ("arrow", cursors->GetDefaultCursorName());
  cursors->SetDefaultCursorName("wait");
  EXPECT_EQ("wait", cursors->GetDefaultCursorName());
  const Ref<TCursorCollection> none = MakeRef<TCursorCollection>();
  none->Initialize();
  EXPECT_EQ("", none->GetDefaultCursorName());
}

TEST_F(Cursors, SwitchingHidesTheOldWidgetAndRepaintsItsArea) {
  EXPECT_TRUE(cursors->SetCurrentCursor("arrow"));
  const Ref<IWidget> aw = cursors->GetItem("arrow")->GetWidget();
  EXPECT_TRUE(aw->IsVisible());
  aw->UpdateDirtyRegion(false, false);  // the frame that showed it
  engine->rects.clear();
  EXPECT_TRUE(cursors->SetCurrentCursor("wait"));
  EXPECT_FALSE(aw->IsVisible());
  EXPECT_EQ(std::vector<TRect>({TRect(3, 4, 7, 8)}), engine->rects);
  EXPECT_TRUE(cursors->GetItem("wait")->GetWidget()->IsVisible());
  EXPECT_EQ("wait", Current());
  // An unknown name changes nothing.
  EXPECT_FALSE(cursors->SetCurrentCursor("nothing"));
  EXPECT_EQ("wait", Current());
  // A cursor without a widget can be current.
  EXPECT_TRUE(cursors->SetCurrentCursor("bare"));
  EXPECT_FALSE(cursors->GetItem("wait")->GetWidget()->IsVisible());
}

TEST_F(Cursors, AScreenShowsItsCursorOrTheDefaultAndRestoresThePreviousOne) {
  const Ref<TGameScreen> plain = Screen(R"(<gamescreen type="GameScreen" name="plain"/>)");
  const Ref<TGameScreen> busy = Screen(R"(<gamescreen type="GameScreen" name="busy" cursor_name="wait"/>)");
  // No cursor name: the default one, here the first since "hand" is none.
  game->ShowScreen("plain", nullptr);
  EXPECT_EQ("arrow", Current());
  EXPECT_EQ("", plain->GetPreviousCursorName());
  game->ShowScreen("busy", nullptr);
  EXPECT_EQ("wait", Current());
  EXPECT_EQ("arrow", busy->GetPreviousCursorName());
  game->CloseScreen(busy.get(), nullptr);
  EXPECT_EQ("arrow", Current());
  // With the default name present, it wins over the first cursor.
  game->CloseScreen(plain.get(), nullptr);
  cursors->SetDefaultCursorName("bare");
  game->ShowScreen("plain", nullptr);
  EXPECT_EQ("bare", Current());
}

TEST_F(Cursors, AScreenCursorThatDoesNotExistIsReported) {
  TDiagnosticsCollector errors;
  cursors->SetCurrentCursor("wait");
  Screen(R"(<gamescreen type="GameScreen" name="odd" cursor_name="sword"/>)");
  game->ShowScreen("odd", nullptr);
  EXPECT_TRUE(errors.Has("sword"));
  EXPECT_EQ("wait", Current());
  // A game without cursors is fine.
  game->cursors = nullptr;
  errors.Clear();
  Screen(R"(<gamescreen type="GameScreen" name="other" cursor_name="sword"/>)");
  game->ShowScreen("other", nullptr);
  EXPECT_TRUE(errors.Errors().empty());
}

TEST_F(Cursors, ASecondCursorOfANameIsDropped) {
  TDiagnosticsCollector errors;
  const Ref<TCursorCollection> twice = MakeRef<TCursorCollection>();
  twice->Initialize();
  twice->Load(LoadStorageText(R"(<cursors><cursor name="a" hotspotx="2"/><cursor name="A"/></cursors>)"));
  EXPECT_EQ(1, twice->GetCount());
  EXPECT_EQ(2, twice->GetItem("a")->GetHotspot().x);
  EXPECT_FALSE(errors.Errors().empty());
  // A cursor widget that is no widget is reported.
  errors.Clear();
  twice->Load(
      LoadStorageText(R"(<cursors><cursor name="x"><widget type="WidgetFactory"/></cursor></cursors>)"));
  EXPECT_TRUE(errors.Has("not a widget"));
}

class ScreenCollections : public TScreenTest {};

TEST_F(ScreenCollections, ScreensAreCreatedByTypeAndFoundByName) {
  TDiagnosticsCollector errors;
  const Ref<TGSCollection> screens = MakeRef<TGSCollection>();
  screens->Initialize();
  screens->Load(LoadStorageText(R"(<gamescreens>
      <gamescreen type="GameScreen" name="main"/>
      <gamescreen type="ProbeScreen" name="probe"/>
      <gamescreen type="NoSuchScreen" name="ghost"/>
      <gamescreen type="rect_widget" name="widget"/>
      <gamescreen type="GameScreen" name="MAIN"/>
    </gamescreens>)"));
  EXPECT_EQ(2, screens->GetCount());
  ASSERT_TRUE(screens->GetItem("Probe"));
  EXPECT_TRUE(dynamic_cast<test::TProbeScreen*>(screens->GetItem("probe").get()));
  EXPECT_EQ("main", screens->GetItem(0)->GetName());
  EXPECT_FALSE(screens->GetItem("ghost"));
  EXPECT_FALSE(screens->GetItem(5));
  EXPECT_TRUE(errors.Has("NoSuchScreen"));
  EXPECT_TRUE(errors.Has("not a game screen"));
  EXPECT_EQ(3u, errors.Errors().size()) << "unknown type, no screen, a taken name";
}

}  // namespace
}  // namespace qv
