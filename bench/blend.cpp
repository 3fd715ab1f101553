// Blending speed: our Draw and FillColor beside pixman, SDL2 and memcpy on the
// same pixels, with each of ours printed as a ratio to its counterpart.
// Repetitions are interleaved at random, so drift of the machine's speed
// hits both sides alike. Extra Google Benchmark flags pass through.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <pixman.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "graphics/Blend.h"
#include "graphics/Surface.h"

using namespace qv;

namespace {

constexpr int kW = 640, kH = 480, kSprite = 64, kSprites = 75;

enum class EData { kRandomAlpha, kSpriteLike, kOpaque };

void FillData(ISurface& s, EData kind, uint32_t seed) {
  std::mt19937 rng(seed);
  for (int y = 0; y < s.GetHeight(); ++y) {
    uint32_t* row = s.GetScanLine(y);
    for (int x = 0; x < s.GetWidth(); ++x) {
      uint32_t p = rng() & 0x00FFFFFFu;
      uint32_t a = rng() & 255u;
      if (kind == EData::kOpaque) a = 255;
      if (kind == EData::kSpriteLike) {
        // A disc per 64x64 cell: opaque inside, clear outside, a soft rim.
        const int dx = x % kSprite - 32, dy = y % kSprite - 32, r2 = dx * dx + dy * dy;
        a = r2 < 26 * 26 ? 255u : r2 > 29 * 29 ? 0u : a;
      }
      row[x] = p | a << 24;
    }
  }
}

struct TFixture {
  Ref<TSurface> dst = MakeRef<TSurface>(kW, kH, false);
  Ref<TSurface> alphaSrc = MakeRef<TSurface>(kW, kH, true);
  Ref<TSurface> spriteSrc = MakeRef<TSurface>(kW, kH, true);
  Ref<TSurface> opaqueSrc = MakeRef<TSurface>(kW, kH, false);
  Ref<TSurface> sprite = MakeRef<TSurface>(kSprite, kSprite, true);
  std::vector<TPoint> spots;
  pixman_image_t* pDst = nullptr;
  pixman_image_t* pAlpha = nullptr;
  pixman_image_t* pSprite = nullptr;
  pixman_image_t* pOpaque = nullptr;
  pixman_image_t* pHalf = nullptr;   // solid mask of alpha 128
  pixman_image_t* pColor = nullptr;  // solid source colour
  SDL_Surface* sDst = nullptr;
  SDL_Surface* sAlpha = nullptr;

  TFixture() {
    FillData(*dst, EData::kOpaque, 1);
    FillData(*alphaSrc, EData::kRandomAlpha, 2);
    FillData(*spriteSrc, EData::kSpriteLike, 3);
    FillData(*opaqueSrc, EData::kOpaque, 4);
    FillData(*sprite, EData::kRandomAlpha, 5);
    std::mt19937 rng(6);
    for (int i = 0; i < kSprites; ++i)
      spots.push_back({static_cast<int>(rng() % (kW - kSprite)), static_cast<int>(rng() % (kH - kSprite))});
    pDst = Wrap(*dst);
    pAlpha = Wrap(*alphaSrc);
    pSprite = Wrap(*spriteSrc);
    pOpaque = Wrap(*opaqueSrc);
    const pixman_color_t half{0, 0, 0, 0x8080};
    pHalf = pixman_image_create_solid_fill(&half);
    const pixman_color_t color{0x2020, 0x8080, 0xC0C0, 0xFFFF};
    pColor = pixman_image_create_solid_fill(&color);
    sDst = WrapSdl(*dst);
    sAlpha = WrapSdl(*alphaSrc);
  }
  ~TFixture() {
    for (auto* p : {pDst, pAlpha, pSprite, pOpaque, pHalf, pColor}) pixman_image_unref(p);
    SDL_FreeSurface(sDst);
    SDL_FreeSurface(sAlpha);
  }
  static pixman_image_t* Wrap(ISurface& s) {
    return pixman_image_create_bits(PIXMAN_a8r8g8b8, s.GetWidth(), s.GetHeight(), s.GetScanLine(0),
                                    s.GetWidth() * 4);
  }
  static SDL_Surface* WrapSdl(ISurface& s) {
    return SDL_CreateRGBSurfaceWithFormatFrom(s.GetScanLine(0), s.GetWidth(), s.GetHeight(), 32,
                                              s.GetWidth() * 4, SDL_PIXELFORMAT_ARGB8888);
  }
};

TFixture& Fx() {
  static TFixture fixture;
  return fixture;
}

const TRect kFrame{0, 0, kW, kH};

void Run(benchmark::State& state, const std::function<void()>& body) {
  for (auto _ : state) {
    body();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void Pixman(pixman_op_t op, pixman_image_t* src, pixman_image_t* mask) {
  pixman_image_composite32(op, src, mask, Fx().pDst, 0, 0, 0, 0, 0, 0, kW, kH);
}

// Our Draw through one path's row kernels, without the clipping wrapper.
void KernelDraw(qv::blend::EBlendPath path, EBlendMode mode, int opacity) {
  const auto row = qv::blend::Kernels(path).draw[mode];
  auto& f = Fx();
  for (int y = 0; y < kH; ++y)
    row(f.dst->GetScanLine(y), f.alphaSrc->GetScanLine(y), kW, opacity, false, true);
}

void Register(const std::string& name, std::function<void()> body) {
  benchmark::RegisterBenchmark(name.c_str(), [body](benchmark::State& s) {
    Run(s, body);
  })->Unit(benchmark::kMicrosecond);
}

void RegisterAll() {
  const char* modes[] = {"normal", "screen", "overlay", "linearlight", "addition", "maxopaque"};
  for (int mode = kBlendNormal; mode <= kBlendMaxOpaque; ++mode)
    for (int opacity : {255, 128})
      Register(std::string("ours/") + modes[mode] + "/" + std::to_string(opacity), [mode, opacity] {
        Fx().dst->Draw(Fx().alphaSrc.get(), kFrame, static_cast<EBlendMode>(mode), opacity, kFrame);
      });
  Register("ours/normal/255/sse2", [] { KernelDraw(qv::blend::EBlendPath::Sse2, kBlendNormal, 255); });
  Register("ours/normal/255/scalar", [] { KernelDraw(qv::blend::EBlendPath::Scalar, kBlendNormal, 255); });
  Register("ours/normal/128/sse2", [] { KernelDraw(qv::blend::EBlendPath::Sse2, kBlendNormal, 128); });
  Register("ours/addition/255/sse2", [] { KernelDraw(qv::blend::EBlendPath::Sse2, kBlendAddition, 255); });
  Register("ours/sprite-like/255",
           [] { Fx().dst->Draw(Fx().spriteSrc.get(), kFrame, kBlendNormal, 255, kFrame); });
  Register("ours/copy", [] { Fx().dst->Draw(Fx().opaqueSrc.get(), kFrame, kBlendNormal, 255, kFrame); });
  Register("ours/fill/opaque",
           [] { Fx().dst->FillColor(0xFF2080C0u, nullptr, kBlendNormal, 255, kFrame, kFrame); });
  Register("ours/fill/mask",
           [] { Fx().dst->FillColor(0xFF2080C0u, Fx().alphaSrc.get(), kBlendNormal, 255, kFrame, kFrame); });
  Register("ours/75-sprites", [] {
    auto& f = Fx();
    for (const TPoint& p : f.spots)
      f.dst->Draw(f.sprite.get(), {0, 0, kSprite, kSprite}, kBlendNormal, 255,
                  TRect::FromSize(p.x, p.y, kSprite, kSprite));
  });

  Register("pixman/over", [] { Pixman(PIXMAN_OP_OVER, Fx().pAlpha, nullptr); });
  Register("pixman/over-sprite-like", [] { Pixman(PIXMAN_OP_OVER, Fx().pSprite, nullptr); });
  Register("pixman/over-solid-mask", [] { Pixman(PIXMAN_OP_OVER, Fx().pAlpha, Fx().pHalf); });
  Register("pixman/add", [] { Pixman(PIXMAN_OP_ADD, Fx().pAlpha, nullptr); });
  Register("pixman/screen", [] { Pixman(PIXMAN_OP_SCREEN, Fx().pAlpha, nullptr); });
  Register("pixman/overlay", [] { Pixman(PIXMAN_OP_OVERLAY, Fx().pAlpha, nullptr); });
  Register("pixman/src", [] { Pixman(PIXMAN_OP_SRC, Fx().pOpaque, nullptr); });
  Register("pixman/over-colour-mask", [] { Pixman(PIXMAN_OP_OVER, Fx().pColor, Fx().pAlpha); });
  Register("pixman/fill", [] {
    pixman_fill(reinterpret_cast<uint32_t*>(Fx().dst->GetScanLine(0)), kW, 32, 0, 0, kW, kH, 0xFF2080C0u);
  });

  Register("sdl/blend-blit", [] {
    SDL_SetSurfaceBlendMode(Fx().sAlpha, SDL_BLENDMODE_BLEND);
    SDL_BlitSurface(Fx().sAlpha, nullptr, Fx().sDst, nullptr);
  });
  Register("sdl/add-blit", [] {
    SDL_SetSurfaceBlendMode(Fx().sAlpha, SDL_BLENDMODE_ADD);
    SDL_BlitSurface(Fx().sAlpha, nullptr, Fx().sDst, nullptr);
  });
  Register("sdl/fill-rect", [] { SDL_FillRect(Fx().sDst, nullptr, 0xFF2080C0u); });
  Register("memcpy/frame", [] {
    std::memcpy(Fx().dst->GetScanLine(0), Fx().opaqueSrc->GetScanLine(0), size_t{kW} * kH * 4);
  });
}

}  // namespace

int main(int argc, char** argv) {
  qv::bench::InitializeWithDefaults(argc, argv);
  std::printf("blend kernels in use: %s\n", qv::blend::ActiveKernels().name);
  RegisterAll();
  qv::bench::TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\nRatios of median times (lower is faster for ours):\n");
  qv::bench::PrintRatio(reporter, "ours/normal/255/sse2", "pixman/over", "<= 1.5");
  qv::bench::PrintRatio(reporter, "ours/normal/255", "pixman/over", "<= 1.0 with AVX2");
  qv::bench::PrintRatio(reporter, "pixman/over", "pixman/over", "-");
  qv::bench::PrintRatio(reporter, "ours/normal/255/scalar", "pixman/over", "-");
  qv::bench::PrintRatio(reporter, "ours/normal/255", "sdl/blend-blit", "<= 0.25");
  qv::bench::PrintRatio(reporter, "ours/sprite-like/255", "pixman/over-sprite-like", "<= 1.0");
  qv::bench::PrintRatio(reporter, "ours/normal/128", "pixman/over-solid-mask", "<= 1.5");
  qv::bench::PrintRatio(reporter, "ours/normal/128/sse2", "pixman/over-solid-mask", "<= 1.5");
  qv::bench::PrintRatio(reporter, "ours/addition/255", "pixman/over", "<= 1.5");
  qv::bench::PrintRatio(reporter, "ours/addition/255/sse2", "pixman/over", "<= 1.5");
  qv::bench::PrintRatio(reporter, "ours/addition/255", "pixman/add", "-");
  qv::bench::PrintRatio(reporter, "ours/addition/255", "sdl/add-blit", "<= 0.167");
  for (const char* m : {"screen", "overlay", "linearlight"})
    for (const char* o : {"/255", "/128"})
      qv::bench::PrintRatio(reporter, std::string("ours/") + m + o, "pixman/over", "<= 3.0");
  qv::bench::PrintRatio(reporter, "ours/screen/255", "pixman/screen", "-");
  qv::bench::PrintRatio(reporter, "ours/overlay/255", "pixman/overlay", "-");
  qv::bench::PrintRatio(reporter, "ours/maxopaque/255", "pixman/over", "-");
  qv::bench::PrintRatio(reporter, "ours/copy", "memcpy/frame", "<= 1.1");
  qv::bench::PrintRatio(reporter, "ours/copy", "pixman/src", "-");
  qv::bench::PrintRatio(reporter, "ours/fill/opaque", "memcpy/frame", "<= 1.0");
  qv::bench::PrintRatio(reporter, "ours/fill/opaque", "pixman/fill", "-");
  qv::bench::PrintRatio(reporter, "ours/fill/opaque", "sdl/fill-rect", "-");
  qv::bench::PrintRatio(reporter, "ours/fill/mask", "pixman/over-colour-mask", "-");
  qv::bench::PrintRatio(reporter, "ours/75-sprites", "ours/normal/255", "<= 1.35");
  benchmark::Shutdown();
  return 0;
}
