#include "audio/Sound.h"

#include "core/StringUtils.h"
#include "storage/StorageAccess.h"

namespace qv {

void TSound::Initialize() {
  TPropertyObject::Initialize();
  SetStorageName("sound");
}

void TSound::LoadFromStorage(const StorageRef& storage) {
  TPropertyObject::LoadFromStorage(storage);
  resourceName_ = ReadString(storage, "resourcename", "");
  volume_ = ReadInt(storage, "volume", kDefaultVolume);
  pan_ = ReadInt(storage, "pan", kDefaultPan);
  muteMusic_ = ReadBool(storage, "mutemusic", false);
}

void TSound::SaveToStorage(const StorageRef& storage) {
  TPropertyObject::SaveToStorage(storage);
  WriteString(storage, "resourcename", resourceName_);
  WriteInt(storage, "volume", volume_, volume_ != kDefaultVolume);
  WriteInt(storage, "pan", pan_, pan_ != kDefaultPan);
  WriteBool(storage, "mutemusic", muteMusic_, muteMusic_);
}

bool TSound::SetPropertyValue(const std::string& name, const TVariant& value) {
  if (SameText(name, "volume"))
    volume_ = static_cast<int>(VarToInt(value, volume_));
  else if (SameText(name, "pan"))
    pan_ = static_cast<int>(VarToInt(value, pan_));
  else if (SameText(name, "mutemusic"))
    muteMusic_ = VarToBool(value, muteMusic_);
  else
    return false;
  return true;
}

TVariant TSound::GetPropertyValue(const std::string& name) {
  if (SameText(name, "resourcename")) return resourceName_;
  if (SameText(name, "volume")) return static_cast<long long>(volume_);
  if (SameText(name, "pan")) return static_cast<long long>(pan_);
  if (SameText(name, "mutemusic")) return muteMusic_;
  return {};
}

void TSoundCollection::Initialize() {
  TStaticCreationPersistItemCollection<TSound>::Initialize();
  SetStorageName("sounds");
  SetItemElementName("sound");
}

}  // namespace qv
