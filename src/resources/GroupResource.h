// Group resources: a resource whose members (loaded from its "resources"
// child) follow its owner, loading and unloading; sound and music groups
// answer from a member chosen at random.
#pragma once

#include "resources/MusicResource.h"
#include "resources/ResourceCollection.h"
#include "resources/SoundResource.h"

namespace qv {

class TGroupResource : public TResource {
protected:
  ~TGroupResource() override = default;

public:
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  void SetOwner(IResourceOwner* owner) override;
  void ReleaseResource() override;

  TResourceCollection& Members() { return *members_; }

protected:
  void LoadContent() override { members_->LoadAll(); }
  void UnloadContent() override { members_->UnloadAll(); }
  // A member index drawn uniformly; -1 without members.
  int RandomMember() const;

private:
  Ref<TResourceCollection> members_ = MakeRef<TResourceCollection>();
};

class TSoundGroupResource : public TGroupResource, public ISoundResource {
protected:
  ~TSoundGroupResource() override = default;

public:
  // The current member becomes a random one.
  void Choose() override;
  uint32_t GetSample() override;
  // 100 without a current member.
  int GetMasterVolume() override;
  Ref<ISoundResource> GetCurrent() const { return current_; }
  void ReleaseResource() override;

private:
  Ref<ISoundResource> current_;
};

class TMusicGroupResource : public TGroupResource, public IMusicResource {
protected:
  ~TMusicGroupResource() override = default;

public:
  void Choose() override;
  uint32_t GetMusicHandle() override;
  int GetFormat() override;
  Ref<IMusicResource> GetCurrent() const { return current_; }
  void ReleaseResource() override;

private:
  Ref<IMusicResource> current_;
};

}  // namespace qv
