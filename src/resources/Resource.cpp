#include "resources/Resource.h"

#include "resources/ResourceCollection.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"

namespace qv {

void TResource::Initialize() {
  TPersistObject::Initialize();
  SetStorageName("resource");
}

void TResource::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  file_ = ReadString(storage, "file", "");
  loadByDemand_ = ReadBool(storage, "loadbydemand", false);
}

void TResource::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  WriteString(storage, "file", file_, !file_.empty());
  WriteBool(storage, "loadbydemand", loadByDemand_, loadByDemand_);
}

void TResource::Load() {
  loadByDemand_ = false;
  LoadContent();
}

void TResource::Unload() {
  UnloadContent();
  loadByDemand_ = true;
}

void TResource::SetOwner(IResourceOwner* owner) {
  owner_ = owner;
  if (!loadByDemand_) Load();
}

void TResource::ReleaseResource() {
  Unload();
  owner_ = nullptr;
}

std::string TResource::ReadResourceFile(const std::string& path) const {
  std::unique_ptr<TStream> stream = owner_ ? owner_->OpenResourceStream(path) : OpenDataStream(path, true);
  if (!stream) return {};
  // Cap what one resource file may bring into memory.
  if (stream->Size() > static_cast<int64_t>(kMaxEntrySize)) return {};
  return stream->ReadAll();
}

std::unique_ptr<TStream> TSilentResourceOwner::OpenResourceStream(const std::string& path) {
  return OpenDataStream(path, true);
}

Ref<IResource> TSilentResourceOwner::FindResource(const std::string& name) {
  return resources_ ? resources_->FindResource(name) : nullptr;
}

}  // namespace qv
