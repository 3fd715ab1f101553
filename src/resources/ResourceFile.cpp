#include "resources/ResourceFile.h"

#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

void TResourceFile::Initialize() {
  TPersistObject::Initialize();
  SetStorageName("resourcefile");
}

void TResourceFile::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  fileName_ = ReadString(storage, "filename", "");
  loadMode_ = ReadEnum(storage, "loadmode", kLoadModeNames, kAsynch);
}

void TResourceFile::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  WriteString(storage, "filename", fileName_);
  WriteEnum(storage, "loadmode", kLoadModeNames, loadMode_);
}

int LoadResources(const StorageRef& list, const std::string& group, IResourceOwner* owner,
                  TResourceCollection& registry, const std::function<void()>& beforeEach) {
  if (!list) return 0;
  StorageRef content = list->GetChild("content", 0);
  if (!content) return 0;
  int added = 0;
  const int n = content->GetChildCount("resource");
  for (int i = 0; i < n; ++i) {
    if (beforeEach) beforeEach();
    StorageRef element = content->GetChild("resource", i);
    if (!element) continue;
    const std::string name = ReadString(element, "name", "");
    // Exact names: an earlier resource of that name stays in place.
    if (Ref<IResource> existing = registry.FindResource(name); existing && existing->GetName() == name)
      continue;
    Ref<IResource> resource = Query<IResource>(CreateFromNode(element));
    if (!resource) continue;
    resource->SetGroupName(group);
    resource->SetOwner(owner);
    if (registry.AddNamed(resource) >= 0) {
      ++added;
    } else {
      resource->ReleaseResource();
    }
  }
  return added;
}

int LoadResourceList(const std::string& path, const std::string& group, IResourceOwner* owner,
                     TResourceCollection& registry, const std::function<void()>& beforeEach) {
  return LoadResources(LoadStorageFile(path), group, owner, registry, beforeEach);
}

}  // namespace qv
