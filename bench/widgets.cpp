// Widget tree speed: a 640x480 screen of about 300 widgets (surface widgets
// with alpha images, rect widgets, groups) on the game's engine without a
// window, drawn whole, run through an idle frame and through a frame where
// one 64x64 area changes, each printed as a ratio after the table.
// Repetitions are interleaved at random, so drift of the machine's speed
// hits both sides alike. Extra Google Benchmark flags pass through.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "app/Engine.h"
#include "app/RegisterTypes.h"
#include "app/TopWidgetOwner.h"
#include "graphics/Surface.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"
#include "widgets/IWidget.h"
#include "widgets/IWidgetOwner.h"
#include "widgets/RectWidget.h"

using namespace qv;

namespace {

constexpr int kW = 640, kH = 480;
constexpr int kGroups = 4, kSurfacesPerGroup = 45, kRectsPerGroup = 28;  // 4 * 73 + 4 + 2 = 298 widgets
constexpr int kSprite = 48;

// A disc with a soft rim on a clear square: the usual sprite of the board.
Ref<TSurface> MakeSprite(uint32_t rgb) {
  Ref<TSurface> s = MakeRef<TSurface>(kSprite, kSprite, true);
  for (int y = 0; y < kSprite; ++y)
    for (int x = 0; x < kSprite; ++x) {
      const int dx = x - kSprite / 2, dy = y - kSprite / 2, r2 = dx * dx + dy * dy;
      const uint32_t a = r2 < 20 * 20   ? 255u
                         : r2 > 23 * 23 ? 0u
                                        : static_cast<uint32_t>(255 - (r2 - 400) * 2);
      s->SetPixel(x, y, a << 24 | rgb);
    }
  return s;
}

std::string SceneXml() {
  std::mt19937 rng(11);
  auto at = [&](int limit) { return std::to_string(static_cast<int>(rng() % static_cast<unsigned>(limit))); };
  std::string xml = R"(<widget type="group_widget" name="screen" visible="yes"><widgets>)";
  xml += R"(<widget type="rect_widget" name="backdrop" visible="yes" z="0" width="640" height="480" )"
         R"(color="$FF203040"/>)";
  for (int g = 0; g < kGroups; ++g) {
    xml += R"(<widget type="group_widget" name="g)" + std::to_string(g) +
           R"(" visible="yes" z="1" anchor_left=")" + std::to_string((g % 2) * 320) + R"(" anchor_top=")" +
           std::to_string((g / 2) * 240) + R"("><widgets>)";
    for (int i = 0; i < kRectsPerGroup; ++i)
      xml += R"(<widget type="rect_widget" name="r)" + std::to_string(i) +
             R"(" visible="yes" anchor_left=")" + at(320 - 40) + R"(" anchor_top=")" + at(240 - 24) +
             R"(" width="40" height="24" transparentlevel=")" + (i % 2 ? "255" : "128") + R"(" color="$FF)" +
             std::to_string(100000 + i * 1111) + R"("/>)";
    for (int i = 0; i < kSurfacesPerGroup; ++i)
      xml += R"(<widget type="surface_widget" name="s)" + std::to_string(i) +
             R"(" visible="yes" anchor_left=")" + at(320 - kSprite) + R"(" anchor_top=")" +
             at(240 - kSprite) + R"("/>)";
    xml += "</widgets></widget>";
  }
  // The one area that changes: a 64x64 rectangle whose colour flips.
  xml +=
      R"(<widget type="rect_widget" name="changer" visible="yes" z="2" anchor_left="300" anchor_top="200" )"
      R"(width="64" height="64" color="$FFC08020"/>)";
  xml += "</widgets></widget>";
  return xml;
}

struct TFixture {
  Ref<TEngine> engine;
  Ref<TTopWidgetOwner> owner;
  Ref<IWidget> root;
  Ref<TRectWidget> changer;
  ISurface* back = nullptr;
  Ref<TSurface> frameCopy = MakeRef<TSurface>(kW, kH, false);
  std::vector<Ref<TSurface>> sprites;
  int widgets = 0;
  bool flip = false;

  TFixture() {
    RegisterAllTypes();
    engine = MakeRef<TEngine>();
    engine->Initialize();
    engine->SetClock({[] { return 0u; }, [](uint32_t) {}});
    engine->SetOption("ScreenWidth", std::to_string(kW));
    engine->SetOption("ScreenHeight", std::to_string(kH));
    engine->SetOption("ScreenBPP", "32");
    engine->SetOption("FullScreenMode", "no");
    engine->ApplyDisplaySettings();
    back = engine->BackSurface();
    for (uint32_t rgb : {0xE04030u, 0x30C060u, 0x4070F0u, 0xF0D040u, 0xB050D0u})
      sprites.push_back(MakeSprite(rgb));
    root = CreateFromNodeAs<IWidget>(LoadStorageText(SceneXml()));
    for (int g = 0; g < kGroups; ++g)
      for (int i = 0; i < kSurfacesPerGroup; ++i)
        root->FindWidget(std::string("g").append(std::to_string(g)).append("/s").append(std::to_string(i)))
            ->SetObjectProperty("surface", sprites[static_cast<size_t>(g * 7 + i) % sprites.size()]);
    changer = Query<TRectWidget>(root->FindWidget("changer"));
    widgets = Count(*root);
    owner = MakeRef<TTopWidgetOwner>(*engine);
    root->SetOwner(owner.get());
    Frame();  // the first frame reports everything
  }
  ~TFixture() { root->Detach(); }

  static int Count(IWidget& w) {
    int n = 1;
    for (int i = 0;; ++i) {
      Ref<IWidget> child = w.GetChild(std::to_string(i));
      if (!child) break;
      n += Count(*child);
    }
    return n;
  }

  // What the game does each frame: advance, the dirty pass, the drawing of
  // the update region (clipped to it), then the region is cleared.
  void Frame() {
    root->Advance(10);
    root->UpdateDirtyRegion(false, false);
    if (engine->IsUpdatePending()) {
      back->SetClip(true, {0, 0, kW, kH});
      root->Draw(back, 0, 0);
    }
    engine->ClearUpdateRects();
  }
  // The update region of one more frame, as text, then cleared.
  std::string NextRegion(bool change) {
    if (change) changer->SetColor((flip = !flip) ? 0xFF2080C0u : 0xFFC08020u);
    root->Advance(10);
    root->UpdateDirtyRegion(false, false);
    std::string text;
    for (const TRect& r : back->GetDirtyRegion().Rects())
      text += " [" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
              "," + std::to_string(r.bottom) + "]";
    engine->ClearUpdateRects();
    return text.empty() ? " none" : text;
  }
  void FullRedraw() {
    back->ClearDirtyRegion();
    root->Draw(back, 0, 0);
  }
  void ChangeFrame() {
    flip = !flip;
    changer->SetColor(flip ? 0xFF2080C0u : 0xFFC08020u);
    Frame();
  }
};

TFixture& Fx() {
  static TFixture fixture;
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
  Register("widgets/full-redraw", [] { Fx().FullRedraw(); });
  Register("widgets/idle-frame", [] { Fx().Frame(); });
  Register("widgets/one-change-frame", [] { Fx().ChangeFrame(); });
  Register("memcpy/frame", [] {
    std::memcpy(Fx().frameCopy->GetScanLine(0), Fx().back->GetScanLine(0), size_t{kW} * kH * 4);
  });
}

}  // namespace

int main(int argc, char** argv) {
  qv::bench::InitializeWithDefaults(argc, argv);
  std::printf("scene: %dx%d, %d widgets\n", kW, kH, Fx().widgets);
  const std::string idle = Fx().NextRegion(false), changed = Fx().NextRegion(true);
  std::printf("update region of an idle frame:%s; of the one-change frame:%s\n", idle.c_str(),
              changed.c_str());
  RegisterAll();
  qv::bench::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nRatios of median times:\n");
  qv::bench::PrintRatio(reporter, "widgets/full-redraw", "memcpy/frame", "<= 15");
  qv::bench::PrintRatio(reporter, "widgets/idle-frame", "widgets/full-redraw", "<= 0.05");
  qv::bench::PrintRatio(reporter, "widgets/one-change-frame", "widgets/full-redraw", "<= 0.10");
  benchmark::Shutdown();
  return 0;
}
