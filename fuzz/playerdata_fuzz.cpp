// Per-user files as the game reads them: the input is a document, stored
// as "users.dat", "records.dat" (enciphered with their keys),
// "highscores.dat" (plain) and "options" in a scratch data folder, and also
// stored raw as "users.dat" of a second folder (cipher text as found on a
// damaged disk). Each file loads through its object (a damaged one is set
// aside), saves, and loads again: the second save must equal the first.
#include <cstdlib>
#include <filesystem>

#include "FuzzSupport.h"
#include "app/GlobalOptions.h"
#include "core/Constants.h"
#include "playerdata/HighScores.h"
#include "playerdata/LevelRecords.h"
#include "playerdata/UserProfileCollection.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace {

using namespace qv;

template <class T>
std::string Saved(T& object, const std::string& root) {
  const StorageRef storage = NewStorage(root);
  object.SaveToStorage(storage);
  return AsRoot(storage)->SaveToText();
}

void Require(bool ok) {
  if (!ok) std::abort();  // a round trip that changed the data
}

void Profiles(const std::string& folder) {
  auto first = MakeRef<TUserProfileCollection>();
  first->LoadProfiles(folder);
  if (first->GetProfileCount() > 0) first->SetCurrentProfile(first->GetProfileAt(0)->GetName());
  first->SaveProfiles();
  auto second = MakeRef<TUserProfileCollection>();
  second->LoadProfiles(folder);
  Require(Saved(*first, "userprofiles") == Saved(*second, "userprofiles"));
}

void Records(const std::string& folder) {
  const auto first = TLevelRecords::CreateStandard();
  first->LoadLevelRecords(folder, folder);
  first->SaveLevelRecords();
  const auto second = TLevelRecords::CreateStandard();
  second->LoadLevelRecords(folder, folder);
  Require(Saved(*first, "highscores") == Saved(*second, "highscores"));
}

void Scores(const std::string& folder) {
  const std::string tables =
      "record_table={name=classic\\record_structure={\\param=Player\\param=Score\\param=Const}\\max_records="
      "5}"
      "\\record_table={name=relax\\record_structure={\\param=Score}}";
  const auto first = CreateWithParams<THighScores>(tables);
  first->LoadHighScores(folder, folder);
  const auto values = CreateWithParams<TParamCollection>("Player=fuzz\\Score=77");
  first->AddOrReplaceRecord(*values, "classic");
  first->SaveHighScores();
  const auto second = CreateWithParams<THighScores>(tables);
  second->LoadHighScores(folder, folder);
  // Record names count per process; compare what the tables hold.
  for (const char* name : {"classic", "relax"}) {
    TRecordTable& a = *first->GetTables().GetTable(name);
    TRecordTable& b = *second->GetTables().GetTable(name);
    Require(a.GetRecords().Count() == b.GetRecords().Count());
    for (int i = 0; i < a.GetRecords().Count(); ++i) {
      const auto ra = a.GetRecords().RecordAt(i);
      const auto rb = b.GetRecords().RecordAt(i);
      Require(ra->GetScore() == rb->GetScore() && ra->GetText("Player") == rb->GetText("Player"));
    }
  }
}

void Options(const std::string& folder) {
  TGlobalOptions options(folder);
  std::string value;
  options.Read("FullScreenMode", value);
  options.Write("ShowHints", value.empty() ? "yes" : value);
  TGlobalOptions again(folder);
  std::string back;
  again.Read("ShowHints", back);
  Require(back == (value.empty() ? "yes" : value));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Setup();
  const std::string text(fuzz::Bytes(data, size));
  const std::filesystem::path base = std::filesystem::path(fuzz::Scratch()) / "user";
  std::filesystem::remove_all(base);
  fuzz::WriteScratchFile("user/a/users.dat", EncipherToHex(text, kProfilesKey));
  fuzz::WriteScratchFile("user/a/records.dat", EncipherToHex(text, kRecordsKey));
  fuzz::WriteScratchFile("user/a/highscores.dat", text);
  fuzz::WriteScratchFile("user/a/options", EncipherToHex(text, kOptionsKey));
  fuzz::WriteScratchFile("user/b/users.dat", text);
  const std::string a = (base / "a").string();
  Profiles(a);
  Records(a);
  Scores(a);
  Options(a);
  Profiles((base / "b").string());
  return 0;
}
