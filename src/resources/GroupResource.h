// Group resources: a resource whose members (loaded from its "resources"
// child) follow its owner, loading and unloading; sound and music groups
// answer from a member chosen at random.
#pragma once

#include "resources/MusicResource.h"
#include "resources/ResourceCollection.h"
#include "resources/SoundResource.h"

namespace qv {

class TGroupResource : public TResource {
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

// A group whose current member answers for it through the member interface
// I (ISoundResource or IMusicResource). Choose picks the current member at
// random among all members; one that lacks I leaves no current member.
template <class I>
class TChoosingGroupResource : public TGroupResource, public I {
public:
  void Choose() override {
    const int i = RandomMember();
    current_ = i < 0 ? nullptr : Query<I>(Members().Item(i));
  }
  Ref<I> GetCurrent() const { return current_; }
  void ReleaseResource() override {
    current_ = nullptr;
    TGroupResource::ReleaseResource();
  }

protected:
  // What the current member answers, or `none` without one.
  template <class R>
  R FromCurrent(R (I::*query)(), R none) const {
    return current_ ? (current_.get()->*query)() : none;
  }

private:
  Ref<I> current_;
};

class TSoundGroupResource : public TChoosingGroupResource<ISoundResource> {
public:
  uint32_t GetSample() override { return FromCurrent(&ISoundResource::GetSample, 0u); }
  // 100 without a current member.
  int GetMasterVolume() override { return FromCurrent(&ISoundResource::GetMasterVolume, 100); }
};

class TMusicGroupResource : public TChoosingGroupResource<IMusicResource> {
public:
  uint32_t GetMusicHandle() override { return FromCurrent(&IMusicResource::GetMusicHandle, 0u); }
  int GetFormat() override { return FromCurrent(&IMusicResource::GetFormat, int{kFormatModule}); }
};

}  // namespace qv
