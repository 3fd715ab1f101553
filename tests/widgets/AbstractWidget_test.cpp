#include <gtest/gtest.h>

#include <cmath>

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"
#include "widgets/RectWidget.h"
#include "widgets/VisualGroupWidget.h"
#include "widgets/WidgetTestSupport.h"
#include "widgets/WidgetsTypes.h"

namespace qv {
namespace {

using test::TFakeEngine;
using test::TFakeScreen;
using test::WidgetFromXml;

using WidgetTree = test::TWidgetTest;

TEST_F(WidgetTree, DefaultsOfALoadedWidget) {
  const Ref<IWidget> w = WidgetFromXml(R"(<widget type="rect_widget" name="r"/>)");
  ASSERT_TRUE(w);
  EXPECT_EQ(w->GetName(), "r");
  EXPECT_FALSE(w->IsVisible());  // invisible unless the data say so
  EXPECT_FALSE(w->IsPaused());
  EXPECT_FALSE(w->IsMouseStop());
  EXPECT_EQ(w->GetZ(), 0);
  EXPECT_EQ(w->GetTransparentLevel(), 255);
  EXPECT_EQ(VarToFloat(w->GetPropertyValue("time_rate")), 1.0);
  EXPECT_EQ(VarToInt(w->GetPropertyValue("timetolive")), 0);
  EXPECT_EQ(w->GetRect(), (TRect{0, 0, 0, 0}));
}

TEST_F(WidgetTree, DamagedValuesKeepTheirDefaultsAndAreReported) {
  struct Case {
    const char* key;
    const char* bad;
    const char* property;
    TVariant expected;
  };
  const Case cases[] = {
      {"z", "high", "z", TVariant{0LL}},
      {"anchor_left", "1,5", "anchor_left", TVariant{0.0}},
      {"visible", "maybe", "visible", TVariant{false}},
      {"time_rate", "fast", "time_rate", TVariant{1.0}},
      {"transparentlevel", "half", "transparentlevel", TVariant{255LL}},
      {"timetolive", "5s", "timetolive", TVariant{0LL}},
      {"width", "wide", "width", TVariant{0LL}},
      {"paused", "1", "paused", TVariant{false}},
  };
  for (const Case& c : cases) {
    TDiagnosticsCollector diagnostics;
    const std::string xml =
        std::string(R"(<widget type="rect_widget" name="r" )") + c.key + "=\"" + c.bad + "\"/>";
    const Ref<IWidget> w = WidgetFromXml(xml);
    ASSERT_TRUE(w) << xml;
    EXPECT_EQ(w->GetPropertyValue(c.property), c.expected) << xml;
    EXPECT_EQ(diagnostics.Errors().size(), 1u) << xml;
  }
}

TEST_F(WidgetTree, TimeRateRoundsHalfToEven) {
  const Ref<IWidget> w = WidgetFromXml(R"(<widget type="rect_widget" time_rate="0.5"/>)");
  auto* rect = dynamic_cast<TRectWidget*>(w.get());
  ASSERT_TRUE(rect);
  w->Advance(33);  // 16.5 -> 16
  EXPECT_EQ(rect->GetCurrentTime(), 16);
  w->Advance(35);  // 17.5 -> 18
  EXPECT_EQ(rect->GetCurrentTime(), 34);
  w->Advance(1);  // 0.5 -> 0
  EXPECT_EQ(rect->GetCurrentTime(), 34);
  EXPECT_TRUE(w->IsAdvanced());
}

TEST(RoundEven, TiesGoToEvenAndOutOfRangeValuesClamp) {
  EXPECT_EQ(RoundEven(0.5), 0);
  EXPECT_EQ(RoundEven(1.5), 2);
  EXPECT_EQ(RoundEven(2.5), 2);
  EXPECT_EQ(RoundEven(2.5000001), 3);
  EXPECT_EQ(RoundEven(-0.5), 0);
  EXPECT_EQ(RoundEven(-1.5), -2);
  EXPECT_EQ(RoundEven(-2.6), -3);
  EXPECT_EQ(RoundEven(1e6 + 0.5), 1000000);
  EXPECT_EQ(RoundEven(16777214.5), 16777214);
  EXPECT_EQ(RoundEven(2147483646.5), 16777216);  // the coordinate limit
  EXPECT_EQ(RoundEven(1e300), 16777216);
  EXPECT_EQ(RoundEven(-1e300), -16777216);
  EXPECT_EQ(RoundEven(std::nan("")), 0);
}

TEST_F(WidgetTree, TimeToLiveRestartPauseAndShow) {
  const Ref<IWidget> w = WidgetFromXml(R"(<widget type="rect_widget" timetolive="500" currenttime="100"/>)");
  auto* rect = dynamic_cast<TRectWidget*>(w.get());
  EXPECT_EQ(rect->GetCurrentTime(), 100);
  w->AdvanceTime(399);
  EXPECT_FALSE(w->IsDead());
  w->AdvanceTime(1);  // 500 reached
  EXPECT_TRUE(w->IsDead());

  w->Pause();
  EXPECT_TRUE(w->IsPaused());
  w->Restart();
  EXPECT_FALSE(w->IsPaused());
  EXPECT_EQ(rect->GetCurrentTime(), 0);
  w->Show(false);
  EXPECT_TRUE(w->IsPaused());
  EXPECT_FALSE(w->IsVisible());
  w->Show(true);
  EXPECT_FALSE(w->IsPaused());
  EXPECT_TRUE(w->IsVisible());
}

TEST_F(WidgetTree, BuiltInPropertiesByName) {
  const Ref<IWidget> w = WidgetFromXml(R"(<widget type="rect_widget" name="r" width="10" height="4"/>)");
  EXPECT_TRUE(w->SetPropertyValue("Anchor_Left", TVariant{2.5}));  // names ignore case
  EXPECT_TRUE(w->SetPropertyValue("visible", TVariant{true}));
  EXPECT_TRUE(w->SetPropertyValue("z", TVariant{3LL}));
  EXPECT_TRUE(w->SetPropertyValue("transparentlevel", TVariant{300LL}));
  EXPECT_EQ(w->GetTransparentLevel(), 255);  // clamped, unchanged
  EXPECT_EQ(VarToFloat(w->GetPropertyValue("left")), 2.5);
  EXPECT_FALSE(w->SetPropertyValue("left", TVariant{1.0}));  // not writable
  EXPECT_EQ(VarToInt(w->GetPropertyValue("width")), 10);
  EXPECT_EQ(w->GetRect(), (TRect{2, 0, 12, 4}));  // 2.5 rounds to 2, 12.5 to 12

  w->SetNeedRepaint(false);
  EXPECT_TRUE(w->SetPropertyValue("currenttime", TVariant{40LL}));
  EXPECT_TRUE(w->NeedsRepaint());
  EXPECT_EQ(VarToInt(w->GetPropertyValue("currenttime")), 40);

  EXPECT_TRUE(w->SetPropertyValue("name", TVariant{std::string("renamed")}));
  EXPECT_EQ(VarToString(w->GetPropertyValue("name")), "renamed");

  EXPECT_TRUE(w->SetPropertyValue("color", TVariant{std::string("255")}));
  EXPECT_EQ(dynamic_cast<TRectWidget*>(w.get())->GetColor(), 255u);
  EXPECT_TRUE(VarIsEmpty(w->GetPropertyValue("color")));  // not readable

  EXPECT_TRUE(VarIsEmpty(w->GetPropertyValue("nosuchkey")));
  EXPECT_FALSE(w->SetPropertyValue("nosuchkey", TVariant{1LL}));
  w->SetExtraParam("nosuchkey", TVariant{std::string("now")});
  EXPECT_EQ(VarToString(w->GetPropertyValue("nosuchkey")), "now");
  EXPECT_TRUE(w->SetPropertyValue("nosuchkey", TVariant{std::string("later")}));
  EXPECT_EQ(VarToString(w->GetPropertyValue("nosuchkey")), "later");
}

constexpr char kTree[] = R"(<widget type="group_widget" name="root" visible="yes">
  <widgets>
    <widget type="rect_widget" name="button" visible="yes"/>
    <widget type="group_widget" name="inner" visible="yes">
      <widgets>
        <widget type="group_widget" name="deep" visible="yes">
          <widgets>
            <widget type="rect_widget" name="leaf" z="4"/>
          </widgets>
        </widget>
        <widget type="rect_widget" name="label" extraparams="text={hello}"/>
      </widgets>
    </widget>
  </widgets>
</widget>)";

TEST_F(WidgetTree, PathLookup) {
  const Ref<IWidget> root = Attach(kTree);
  const Ref<IWidget> leaf = root->FindWidget("inner/deep/leaf");
  ASSERT_TRUE(leaf);
  EXPECT_EQ(leaf->GetFullPath(), "screen/root/inner/deep/leaf");
  EXPECT_EQ(leaf->FindWidget(""), leaf);
  EXPECT_EQ(leaf->FindWidget("."), leaf);
  EXPECT_EQ(leaf->FindWidget("..")->GetName(), "deep");
  EXPECT_EQ(leaf->FindWidget("../../label")->GetName(), "label");
  // Two owners up, then the window, which looks from the root.
  const Ref<IWidget> button = leaf->FindWidget("../../window:/button");
  ASSERT_TRUE(button);
  EXPECT_EQ(button->GetName(), "button");
  EXPECT_EQ(root->FindWidget("1/0")->GetName(), "deep");  // indexes
  EXPECT_EQ(root->FindWidget("INNER/Label")->GetName(), "label");
  EXPECT_FALSE(root->FindWidget("inner/nothing"));
  EXPECT_FALSE(root->FindWidget("7"));

  // Without an owner "..", "window:" find nothing.
  const Ref<IWidget> loose = WidgetFromXml(R"(<widget type="rect_widget" name="loose"/>)");
  EXPECT_FALSE(loose->FindWidget(".."));
  EXPECT_FALSE(loose->FindWidget("window:/button"));
  EXPECT_EQ(loose->GetFullPath(), "loose");
}

TEST_F(WidgetTree, PropertyPathsAliasesAndExtraParams) {
  const Ref<IWidget> root = Attach(kTree);
  const Ref<IWidget> inner = root->FindWidget("inner");
  EXPECT_EQ(VarToString(inner->GetPropertyValue("label/text")), "hello");
  EXPECT_EQ(VarToInt(inner->GetPropertyValue("deep/leaf/z")), 4);
  EXPECT_TRUE(inner->SetPropertyValue("../button/z", TVariant{9LL}));
  EXPECT_EQ(root->FindWidget("button")->GetZ(), 9);

  // An alias list whose only entry is not preceded by "\" maps nothing.
  const std::string label =
      R"(<widgets><widget type="rect_widget" name="label" extraparams="text=hello"/></widgets>)";
  const Ref<IWidget> plain =
      WidgetFromXml(R"(<widget type="group_widget" aliases="text=label/text">)" + label + "</widget>");
  const Ref<IWidget> marked =
      WidgetFromXml(R"(<widget type="group_widget" aliases="\text=label/text">)" + label + "</widget>");
  EXPECT_TRUE(VarIsEmpty(plain->GetPropertyValue("text")));
  EXPECT_FALSE(plain->SetPropertyValue("text", TVariant{std::string("bye")}));
  EXPECT_EQ(VarToString(marked->GetPropertyValue("text")), "hello");
  EXPECT_TRUE(marked->SetPropertyValue("text", TVariant{std::string("bye")}));
  EXPECT_EQ(VarToString(marked->GetPropertyValue("label/text")), "bye");
  // Built-in names come before aliases.
  const Ref<IWidget> shadowed =
      WidgetFromXml(R"(<widget type="rect_widget" z="2" aliases="\z=timetolive"/>)");
  EXPECT_EQ(VarToInt(shadowed->GetPropertyValue("z")), 2);
}

TEST_F(WidgetTree, RedefinedParamsApplyOnSetOwnerAndReportBadPairs) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> root = Attach(R"(<widget type="group_widget" name="root" z="6" anchor_left="3">
    <widgets>
      <widget type="rect_widget" name="child" redefinedparams="z=../z\anchor_top=../anchor_left\width=nothing\left=../z"/>
    </widgets></widget>)");
  const Ref<IWidget> child = root->FindWidget("child");
  EXPECT_EQ(child->GetZ(), 6);
  EXPECT_EQ(child->GetAnchorTop(), 3.0);
  EXPECT_EQ(child->GetWidth(), 0);
  EXPECT_TRUE(diagnostics.Has("\"nothing\" names no property"));
  EXPECT_TRUE(diagnostics.Has("\"left\" is not a writable property"));
  EXPECT_EQ(diagnostics.Errors().size(), 2u);
  // Leaving the chain applies nothing (and so reports nothing).
  root->SetZ(1);
  root->SetOwner(nullptr);
  EXPECT_EQ(child->GetOwner(), nullptr);
  EXPECT_EQ(child->GetZ(), 6);
  EXPECT_EQ(diagnostics.Errors().size(), 2u);
}

TEST_F(WidgetTree, SoundsGoThroughTheEnginesPlayer) {
  TDiagnosticsCollector diagnostics;
  const Ref<IWidget> root = Attach(R"(<widget type="group_widget" name="root">
    <sounds><sound name="click" resourcename="snd_click" volume="50" pan="10"/></sounds></widget>)");
  EXPECT_EQ(root->PlaySound("click", false, 0, 0), 7u);
  EXPECT_EQ(root->PlaySound("CLICK", true, 80, -20), 7u);
  EXPECT_EQ(root->PlaySound("click", false, 0, 0), 7u);  // the override was undone
  EXPECT_EQ(engine->played,
            (std::vector<std::string>{"snd_click 50 10", "snd_click 80 -20", "snd_click 50 10"}));
  root->StopSound("click");
  EXPECT_EQ(engine->stopped, std::vector<std::string>{"snd_click"});
  EXPECT_EQ(root->PlaySound("bang", false, 0, 0), 0u);
  EXPECT_TRUE(diagnostics.Has("no sound named \"bang\""));

  const Ref<IWidget> loose = WidgetFromXml(R"(<widget type="group_widget">
    <sounds><sound name="click" resourcename="snd_click"/></sounds></widget>)");
  EXPECT_EQ(loose->PlaySound("click", false, 0, 0), 0u);  // no owner, no engine
}

TEST_F(WidgetTree, SaveWritesOnlyWhatTheRulesSay) {
  const Ref<IWidget> plain = WidgetFromXml(R"(<widget type="rect_widget" name="p"/>)");
  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent*>(plain.get())->Save(out);
  EXPECT_EQ(
      AsRoot(out)->SaveToText(),
      R"(<widget name="p" type="rect_widget" anchor_left="0" anchor_top="0" width="0" height="0" color="0"/>)");

  const std::string full =
      R"(<widget type="rect_widget" name="f" paused="yes" transparentlevel="100" currenttime="30" )"
      R"(timetolive="500" time_rate="0.5" aliases="\a=b" redefinedparams="z=../z" visible="yes" )"
      R"(mousestop="yes" z="-2" anchor_left="1.5" anchor_top="2" width="3" height="4" color="-16776961"/>)";
  const Ref<IWidget> w = WidgetFromXml(full);
  w->AdvanceTime(25);  // the stored time is written back as loaded
  w->SetDead(true);    // not a stored key
  out = NewStorage("widget");
  dynamic_cast<IPersistent*>(w.get())->Save(out);
  EXPECT_EQ(
      AsRoot(out)->SaveToText(),
      R"(<widget name="f" type="rect_widget" paused="yes" transparentlevel="100" currenttime="30" )"
      R"(timetolive="500" time_rate="0.5" aliases="\a=b" redefinedparams="z=../z" visible="yes" )"
      R"(mousestop="yes" z="-2" anchor_left="1.5" anchor_top="2" width="3" height="4" color="-16776961"/>)");
  EXPECT_EQ(dynamic_cast<TRectWidget*>(w.get())->GetColor(), 0xFF0000FFu);
}

}  // namespace
}  // namespace qv
