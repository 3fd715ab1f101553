// A music item: names a music resource. Handed to the engine's PlayMusic and
// StopMusic.
#pragma once

#include <string>

#include "storage/Collections.h"
#include "storage/PersistObject.h"

namespace qv {

class IMusic : public virtual IInterface {
public:
  virtual const std::string& GetResourceName() const = 0;
};

class TMusic : public TPropertyObject, public IMusic {
public:
  TMusic() { SetStorageName("music"); }
  // "resourcename" (always written; a property to read and write).
  QV_PROPERTY_TABLE(TMusic)

  const std::string& GetResourceName() const override { return resourceName_; }
  void SetResourceName(const std::string& name) { resourceName_ = name; }

private:
  std::string resourceName_;
};

class IMusicCollection : public virtual IInterface {
public:
  virtual Ref<IMusic> FindMusic(std::string_view name) const = 0;
};

// Node "musics", items "music", looked up by name: a second music of a
// name (in any case) is dropped and reported.
class TMusicCollection : public TStaticCreationPersistItemCollection<TMusic>, public IMusicCollection {
public:
  TMusicCollection() {
    SetStorageName("musics");
    SetItemElementName("music");
  }
  void AddItem(const Ref<IInterface>& item) override { AddByName(item); }
  Ref<IMusic> FindMusic(std::string_view name) const override { return ItemAs<IMusic>(name); }
};

}  // namespace qv
