#include "resources/ResourceCollection.h"

namespace qv {

void TResourceCollection::RemoveGroup(const std::string& group) {
  for (int i = Count() - 1; i >= 0; --i) {
    Ref<IResource> r = ResourceAt(i);
    if (!group.empty() && (!r || r->GetGroupName() != group)) continue;
    if (r) r->ReleaseResource();
    Delete(i);
  }
}

void TResourceCollection::SetOwner(IResourceOwner* owner) {
  for (int i = 0; i < Count(); ++i)
    if (auto r = ResourceAt(i)) r->SetOwner(owner);
}

void TResourceCollection::LoadAll() {
  for (int i = 0; i < Count(); ++i)
    if (auto r = ResourceAt(i)) r->Load();
}

void TResourceCollection::UnloadAll() {
  for (int i = 0; i < Count(); ++i)
    if (auto r = ResourceAt(i)) r->Unload();
}

}  // namespace qv
