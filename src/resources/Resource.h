// Named media resources. A resource is created from its "type" by the class
// registry, loads its description from storage, and is given its owner when
// registered; its content (pixels, audio handles) is loaded then, or on first
// use while the load-by-demand flag is set.
#pragma once

#include <string>

#include "core/Ref.h"
#include "resources/ResourceOwner.h"
#include "storage/PersistObject.h"

namespace qv {

class IResource : public virtual IInterface {
public:
  virtual const std::string& GetName() const = 0;
  virtual void SetName(const std::string& name) = 0;
  virtual const std::string& GetGroupName() const = 0;
  virtual void SetGroupName(const std::string& group) = 0;
  // Clears the load-by-demand flag and loads the content.
  virtual void Load() = 0;
  // Frees the content and sets the load-by-demand flag, so the next use
  // loads again.
  virtual void Unload() = 0;
  // Stores the owner and loads at once unless loading is by demand.
  virtual void SetOwner(IResourceOwner* owner) = 0;
  // Unloads and drops the owner. (Not named Release: that is the reference
  // count's.)
  virtual void ReleaseResource() = 0;
};

class TResource : public TPersistObject, public IResource {
public:
  TResource() { SetStorageName("resource"); }
  // "file" (written when not empty), "loadbydemand" (written when true).
  QV_PROPERTY_TABLE(TResource)
  using TPersistObject::Load;

  const std::string& GetName() const override { return TPersistObject::GetName(); }
  void SetName(const std::string& name) override { TPersistObject::SetName(name); }
  const std::string& GetGroupName() const override { return groupName_; }
  void SetGroupName(const std::string& group) override { groupName_ = group; }
  void Load() override;
  void Unload() override;
  void SetOwner(IResourceOwner* owner) override;
  void ReleaseResource() override;

  const std::string& GetFile() const { return file_; }
  void SetFile(const std::string& file) { file_ = file; }
  bool GetLoadByDemand() const { return loadByDemand_; }
  void SetLoadByDemand(bool value) { loadByDemand_ = value; }
  IResourceOwner* GetOwner() const { return owner_; }

protected:
  // The class's own content; called by Load and Unload.
  virtual void LoadContent() {}
  virtual void UnloadContent() {}
  // Loads first when the content waits for its first use.
  void EnsureLoaded() {
    if (loadByDemand_) Load();
  }
  // The whole file through the owner (or the data path resolver without
  // one); empty when it cannot be read.
  std::string ReadResourceFile(const std::string& path) const;

private:
  std::string groupName_;
  std::string file_;
  bool loadByDemand_ = false;
  IResourceOwner* owner_ = nullptr;
};

}  // namespace qv
