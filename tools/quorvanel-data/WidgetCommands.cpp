// Widget commands of the data tool: a widget tree from a storage file, run
// for some frames on a headless engine and drawn into a PNG image.
//
// The engine is the game's own TEngine without Init: it opens no window and
// no audio device, but its option-driven back surface, update region and
// resource loading are the very code the game runs.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "Commands.h"
#include "app/Engine.h"
#include "app/RegisterTypes.h"
#include "app/TopWidgetOwner.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/Random.h"
#include "graphics/ImageCodec.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"
#include "widgets/AbstractWidget.h"
#include "widgets/IWidget.h"
#include "widgets/IWidgetOwner.h"

namespace qv::tool {

namespace {

TPoint ParseSize(const std::string& text) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) throw EToolError("--size must be WxH, not '" + text + "'");
  const long long w = ParseIntArg(text.substr(0, x), "--size");
  const long long h = ParseIntArg(text.substr(x + 1), "--size");
  if (w <= 0 || h <= 0 || w * h > kMaxSurfacePixels)
    throw EToolError("--size " + text + " is not a usable screen size");
  return {static_cast<int>(w), static_cast<int>(h)};
}

long long NonNegative(TArgs& args, const std::string& name, long long fallback) {
  const auto text = args.Option(name);
  if (!text) return fallback;
  const long long value = ParseIntArg(*text, name);
  if (value < 0) throw EToolError(name + " must not be negative");
  return value;
}

// A storage file as the game would read it: plain XML, or the hexadecimal
// cipher text of the game's data key. A file that does not parse is the
// command's one error line, so the parser's own report is kept back.
StorageRef ReadStorageFile(const std::string& path, const std::string& text) {
  const size_t start = text.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  const bool plain = start != std::string::npos && text[start] == '<';
  TDiagnosticsCollector quiet;
  if (StorageRef root = LoadStorageText(plain ? text : DecipherFromHex(text, kGameKey))) return root;
  std::string why = plain ? "is not well-formed XML" : "is neither XML nor enciphered XML";
  if (plain && !quiet.Errors().empty()) why = quiet.Errors().front().what;
  throw EToolError(path + ": " + why);
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path abs = std::filesystem::absolute(path, ec);
  return ec ? path : abs.string();
}

void PrintRects(int frame, const TRegion& region) {
  std::string line = "{\"frame\":" + std::to_string(frame) + ",\"rects\":[";
  bool first = true;
  for (const TRect& r : region.Rects()) {
    if (!first) line += ',';
    first = false;
    line += '[' + std::to_string(r.left) + ',' + std::to_string(r.top) + ',' + std::to_string(r.right) + ',' +
            std::to_string(r.bottom) + ']';
  }
  line += "]}\n";
  std::fputs(line.c_str(), stdout);
}

int RunRender(TArgs& args) {
  const auto widgetPath = args.Option("--widget");
  if (!widgetPath) throw EToolError("--widget is required");
  const auto outPath = args.Option("--out");
  if (!outPath) throw EToolError("--out is required");
  const auto appDir = args.Option("--app-dir");
  const std::vector<std::string> resourcePaths = args.Options("--resources");
  const TPoint size = ParseSize(args.Option("--size").value_or("640x480"));
  uint32_t background = 0xFF000000u;
  if (const auto text = args.Option("--background")) {
    const long long value = ParseIntArg(*text, "--background");
    if (value < 0) throw EToolError("--background must be 0xAARRGGBB, not '" + *text + "'");
    background = static_cast<uint32_t>(value);
  }
  const long long frames = NonNegative(args, "--frames", 1);
  const int step = static_cast<int>(NonNegative(args, "--step", 10));
  const auto seed = args.Option("--seed");
  const bool dirty = args.Flag("--dirty");
  if (!args.Positional().empty()) throw EToolError("unexpected argument '" + args.Positional()[0] + "'");
  if (seed) SetRandomSeed(static_cast<uint32_t>(ParseIntArg(*seed, "--seed")));

  // Every file named on the command line is read before the application
  // folder becomes current, where the resources' own paths are resolved.
  const StorageRef widgetRoot = ReadStorageFile(*widgetPath, ReadInput(*widgetPath));
  std::vector<StorageRef> lists;
  for (const std::string& path : resourcePaths) lists.push_back(ReadStorageFile(path, ReadInput(path)));
  const std::string out = AbsolutePath(*outPath);
  const std::string folder = AbsolutePath(
      appDir ? *appDir : std::filesystem::path(AbsolutePath(*widgetPath)).parent_path().string());
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) throw EToolError(folder + " is not a folder");
  SetApplicationPath(folder);
  std::filesystem::current_path(folder, ec);
  if (ec) throw EToolError("cannot enter " + folder);

  RegisterAllTypes();
  Ref<TEngine> engine = MakeRef<TEngine>();
  engine->Initialize();
  engine->SetClock({[] { return 0u; }, [](uint32_t) {}});
  engine->SetOption("ScreenWidth", std::to_string(size.x));
  engine->SetOption("ScreenHeight", std::to_string(size.y));
  engine->SetOption("ScreenBPP", "32");
  engine->SetOption("FullScreenMode", "no");
  engine->ApplyDisplaySettings();  // no window: only the back surface takes the size
  ISurface* back = engine->BackSurface();
  if (!back || back->GetWidth() != size.x || back->GetHeight() != size.y)
    throw EToolError("cannot make a back surface of " + std::to_string(size.x) + "x" +
                     std::to_string(size.y));
  back->SetHasAlpha(false);
  for (const StorageRef& list : lists) engine->LoadResources(list, "", false);

  const std::string type = ReadString(widgetRoot, "type", "");
  Ref<TAbstractObject> object = CreateFromType(type, ReadString(widgetRoot, "name", ""));
  if (!object) throw EToolError(*widgetPath + ": unknown widget type \"" + type + "\"");
  Ref<IWidget> root = Query<IWidget>(object);
  if (!root) throw EToolError(*widgetPath + ": the type \"" + type + "\" is not a widget");
  if (Ref<IPersistent> persistent = Query<IPersistent>(object)) persistent->Load(widgetRoot);

  Ref<TTopWidgetOwner> owner = MakeRef<TTopWidgetOwner>(*engine);
  root->SetOwner(owner.get());
  struct TDetach {
    IWidget& widget;
    ~TDetach() { widget.Detach(); }
  } detach{*root};

  for (long long frame = 1; frame <= frames; ++frame) {
    root->Advance(step);
    root->UpdateDirtyRegion(false, false);
    if (dirty) PrintRects(static_cast<int>(frame), back->GetDirtyRegion());
    engine->ClearUpdateRects();
  }
  std::fflush(stdout);

  // The whole tree once, unclipped, on the background.
  engine->ClearUpdateRects();
  for (int y = 0; y < size.y; ++y) std::fill_n(back->GetScanLine(y), size.x, background);
  root->Draw(back, RoundEven(root->GetAnchorLeft()), RoundEven(root->GetAnchorTop()));
  const std::string bytes = EncodePng(*back);
  if (bytes.empty()) throw EToolError("cannot encode " + *outPath);
  WriteOutput(out, bytes);
  return 0;
}

const char kRenderHelp[] =
    "Builds the widget tree stored in FILE on a headless engine, runs it for some\n"
    "frames and writes the screen as a PNG image (8-bit RGB).\n"
    "\n"
    "The engine is the game's own, without a window or audio: its back surface\n"
    "has the screen size, its update region collects what the widgets report,\n"
    "and the resource lists load through its resource collection. The root\n"
    "widget is created by the \"type\" of FILE's root element, loaded from it,\n"
    "and owned by a stand-in for the game (screen coordinates, no window), so\n"
    "it sits at its own anchor. Each frame advances the root by the step, then\n"
    "runs the dirty pass; after the last frame the whole tree is drawn once on\n"
    "the background.\n"
    "\n"
    "options:\n"
    "  --widget FILE       the widget's storage file, plain XML or enciphered\n"
    "                      with the game's data key (required)\n"
    "  --out OUT.png       the image written (required)\n"
    "  --app-dir DIR       the application folder, made current, where resource\n"
    "                      files are found (default: the folder of FILE)\n"
    "  --resources FILE    a resource list, plain or enciphered, loaded whole and\n"
    "                      without loop turns; repeatable, loaded in order\n"
    "  --size WxH          the screen size in pixels (default 640x480)\n"
    "  --background 0xAARRGGBB\n"
    "                      the colour the screen is filled with (default\n"
    "                      0xFF000000, opaque black); the image keeps no alpha\n"
    "  --frames N          frames to run, 0 or more (default 1)\n"
    "  --step MS           milliseconds each frame advances, 0 or more (default 10)\n"
    "  --seed N            seeds the random generator (default: time of day)\n"
    "  --dirty             print one JSON line per frame on standard output:\n"
    "                      {\"frame\":K,\"rects\":[[LEFT,TOP,RIGHT,BOTTOM],...]}, the\n"
    "                      update region of frame K (counted from 1) after merging\n"
    "                      (rectangles never overlap; right and bottom exclusive)\n"
    "\n"
    "Data errors met on the way (missing resources, bad values) are reported on\n"
    "standard error and do not stop the run.\n"
    "\n"
    "exit codes: 0 the image was written; 1 an error, said on one line of\n"
    "standard error (an unreadable or unparsable file, an unknown type, a type\n"
    "that is not a widget, a bad option value).\n";

}  // namespace

void RegisterWidgetCommands(TCommandTable& table) {
  table.Add({"render",
             "--widget FILE [--app-dir DIR] [--resources FILE]... [--size WxH] [--background 0xAARRGGBB] "
             "[--frames N] [--step MS] [--seed N] [--dirty] --out OUT.png",
             "run a stored widget tree for some frames and draw it into a PNG image", RunRender,
             kRenderHelp});
}

}  // namespace qv::tool
