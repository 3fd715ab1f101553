// Image resources: a "png", "jpeg" or "jpng" file decoded into a surface.
#pragma once

#include "graphics/Surface.h"
#include "resources/Resource.h"

namespace qv {

class IImageResource : public virtual IInterface {
public:
  // Each loads first while loading waits for the first use. 0 or none when
  // the image could not be decoded.
  virtual int GetWidth() = 0;
  virtual int GetHeight() = 0;
  virtual Ref<ISurface> GetSurface() = 0;
};

class TImageResource : public TResource, public IImageResource {
public:
  enum EFormat { kPng = 0, kJpeg = 1, kJpng = 2, kUnknown = 3 };
  static constexpr char kFormatNames[] = "/png/jpeg/jpng/unknown";

  // "format" (written when not "unknown").
  QV_PROPERTY_TABLE(TImageResource)

  int GetWidth() override;
  int GetHeight() override;
  Ref<ISurface> GetSurface() override;

  int GetFormat() const { return format_; }
  void SetFormat(int format) { format_ = format; }
  bool IsLoaded() const { return loaded_; }

protected:
  void LoadContent() override;
  void UnloadContent() override;

private:
  Ref<TSurface> Decode() const;

  int format_ = kUnknown;
  int width_ = 0;
  int height_ = 0;
  Ref<TSurface> surface_;
  bool loaded_ = false;
};

// The colour file of a "jpng" image: the path with its last four characters
// replaced by ".jpg".
std::string JpngColourPath(const std::string& path);

}  // namespace qv
