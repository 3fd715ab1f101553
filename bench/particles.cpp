// Particle and transform costs beside a memcpy of a frame in the same run:
// one frame (update and drawing onto 640x480) of a stochastic system of
// about 2,000 live particles with a 16x16 image, and a 128x128 rotate
// widget whose buffer is rebuilt every frame (with the widget's default
// nearest-pixel sampling; the smoothed turn is timed beside it). Extra
// Google Benchmark flags pass through.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "RatioReporter.h"
#include "app/Engine.h"
#include "app/RegisterTypes.h"
#include "app/TopWidgetOwner.h"
#include "core/Random.h"
#include "graphics/Surface.h"
#include "particles/StochasticParticleSystem.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"
#include "widgets/RotateWidget.h"
#include "widgets/SurfaceWidget.h"

using namespace qv;

namespace {

constexpr int kW = 640, kH = 480;

// A soft disc: opaque inside, fading at the rim.
Ref<TSurface> Disc(int size, uint32_t rgb) {
  auto s = MakeRef<TSurface>(size, size, true);
  const double r = size / 2.0;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const double d = std::hypot(x + 0.5 - r, y + 0.5 - r) / r;
      const int a = d >= 1 ? 0 : d < 0.7 ? 255 : static_cast<int>(255 * (1 - d) / 0.3);
      s->PixelAt(x, y) = static_cast<uint32_t>(a) << 24 | rgb;
    }
  return s;
}

struct TFixture {
  Ref<TEngine> engine;
  Ref<TTopWidgetOwner> owner;
  Ref<TStochasticParticleSystem> particles;
  Ref<TRotateWidget> rotate;
  Ref<TRotateWidget> sharp;
  Ref<TSurface> screen = MakeRef<TSurface>(kW, kH, false);
  Ref<TSurface> frameCopy = MakeRef<TSurface>(kW, kH, false);

  TFixture() {
    RegisterAllTypes();
    SetRandomSeed(2024);
    engine = MakeRef<TEngine>();
    engine->Initialize();
    engine->SetClock({[] { return 0u; }, [](uint32_t) {}});
    owner = MakeRef<TTopWidgetOwner>(*engine);
    // 2,000 new particles a second living 1 s each: 2,000 alive after the
    // first second, spread over the middle of the screen.
    particles = Query<TStochasticParticleSystem>(CreateFromNodeAs<IWidget>(LoadStorageText(
        "<widget type='stochastic_particle_system' visible='yes' emission_x='312' emission_y='232' "
        "emission_radius='150' emission_count='2000' speed_min='10' speed_max='80' lifetime_min='1000' "
        "lifetime_max='1000' gravity_min='0' gravity_max='40' color_start='$FFFFD080' color_end='$FF802000' "
        "alfa_start='255' alfa_end='0' color_variation='30' blendingmode='addition'>"
        "<widgets><widget type='surface_widget' name='img'/></widgets></widget>")));
    Query<TSurfaceWidget>(particles->GetChild("img"))->SetSurface(Disc(16, 0xFFFFFF));
    particles->SetOwner(owner.get());
    for (int i = 0; i < 120; ++i) particles->Advance(10);
    rotate = Query<TRotateWidget>(CreateFromNodeAs<IWidget>(LoadStorageText(
        "<widget type='rotate_widget' visible='yes' anchor_left='320' anchor_top='240' centerx='64' "
        "centery='64' smooth='yes' angle='10'/>")));
    auto child = Query<TSurfaceWidget>(
        CreateFromNodeAs<IWidget>(LoadStorageText("<widget type='surface_widget' visible='yes'/>")));
    child->SetSurface(Disc(128, 0x40C0FF));
    rotate->SetWidget(child);
    rotate->SetOwner(owner.get());
    sharp = Query<TRotateWidget>(CreateFromNodeAs<IWidget>(LoadStorageText(
        "<widget type='rotate_widget' visible='yes' anchor_left='320' anchor_top='240' centerx='64' "
        "centery='64' angle='10'/>")));
    auto sharpChild = Query<TSurfaceWidget>(
        CreateFromNodeAs<IWidget>(LoadStorageText("<widget type='surface_widget' visible='yes'/>")));
    sharpChild->SetSurface(Disc(128, 0x40C0FF));
    sharp->SetWidget(sharpChild);
    sharp->SetOwner(owner.get());
  }
  ~TFixture() {
    particles->Detach();
    rotate->Detach();
    sharp->Detach();
  }
};

TFixture& Fx() {
  static TFixture fixture;
  return fixture;
}

void Register(const char* name, void (*body)()) {
  benchmark::RegisterBenchmark(name, [body](benchmark::State& state) {
    for (auto _ : state) {
      body();
      benchmark::ClobberMemory();
    }
  })->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char** argv) {
  qv::bench::InitializeWithDefaults(argc, argv);
  std::printf("particles alive: %d; rotate widget %dx%d around a 128x128 child\n", Fx().particles->Count(),
              Fx().rotate->GetWidth(), Fx().rotate->GetHeight());
  Register("memcpy/frame", [] {
    std::memcpy(Fx().frameCopy->GetScanLine(0), Fx().screen->GetScanLine(0), size_t{kW} * kH * 4);
  });
  Register("particles/2000-frame", [] {
    TFixture& f = Fx();
    f.particles->Advance(10);
    f.particles->Draw(f.screen.get(), 0, 0);
  });
  Register("particles/2000-update", [] { Fx().particles->Advance(10); });
  Register("rotate/128-rebuild-smooth", [] {
    TFixture& f = Fx();
    f.rotate->SetAngle(f.rotate->GetAngle() + 1.0);
    f.rotate->Draw(f.screen.get(), 320, 240);
  });
  Register("rotate/128-rebuild", [] {
    TFixture& f = Fx();
    f.sharp->SetAngle(f.sharp->GetAngle() + 1.0);
    f.sharp->Draw(f.screen.get(), 320, 240);
  });
  Register("rotate/128-still", [] { Fx().rotate->Draw(Fx().screen.get(), 320, 240); });
  qv::bench::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nRatios of median times:\n");
  qv::bench::PrintRatio(reporter, "particles/2000-frame", "memcpy/frame", "<= 4 (2 per 1,000 particles)");
  qv::bench::PrintRatio(reporter, "particles/2000-update", "memcpy/frame", "-");
  qv::bench::PrintRatio(reporter, "rotate/128-rebuild", "memcpy/frame", "<= 3");
  qv::bench::PrintRatio(reporter, "rotate/128-rebuild-smooth", "memcpy/frame", "-");
  qv::bench::PrintRatio(reporter, "rotate/128-still", "memcpy/frame", "-");
  benchmark::Shutdown();
  return 0;
}
