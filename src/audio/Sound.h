// A sound item: names a sound resource and carries per-use settings (volume
// percentage, pan, whether the music is muted while it plays). Screens and
// widgets hand these to the engine's PlaySound.
#pragma once

#include <string>

#include "storage/Collections.h"
#include "storage/PersistObject.h"

namespace qv {

class ISound : public virtual IInterface {
public:
  virtual const std::string& GetResourceName() const = 0;
  virtual int GetVolume() const = 0;
  virtual void SetVolume(int volume) = 0;
  virtual int GetPan() const = 0;
  virtual void SetPan(int pan) = 0;
  virtual bool GetMuteMusic() const = 0;
  virtual void SetMuteMusic(bool mute) = 0;
};

class TSound : public TPropertyObject, public ISound {
public:
  static constexpr int kDefaultVolume = -1;  // the resource's own volume
  static constexpr int kDefaultPan = -101;   // the pan left unchanged

  TSound() { SetStorageName("sound"); }
  // "resourcename" (always written; a read-only property), "volume", "pan",
  // "mutemusic" (written when true).
  QV_PROPERTY_TABLE(TSound)

  const std::string& GetResourceName() const override { return resourceName_; }
  void SetResourceName(const std::string& name) { resourceName_ = name; }
  int GetVolume() const override { return volume_; }
  void SetVolume(int volume) override { volume_ = volume; }
  int GetPan() const override { return pan_; }
  void SetPan(int pan) override { pan_ = pan; }
  bool GetMuteMusic() const override { return muteMusic_; }
  void SetMuteMusic(bool mute) override { muteMusic_ = mute; }

private:
  std::string resourceName_;
  int volume_ = kDefaultVolume;
  int pan_ = kDefaultPan;
  bool muteMusic_ = false;
};

class ISoundCollection : public virtual IInterface {
public:
  virtual Ref<ISound> FindSound(std::string_view name) const = 0;
};

// Node "sounds", items "sound", looked up by name: a second sound of a
// name (in any case) is dropped and reported.
class TSoundCollection : public TStaticCreationPersistItemCollection<TSound>, public ISoundCollection {
public:
  TSoundCollection() {
    SetStorageName("sounds");
    SetItemElementName("sound");
  }
  void AddItem(const Ref<IInterface>& item) override { AddByName(item); }
  Ref<ISound> FindSound(std::string_view name) const override { return ItemAs<ISound>(name); }
};

}  // namespace qv
