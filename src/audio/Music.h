// A music item: names a music resource. Handed to the engine's PlayMusic and
// StopMusic.
#pragma once

#include <string>

#include "storage/Collections.h"
#include "storage/PersistObject.h"

namespace qv {

class IMusic : public virtual IInterface {
protected:
  ~IMusic() override = default;

public:
  virtual const std::string& GetResourceName() const = 0;
};

class TMusic : public TPropertyObject, public IMusic {
protected:
  ~TMusic() override = default;

public:
  void Initialize() override;
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  bool SetPropertyValue(const std::string& name, const TVariant& value) override;
  TVariant GetPropertyValue(const std::string& name) override;

  const std::string& GetResourceName() const override { return resourceName_; }
  void SetResourceName(const std::string& name) { resourceName_ = name; }

private:
  std::string resourceName_;
};

class IMusicCollection : public virtual IInterface {
protected:
  ~IMusicCollection() override = default;

public:
  virtual Ref<IMusic> FindMusic(std::string_view name) const = 0;
};

// Node "musics", items "music".
class TMusicCollection : public TStaticCreationPersistItemCollection<TMusic>, public IMusicCollection {
protected:
  ~TMusicCollection() override = default;

public:
  void Initialize() override;
  Ref<IMusic> FindMusic(std::string_view name) const override { return ItemAs<IMusic>(name); }
};

}  // namespace qv
