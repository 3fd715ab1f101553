#include "playerdata/UserProfile.h"

namespace qv {

namespace {
constexpr char kDataStorage[] = "datastorage";
}

TUserProfile::TUserProfile() : params_(MakeRef<TParamCollection>()) {
  SetStorageName("userprofile");
  params_->Initialize();
}

const TPropertyTable<TUserProfile>& TUserProfile::Properties() {
  static const TPropertyTable<TUserProfile> table =
      TPropertyTable<TUserProfile>(TPersistObject::Properties());
  return table;
}

void TUserProfile::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  params_->LoadFromStorage(storage);
  if (!storage) return;
  if (const auto text = storage->ReadChildText(kDataStorage)) dataStorage_ = *text;
}

void TUserProfile::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  params_->SaveToStorage(storage);
  if (storage && !dataStorage_.empty()) storage->WriteChildText(kDataStorage, dataStorage_);
}

}  // namespace qv
