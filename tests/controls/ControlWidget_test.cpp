#include <gtest/gtest.h>

#include "controls/ButtonControl.h"
#include "controls/CheckBoxControl.h"
#include "controls/ControlTestSupport.h"
#include "controls/LabelControl.h"
#include "core/Diagnostics.h"

namespace qv {
namespace {

using test::TControlTest;

std::string Rect(const std::string& name, const std::string& attributes = R"(width="20" height="10")") {
  return R"(<widget type="rect_widget" name=")" + name + R"(" )" + attributes + "/>";
}

std::string InnerButton(const std::string& name, int left) {
  return R"(<widget type="ButtonControl" name=")" + name +
         R"(" visible="yes" enabled="yes" tabstop="yes" anchor_left=")" + std::to_string(left) +
         R"(" width="20" height="10"/>)";
}

using Controls = TControlTest;

TEST_F(Controls, TheRectangleIsFixedWhateverTheChildren) {
  Attach(
      R"(<widget type="Control" name="c" visible="yes" mousestop="yes" anchor_left="10.6" anchor_top="20.4" width="30" height="40"><widgets>)" +
      Rect("big", R"(visible="yes" anchor_left="-50" width="500" height="500")") + "</widgets></widget>");
  const Ref<TControlWidget> c = Control<TControlWidget>("c");
  EXPECT_EQ(c->GetRect(), (TRect{11, 20, 41, 60}));
  EXPECT_EQ(VarToInt(c->GetPropertyValue("width")), 30);
  // Hit test on the unrounded position, both edges inside; a child without
  // mousestop does not answer, so the control does.
  EXPECT_EQ(screen->WidgetAtPos({11, 21}).get(), c.get());
  EXPECT_EQ(screen->WidgetAtPos({40, 60}).get(), c.get());
  EXPECT_EQ(screen->WidgetAtPos({10, 21}), nullptr);
  EXPECT_EQ(screen->WidgetAtPos({41, 21}), nullptr);
  EXPECT_FALSE(c->ContainsPoint({200, 200}, false));
  c->SetVisible(false);
  EXPECT_FALSE(c->ContainsPoint({20, 30}, false));
  EXPECT_TRUE(c->ContainsPoint({20, 30}, true));
}

TEST_F(Controls, AMaskWidgetShapesTheControl) {
  TDiagnosticsCollector diagnostics;
  // The mask is invisible and covers only the left 10 x 10 of the control.
  Attach(
      R"(<widget type="Control" name="c" visible="yes" mousestop="yes" anchor_left="100" anchor_top="100" width="50" height="50" maskwidget="image_mask"><widgets>)" +
      Rect("image_mask", R"(anchor_left="5" anchor_top="5" width="10" height="10")") + "</widgets></widget>");
  const Ref<TControlWidget> c = Control<TControlWidget>("c");
  EXPECT_TRUE(c->ContainsPoint({105, 105}, false));
  EXPECT_TRUE(c->ContainsPoint({115, 115}, false));
  EXPECT_FALSE(c->ContainsPoint({104, 105}, false));
  EXPECT_FALSE(c->ContainsPoint({140, 140}, false));
  EXPECT_TRUE(diagnostics.Errors().empty());
  // A missing mask leaves the rectangle to decide, reported once.
  c->SetPropertyValue("maskwidget", "nothing");
  EXPECT_TRUE(c->ContainsPoint({140, 140}, false));
  EXPECT_TRUE(c->ContainsPoint({141, 140}, false));
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
}

TEST_F(Controls, TabMovesTheInnerFocusWithoutWrappingAround) {
  Attach(
      R"(<widget type="Control" name="panel" visible="yes" mousestop="yes" tabstop="yes" width="100" height="20"><widgets>)" +
      InnerButton("a", 0) + Rect("plain", R"(visible="yes" width="5" height="5")") + InnerButton("b", 30) +
      R"(</widgets></widget><widget type="ButtonControl" name="next" visible="yes" enabled="yes" tabstop="yes" anchor_top="50" width="20" height="10"/>)");
  const Ref<TControlWidget> panel = Control<TControlWidget>("panel");
  const Ref<TButtonControl> a = Control<TButtonControl>("panel/a");
  const Ref<TButtonControl> b = Control<TButtonControl>("panel/b");
  const Ref<TButtonControl> next = Control<TButtonControl>("next");
  // The first key gives the panel the focus, and the panel its first child.
  EXPECT_FALSE(Key(WM_KEYDOWN, VK_TAB));
  EXPECT_TRUE(panel->HasFocus());
  EXPECT_EQ(panel->GetInnerFocus(), a.get());
  EXPECT_TRUE(a->HasFocus());
  EXPECT_TRUE(Key(WM_KEYUP, VK_TAB));
  EXPECT_EQ(panel->GetInnerFocus(), b.get());
  EXPECT_FALSE(a->HasFocus());
  EXPECT_TRUE(b->HasFocus());
  // Enter reaches the inner focus.
  Press(VK_RETURN);
  EXPECT_EQ(screen->EventsText(), "b 1");
  // After the last child the screen moves on; the inner focus goes too.
  EXPECT_TRUE(Key(WM_KEYUP, VK_TAB));
  EXPECT_EQ(screen->GetFocus(), next.get());
  EXPECT_FALSE(panel->HasFocus());
  EXPECT_FALSE(b->HasFocus());
  EXPECT_EQ(panel->GetInnerFocus(), nullptr);
  // Around the screen and into the panel again, from its first child.
  EXPECT_TRUE(Key(WM_KEYUP, VK_TAB));
  EXPECT_EQ(screen->GetFocus(), panel.get());
  Key(WM_KEYDOWN, VK_SHIFT);
  EXPECT_EQ(panel->GetInnerFocus(), a.get());
}

TEST_F(Controls, WithoutFocusAControlTakesNoKeys) {
  Attach(R"(<widget type="Control" name="panel" visible="yes" width="100" height="20"><widgets>)" +
         InnerButton("a", 0) + "</widgets></widget>");
  const Ref<TControlWidget> panel = Control<TControlWidget>("panel");
  EXPECT_FALSE(panel->KeyEvent(WM_KEYUP, VK_TAB, 0));
  EXPECT_EQ(panel->GetInnerFocus(), nullptr);
}

TEST_F(Controls, ATabStopControlTakesTheFocusOnALeftPress) {
  Attach(
      R"(<widget type="Control" name="c" visible="yes" mousestop="yes" tabstop="yes" width="10" height="10"/>)"
      R"(<widget type="Control" name="d" visible="yes" mousestop="yes" anchor_left="20" width="10" height="10"/>)");
  const Ref<TControlWidget> c = Control<TControlWidget>("c");
  EXPECT_FALSE(Mouse(WM_RBUTTONDOWN, 5, 5));
  EXPECT_EQ(screen->GetFocus(), nullptr);
  EXPECT_FALSE(Mouse(WM_LBUTTONDOWN, 5, 5));
  EXPECT_EQ(screen->GetFocus(), c.get());
  EXPECT_FALSE(Mouse(WM_LBUTTONDOWN, 25, 5));
  EXPECT_EQ(screen->GetFocus(), c.get());
  EXPECT_FALSE(Mouse(WM_KEYDOWN, 25, 5));
}

// --- labels -------------------------------------------------------------------

TEST_F(Controls, ALabelChangesItsPictureOnHoverOnlyWhileEnabled) {
  Attach(
      R"(<widget type="LabelControl" name="l" visible="yes" enabled="yes" width="20" height="10"><widgets>)" +
      Rect("image_normal") + Rect("image_selected") + "</widgets></widget>");
  const Ref<TLabelControl> label = Control<TLabelControl>("l");
  const Ref<IWidget> normal = screen->FindWidget("l/image_normal");
  const Ref<IWidget> selected = screen->FindWidget("l/image_selected");
  EXPECT_TRUE(normal->IsVisible());
  EXPECT_FALSE(selected->IsVisible());
  engine->pointer = {5, 5};
  screen->Frame(10);
  EXPECT_TRUE(label->IsHover());
  EXPECT_TRUE(selected->IsVisible());
  EXPECT_FALSE(normal->IsVisible());
  EXPECT_FALSE(Mouse(WM_LBUTTONDOWN, 5, 5));
  label->SetEnabled(false);
  engine->pointer = {50, 50};
  screen->Frame(10);
  EXPECT_FALSE(label->IsHover());
  EXPECT_TRUE(selected->IsVisible());  // a disabled label keeps its pictures
}

// --- check boxes ----------------------------------------------------------------

class CheckBoxes : public TControlTest {
protected:
  Ref<TCheckBoxControl> Make(const std::string& attributes, bool allPictures = true) {
    std::string pictures = Rect("image_check_normal") + Rect("image_uncheck_normal");
    if (allPictures)
      for (const char* p : {"image_check_selected", "image_check_disabled", "image_uncheck_selected",
                            "image_uncheck_disabled"})
        pictures += Rect(p);
    Attach(
        R"(<widget type="CheckBoxControl" name="sound" visible="yes" mousestop="yes" width="20" height="10" )" +
        attributes + "><widgets>" + pictures + "</widgets></widget>");
    return Control<TCheckBoxControl>("sound");
  }
  // The one picture shown.
  std::string Shown() {
    std::string out;
    IWidgetCollection* children = screen->FindWidget("sound")->GetChildren();
    for (int i = 0; i < children->GetCount(); ++i)
      if (children->GetWidget(i)->IsVisible())
        out += (out.empty() ? "" : " ") + children->GetWidget(i)->GetName();
    return out;
  }
};

TEST_F(CheckBoxes, AClickTogglesAndReportsCodeTwo) {
  const Ref<TCheckBoxControl> box = Make(R"(enabled="yes")");
  EXPECT_EQ(Shown(), "image_uncheck_normal");
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 5, 5));
  EXPECT_EQ(screen->GetCapture(), box.get());
  EXPECT_TRUE(screen->events.empty());
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 5, 5));
  EXPECT_TRUE(box->IsChecked());
  EXPECT_EQ(screen->EventsText(), "sound 2");
  EXPECT_EQ(Shown(), "image_check_normal");
  EXPECT_EQ(screen->GetCapture(), nullptr);
  EXPECT_TRUE(engine->played.empty());  // no sound
  // Released outside: nothing.
  Mouse(WM_LBUTTONDOWN, 5, 5);
  Mouse(WM_LBUTTONUP, 50, 5);
  EXPECT_TRUE(box->IsChecked());
  EXPECT_EQ(screen->events.size(), 1u);
}

TEST_F(CheckBoxes, CheckBoxStateWritesSendNoEvent) {
  const Ref<TCheckBoxControl> box = Make(R"(enabled="yes")");
  EXPECT_TRUE(box->SetPropertyValue("CheckBoxState", true));
  EXPECT_TRUE(VarToBool(box->GetPropertyValue("CheckBoxState")));
  EXPECT_EQ(Shown(), "image_check_normal");
  box->SetPropertyValue("CheckBoxState", false);
  EXPECT_EQ(Shown(), "image_uncheck_normal");
  EXPECT_TRUE(screen->events.empty());
  // Not stored.
  box->SetChecked(true);
  const StorageRef out = LoadStorageText("<widget/>");
  box->Save(out);
  EXPECT_EQ(out->ReadAttr("CheckBoxState", "none"), "none");
}

TEST_F(CheckBoxes, TheSixStatesAndTheirFallbacks) {
  const Ref<TCheckBoxControl> box = Make("");
  EXPECT_EQ(box->GetVisualState(), 0);
  EXPECT_EQ(Shown(), "image_uncheck_disabled");
  box->SetChecked(true);
  EXPECT_EQ(Shown(), "image_check_disabled");
  EXPECT_FALSE(Mouse(WM_LBUTTONDOWN, 5, 5));
  box->SetEnabled(true);
  EXPECT_EQ(box->GetVisualState(), 4);
  engine->pointer = {5, 5};
  screen->Frame(10);
  EXPECT_EQ(box->GetVisualState(), 5);
  EXPECT_EQ(Shown(), "image_check_selected");
  box->SetChecked(false);
  EXPECT_EQ(box->GetVisualState(), 3);
  EXPECT_EQ(Shown(), "image_uncheck_selected");

  const Ref<TCheckBoxControl> plain = Make("", false);
  EXPECT_EQ(Shown(), "image_uncheck_normal");
  plain->SetChecked(true);
  EXPECT_EQ(Shown(), "image_check_normal");
  plain->SetEnabled(true);
  screen->Frame(10);
  EXPECT_EQ(plain->GetVisualState(), 5);
  EXPECT_EQ(Shown(), "image_check_normal");
}

TEST_F(CheckBoxes, SpaceOrClickToggle) {
  const Ref<TCheckBoxControl> box = Make(R"(enabled="yes" tabstop="yes")");
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_SPACE));
  EXPECT_TRUE(screen->events.empty());
  EXPECT_TRUE(Key(WM_KEYUP, VK_SPACE));
  EXPECT_TRUE(box->IsChecked());
  // Enter is left to the screen (a dialog's confirmation).
  EXPECT_FALSE(Key(WM_KEYUP, VK_RETURN));
  ASSERT_TRUE(QueryPtr<IClickable>(box.get()));
  EXPECT_TRUE(QueryPtr<IClickable>(box.get())->Click());
  EXPECT_FALSE(box->IsChecked());
  EXPECT_EQ(screen->EventsText(), "sound 2, sound 2");
  box->SetEnabled(false);
  EXPECT_FALSE(QueryPtr<IClickable>(box.get())->Click());
}

}  // namespace
}  // namespace qv
