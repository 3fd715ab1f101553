// Sound resources: a sample loaded through the owner's audio services.
#pragma once

#include <cstdint>

#include "resources/Resource.h"

namespace qv {

class ISoundResource : public virtual IInterface {
public:
  // The sample handle (loads first while loading waits); 0 without audio.
  virtual uint32_t GetSample() = 0;
  // The resource's own volume, 0..100.
  virtual int GetMasterVolume() = 0;
  // A group picks a new current member here; a single sound does nothing.
  virtual void Choose() {}
};

class TSoundResource : public TResource, public ISoundResource {
public:
  // "maxplaybacks" (16-bit, written when not 0), "master_volume" (8-bit,
  // written when not 100).
  QV_PROPERTY_TABLE(TSoundResource)
  // A maximum of 0 simultaneous playbacks becomes 1 here.
  void SetOwner(IResourceOwner* owner) override;

  uint32_t GetSample() override;
  int GetMasterVolume() override { return masterVolume_; }
  int GetMaxPlaybacks() const { return maxPlaybacks_; }

protected:
  void LoadContent() override;
  void UnloadContent() override;

private:
  uint16_t maxPlaybacks_ = 0;
  uint8_t masterVolume_ = 100;
  uint32_t sample_ = 0;
};

}  // namespace qv
