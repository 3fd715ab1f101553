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
#include "app/InputScript.h"
#include "app/RegisterTypes.h"
#include "app/ScreenPreview.h"
#include "app/TopWidgetOwner.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/Random.h"
#include "graphics/ImageCodec.h"
#include "platform/InjectedInput.h"
#include "platform/InputTranslator.h"
#include "screens/GameScreen.h"
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

// The screen of --screen: shown by the preview game, the script's events
// delivered before their frames, the frames run; the screen is drawn when
// it is still shown after the last one.
void RenderScreen(TEngine& engine, const std::string& path, const StorageRef& root, TInputScript& script,
                  long long frames, int step, bool dirty, bool events) {
  if (root->GetNodeName() != "gamescreen")
    throw EToolError(path + ": the root element is <" + root->GetNodeName() + ">, not <gamescreen>");
  const std::string type = ReadString(root, "type", "");
  const Ref<TAbstractObject> object = CreateFromType(type, ReadString(root, "name", ""));
  if (!object) throw EToolError(path + ": unknown screen type \"" + type + "\"");
  const Ref<TGameScreen> screen = Query<TGameScreen>(object);
  if (!screen) throw EToolError(path + ": the type \"" + type + "\" is not a game screen");
  screen->Load(root);

  TPreviewLog log(events ? TPreviewLog::TSink([](const std::string& line) {
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
  })
                         : TPreviewLog::TSink());
  const Ref<TPreviewEngine> view = MakeRef<TPreviewEngine>(engine, log);
  const Ref<TPreviewGame> game = MakeRef<TPreviewGame>(*screen, *view, log);
  struct TFinish {
    TPreviewGame& game;
    ~TFinish() { game.Finish(); }
  } finish{*game};

  TInputTranslator translator;
  std::vector<TMessage> messages;
  TInjectedInput input([&](SDL_Event& event) { translator.Translate(event, messages); });
  ISurface* back = engine.BackSurface();
  game->Start();  // frame 0
  for (long long frame = 1; frame <= frames; ++frame) {
    log.SetFrame(frame);
    messages.clear();
    script.Deliver(frame, &input);
    for (const TMessage& message : messages) game->Route(message);
    game->Advance(step);
    game->CollectUpdates();
    if (dirty) PrintRects(static_cast<int>(frame), back->GetDirtyRegion());
    engine.ClearUpdateRects();
  }
  std::fflush(stdout);
  engine.ClearUpdateRects();
  if (game->IsShown()) screen->Draw(back);
}

int RunRender(TArgs& args) {
  const auto widgetPath = args.Option("--widget");
  const auto screenPath = args.Option("--screen");
  if (widgetPath && screenPath) throw EToolError("--widget and --screen exclude each other");
  if (!widgetPath && !screenPath) throw EToolError("--widget or --screen is required");
  const std::string& treePath = widgetPath ? *widgetPath : *screenPath;
  const auto inputPath = args.Option("--input");
  const bool events = args.Flag("--events");
  if (widgetPath && (inputPath || events)) throw EToolError("--input and --events need --screen");
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
  const StorageRef widgetRoot = ReadStorageFile(treePath, ReadInput(treePath));
  TInputScript script;
  if (inputPath) {
    std::string why;
    if (!script.Parse(ReadInput(*inputPath), why)) throw EToolError(*inputPath + ": " + why);
  }
  std::vector<StorageRef> lists;
  for (const std::string& path : resourcePaths) lists.push_back(ReadStorageFile(path, ReadInput(path)));
  const std::string out = AbsolutePath(*outPath);
  const std::string folder =
      AbsolutePath(appDir ? *appDir : std::filesystem::path(AbsolutePath(treePath)).parent_path().string());
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) throw EToolError(folder + " is not a folder");
  SetApplicationPath(folder);
  std::filesystem::current_path(folder, ec);
  if (ec) throw EToolError("cannot enter " + folder);

  RegisterGameExecutableTypes();
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
  for (int y = 0; y < size.y; ++y) std::fill_n(back->GetScanLine(y), size.x, background);

  if (screenPath) {
    RenderScreen(*engine, *screenPath, widgetRoot, script, frames, step, dirty, events);
    engine->ClearUpdateRects();
    const std::string bytes = EncodePng(*back);
    if (bytes.empty()) throw EToolError("cannot encode " + *outPath);
    WriteOutput(out, bytes);
    return 0;
  }

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
    "Builds the widget tree stored in FILE (--widget) or a game screen (--screen)\n"
    "on a headless engine, runs it for some frames and writes the screen as a PNG\n"
    "image (8-bit RGB).\n"
    "\n"
    "The engine is the game's own, without a window or audio: its back surface\n"
    "has the screen size, its update region collects what the widgets report,\n"
    "and the resource lists load through its resource collection. Types are\n"
    "those the game executable registers.\n"
    "\n"
    "--widget: the root widget is created by the \"type\" of FILE's root element,\n"
    "loaded from it, and owned by a stand-in for the game (screen coordinates, no\n"
    "window), so it sits at its own anchor. Each frame advances the root by the\n"
    "step, then runs the dirty pass; after the last frame the whole tree is drawn\n"
    "once on the background.\n"
    "\n"
    "--screen: FILE's root element is a <gamescreen>, created by its \"type\". A\n"
    "stand-in game owns it: its stack holds only this screen, it records every\n"
    "call the screen makes on it (showing another screen is refused; closing\n"
    "this one hides it, and it leaves once its root is invisible, after any hide\n"
    "effect), it has no cursors, and it hands the screen the engine's services,\n"
    "recording option changes and opening nothing on the desktop. The screen is\n"
    "shown before frame 1 (frame 0). Each frame K first delivers the input\n"
    "script's events due before it, translated into the game's window messages\n"
    "as the game gets them: mouse messages to the screen's MouseEvent (the\n"
    "engine's cursor position follows them, so hover works), key-down, key-up\n"
    "and characters to its KeyEvent (Alt with a character as a character with\n"
    "the Alt bit); then the screen's time advances by the step and the dirty\n"
    "pass runs. After the last frame the screen is drawn once on the background\n"
    "when it is still shown.\n"
    "\n"
    "options:\n"
    "  --widget FILE       the widget's storage file, plain XML or enciphered\n"
    "                      with the game's data key\n"
    "  --screen FILE       a game screen's storage file, plain or enciphered\n"
    "                      (exactly one of --widget and --screen is required)\n"
    "  --out OUT.png       the image written (required)\n"
    "  --input SCRIPT      (--screen only) input events, one a line, as for\n"
    "                      `quorvanel --input`: \"FRAME move X Y\", \"FRAME down X Y\n"
    "                      [left|right|middle]\", \"FRAME up X Y [BUTTON]\", \"FRAME key\n"
    "                      NAME\" (down, its text, up), \"FRAME keydown NAME\", \"FRAME\n"
    "                      keyup NAME\", \"FRAME text CHARS\"; NAME an SDL key name\n"
    "                      (\"Tab\", \"Escape\", \"Return\", \"a\") with optional alt+,\n"
    "                      ctrl+, shift+; \"#\" lines are comments. An event of\n"
    "                      frame K is delivered before frame K; events after the\n"
    "                      last frame are not delivered.\n"
    "  --events            (--screen only) print one JSON line per event on\n"
    "                      standard output, in order, K the frame it happened in\n"
    "                      (0 for the show):\n"
    "                      {\"frame\":K,\"event\":\"control\",\"sender\":NAME,\"code\":C}\n"
    "                        a control event the screen received (1 click,\n"
    "                        2 state change, 4 text change), seen before the\n"
    "                        screen reacts\n"
    "                      {\"frame\":K,\"event\":\"show\",\"screen\":NAME,\"params\":{...}}\n"
    "                      {\"frame\":K,\"event\":\"close\",\"screen\":NAME,\"params\":{...}}\n"
    "                        the screen asked the game to show or close a screen;\n"
    "                        params maps each parameter's name to its value as\n"
    "                        text\n"
    "                      {\"frame\":K,\"event\":\"option\",\"name\":N,\"value\":V}\n"
    "                        the screen set an engine option\n"
    "                      {\"frame\":K,\"event\":\"focus\",\"widget\":NAME}\n"
    "                        the keyboard focus changed (null: nothing has it)\n"
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
    "                      (rectangles never overlap; right and bottom exclusive);\n"
    "                      with --events it follows the frame's events\n"
    "\n"
    "Data errors met on the way (missing resources, bad values, unknown types\n"
    "inside the tree) are reported on standard error and do not stop the run.\n"
    "\n"
    "exit codes: 0 the image was written; 1 an error, said on one line of\n"
    "standard error (an unreadable or unparsable file or input script, an\n"
    "unknown type, a type that is not a widget or not a game screen, a screen\n"
    "file whose root is no <gamescreen>, a bad option value or combination).\n";

}  // namespace

void RegisterWidgetCommands(TCommandTable& table) {
  table.Add(
      {"render",
       "(--widget FILE | --screen FILE [--input SCRIPT] [--events]) [--app-dir DIR] [--resources FILE]... "
       "[--size WxH] [--background 0xAARRGGBB] [--frames N] [--step MS] [--seed N] [--dirty] --out OUT.png",
       "run a stored widget tree or game screen for some frames and draw it into a PNG image", RunRender,
       kRenderHelp});
}

}  // namespace qv::tool
