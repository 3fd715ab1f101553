#include <gtest/gtest.h>

#include "controls/ControlTestSupport.h"
#include "controls/EditControl.h"
#include "core/ProcessContext.h"

namespace qv {
namespace {

using test::TControlTest;

class Edits : public TControlTest {
protected:
  void TearDown() override {
    ProcessContext().textHook = nullptr;
    TControlTest::TearDown();
  }
  // An edit at (10, 0) whose text starts 2 to the right; the font's glyphs
  // are 4 wide. The first key gives it the focus.
  Ref<TEditControl> Make(const std::string& attributes, bool focus = true) {
    Attach(
        R"(<widget type="EditControl" name="edit_name" visible="yes" enabled="yes" tabstop="yes" anchor_left="10" width="100" height="10" )" +
        attributes +
        R"(><widgets><widget type="text_widget" name="text" visible="yes" resourcename="font" anchor_left="2" width="90" height="10"/>)"
        R"(<widget type="rect_widget" name="cursor" anchor_left="2" width="1" height="6"/></widgets></widget>)");
    const Ref<TEditControl> edit = Control<TEditControl>("edit_name");
    if (focus) screen->SetFocus(edit.get());
    return edit;
  }
  std::string Shown() { return VarToString(screen->FindWidget("edit_name/text")->GetPropertyValue("text")); }
  Ref<IWidget> Cursor() { return screen->FindWidget("edit_name/cursor"); }
  int Codes(int code) const {
    int n = 0;
    for (const auto& e : screen->events) n += e.code == code && e.sender == "edit_name";
    return n;
  }
};

TEST_F(Edits, TypedCharactersGoInAtTheCaretAndEachIsReported) {
  const Ref<TEditControl> edit = Make(R"(value="Ab")");
  EXPECT_EQ(edit->GetCaret(), 2);  // at the end after loading
  EXPECT_EQ(Shown(), "Ab");
  Type("cd");
  EXPECT_EQ(edit->GetValueUtf8(), "Abcd");
  EXPECT_EQ(Shown(), "Abcd");
  EXPECT_EQ(edit->GetCaret(), 4);
  EXPECT_EQ(Codes(4), 2);
  EXPECT_EQ(VarToString(edit->GetPropertyValue("text_utf8")), "Abcd");
  EXPECT_EQ(VarToString(edit->GetPropertyValue("value")), "Abcd");
}

TEST_F(Edits, AFullEditInsertsNothingButStillReports) {
  const Ref<TEditControl> edit = Make(R"(value="abc" max="4")");
  Type("de");
  EXPECT_EQ(edit->GetValueUtf8(), "abcd");
  EXPECT_EQ(Codes(4), 2);
  EXPECT_EQ(edit->GetCaret(), 4);
  edit->SetPropertyValue("max", 6);
  Type("e");
  EXPECT_EQ(edit->GetValueUtf8(), "abcde");
  const StorageRef out = LoadStorageText("<widget/>");
  edit->Save(out);
  EXPECT_EQ(out->ReadAttr("max", ""), "6");
  EXPECT_EQ(out->ReadAttr("value", ""), "abcde");
}

TEST_F(Edits, CapitalizeTypesUpperCase) {
  const Ref<TEditControl> edit = Make(R"(capitalize="yes")");
  Type("ab1 z");
  EXPECT_EQ(edit->GetValueUtf8(), "AB1 Z");
}

TEST_F(Edits, CharactersTheFontLacksAndControlCharactersAreNotInserted) {
  const Ref<TEditControl> edit = Make("");
  Type("a!b");
  Key(WM_CHAR, VK_TAB);
  Key(WM_CHAR, VK_RETURN);
  EXPECT_EQ(edit->GetValueUtf8(), "ab");
  EXPECT_EQ(Codes(4), 5);
}

TEST_F(Edits, BackspaceHomeEndArrowsAndDelete) {
  const Ref<TEditControl> edit = Make(R"(value="abcd")");
  Key(WM_CHAR, VK_BACK);
  EXPECT_EQ(edit->GetValueUtf8(), "abc");
  EXPECT_EQ(edit->GetCaret(), 3);
  EXPECT_EQ(Codes(4), 1);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_HOME));
  EXPECT_EQ(edit->GetCaret(), 0);
  Key(WM_CHAR, VK_BACK);  // nothing before the caret, still reported
  EXPECT_EQ(edit->GetValueUtf8(), "abc");
  EXPECT_EQ(Codes(4), 2);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_LEFT));
  EXPECT_EQ(edit->GetCaret(), 0);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_RIGHT));
  Type("X");
  EXPECT_EQ(edit->GetValueUtf8(), "aXbc");
  EXPECT_EQ(edit->GetCaret(), 2);
  // Delete removes the character after the caret and reports the change.
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_DELETE));
  EXPECT_EQ(edit->GetValueUtf8(), "aXc");
  EXPECT_EQ(edit->GetCaret(), 2);
  EXPECT_EQ(Codes(4), 4);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_END));
  EXPECT_EQ(edit->GetCaret(), 3);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_DELETE));  // nothing after the caret
  EXPECT_EQ(edit->GetValueUtf8(), "aXc");
  EXPECT_EQ(Codes(4), 4);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_RIGHT));
  EXPECT_EQ(edit->GetCaret(), 3);
  // Other keys go to the control base, which has nothing for them.
  EXPECT_FALSE(Key(WM_KEYDOWN, VK_UP));
  EXPECT_FALSE(Key(WM_KEYUP, VK_HOME));
}

TEST_F(Edits, WithoutFocusKeysAreNotTaken) {
  const Ref<TEditControl> edit = Make(R"(value="ab")", false);
  EXPECT_FALSE(edit->KeyEvent(WM_CHAR, 'c', 0));
  EXPECT_EQ(edit->GetValueUtf8(), "ab");
  EXPECT_TRUE(screen->events.empty());
}

TEST_F(Edits, TheCursorFollowsTheCaretWhileFocused) {
  const Ref<TEditControl> edit = Make(R"(value="ab")", false);
  EXPECT_FALSE(Cursor()->IsVisible());
  screen->SetFocus(edit.get());
  EXPECT_TRUE(Cursor()->IsVisible());
  // After "b": its laid-out right edge in the control, 2 + 4 + 4.
  EXPECT_EQ(Cursor()->GetAnchorLeft(), 10.0);
  Key(WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(Cursor()->GetAnchorLeft(), 2.0);
  Key(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(Cursor()->GetAnchorLeft(), 6.0);
  screen->ClearFocus();
  EXPECT_FALSE(Cursor()->IsVisible());
}

TEST_F(Edits, ValueWritesAndTheCaret) {
  const Ref<TEditControl> edit = Make(R"(value="abcd")");
  edit->SetPropertyValue("value", "abcdef");
  EXPECT_EQ(edit->GetCaret(), 4);
  EXPECT_EQ(Shown(), "abcdef");
  edit->SetPropertyValue("text_utf8", "ab");
  EXPECT_EQ(edit->GetCaret(), 0);  // shorter than the caret
  EXPECT_TRUE(screen->events.empty());
}

TEST_F(Edits, AnEditIsATabStopOnlyWhenVisibleAndEnabled) {
  const Ref<TEditControl> edit = Make("", false);
  EXPECT_TRUE(edit->IsTabStop());
  edit->SetEnabled(false);
  EXPECT_FALSE(edit->IsTabStop());
  edit->SetEnabled(true);
  edit->SetVisible(false);
  EXPECT_FALSE(edit->IsTabStop());
}

TEST_F(Edits, TheValueIsReadThroughTheLanguageAndATypedPercentStaysItself) {
  ProcessContext().textHook = [](const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text.compare(i, 6, "%name%") == 0) {
        out += "Ann";
        i += 5;
      } else if (text.compare(i, 2, "%%") == 0) {
        out += "%";
        ++i;
      } else {
        out += text[i];
      }
    }
    return out;
  };
  const Ref<TEditControl> edit = Make(R"(value="%name%")");
  EXPECT_EQ(edit->GetValueUtf8(), "Ann");
  edit->SetValueUtf8("%name%");
  EXPECT_EQ(Shown(), "%name%");
}

}  // namespace
}  // namespace qv
