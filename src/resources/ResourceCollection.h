// Resources keyed by name, each created from its element's "type".
#pragma once

#include <string>

#include "resources/Resource.h"
#include "storage/Collections.h"

namespace qv {

class IResourceCollection : public virtual IInterface {
public:
  virtual Ref<IResource> FindResource(const std::string& name) const = 0;
  virtual Ref<IResource> ResourceAt(int index) const = 0;
  // Releases and removes every resource of the group, last to first; an
  // empty group name removes all.
  virtual void RemoveGroup(const std::string& group) = 0;
};

class TResourceCollection : public TTypedCreationPersistItemCollection, public IResourceCollection {
public:
  TResourceCollection() {
    SetStorageName("resources");
    SetItemElementName("resource");
  }
  // Keyed by name: a second resource of a name (in any case) is dropped and
  // reported.
  void AddItem(const Ref<IInterface>& item) override { AddByName(item); }
  Ref<IResource> FindResource(const std::string& name) const override { return ItemAs<IResource>(name); }
  Ref<IResource> ResourceAt(int index) const override { return ItemAs<IResource>(index); }
  void RemoveGroup(const std::string& group) override;

  // Hands every resource to the owner (which loads those not loaded by
  // demand), or passes Load and Unload on.
  void SetOwner(IResourceOwner* owner);
  void LoadAll();
  void UnloadAll();
};

}  // namespace qv
