#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "functions/FunctionsTypes.h"
#include "storage/ClassRegistry.h"
#include "widgets/VisualGroupWidget.h"
#include "widgets/WidgetTestSupport.h"
#include "widgets/WidgetsTypes.h"

namespace qv {
namespace {

using test::TFakeEngine;
using test::TFakeScreen;
using test::WidgetFromXml;

using FunctionExchange = test::TWidgetTest;

// Output 0 is the widget's anchor_left; the inputs are its z and a constant 5.
constexpr char kSumWidget[] = R"(<widget type="rect_widget" name="w" z="3" anchor_left="1">
  <function_widget type="function_sum"><paramspace><paramdefs>
    <paramdef name="anchor_left" row="0" col="0"/>
    <paramdef name="z" row="1" col="0"/>
    <paramdef name="five" row="1" col="1" static="yes" value="5"/>
  </paramdefs></paramspace></function_widget>
</widget>)";

TEST_F(FunctionExchange, NamedCellsReadAndWriteProperties) {
  const Ref<IWidget> w = Attach(kSumWidget);
  // SetOwner resets the function: the output keeps the property's value.
  EXPECT_EQ(w->GetAnchorLeft(), 1.0);
  w->AdvanceTime(10);
  EXPECT_EQ(w->GetAnchorLeft(), 8.0);  // z + 5
  w->SetZ(-2);
  w->AdvanceTime(10);
  EXPECT_EQ(w->GetAnchorLeft(), 3.0);

  // Detached, the function is unbound and changes nothing.
  screen->DetachRoot();
  w->SetZ(10);
  w->AdvanceTime(10);
  EXPECT_EQ(w->GetAnchorLeft(), 3.0);
}

TEST_F(FunctionExchange, AnExpressionDrivenByTheWidgetsTime) {
  const Ref<IWidget> root = Attach(R"(<widget type="group_widget" name="g" visible="yes"><widgets>
    <widget type="rect_widget" name="w" visible="yes" width="1" height="1">
      <function_widget type="function_eval"><paramspace><paramdefs>
        <paramdef name="anchor_top" row="0" col="0"/>
        <paramdef name="currenttime" row="1" col="0"/>
      </paramdefs></paramspace><expression>anchor_top := currenttime / 10</expression></function_widget>
    </widget></widgets></widget>)");
  const Ref<IWidget> w = root->FindWidget("w");
  root->UpdateDirtyRegion(false, false);  // the first frame
  root->Advance(50);
  EXPECT_EQ(w->GetAnchorTop(), 5.0);
  engine->rects.clear();
  root->UpdateDirtyRegion(false, false);
  // The move the function made is a geometry change: old and new place.
  EXPECT_EQ(engine->rects, (std::vector<TRect>{{0, 0, 1, 1}, {0, 5, 1, 6}}));
  EXPECT_TRUE(root->HasDirtyRect());
  root->Advance(25);
  EXPECT_EQ(w->GetAnchorTop(), 7.5);
  root->Restart();
  EXPECT_EQ(w->GetAnchorTop(), 0.0);
}

TEST_F(FunctionExchange, SavedBackAndBadFunctionsReported) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> w = WidgetFromXml(kSumWidget);
  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent*>(w.get())->Save(out);
  const Ref<IWidget> back = CreateFromNodeAs<IWidget>(out);
  ASSERT_TRUE(back);
  screen->SetRoot(back);
  back->AdvanceTime(1);
  EXPECT_EQ(back->GetAnchorLeft(), 8.0);
  EXPECT_TRUE(diagnostics.Errors().empty());

  const Ref<IWidget> unknown =
      WidgetFromXml(R"(<widget type="rect_widget"><function_widget type="function_nothing"/></widget>)");
  EXPECT_TRUE(diagnostics.Has("function_nothing"));
  RegisterClass<TSound>("sound_item");
  const Ref<IWidget> notOne =
      WidgetFromXml(R"(<widget type="rect_widget" name="x"><function_widget type="sound_item"/></widget>)");
  EXPECT_TRUE(diagnostics.Has("is not a function"));
  EXPECT_FALSE(notOne->GetSounds());
}

}  // namespace
}  // namespace qv
