#include "core/Folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Diagnostics.h"
#include "core/Parsing.h"
#include "core/ProcessContext.h"
#include "core/Random.h"
#include "core/StringUtils.h"
#include "core/Trace.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

class FoldersTest : public ::testing::Test {
protected:
  void SetUp() override { SetDataPathBase(dir.File("user")); }
  void TearDown() override { SetDataPathBase(""); }
  test::TempDir dir;
};

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 0777;
}

TEST_F(FoldersTest, DataPathIsCreatedOwnerOnly) {
  const std::string path = DataPath();
  EXPECT_EQ(path.back(), '\\');
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("user")));
  EXPECT_EQ(ModeOf(dir.File("user")), 0700u);
}

TEST_F(FoldersTest, FolderSecurityIsSetOncePerPath) {
  dir.Write("f.txt", "x");
  const std::string path = dir.File("f.txt");
  const int before = FolderSecurityApplyCount();
  SetFolderSecurity(path);
  SetFolderSecurity(path);
  EXPECT_EQ(FolderSecurityApplyCount(), before + 1);
  EXPECT_EQ(ModeOf(path), 0600u);
  SetFolderSecurity(dir.File("missing"));  // fails, records nothing
  EXPECT_EQ(FolderSecurityApplyCount(), before + 1);
}

TEST_F(FoldersTest, TextFilesUseCrLfLines) {
  EXPECT_EQ(LoadDataText("none.txt"), "");
  ASSERT_TRUE(SaveDataText("one\ntwo\r\nthree", "t.txt"));
  EXPECT_EQ(test::ReadFile(dir.File("user/t.txt")), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(LoadDataText("t.txt"), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(ModeOf(dir.File("user/t.txt")), 0600u);
}

TEST_F(FoldersTest, SavesReplaceWholeFilesAndLeaveNoTemporaries) {
  ASSERT_TRUE(SaveDataText(std::string(100000, 'a'), "big.txt"));
  ASSERT_TRUE(SaveDataText("short", "big.txt"));
  EXPECT_EQ(LoadDataText("big.txt"), "short\r\n");
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.File("user"))) {
    (void)e;
    ++files;
  }
  EXPECT_EQ(files, 1);
  // A save into a folder that cannot exist fails and creates nothing.
  EXPECT_FALSE(WriteFileAtomic(dir.File("no/such/folder/x.txt"), "x"));
}

TEST_F(FoldersTest, TheTraceNamesEachSavedVersionBeforeItReplacesTheFile) {
  // FNV-1a, 64 bits: the published values of "" and "a".
  EXPECT_EQ(ContentHash(""), "cbf29ce484222325");
  EXPECT_EQ(ContentHash("a"), "af63dc4c8601ec8c");
  std::vector<std::string> lines;
  const std::string target = dir.File("v.txt");
  bool replacedWhenTraced = true;
  {
    TTrace::THandle handle = TTrace::Listen([&](const TTraceEvent& e) {
      lines.push_back(e.Line());
      replacedWhenTraced = replacedWhenTraced && std::filesystem::exists(target);
    });
    ASSERT_TRUE(WriteFileAtomic(target, "a"));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{
                       R"({"frame":0,"event":"save","file":"v.txt","bytes":1,"hash":"af63dc4c8601ec8c"})"}));
  EXPECT_FALSE(replacedWhenTraced);  // traced while the name still had its old file (none)
}

TEST_F(FoldersTest, LeftoverTemporariesOfOneFileAreRemoved) {
  dir.Write("users.dat", "whole");
  dir.Write("users.dat.tmp-a1B2c3", "cut short");
  dir.Write("users.dat.tmp-zzzzzz", "cut short");
  dir.Write("users.dat.tmp-toolong", "not ours");
  dir.Write("options.tmp-a1B2c3", "another file's");
  std::filesystem::create_directories(dir.File("users.dat.tmp-folder"));
  RemoveLeftoverTemporaries(dir.File("users.dat"));
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path())) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"options.tmp-a1B2c3", "users.dat", "users.dat.tmp-folder",
                                             "users.dat.tmp-toolong"}));
  RemoveLeftoverTemporaries(dir.File("no/such/folder/x"));  // nothing to do
}

TEST_F(FoldersTest, FailedSaveKeepsTheOldFile) {
  ASSERT_TRUE(SaveDataText("old", "keep.txt"));
  // A folder in the way of the rename makes the save fail.
  std::filesystem::create_directories(dir.File("user/blocked.txt/inner"));
  EXPECT_FALSE(SaveDataText("new", "blocked.txt"));
  EXPECT_EQ(LoadDataText("keep.txt"), "old\r\n");
}

TEST_F(FoldersTest, AnExistingDataFolderKeepsItsRights) {
  std::filesystem::create_directories(dir.File("mine"));
  ::chmod(dir.File("mine").c_str(), 0755);
  SetDataPathBase(dir.File("mine"));
  EXPECT_EQ(DataPath(), ReplaceAll(dir.File("mine"), "/", "\\") + "\\");
  EXPECT_EQ(ModeOf(dir.File("mine")), 0755u);
}

TEST_F(FoldersTest, MissingDataFoldersAreCreatedOwnerOnlyParentsIncluded) {
  SetDataPathBase(dir.File("a/b/c"));
  ASSERT_TRUE(SaveDataText("x", "f.txt"));
  EXPECT_EQ(test::ReadFile(dir.File("a/b/c/f.txt")), "x\r\n");
  for (const char* folder : {"a", "a/b", "a/b/c"}) EXPECT_EQ(ModeOf(dir.File(folder)), 0700u) << folder;
}

TEST_F(FoldersTest, ADataFolderThatCannotBeMadeFallsBackAndIsReported) {
  dir.Write("file", "in the way");
  SetDataPathBase(dir.File("file/user"));
  const std::string saved = ApplicationPath();
  SetApplicationPath(dir.File("app"));
  TDiagnosticsCollector errors;
  EXPECT_EQ(DataPath(), ReplaceAll(dir.File("app"), "/", "\\") + "\\");
  EXPECT_TRUE(errors.Has("data folder cannot be created"));
  SetApplicationPath(saved);
}

TEST_F(FoldersTest, SavedFilesAreOwnerOnlyEveryTime) {
  ASSERT_TRUE(SaveDataText("one", "p.txt"));
  EXPECT_EQ(ModeOf(dir.File("user/p.txt")), 0600u);
  // The rights record already holds the path; a file made anew must still
  // be born owner-only.
  std::filesystem::remove(dir.File("user/p.txt"));
  ASSERT_TRUE(SaveDataText("two", "p.txt"));
  EXPECT_EQ(ModeOf(dir.File("user/p.txt")), 0600u);
  // A failed save is reported.
  std::filesystem::create_directories(dir.File("user/dir.txt/inner"));
  TDiagnosticsCollector errors;
  EXPECT_FALSE(SaveDataText("x", "dir.txt"));
  EXPECT_TRUE(errors.Has("cannot be written"));
}

TEST(ProcessContextTest, ResetPutsEverythingBack) {
  const TProcessContext saved = ProcessContext();
  SetApplicationPath("/somewhere/app");
  SetDataPathBase("/somewhere/user");
  ProcessContext().packageExtension = ".pak";
  ProcessContext().outStorageDepth = 3;
  ProcessContext().textHook = [](const std::string& t) { return t + "!"; };
  ProcessContext().storageWrites = 12;
  EXPECT_EQ(ApplicationPath(), "\\somewhere\\app\\");
  ResetProcessContext();
  const TProcessContext& fresh = ProcessContext();
  EXPECT_EQ(fresh.appPath, "");
  EXPECT_EQ(fresh.dataPathOverride, "");
  EXPECT_EQ(fresh.platformDataFolder, nullptr);
  EXPECT_EQ(fresh.packageExtension, ".zip");
  EXPECT_EQ(fresh.outStorageDepth, 0);
  EXPECT_FALSE(fresh.textHook);
  EXPECT_EQ(fresh.storageWrites, 0);
  ProcessContext() = saved;
}

TEST(ParsingTest, FloatsUseThePointWhateverTheLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = old ? old : "C";
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may be missing; the test holds either way
  EXPECT_DOUBLE_EQ(ParseFloat("0.5", 1), 0.5);
  EXPECT_DOUBLE_EQ(ParseFloat("", 1), 1);
  EXPECT_DOUBLE_EQ(ParseFloat("abc", 1), 1);
  EXPECT_DOUBLE_EQ(ParseFloat("nan", 1), 1);
  EXPECT_DOUBLE_EQ(ParseFloat("1e999", 1), 1);
  EXPECT_DOUBLE_EQ(ParseFloat(" -2.25e1 ", 0), -22.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(ParseIntDefault("42", 0), 42);
  EXPECT_EQ(ParseIntDefault("4x", -1), -1);
  EXPECT_EQ(ParseIntDefault("99999999999", -1), -1);
}

TEST(RandomTest, FollowsTheLinearCongruence) {
  SetRandomSeed(0);
  EXPECT_EQ(RandomInt(10), 0);  // seed 1: high word of 1 * 10 is 0
  EXPECT_EQ(GetRandomSeed(), 1u);
  SetRandomSeed(1);
  RandomInt(6);
  EXPECT_EQ(GetRandomSeed(), 134775814u);
  SetRandomSeed(0xFFFFFFFFu);
  const uint32_t next = 0xFFFFFFFFu * 134775813u + 1u;
  EXPECT_EQ(RandomInt(1000), static_cast<int32_t>((uint64_t(next) * 1000) >> 32));
}

}  // namespace
}  // namespace qv
