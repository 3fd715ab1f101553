#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "widgets/RectWidget.h"
#include "widgets/VisualGroupWidget.h"
#include "widgets/WidgetTestSupport.h"
#include "widgets/WidgetsTypes.h"

namespace qv {
namespace {

using test::TFakeEngine;
using test::TFakeScreen;
using test::WidgetFromXml;

// Counts its advances; the first one may insert a further widget into a group.
class TProbeWidget : public TVisualWidget {
public:
  TProbeWidget(std::string name, int z, std::vector<std::string>* log) : log_(log) {
    SetName(name);
    SetZ(z);
  }
  void AdvanceTime(int dt) override {
    TVisualWidget::AdvanceTime(dt);
    log_->push_back(GetName());
    if (spawnInto && spawn) {
      auto child = std::exchange(spawn, nullptr);
      spawnInto->InsertWidget(child);
    }
  }
  TGroupWidget* spawnInto = nullptr;
  Ref<IWidget> spawn;

protected:
  ~TProbeWidget() override = default;

private:
  std::vector<std::string>* log_;
};

class Groups : public test::TWidgetTest {
protected:  // One frame as a screen runs it: time, then the dirty pass. The reported
  // rectangles of that frame.
  std::vector<TRect> Frame(const Ref<IWidget>& root, int dt) {
    engine->rects.clear();
    root->Advance(dt);
    root->UpdateDirtyRegion(false, false);
    return engine->rects;
  }
  static std::vector<std::string> Names(IWidgetCollection* c) {
    std::vector<std::string> names;
    for (int i = 0; i < c->GetCount(); ++i) names.push_back(c->GetWidget(i)->GetName());
    return names;
  }
};

TEST_F(Groups, InsertKeepsZOrderAndEqualZKeepsInsertionOrder) {
  const Ref<IWidget> root = Attach(R"(<widget type="group_widget" name="g" visible="yes"><widgets>
      <widget type="rect_widget" name="b" z="1"/>
      <widget type="rect_widget" name="a" z="0"/>
      <widget type="rect_widget" name="c" z="1"/>
      <widget type="rect_widget" name="d" z="-1"/>
    </widgets></widget>)");
  IWidgetCollection* children = root->GetChildren();
  EXPECT_EQ(Names(children), (std::vector<std::string>{"d", "a", "b", "c"}));
  EXPECT_EQ(children->GetWidget(0)->GetOwner(), dynamic_cast<IWidgetOwner*>(root.get()));

  // Raising a's z moves it after every child of lower or equal z at the next sort.
  children->GetWidgetByName("a")->SetZ(1);
  children->SortByZ();
  EXPECT_EQ(Names(children), (std::vector<std::string>{"d", "b", "c", "a"}));
  children->GetWidgetByName("d")->SetZ(5);
  root->Advance(10);  // the child pass sorts too
  EXPECT_EQ(Names(children), (std::vector<std::string>{"b", "c", "a", "d"}));
  EXPECT_EQ(children->GetWidgetByKey("2")->GetName(), "a");
  EXPECT_EQ(children->IndexOfName("D"), 3);

  children->DeleteWidget("c");
  EXPECT_EQ(Names(children), (std::vector<std::string>{"b", "a", "d"}));
}

TEST_F(Groups, AdvanceAllAdvancesWidgetsAddedDuringThePassOnce) {
  std::vector<std::string> log;
  const Ref<IWidget> root = Attach(R"(<widget type="group_widget" name="g" visible="yes"/>)");
  auto* group = dynamic_cast<TGroupWidget*>(root.get());
  auto spawner = MakeRef<TProbeWidget>("spawner", 5, &log);
  auto last = MakeRef<TProbeWidget>("last", 9, &log);
  group->InsertWidget(spawner);
  group->InsertWidget(last);
  // Lower z: it lands before the spawner, behind the walk, so a further
  // pass advances it; higher z: it lands after it and the same pass gets it.
  spawner->spawnInto = group;
  spawner->spawn = MakeRef<TProbeWidget>("early", 0, &log);
  auto early = spawner->spawn;
  root->Advance(10);
  EXPECT_EQ(log, (std::vector<std::string>{"spawner", "last", "early"}));
  EXPECT_EQ(Names(root->GetChildren()), (std::vector<std::string>{"early", "spawner", "last"}));
  EXPECT_TRUE(early->IsAdvanced());

  log.clear();
  root->UpdateDirtyRegion(false, false);  // clears the advanced marks
  EXPECT_FALSE(early->IsAdvanced());
  spawner->spawn = MakeRef<TProbeWidget>("late", 20, &log);
  root->Advance(10);
  EXPECT_EQ(log, (std::vector<std::string>{"early", "spawner", "last", "late"}));

  // Paused and dead widgets are not advanced.
  log.clear();
  root->UpdateDirtyRegion(false, false);
  early->SetPaused(true);
  spawner->SetDead(true);
  root->Advance(10);
  EXPECT_EQ(log, (std::vector<std::string>{"last", "late"}));
  EXPECT_EQ(Names(root->GetChildren()), (std::vector<std::string>{"early", "last", "late"}));
}

TEST_F(Groups, TimeToLiveEndsInTheThirdFrameAndTheOldAreaIsRepainted) {
  const Ref<IWidget> root =
      Attach(R"(<widget type="group_widget" name="g" visible="yes" anchor_left="10" anchor_top="20"><widgets>
      <widget type="rect_widget" name="spark" visible="yes" timetolive="500" anchor_left="1" anchor_top="2" width="4" height="4"/>
    </widgets></widget>)");
  EXPECT_EQ(Frame(root, 200), (std::vector<TRect>{{11, 22, 15, 26}, {11, 22, 15, 26}}));  // first frame
  EXPECT_EQ(Frame(root, 200), std::vector<TRect>{});
  // 600 >= 500: dead, removed in the group's child pass with its old area reported.
  EXPECT_EQ(Frame(root, 200), (std::vector<TRect>{{11, 22, 15, 26}}));
  EXPECT_EQ(root->GetChildren()->GetCount(), 0);
  EXPECT_EQ(root->GetRect(), (TRect{10, 20, 10, 20}));  // empty at the anchor
}

TEST_F(Groups, DirtyPassWorkedExample) {
  const Ref<IWidget> root =
      Attach(R"(<widget type="group_widget" name="g" visible="yes" anchor_left="10" anchor_top="20"><widgets>
      <widget type="rect_widget" name="a" visible="yes" anchor_left="1" anchor_top="2" width="4" height="4"/>
      <widget type="rect_widget" name="b" width="2" height="2"/>
    </widgets></widget>)");
  const Ref<IWidget> a = root->FindWidget("a");
  const Ref<IWidget> b = root->FindWidget("b");
  // 1: the child's first frame (in screen coordinates), then the group's own.
  EXPECT_EQ(Frame(root, 10), (std::vector<TRect>{{11, 22, 15, 26}, {11, 22, 15, 26}}));
  EXPECT_TRUE(root->HasDirtyRect());
  // 2: nothing changed.
  EXPECT_EQ(Frame(root, 10), std::vector<TRect>{});
  EXPECT_FALSE(root->HasDirtyRect());
  // 3: a moves: its old and its new place.
  a->SetAnchorLeft(3);
  EXPECT_EQ(Frame(root, 10), (std::vector<TRect>{{11, 22, 15, 26}, {13, 22, 17, 26}}));
  EXPECT_TRUE(root->HasDirtyRect());  // through its children
  // 4: b appears.
  b->SetVisible(true);
  EXPECT_EQ(Frame(root, 10), (std::vector<TRect>{{10, 20, 12, 22}}));
  // 5: a repaint of a: its place once.
  a->Invalidate();
  EXPECT_EQ(Frame(root, 10), (std::vector<TRect>{{13, 22, 17, 26}}));
  // 6: the group hides: every child's old area, then the group's old bounds.
  root->SetVisible(false);
  EXPECT_EQ(Frame(root, 10), (std::vector<TRect>{{13, 22, 17, 26}, {10, 20, 12, 22}, {10, 20, 17, 26}}));
  // 7: hidden stays quiet.
  EXPECT_EQ(Frame(root, 10), std::vector<TRect>{});
  // 8: shown again: the children are forced to repaint, then the group.
  root->SetVisible(true);
  EXPECT_EQ(Frame(root, 10), (std::vector<TRect>{{13, 22, 17, 26}, {10, 20, 12, 22}, {10, 20, 17, 26}}));
  // 9: the group moves: the children report old and new, then the group.
  root->SetAnchorTop(30);
  EXPECT_EQ(Frame(root, 10), (std::vector<TRect>{{13, 22, 17, 26},
                                                 {13, 32, 17, 36},
                                                 {10, 20, 12, 22},
                                                 {10, 30, 12, 32},
                                                 {10, 20, 17, 26},
                                                 {10, 30, 17, 36}}));
  // An insertion into a shown group is reported at once; a deletion too.
  engine->rects.clear();
  auto c = WidgetFromXml(R"(<widget type="rect_widget" name="c" visible="yes" width="1" height="1"/>)");
  dynamic_cast<TGroupWidget*>(root.get())->InsertWidget(c);
  root->GetChildren()->DeleteWidget("b");
  EXPECT_EQ(engine->rects, (std::vector<TRect>{{10, 30, 11, 31}, {10, 30, 12, 32}}));
  EXPECT_EQ(b->GetOwner(), nullptr);
  EXPECT_TRUE(root->GetChildren()->IsChanged());
}

TEST_F(Groups, NestedGroupsReportTrueAreasFrameAfterFrame) {
  // The bounds and screen origins a group keeps within one dirty pass must
  // never leak into the next frame or into a query between frames.
  const Ref<IWidget> root = Attach(
      R"(<widget type="group_widget" name="outer" visible="yes" anchor_left="100" anchor_top="0"><widgets>
      <widget type="group_widget" name="inner" visible="yes" anchor_left="10" anchor_top="10"><widgets>
        <widget type="rect_widget" name="dot" visible="yes" width="2" height="2"/>
      </widgets></widget>
    </widgets></widget>)");
  const Ref<IWidget> inner = root->FindWidget("inner");
  const Ref<IWidget> dot = root->FindWidget("inner/dot");
  Frame(root, 10);
  EXPECT_EQ(root->GetRect(), (TRect{110, 10, 112, 12}));
  // Between frames the rectangles follow at once.
  dot->SetAnchorLeft(5);
  EXPECT_EQ(inner->GetRect(), (TRect{15, 10, 17, 12}));
  EXPECT_EQ(root->GetRect(), (TRect{115, 10, 117, 12}));
  // The dot's old and new place on the screen; the groups did not move.
  EXPECT_EQ(Frame(root, 10), (std::vector<TRect>{{110, 10, 112, 12}, {115, 10, 117, 12}}));
  // The outer group moves: the origin of every level is the new one.
  root->SetAnchorLeft(200);
  const std::vector<TRect> moved = Frame(root, 10);
  ASSERT_FALSE(moved.empty());
  EXPECT_EQ(moved[0], (TRect{115, 10, 117, 12}));
  EXPECT_EQ(moved[1], (TRect{215, 10, 217, 12}));
  EXPECT_EQ(root->GetRect(), (TRect{215, 10, 217, 12}));
  EXPECT_EQ(Frame(root, 10), std::vector<TRect>{});
}

TEST_F(Groups, AGroupsAreaInAPassIsThatOfItsChildrenInThatPass) {
  // Within a dirty pass a group takes each child's rectangle from the
  // child's own step. A deep child that grows, a child shown and one hidden
  // in the frame must all be in the area the group keeps (and reports once
  // it is hidden itself).
  const Ref<IWidget> root = Attach(
      R"(<widget type="group_widget" name="outer" visible="yes" anchor_left="100"><widgets>
      <widget type="group_widget" name="inner" visible="yes" anchor_left="10" anchor_top="10"><widgets>
        <widget type="rect_widget" name="dot" visible="yes" width="2" height="2"/>
        <widget type="rect_widget" name="far" anchor_left="20" width="1" height="1"/>
        <widget type="rect_widget" name="gone" visible="yes" anchor_left="-5" width="1" height="1"/>
      </widgets></widget>
    </widgets></widget>)");
  Frame(root, 10);
  EXPECT_EQ(root->GetRect(), (TRect{105, 10, 112, 12}));
  Query<TSingleWidget>(root->FindWidget("inner/dot"))->SetWidth(6);
  root->FindWidget("inner/far")->SetVisible(true);
  root->FindWidget("inner/gone")->SetVisible(false);
  EXPECT_EQ(
      Frame(root, 10),
      (std::vector<TRect>{{110, 10, 112, 12}, {110, 10, 116, 12}, {130, 10, 131, 11}, {105, 10, 106, 11}}));
  root->SetVisible(false);
  const std::vector<TRect> hidden = Frame(root, 10);
  ASSERT_FALSE(hidden.empty());
  EXPECT_EQ(hidden.back(), (TRect{110, 10, 131, 12})) << "the outer group's last area";
}

TEST_F(Groups, DrawingTwoRectsIntoASmallSurface) {
  const Ref<IWidget> root =
      Attach(R"(<widget type="group_widget" name="g" visible="yes" anchor_left="1" anchor_top="0"><widgets>
      <widget type="rect_widget" name="green" visible="yes" z="1" anchor_left="1" anchor_top="1" width="2" height="2" color="-16711936"/>
      <widget type="rect_widget" name="blue" visible="yes" width="3" height="2" color="-16776961"/>
      <widget type="rect_widget" name="hidden" width="5" height="3" color="-1"/>
    </widgets></widget>)");
  auto target = MakeRef<TSurface>(5, 3);
  root->Draw(target.get(), RoundEven(root->GetAnchorLeft()), RoundEven(root->GetAnchorTop()));
  const uint32_t B = 0xFF0000FF, G = 0xFF00FF00, O = 0;
  const std::vector<uint32_t> expected = {O, B, B, B, O,  //
                                          O, B, G, G, O,  //
                                          O, O, G, G, O};
  std::vector<uint32_t> pixels;
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) pixels.push_back(target->GetPixel(x, y));
  EXPECT_EQ(pixels, expected);
  EXPECT_EQ(root->GetRect(), (TRect{1, 0, 4, 3}));

  // The group's image: its bounds, drawn from their corner, alpha on.
  const Ref<ISurface> image = root->GetImage();
  ASSERT_TRUE(image);
  EXPECT_TRUE(image->GetHasAlpha());
  ASSERT_EQ(image->GetWidth(), 3);
  ASSERT_EQ(image->GetHeight(), 3);
  EXPECT_EQ(image->GetPixel(0, 0), B);
  EXPECT_EQ(image->GetPixel(2, 2), G);
  EXPECT_EQ(image->GetPixel(0, 2), O);

  EXPECT_TRUE(Query<ISurface>(root->GetObjectProperty("image")));
  EXPECT_EQ(root->FindWidget("blue")->GetObjectProperty("owner").get(),
            dynamic_cast<IInterface*>(root.get()));

  // Transparency level 0 draws nothing.
  root->FindWidget("green")->SetTransparentLevel(0);
  target->Clear();
  root->Draw(target.get(), 1, 0);
  EXPECT_EQ(target->GetPixel(2, 1), B);
}

TEST_F(Groups, CachingDrawsTheCachedPicture) {
  const Ref<IWidget> root =
      Attach(R"(<widget type="group_widget" name="g" visible="yes" caching="yes"><widgets>
      <widget type="rect_widget" name="r" visible="yes" anchor_left="1" anchor_top="1" width="2" height="1" color="-16776961"/>
    </widgets></widget>)");
  auto* group = dynamic_cast<TVisualGroupWidget*>(root.get());
  ASSERT_TRUE(group->GetCacheSurface());  // built once the chain reaches the engine
  EXPECT_EQ(group->GetCacheSurface()->GetWidth(), 2);
  EXPECT_EQ(group->GetCacheSurface()->GetHeight(), 1);
  EXPECT_EQ(root->GetObjectProperty("cachesurface").get(),
            dynamic_cast<IInterface*>(group->GetCacheSurface()));
  // A change of the child is not seen until the group is invalidated.
  root->FindWidget("r")->SetPropertyValue("color", TVariant{std::string("-16711936")});
  auto target = MakeRef<TSurface>(4, 3);
  root->Draw(target.get(), 0, 0);
  EXPECT_EQ(target->GetPixel(1, 1), 0xFF0000FFu);
  EXPECT_EQ(target->GetPixel(2, 1), 0xFF0000FFu);
  EXPECT_EQ(target->GetPixel(0, 0), 0u);
  root->Invalidate();
  target->Clear();
  root->Draw(target.get(), 0, 0);
  EXPECT_EQ(target->GetPixel(1, 1), 0xFF00FF00u);
  EXPECT_TRUE(root->SetPropertyValue("caching", TVariant{false}));
  EXPECT_FALSE(group->GetCacheSurface());
}

TEST_F(Groups, HitTestingFromTheTopChildDown) {
  const Ref<IWidget> root = Attach(
      R"(<widget type="group_widget" name="g" visible="yes" mousestop="yes" anchor_left="10" anchor_top="10"><widgets>
      <widget type="rect_widget" name="under" visible="yes" mousestop="yes" width="10" height="10"/>
      <widget type="rect_widget" name="over" visible="yes" mousestop="yes" z="1" anchor_left="5" anchor_top="5" width="10" height="10"/>
      <widget type="rect_widget" name="glass" visible="yes" z="2" width="30" height="30"/>
      <widget type="rect_widget" name="ghost" mousestop="yes" z="3" width="30" height="30"/>
    </widgets></widget>)");
  auto at = [&](int x, int y) {
    const Ref<IWidget> w = root->WidgetAtPos({x, y});
    return w ? w->GetName() : std::string("-");
  };
  EXPECT_EQ(at(12, 12), "under");
  EXPECT_EQ(at(16, 16), "over");  // the later child is on top
  EXPECT_EQ(at(20, 20), "over");  // both edges inside: (5,5)-(15,15) holds 15
  EXPECT_EQ(at(25, 25), "over");
  EXPECT_EQ(at(26, 25), "-");  // glass has no mouse stop, ghost is invisible
  EXPECT_EQ(at(10, 10), "under");
  EXPECT_TRUE(root->ContainsPoint({39, 39}, false));  // glass
  EXPECT_FALSE(root->ContainsPoint({41, 39}, false));
  EXPECT_TRUE(root->SetPropertyValue("returnselfbypos", TVariant{true}));
  EXPECT_EQ(at(30, 30), "g");
  root->SetMouseStop(false);  // a group without mouse stop hides its children
  EXPECT_EQ(at(12, 12), "-");
}

TEST_F(Groups, RestartPauseAndDetachReachTheChildren) {
  const Ref<IWidget> root = Attach(R"(<widget type="group_widget" name="g"><widgets>
      <widget type="rect_widget" name="a"/>
      <widget type="group_widget" name="inner"><widgets><widget type="rect_widget" name="b"/></widgets></widget>
    </widgets></widget>)");
  const Ref<IWidget> b = root->FindWidget("inner/b");
  root->Pause();
  EXPECT_TRUE(b->IsPaused());
  root->Resume();
  EXPECT_FALSE(b->IsPaused());
  root->Advance(30);
  EXPECT_EQ(VarToInt(b->GetPropertyValue("currenttime")), 30);
  root->Restart();
  EXPECT_EQ(VarToInt(b->GetPropertyValue("currenttime")), 0);
  root->GetChildren()->SetPropertyOnAll("z", TVariant{2LL});
  EXPECT_EQ(root->FindWidget("a")->GetZ(), 2);
  EXPECT_EQ(b->GetZ(), 0);

  screen->DetachRoot();
  EXPECT_EQ(b->GetOwner(), nullptr);
  EXPECT_EQ(root->FindWidget("inner")->GetOwner(), nullptr);
  EXPECT_EQ(root->GetOwner(), nullptr);
}

TEST_F(Groups, ItemsThatAreNotWidgetsAndUnknownTypesAreReported) {
  TDiagnosticsCollector diagnostics;
  RegisterClass<TSound>("sound_item");
  const Ref<IWidget> root = WidgetFromXml(R"(<widget type="group_widget"><widgets>
      <widget type="sound_item" name="s"/>
      <widget type="no_such_widget" name="x"/>
      <widget type="rect_widget" name="ok"/>
    </widgets></widget>)");
  EXPECT_EQ(Names(root->GetChildren()), std::vector<std::string>{"ok"});
  EXPECT_TRUE(diagnostics.Has("not a widget"));
  EXPECT_TRUE(diagnostics.Has("no_such_widget"));
}

TEST_F(Groups, AFactoryNameNobodyKnowsIsReportedOnceAtTheTop) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> root = Attach(R"(<widget type="group_widget" name="g"><widgets>
      <widget type="group_widget" name="inner"/></widgets></widget>)");
  auto* inner = dynamic_cast<IWidgetOwner*>(root->FindWidget("inner").get());
  ASSERT_TRUE(inner);
  EXPECT_FALSE(inner->CreateWidget("Butterfly", nullptr));
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "widget screen/g");
  EXPECT_EQ(diagnostics.Errors()[0].what, "no widget factory named \"Butterfly\"");
}

TEST_F(Groups, SaveRoundTripOfAGroup) {
  const std::string xml =
      R"(<widget name="g" type="group_widget" visible="yes" anchor_left="0" anchor_top="0" caching="yes">)"
      R"(<widgets><widget name="r" type="rect_widget" z="1" anchor_left="2" anchor_top="0" width="1" height="1" color="5"/></widgets>)"
      R"(</widget>)";
  const Ref<IWidget> root = WidgetFromXml(xml);
  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent*>(root.get())->Save(out);
  EXPECT_EQ(AsRoot(out)->SaveToText(), xml);
}

}  // namespace
}  // namespace qv
