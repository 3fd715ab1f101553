#include "resources/ResourceFile.h"

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

namespace qv {

const TPropertyTable<TResourceFile>& TResourceFile::Properties() {
  static const TPropertyTable<TResourceFile> table =
      TPropertyTable<TResourceFile>(TPersistObject::Properties())
          .String("filename", &TResourceFile::fileName_)
          .Always()
          .Enum("loadmode", kLoadModeNames, &TResourceFile::loadMode_, kAsynch)
          .Always()
          .String("option", &TResourceFile::option_);
  return table;
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
      ReportDataError(
          group.empty() ? std::string("resources") : group,
          "resource \"" + name + "\" takes the name of a loaded resource (names ignore case); dropped");
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
