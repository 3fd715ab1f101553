// Resource list files: each names a storage file whose "content" holds
// resource elements, and whether it is loaded before the game starts
// ("synch") or while the screen keeps running ("asynch"). A list with an
// "option" is an alternative set: it is loaded only while that option is
// "yes", over the lists without one (its resources take the places of those
// of the same names), and taken off again when the option goes "no".
#pragma once

#include <functional>
#include <string>

#include "resources/ResourceCollection.h"
#include "storage/Collections.h"

namespace qv {

// "ResourceFile": one entry of the game description's resource file list.
class TResourceFile : public TPersistObject {
protected:
  ~TResourceFile() override = default;

public:
  enum ELoadMode { kSynch = 0, kAsynch = 1 };
  static constexpr char kLoadModeNames[] = "/synch/asynch";

  TResourceFile() { SetStorageName("resourcefile"); }
  // "filename" and "loadmode", both always written; "option" when not empty.
  QV_PROPERTY_TABLE(TResourceFile)

  const std::string& GetFileName() const { return fileName_; }
  void SetFileName(const std::string& name) { fileName_ = name; }
  int GetLoadMode() const { return loadMode_; }
  void SetLoadMode(int mode) { loadMode_ = mode; }
  // The option that swaps this list in; empty for a list always loaded.
  const std::string& GetOption() const { return option_; }
  void SetOption(const std::string& option) { option_ = option; }

private:
  std::string fileName_;
  std::string option_;
  int loadMode_ = kAsynch;
};

// The list keeps every entry in document order, whatever its name (names
// that are taken get generated keys; lookups by name find the first).
class TResourceFileCollection : public TStaticCreationPersistItemCollection<TResourceFile> {
protected:
  ~TResourceFileCollection() override = default;

public:
  TResourceFileCollection() {
    SetStorageName("resourcefiles");
    SetItemElementName("resourcefile");
  }
  void AddItem(const Ref<IInterface>& item) override { AddKeepingAll(item); }
};

// Registers the resources of one list: for each "resource" element under the
// first "content" child, in order, skip it when `registry` already holds that
// exact name or its type is unknown; otherwise create and load it, set its
// group, hand it to the owner (which loads it unless by demand) and add it.
// `beforeEach` runs before every element (the engine pumps its loop there in
// "asynch" mode). Returns how many were added.
int LoadResources(const StorageRef& list, const std::string& group, IResourceOwner* owner,
                  TResourceCollection& registry, const std::function<void()>& beforeEach = {});
// The same for the storage file at a data path; 0 when it cannot be read.
int LoadResourceList(const std::string& path, const std::string& group, IResourceOwner* owner,
                     TResourceCollection& registry, const std::function<void()>& beforeEach = {});

}  // namespace qv
