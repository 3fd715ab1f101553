// Music resources: a module ("mo3") or an Ogg stream ("ogg") loaded through
// the owner's audio services.
#pragma once

#include <cstdint>
#include <string>

#include "resources/Resource.h"

namespace qv {

class IMusicResource : public virtual IInterface {
public:
  static constexpr int kFormatModule = 0;  // "mo3"
  static constexpr int kFormatOgg = 1;     // "ogg"
  // The music or stream handle (loads first while loading waits); 0 when
  // there is none.
  virtual uint32_t GetMusicHandle() = 0;
  virtual int GetFormat() = 0;
  // A group picks a new current member here; a single music does nothing.
  virtual void Choose() {}
};

class TMusicResource : public TResource, public IMusicResource {
public:
  static constexpr char kFormatNames[] = "/mo3/ogg";

  // "format" (written when "ogg").
  QV_PROPERTY_TABLE(TMusicResource)

  uint32_t GetMusicHandle() override;
  int GetFormat() override { return format_; }
  void SetFormat(int format) { format_ = format; }

protected:
  void LoadContent() override;
  void UnloadContent() override;

private:
  int format_ = kFormatModule;
  uint32_t handle_ = 0;
  std::string streamMemory_;  // the Ogg file's bytes, alive with the stream
};

}  // namespace qv
