#include <gtest/gtest.h>

#include <map>

#include "controls/ControlTestSupport.h"
#include "controls/ControlTextVizualization.h"
#include "controls/HighScoresGridControl.h"
#include "controls/SequenceControl.h"
#include "core/Diagnostics.h"

namespace qv {
namespace {

using test::TControlTest;
using test::TRecordingCell;

// Records as the grid reads them.
class TFakeRecords : public TAbstractObject, public IGridRecords {
public:
  int GetRecordCount() override { return static_cast<int>(rows.size()); }
  int GetHighlightedRecord() override { return highlighted; }
  TVariant GetRecordField(int index, const std::string& name) override {
    const auto& row = rows[static_cast<size_t>(index)];
    const auto it = row.find(name);
    return it == row.end() ? TVariant{} : it->second;
  }

  std::vector<std::map<std::string, TVariant>> rows;
  int highlighted = -1;

protected:
  ~TFakeRecords() override = default;
};

// --- high-score grid ----------------------------------------------------------

class Grids : public TControlTest {
protected:
  Ref<THighScoresGridControl> Make() {
    Attach(
        R"(<widget type="HighScoresGridControl" name="grid" visible="yes" width="100" height="120" rowheight="12" color="5" selectedcolor="6">)"
        R"(<columns><column name="name" widgetname="cell_name"/><column name="score" widgetname="cell_score"/></columns><widgets>)"
        R"(<widget type="recording_cell" name="cell_name" anchor_left="3" anchor_top="4"/>)"
        R"(<widget type="recording_cell" name="cell_score" anchor_left="50.5" anchor_top="4"/>)"
        R"(<widget type="recording_cell" name="decoration" visible="yes"/></widgets></widget>)");
    return Control<THighScoresGridControl>("grid");
  }
  Ref<TFakeRecords> records = MakeRef<TFakeRecords>();
  Ref<ISurface> target = MakeRef<TSurface>(10, 10);
};

TEST_F(Grids, EachColumnTemplateIsDrawnOncePerRecord) {
  const Ref<THighScoresGridControl> grid = Make();
  records->rows = {{{"name", TVariant("Ann")}, {"score", TVariant(1200LL)}}, {{"name", TVariant("Bob")}}};
  records->highlighted = 1;
  EXPECT_TRUE(grid->SetObjectProperty("recordtable", records));
  grid->Draw(target.get(), 10, 20);
  // Bob has no score: his score cell is not drawn. The other children are
  // never drawn.
  const std::vector<std::string> expected = {"Ann@13,24#5", "Bob@13,36#6", "1200@60,24#5"};
  EXPECT_EQ(TRecordingCell::draws, expected);
  EXPECT_EQ(grid->GetObjectProperty("recordtable").get(), static_cast<IInterface*>(records.get()));
}

TEST_F(Grids, NothingIsDrawnWithoutARecordTable) {
  TDiagnosticsCollector diagnostics;
  const Ref<THighScoresGridControl> grid = Make();
  grid->Draw(target.get(), 0, 0);
  EXPECT_TRUE(TRecordingCell::draws.empty());
  // An object that is no record table is reported and clears the table.
  grid->SetObjectProperty("recordtable", records);
  grid->SetObjectProperty("recordtable", MakeRef<TParamCollection>());
  EXPECT_EQ(grid->GetRecords(), nullptr);
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
}

TEST_F(Grids, ColumnsAndDefaultsAreLoadedAndSaved) {
  const Ref<THighScoresGridControl> grid = Make();
  ASSERT_EQ(grid->GetColumns().size(), 2u);
  EXPECT_EQ(grid->GetColumns()[1].name, "score");
  EXPECT_EQ(grid->GetColumns()[1].widgetName, "cell_score");
  EXPECT_EQ(grid->GetFontHeight(), 12);  // the row height by default
  const StorageRef out = LoadStorageText("<widget/>");
  grid->Save(out);
  EXPECT_EQ(out->ReadAttr("rowheight", ""), "12");
  EXPECT_EQ(out->ReadAttr("font_height", ""), "12");
  EXPECT_EQ(out->ReadAttr("selectedcolor", ""), "6");
  const StorageRef columns = out->GetChild("columns", 0);
  ASSERT_TRUE(columns);
  EXPECT_EQ(columns->GetChildCount("column"), 2);
  EXPECT_EQ(columns->GetChild("column", 0)->ReadAttr("widgetname", ""), "cell_name");

  Attach(R"(<widget type="HighScoresGridControl" name="grid" height="95"/>)");
  EXPECT_EQ(Control<THighScoresGridControl>("grid")->GetRowHeight(), 9);
}

TEST_F(Grids, AColumnWithoutItsWidgetIsReported) {
  TDiagnosticsCollector diagnostics;
  Attach(
      R"(<widget type="HighScoresGridControl" name="grid"><columns><column name="a" widgetname="missing"/></columns></widget>)");
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
}

// --- letter presentation --------------------------------------------------------

class Presenters : public TControlTest {
protected:
  // The text "Hi" of 4-wide glyphs; letters start 100 ticks after the
  // start, 50 apart, and fade in over 100.
  Ref<TControlTextVizualization> Make() {
    Attach(
        R"(<widget type="control_text_vizualization" name="story" visible="yes" mousestop="yes" width="200" height="20" startdelaytime="100" letterdelaytime="50">)"
        R"(<widgetfactories><widgetfactory name="vizualization_letter" type="WidgetFactory"><widgetstring>)"
        R"(<widget type="recording_cell" name="%name%" visible="yes" anchor_left="%anchor_left%" anchor_top="%anchor_top%" width="%width%" height="%height%"/>)"
        R"(</widgetstring></widgetfactory><widgetfactory name="transparent_widget" type="WidgetFactory"><widgetstring>)"
        R"(<widget type="transparent_scenario" name="%name%" timetolive="100" start_trans_level="0" end_trans_level="255"/>)"
        R"(</widgetstring></widgetfactory></widgetfactories><widgets>)"
        R"(<widget type="text_widget" name="line" visible="yes" resourcename="font" anchor_left="7" width="200" height="10" text="Hi"/>)"
        R"(<widget type="group_widget" name="letters_group" visible="yes"/></widgets></widget>)");
    return Control<TControlTextVizualization>("story");
  }
  IWidgetCollection* Letters() { return screen->FindWidget("story/letters_group")->GetChildren(); }
  Ref<IWidget> Line() { return screen->FindWidget("story/line"); }
};

TEST_F(Presenters, LettersAppearOneAfterAnother) {
  const Ref<TControlTextVizualization> story = Make();
  screen->Frame(30);
  story->SetPropertyValue("InitVizualization", 1);
  EXPECT_EQ(story->GetState(), TControlTextVizualization::kPresenting);
  // 100 of start delay, two letters 50 apart, from the control's time 30.
  EXPECT_EQ(VarToInt(story->GetPropertyValue("visualization_time")), 230);
  EXPECT_EQ(VarToInt(story->GetPropertyValue("visualization_state")), 1);
  EXPECT_FALSE(Line()->IsVisible());
  ASSERT_EQ(Letters()->GetCount(), 4);
  const Ref<IWidget> h = Letters()->GetWidgetByName("1");
  const Ref<IWidget> i = Letters()->GetWidgetByName("2");
  ASSERT_TRUE(h && i);
  EXPECT_TRUE(Letters()->GetWidgetByName("appear_letter_0_1"));
  EXPECT_TRUE(Letters()->GetWidgetByName("appear_letter_0_2"));
  EXPECT_EQ(VarToString(h->GetPropertyValue("text_utf8")), "H");
  EXPECT_EQ(VarToString(i->GetPropertyValue("text_utf8")), "i");
  EXPECT_EQ(h->GetAnchorLeft(), 7.0);
  EXPECT_EQ(i->GetAnchorLeft(), 11.0);
  EXPECT_EQ(i->GetWidth(), 4);
  EXPECT_EQ(h->GetTransparentLevel(), 0);
  EXPECT_EQ(i->GetTransparentLevel(), 0);
  screen->Frame(150);
  EXPECT_EQ(h->GetTransparentLevel(), 127);
  EXPECT_EQ(i->GetTransparentLevel(), 0);
  EXPECT_TRUE(screen->events.empty());
  screen->Frame(50);  // time 230: not yet past the end
  EXPECT_TRUE(screen->events.empty());
  screen->Frame(1);
  EXPECT_EQ(screen->EventsText(), "story 7");
  EXPECT_EQ(story->GetState(), TControlTextVizualization::kFinished);
  EXPECT_TRUE(Line()->IsVisible());
  EXPECT_FALSE(screen->FindWidget("story/letters_group")->IsVisible());
  EXPECT_EQ(Letters()->GetCount(), 0);
  screen->Frame(100);
  EXPECT_EQ(screen->events.size(), 1u);
}

TEST_F(Presenters, AClickShowsTheWholeTextAtOnceThenReportsEight) {
  const Ref<TControlTextVizualization> story = Make();
  EXPECT_FALSE(Mouse(WM_LBUTTONUP, 5, 5));  // idle
  story->SetPropertyValue("InitVizualization", true);
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 5, 5));
  EXPECT_EQ(screen->EventsText(), "story 7");
  EXPECT_TRUE(Line()->IsVisible());
  EXPECT_EQ(Letters()->GetCount(), 0);
  EXPECT_TRUE(Mouse(WM_LBUTTONUP, 5, 5));
  EXPECT_EQ(screen->EventsText(), "story 7, story 8");
  // Restarting presents again.
  story->SetPropertyValue("InitVizualization", true);
  EXPECT_EQ(Letters()->GetCount(), 4);
  story->ExecuteCommand(3, nullptr);
  EXPECT_EQ(screen->EventsText(), "story 7, story 8, story 7");
  story->ExecuteCommand(3, nullptr);
  EXPECT_EQ(screen->events.size(), 3u);
}

TEST_F(Presenters, WithoutALettersGroupNothingIsPresented) {
  TDiagnosticsCollector diagnostics;
  Attach(
      R"(<widget type="control_text_vizualization" name="story" visible="yes"><widgets>)"
      R"(<widget type="text_widget" name="line" visible="yes" resourcename="font" width="50" height="10" text="A"/></widgets></widget>)");
  const Ref<TControlTextVizualization> story = Control<TControlTextVizualization>("story");
  story->SetPropertyValue("InitVizualization", 1);
  EXPECT_EQ(story->GetState(), TControlTextVizualization::kIdle);
  EXPECT_TRUE(Line()->IsVisible());
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
}

// --- sequence ---------------------------------------------------------------------

class Sequences : public TControlTest {
protected:
  Ref<TSequenceControl> Make() {
    Attach(
        R"(<widget type="SequenceControl" name="logos" visible="yes" mousestop="yes" width="100" height="100" step_duration_time="1000"><widgets>)"
        R"(<widget type="recording_cell" name="s0" visible="yes"/><widget type="recording_cell" name="s1" visible="yes"/>)"
        R"(<widget type="recording_cell" name="s2" visible="yes"/></widgets></widget>)");
    return Control<TSequenceControl>("logos");
  }
  // The names of the visible children, "-" for none.
  std::string Shown() {
    std::string out;
    for (const char* name : {"s0", "s1", "s2"}) {
      const Ref<IWidget> w = screen->FindWidget(std::string("logos/") + name);
      if (w->IsVisible()) out += name;
      EXPECT_EQ(w->IsPaused(), !w->IsVisible()) << name;
    }
    return out.empty() ? "-" : out;
  }
};

TEST_F(Sequences, OneChildAtATimeThenCodeTenEveryFrame) {
  const Ref<TSequenceControl> logos = Make();
  EXPECT_EQ(Shown(), "-");
  EXPECT_EQ(logos->GetCurrentStep(), -1);
  screen->Frame(0);
  EXPECT_EQ(Shown(), "s0");
  screen->Frame(999);
  EXPECT_EQ(Shown(), "s0");
  screen->Frame(1);
  EXPECT_EQ(Shown(), "s1");
  screen->Frame(1000);
  EXPECT_EQ(Shown(), "s2");
  EXPECT_TRUE(screen->events.empty());
  screen->Frame(1000);
  EXPECT_EQ(screen->EventsText(), "logos 10");
  EXPECT_EQ(Shown(), "s2");
  screen->Frame(10);
  EXPECT_EQ(screen->EventsText(), "logos 10, logos 10");
}

TEST_F(Sequences, APressOfAnyButtonShowsTheNextStep) {
  const Ref<TSequenceControl> logos = Make();
  screen->Frame(0);
  EXPECT_TRUE(Mouse(WM_RBUTTONDOWN, 5, 5));
  EXPECT_EQ(Shown(), "s1");
  screen->Frame(600);
  EXPECT_TRUE(Mouse(WM_LBUTTONDOWN, 5, 5));
  EXPECT_EQ(Shown(), "s2");
  screen->Frame(600);  // the clock started again with the step
  EXPECT_TRUE(screen->events.empty());
  EXPECT_TRUE(Mouse(WM_MBUTTONDOWN, 5, 5));
  EXPECT_EQ(screen->EventsText(), "logos 10");
}

TEST_F(Sequences, AShownStepIsRestarted) {
  const Ref<TSequenceControl> logos = Make();
  screen->Frame(0);
  screen->Frame(500);
  const Ref<IWidget> s0 = screen->FindWidget("logos/s0");
  EXPECT_EQ(VarToInt(s0->GetPropertyValue("currenttime")), 500);
  logos->ShowStep(1);
  logos->ShowStep(0);
  EXPECT_EQ(VarToInt(s0->GetPropertyValue("currenttime")), 0);
}

}  // namespace
}  // namespace qv
