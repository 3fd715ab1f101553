#include "resources/ImageResource.h"

#include "graphics/ImageCodec.h"

namespace qv {

std::string JpngColourPath(const std::string& path) {
  return (path.size() >= 4 ? path.substr(0, path.size() - 4) : std::string()) + ".jpg";
}

const TPropertyTable<TImageResource>& TImageResource::Properties() {
  static const TPropertyTable<TImageResource> table =
      TPropertyTable<TImageResource>(TResource::Properties())
          .Enum("format", kFormatNames, &TImageResource::format_, kUnknown);
  return table;
}

int TImageResource::GetWidth() {
  EnsureLoaded();
  return width_;
}

int TImageResource::GetHeight() {
  EnsureLoaded();
  return height_;
}

Ref<ISurface> TImageResource::GetSurface() {
  EnsureLoaded();
  return surface_;
}

void TImageResource::LoadContent() {
  if (loaded_) return;  // decoded at most once until unloaded
  loaded_ = true;
  surface_ = Decode();
  width_ = surface_ ? surface_->GetWidth() : 0;
  height_ = surface_ ? surface_->GetHeight() : 0;
}

void TImageResource::UnloadContent() {
  surface_ = nullptr;
  width_ = height_ = 0;
  loaded_ = false;
}

Ref<TSurface> TImageResource::Decode() const {
  switch (format_) {
    case kPng:
      return DecodePng(ReadResourceFile(GetFile()), EPngAccept::kTrueColour);
    case kJpeg:
      return DecodeJpeg(ReadResourceFile(GetFile()));
    case kJpng: {
      // Colour from the JPEG beside the file, alpha from the file itself:
      // an 8-bit greyscale PNG of the same size.
      Ref<TSurface> colour = DecodeJpeg(ReadResourceFile(JpngColourPath(GetFile())));
      if (!colour) return nullptr;
      int w = 0, h = 0;
      std::vector<uint8_t> grey;
      if (!DecodePngGrey(ReadResourceFile(GetFile()), w, h, grey) || w != colour->GetWidth() ||
          h != colour->GetHeight())
        return nullptr;
      uint32_t* p = colour->GetScanLine(0);
      for (size_t i = 0; i < grey.size(); ++i)
        p[i] = (p[i] & 0x00FFFFFFu) | static_cast<uint32_t>(grey[i]) << 24;
      colour->SetHasAlpha(true);
      return colour;
    }
    default:
      return nullptr;
  }
}

}  // namespace qv
