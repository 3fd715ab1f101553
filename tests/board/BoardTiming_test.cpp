// The turn cycle on screen, frame by frame on a fixed 10 ms step: when the
// swap, the lines of a wave and the falls show each change, and that the
// cells show the model whenever the board rests.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "board/BoardTestSupport.h"

namespace qv::test {
namespace {

// Two columns, every flower a fixed code (beyond the palette's end, so the
// code itself): swapping (0,2) and (1,2) makes the line (1,2..4) at once
// and the line (0,0..2) second. Four cells wait for a colour that never
// comes, and swapping (0,4) and (0,5) stays possible, so the level goes on.
//   column 0: 52 52 51 53 60 61 60 60      column 1: 56 57 52 51 51 58 62 63
constexpr const char* kTwoLines = R"(<level name="t" Flowercolors="11,22,33,44" shift_x="100" shift_y="20"
    cols="2" rows="8" Celltype_default="1" Flowercolor_default="-1" Cellcolor_default="-1"><cells_def>
  <cell_def col="0" row="0" Flowercolor="52"/><cell_def col="0" row="1" Flowercolor="52"/>
  <cell_def col="0" row="2" Flowercolor="51"/><cell_def col="0" row="3" Flowercolor="53" Cellcolor="77"/>
  <cell_def col="0" row="4" Flowercolor="60" Cellcolor="77"/><cell_def col="0" row="5" Flowercolor="61" Cellcolor="77"/>
  <cell_def col="0" row="6" Flowercolor="60"/><cell_def col="0" row="7" Flowercolor="60"/>
  <cell_def col="1" row="6" Flowercolor="62"/><cell_def col="1" row="7" Flowercolor="63"/>
  <cell_def col="1" row="0" Flowercolor="56"/><cell_def col="1" row="1" Flowercolor="57"/>
  <cell_def col="1" row="2" Flowercolor="52"/><cell_def col="1" row="3" Flowercolor="51"/>
  <cell_def col="1" row="4" Flowercolor="51"/><cell_def col="1" row="5" Flowercolor="58" Cellcolor="77"/>
</cells_def></level>)";

std::vector<int32_t> Column(const TBoardModel& model, int col) {
  std::vector<int32_t> flowers;
  for (int r = 0; r < model.Rows(); ++r) flowers.push_back(model.Cell(col, r).flower);
  return flowers;
}

TEST_F(TBoardTest, ASwapThatMakesNoLineIsSwappedBackUncounted) {
  Start(kTwoLines);
  ASSERT_EQ(State(), kStateWaiting);
  EXPECT_TRUE(AtRest());
  Press(0, 3);
  Press(0, 4);
  ASSERT_EQ(State(), kStateSwap);
  // 260 ms there, 260 ms back: the frame on which each state begins.
  std::map<int, int> begins;
  for (int frame = 1; frame <= 200 && State() != kStateWaiting; ++frame) {
    Frame();
    begins.emplace(State(), frame);
  }
  EXPECT_EQ(begins[kStateSwapBack], 26);
  EXPECT_EQ(begins[kStateWaiting], 52);
  EXPECT_EQ(board->Model().Counter(kCounterMoves), 0);
  EXPECT_EQ(Column(board->Model(), 0), (std::vector<int32_t>{52, 52, 51, 53, 60, 61, 60, 60}));
  EXPECT_TRUE(AtRest());
}

TEST_F(TBoardTest, LinesStartApartAndFallsArriveOnTime) {
  Start(kTwoLines);
  ASSERT_EQ(State(), kStateWaiting);
  Press(0, 2);
  Press(1, 2);
  ASSERT_EQ(State(), kStateSwap);

  // Frame numbers (10 ms each from the press) of what the cells show.
  int frame = 0;
  int firstLine = -1, secondLine = -1;  // the flower of (1,4), then of (0,2), is removed
  int fallsSeen = -1;
  std::map<std::string, int> started, arrived;
  // Falls clock: a falling flower of 3 rows arrives after 3 * 60 * 4 ms;
  // the j-th of 3 new flowers (rows 0, 1, 2) starts after (3 - j) * 350 ms
  // and arrives a further j * 240 ms later.
  const std::map<std::string, std::pair<int, int>> expected = {
      {"fall 1,3", {0, 720}}, {"fall 1,4", {0, 720}},  {"new 0,0", {700, 940}}, {"new 0,1", {350, 830}},
      {"new 0,2", {0, 720}},  {"new 1,0", {700, 940}}, {"new 1,1", {350, 830}}, {"new 1,2", {0, 720}}};
  while (frame < 600) {
    Frame();
    ++frame;
    if (firstLine < 0 && Cell(1, 4).GetFlower() == kNoColour) firstLine = frame;
    if (secondLine < 0 && Cell(0, 2).GetFlower() == kNoColour) secondLine = frame;
    const Ref<TAbstractWidget> falls = Scenario("falls");
    if (falls && fallsSeen < 0) fallsSeen = frame;
    if (fallsSeen < 0) continue;
    // The falls' own clock runs with the frames; it starts on the frame
    // after the one that made it, and its last frame is the one it ends in.
    const int t = (frame - fallsSeen) * kStep;
    if (falls) {
      EXPECT_EQ(falls->GetCurrentTime(), t);
    }
    if (t == 0) continue;
    for (const auto& [name, times] : expected) {
      const int col = name[name.size() - 3] - '0', row = name[name.size() - 1] - '0';
      const bool hasStarted = name[0] == 'f' || Cell(col, row).GetFlower() != kNoColour;
      const TPoint offset = FlowerOffset(col, row);
      if (hasStarted && !started.count(name)) started[name] = t;
      if (hasStarted && offset.x == 0 && offset.y == 0 && !arrived.count(name)) arrived[name] = t;
      if (hasStarted && t < times.second) {
        EXPECT_LT(offset.y, 0) << name << " arrived early, at " << t << " ms";
      }
    }
    // Once every new flower has started, the cells show the model by the
    // scenario's own doing, before it ends and the board syncs them.
    if (t == 930) {
      EXPECT_TRUE(board->CellWidgetsAgree());
    }
    if (!falls) break;
  }
  // The second line of the wave starts 150 ms after the first.
  ASSERT_GT(firstLine, 0);
  EXPECT_EQ(secondLine - firstLine, 15);
  ASSERT_GT(fallsSeen, 0);
  for (const auto& [name, times] : expected) {
    EXPECT_EQ(started[name], name[0] == 'f' ? kStep : std::max(kStep, times.first)) << name;
    EXPECT_EQ(arrived[name], times.second) << name;
  }
  // The falling flowers are the column's own, and the move is counted once
  // the cascade has come to rest.
  for (int i = 0; i < 100 && State() != kStateWaiting; ++i) Frame();
  ASSERT_EQ(State(), kStateWaiting);
  EXPECT_EQ(board->Model().Cell(1, 3).flower, 56);
  EXPECT_EQ(board->Model().Cell(1, 4).flower, 57);
  EXPECT_EQ(board->Model().Counter(kCounterMoves), 1);
  EXPECT_TRUE(AtRest());
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

// A hole in row 1 of column 0: the line (0,2..4) made by swapping (0,2)
// and (1,2) is refilled from the hole, and the flower above it stays.
//   column 0: 70 -- 52 51 51 60 61 62      column 1: 71 72 51 73 74 75 76 77
constexpr const char* kBelowAHole = R"(<level name="t" Flowercolors="11,22,33,44" shift_x="100" shift_y="20"
    cols="2" rows="8" Celltype_default="1" Flowercolor_default="-1" Cellcolor_default="77"><cells_def>
  <cell_def col="0" row="0" Flowercolor="70"/><cell_def col="0" row="1" Celltype="-1"/>
  <cell_def col="0" row="2" Flowercolor="52"/><cell_def col="0" row="3" Flowercolor="51"/>
  <cell_def col="0" row="4" Flowercolor="51"/><cell_def col="0" row="5" Flowercolor="60"/>
  <cell_def col="0" row="6" Flowercolor="61"/><cell_def col="0" row="7" Flowercolor="62"/>
  <cell_def col="1" row="0" Flowercolor="71"/><cell_def col="1" row="1" Flowercolor="72"/>
  <cell_def col="1" row="2" Flowercolor="51"/><cell_def col="1" row="3" Flowercolor="73"/>
  <cell_def col="1" row="4" Flowercolor="74"/><cell_def col="1" row="5" Flowercolor="75"/>
  <cell_def col="1" row="6" Flowercolor="76"/><cell_def col="1" row="7" Flowercolor="77"/>
</cells_def></level>)";

TEST_F(TBoardTest, NewFlowersBelowAHoleDropFromTheHole) {
  Start(kBelowAHole);
  ASSERT_EQ(State(), kStateWaiting);
  Press(0, 2);
  Press(1, 2);
  int fallsSeen = -1;
  // Row r starts from row 1, (r - 1) rows up: its start delay and travel.
  const std::map<int, std::pair<int, int>> rows = {{2, {700, 240}}, {3, {350, 480}}, {4, {0, 720}}};
  std::map<int, int> started;
  for (int frame = 1; frame <= 600; ++frame) {
    Frame();
    const Ref<TAbstractWidget> falls = Scenario("falls");
    if (falls && fallsSeen < 0) fallsSeen = frame;
    if (fallsSeen < 0) continue;
    const int t = (frame - fallsSeen) * kStep;
    EXPECT_EQ(FlowerOffset(0, 0).y, 0);
    for (const auto& [row, times] : rows) {
      const bool hasStarted = Cell(0, row).GetFlower() != kNoColour;
      EXPECT_EQ(hasStarted, t > 0 && t >= times.first) << "row " << row << " at " << t << " ms";
      if (!hasStarted || started.count(row)) continue;
      started[row] = t;
      // Drawn in the hole's row, less the first frame's 2.5 pixels per 10 ms.
      const int rise = (row - 1) * kCellHeight;
      EXPECT_LE(FlowerOffset(0, row).y, -rise + 3) << "row " << row;
      EXPECT_GE(FlowerOffset(0, row).y, -rise) << "row " << row;
    }
    if (!falls) {
      EXPECT_EQ(t, 940);
      break;
    }
  }
  EXPECT_EQ(started.size(), 3u);
  for (int i = 0; i < 100 && State() != kStateWaiting; ++i) Frame();
  EXPECT_EQ(board->Model().Cell(0, 0).flower, 70);
  EXPECT_TRUE(AtRest());
}

}  // namespace
}  // namespace qv::test
