// Image decoding and encoding: PNG through libpng, JPEG through
// libjpeg-turbo, both decoding straight into B,G,R,A. Every decoder answers
// an empty handle for truncated, corrupt or refused data, and for images
// above kMaxSurfacePixels, and then reports why through ReportDataError
// under `where` (the file name); none of them throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Ref.h"
#include "graphics/Surface.h"

namespace qv {

enum class EPngAccept {
  kTrueColour,  // 8-bit RGB and RGBA only (image resources)
  kAny,         // anything libpng can expand to B,G,R,A (the data tool),
                // except a palette with transparency entries
};

// Why a decoder gave no image.
enum class EImageFailure {
  kNone,
  kUnreadable,  // no data, not an image of that kind, truncated or corrupt
  kTooLarge,    // a valid header above kMaxSurfacePixels
  kRefused,     // a valid image in a pixel format the caller does not take
};

// The surface gets the alpha flag when the image has an alpha channel;
// without one every alpha byte is 255 (a transparency chunk on RGB or grey
// is ignored). `failure`, when given, tells why no image came back.
Ref<TSurface> DecodePng(std::string_view bytes, EPngAccept accept = EPngAccept::kTrueColour,
                        std::string_view where = "PNG image", EImageFailure* failure = nullptr);
// 8-bit greyscale PNG (colour type 0) as one byte per pixel.
bool DecodePngGrey(std::string_view bytes, int& width, int& height, std::vector<uint8_t>& grey,
                   std::string_view where = "PNG image");
// Three-component JPEG as an opaque surface without alpha flag. Data that
// only draw a libjpeg warning (extraneous bytes, a damaged stretch) still
// decode, with the warning reported; data that end early do not.
Ref<TSurface> DecodeJpeg(std::string_view bytes, std::string_view where = "JPEG image",
                         EImageFailure* failure = nullptr);

// PNG bytes of the surface: RGBA when it has the alpha flag, RGB otherwise.
// Empty for an empty surface.
std::string EncodePng(const ISurface& surface);
// Writes EncodePng to a native path; false when that fails.
bool SavePng(const ISurface& surface, const std::string& nativePath);

}  // namespace qv
