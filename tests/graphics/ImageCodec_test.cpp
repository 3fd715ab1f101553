// Which images the decoders take, which they refuse, and that every refusal
// is reported with its reason.
#include "graphics/ImageCodec.h"
#include "graphics/ImageTestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include <jpeglib.h>
#include <png.h>

#include "core/Diagnostics.h"

namespace qv {
namespace {

std::string BigEndian(uint32_t v) {
  return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
          static_cast<char>(v)};
}

// One PNG chunk with its CRC.
std::string Chunk(const std::string& type, const std::string& data) {
  const std::string body = type + data;
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : body) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return BigEndian(static_cast<uint32_t>(data.size())) + body + BigEndian(~crc);
}

// A PNG written by libpng's simplified interface from `pixels` in `format`.
std::string WritePng(int w, int h, uint32_t format, const void* pixels, const void* colormap = nullptr,
                     int entries = 0) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = format;
  image.colormap_entries = static_cast<png_uint_32>(entries);
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_get_memory_size(image, size, 0, pixels, 0, colormap));
  std::string bytes(size, '\0');
  EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels, 0, colormap));
  bytes.resize(size);
  return bytes;
}

TEST(PngDecoding, EightBitRgbaKeepsItsAlphaAndRgbIsOpaque) {
  const uint8_t rgba[8] = {0x10, 0x20, 0x30, 0x80, 0xFF, 0x00, 0x7F, 0x00};
  TDiagnosticsCollector diagnostics;
  const Ref<TSurface> a = DecodePng(WritePng(2, 1, PNG_FORMAT_RGBA, rgba));
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->GetHasAlpha());
  EXPECT_EQ(a->GetPixel(0, 0), 0x80102030u);
  EXPECT_EQ(a->GetPixel(1, 0), 0x00FF007Fu);
  const uint8_t rgb[6] = {0x10, 0x20, 0x30, 0xFF, 0x00, 0x7F};
  const Ref<TSurface> b = DecodePng(WritePng(2, 1, PNG_FORMAT_RGB, rgb));
  ASSERT_TRUE(b);
  EXPECT_FALSE(b->GetHasAlpha());
  EXPECT_EQ(b->GetPixel(1, 0), 0xFFFF007Fu);
  EXPECT_TRUE(diagnostics.Errors().empty()) << "good images are not reported";
}

TEST(PngDecoding, SixteenBitChannelsAreRefusedForResources) {
  const uint16_t rgb[3] = {0xFFFF, 0x8000, 0x0000};
  const std::string png = WritePng(1, 1, PNG_FORMAT_LINEAR_RGB, rgb);
  ASSERT_EQ(png[24], 16) << "a 16-bit image";
  TDiagnosticsCollector diagnostics;
  EImageFailure failure = EImageFailure::kNone;
  EXPECT_FALSE(DecodePng(png, EPngAccept::kTrueColour, "img\\deep.png", &failure));
  EXPECT_EQ(failure, EImageFailure::kRefused);
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "img\\deep.png");
  EXPECT_EQ(diagnostics.Errors()[0].what, "16-bit PNG refused: images must be 8-bit RGB or RGBA");
  // The data tool's reader still takes it, cut to 8 bits.
  EXPECT_TRUE(DecodePng(png, EPngAccept::kAny));
}

TEST(PngDecoding, PaletteWithTransparencyIsRefusedEverywhere) {
  // Entry 0 fully transparent white: loaded opaque it would show a white box.
  const uint8_t colormap[8] = {255, 255, 255, 0, 200, 100, 0, 255};
  const uint8_t indices[2] = {0, 1};
  const std::string keyed = WritePng(2, 1, PNG_FORMAT_RGBA_COLORMAP, indices, colormap, 2);
  ASSERT_EQ(png_uint_32{static_cast<unsigned char>(keyed[25])}, png_uint_32{PNG_COLOR_TYPE_PALETTE});
  TDiagnosticsCollector diagnostics;
  EImageFailure failure = EImageFailure::kNone;
  EXPECT_FALSE(DecodePng(keyed, EPngAccept::kTrueColour, "a.png", &failure));
  EXPECT_EQ(failure, EImageFailure::kRefused);
  EXPECT_FALSE(DecodePng(keyed, EPngAccept::kAny, "b.png", &failure));
  EXPECT_EQ(failure, EImageFailure::kRefused);
  ASSERT_EQ(diagnostics.Errors().size(), 2u);
  EXPECT_EQ(diagnostics.Errors()[0].what,
            "PNG colour type 3 refused: images must be 8-bit RGB or RGBA (this one is paletted)");
  EXPECT_EQ(diagnostics.Errors()[1].where, "b.png");
  EXPECT_EQ(diagnostics.Errors()[1].what,
            "paletted PNG with transparency refused: images must be RGB or RGBA (save it as RGBA)");
  // An opaque palette is fine for the data tool.
  const uint8_t opaque[6] = {10, 20, 30, 200, 100, 0};
  const Ref<TSurface> p =
      DecodePng(WritePng(2, 1, PNG_FORMAT_RGB_COLORMAP, indices, opaque, 2), EPngAccept::kAny);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->GetPixel(0, 0), 0xFF0A141Eu);
  EXPECT_EQ(p->GetPixel(1, 0), 0xFFC86400u);
}

TEST(PngDecoding, ValidImageAboveTheSizeCapIsTooLargeNotUnreadable) {
  // 9000 x 8000 = 72 000 000 pixels, above 64 Mi; the header is valid.
  const std::string ihdr = BigEndian(9000) + BigEndian(8000) + std::string("\x08\x06\x00\x00\x00", 5);
  const std::string png = std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", ihdr) +
                          Chunk("IDAT", std::string("\x78\x9C\x03\x00\x00\x00\x00\x01", 8)) +
                          Chunk("IEND", "");
  TDiagnosticsCollector diagnostics;
  EImageFailure failure = EImageFailure::kNone;
  EXPECT_FALSE(DecodePng(png, EPngAccept::kAny, "huge.png", &failure));
  EXPECT_EQ(failure, EImageFailure::kTooLarge);
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].what,
            "image of 9000 x 8000 pixels is too large (at most 67108864 pixels)");
  // Damage, by contrast, is unreadable.
  EXPECT_FALSE(DecodePng(png.substr(0, 40), EPngAccept::kAny, "cut.png", &failure));
  EXPECT_EQ(failure, EImageFailure::kUnreadable);
  EXPECT_FALSE(DecodePng("", EPngAccept::kAny, "none.png", &failure));
  EXPECT_EQ(failure, EImageFailure::kUnreadable);
  EXPECT_TRUE(diagnostics.Has("no image data (missing or empty file)"));
  EXPECT_EQ(diagnostics.Errors().size(), 3u);
}

TEST(PngDecoding, TextChunksAreSkippedUnreadWhateverTheyClaim) {
  // A 4 x 3 image with a small text chunk after its header decodes as
  // without it.
  const uint8_t rgb[4 * 3 * 3] = {200, 100, 50};
  const std::string plain = WritePng(4, 3, PNG_FORMAT_RGB, rgb);
  const std::string head = plain.substr(0, 33), rest = plain.substr(33);
  const std::string text = Chunk("zTXt", std::string("k\0\0\x78\x9C\x03\x00\x00\x00\x00\x01", 12));
  TDiagnosticsCollector diagnostics;
  EImageFailure failure = EImageFailure::kNone;
  const Ref<TSurface> image = DecodePng(head + text + rest, EPngAccept::kAny, "text.png", &failure);
  ASSERT_TRUE(image);
  EXPECT_EQ(image->GetPixel(0, 0), 0xFFC86432u);
  EXPECT_TRUE(diagnostics.Errors().empty());
  // The same header, then a text chunk whose length field says 2 023 552 355
  // bytes and a file that ends 18 bytes later: skipped, not allocated, the
  // image found damaged where its data end (the fuzzer's out-of-memory
  // input, fuzz/crashes/png/oom-b10d...).
  const std::string claim = head + BigEndian(0x789CF563) + "zTXt" + std::string(14, '\x01');
  EXPECT_FALSE(DecodePng(claim, EPngAccept::kAny, "claim.png", &failure));
  EXPECT_EQ(failure, EImageFailure::kUnreadable);
  EXPECT_TRUE(diagnostics.Has("damaged PNG image: the data end early"));
}

TEST(PngDecoding, GreyAlphaImagesMustBeEightBitGrey) {
  const uint8_t grey[2] = {7, 250};
  int w = 0, h = 0;
  std::vector<uint8_t> out;
  TDiagnosticsCollector diagnostics;
  ASSERT_TRUE(DecodePngGrey(WritePng(2, 1, PNG_FORMAT_GRAY, grey), w, h, out, "m.png"));
  EXPECT_EQ(out, (std::vector<uint8_t>{7, 250}));
  const uint8_t rgb[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_FALSE(DecodePngGrey(WritePng(2, 1, PNG_FORMAT_RGB, rgb), w, h, out, "m.png"));
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].what, "alpha PNG must be 8-bit greyscale, not colour type 2 at 8 bits");
}

TEST(JpegDecoding, ExtraneousBytesOnlyWarnAndTheImageDecodes) {
  const std::string jpg = test::Jpeg(8, 8, 200, 100, 50, false, 100);
  // Three stray bytes after the JFIF segment, before the next marker
  // (quantisation tables, 0xdb): libjpeg warns and decodes.
  ASSERT_EQ(jpg.substr(20, 2), "\xFF\xDB");
  const std::string stray = jpg.substr(0, 20) + "\x01\x02\x03" + jpg.substr(20);
  TDiagnosticsCollector diagnostics;
  const Ref<TSurface> s = DecodeJpeg(stray, "img\\stray.jpg");
  ASSERT_TRUE(s);
  EXPECT_FALSE(s->GetHasAlpha());
  EXPECT_EQ(s->GetPixel(7, 7) >> 24, 255u);
  EXPECT_NEAR(static_cast<int>((s->GetPixel(3, 3) >> 16) & 255), 200, 2);
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "img\\stray.jpg");
  EXPECT_EQ(diagnostics.Errors()[0].what,
            "JPEG warning (decoded anyway): Corrupt JPEG data: 3 extraneous bytes before marker 0xdb");
}

TEST(JpegDecoding, TruncatedGreyAndEmptyDataGiveNoImageAndAReport) {
  const std::string jpg = test::Jpeg(64, 64, 1, 2, 3, true, 100);
  TDiagnosticsCollector diagnostics;
  EImageFailure failure = EImageFailure::kNone;
  EXPECT_FALSE(DecodeJpeg(jpg.substr(0, jpg.size() / 2), "half.jpg", &failure));
  EXPECT_EQ(failure, EImageFailure::kUnreadable);
  EXPECT_EQ(diagnostics.Errors().at(0).what, "truncated JPEG image: Premature end of JPEG file");
  EXPECT_FALSE(DecodeJpeg(std::string("\xFF\xD8\xFF", 3), "stub.jpg", &failure));
  EXPECT_EQ(failure, EImageFailure::kUnreadable);
  EXPECT_FALSE(DecodeJpeg("", "none.jpg", &failure));
  EXPECT_EQ(diagnostics.Errors().size(), 3u);
  EXPECT_EQ(diagnostics.Errors()[2].what, "no image data (missing or empty file)");
}

}  // namespace
}  // namespace qv
