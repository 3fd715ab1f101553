#include "playerdata/UserProfileCollection.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "playerdata/PlayerDataTestSupport.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

Ref<TUserProfileCollection> NewProfiles() {
  Ref<TUserProfileCollection> profiles = MakeRef<TUserProfileCollection>();
  profiles->Initialize();
  return profiles;
}

// The stored text of a collection, as "users.dat" holds it deciphered.
std::string StoredText(TUserProfileCollection& profiles) {
  const StorageRef root = NewStorage("userprofiles");
  profiles.SaveToStorage(root);
  return AsRoot(root)->SaveToText();
}

const char kTwoPlayers[] =
    "<userprofiles current_user_profile_name=\"Anna\">"
    "<userprofile name=\"Anna\"><param name=\"classic_score\" value=\"1200\"/>"
    "<datastorage>map=3;trophies=1</datastorage></userprofile>"
    "<userprofile name=\"Bo\"/></userprofiles>";

TEST(UserProfileCollection, NamesDifferInMoreThanCase) {
  auto profiles = NewProfiles();
  const Ref<IUserProfile> anna = profiles->AddProfile("Anna");
  ASSERT_TRUE(anna);
  EXPECT_EQ(profiles->AddProfile("ANNA"), anna);
  EXPECT_EQ(profiles->AddProfile("anna"), anna);
  EXPECT_EQ(profiles->GetProfile("aNNa"), anna);
  EXPECT_EQ(profiles->GetProfileCount(), 1);
  EXPECT_EQ(anna->GetName(), "Anna");  // the first spelling stays
  EXPECT_FALSE(profiles->AddProfile(""));
  EXPECT_EQ(profiles->GetProfileCount(), 1);
}

TEST(UserProfileCollection, DeletingTheCurrentProfileLeavesNoneCurrent) {
  auto profiles = NewProfiles();
  profiles->AddProfile("Anna");
  profiles->AddProfile("Bo");
  profiles->SetCurrentProfile("bo");
  ASSERT_TRUE(profiles->GetCurrentProfile());
  EXPECT_EQ(profiles->GetCurrentProfile()->GetName(), "Bo");

  profiles->DeleteProfile("Anna");  // another profile: Bo stays current
  ASSERT_TRUE(profiles->GetCurrentProfile());
  EXPECT_EQ(profiles->GetCurrentProfile()->GetName(), "Bo");

  profiles->DeleteProfile("BO");
  EXPECT_FALSE(profiles->GetCurrentProfile());
  EXPECT_EQ(profiles->GetProfileCount(), 0);
  // The next save writes no current name.
  EXPECT_EQ(StoredText(*profiles), "<userprofiles/>");

  profiles->AddProfile("Cy");
  profiles->SetCurrentProfile("nobody");
  EXPECT_FALSE(profiles->GetCurrentProfile());
}

TEST(UserProfileCollection, StoredTextOfProfiles) {
  auto profiles = NewProfiles();
  const Ref<IUserProfile> anna = profiles->AddProfile("Anna");
  anna->GetParams().SetParamValue("classic_score", std::string("1200"));
  anna->SetDataStorage("map=3;trophies=1");
  profiles->AddProfile("Bo");  // empty data: no "datastorage" child
  profiles->SetCurrentProfile("Anna");
  EXPECT_EQ(StoredText(*profiles), kTwoPlayers);

  // And back: names, values, data and the current profile.
  auto loaded = NewProfiles();
  loaded->LoadFromStorage(LoadStorageText(kTwoPlayers));
  ASSERT_EQ(loaded->GetProfileCount(), 2);
  ASSERT_TRUE(loaded->GetCurrentProfile());
  EXPECT_EQ(loaded->GetCurrentProfile()->GetName(), "Anna");
  EXPECT_EQ(VarToString(loaded->GetProfile("Anna")->GetParams().GetParamValueDef("classic_score", {})),
            "1200");
  EXPECT_EQ(loaded->GetProfile("Anna")->GetDataStorage(), "map=3;trophies=1");
  EXPECT_EQ(loaded->GetProfileAt(1)->GetName(), "Bo");
  EXPECT_EQ(loaded->GetProfile("Bo")->GetDataStorage(), "");
  EXPECT_EQ(StoredText(*loaded), kTwoPlayers);
}

TEST(UserProfileCollection, ASecondEntryOfOneNameLoadsIntoTheFirst) {
  auto profiles = NewProfiles();
  profiles->LoadFromStorage(LoadStorageText(
      "<userprofiles current_user_profile_name=\"ANNA\">"
      "<userprofile name=\"Anna\"><param name=\"a\" value=\"1\"/><param name=\"b\" "
      "value=\"1\"/></userprofile>"
      "<userprofile name=\"anna\"><param name=\"b\" value=\"2\"/><datastorage>x</datastorage></userprofile>"
      "</userprofiles>"));
  ASSERT_EQ(profiles->GetProfileCount(), 1);
  const Ref<IUserProfile> anna = profiles->GetProfileAt(0);
  EXPECT_EQ(anna->GetName(), "Anna");
  EXPECT_EQ(VarToString(anna->GetParams().GetParamValueDef("a", {})), "1");
  EXPECT_EQ(VarToString(anna->GetParams().GetParamValueDef("b", {})), "2");
  EXPECT_EQ(anna->GetDataStorage(), "x");
  EXPECT_EQ(profiles->GetCurrentProfile(), anna);
}

TEST(UserProfileCollection, FileRoundTripIsEncipheredWithTheProfilesKey) {
  test::PlayerDataFolder folder;
  auto profiles = NewProfiles();
  EXPECT_FALSE(profiles->SaveProfiles());                 // no file yet
  EXPECT_FALSE(profiles->LoadProfiles(folder.Folder()));  // none there: empty, nothing written
  EXPECT_FALSE(folder.Exists("users.dat"));
  EXPECT_EQ(profiles->GetProfileCount(), 0);

  profiles->AddProfile("Anna")->GetParams().SetParamValue("classic_score", std::string("1200"));
  profiles->GetProfile("Anna")->SetDataStorage("map=3;trophies=1");
  profiles->AddProfile("Bo");
  profiles->SetCurrentProfile("Anna");
  ASSERT_TRUE(profiles->SaveProfiles());

  const std::string stored = folder.Read("users.dat");
  EXPECT_EQ(stored, EncipherToHex(kTwoPlayers, kProfilesKey) + "\r\n");
  // The first block, "<userpro", under the profiles key: the key and the
  // cipher are part of the format.
  EXPECT_EQ(stored.substr(0, 16), "3E7F1DEC78F37644");
  EXPECT_EQ(folder.Deciphered("users.dat", kProfilesKey), kTwoPlayers);

  auto loaded = NewProfiles();
  EXPECT_TRUE(loaded->LoadProfiles(folder.Folder()));
  EXPECT_EQ(StoredText(*loaded), kTwoPlayers);
}

TEST(UserProfileCollection, CreateSelectAndDeleteSaveAtOnce) {
  test::PlayerDataFolder folder;
  auto profiles = NewProfiles();
  profiles->LoadProfiles(folder.Folder());
  profiles->AddProfile("Anna");
  EXPECT_EQ(folder.Deciphered("users.dat", kProfilesKey),
            "<userprofiles><userprofile name=\"Anna\"/></userprofiles>");
  profiles->SetCurrentProfile("anna");
  EXPECT_EQ(folder.Deciphered("users.dat", kProfilesKey),
            "<userprofiles current_user_profile_name=\"Anna\"><userprofile name=\"Anna\"/></userprofiles>");
  profiles->AddProfile("Bo");
  profiles->DeleteProfile("Anna");
  EXPECT_EQ(folder.Deciphered("users.dat", kProfilesKey),
            "<userprofiles><userprofile name=\"Bo\"/></userprofiles>");
  // A value change waits for the game's SaveProfiles.
  profiles->GetProfile("Bo")->SetDataStorage("progress");
  EXPECT_EQ(folder.Deciphered("users.dat", kProfilesKey),
            "<userprofiles><userprofile name=\"Bo\"/></userprofiles>");
  ASSERT_TRUE(profiles->SaveProfiles());
  EXPECT_EQ(folder.Deciphered("users.dat", kProfilesKey),
            "<userprofiles><userprofile "
            "name=\"Bo\"><datastorage>progress</datastorage></userprofile></userprofiles>");
  // Loading itself writes nothing.
  const std::string before = folder.Read("users.dat");
  auto again = NewProfiles();
  again->LoadProfiles(folder.Folder());
  EXPECT_EQ(folder.Read("users.dat"), before);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"users.dat"});
}

// A damaged "users.dat" never crashes the load, is set aside under a new
// name before anything is written, and gives an empty collection.
TEST(UserProfileCollection, DamagedFileIsSetAsideAndNeverSavedOver) {
  test::PlayerDataFolder folder;
  const std::string good = EncipherToHex(kTwoPlayers, kProfilesKey) + "\r\n";
  const std::vector<std::pair<std::string, std::string>> damages = {
      {"garbage", "this is no hex \x01\xff at all"},
      {"truncated", good.substr(0, good.size() / 2)},
      {"wrong key", EncipherToHex(kTwoPlayers, kOptionsKey) + "\r\n"},
      {"plain text", std::string(kTwoPlayers)},
      {"other root", EncipherToHex("<options><ShowHints>yes</ShowHints></options>", kProfilesKey)},
      {"empty", ""},
  };
  int n = 0;
  for (const auto& [what, bytes] : damages) {
    SCOPED_TRACE(what);
    ++n;
    folder.Write("users.dat", bytes);
    TDiagnosticsCollector diagnostics;
    auto profiles = NewProfiles();
    EXPECT_FALSE(profiles->LoadProfiles(folder.Folder()));
    EXPECT_EQ(profiles->GetProfileCount(), 0);
    EXPECT_FALSE(profiles->GetCurrentProfile());
    EXPECT_TRUE(diagnostics.Has("users.dat"));
    EXPECT_TRUE(diagnostics.Has("users.dat.damaged-" + std::to_string(n)));
    // The damaged bytes are kept, under the next free number.
    EXPECT_EQ(folder.Read("users.dat.damaged-" + std::to_string(n)), bytes);
    EXPECT_FALSE(folder.Exists("users.dat"));
    // A later save writes a fresh file; it never replaces a kept one.
    profiles->AddProfile("New");
    EXPECT_EQ(folder.Deciphered("users.dat", kProfilesKey),
              "<userprofiles><userprofile name=\"New\"/></userprofiles>");
  }
  for (int i = 1; i <= n; ++i)
    EXPECT_EQ(folder.Read("users.dat.damaged-" + std::to_string(i)), damages[i - 1].second);
}

TEST(UserProfileCollection, ADamagedFileThatCannotBeSetAsideIsNotSavedOver) {
  if (::geteuid() == 0) GTEST_SKIP() << "folder rights do not bind the superuser";
  test::PlayerDataFolder folder;
  folder.Write("users.dat", "damaged");
  // The folder refuses new names: the file cannot be set aside.
  std::filesystem::permissions(folder.dir.Path(),
                               std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  TDiagnosticsCollector diagnostics;
  auto profiles = NewProfiles();
  EXPECT_FALSE(profiles->LoadProfiles(folder.Folder()));
  std::filesystem::permissions(folder.dir.Path(), std::filesystem::perms::owner_all);
  EXPECT_TRUE(diagnostics.Has("cannot be set aside"));
  EXPECT_FALSE(profiles->GetFile().CanSave());
  profiles->AddProfile("New");  // would save: refused
  EXPECT_FALSE(profiles->SaveProfiles());
  EXPECT_EQ(folder.Read("users.dat"), "damaged");
}

}  // namespace
}  // namespace qv
