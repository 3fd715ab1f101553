#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "game/ZinLevel.h"
#include "game/ZinLevelCollection.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

constexpr const char* kLevel =
    R"(<level name="Meadow" Flowercolors="11,23,35" time="90" shift_x="4" shift_y="-2"
  Flowercolor_default="-1" Celltype_default="1" Cellcolor_default="-1" cols="4" rows="3">
  <cells_def>
    <cell_def col="0" row="0" Celltype="-1"/>
    <cell_def col="1" row="2" Celltype="2" Cellcolor="1" Flowercolor="0"/>
    <cell_def col="2" row="1"/>
    <cell_def col="3" row="2" Celltype="x" Flowercolor="-10"/>
    <cell_def col="4" row="0" Celltype="3"/>
    <cell_def col="1" row="2" Celltype="3"/>
  </cells_def>
</level>)";

Ref<TZinLevel> Load(const std::string& xml) {
  Ref<TZinLevel> level = MakeRef<TZinLevel>();
  level->Load(LoadStorageText(xml));
  return level;
}

TEST(ZinLevelLoad, ReadsFieldsAndCells) {
  const Ref<TZinLevel> levelRef = Load(kLevel);
  const TZinLevel& level = *levelRef;
  EXPECT_EQ(level.GetName(), "Meadow");
  EXPECT_EQ(level.GetFlowerColors(), "11,23,35");
  EXPECT_EQ(level.GetTime(), 90);
  EXPECT_EQ(level.GetShiftX(), 4);
  EXPECT_EQ(level.GetShiftY(), -2);
  EXPECT_EQ(level.GetCols(), 4);
  EXPECT_EQ(level.GetRows(), 3);
  EXPECT_EQ(level.GetCell(0, 0), (TCellDef{-1, -1, -1}));
  // A later definition of the same cell wins; missing values take the defaults.
  EXPECT_EQ(level.GetCell(1, 2), (TCellDef{-1, 3, -1}));
  EXPECT_EQ(level.GetCell(2, 1), (TCellDef{-1, 1, -1}));
  EXPECT_EQ(level.GetCell(3, 2), (TCellDef{-10, 1, -1}));
  EXPECT_EQ(level.GetCell(3, 0), (TCellDef{-1, 1, -1}));  // col 4 is outside: ignored
  EXPECT_EQ(level.GetCell(4, 0), (TCellDef{-1, -1, -1}));
}

TEST(ZinLevelLoad, MissingOrMalformedDefaultsAbort) {
  EXPECT_THROW(Load(R"(<level Celltype_default="1" Cellcolor_default="-1" cols="2" rows="2"/>)"),
               ELevelError);
  EXPECT_THROW(Load(R"(<level Flowercolor_default="a" Celltype_default="1" Cellcolor_default="-1"/>)"),
               ELevelError);
  EXPECT_THROW(
      Load(R"(<level Flowercolor_default="1" Celltype_default="1" Cellcolor_default="99999999999"/>)"),
      ELevelError);
  try {
    Load(R"(<level Flowercolor_default="1" Celltype_default="one" Cellcolor_default="-1"/>)");
    FAIL();
  } catch (const ELevelError& e) {
    EXPECT_NE(std::string(e.what()).find("Celltype_default"), std::string::npos);
  }
}

TEST(ZinLevelLoad, HostileSizes) {
  const std::string head = R"(<level Flowercolor_default="-1" Celltype_default="1" Cellcolor_default="-1" )";
  EXPECT_THROW(Load(head + R"(cols="100000" rows="100000"/>)"), ELevelError);
  EXPECT_THROW(Load(head + R"(cols="65" rows="3"/>)"), ELevelError);
  const Ref<TZinLevel> negativeRef = Load(head + R"(cols="-5" rows="7" time="soon"/>)");
  const TZinLevel& negative = *negativeRef;
  EXPECT_EQ(negative.GetCols(), 0);
  EXPECT_EQ(negative.GetTime(), 0);
  const Ref<TZinLevel> absentRef = Load(head + R"(cols="3"/>)");
  const TZinLevel& absent = *absentRef;
  EXPECT_EQ(absent.GetRows(), 0);
  const Ref<TZinLevel> largestRef = Load(head + R"(cols="64" rows="64"/>)");
  const TZinLevel& largest = *largestRef;
  EXPECT_EQ(largest.GetCols(), 64);
}

TEST(ZinLevelSave, SkipsDefaultCellsAndRoundTrips) {
  const Ref<TZinLevel> levelRef = Load(kLevel);
  TZinLevel& level = *levelRef;
  level.SetCell(2, 2, {-1, 1, -1});  // equal to the defaults
  const StorageRef out = NewStorage("level");
  level.Save(out);
  const StorageRef list = out->GetChild("cells_def", 0);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->GetChildCount("cell_def"), 3);
  const StorageRef first = list->GetChild("cell_def", 0);
  EXPECT_EQ(ReadString(first, "Celltype", "none"), "-1");
  EXPECT_EQ(ReadString(first, "Flowercolor", "none"), "none");
  EXPECT_EQ(ReadString(out, "Flowercolor_default", ""), "-1");
  const Ref<TZinLevel> againRef = Load(AsRoot(out)->SaveToText());
  const TZinLevel& again = *againRef;
  EXPECT_EQ(again.GetName(), "Meadow");
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 3; ++r) EXPECT_EQ(again.GetCell(c, r), level.GetCell(c, r)) << c << "," << r;
}

TEST(ZinLevelResize, KeepsCellsAndFillsDefaults) {
  const Ref<TZinLevel> levelRef = MakeRef<TZinLevel>();
  TZinLevel& level = *levelRef;
  level.SetDefaultKind(0);
  level.Resize(2, 2);
  level.SetCell(1, 1, {5, 2, 3});
  level.Resize(3, 4);
  EXPECT_EQ(level.GetCell(1, 1), (TCellDef{5, 2, 3}));
  EXPECT_EQ(level.GetCell(2, 3), (TCellDef{-1, 0, -1}));
  level.Resize(1000, -3);
  EXPECT_EQ(level.GetCols(), 64);
  EXPECT_EQ(level.GetRows(), 0);
}

TEST(ZinLevelCollection, LooksUpEntriesAndLoadsLevels) {
  test::TempDir dir;
  dir.Write("levels/one.xml", kLevel);
  dir.Write("levels/bad.xml", R"(<level Celltype_default="1"/>)");
  test::ScopedCurrentDir cd(dir.Path());
  const Ref<TZinLevelCollection> listRef = MakeRef<TZinLevelCollection>();
  TZinLevelCollection& list = *listRef;
  list.Load(LoadStorageText(R"(<levels>
      <level level="1" filename="levels\one.xml" LevelName="meadow" DisplayName="The meadow" artifact="4" history="2"/>
      <level level="2" filename="levels\bad.xml"/>
      <level level="3" filename="levels\missing.xml"/>
    </levels>)"));
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.GetArtifact(1), 4);
  EXPECT_EQ(list.GetHistory(1), 2);
  EXPECT_EQ(list.GetDisplayName(1), "The meadow");
  EXPECT_EQ(list.GetLevelName(1), "meadow");
  const auto level = list.LoadLevel(1);
  ASSERT_TRUE(level);
  EXPECT_EQ(level->GetName(), "Meadow");
  EXPECT_FALSE(list.LoadLevel(2));
  EXPECT_FALSE(list.LoadLevel(3));
  // A number not in the list.
  EXPECT_FALSE(list.Find(7));
  EXPECT_EQ(list.GetArtifact(7), 0);
  EXPECT_EQ(list.GetDisplayName(7), "");
  EXPECT_FALSE(list.LoadLevel(7));
}

TEST(ZinLevelCollection, SavedListLoadsAgain) {
  const Ref<TZinLevelCollection> listRef = MakeRef<TZinLevelCollection>();
  TZinLevelCollection& list = *listRef;
  list.Load(LoadStorageText(
      R"(<levels><level level="3" filename="a.xml" DisplayName="Three" artifact="2"/><level level="5"/></levels>)"));
  const StorageRef out = NewStorage("levels");
  list.Save(out);
  const Ref<TZinLevelCollection> againRef = MakeRef<TZinLevelCollection>();
  TZinLevelCollection& again = *againRef;
  again.Load(out);
  ASSERT_EQ(again.Count(), 2);
  EXPECT_EQ(again.GetDisplayName(3), "Three");
  EXPECT_EQ(again.GetArtifact(3), 2);
  EXPECT_EQ(again.Find(3)->GetFileName(), "a.xml");
  EXPECT_TRUE(again.Find(5));
}

TEST(ZinLevelCollection, ASecondEntryForALevelIsReported) {
  TDiagnosticsCollector diagnostics;
  const Ref<TZinLevelCollection> listRef = MakeRef<TZinLevelCollection>();
  TZinLevelCollection& list = *listRef;
  list.Load(LoadStorageText(
      R"(<levels><level level="2" filename="a.xml"/><level level="2" filename="b.xml"/></levels>)"));
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Find(2)->GetFileName(), "a.xml");
  EXPECT_TRUE(diagnostics.Has("level 2"));
}

TEST(ZinLevelCollection, NonIntegerLevelAbortsTheList) {
  const Ref<TZinLevelCollection> listRef = MakeRef<TZinLevelCollection>();
  TZinLevelCollection& list = *listRef;
  EXPECT_THROW(list.Load(LoadStorageText(R"(<levels><level level="1"/><level level="two"/></levels>)")),
               ELevelError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(ZinLevelSave, WritesEveryLevelKeyInItsOrder) {
  const Ref<TZinLevel> levelRef =
      Load(R"(<level name="A" Flowercolors="11" Flowercolor_default="-1" Celltype_default="1"
      Cellcolor_default="-1" cols="1" rows="2"/>)");
  TZinLevel& level = *levelRef;
  const StorageRef out = NewStorage("level");
  level.Save(out);
  EXPECT_EQ(AsRoot(out)->SaveToText(),
            R"(<level name="A" time="0" Flowercolors="11" shift_x="0" shift_y="0" Flowercolor_default="-1" )"
            R"(Celltype_default="1" Cellcolor_default="-1" cols="1" rows="2"><cells_def/></level>)");
}

TEST(ZinLevelLoad, AFailedLoadLeavesTheLevelAsItWas) {
  const Ref<TZinLevel> levelRef = Load(kLevel);
  TZinLevel& level = *levelRef;
  const std::string head = R"(<level name="Other" time="5" Flowercolor_default="2" Celltype_default="0" )";
  for (const std::string& bad :
       {head + R"(Cellcolor_default="x" cols="2" rows="2"/>)",
        head + R"(Cellcolor_default="1" cols="2" rows="65"/>)", head + R"(cols="2" rows="2"/>)"}) {
    EXPECT_THROW(level.Load(LoadStorageText(bad)), ELevelError) << bad;
    EXPECT_EQ(level.GetName(), "Meadow");
    EXPECT_EQ(level.GetTime(), 90);
    EXPECT_EQ(level.GetDefaultFlower(), -1);
    EXPECT_EQ(level.GetCols(), 4);
    EXPECT_EQ(level.GetCell(1, 2), (TCellDef{-1, 3, -1}));
  }
  try {
    level.Load(LoadStorageText(head + R"(Cellcolor_default="1" cols="70" rows="2"/>)"));
    FAIL();
  } catch (const ELevelError& e) {
    EXPECT_STREQ(e.what(), "\"cols\" is 70, more than the largest board (64)");
  }
}

TEST(ZinLevelCollection, EntriesSaveTheirKeysInOrder) {
  const Ref<TZinLevelCollection> listRef = MakeRef<TZinLevelCollection>();
  TZinLevelCollection& list = *listRef;
  const std::string text =
      R"(<levels><level level="3" filename="a.xml" LevelName="m" DisplayName="Three" artifact="2" history="1"/>)"
      R"(<level level="-5"/></levels>)";
  list.Load(LoadStorageText(text));
  EXPECT_TRUE(list.Find(-5));
  const StorageRef out = NewStorage("levels");
  list.Save(out);
  EXPECT_EQ(AsRoot(out)->SaveToText(), text);
  try {
    list.Load(LoadStorageText(R"(<levels><level level="4294967296"/></levels>)"));
    FAIL();
  } catch (const ELevelError& e) {
    EXPECT_STREQ(e.what(), "level list entry \"level\" is not an integer: '4294967296'");
  }
}

}  // namespace
}  // namespace qv
