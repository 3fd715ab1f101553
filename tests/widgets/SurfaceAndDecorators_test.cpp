#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "widgets/DecorateWidget.h"
#include "widgets/RectWidget.h"
#include "widgets/SurfaceWidget.h"
#include "widgets/VisualGroupWidget.h"
#include "widgets/WidgetTestSupport.h"
#include "widgets/WidgetsTypes.h"

namespace qv {
namespace {

using test::TFakeEngine;
using test::TFakeScreen;
using test::WidgetFromXml;

constexpr uint32_t R = 0xFFFF0000, B = 0xFF0000FF, W = 0xFFFFFFFF, O = 0;

std::vector<uint32_t> Pixels(const ISurface& s) {
  std::vector<uint32_t> out;
  for (int y = 0; y < s.GetHeight(); ++y)
    for (int x = 0; x < s.GetWidth(); ++x) out.push_back(s.GetPixel(x, y));
  return out;
}

using LeafWidgets = test::TWidgetTest;

TEST_F(LeafWidgets, SurfaceWidgetCopiesItsShiftedRectangle) {
  const Ref<IWidget> w = WidgetFromXml(R"(<widget type="surface_widget" visible="yes"/>)");
  auto* sw = dynamic_cast<TSurfaceWidget*>(w.get());
  auto picture = MakeRef<TSurface>(3, 1);
  picture->SetPixel(0, 0, R);
  picture->SetPixel(1, 0, B);
  picture->SetPixel(2, 0, W);
  auto target = MakeRef<TSurface>(4, 1);
  w->Draw(target.get(), 0, 0);  // nothing without a surface
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{O, O, O, O}));

  EXPECT_TRUE(w->SetObjectProperty("surface", picture));
  EXPECT_FALSE(w->SetObjectProperty("surface", MakeRef<TSound>()));  // not a surface
  EXPECT_EQ(w->GetWidth(), 3);
  EXPECT_EQ(w->GetHeight(), 1);
  w->Draw(target.get(), 1, 0);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{O, R, B, W}));

  EXPECT_TRUE(w->SetPropertyValue("shiftleft", TVariant{1LL}));
  EXPECT_TRUE(w->SetPropertyValue("width", TVariant{2LL}));
  target->Clear();
  w->Draw(target.get(), 0, 0);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{B, W, O, O}));
  sw->SetSurface(picture);  // the shifts go back to 0
  EXPECT_EQ(VarToInt(w->GetPropertyValue("shiftleft")), 0);
  EXPECT_EQ(w->GetWidth(), 3);
}

TEST_F(LeafWidgets, FillColorPaintsThroughTheSurfacesAlpha) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> w = WidgetFromXml(
      R"(<widget type="surface_widget" visible="yes" drawmode="fillcolor" fillcolor="-65536"/>)");
  auto* sw = dynamic_cast<TSurfaceWidget*>(w.get());
  EXPECT_EQ(sw->GetDrawMode(), TSurfaceWidget::kFillColor);
  EXPECT_EQ(VarToInt(w->GetPropertyValue("drawmode")), 1);
  auto mask = MakeRef<TSurface>(2, 1, true);
  mask->SetPixel(0, 0, 0xFF000000);
  mask->SetPixel(1, 0, 0x00000000);
  sw->SetSurface(mask);
  auto target = MakeRef<TSurface>(2, 1);
  w->Draw(target.get(), 0, 0);
  EXPECT_EQ(target->GetPixel(0, 0), R);
  EXPECT_EQ(target->GetPixel(1, 0) & 0x00FFFFFF, 0u);  // the mask's alpha 0 keeps the colour out

  // Enumerations match the name exactly.
  const Ref<IWidget> other = WidgetFromXml(R"(<widget type="surface_widget" drawmode="FillColor"/>)");
  EXPECT_EQ(dynamic_cast<TSurfaceWidget*>(other.get())->GetDrawMode(), TSurfaceWidget::kCopyRect);
  EXPECT_EQ(diagnostics.Errors().size(), 1u);

  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent*>(w.get())->Save(out);
  EXPECT_EQ(
      AsRoot(out)->SaveToText(),
      R"(<widget type="surface_widget" visible="yes" anchor_left="0" anchor_top="0" drawmode="fillcolor" fillcolor="-65536"/>)");
}

TEST_F(LeafWidgets, LinkedSurfaceTakesTheImageOfItsLinkEveryFrame) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> root = Attach(R"(<widget type="group_widget" name="g" visible="yes"><widgets>
      <widget type="rect_widget" name="src" visible="yes" width="2" height="1" color="-65536"/>
      <widget type="linked_surface_widget" name="copy" visible="yes" anchor_left="2" linked_widget_name="../src"/>
      <widget type="linked_surface_widget" name="lost" linked_widget_name="../nobody"/>
    </widgets></widget>)");
  root->Advance(10);
  const Ref<IWidget> copy = root->FindWidget("copy");
  EXPECT_EQ(copy->GetWidth(), 2);
  auto target = MakeRef<TSurface>(4, 1);
  root->Draw(target.get(), 0, 0);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{R, R, R, R}));
  // A widget is advanced once per frame: the next advance waits for the dirty pass.
  root->FindWidget("src")->SetPropertyValue("color", TVariant{std::string("-16776961")});
  root->Advance(10);
  root->Draw(target.get(), 0, 0);
  EXPECT_EQ(target->GetPixel(3, 0), R);
  root->UpdateDirtyRegion(false, false);
  root->Advance(10);
  target->Clear();
  root->Draw(target.get(), 0, 0);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{B, B, B, B}));
  root->UpdateDirtyRegion(false, false);
  root->Advance(10);
  EXPECT_EQ(diagnostics.Errors().size(), 1u);  // the missing link, once
  EXPECT_TRUE(diagnostics.Has("no widget \"../nobody\""));
}

TEST_F(LeafWidgets, ReplicatorDrawsAGridOfItsChild) {
  const Ref<IWidget> root =
      Attach(R"(<widget type="replicator_widget" name="grid" visible="yes" mousestop="yes" cols="3" rows="2">
      <widget type="rect_widget" name="cell" visible="yes" mousestop="yes" width="1" height="1" color="-16776961"/>
    </widget>)");
  EXPECT_EQ(root->GetWidth(), 3);
  EXPECT_EQ(root->GetHeight(), 2);
  EXPECT_EQ(root->FindWidget("anything")->GetName(), "cell");  // any key names the child
  auto target = MakeRef<TSurface>(4, 3);
  root->Draw(target.get(), 0, 1);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{O, O, O, O,  //
                                                    B, B, B, O,  //
                                                    B, B, B, O}));
  // The child answers a hit on its own area, the replicator elsewhere.
  EXPECT_EQ(root->WidgetAtPos({0, 0})->GetName(), "cell");
  EXPECT_EQ(root->WidgetAtPos({3, 2})->GetName(), "grid");
  EXPECT_FALSE(root->WidgetAtPos({4, 2}));

  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent*>(root.get())->Save(out);
  EXPECT_EQ(
      AsRoot(out)->SaveToText(),
      R"(<widget name="grid" type="replicator_widget" visible="yes" mousestop="yes" anchor_left="0" anchor_top="0" cols="3" rows="2">)"
      R"(<widget name="cell" type="rect_widget" visible="yes" mousestop="yes" anchor_left="0" anchor_top="0" width="1" height="1" color="-16776961"/></widget>)");
}

TEST_F(LeafWidgets, BehaviourWidgetFollowsItsChild) {
  auto behaviour = MakeRef<TBehaviourWidget>();
  behaviour->SetName("b");
  behaviour->SetVisible(true);
  behaviour->SetAnchorLeft(10);
  const Ref<IWidget> child = WidgetFromXml(
      R"(<widget type="rect_widget" name="c" visible="yes" anchor_left="2" anchor_top="3" width="4" height="5"/>)");
  EXPECT_TRUE(behaviour->SetObjectProperty("widget", child));
  screen->SetRoot(behaviour);
  EXPECT_EQ(child->GetOwner(), static_cast<IWidgetOwner*>(behaviour.get()));
  EXPECT_EQ(behaviour->GetRect(), (TRect{12, 3, 16, 8}));
  EXPECT_EQ(child->GetFullPath(), "screen/b/c");

  engine->rects.clear();
  behaviour->UpdateDirtyRegion(false, false);
  // The child in screen coordinates, then the behaviour's own area.
  EXPECT_EQ(engine->rects, (std::vector<TRect>{{12, 3, 16, 8}, {12, 3, 16, 8}}));
  engine->rects.clear();
  child->SetAnchorTop(4);
  behaviour->UpdateDirtyRegion(false, false);
  EXPECT_EQ(engine->rects,
            (std::vector<TRect>{{12, 3, 16, 8}, {12, 4, 16, 9}, {12, 3, 16, 8}, {12, 4, 16, 9}}));

  // The time goes on to the child unless it is paused.
  behaviour->Advance(20);
  EXPECT_EQ(VarToInt(child->GetPropertyValue("currenttime")), 20);
  child->SetPaused(true);
  behaviour->Advance(20);
  EXPECT_EQ(VarToInt(child->GetPropertyValue("currenttime")), 20);

  // Replacing the child detaches the old one.
  const Ref<IWidget> next = WidgetFromXml(R"(<widget type="rect_widget" name="n"/>)");
  EXPECT_TRUE(behaviour->SetObjectProperty("widget", next));
  EXPECT_EQ(child->GetOwner(), nullptr);
  EXPECT_EQ(next->GetOwner(), static_cast<IWidgetOwner*>(behaviour.get()));
  EXPECT_EQ(behaviour->GetObjectProperty("widget").get(), dynamic_cast<IInterface*>(next.get()));
}

}  // namespace
}  // namespace qv
