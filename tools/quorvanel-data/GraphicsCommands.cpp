// Graphics commands of the data tool: one Draw or one FillColor of PNG
// images, for content authors previewing blend effects.
#include <cstdint>
#include <string>

#include "Commands.h"
#include "graphics/ImageCodec.h"
#include "graphics/Surface.h"
#include "storage/StorageAccess.h"

namespace qv::tool {

namespace {

EBlendMode ParseMode(TArgs& args) {
  const auto mode = args.Option("--mode");
  if (!mode) throw EToolError("--mode is required");
  const int index = EnumIndex(kBlendModeNames, *mode, -1);
  if (index < 0)
    throw EToolError(
        "--mode must be one of normal, screen, overlay, linearlight, addition, maxopaque, not '" + *mode +
        "'");
  return static_cast<EBlendMode>(index);
}

int ParseOpacity(TArgs& args) {
  const auto text = args.Option("--opacity");
  if (!text) throw EToolError("--opacity is required");
  const long long o = ParseIntArg(*text, "--opacity");
  if (o < 0 || o > 255) throw EToolError("--opacity must be between 0 and 255, not '" + *text + "'");
  return static_cast<int>(o);
}

TPoint ParseAt(TArgs& args) {
  const auto text = args.Option("--at");
  if (!text) return {};
  const size_t comma = text->find(',');
  if (comma == std::string::npos) throw EToolError("--at needs X,Y, not '" + *text + "'");
  const long long x = ParseIntArg(text->substr(0, comma), "--at X");
  const long long y = ParseIntArg(text->substr(comma + 1), "--at Y");
  if (x < INT32_MIN / 2 || x > INT32_MAX / 2 || y < INT32_MIN / 2 || y > INT32_MAX / 2)
    throw EToolError("--at is out of range: '" + *text + "'");
  return {static_cast<int>(x), static_cast<int>(y)};
}

uint32_t ParseColor(const std::string& text) {
  std::string hex = text;
  if (hex.size() > 2 && hex[0] == '0' && (hex[1] == 'x' || hex[1] == 'X')) hex = hex.substr(2);
  bool ok = !hex.empty() && hex.size() <= 8;
  uint32_t value = 0;
  for (char c : hex) {
    int digit = c >= '0' && c <= '9'   ? c - '0'
                : c >= 'a' && c <= 'f' ? c - 'a' + 10
                : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                       : -1;
    if (digit < 0) ok = false;
    value = value << 4 | static_cast<uint32_t>(digit & 15);
  }
  if (!ok) throw EToolError("--color must be 0xAARRGGBB, not '" + text + "'");
  return value;
}

Ref<TSurface> LoadImage(const std::string& path) {
  EImageFailure failure = EImageFailure::kNone;
  Ref<TSurface> surface = DecodePng(ReadInput(path), EPngAccept::kAny, path, &failure);
  if (failure == EImageFailure::kTooLarge)
    throw EToolError(path + " is too large (at most " + std::to_string(kMaxSurfacePixels) + " pixels)");
  if (failure == EImageFailure::kRefused)
    throw EToolError(path + " is a PNG image in a refused pixel format");
  if (!surface) throw EToolError(path + " is not a readable PNG image");
  return surface;
}

void WriteImage(const TSurface& surface, const std::string& path) {
  const std::string bytes = EncodePng(surface);
  if (bytes.empty()) throw EToolError("cannot encode " + path);
  WriteOutput(path, bytes);
}

TRect Placed(TPoint at, const ISurface& s) {
  return TRect::FromSize(at.x, at.y, s.GetWidth(), s.GetHeight());
}

int RunBlend(TArgs& args) {
  const EBlendMode mode = ParseMode(args);
  const int opacity = ParseOpacity(args);
  const TPoint at = ParseAt(args);
  const auto files = args.Positional();
  if (files.size() != 3) throw EToolError("expected SRC.png DST.png OUT.png");
  const Ref<TSurface> src = LoadImage(files[0]);
  const Ref<TSurface> dst = LoadImage(files[1]);
  dst->Draw(src.get(), Placed({}, *src), mode, opacity, Placed(at, *src));
  WriteImage(*dst, files[2]);
  return 0;
}

int RunFill(TArgs& args) {
  const auto color = args.Option("--color");
  if (!color) throw EToolError("--color is required");
  const uint32_t k = ParseColor(*color);
  const auto maskPath = args.Option("--mask");
  if (!maskPath) throw EToolError("--mask is required");
  const EBlendMode mode = ParseMode(args);
  const int opacity = ParseOpacity(args);
  const TPoint at = ParseAt(args);
  const auto files = args.Positional();
  if (files.size() != 2) throw EToolError("expected DST.png OUT.png");
  const Ref<TSurface> mask = LoadImage(*maskPath);
  const Ref<TSurface> dst = LoadImage(files[0]);
  // The colour's alpha scales the opacity (FillColor itself reads it only to
  // tell a full-strength fill from a partial one).
  const int strength = opacity * static_cast<int>(k >> 24) / 255;
  dst->FillColor(k | 0xFF000000u, mask.get(), mode, strength, Placed(at, *mask), Placed({}, *mask));
  WriteImage(*dst, files[1]);
  return 0;
}

const char kBlendHelp[] =
    "Draws the whole of SRC.png onto DST.png with its top-left corner at (X,Y),\n"
    "as the game's Draw does, and writes the result to OUT.png. DST.png is not\n"
    "changed. Parts of SRC outside DST are cut off.\n"
    "\n"
    "options:\n"
    "  --mode MODE     the blend mode: normal, screen, overlay, linearlight,\n"
    "                  addition or maxopaque (required)\n"
    "  --opacity O     strength, a whole number from 0 (draws nothing) to 255\n"
    "                  (full strength) (required)\n"
    "  --at X,Y        where SRC's top-left corner lands in DST, whole numbers,\n"
    "                  negative allowed (default 0,0)\n"
    "\n"
    "Images are PNG files of any colour type and bit depth (16-bit channels are\n"
    "cut to 8 bits), except palettes with transparency entries. A source with an\n"
    "alpha channel blends by its alpha; OUT.png is RGBA when DST has an alpha\n"
    "channel, RGB otherwise. Images above 67108864 pixels are too large.\n"
    "\n"
    "output: OUT.png only; nothing on standard output.\n"
    "exit status: 0 when OUT.png was written (also when nothing was drawn);\n"
    "1 on a bad option, a missing, unreadable, refused or too large image, or\n"
    "an unwritable OUT.png, with one line saying why on standard error (an\n"
    "image that cannot be used also gets a \"data error:\" line).\n";

const char kFillHelp[] =
    "Paints one colour onto DST.png through the alpha of MASK.png, placed with\n"
    "its top-left corner at (X,Y), as the game's FillColor does, and writes the\n"
    "result to OUT.png. DST.png is not changed. A mask without alpha channel\n"
    "covers its whole rectangle.\n"
    "\n"
    "options:\n"
    "  --color 0xAARRGGBB  the colour in up to 8 hexadecimal digits, with or\n"
    "                      without 0x; digits left out are 0 (required). Its\n"
    "                      alpha AA scales the opacity: 0x80... paints at\n"
    "                      half strength, 0x00... paints nothing\n"
    "  --mask MASK.png     the mask image (required)\n"
    "  --mode MODE         the blend mode: normal, screen, overlay, linearlight,\n"
    "                      addition or maxopaque (required)\n"
    "  --opacity O         strength, a whole number from 0 (paints nothing) to\n"
    "                      255 (full strength) (required)\n"
    "  --at X,Y            where the mask's top-left corner lands in DST, whole\n"
    "                      numbers, negative allowed (default 0,0)\n"
    "\n"
    "Images are PNG files of any colour type and bit depth (16-bit channels are\n"
    "cut to 8 bits), except palettes with transparency entries; images above\n"
    "67108864 pixels are too large. OUT.png is RGBA when DST has an alpha\n"
    "channel, RGB otherwise.\n"
    "\n"
    "output: OUT.png only; nothing on standard output.\n"
    "exit status: 0 when OUT.png was written (also when nothing was painted);\n"
    "1 on a bad option or colour, a missing, unreadable, refused or too large\n"
    "image, or an unwritable OUT.png, with one line saying why on standard\n"
    "error (an image that cannot be used also gets a \"data error:\" line).\n";

}  // namespace

void RegisterGraphicsCommands(TCommandTable& table) {
  table.Add({"blend", "--mode MODE --opacity O [--at X,Y] SRC.png DST.png OUT.png",
             "draws SRC onto DST at (X,Y) in a blend mode and writes OUT.png", RunBlend, kBlendHelp});
  table.Add({"fill", "--color 0xAARRGGBB --mask MASK.png --mode MODE --opacity O [--at X,Y] DST.png OUT.png",
             "paints a colour onto DST through the mask's alpha and writes OUT.png", RunFill, kFillHelp});
}

}  // namespace qv::tool
