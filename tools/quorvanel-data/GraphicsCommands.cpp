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
  Ref<TSurface> surface = DecodePng(ReadInput(path), EPngAccept::kAny);
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
  dst->FillColor(k, mask.get(), mode, opacity, Placed(at, *mask), Placed({}, *mask));
  WriteImage(*dst, files[1]);
  return 0;
}

}  // namespace

void RegisterGraphicsCommands(TCommandTable& table) {
  table.Add({"blend", "--mode MODE --opacity O [--at X,Y] SRC.png DST.png OUT.png",
             "draws SRC onto DST at (X,Y) in a blend mode and writes OUT.png", RunBlend, ""});
  table.Add({"fill", "--color 0xAARRGGBB --mask MASK.png --mode MODE --opacity O [--at X,Y] DST.png OUT.png",
             "paints a colour onto DST through the mask's alpha and writes OUT.png", RunFill, ""});
}

}  // namespace qv::tool
