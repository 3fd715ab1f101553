#include "graphics/ImageCodec.h"

#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>
#include <png.h>

#include "core/Diagnostics.h"

namespace qv {
namespace {

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Colour type and bit depth straight from the IHDR chunk, before libpng
// runs.
bool PngHeader(std::string_view bytes, int& colourType, int& bitDepth) {
  if (bytes.size() < 33 || std::memcmp(bytes.data(), kPngSignature, 8) != 0 ||
      std::memcmp(bytes.data() + 12, "IHDR", 4) != 0)
    return false;
  bitDepth = static_cast<unsigned char>(bytes[24]);
  colourType = static_cast<unsigned char>(bytes[25]);
  return true;
}

// Beside the pixel limit, a limit on each side: the decoders keep one row
// pointer per row, so a 1 x 64M image would cost 512 MB of pointers alone.
constexpr uint64_t kMaxImageSide = 65536;

bool SizeAllowed(uint64_t w, uint64_t h) {
  return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide &&
         w * h <= static_cast<uint64_t>(kMaxSurfacePixels);
}

// What went wrong, kept in plain storage that the error jumps may skip.
struct TDecodeError {
  EImageFailure failure = EImageFailure::kNone;
  char text[200] = {};

  void Set(EImageFailure f, const char* format, ...) __attribute__((format(printf, 3, 4))) {
    failure = f;
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
  }
};

// Reports the failure and hands it to the caller; answers nullptr.
std::nullptr_t Fail(const TDecodeError& error, std::string_view where, EImageFailure* failure) {
  ReportDataError(where, error.text);
  if (failure) *failure = error.failure;
  return nullptr;
}

void SetTooLarge(TDecodeError& error, uint64_t w, uint64_t h) {
  error.Set(EImageFailure::kTooLarge, "image of %llu x %llu pixels is too large (at most %lld pixels)",
            static_cast<unsigned long long>(w), static_cast<unsigned long long>(h),
            static_cast<long long>(kMaxSurfacePixels));
}

struct TPngSource {
  std::string_view bytes;
  size_t pos = 0;
  TDecodeError* error = nullptr;
};

void PngRead(png_structp png, png_bytep out, png_size_t count) {
  auto* src = static_cast<TPngSource*>(png_get_io_ptr(png));
  if (count > src->bytes.size() - src->pos) png_error(png, "the data end early");
  std::memcpy(out, src->bytes.data() + src->pos, count);
  src->pos += count;
}

void PngWarning(png_structp, png_const_charp) {}
[[noreturn]] void PngError(png_structp png, png_const_charp message) {
  auto* error = static_cast<TDecodeError*>(png_get_error_ptr(png));
  if (error->failure == EImageFailure::kNone)
    error->Set(EImageFailure::kUnreadable, "damaged PNG image: %s", message);
  png_longjmp(png, 1);
}

enum class EPngTarget { kColour, kGrey };

// Decodes into `surface` (B,G,R,A) or `grey` (one byte per pixel). Only
// trivially destructible locals live in this frame, so libpng's error jump
// skips no destructor; what is allocated belongs to the caller.
bool ReadPng(std::string_view bytes, EPngTarget target, TSurface* surface, std::vector<uint8_t>* grey,
             std::vector<uint8_t*>& rows, TDecodeError& error) {
  TPngSource src{bytes, 0, &error};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, PngError, PngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &src, PngRead);
  // Only the chunks that make the picture are read: every other one (text,
  // colour profiles, anything unknown) is skipped unread. A chunk's length
  // comes from the file, and a few bytes claiming a 2 GB text chunk would
  // otherwise have libpng allocate it before the read finds it missing.
  png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
  png_read_info(png, info);
  const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  const int colourType = png_get_color_type(png, info);
  if (!SizeAllowed(w, h)) {
    SetTooLarge(error, w, h);
    png_error(png, "size");
  }
  // A palette's transparency entries would come out opaque (alpha is taken
  // from an alpha channel only), so such an image is refused, not shown as a
  // box of its transparent colour.
  if (colourType == PNG_COLOR_TYPE_PALETTE && png_get_valid(png, info, PNG_INFO_tRNS)) {
    error.Set(EImageFailure::kRefused,
              "paletted PNG with transparency refused: images must be RGB or RGBA (save it as RGBA)");
    png_error(png, "palette transparency");
  }
  png_set_strip_16(png);
  png_set_interlace_handling(png);
  if (target == EPngTarget::kGrey) {
    png_read_update_info(png, info);
    grey->assign(static_cast<size_t>(w) * h, 0);
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y) rows[y] = grey->data() + static_cast<size_t>(y) * w;
  } else {
    png_set_palette_to_rgb(png);
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_gray_to_rgb(png);
    // Only an alpha channel (grey+alpha, RGBA) makes a surface with alpha; a
    // transparency chunk alone does not, and such pixels stay opaque.
    const bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0;
    png_set_bgr(png);
    if (!alpha) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(w) * 4) png_error(png, "unexpected pixel format");
    surface->SetSize(static_cast<int>(w), static_cast<int>(h));
    surface->SetHasAlpha(alpha);
    if (surface->GetWidth() == 0) {
      SetTooLarge(error, w, h);
      png_error(png, "size");
    }
    rows.resize(h);
    for (png_uint_32 y = 0; y < h; ++y)
      rows[y] = reinterpret_cast<uint8_t*>(surface->GetScanLine(static_cast<int>(y)));
  }
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  // The palette expansion turns a transparency chunk on RGB or grey into
  // alpha too; without an alpha channel the image stays opaque.
  if (target == EPngTarget::kColour && !surface->GetHasAlpha()) {
    uint32_t* p = surface->GetScanLine(0);
    for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) p[i] |= 0xFF000000u;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// Checks the header against what the caller takes; false (with the error
// set) when the image is refused or no PNG at all.
bool PngAccepted(std::string_view bytes, EPngAccept accept, TDecodeError& error) {
  int colourType = 0, bitDepth = 0;
  if (bytes.empty()) {
    error.Set(EImageFailure::kUnreadable, "no image data (missing or empty file)");
    return false;
  }
  if (!PngHeader(bytes, colourType, bitDepth)) {
    error.Set(EImageFailure::kUnreadable, "not a PNG image");
    return false;
  }
  if (accept == EPngAccept::kAny) return true;
  if (colourType != PNG_COLOR_TYPE_RGB && colourType != PNG_COLOR_TYPE_RGB_ALPHA) {
    error.Set(EImageFailure::kRefused, "PNG colour type %d refused: images must be 8-bit RGB or RGBA%s",
              colourType, colourType == PNG_COLOR_TYPE_PALETTE ? " (this one is paletted)" : "");
    return false;
  }
  if (bitDepth != 8) {
    error.Set(EImageFailure::kRefused, "%d-bit PNG refused: images must be 8-bit RGB or RGBA", bitDepth);
    return false;
  }
  return true;
}

}  // namespace

Ref<TSurface> DecodePng(std::string_view bytes, EPngAccept accept, std::string_view where,
                        EImageFailure* failure) {
  if (failure) *failure = EImageFailure::kNone;
  TDecodeError error;
  if (!PngAccepted(bytes, accept, error)) return Fail(error, where, failure);
  auto surface = MakeRef<TSurface>();
  std::vector<uint8_t*> rows;
  if (!ReadPng(bytes, EPngTarget::kColour, surface.get(), nullptr, rows, error)) {
    if (error.failure == EImageFailure::kNone) error.Set(EImageFailure::kUnreadable, "damaged PNG image");
    return Fail(error, where, failure);
  }
  return surface;
}

bool DecodePngGrey(std::string_view bytes, int& width, int& height, std::vector<uint8_t>& grey,
                   std::string_view where) {
  int colourType = 0, bitDepth = 0;
  TDecodeError error;
  if (bytes.empty()) {
    error.Set(EImageFailure::kUnreadable, "no image data (missing or empty file)");
  } else if (!PngHeader(bytes, colourType, bitDepth)) {
    error.Set(EImageFailure::kUnreadable, "not a PNG image");
  } else if (colourType != PNG_COLOR_TYPE_GRAY || bitDepth != 8) {
    error.Set(EImageFailure::kRefused, "alpha PNG must be 8-bit greyscale, not colour type %d at %d bits",
              colourType, bitDepth);
  } else {
    std::vector<uint8_t*> rows;
    if (ReadPng(bytes, EPngTarget::kGrey, nullptr, &grey, rows, error)) {
      width = static_cast<int>(rows.empty() ? 0 : grey.size() / rows.size());
      height = static_cast<int>(rows.size());
      return true;
    }
    if (error.failure == EImageFailure::kNone) error.Set(EImageFailure::kUnreadable, "damaged PNG image");
  }
  Fail(error, where, nullptr);
  return false;
}

namespace {

struct TJpegError {
  jpeg_error_mgr mgr;  // first member: libjpeg hands back a pointer to it
  std::jmp_buf jump;
  bool truncated;
  char warning[JMSG_LENGTH_MAX];  // the first warning, empty without one
  char error[JMSG_LENGTH_MAX];
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
  cinfo->err->format_message(cinfo, err->error);
  std::longjmp(err->jump, 1);
}

// Warnings (level -1) leave a usable image, except where the data end
// early: libjpeg then makes up the rest of the picture in grey.
void JpegMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  auto* err = reinterpret_cast<TJpegError*>(cinfo->err);
  if (cinfo->err->msg_code == JWRN_JPEG_EOF) err->truncated = true;
  if (err->warning[0] == '\0') cinfo->err->format_message(cinfo, err->warning);
}

// Decodes into `pixels` (resized here). Only trivially destructible locals
// live in this frame, so the error jump skips no destructor.
bool DecodeJpegInto(std::string_view bytes, int& width, int& height, std::vector<uint32_t>& pixels,
                    TJpegError& err, TDecodeError& error) {
  jpeg_decompress_struct cinfo;
  cinfo.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = JpegErrorExit;
  err.mgr.emit_message = JpegMessage;
  err.truncated = false;
  err.warning[0] = err.error[0] = '\0';
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&cinfo);
    error.Set(EImageFailure::kUnreadable, "damaged JPEG image: %s", err.error);
    return false;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
    jpeg_destroy_decompress(&cinfo);
    error.Set(EImageFailure::kUnreadable, "damaged JPEG image");
    return false;
  }
  if (cinfo.num_components != 3) {
    error.Set(EImageFailure::kRefused, "JPEG with %d colour components refused: images must be colour",
              cinfo.num_components);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  if (!SizeAllowed(cinfo.image_width, cinfo.image_height)) {
    SetTooLarge(error, cinfo.image_width, cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    return false;
  }
  cinfo.out_color_space = JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  width = static_cast<int>(cinfo.output_width);
  height = static_cast<int>(cinfo.output_height);
  pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0xFF000000u);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row =
        reinterpret_cast<JSAMPROW>(pixels.data() + static_cast<size_t>(cinfo.output_scanline) * width);
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  if (err.truncated) {
    error.Set(EImageFailure::kUnreadable, "truncated JPEG image: %s", err.warning);
    return false;
  }
  return true;
}

}  // namespace

Ref<TSurface> DecodeJpeg(std::string_view bytes, std::string_view where, EImageFailure* failure) {
  if (failure) *failure = EImageFailure::kNone;
  TDecodeError error;
  if (bytes.empty()) {
    error.Set(EImageFailure::kUnreadable, "no image data (missing or empty file)");
    return Fail(error, where, failure);
  }
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  TJpegError err;
  if (!DecodeJpegInto(bytes, width, height, pixels, err, error)) return Fail(error, where, failure);
  auto surface = MakeRef<TSurface>(width, height, false);
  if (surface->GetWidth() == 0) {
    SetTooLarge(error, static_cast<uint64_t>(width), static_cast<uint64_t>(height));
    return Fail(error, where, failure);
  }
  // Decoded despite a warning: the author still hears of it.
  if (err.warning[0] != '\0')
    ReportDataError(where, std::string("JPEG warning (decoded anyway): ") + err.warning);
  uint32_t* d = surface->GetScanLine(0);
  for (size_t i = 0; i < pixels.size(); ++i) d[i] = pixels[i] | 0xFF000000u;
  return surface;
}

std::string EncodePng(const ISurface& surface) {
  const int w = surface.GetWidth(), h = surface.GetHeight();
  if (w <= 0 || h <= 0) return {};
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  std::vector<uint8_t> rgb;
  const void* buffer = surface.GetScanLine(0);
  if (surface.GetHasAlpha()) {
    image.format = PNG_FORMAT_BGRA;
  } else {
    image.format = PNG_FORMAT_BGR;
    rgb.resize(static_cast<size_t>(w) * h * 3);
    const uint32_t* s = surface.GetScanLine(0);
    for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) {
      rgb[3 * i] = static_cast<uint8_t>(s[i]);
      rgb[3 * i + 1] = static_cast<uint8_t>(s[i] >> 8);
      rgb[3 * i + 2] = static_cast<uint8_t>(s[i] >> 16);
    }
    buffer = rgb.data();
  }
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, buffer, 0, nullptr)) return {};
  std::string out(size, '\0');
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, buffer, 0, nullptr)) return {};
  out.resize(size);
  return out;
}

bool SavePng(const ISurface& surface, const std::string& nativePath) {
  const std::string bytes = EncodePng(surface);
  if (bytes.empty()) return false;
  std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

}  // namespace qv
