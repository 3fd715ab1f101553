// The fixture of the board scenarios' tests that need no board: the widget,
// function, particle and board kinds registered, a fake engine
// and screen, and a clock that advances a widget by fixed steps.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board/BoardRegistration.h"
#include "board/BoardScenarioTypes.h"
#include "board/GameBoardControl.h"
#include "core/Random.h"
#include "core/Variant.h"
#include "game/ZinLevel.h"
#include "particles/ParticlesTypes.h"
#include "widgets/WidgetTestSupport.h"

namespace qv::test {

class TScenarioTest : public TWidgetTest {
protected:
  void SetUp() override {
    TWidgetTest::SetUp();
    RegisterParticlesTypes();
    RegisterBoardTypes();  // the board's own kinds and the scenarios
  }

  // One frame as the screen runs it: the time step, then the dirty pass
  // (which lets every widget take the next step).
  static void Frame(IWidget& widget, int step) {
    widget.Advance(step);
    widget.UpdateDirtyRegion(false, false);
  }
  // Frames of `step` until `until` milliseconds of frames have passed since
  // the test began (the clock the test keeps in `now`).
  void RunTo(IWidget& widget, int until, int step) {
    while (now < until) {
      Frame(widget, step);
      now += step;
    }
  }

  static long long Int(IWidget& widget, const std::string& name) {
    return VarToInt(widget.GetPropertyValue(name), -9999);
  }

  int now = 0;
};

// A board of the level start, the hint, the level end and the flights: the
// factories its cells and flowers need and, from each test, those of the
// scenarios it runs; its groups at the origin, so the board's child space
// is the scenario group's.
class TBoardScenarioTest : public TScenarioTest {
protected:
  void SetUp() override {
    TScenarioTest::SetUp();
    SetRandomSeed(1234);
  }

  // The board with these extra factories (widgetfactory elements).
  TGameBoardControl& MakeBoard(const std::string& factories) {
    const Ref<IWidget> root = Attach(
        R"(<widget type="GameBoardControl" name="gameboard" visible="yes" width="640" height="480"><widgets>)"
        R"(<widget type="group_widget" name="mat_group" visible="yes"/>)"
        R"(<widget type="group_widget" name="scenaries_group" visible="yes" z="100"/>)"
        R"(</widgets><widgetfactories>)"
        R"(<widgetfactory type="WidgetFactory" name="MatCell"><widgetstring>)"
        R"(<widget type="rect_widget" name="mat_%name%" visible="yes" anchor_left="-24" anchor_top="-24" width="48" height="48"/>)"
        R"(</widgetstring></widgetfactory>)"
        R"(<widgetfactory type="WidgetFactory" name="CellTypeNormal"><widgetstring>)"
        R"(<widget type="rect_widget" name="background" visible="yes" anchor_left="-24" anchor_top="-21" width="48" height="42"/>)"
        R"(</widgetstring></widgetfactory>)"
        R"(<widgetfactory type="WidgetFactory" name="CellTypeComplete"><widgetstring>)"
        R"(<widget type="rect_widget" name="background" visible="yes" anchor_left="-24" anchor_top="-21" width="48" height="42"/>)"
        R"(</widgetstring></widgetfactory>)"
        R"(<widgetfactory type="WidgetFactory" name="FlowerColor"><widgetstring>)"
        R"(<widget type="FlowerWidget" name="flower" visible="yes" Flowercolor="%Flowercolor%"><widgets>)"
        R"(<widget type="rect_widget" name="picture" visible="yes" anchor_left="-22" anchor_top="-22" width="44" height="44"/>)"
        R"(</widgets></widget></widgetstring></widgetfactory>)"
        R"(<widgetfactory type="WidgetFactory" name="Artifact"><widgetstring>)"
        R"(<widget type="FlowerWidget" name="flower" visible="yes" Flowercolor="%Flowercolor%"><widgets>)"
        R"(<widget type="rect_widget" name="picture" visible="yes" anchor_left="-24" anchor_top="-24" width="48" height="48"/>)"
        R"(</widgets></widget></widgetstring></widgetfactory>)"
        R"(<widgetfactory type="WidgetFactory" name="move_score"><widgetstring>)"
        R"(<widget type="ZintaraFlyWidget" name="%name%" visible="yes" x1="%x1%" y1="%y1%" x2="%x2%" y2="%y2%" start_trans_level="%start_trans_level%" end_trans_level="%end_trans_level%" lifetime="%lifetime%" delay="%delay%"><widgets>)"
        R"(<widget type="text_widget" name="text" visible="yes" anchor_left="-60" anchor_top="-12" width="120" height="24" text="%text_utf8%"/>)"
        R"(</widgets></widget></widgetstring></widgetfactory>)" +
        factories + R"(</widgetfactories><sounds>)" + BoardSounds() + R"(</sounds></widget>)");
    board_ = dynamic_cast<TGameBoardControl*>(root.get());
    EXPECT_TRUE(board_);
    return *board_;
  }

  // The board's sounds the scenarios play (the game keeps them there).
  static std::string BoardSounds() {
    std::string out;
    for (const char* name : {"sound_startgame1", "sound_startgame2", "sound_level_win1", "sound_level_win2",
                             "sound_level_failed", "sound_time_bonus", "sound_shine2", "sound_hint_swap"})
      out += std::string(R"(<sound name=")") + name + R"(" resourcename=")" + name + R"("/>)";
    return out;
  }
  // How often the engine was asked to play the sound.
  int Played(const std::string& name) const {
    int count = 0;
    for (const std::string& line : engine->played) count += line.rfind(name + " ", 0) == 0;
    return count;
  }

  // A level of `cols` x `rows` cells of one kind, each waiting for the
  // first colour of five, 120 s.
  static Ref<TZinLevel> Level(int cols, int rows, int kind = kCellNormal) {
    Ref<TZinLevel> made = MakeRef<TZinLevel>();
    TZinLevel& level = *made;
    level.SetFlowerColors("11,23,35,47,52");
    level.SetDefaultKind(kind);
    level.SetDefaultFlower(-1);
    level.SetDefaultColour(0);
    level.SetTime(120);
    level.Resize(cols, rows);
    return made;
  }

  // The scenario group's child of that name.
  Ref<IWidget> Scenario(const std::string& name) {
    IWidget* group = board_ ? board_->ScenariesGroup() : nullptr;
    return group ? group->GetChild(name) : nullptr;
  }

  TGameBoardControl* board_ = nullptr;
};

}  // namespace qv::test
