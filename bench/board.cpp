// Board frame speed: the game screen's widgets (the background, the panels
// and the board control with every factory of the bundled content) on the
// game's engine without a window, with the game's resource lists loaded
// from the built content folder, playing a 12x9 relax level. Frames run as
// the game runs them (advance 10 ms, the dirty pass, the drawing of the
// update region, the region cleared).
//
//   board/cascade-frame  one frame of play where the strongest move is made
//                        at once whenever the board waits for one, so
//                        nearly every frame shows a swap, an explosion or
//                        falls; a finished level starts again
//   board/idle-frame     one frame while the board waits for a move (its
//                        idle hover and shine run as in the game)
//   board/shine-wave-frame  the frame in which the idle shine wave starts
//                        over every cell (each cell makes its shine from
//                        the "ShineEffect" factory)
//   memcpy/frame         one copy of a whole 640x480 frame, for scale
//
// After the table: the median CPU time of the cascade and shine wave frames
// against the 5 ms frame budget, and the worst and mean CPU time of single
// frames over whole cascades (each from its swap to rest) and while waiting.
//
// Options before the benchmark's own: --content DIR (the built content
// folder; default the build's), --game-xml FILE (the game description to
// take the screen from; default the content folder's own), --seed N,
// --screenshot FILE (a PNG of the whole screen after the measured cascades).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "app/Engine.h"
#include "app/RegisterTypes.h"
#include "app/Startup.h"
#include "app/TopWidgetOwner.h"
#include "board/GameBoardControl.h"
#include "board/LevelManager.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Random.h"
#include "game/ZinLevel.h"
#include "graphics/ImageCodec.h"
#include "graphics/Surface.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"
#include "widgets/IWidget.h"

using namespace qv;

namespace {

constexpr int kW = 640, kH = 480;
constexpr int kCols = 12, kRows = 9;
constexpr int kDifficulty = 2;
constexpr double kBudgetMicros = 5000.0;
// Frames (10 ms each) a shine wave takes to play out: the longest delay of
// a pattern on this board plus the shine's life.
constexpr int kShineWaveFrames = 250;
constexpr const char* kStandIn = "ui_background_main";
// The game's resource lists, in the order the game loads them.
constexpr const char* kResourceLists[][2] = {
    {"ui", "data\\res\\ui.xml"},         {"fonts", "data\\fonts\\fonts.xml"},
    {"sounds", "data\\res\\sounds.xml"}, {"music", "data\\res\\music.xml"},
    {"board", "data\\res\\board.xml"},   {"board_extra", "data\\res\\board_extra.xml"}};

struct TOptions {
  std::string content = QV_BENCH_CONTENT_DIR;
  std::string gameXml;
  uint32_t seed = 2026;
  std::string screenshot;
};

// Counts data errors, per distinct message (the board art of this tree
// names pictures and fonts that are not drawn yet).
class TCountingSink : public IDiagnosticsSink {
public:
  void DataError(const TDataError& error) override {
    ++count;
    auto& [n, where] = kinds[error.what];
    if (n++ == 0) where = error.where;
  }
  int count = 0;
  std::map<std::string, std::pair<int, std::string>> kinds;  // what -> count, first where
};

TCountingSink& Sink() {
  static TCountingSink sink;  // outlives everything that reports
  return sink;
}

double ProcessCpuMicros() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

Ref<TZinLevel> MakeLevel() {
  auto level = MakeRef<TZinLevel>();
  level->SetName("bench");
  level->SetFlowerColors("11,22,33,44,55");
  level->SetShiftX(26);
  level->SetShiftY(20);
  level->SetDefaultKind(1);
  level->SetDefaultFlower(-1);
  level->SetDefaultColour(-1);
  level->Resize(kCols, kRows);
  return level;
}

struct TFixture {
  TOptions options;
  Ref<TEngine> engine;
  Ref<TTopWidgetOwner> owner;
  Ref<IWidget> root;
  TGameBoardControl* board = nullptr;
  Ref<TZinLevel> level = MakeLevel();
  ISurface* back = nullptr;
  Ref<TSurface> frameCopy = MakeRef<TSurface>(kW, kH, false);
  int widgets = 0, resources = 0, loadErrors = 0;
  int levels = 0, swaps = 0;
  std::string standIn;  // the missing background picture the stand-in replaces
  bool ready = false;

  explicit TFixture(const TOptions& o) : options(o) {
    SetDiagnosticsSink(&Sink());
    TStartupOptions startup;
    startup.appDir = options.content;
    startup.enterAppDir = true;
    startup.seedRandom = false;
    startup.userDataDir = "/tmp/qv-bench-board-data";
    StartupServices("", startup);
    SetRandomSeed(options.seed);
    RegisterGameExecutableTypes();
    engine = MakeRef<TEngine>();
    engine->Initialize();
    engine->SetClock({[] { return 0u; }, [](uint32_t) {}});
    engine->SetOption("ScreenWidth", std::to_string(kW));
    engine->SetOption("ScreenHeight", std::to_string(kH));
    engine->SetOption("ScreenBPP", "32");
    engine->SetOption("FullScreenMode", "no");
    engine->ApplyDisplaySettings();
    back = engine->BackSurface();
    for (const auto& list : kResourceLists) engine->LoadResourceList(list[1], list[0], false);
    loadErrors = Sink().count;

    const StorageRef game = options.gameXml.empty()
                                ? LoadStorageText(engine->LoadText(kGameDescriptionFile, kGameKey))
                                : LoadStorageFile(options.gameXml);
    const StorageRef window =
        game ? game->SelectChild("gamescreens/gamescreen[@name='GS_Game']/window/widgets") : nullptr;
    if (!window) {
      std::fprintf(stderr, "bench_board: no GS_Game screen in %s\n",
                   options.gameXml.empty() ? (options.content + "/data/ini/Zintara.ini").c_str()
                                           : options.gameXml.c_str());
      return;
    }
    // The screen's window as one group: the background, the panels and the
    // board, drawn in their order.
    const StorageRef screen = NewStorage("widget");
    screen->WriteAttr("type", "group_widget");
    screen->WriteAttr("name", "window");
    screen->WriteAttr("visible", "yes");
    const StorageRef children = screen->AddChild("widgets");
    for (int i = 0; i < window->GetChildCount("widget"); ++i)
      children->AppendCopy(window->GetChild("widget", i));
    // Every dirty rectangle repaints the background first: while the game's
    // background picture is not drawn yet, the menu's stands in.
    for (int i = 0; i < children->GetChildCount("widget"); ++i) {
      const StorageRef widget = children->GetChild("widget", i);
      const std::string picture = widget->ReadAttr("resourcename", "");
      if (widget->ReadAttr("name", "") == "background" && !engine->FindResource(picture) &&
          engine->FindResource(kStandIn)) {
        standIn = picture;
        widget->WriteAttr("resourcename", kStandIn);
      }
    }
    root = CreateFromNodeAs<IWidget>(screen);
    if (!root) return;
    board = dynamic_cast<TGameBoardControl*>(root->FindWidget("gameboard").get());
    if (!board) {
      std::fprintf(stderr, "bench_board: the GS_Game screen has no GameBoardControl \"gameboard\"\n");
      return;
    }
    owner = MakeRef<TTopWidgetOwner>(*engine);
    root->SetOwner(owner.get());
    StartLevel();
    widgets = Count(*root);
    Frame();  // the first frame reports everything
    ready = true;
  }
  ~TFixture() {
    if (root) root->Detach();
    SetDiagnosticsSink(nullptr);
  }

  static int Count(IWidget& w) {
    int n = 1;
    for (int i = 0;; ++i) {
      Ref<IWidget> child = w.GetChild(std::to_string(i));
      if (!child) break;
      n += Count(*child);
    }
    return n;
  }

  TBaseLevelManager* Manager() const { return dynamic_cast<TBaseLevelManager*>(board->GetLevelManager()); }
  bool Waiting() const {
    const TBaseLevelManager* m = Manager();
    return m && m->GetState() == kStateWaiting && board->GetBoardMode() == kBoardPlay;
  }
  void StartLevel() {
    board->StartLoadedLevel(level, 1, "relax", false, kDifficulty);
    ++levels;
  }

  // What the game does each frame: advance, the dirty pass, the drawing of
  // the update region (clipped to it), then the region is cleared.
  // With `area`, the update region's size in pixels is added to it.
  void Frame(double* area = nullptr) {
    root->Advance(10);
    root->UpdateDirtyRegion(false, false);
    if (area)
      for (const TRect& r : back->GetDirtyRegion().Rects())
        *area += static_cast<double>(r.right - r.left) * (r.bottom - r.top);
    if (engine->IsUpdatePending()) {
      back->SetClip(true, {0, 0, kW, kH});
      root->Draw(back, 0, 0);
    }
    engine->ClearUpdateRects();
  }
  // Before a frame of play: a waiting board makes its strongest move, a
  // finished level starts again. True when a swap was started.
  bool Play() {
    if (board->GetBoardMode() != kBoardPlay || !Manager()) {
      StartLevel();
      return false;
    }
    if (!Waiting()) return false;
    const TLinkCellInfoCollection& moves = board->Driver().Moves();
    if (moves.Empty()) return false;
    Manager()->StartSwap(moves[0].first, moves[0].second);
    ++swaps;
    return Manager()->GetState() != kStateWaiting;
  }
  void CascadeFrame() {
    Play();
    Frame();
  }
  // Frames until the board waits for a move with nothing more to show.
  void RunToWaiting(int limit = 100000) {
    for (int i = 0; i < limit && !Waiting(); ++i) {
      if (board->GetBoardMode() != kBoardPlay || !Manager()) StartLevel();
      Frame();
    }
  }

  struct TCascade {
    int frames = 0;
    double maxMicros = 0, totalMicros = 0;
    double area = 0, maxArea = 0;  // update region pixels: sum, largest
    void Add(double us, double pixels) {
      ++frames;
      totalMicros += us;
      maxMicros = std::max(maxMicros, us);
      area += pixels;
      maxArea = std::max(maxArea, pixels);
    }
    void Add(const TCascade& c) {
      frames += c.frames;
      totalMicros += c.totalMicros;
      maxMicros = std::max(maxMicros, c.maxMicros);
      area += c.area;
      maxArea = std::max(maxArea, c.maxArea);
    }
    void Print(const char* what) const {
      if (frames == 0) return;
      std::printf(
          "  %-14s %5d frames, worst %8.1f us, mean %8.1f us; update region mean %4.1f%%, largest %5.1f%% "
          "of the screen\n",
          what, frames, maxMicros, totalMicros / frames, 100.0 * area / frames / (kW * kH),
          100.0 * maxArea / (kW * kH));
    }
  };
  // One cascade from its swap until the board waits again (or the level
  // ends), the CPU time of each frame taken alone.
  TCascade MeasureCascade() {
    RunToWaiting();
    TCascade c;
    if (!Play()) return c;
    do {
      double pixels = 0;
      const double start = ProcessCpuMicros();
      Frame(&pixels);
      c.Add(ProcessCpuMicros() - start, pixels);
    } while (!Waiting() && board->GetBoardMode() == kBoardPlay && c.frames < 100000);
    return c;
  }
  // Frames while the board waits (its idle shine, hover and hints run).
  TCascade MeasureIdle(int frames) {
    RunToWaiting();
    TCascade c;
    for (int i = 0; i < frames && Waiting(); ++i) {
      double pixels = 0;
      const double start = ProcessCpuMicros();
      Frame(&pixels);
      c.Add(ProcessCpuMicros() - start, pixels);
    }
    return c;
  }
};

TOptions& Options() {
  static TOptions options;
  return options;
}

TFixture& Fx() {
  static TFixture fixture(Options());
  return fixture;
}

void Register(const std::string& name, std::function<void()> body) {
  benchmark::RegisterBenchmark(name.c_str(), [body](benchmark::State& state) {
    for (auto _ : state) {
      body();
      benchmark::ClobberMemory();
    }
  })->Unit(benchmark::kMicrosecond);
}

void RegisterAll() {
  Register("board/cascade-frame", [] { Fx().CascadeFrame(); });
  // The cascade left running by the other benchmark ends before the clock runs.
  benchmark::RegisterBenchmark("board/idle-frame", [](benchmark::State& state) {
    Fx().RunToWaiting();
    for (auto _ : state) {
      Fx().Frame();
      benchmark::ClobberMemory();
    }
  })->Unit(benchmark::kMicrosecond);
  // Between iterations, off the clock, the wave plays out.
  benchmark::RegisterBenchmark("board/shine-wave-frame", [](benchmark::State& state) {
    TFixture& fx = Fx();
    fx.RunToWaiting();
    int wave = 0;
    for (auto _ : state) {
      const int effect = wave++ % 6 + 1;
      fx.board->ShineWave(effect, effect >= 3 ? effect : effect - 1);
      fx.Frame();
      benchmark::ClobberMemory();
      state.PauseTiming();
      for (int i = 0; i < kShineWaveFrames; ++i) fx.Frame();
      state.ResumeTiming();
    }
  })->Unit(benchmark::kMicrosecond);
  Register("memcpy/frame", [] {
    std::memcpy(Fx().frameCopy->GetScanLine(0), Fx().back->GetScanLine(0), size_t{kW} * kH * 4);
  });
}

// Takes this program's options off the command line.
std::vector<char*> TakeOptions(int argc, char** argv) {
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--content" && i + 1 < argc)
      Options().content = argv[++i];
    else if (a == "--game-xml" && i + 1 < argc)
      Options().gameXml = argv[++i];
    else if (a == "--screenshot" && i + 1 < argc)
      Options().screenshot = argv[++i];
    else if (a == "--seed" && i + 1 < argc)
      Options().seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    else
      rest.push_back(argv[i]);
  }
  return rest;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args = TakeOptions(argc, argv);
  qv::bench::InitializeWithDefaults(static_cast<int>(args.size()), args.data());
  TFixture& fx = Fx();
  if (!fx.ready) return 1;
  std::printf("content: %s\nscreen: %dx%d, %d widgets; level %dx%d relax, difficulty %d, seed %u\n",
              fx.options.content.c_str(), kW, kH, fx.widgets, kCols, kRows, kDifficulty, fx.options.seed);
  std::printf("data errors while loading the resources: %d\n", fx.loadErrors);
  if (!fx.standIn.empty())
    std::printf("background: \"%s\" is missing; \"%s\" stands in\n", fx.standIn.c_str(), kStandIn);

  // Whole cascades before the benchmarks: the first one alone, then twenty.
  const TFixture::TCascade first = fx.MeasureCascade();
  TFixture::TCascade all;
  int cascades = 0;
  for (int i = 0; i < 20; ++i) {
    const TFixture::TCascade c = fx.MeasureCascade();
    if (c.frames == 0) continue;
    ++cascades;
    all.Add(c);
  }
  const TFixture::TCascade idle = fx.MeasureIdle(2000);
  if (!fx.options.screenshot.empty()) {
    fx.back->ClearDirtyRegion();
    fx.root->Draw(fx.back, 0, 0);
    if (!SavePng(*fx.back, fx.options.screenshot))
      std::fprintf(stderr, "bench_board: cannot write %s\n", fx.options.screenshot.c_str());
  }

  RegisterAll();
  qv::bench::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nFrame budget (median CPU time):\n");
  qv::bench::PrintBudget(reporter, "board/cascade-frame", "budget 5 ms", kBudgetMicros * 1e-6, "<= 1");
  qv::bench::PrintBudget(reporter, "board/shine-wave-frame", "budget 5 ms", kBudgetMicros * 1e-6, "<= 1");
  std::printf("\nCPU time of single frames (process CPU clock):\n");
  first.Print("one cascade:");
  all.Print((std::to_string(cascades) + " cascades:").c_str());
  idle.Print("waiting:");
  std::printf("levels started: %d, swaps made: %d\n", fx.levels, fx.swaps);
  std::printf("data errors: %d in all (%d while loading)\n", Sink().count, fx.loadErrors);
  for (const auto& [what, seen] : Sink().kinds)
    std::printf("  %6d x %s (first: %s)\n", seen.first, what.c_str(), seen.second.c_str());
  benchmark::Shutdown();
  return 0;
}
