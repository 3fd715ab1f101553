#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "graphics/Surface.h"
#include "storage/XMLStorage.h"
#include "widgets/AppearanceEffect.h"
#include "widgets/AppearanceEffectCollection.h"
#include "widgets/AppearanceEffectWdiget.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

// A red 3x2 rectangle at (2,1) inside a group anchored at (10,20); the
// effects draw the group's picture one pixel further right.
std::string EffectGroup(const std::string& effects, const std::string& extra = "") {
  return R"(<widget type="appearance_effect_widget" name="root" mousestop="yes" anchor_left="10" anchor_top="20" )" +
         extra + R"(><widgets>
      <widget type="rect_widget" name="red" visible="yes" mousestop="yes" anchor_left="2" anchor_top="1" width="3" height="2" color="$FFFF0000"/>
    </widgets><effects>)" +
         effects + "</effects></widget>";
}

std::string Effect(const std::string& name, int duration) {
  return R"(<widget type="func_appearance_effect" name=")" + name + R"(" durationtime=")" +
         std::to_string(duration) +
         R"(" surfaceparamname="pic/surface"><widget type="surface_widget" name="pic" visible="yes" anchor_left="1" anchor_top="0"/></widget>)";
}

std::string Effects(int show, int hide) {
  std::string text = "<widgets>";
  if (show > 0) text += Effect("show_effect", show);
  if (hide > 0) text += Effect("hide_effect", hide);
  return text + "</widgets>";
}

class AppearanceEffects : public test::TWidgetTest {
protected:
  TAppearanceEffectWdiget& Group(const Ref<IWidget>& root) {
    return *dynamic_cast<TAppearanceEffectWdiget*>(root.get());
  }
  // One frame as a screen runs it.
  void Frame(const Ref<IWidget>& root, int dt) {
    root->Advance(dt);
    root->UpdateDirtyRegion(false, false);
  }
  // Which of the columns 11..16 of row 21 are red after drawing the root.
  std::string RedColumns(const Ref<IWidget>& root) {
    const Ref<TSurface> target = MakeRef<TSurface>();
    target->SetSize(30, 30);
    root->Draw(target.get(), 10, 20);
    std::string row;
    for (int x = 11; x <= 16; ++x) row += target->GetPixel(x, 21) == 0xFFFF0000u ? 'R' : '.';
    return row;
  }
};

TEST_F(AppearanceEffects, HideEffectKeepsTheGroupVisibleAndUnclickableForItsDuration) {
  const Ref<IWidget> root = Attach(EffectGroup(Effects(0, 500), R"(visible="yes")"));
  TAppearanceEffectWdiget& group = Group(root);
  ASSERT_TRUE(root->WidgetAtPos({13, 22}));
  root->SetVisible(false);
  for (int frame = 1; frame <= 4; ++frame) {
    EXPECT_TRUE(root->IsVisible()) << frame;
    EXPECT_TRUE(VarToBool(root->GetPropertyValue("applyingeffect"))) << frame;
    EXPECT_FALSE(root->IsMouseStop()) << frame;
    EXPECT_FALSE(root->WidgetAtPos({13, 22})) << frame;
    Frame(root, 100);
  }
  // 400 ticks so far; the fifth frame reaches 500.
  EXPECT_TRUE(root->IsVisible());
  Frame(root, 100);
  EXPECT_FALSE(root->IsVisible());
  EXPECT_FALSE(group.IsApplyingEffect());
  EXPECT_EQ(1, VarToInt(root->GetPropertyValue("effect_state")));
  EXPECT_TRUE(root->IsMouseStop());
}

TEST_F(AppearanceEffects, ShowWithoutShowEffectIsImmediate) {
  const Ref<IWidget> root = Attach(EffectGroup(Effects(0, 500)));
  root->SetVisible(true);
  EXPECT_TRUE(root->IsVisible());
  EXPECT_FALSE(VarToBool(root->GetPropertyValue("applyingeffect")));
  EXPECT_EQ(-1, VarToInt(root->GetPropertyValue("effect_state")));
  // No effects at all: visibility is plain.
  const Ref<IWidget> plain = Attach(R"(<widget type="appearance_effect_widget" name="p"/>)");
  plain->SetVisible(true);
  EXPECT_TRUE(plain->IsVisible());
  plain->SetVisible(false);
  EXPECT_FALSE(plain->IsVisible());
}

TEST_F(AppearanceEffects, ShowEffectShowsAtOnceAndFreezesTheChildren) {
  const Ref<IWidget> root = Attach(EffectGroup(Effects(300, 0)));
  const Ref<IWidget> red = root->FindWidget("red");
  root->SetVisible(true);
  EXPECT_TRUE(root->IsVisible());
  EXPECT_TRUE(Group(root).IsApplyingEffect());
  EXPECT_EQ("show_effect", Group(root).GetCurrentEffectName());
  Frame(root, 100);
  Frame(root, 100);
  EXPECT_EQ(0, VarToInt(red->GetPropertyValue("currenttime")));
  EXPECT_TRUE(Group(root).IsApplyingEffect());
  Frame(root, 100);
  EXPECT_FALSE(Group(root).IsApplyingEffect());
  EXPECT_TRUE(root->IsVisible());
  EXPECT_EQ("", Group(root).GetCurrentEffectName());
  Frame(root, 100);
  EXPECT_EQ(100, VarToInt(red->GetPropertyValue("currenttime")));
}

TEST_F(AppearanceEffects, HidingDuringTheShowEffectStartsTheHideEffectAndStaysVisible) {
  const Ref<IWidget> root = Attach(EffectGroup(Effects(300, 200)));
  TAppearanceEffectWdiget& group = Group(root);
  root->SetVisible(true);
  Frame(root, 100);
  root->SetVisible(false);
  EXPECT_TRUE(group.IsApplyingEffect());
  EXPECT_EQ("hide_effect", group.GetCurrentEffectName());
  EXPECT_TRUE(root->IsVisible());
  Frame(root, 100);
  EXPECT_TRUE(root->IsVisible());
  Frame(root, 100);
  EXPECT_FALSE(root->IsVisible());
  // Showing during the hide effect ends it and shows at once.
  root->SetVisible(true);
  Frame(root, 100);
  root->SetVisible(false);
  root->SetVisible(true);
  EXPECT_TRUE(root->IsVisible());
  EXPECT_EQ("show_effect", group.GetCurrentEffectName());
}

TEST_F(AppearanceEffects, DisabledEffectsAreImmediate) {
  const Ref<IWidget> root = Attach(EffectGroup(Effects(300, 300), R"(enable_effects="no")"));
  root->SetVisible(true);
  EXPECT_TRUE(root->IsVisible());
  EXPECT_FALSE(Group(root).IsApplyingEffect());
  root->SetVisible(false);
  EXPECT_FALSE(root->IsVisible());
  // The property switches them back on.
  EXPECT_TRUE(root->SetPropertyValue("enable_effects", TVariant(true)));
  root->SetVisible(true);
  EXPECT_TRUE(Group(root).IsApplyingEffect());
  // Without an owner nothing can run either.
  screen->DetachRoot();
  root->SetVisible(false);
  root->SetVisible(true);
  EXPECT_FALSE(Group(root).IsApplyingEffect());
  EXPECT_TRUE(root->IsVisible());
}

TEST_F(AppearanceEffects, TheEffectDrawsThePictureWhereTheChildrenWere) {
  const Ref<IWidget> root = Attach(EffectGroup(Effects(200, 0)));
  EXPECT_EQ(TRect(12, 21, 15, 23), root->GetRect());
  root->SetVisible(true);
  // The picture starts at the children's corner (offset 2,1 from the
  // anchor); the effect's surface widget sits one pixel to the right.
  EXPECT_EQ(
      ".."
      "RRR"
      ".",
      RedColumns(root).substr(0, 6))
      << RedColumns(root);
  EXPECT_EQ(TRect(13, 21, 16, 23), root->GetRect());
  EXPECT_EQ(13.0, root->GetLeft());
  EXPECT_EQ(3, root->GetWidth());
  engine->rects.clear();
  Frame(root, 100);
  Frame(root, 100);
  EXPECT_FALSE(Group(root).IsApplyingEffect());
  EXPECT_EQ(".RRR..", RedColumns(root));
  EXPECT_EQ(TRect(12, 21, 15, 23), root->GetRect());
}

TEST_F(AppearanceEffects, TheEffectsEndReportsItsAreaAndTheChildrens) {
  const Ref<IWidget> root = Attach(EffectGroup(Effects(100, 0)));
  Frame(root, 0);
  root->SetVisible(true);
  engine->rects.clear();
  root->UpdateDirtyRegion(false, false);
  bool effectArea = false;
  for (const TRect& r : engine->rects)
    effectArea |= r.left <= 13 && r.right >= 16 && r.top <= 21 && r.bottom >= 23;
  EXPECT_TRUE(effectArea);
  engine->rects.clear();
  Frame(root, 100);  // ends the effect
  bool oldArea = false, childArea = false;
  for (const TRect& r : engine->rects) {
    oldArea |= r.left <= 13 && r.right >= 16 && r.top <= 21 && r.bottom >= 23;
    childArea |= r.left <= 12 && r.right >= 15 && r.top <= 21 && r.bottom >= 23;
  }
  EXPECT_TRUE(oldArea);
  EXPECT_TRUE(childArea);
}

TEST_F(AppearanceEffects, TheCollectionFollowsItsEffectsState) {
  const Ref<IWidget> root = Attach(EffectGroup(Effects(200, 0)));
  auto* effects = dynamic_cast<TAppearanceEffectCollection*>(Group(root).GetEffects());
  ASSERT_TRUE(effects);
  EXPECT_TRUE(effects->IsVisible());
  effects->SetVisible(false);
  EXPECT_TRUE(effects->IsVisible());
  const Ref<IWidget> show = effects->GetChild("show_effect");
  EXPECT_FALSE(show->IsVisible());
  EXPECT_TRUE(show->IsPaused());
  EXPECT_EQ(-1, VarToInt(show->GetPropertyValue("state")));
  EXPECT_EQ(200, VarToInt(show->GetPropertyValue("durationtime")));
  // A start with parameters: their names become properties of the effect.
  const Ref<TParamCollection> params = MakeRef<TParamCollection>();
  params->Initialize();
  params->SetParamValue("speed", TVariant(3LL));
  effects->StartEffect("show_effect", nullptr, params.get());
  EXPECT_EQ(0, effects->GetState());
  EXPECT_TRUE(show->IsVisible());
  EXPECT_FALSE(show->IsPaused());
  EXPECT_EQ(3, VarToInt(show->GetPropertyValue("speed")));
  EXPECT_TRUE(show->SetPropertyValue("speed", TVariant(4LL)));
  EXPECT_EQ(4, VarToInt(show->GetPropertyValue("speed")));
  params->SetParamValue("speed", TVariant(9LL));  // copied, not shared
  EXPECT_EQ(4, VarToInt(show->GetPropertyValue("speed")));
  // Writing state 1 ends the effect: hidden, paused, forgotten.
  EXPECT_TRUE(effects->SetPropertyValue("state", TVariant(1LL)));
  EXPECT_FALSE(show->IsVisible());
  EXPECT_TRUE(show->IsPaused());
  EXPECT_FALSE(effects->GetCurrent());
  // An effect of an unknown name leaves the collection finished.
  effects->StartEffect("nothing", nullptr, nullptr);
  EXPECT_EQ(1, effects->GetState());
  EXPECT_FALSE(effects->Contains("nothing"));
  EXPECT_TRUE(effects->Contains("SHOW_EFFECT"));
}

TEST_F(AppearanceEffects, TheEffectSoundPlaysAtFullVolumeInTheCentre) {
  const Ref<IWidget> root = Attach(EffectGroup(
      R"(<widgets><widget type="func_appearance_effect" name="show_effect" durationtime="100"><sounds>
           <sound name="sound_effect" resourcename="whoosh" volume="30" pan="-50"/></sounds></widget></widgets>)"));
  root->SetVisible(true);
  ASSERT_EQ(1u, engine->played.size());
  EXPECT_EQ("whoosh 100 0", engine->played[0]);
}

TEST_F(AppearanceEffects, ANameThatTakesNoPictureIsReported) {
  TDiagnosticsCollector errors;
  const Ref<IWidget> root = Attach(EffectGroup(
      R"(<widgets><widget type="func_appearance_effect" name="show_effect" durationtime="100" surfaceparamname="nothing/surface"/></widgets>)"));
  root->SetVisible(true);
  EXPECT_TRUE(errors.Has("surfaceparamname"));
  // A plain name that the effect does not take goes to its child.
  errors.Clear();
  const Ref<IWidget> plain = Attach(EffectGroup(
      R"(<widgets><widget type="func_appearance_effect" name="show_effect" durationtime="100" surfaceparamname="surface"><widget type="surface_widget" name="pic" visible="yes"/></widget></widgets>)"));
  plain->SetVisible(true);
  EXPECT_TRUE(errors.Errors().empty());
  EXPECT_EQ(0, VarToInt(plain->GetPropertyValue("effect_state")));
}

TEST_F(AppearanceEffects, EffectsThatAreNoCollectionAreReportedAndDropped) {
  TDiagnosticsCollector errors;
  const Ref<IWidget> root =
      Attach(R"(<widget type="appearance_effect_widget" name="g"><effects type="rect_widget"/></widget>)");
  EXPECT_TRUE(errors.Has("effect collection"));
  EXPECT_FALSE(Group(root).GetEffects());
  errors.Clear();
  Attach(EffectGroup(R"(<widgets><widget type="rect_widget" name="show_effect"/></widgets>)"));
  EXPECT_TRUE(errors.Has("not an appearance effect"));
}

TEST_F(AppearanceEffects, SavedGroupsKeepTheirEffects) {
  const Ref<IWidget> root = Attach(EffectGroup(Effects(200, 0), R"(enable_effects="no")"));
  const StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent*>(root.get())->Save(out);
  const std::string xml = out->GetMarkup();
  EXPECT_NE(std::string::npos, xml.find(R"(enable_effects="no")")) << xml;
  EXPECT_NE(std::string::npos, xml.find(R"(<effects type="appearance_effects")")) << xml;
  EXPECT_NE(std::string::npos, xml.find(R"(durationtime="200")")) << xml;
  EXPECT_NE(std::string::npos, xml.find(R"(surfaceparamname="pic/surface")")) << xml;
  const Ref<IWidget> again = Attach(xml);
  EXPECT_FALSE(VarToBool(again->GetPropertyValue("enable_effects")));
  EXPECT_TRUE(again->FindWidget("red"));
  auto* effects = dynamic_cast<TAppearanceEffectCollection*>(Group(again).GetEffects());
  ASSERT_TRUE(effects);
  EXPECT_TRUE(effects->Contains("show_effect"));
  // The default is not written.
  const Ref<IWidget> plain = Attach(R"(<widget type="appearance_effect_widget" name="g"/>)");
  const StorageRef out2 = NewStorage("widget");
  dynamic_cast<IPersistent*>(plain.get())->Save(out2);
  EXPECT_EQ(std::string::npos, out2->GetMarkup().find("enable_effects"));
  EXPECT_EQ(std::string::npos, out2->GetMarkup().find("effects"));
}

}  // namespace
}  // namespace qv
