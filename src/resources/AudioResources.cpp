// Sound, music and group resources.
#include "core/Random.h"
#include "resources/GroupResource.h"
#include "storage/StorageAccess.h"

namespace qv {

const TPropertyTable<TSoundResource>& TSoundResource::Properties() {
  static const TPropertyTable<TSoundResource> table =
      TPropertyTable<TSoundResource>(TResource::Properties())
          .Int("maxplaybacks", &TSoundResource::maxPlaybacks_, 0)
          .Int("master_volume", &TSoundResource::masterVolume_, 100);
  return table;
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

const TPropertyTable<TMusicResource>& TMusicResource::Properties() {
  static const TPropertyTable<TMusicResource> table =
      TPropertyTable<TMusicResource>(TResource::Properties())
          .Enum("format", kFormatNames, &TMusicResource::format_, kFormatModule)
          .WriteIf([](const TMusicResource& r) { return r.format_ == kFormatOgg; });
  return table;
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

}  // namespace qv
