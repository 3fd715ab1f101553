#include "playerdata/PlayerFile.h"
#include "core/StringUtils.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "playerdata/PlayerDataTestSupport.h"
#include "playerdata/UserProfileCollection.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

Ref<TUserProfileCollection> LoadFrom(const test::PlayerDataFolder& folder) {
  Ref<TUserProfileCollection> profiles = MakeRef<TUserProfileCollection>();
  profiles->Initialize();
  profiles->LoadProfiles(folder.Folder());
  return profiles;
}

TEST(PlayerFile, SetAsideCountsUpAndNeverReplacesAnEarlierFile) {
  test::PlayerDataFolder folder;
  folder.Write("users.dat.damaged-1", "first");
  folder.Write("users.dat.damaged-3", "third");
  folder.Write("users.dat", "second");
  EXPECT_EQ(SetAsideDamagedFile(folder.File("users.dat")), folder.File("users.dat.damaged-2"));
  folder.Write("users.dat", "fourth");
  EXPECT_EQ(SetAsideDamagedFile(folder.File("users.dat")), folder.File("users.dat.damaged-4"));
  EXPECT_EQ(folder.Read("users.dat.damaged-1"), "first");
  EXPECT_EQ(folder.Read("users.dat.damaged-2"), "second");
  EXPECT_EQ(folder.Read("users.dat.damaged-3"), "third");
  EXPECT_EQ(folder.Read("users.dat.damaged-4"), "fourth");
  EXPECT_FALSE(folder.Exists("users.dat"));
  EXPECT_EQ(SetAsideDamagedFile(folder.File("users.dat")), "");  // nothing to move
}

TEST(PlayerFile, TwoDamagesInARowKeepBoth) {
  test::PlayerDataFolder folder;
  folder.Write("users.dat", "garbage one");
  {
    TDiagnosticsCollector diagnostics;
    auto profiles = LoadFrom(folder);
    EXPECT_EQ(profiles->GetProfileCount(), 0);
    profiles->AddProfile("Anna");  // a fresh file
  }
  // The fresh file is damaged again.
  const std::string fresh = folder.Read("users.dat");
  folder.Write("users.dat", fresh.substr(0, 20));
  TDiagnosticsCollector diagnostics;
  auto profiles = LoadFrom(folder);
  EXPECT_EQ(profiles->GetProfileCount(), 0);
  EXPECT_EQ(folder.Read("users.dat.damaged-1"), "garbage one");
  EXPECT_EQ(folder.Read("users.dat.damaged-2"), fresh.substr(0, 20));
  EXPECT_EQ(diagnostics.Errors().size(), 2u);  // the parser's report and ours
}

// Every truncation of a good file either loads whole (only the line end
// was cut) or is set aside: never a part of the players.
TEST(PlayerFile, TruncationSweepLoadsWholeOrSetsAside) {
  test::PlayerDataFolder folder;
  {
    auto profiles = LoadFrom(folder);
    for (const char* name : {"Anna", "Bo", "Cy", "Dee"}) {
      profiles->AddProfile(name)->SetDataStorage(std::string("progress of ") + name);
    }
    profiles->SetCurrentProfile("Cy");
  }
  const std::string good = folder.Read("users.dat");
  int whole = 0;
  for (size_t length = 0; length < good.size(); ++length) {
    SCOPED_TRACE(length);
    std::filesystem::remove_all(folder.dir.Path());
    std::filesystem::create_directories(folder.dir.Path());
    folder.Write("users.dat", good.substr(0, length));
    TDiagnosticsCollector diagnostics;
    auto profiles = LoadFrom(folder);
    if (profiles->GetProfileCount() == 4) {
      ++whole;
      EXPECT_EQ(profiles->GetCurrentProfile()->GetName(), "Cy");
      EXPECT_EQ(profiles->GetProfile("Dee")->GetDataStorage(), "progress of Dee");
      EXPECT_TRUE(diagnostics.Errors().empty());
    } else {
      EXPECT_EQ(profiles->GetProfileCount(), 0);
      EXPECT_EQ(folder.Read("users.dat.damaged-1"), good.substr(0, length));
    }
  }
  EXPECT_EQ(whole, 2);  // without "\r\n", and without "\n"
}

// A save killed at any moment leaves the old file or the new one, never
// a part: a child saves two states in turn and is killed at random times.
TEST(PlayerFile, AKilledSaveLeavesTheOldOrTheNewFile) {
  test::PlayerDataFolder folder;
  {
    auto profiles = LoadFrom(folder);
    profiles->AddProfile("Start");
  }
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      auto profiles = LoadFrom(folder);
      for (long i = 0;; ++i) {
        profiles->AddProfile(std::string(200, static_cast<char>('a' + i % 26)))
            ->SetDataStorage(std::string(4000, 'x'));
        profiles->SaveProfiles();
        if (profiles->GetProfileCount() > 6) profiles->DeleteProfile(profiles->GetProfileAt(1)->GetName());
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5 + round * 7));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    // What a killed save leaves is at most its temporary file (the child's
    // load removed those of earlier rounds), and loading removes it.
    int temporaries = 0;
    for (const std::string& name : folder.Names()) {
      if (name != "users.dat") {
        EXPECT_EQ(name.rfind("users.dat.tmp-", 0), 0u) << name;
        ++temporaries;
      }
    }
    EXPECT_LE(temporaries, 1);
    TDiagnosticsCollector diagnostics;
    auto profiles = LoadFrom(folder);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"users.dat"});
    EXPECT_TRUE(diagnostics.Errors().empty());
    EXPECT_FALSE(folder.Exists("users.dat.damaged-1"));
    ASSERT_TRUE(profiles->GetProfile("Start"));
    // Every saved state is whole: a new profile is saved before its data.
    for (int i = 1; i < profiles->GetProfileCount(); ++i) {
      const std::string& data = profiles->GetProfileAt(i)->GetDataStorage();
      EXPECT_TRUE(data.empty() || data == std::string(4000, 'x')) << data.size();
    }
  }
}

TEST(PlayerFile, ShippedCopyIsReadWhenTheDataFolderHasNone) {
  test::PlayerDataFolder data;
  test::PlayerDataFolder app;
  app.Write("highscores.dat", "<highscores name=\"highscores\"/>");
  TPlayerFile file(data.Folder(), "highscores.dat", "");
  const StorageRef shipped = file.Load("highscores", app.Folder());
  ASSERT_TRUE(shipped);
  data.Write("highscores.dat", "<highscores name=\"mine\"/>");
  EXPECT_EQ(file.Load("highscores", app.Folder())->ReadAttr("name", ""), "mine");
  EXPECT_EQ(file.Load("highscores", app.Folder(), true)->ReadAttr("name", ""), "highscores");
  // A damaged shipped copy is reported and left alone.
  app.Write("highscores.dat", "<highscores>");
  TDiagnosticsCollector diagnostics;
  EXPECT_FALSE(file.Load("highscores", app.Folder(), true));
  EXPECT_TRUE(diagnostics.Has("not loaded"));
  EXPECT_EQ(app.Read("highscores.dat"), "<highscores>");
}

TEST(PlayerFile, ADamagedFileIsSetAsideEvenWhenTheShippedCopyIsAskedFor) {
  test::PlayerDataFolder data;
  test::PlayerDataFolder app;
  app.Write("highscores.dat", "<highscores/>");
  data.Write("highscores.dat", "<highscores>cut");
  TDiagnosticsCollector diagnostics;
  TPlayerFile file(data.Folder(), "highscores.dat", "");
  EXPECT_TRUE(file.Load("highscores", app.Folder(), true));
  EXPECT_EQ(data.Read("highscores.dat.damaged-1"), "<highscores>cut");
  EXPECT_EQ(file.SetAsidePath(), data.File("highscores.dat.damaged-1"));
}

TEST(PlayerFile, InspectChangesNothing) {
  test::PlayerDataFolder data;
  TPlayerFile file(data.Folder(), "users.dat", kProfilesKey);
  EPlayerFileState state = EPlayerFileState::kLoaded;
  std::string why = "x";
  EXPECT_FALSE(file.Inspect("userprofiles", state, why));
  EXPECT_EQ(state, EPlayerFileState::kMissing);
  EXPECT_EQ(why, "");
  data.Write("users.dat", EncipherToHex("<userprofiles/>", kOptionsKey));
  TDiagnosticsCollector diagnostics;
  EXPECT_FALSE(file.Inspect("userprofiles", state, why));
  EXPECT_EQ(state, EPlayerFileState::kDamaged);
  EXPECT_EQ(why, "cannot be deciphered or does not parse");
  EXPECT_EQ(data.Names(), std::vector<std::string>{"users.dat"});
  data.Write("users.dat", EncipherToHex("<userprofiles/>", kProfilesKey));
  EXPECT_TRUE(file.Inspect("userprofiles", state, why));
  EXPECT_EQ(state, EPlayerFileState::kLoaded);
}

TEST(PlayerFile, LinesEndInCrLf) {
  EXPECT_EQ(WithCrLf(""), "");
  EXPECT_EQ(WithCrLf("a"), "a\r\n");
  EXPECT_EQ(WithCrLf("a\nb\r\nc\rd\n"), "a\r\nb\r\nc\r\nd\r\n");
}

}  // namespace
}  // namespace qv
