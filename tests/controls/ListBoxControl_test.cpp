#include <gtest/gtest.h>

#include "controls/ButtonControl.h"
#include "controls/ControlTestSupport.h"
#include "controls/ListBoxControl.h"
#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"

namespace qv {
namespace {

using test::TControlTest;
using test::TRecordingCell;

class ListBoxes : public TControlTest {
protected:
  // A list at (10, 100), 100 x 40: four rows of 10 without a content box.
  Ref<TListBoxControl> Make(const std::string& attributes = R"(rowheight="10")",
                            const std::string& extra = "", int items = 10) {
    Attach(
        R"(<widget type="ListBoxControl" name="list" visible="yes" mousestop="yes" enabled="yes" tabstop="yes" anchor_left="10" anchor_top="100" width="100" height="40" color="1" selectedcolor="2" )" +
        attributes +
        R"(><widgets><widget type="recording_cell" name="text" width="80" height="10"/>)"
        R"(<widget type="ButtonControl" name="button_up" visible="yes" mousestop="yes" anchor_left="90" width="10" height="10"/>)"
        R"(<widget type="ButtonControl" name="button_down" visible="yes" mousestop="yes" anchor_left="90" anchor_top="30" width="10" height="10"/>)" +
        extra + "</widgets></widget>");
    const Ref<TListBoxControl> list = Control<TListBoxControl>("list");
    for (int i = 0; i < items; ++i) list->AddItem("row" + std::to_string(i), "Item " + std::to_string(i));
    return list;
  }
  bool Enabled(const std::string& button) { return screen->FindWidget("list/" + button)->IsEnabled(); }
};

TEST_F(ListBoxes, DownFromTheLastVisibleRowScrollsByOne) {
  const Ref<TListBoxControl> list = Make();
  EXPECT_EQ(list->GetVisibleRows(), 4);
  screen->SetFocus(list.get());
  list->SetSelected(3);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_DOWN));
  EXPECT_EQ(list->GetSelected(), 4);
  EXPECT_EQ(list->GetTopIndex(), 1);
  EXPECT_EQ(screen->EventsText(), "list 5");
  EXPECT_TRUE(Enabled("button_up"));
  EXPECT_TRUE(Enabled("button_down"));
}

TEST_F(ListBoxes, HomeEndUpAndDown) {
  const Ref<TListBoxControl> list = Make();
  screen->SetFocus(list.get());
  // Nothing selected: Down selects the first row.
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_DOWN));
  EXPECT_EQ(list->GetSelected(), 0);
  EXPECT_FALSE(Key(WM_KEYDOWN, VK_UP));  // already first: not handled
  EXPECT_FALSE(Key(WM_KEYDOWN, VK_HOME));
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_END));
  EXPECT_EQ(list->GetSelected(), 9);
  EXPECT_EQ(list->GetTopIndex(), 6);
  EXPECT_FALSE(Enabled("button_down"));
  EXPECT_FALSE(Key(WM_KEYDOWN, VK_DOWN));
  EXPECT_FALSE(Key(WM_KEYDOWN, VK_END));
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_UP));
  EXPECT_EQ(list->GetSelected(), 8);
  EXPECT_EQ(list->GetTopIndex(), 6);
  EXPECT_TRUE(Key(WM_KEYDOWN, VK_HOME));
  EXPECT_EQ(list->GetSelected(), 0);
  EXPECT_EQ(list->GetTopIndex(), 0);
  EXPECT_FALSE(Enabled("button_up"));
  EXPECT_EQ(screen->events.size(), 4u);
  // Key-up and unfocused keys are not the list's.
  EXPECT_FALSE(Key(WM_KEYUP, VK_DOWN));
  screen->ClearFocus();
  EXPECT_FALSE(list->KeyEvent(WM_KEYDOWN, VK_DOWN, 0));
}

TEST_F(ListBoxes, AReleaseOnARowSelectsItAndADoubleClickReportsSix) {
  const Ref<TListBoxControl> list = Make();
  list->SetTopIndex(2);
  // (15, 125): row 2 of the view, item 4.
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 15, 125));
  EXPECT_EQ(list->GetSelected(), 4);
  EXPECT_TRUE(Mouse(WM_RBUTTONUP, 15, 100));
  EXPECT_EQ(list->GetSelected(), 2);
  EXPECT_TRUE(Mouse(WM_LBUTTONDBLCLK, 15, 135));
  EXPECT_EQ(list->GetSelected(), 2);
  EXPECT_EQ(screen->EventsText(), "list 5, list 5, list 6");
  // Past the last row of the view: no row.
  EXPECT_EQ(list->RowAtPoint({15, 141}), -1);
  EXPECT_EQ(list->RowAtPoint({15, 99}), -1);
}

TEST_F(ListBoxes, ARowBeyondTheItemsSelectsNothing) {
  const Ref<TListBoxControl> list = Make(R"(rowheight="10")", "", 2);
  list->SetSelected(1);
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 15, 135));
  EXPECT_EQ(list->GetSelected(), 1);
  list->SetSelected(7);
  EXPECT_EQ(list->GetSelected(), 1);
}

TEST_F(ListBoxes, TheScrollButtonsAreHandledByTheList) {
  const Ref<TListBoxControl> list = Make();
  EXPECT_FALSE(Enabled("button_up"));
  EXPECT_TRUE(Enabled("button_down"));
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 105, 135));
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 105, 135));
  EXPECT_EQ(list->GetTopIndex(), 1);
  EXPECT_TRUE(Enabled("button_up"));
  for (int i = 0; i < 8; ++i) {
    Mouse(WM_LBUTTONDOWN, 105, 135);
    Mouse(WM_LBUTTONUP, 105, 135);
  }
  EXPECT_EQ(list->GetTopIndex(), 6);  // count - visible rows at most
  EXPECT_FALSE(Enabled("button_down"));
  Mouse(WM_LBUTTONDOWN, 105, 105);
  Mouse(WM_LBUTTONUP, 105, 105);
  EXPECT_EQ(list->GetTopIndex(), 5);
  EXPECT_TRUE(screen->events.empty());  // the screen hears none of it
}

TEST_F(ListBoxes, ItemsByIndexOrNameAndDeletion) {
  const Ref<TListBoxControl> list = Make(R"(rowheight="10")", "", 5);
  EXPECT_EQ(list->GetItemText("row3"), "Item 3");
  EXPECT_EQ(list->GetItemText("1"), "Item 1");
  EXPECT_EQ(list->GetItemText("9"), "");
  list->SetSelected(4);
  list->DeleteItem("row4");
  EXPECT_EQ(list->GetSelected(), 3);
  list->DeleteItem("0");
  EXPECT_EQ(list->GetSelected(), 2);  // still "Item 3"
  EXPECT_EQ(list->GetItemText(std::to_string(list->GetSelected())), "Item 3");
  list->DeleteItem("nothing");
  EXPECT_EQ(list->GetItemCount(), 3);
  list->SetTopIndex(3);
  EXPECT_EQ(list->GetTopIndex(), 0);
  list->Clear();
  EXPECT_EQ(list->GetSelected(), -1);
  EXPECT_EQ(list->GetItemCount(), 0);
}

TEST_F(ListBoxes, DrawingPutsTheTextChildOnEveryVisibleRow) {
  const Ref<TListBoxControl> list = Make(
      R"(rowheight="10")",
      R"(<widget type="recording_cell" name="image_selectedbackground" anchor_left="-1" anchor_top="2" width="5" height="5"/>)",
      6);
  list->SetTopIndex(1);
  list->SetSelected(2);
  const Ref<ISurface> target = MakeRef<TSurface>(200, 200);
  list->Draw(target.get(), 10, 100);
  const std::vector<std::string> expected = {"Item 1@10,100#1", "@9,112#", "Item 2@10,110#2",
                                             "Item 3@10,120#1", "Item 4@10,130#1"};
  EXPECT_EQ(TRecordingCell::draws, expected);
  EXPECT_FALSE(screen->FindWidget("list/text")->IsVisible());
  EXPECT_FALSE(screen->FindWidget("list/image_selectedbackground")->IsVisible());
}

TEST_F(ListBoxes, TheContentBoxPlacesTheRows) {
  const Ref<TListBoxControl> list = Make(
      R"(rowheight="10")",
      R"(<widget type="rect_widget" name="image_contentbox" anchor_left="5" anchor_top="8" width="80" height="25"/>)");
  EXPECT_EQ(list->GetVisibleRows(), 2);
  EXPECT_EQ(list->RowAtPoint({14, 110}), -1);  // left of the content
  EXPECT_EQ(list->RowAtPoint({15, 107}), -1);  // above it
  EXPECT_EQ(list->RowAtPoint({15, 108}), 0);
  EXPECT_EQ(list->RowAtPoint({15, 118}), 1);
  EXPECT_EQ(list->RowAtPoint({15, 129}), -1);
}

TEST_F(ListBoxes, TheRowHeightDefaultsToATenthOfTheHeight) {
  EXPECT_EQ(Make("")->GetRowHeight(), 4);
  TDiagnosticsCollector diagnostics;
  const Ref<TListBoxControl> list = Make(R"(rowheight="0")");
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(list->GetVisibleRows(), 1);
}

TEST_F(ListBoxes, ATabStopOnlyWhenVisibleAndEnabled) {
  const Ref<TListBoxControl> list = Make();
  EXPECT_TRUE(list->IsTabStop());
  list->SetEnabled(false);
  EXPECT_FALSE(list->IsTabStop());
}

}  // namespace
}  // namespace qv
