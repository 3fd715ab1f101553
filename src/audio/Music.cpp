#include "audio/Music.h"

#include "core/StringUtils.h"
#include "storage/StorageAccess.h"

namespace qv {

void TMusic::Initialize() {
  TPropertyObject::Initialize();
  SetStorageName("music");
}

void TMusic::LoadFromStorage(const StorageRef& storage) {
  TPropertyObject::LoadFromStorage(storage);
  resourceName_ = ReadString(storage, "resourcename", "");
}

void TMusic::SaveToStorage(const StorageRef& storage) {
  TPropertyObject::SaveToStorage(storage);
  WriteString(storage, "resourcename", resourceName_);
}

bool TMusic::SetPropertyValue(const std::string& name, const TVariant& value) {
  if (!SameText(name, "resourcename")) return false;
  resourceName_ = VarToString(value);
  return true;
}

TVariant TMusic::GetPropertyValue(const std::string& name) {
  if (SameText(name, "resourcename")) return resourceName_;
  return {};
}

void TMusicCollection::Initialize() {
  TStaticCreationPersistItemCollection<TMusic>::Initialize();
  SetStorageName("musics");
  SetItemElementName("music");
}

}  // namespace qv
