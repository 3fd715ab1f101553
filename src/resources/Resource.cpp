#include "resources/Resource.h"

#include "resources/ResourceCollection.h"
#include "storage/DataPaths.h"

namespace qv {

const TPropertyTable<TResource>& TResource::Properties() {
  static const TPropertyTable<TResource> table = TPropertyTable<TResource>(TPersistObject::Properties())
                                                     .String("file", &TResource::file_)
                                                     .Bool("loadbydemand", &TResource::loadByDemand_)
                                                     .WhenTrue();
  return table;
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
