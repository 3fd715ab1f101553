// A board on a stand-in screen for the board tests: the board control built
// from a widget string with the turn cycle's scenario factories (as the
// game's board screen has them), a level from a storage text, and frames
// of a fixed step.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "board/BoardRegistration.h"
#include "board/GameBoardControl.h"
#include "board/LevelManager.h"
#include "controls/ControlTestSupport.h"
#include "core/Random.h"
#include "game/ZinLevel.h"
#include "particles/ParticlesTypes.h"
#include "storage/XMLStorage.h"
#include "widgets/AbstractWidget.h"

namespace qv::test {

inline std::string BoardFactory(const std::string& name, const std::string& widget) {
  return R"(<widgetfactory type="WidgetFactory" name=")" + name + R"("><widgetstring>)" + widget +
         "</widgetstring></widgetfactory>";
}

// The board with plain pictures and the game's scenario widget strings.
inline std::string BoardXml() {
  const std::string group = R"(<widget type="group_widget" name="%s" visible="yes"/>)";
  const auto plain = [&](const std::string& name) {
    std::string text = group;
    text.replace(text.find("%s"), 2, name);
    return text;
  };
  return R"(<widget type="GameBoardControl" name="gameboard" visible="yes" mousestop="yes" enabled="yes" )"
         R"(anchor_left="0" anchor_top="0" width="640" height="480"><widgets>)"
         R"(<widget type="group_widget" name="mat_group" visible="yes" z="0"/>)"
         R"(<widget type="group_widget" name="scenaries_group" visible="yes" z="100"/></widgets>)"
         "<widgetfactories>" +
         BoardFactory("MatCell", plain("mat_%name%")) +
         BoardFactory("CellTypeComplete", plain("background")) +
         BoardFactory("CellTypeNormal", plain("background")) +
         BoardFactory("CellTypeFlowerContur", plain("contour")) +
         BoardFactory("CellTypeDouble", plain("lock")) + BoardFactory("CellTypeTriple", plain("lock")) +
         BoardFactory(
             "FlowerColor",
             R"(<widget type="FlowerWidget" name="flower" visible="yes" Flowercolor="%Flowercolor%"/>)") +
         BoardFactory(
             "Artifact",
             R"(<widget type="FlowerWidget" name="flower" visible="yes" Flowercolor="%Flowercolor%"/>)") +
         BoardFactory("scenario_exchange_Flowers",
                      R"(<widget type="ScenarioExchangeFlowers" name="exchange" visible="yes" )"
                      R"(RefCells="%RefCells%" duration="260"/>)") +
         BoardFactory("scenario_explosion",
                      R"(<widget type="ScenarioExplosion" name="explosion" visible="yes"/>)") +
         BoardFactory("scenario_combination_explosion",
                      R"(<widget type="ScenarioCombinationExplosion" name="line_%name%" visible="yes" )"
                      R"(RefCells="%RefCells%" explosion_num="%explosion_num%"/>)") +
         BoardFactory("scenario_falls", R"(<widget type="ScenarioFalls" name="falls" visible="yes"/>)") +
         "</widgetfactories></widget>";
}

class TBoardTest : public TControlTest {
protected:
  static constexpr int kStep = 10;

  void SetUp() override {
    TControlTest::SetUp();
    RegisterParticlesTypes();
    RegisterBoardTypes();
    SetRandomSeed(1);
    Attach(BoardXml());
    board = Control<TGameBoardControl>("gameboard");
  }
  void TearDown() override {
    board = nullptr;
    TControlTest::TearDown();
  }

  // Loads the level text and starts it in the mode at difficulty 1.
  void Start(const std::string& levelXml, const std::string& mode = "relax") {
    auto level = MakeRef<TZinLevel>();
    const StorageRef root = LoadStorageText(levelXml);
    ASSERT_TRUE(root) << levelXml;
    level->Load(root);
    board->StartLoadedLevel(level, 1, mode, false, 1);
    ASSERT_TRUE(Manager());
  }
  TBaseLevelManager* Manager() const { return dynamic_cast<TBaseLevelManager*>(board->GetLevelManager()); }
  int State() const { return Manager() ? Manager()->GetState() : -1; }
  void Frame() { screen->Frame(kStep); }
  // A press (down and up) at the cell's centre.
  void Press(int col, int row) {
    const TPoint at = board->CellCentre(col, row);
    board->OnMouseDown(at, 0, 0);
    board->OnMouseUp(at, 0, 0);
  }
  TCellWidget& Cell(int col, int row) {
    TCellWidget* cell = board->CellWidget(col, row);
    EXPECT_TRUE(cell) << col << "," << row;
    return *cell;
  }
  // Where the cell's flower picture is drawn from the cell's centre.
  TPoint FlowerOffset(int col, int row) {
    const Ref<IWidget> flower = Cell(col, row).GetFlowerWidget();
    if (!flower) return {-9999, -9999};
    return {static_cast<int>(std::lround(flower->GetAnchorLeft())),
            static_cast<int>(std::lround(flower->GetAnchorTop()))};
  }
  // The live scenario of that name in the scenario group.
  Ref<TAbstractWidget> Scenario(const std::string& name) {
    IWidgetCollection* children = board->ScenariesGroup()->GetChildren();
    for (int i = 0; children && i < children->GetCount(); ++i) {
      const Ref<IWidget> child = children->GetWidget(i);
      if (child && !child->IsDead() && child->GetName() == name) return Query<TAbstractWidget>(child);
    }
    return nullptr;
  }
  // At rest the cells show the model: kinds, colours and flowers, every
  // flower picture of its cell's code and drawn on its cell.
  ::testing::AssertionResult AtRest() {
    if (!board->CellWidgetsAgree()) return ::testing::AssertionFailure() << "the cells differ from the model";
    for (int c = 0; c < board->Model().Cols(); ++c)
      for (int r = 0; r < board->Model().Rows(); ++r) {
        TCellWidget* cell = board->CellWidget(c, r);
        if (!cell) continue;
        const Ref<IWidget> flower = cell->GetFlowerWidget();
        const int32_t code = board->Model().Cell(c, r).flower;
        if (code == kNoColour) {
          if (flower)
            return ::testing::AssertionFailure() << "a flower picture in the empty cell " << c << "," << r;
          continue;
        }
        auto* picture = dynamic_cast<TFlowerWidget*>(flower.get());
        if (!picture || picture->GetFlowerCode() != code)
          return ::testing::AssertionFailure()
                 << "cell " << c << "," << r << " shows another flower than " << code;
        if (flower->GetAnchorLeft() != 0 || flower->GetAnchorTop() != 0)
          return ::testing::AssertionFailure()
                 << "the flower of " << c << "," << r << " is drawn off its cell";
      }
    return ::testing::AssertionSuccess();
  }

  Ref<TGameBoardControl> board;
};

}  // namespace qv::test
