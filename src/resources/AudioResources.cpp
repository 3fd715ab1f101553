// Sound, music and group resources.
#include "core/Random.h"
#include "resources/GroupResource.h"
#include "storage/StorageAccess.h"

namespace qv {

void TSoundResource::LoadFromStorage(const StorageRef& storage) {
  TResource::LoadFromStorage(storage);
  maxPlaybacks_ = ReadInt(storage, "maxplaybacks", 0) & 0xFFFF;
  masterVolume_ = ReadInt(storage, "master_volume", 100) & 0xFF;
}

void TSoundResource::SaveToStorage(const StorageRef& storage) {
  TResource::SaveToStorage(storage);
  WriteInt(storage, "maxplaybacks", maxPlaybacks_, maxPlaybacks_ != 0);
  WriteInt(storage, "master_volume", masterVolume_, masterVolume_ != 100);
}

void TSoundResource::SetOwner(IResourceOwner* owner) {
  if (maxPlaybacks_ == 0) maxPlaybacks_ = 1;
  TResource::SetOwner(owner);
}

uint32_t TSoundResource::GetSample() {
  EnsureLoaded();
  return sample_;
}

void TSoundResource::LoadContent() {
  if (sample_ != 0 || !GetOwner()) return;
  sample_ = GetOwner()->LoadSample(GetFile(), maxPlaybacks_);
}

void TSoundResource::UnloadContent() {
  if (sample_ != 0 && GetOwner()) GetOwner()->FreeSampleOrStream(sample_);
  sample_ = 0;
}

void TMusicResource::LoadFromStorage(const StorageRef& storage) {
  TResource::LoadFromStorage(storage);
  format_ = ReadEnum(storage, "format", kFormatNames, kFormatModule);
}

void TMusicResource::SaveToStorage(const StorageRef& storage) {
  TResource::SaveToStorage(storage);
  WriteEnum(storage, "format", kFormatNames, format_, format_ == kFormatOgg);
}

uint32_t TMusicResource::GetMusicHandle() {
  EnsureLoaded();
  return handle_;
}

void TMusicResource::LoadContent() {
  if (handle_ != 0 || !GetOwner()) return;
  if (format_ == kFormatOgg) {
    handle_ = GetOwner()->LoadStream(GetFile(), streamMemory_);
    if (handle_ == 0) streamMemory_.clear();
  } else {
    handle_ = GetOwner()->LoadMusicModule(GetFile());
  }
}

void TMusicResource::UnloadContent() {
  if (handle_ != 0 && GetOwner()) {
    if (format_ == kFormatOgg)
      GetOwner()->FreeSampleOrStream(handle_);
    else
      GetOwner()->FreeMusicModule(handle_);
  }
  handle_ = 0;
  streamMemory_.clear();  // only after the stream is gone
}

void TGroupResource::LoadFromStorage(const StorageRef& storage) {
  TResource::LoadFromStorage(storage);
  members_->Clear();
  if (storage) {
    if (StorageRef child = storage->GetChild("resources", 0)) members_->Load(child);
  }
}

void TGroupResource::SaveToStorage(const StorageRef& storage) {
  TResource::SaveToStorage(storage);
  if (storage) members_->Save(storage->AddChild("resources"));
}

void TGroupResource::SetOwner(IResourceOwner* owner) {
  members_->SetOwner(owner);
  TResource::SetOwner(owner);
}

void TGroupResource::ReleaseResource() {
  for (int i = 0; i < members_->Count(); ++i)
    if (auto r = members_->ResourceAt(i)) r->ReleaseResource();
  TResource::ReleaseResource();
}

int TGroupResource::RandomMember() const {
  const int n = members_->Count();
  return n > 0 ? static_cast<int>(RandomInt(n)) : -1;
}

void TSoundGroupResource::Choose() {
  const int i = RandomMember();
  current_ = i < 0 ? nullptr : Query<ISoundResource>(Members().Item(i));
}

uint32_t TSoundGroupResource::GetSample() {
  return current_ ? current_->GetSample() : 0;
}

int TSoundGroupResource::GetMasterVolume() {
  return current_ ? current_->GetMasterVolume() : 100;
}

void TSoundGroupResource::ReleaseResource() {
  current_ = nullptr;
  TGroupResource::ReleaseResource();
}

void TMusicGroupResource::Choose() {
  const int i = RandomMember();
  current_ = i < 0 ? nullptr : Query<IMusicResource>(Members().Item(i));
}

uint32_t TMusicGroupResource::GetMusicHandle() {
  return current_ ? current_->GetMusicHandle() : 0;
}

int TMusicGroupResource::GetFormat() {
  return current_ ? current_->GetFormat() : kFormatModule;
}

void TMusicGroupResource::ReleaseResource() {
  current_ = nullptr;
  TGroupResource::ReleaseResource();
}

}  // namespace qv
