#include "playerdata/HighScores.h"

#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "playerdata/PlayerDataTestSupport.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

constexpr char kTable[] =
    "name=classic\\record_structure={\\param=Player\\param=Score\\param=Const}\\max_records=";

Ref<TRecordTable> Table(int max) {
  return CreateWithParams<TRecordTable>(kTable + std::to_string(max));
}

Ref<TParamCollection> Values(const std::string& creation) {
  return CreateWithParams<TParamCollection>(creation);
}

// "Player:Score" of every record, in rank order.
std::string Ranks(TRecordTable& table) {
  std::string out;
  for (int i = 0; i < table.GetRecords().Count(); ++i) {
    const auto record = table.GetRecords().RecordAt(i);
    out += (i ? " " : "") + record->GetText("Player") + ":" + std::to_string(record->GetScore());
  }
  return out;
}

TEST(RecordTable, TheLowestScoreOfAFullTableMustBeBeaten) {
  const auto table = Table(10);
  for (int i = 0; i < 10; ++i)
    ASSERT_TRUE(table->AddRecord(
        *Values("Player=p" + std::to_string(i) + "\\Score=" + std::to_string(500 + 100 * i))));
  EXPECT_EQ(table->GetRecords().Count(), 10);
  EXPECT_FALSE(table->Qualifies(500));
  EXPECT_TRUE(table->Qualifies(501));
  EXPECT_FALSE(table->AddRecord(*Values("Player=x\\Score=500")));
  const auto added = table->AddRecord(*Values("Player=new\\Score=501"));
  ASSERT_TRUE(added);
  EXPECT_EQ(table->GetRecords().Count(), 10);
  EXPECT_EQ(table->GetRecords().RecordAt(9)->GetScore(), 501);  // 500 dropped
  EXPECT_EQ(table->GetLastInserted(), 9);
  EXPECT_EQ(table->GetRecords().RecordAt(0)->GetScore(), 1400);
}

TEST(RecordTable, ZeroNegativeAndMissingScoresNeverQualify) {
  const auto table = Table(10);
  EXPECT_FALSE(table->Qualifies(0));
  EXPECT_FALSE(table->Qualifies(-3));
  EXPECT_FALSE(table->AddRecord(*Values("Player=a\\Score=0")));
  EXPECT_FALSE(table->AddRecord(*Values("Player=a\\Score=abc")));
  EXPECT_FALSE(table->AddRecord(*Values("Player=a")));
  EXPECT_FALSE(table->AddOrReplaceRecord(*Values("Player=a")));
  EXPECT_EQ(table->GetRecords().Count(), 0);
  EXPECT_EQ(table->GetLastInserted(), -1);
}

TEST(RecordTable, EqualScoresKeepTheirOrder) {
  const auto table = Table(10);
  table->AddRecord(*Values("Player=a\\Score=300"));
  table->AddRecord(*Values("Player=b\\Score=500"));
  table->AddRecord(*Values("Player=c\\Score=300"));
  table->AddRecord(*Values("Player=d\\Score=500"));
  EXPECT_EQ(table->GetLastInserted(), 1);
  table->AddRecord(*Values("Player=e\\Score=400"));
  EXPECT_EQ(Ranks(*table), "b:500 d:500 e:400 a:300 c:300");
  // A raised score moves above the equal ones it overtakes; the others stay.
  table->AddOrReplaceRecord(*Values("Player=c\\Score=500"));
  EXPECT_EQ(Ranks(*table), "b:500 d:500 c:500 e:400 a:300");
  // Lowered from the top, equal scores below it keep their order.
  EXPECT_TRUE(table->AddOrReplaceRecord(*Values("Player=b\\Score=100")));
  EXPECT_EQ(Ranks(*table), "d:500 c:500 e:400 a:300 b:100");
  EXPECT_EQ(table->GetLastInserted(), 4);
}

TEST(RecordTable, ReplacingTakesThePlayersOwnRecordButNeverAPreset) {
  const auto table = Table(5);
  table->AddRecord(*Values("Player=Anna\\Score=900\\Const=yes"));
  table->AddRecord(*Values("Player=Anna\\Score=700"));
  table->AddRecord(*Values("Player=Bo\\Score=600"));
  // Lower than her old score, but it qualifies: her own record takes it.
  EXPECT_FALSE(table->AddOrReplaceRecord(*Values("Player=Anna\\Score=650")));  // order unchanged
  EXPECT_EQ(Ranks(*table), "Anna:900 Anna:650 Bo:600");
  EXPECT_EQ(table->GetLastInserted(), 1);
  EXPECT_TRUE(table->AddOrReplaceRecord(*Values("Player=Anna\\Score=500")));
  EXPECT_EQ(Ranks(*table), "Anna:900 Bo:600 Anna:500");
  EXPECT_EQ(table->GetRecords().RecordAt(0)->GetText("Const"), "yes");
  // A player with only a preset record gets a new one.
  const auto presets = Table(5);
  presets->AddRecord(*Values("Player=Cy\\Score=800\\Const=yes"));
  EXPECT_TRUE(presets->AddOrReplaceRecord(*Values("Player=Cy\\Score=100")));
  EXPECT_EQ(Ranks(*presets), "Cy:800 Cy:100");
  // New players only.
  EXPECT_FALSE(table->AddRecordForNewPlayer(*Values("Player=Bo\\Score=999")));
  EXPECT_TRUE(presets->AddRecordForNewPlayer(*Values("Player=Dee\\Score=50")));
  EXPECT_FALSE(presets->AddRecordForNewPlayer(*Values("Player=Dee\\Score=60")));
  table->ClearRecords();
  EXPECT_EQ(table->GetRecords().Count(), 0);
  EXPECT_EQ(table->GetLastInserted(), -1);
}

TEST(RecordTable, MaxRecordsDefaultsToTen) {
  TDiagnosticsCollector diagnostics;
  const auto missing = CreateWithParams<TRecordTable>("name=a\\record_structure={\\param=Score}");
  EXPECT_EQ(missing->GetMaxRecords(), 10);
  EXPECT_TRUE(diagnostics.Errors().empty());
  const auto bad = CreateWithParams<TRecordTable>("name=b\\max_records=many");
  EXPECT_EQ(bad->GetMaxRecords(), 10);
  EXPECT_TRUE(diagnostics.Has("max_records"));
  EXPECT_EQ(Table(0)->Qualifies(1000), false);
}

TEST(RecordTable, RecordsGetProcessWideNames) {
  const auto a = Table(3)->NewRecord();
  const auto b = Table(3)->NewRecord();
  ASSERT_EQ(a->GetName().rfind("Record", 0), 0u);
  EXPECT_NE(a->GetName(), b->GetName());
  EXPECT_EQ(a->GetParams().GetParamCount(), 3);
  EXPECT_EQ(a->GetScore(), -1);
}

const char kStored[] =
    "<highscores name=\"highscores\"><recordtables><recordtable name=\"classic\"><records>"
    "<record name=\"R\"><params><param name=\"Player\">Anna</param><param name=\"Score\">900</param>"
    "<param name=\"Const\"></param></params></record></records></recordtable>"
    "<recordtable name=\"duel\"><records/></recordtable></recordtables></highscores>";

Ref<THighScores> TwoTables() {
  return CreateWithParams<THighScores>(std::string("record_table={") + kTable +
                                       "3}\\record_table={name=duel\\record_structure={\\param=Score}}");
}

// The record names count for the whole process; the test names them "R".
std::string WithPlainNames(std::string text) {
  for (size_t at = text.find("name=\"Record"); at != std::string::npos; at = text.find("name=\"Record", at)) {
    const size_t end = text.find('"', at + 6);
    text.replace(at, end - at, "name=\"R");
    at += 7;
  }
  return text;
}

TEST(HighScores, TablesComeFromTheCreationStringAndOperationsForwardByName) {
  const auto scores = TwoTables();
  ASSERT_EQ(scores->GetTables().Count(), 2);
  EXPECT_TRUE(scores->Qualifies(5, "classic"));
  EXPECT_FALSE(scores->Qualifies(5, "nosuch"));
  EXPECT_FALSE(scores->AddRecord(*Values("Score=5"), "nosuch"));
  EXPECT_FALSE(scores->AddOrReplaceRecord(*Values("Score=5"), "nosuch"));
  ASSERT_TRUE(scores->AddRecord(*Values("Player=Anna\\Score=900"), "classic"));
  EXPECT_EQ(scores->GetTables().GetTable("classic")->GetLastInserted(), 0);
  scores->ResetAllLastInserted();
  EXPECT_EQ(scores->GetTables().GetTable("classic")->GetLastInserted(), -1);
  const auto none = MakeRef<THighScores>();
  EXPECT_EQ(none->GetTables().Count(), 0);
}

TEST(HighScores, FileRoundTripIsPlainText) {
  test::PlayerDataFolder data;
  test::PlayerDataFolder app;
  const auto scores = TwoTables();
  EXPECT_FALSE(scores->LoadHighScores(data.Folder(), app.Folder()));
  scores->AddRecord(*Values("Player=Anna\\Score=900"), "classic");
  ASSERT_TRUE(scores->SaveHighScores());
  EXPECT_EQ(WithPlainNames(data.Read("highscores.dat")), std::string(kStored) + "\r\n");

  const auto loaded = TwoTables();
  ASSERT_TRUE(loaded->LoadHighScores(data.Folder(), app.Folder()));
  const auto classic = loaded->GetTables().GetTable("classic");
  EXPECT_EQ(Ranks(*classic), "Anna:900");
  EXPECT_EQ(classic->GetLastInserted(), -1);
  EXPECT_NE(classic->GetRecords().RecordAt(0)->GetName(),
            scores->GetTables().GetTable("classic")->GetRecords().RecordAt(0)->GetName());
  loaded->SaveHighScores();
  EXPECT_EQ(WithPlainNames(data.Read("highscores.dat")), std::string(kStored) + "\r\n");
}

TEST(HighScores, LoadingRanksTrimsExpandsAndSkipsUnknownTables) {
  test::PlayerDataFolder data;
  test::PlayerDataFolder app;
  app.Write(
      "highscores.dat",
      "<highscores><recordtables><recordtable name=\"other\"><records><record/></records></recordtable>"
      "<recordtable name=\"classic\"><records>"
      "<record><params><param name=\"Player\"> Bo </param><param name=\"Score\">10</param></params></record>"
      "<record><params><param name=\"Player\">Cy</param><param name=\"Score\">30</param>"
      "<param name=\"Unknown\">x</param><param name=\"\">y</param></params></record>"
      "<record><params><param name=\"Score\">20</param></params></record>"
      "<record><params><param name=\"Score\">40%%</param></params></record>"
      "</records></recordtable></recordtables></highscores>");
  data.Write("highscores.dat", "<highscores name=\"highscores\"/>");
  TDiagnosticsCollector diagnostics;
  const auto scores = TwoTables();
  scores->AddRecord(*Values("Player=Gone\\Score=5"), "classic");
  ASSERT_TRUE(scores->LoadHighScores(data.Folder(), app.Folder(), true));  // the shipped table
  const auto classic = scores->GetTables().GetTable("classic");
  // Three records at most: "40%%" is no integer, ranks last and is trimmed.
  EXPECT_EQ(Ranks(*classic),
            "Cy:30 :20 "
            " Bo :10");
  EXPECT_TRUE(diagnostics.Has("other"));
  // Without the flag the data folder's file serves: no tables, nothing kept.
  ASSERT_TRUE(scores->LoadHighScores(data.Folder(), app.Folder()));
  EXPECT_EQ(classic->GetRecords().Count(), 0);
}

TEST(HighScores, ADamagedFileIsSetAside) {
  test::PlayerDataFolder data;
  data.Write("highscores.dat", "<highscores><recordtables>");
  TDiagnosticsCollector diagnostics;
  const auto scores = TwoTables();
  EXPECT_FALSE(scores->LoadHighScores(data.Folder(), data.Folder()));
  EXPECT_EQ(data.Read("highscores.dat.damaged-1"), "<highscores><recordtables>");
  EXPECT_TRUE(scores->SaveHighScores());
  EXPECT_TRUE(data.Exists("highscores.dat"));
}

}  // namespace
}  // namespace qv
