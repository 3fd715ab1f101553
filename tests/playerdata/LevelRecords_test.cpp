#include "playerdata/LevelRecords.h"

#include <gtest/gtest.h>

#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "playerdata/PlayerDataTestSupport.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

Ref<TParamCollection> Values(const std::string& creation) {
  return CreateWithParams<TParamCollection>(creation);
}

std::string StoredText(TLevelRecords& records) {
  const StorageRef root = NewStorage("highscores");
  records.SaveToStorage(root);
  return AsRoot(root)->SaveToText();
}

const char kEmpty[] =
    "<highscores><levelrecordtables><levelrecordtable name=\"relax\"><levelrecords/></levelrecordtable>"
    "<levelrecordtable name=\"classic\"><levelrecords/></levelrecordtable>"
    "<levelrecordtable "
    "name=\"duel_computer\"><levelrecords/></levelrecordtable></levelrecordtables></highscores>";

const char kOneRecord[] =
    "<highscores><levelrecordtables><levelrecordtable name=\"relax\"><levelrecords/></levelrecordtable>"
    "<levelrecordtable name=\"classic\"><levelrecords><levelrecord name=\"7\">"
    "<param name=\"Score\" value=\"900\"/><param name=\"Time\" value=\"61\"/><param name=\"Stars\" "
    "value=\"2\"/>"
    "</levelrecord></levelrecords></levelrecordtable>"
    "<levelrecordtable "
    "name=\"duel_computer\"><levelrecords/></levelrecordtable></levelrecordtables></highscores>";

TEST(LevelRecords, TheTemplateMakesTheThreeModeTables) {
  const auto records = TLevelRecords::CreateStandard();
  ASSERT_TRUE(records);
  TLevelRecordTableCollection& tables = records->GetLevelTables();
  ASSERT_EQ(tables.Count(), 3);
  EXPECT_EQ(tables.ItemAs<TLevelRecordTable>(0)->GetName(), "relax");
  EXPECT_EQ(tables.ItemAs<TLevelRecordTable>(1)->GetName(), "classic");
  EXPECT_EQ(tables.ItemAs<TLevelRecordTable>(2)->GetName(), "duel_computer");
  EXPECT_EQ(StoredText(*records), kEmpty);
}

TEST(LevelRecords, SetRecordTwiceKeepsTheUnionLaterValuesWinning) {
  const auto records = TLevelRecords::CreateStandard();
  records->SetLevelRecord("classic", 7, *Values("Score=500\\Time=80"));
  records->SetLevelRecord("CLASSIC", 7, *Values("Score=900\\Stars=2"));
  const auto record = records->SetLevelRecord("classic", 7, *Values("Time=61"));
  ASSERT_TRUE(record);
  EXPECT_EQ(records->GetLevelTables().GetTable("classic")->GetRecords().Count(), 1);
  EXPECT_EQ(record->GetInt("Score", 0), 900);
  EXPECT_EQ(record->GetInt("Time", 0), 61);
  EXPECT_EQ(record->GetText("Stars", ""), "2");
  EXPECT_EQ(record->GetNumber(), 7);
  EXPECT_EQ(StoredText(*records), kOneRecord);
  EXPECT_FALSE(records->SetLevelRecord("nomode", 1, *Values("Score=1")));
}

TEST(LevelRecords, RecordValuesWithDefaults) {
  const auto records = TLevelRecords::CreateStandard();
  const auto record = records->SetLevelRecord("relax", 3, *Values("Name=abc"));
  EXPECT_EQ(record->GetInt("Name", -5), -5);   // not an integer
  EXPECT_EQ(record->GetInt("Missing", 4), 4);  // not created
  EXPECT_FALSE(record->GetParams().GetParam("Missing"));
  EXPECT_EQ(record->GetInt("Made", 8, true), 8);  // created with the default
  EXPECT_EQ(VarToString(record->GetParams().GetParamValueDef("Made", {})), "8");
  EXPECT_EQ(record->GetText("Label", "none", true), "none");
  EXPECT_EQ(record->GetText("Label", "other"), "none");
  record->SetInt("Score", -12);
  EXPECT_EQ(record->GetInt("Score", 0), -12);
  record->SetName("x7");
  EXPECT_EQ(record->GetNumber(), -1);
}

TEST(LevelRecords, FileRoundTripIsEncipheredWithTheRecordsKey) {
  test::PlayerDataFolder data;
  test::PlayerDataFolder app;
  const auto records = TLevelRecords::CreateStandard();
  EXPECT_FALSE(records->SaveLevelRecords());  // no file yet
  EXPECT_FALSE(records->LoadLevelRecords(data.Folder(), app.Folder()));
  records->SetLevelRecord("classic", 7, *Values("Score=900\\Time=61\\Stars=2"));
  ASSERT_TRUE(records->SaveLevelRecords());
  EXPECT_EQ(data.Read("records.dat"), EncipherToHex(kOneRecord, kRecordsKey) + "\r\n");
  // "<highsco" under the records key.
  EXPECT_EQ(data.Read("records.dat").substr(0, 16), "482160B41A7910A5");

  const auto loaded = TLevelRecords::CreateStandard();
  EXPECT_TRUE(loaded->LoadLevelRecords(data.Folder(), app.Folder()));
  EXPECT_EQ(StoredText(*loaded), kOneRecord);
}

TEST(LevelRecords, TheApplicationFoldersCopyServesUntilTheDataFolderHasOne) {
  test::PlayerDataFolder data;
  test::PlayerDataFolder app;
  app.Write("records.dat", EncipherToHex(kOneRecord, kRecordsKey));
  const auto records = TLevelRecords::CreateStandard();
  EXPECT_TRUE(records->LoadLevelRecords(data.Folder(), app.Folder()));
  EXPECT_EQ(StoredText(*records), kOneRecord);
  records->SetLevelRecord("relax", 1, *Values("Score=5"));
  ASSERT_TRUE(records->SaveLevelRecords());  // to the data folder only
  EXPECT_EQ(app.Read("records.dat"), EncipherToHex(kOneRecord, kRecordsKey));
  const auto again = TLevelRecords::CreateStandard();
  again->LoadLevelRecords(data.Folder(), app.Folder());
  EXPECT_EQ(again->GetLevelTables().GetTable("relax")->GetRecord(1)->GetInt("Score", 0), 5);
}

TEST(LevelRecords, LoadingFillsOnlyTheKnownTables) {
  test::PlayerDataFolder data;
  data.Write(
      "records.dat",
      EncipherToHex("<highscores><levelrecordtables>"
                    "<levelrecordtable name=\"arcade\"><levelrecords><levelrecord name=\"1\"/></levelrecords>"
                    "</levelrecordtable><levelrecordtable name=\"Relax\"><levelrecords>"
                    "<levelrecord name=\"2\"><param name=\"Score\" value=\"3\"/></levelrecord>"
                    "<levelrecord name=\"2\"><param name=\"Score\" value=\"4\"/></levelrecord>"
                    "</levelrecords></levelrecordtable></levelrecordtables></highscores>",
                    kRecordsKey));
  TDiagnosticsCollector diagnostics;
  const auto records = TLevelRecords::CreateStandard();
  EXPECT_TRUE(records->LoadLevelRecords(data.Folder(), data.Folder()));
  EXPECT_EQ(records->GetLevelTables().Count(), 3);  // no table made
  EXPECT_TRUE(diagnostics.Has("arcade"));
  const auto relax = records->GetLevelTables().GetTable("relax");
  EXPECT_EQ(relax->GetName(), "relax");
  ASSERT_EQ(relax->GetRecords().Count(), 1);  // the second record of level 2 is dropped
  EXPECT_EQ(relax->GetRecord(2)->GetInt("Score", 0), 3);
  EXPECT_TRUE(diagnostics.Has("levelrecords"));
}

TEST(LevelRecords, ADamagedFileIsSetAside) {
  test::PlayerDataFolder data;
  const std::string good = EncipherToHex(kOneRecord, kRecordsKey);
  data.Write("records.dat", good.substr(0, 101));
  TDiagnosticsCollector diagnostics;
  const auto records = TLevelRecords::CreateStandard();
  EXPECT_FALSE(records->LoadLevelRecords(data.Folder(), data.Folder()));
  EXPECT_EQ(data.Read("records.dat.damaged-1"), good.substr(0, 101));
  EXPECT_TRUE(diagnostics.Has("records.dat.damaged-1"));
  EXPECT_EQ(StoredText(*records), kEmpty);
  ASSERT_TRUE(records->SaveLevelRecords());
  EXPECT_EQ(data.Deciphered("records.dat", kRecordsKey), kEmpty);
}

}  // namespace
}  // namespace qv
