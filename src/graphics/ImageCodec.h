// Image decoding and encoding: PNG through libpng, JPEG through
// libjpeg-turbo, both decoding straight into B,G,R,A. Every decoder answers
// an empty handle for truncated, corrupt or unsupported data, and for images
// above kMaxSurfacePixels; none of them throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Ref.h"
#include "graphics/Surface.h"

namespace qv {

enum class EPngAccept {
  kTrueColour,  // colour types RGB and RGBA only (image resources)
  kAny,         // anything libpng can expand to B,G,R,A (the data tool)
};

// The surface gets the alpha flag when the image has an alpha channel;
// without one every alpha byte is 255 (a transparency chunk is ignored).
Ref<TSurface> DecodePng(std::string_view bytes, EPngAccept accept = EPngAccept::kTrueColour);
// 8-bit greyscale PNG (colour type 0) as one byte per pixel.
bool DecodePngGrey(std::string_view bytes, int& width, int& height, std::vector<uint8_t>& grey);
// Three-component JPEG as an opaque surface without alpha flag.
Ref<TSurface> DecodeJpeg(std::string_view bytes);

// PNG bytes of the surface: RGBA when it has the alpha flag, RGB otherwise.
// Empty for an empty surface.
std::string EncodePng(const ISurface& surface);
// Writes EncodePng to a native path; false when that fails.
bool SavePng(const ISurface& surface, const std::string& nativePath);

}  // namespace qv
