#include "playerdata/UserProfileCollection.h"

#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

namespace {
constexpr char kRoot[] = "userprofiles";
}

TUserProfileCollection::TUserProfileCollection() {
  SetStorageName(kRoot);
  SetItemElementName("userprofile");
}

const TPropertyTable<TUserProfileCollection>& TUserProfileCollection::Properties() {
  static const TPropertyTable<TUserProfileCollection> table = TPropertyTable<TUserProfileCollection>().String(
      "current_user_profile_name", &TUserProfileCollection::CurrentName,
      &TUserProfileCollection::SelectCurrent);
  return table;
}

void TUserProfileCollection::SelectCurrent(const std::string& name) {
  current_ = ItemAs<TUserProfile>(name);
}

void TUserProfileCollection::SetCurrentProfile(const std::string& name) {
  SelectCurrent(name);
  SaveAfterChange();
}

Ref<TUserProfile> TUserProfileCollection::FindOrAdd(const std::string& name, bool& added) {
  added = false;
  if (name.empty()) return nullptr;
  if (auto existing = ItemAs<TUserProfile>(name)) return existing;
  Ref<TUserProfile> profile = MakeRef<TUserProfile>();
  profile->Initialize();
  profile->SetName(name);
  Insert(-1, name, profile);
  added = true;
  return profile;
}

Ref<IUserProfile> TUserProfileCollection::AddProfile(const std::string& name) {
  bool added = false;
  Ref<TUserProfile> profile = FindOrAdd(name, added);
  if (added) SaveAfterChange();
  return profile;
}

void TUserProfileCollection::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  const std::string current = CurrentName();
  TPersistItemCollection::Delete(index);
  SelectCurrent(current);
  SaveAfterChange();
}

void TUserProfileCollection::Delete(std::string_view key) {
  Delete(IndexOf(key));
}

void TUserProfileCollection::Clear() {
  TPersistItemCollection::Clear();
  current_ = nullptr;
  SaveAfterChange();
}

void TUserProfileCollection::LoadItem(const StorageRef& storage) {
  const std::string name = ReadString(storage, "name", "");
  bool added = false;
  Ref<TUserProfile> profile = FindOrAdd(name, added);
  if (!profile) {
    ReportDataError(kProfilesFileName, "a profile without a name is dropped");
    return;
  }
  // The profile keeps the name it was added under (a second entry may
  // spell it in another case).
  const std::string kept = profile->GetName();
  profile->LoadFromStorage(storage);
  profile->SetName(kept);
}

void TUserProfileCollection::LoadFromStorage(const StorageRef& storage) {
  TPersistItemCollection::LoadFromStorage(storage);
  Properties().Load(*this, storage);
}

void TUserProfileCollection::SaveToStorage(const StorageRef& storage) {
  Properties().Save(*this, storage);
  TPersistItemCollection::SaveToStorage(storage);
}

void TUserProfileCollection::SetFile(const std::string& dataFolder) {
  file_ = TPlayerFile(dataFolder, kProfilesFileName, kProfilesKey);
}

bool TUserProfileCollection::LoadProfiles(const std::string& dataFolder) {
  SetFile(dataFolder);
  // The file's profiles replace the collection's (nothing is saved here).
  TPersistItemCollection::Clear();
  current_ = nullptr;
  const StorageRef root = file_.Load(kRoot);
  if (!root) return false;
  loading_ = true;
  LoadFromStorage(root);
  loading_ = false;
  return true;
}

bool TUserProfileCollection::SaveProfiles() {
  return file_.SaveObject(kRoot, *this);
}

void TUserProfileCollection::SaveAfterChange() {
  if (!loading_ && file_.IsSet()) SaveProfiles();
}

}  // namespace qv
