#include "particles/StochasticParticleSystem.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>

#include "core/Diagnostics.h"
#include "core/Random.h"
#include "particles/ParticlesTypes.h"
#include "storage/ParamCollection.h"
#include "widgets/SurfaceWidget.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

// An opaque image of w x h pixels.
Ref<ISurface> Opaque(int w, int h, uint32_t colour = 0xFFFFFFFFu) {
  auto s = MakeRef<TSurface>(w, h, true);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s->PixelAt(x, y) = colour;
  return s;
}

class ParticleTest : public test::TWidgetTest {
protected:
  void SetUp() override {
    test::TWidgetTest::SetUp();
    RegisterParticlesTypes();
    SetRandomSeed(12345);
  }
  // A system of the given type and attributes with a surface child "img".
  template <class T = TStochasticParticleSystem>
  Ref<T> System(const std::string& attrs, const std::string& type = "stochastic_particle_system",
                const Ref<ISurface>& image = Opaque(2, 2)) {
    Ref<T> s = Query<T>(Attach("<widget type='" + type + "' visible='yes' " + attrs +
                               "><widgets><widget type='surface_widget' name='img'/></widgets></widget>"));
    EXPECT_TRUE(s) << attrs;
    if (s) Query<TSurfaceWidget>(s->GetChild("img"))->SetSurface(image);
    return s;
  }
};

// Straight, unvarying particles: speed 100 to the right, a 1 s life.
constexpr char kStraight[] =
    "speed_min='100' speed_max='100' spread='0' direction='0' lifetime_min='1000' lifetime_max='1000' ";

TEST_F(ParticleTest, EmissionCountsWithAndWithoutSteps) {
  auto s = System(std::string(kStraight) + "emission_count='1000'");
  s->Advance(16);
  EXPECT_EQ(s->Count(), 16);
  s->Advance(16);
  EXPECT_EQ(s->Count(), 32);
  // round(dt * count / 1000), ties to even: 2.5 -> 2, 3.5 -> 4.
  auto half = System(std::string(kStraight) + "emission_count='500'");
  half->Advance(5);
  EXPECT_EQ(half->Count(), 2);
  half->Advance(7);
  EXPECT_EQ(half->Count(), 6);
  // With steps of 100 ms, 250 ms emit twice and keep 50 ms; the clock
  // stands at the last whole step.
  auto stepped = System(std::string(kStraight) + "emission_count='10' delta_step='100'");
  stepped->Advance(250);
  EXPECT_EQ(stepped->Count(), 2);
  EXPECT_EQ(stepped->GetAccumulator(), 50);
  EXPECT_EQ(Query<TAbstractWidget>(stepped)->GetCurrentTime(), 200);
  stepped->Advance(50);
  EXPECT_EQ(stepped->Count(), 3);
  EXPECT_EQ(stepped->GetAccumulator(), 0);
  EXPECT_EQ(stepped->GetPropertyValue("count"), TVariant(int64_t{3}));
  // Without emission count nothing comes.
  auto off = System(kStraight);
  off->Advance(1000);
  EXPECT_EQ(off->Count(), 0);
}

TEST_F(ParticleTest, MotionLifetimeAndColour) {
  auto s = System(std::string(kStraight) +
                  "emission_count='1000' emission_x='5' emission_y='7' color_start='$FFFF0000' "
                  "color_end='$FF0000FF' alfa_start='200' alfa_end='100'");
  s->Advance(1);  // one particle, age 0
  ASSERT_EQ(s->Count(), 1);
  s->SetPropertyValue("emission_count", TVariant(int64_t{0}));
  const TStochasticParticle& p = s->Particles()[0];
  EXPECT_EQ(p.x0, 5) << "radius 0 starts at the emission point";
  EXPECT_EQ(p.y0, 7);
  EXPECT_EQ(p.color, 0xC8FF0000u);
  s->Advance(500);
  EXPECT_EQ(s->Particles()[0].x, 55.0f) << "50 pixels right after 500 ms";
  EXPECT_EQ(s->Particles()[0].y, 7.0f);
  // Halfway, rounded to even: red 255 + round(-127.5) = 127, blue
  // round(127.5) = 128, alpha 200 - 50.
  EXPECT_EQ(s->Particles()[0].color, 0x967F0080u);
  s->Advance(500);
  EXPECT_EQ(s->Count(), 1) << "age 1000 is not past the lifetime";
  s->Advance(1);
  EXPECT_EQ(s->Count(), 0) << "removed once the age passes it";

  // Gravity pulls down by a t^2 g / 2.
  auto g = System(
      "speed_min='0' speed_max='0' spread='0' gravity_min='100' gravity_max='100' "
      "lifetime_min='5000' lifetime_max='5000' emission_count='1000'");
  g->Advance(1);
  g->SetPropertyValue("emission_count", TVariant(int64_t{0}));
  g->Advance(1000);
  EXPECT_EQ(g->Particles()[0].y, 50.0f);
  EXPECT_EQ(g->Particles()[0].x, 0.0f);
}

TEST_F(ParticleTest, RandomDrawsComeInAFixedOrder) {
  const std::string attrs =
      "emission_count='1000' emission_radius='10' spread='90' direction='45' speed_min='10' speed_max='30' "
      "lifetime_min='100' lifetime_max='900' gravity_min='50' gravity_max='-50' color_start='$FF204060' "
      "color_end='$FF60A0E0' color_variation='50' alfa_variation='40' alfa_start='250' alfa_end='50'";
  SetRandomSeed(777);
  auto s = System(attrs);
  s->Advance(1);
  ASSERT_EQ(s->Count(), 1);
  const TStochasticParticle p = s->Particles()[0];
  // The same draws by hand.
  SetRandomSeed(777);
  const int alpha = RandomInt(360), rho = RandomInt(10);
  EXPECT_EQ(p.x0, RoundEven(std::cos(alpha * std::numbers::pi / 180) * rho));
  EXPECT_EQ(p.y0, RoundEven(std::sin(alpha * std::numbers::pi / 180) * rho));
  EXPECT_EQ(p.lifetime, 100 + RandomInt(800));
  EXPECT_EQ(p.speed, 10 + RandomInt(20));
  EXPECT_EQ(p.direction, RandomInt(90) + 45 - 45);
  EXPECT_EQ(p.gravity, -50 + RandomInt(100));
  const double v = RandomInt(50) / 100.0;
  EXPECT_EQ(p.start[2], 0x20 + RoundEven(0x40 * v));
  EXPECT_EQ(p.start[1], 0x40 + RoundEven(0x60 * v));
  EXPECT_EQ(p.start[0], 0x60 + RoundEven(0x80 * v));
  const double w = RandomInt(40) / 100.0;
  EXPECT_EQ(p.start[3], 250 + RoundEven(-200 * w));
  // One seed, one cloud.
  SetRandomSeed(99);
  auto a = System(attrs);
  a->Advance(30);
  SetRandomSeed(99);
  auto b = System(attrs);
  b->Advance(30);
  ASSERT_EQ(a->Count(), 30);
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(a->Particles()[i].x, b->Particles()[i].x);
    EXPECT_EQ(a->Particles()[i].color, b->Particles()[i].color);
  }
}

TEST_F(ParticleTest, DrawingAndTheDirtyRectangles) {
  auto s = System(std::string(kStraight) +
                      "anchor_left='10' anchor_top='20' emission_count='1000' "
                      "color_start='$FF00FF00' color_end='$FF00FF00'",
                  "stochastic_particle_system", Opaque(3, 2));
  s->UpdateDirtyRegion(false, false);
  engine->rects.clear();
  s->Advance(1);
  s->SetPropertyValue("emission_count", TVariant(int64_t{0}));
  EXPECT_EQ(s->GetRect(), (TRect{10, 20, 13, 22}));
  s->UpdateDirtyRegion(false, false);
  ASSERT_FALSE(engine->rects.empty());
  EXPECT_EQ(engine->rects.back(), (TRect{10, 20, 13, 22}));
  engine->rects.clear();
  s->Advance(100);  // 10 pixels on
  s->UpdateDirtyRegion(false, false);
  EXPECT_EQ(engine->rects, (std::vector<TRect>{{10, 20, 13, 22}, {20, 20, 23, 22}}))
      << "the old area and the new one";
  auto target = MakeRef<TSurface>(30, 30, true);
  s->Draw(target.get(), 10, 20);
  EXPECT_EQ(target->GetPixel(20, 20), 0xFF00FF00u);
  EXPECT_EQ(target->GetPixel(22, 21), 0xFF00FF00u);
  EXPECT_EQ(target->GetPixel(23, 21), 0u);
  EXPECT_EQ(target->GetPixel(19, 20), 0u);
  // Once the last particle died the old area is repainted one last time.
  engine->rects.clear();
  s->Advance(1000);
  EXPECT_EQ(s->Count(), 0);
  s->UpdateDirtyRegion(false, false);
  std::erase_if(engine->rects, [](const TRect& r) { return r.IsEmpty(); });
  EXPECT_EQ(engine->rects, (std::vector<TRect>{{20, 20, 23, 22}}));
  engine->rects.clear();
  s->Advance(10);
  s->UpdateDirtyRegion(false, false);
  EXPECT_TRUE(engine->rects.empty()) << "an empty system reports nothing";
  // The blending mode and the widget's opacity apply.
  auto add = System(std::string(kStraight) +
                        "emission_count='1000' blendingmode='addition' "
                        "transparentlevel='128' color_start='$FF404040'",
                    "stochastic_particle_system", Opaque(1, 1));
  add->Advance(1);
  auto grey = MakeRef<TSurface>(2, 2, true);
  grey->PixelAt(0, 0) = 0xFF101010u;
  add->Draw(grey.get(), 0, 0);
  // f = (255 * ((128 * 255) >> 8)) >> 8 = 126: 0x10 + (126 * 0x40 >> 8),
  // alpha 126 + (129 * 255 >> 8).
  EXPECT_EQ(grey->GetPixel(0, 0), 0xFE2F2F2Fu);
}

TEST_F(ParticleTest, ASystemWithoutPictureIsReportedOnce) {
  auto s = Query<TStochasticParticleSystem>(
      Attach(std::string("<widget type='stochastic_particle_system' visible='yes' ") + kStraight +
             "emission_count='1000'/>"));
  s->Advance(5);
  EXPECT_EQ(s->Count(), 5);
  EXPECT_TRUE(s->GetRect().IsEmpty()) << "no picture, no extent";
  TDiagnosticsCollector errors;
  auto target = MakeRef<TSurface>(4, 4, true);
  s->Draw(target.get(), 0, 0);
  s->Draw(target.get(), 0, 0);
  EXPECT_EQ(errors.Errors().size(), 1u);
}

TEST_F(ParticleTest, CreationAndClearRequests) {
  auto s = System(kStraight);
  auto params = MakeRef<TParamCollection>();
  params->SetParamValue("count", TVariant(int64_t{5}));
  s->ExecuteCommand(kParticleCreate, params.get());
  EXPECT_EQ(s->Count(), 5);
  s->ExecuteCommand(kParticleCreate, nullptr);
  EXPECT_EQ(s->Count(), 6);
  s->ExecuteCommand(kParticleClear, nullptr);
  EXPECT_EQ(s->Count(), 0);
}

TEST_F(ParticleTest, MonteCarloStartsOnOpaquePixels) {
  auto source = Query<TSurfaceWidget>(
      test::WidgetFromXml("<widget type='surface_widget' visible='yes' anchor_left='100' anchor_top='50'/>"));
  auto clear = MakeRef<TSurface>(4, 4, true);
  source->SetSurface(clear);
  auto mc = System<TMonteCarloParticleSystem>(std::string(kStraight) + "emission_count='1000'",
                                              "montecarlo_particle_system");
  mc->Advance(10);
  EXPECT_EQ(mc->Count(), 0) << "no source, no particles";
  ASSERT_TRUE(mc->SetObjectProperty("widget", source));
  const uint32_t seed = GetRandomSeed();
  mc->Advance(10);
  EXPECT_EQ(mc->Count(), 0) << "a transparent source makes nothing";
  EXPECT_NE(GetRandomSeed(), seed) << "but it tried";
  // One pixel of alpha 20 at (2, 3): every particle starts there.
  auto dot = MakeRef<TSurface>(4, 4, true);
  dot->PixelAt(2, 3) = 0x14FF8000u;
  dot->PixelAt(1, 1) = 0x13FFFFFFu;  // alpha 19 is not enough
  source->SetSurface(dot);
  mc->SetObjectProperty("widget", source);
  mc->Advance(200);
  ASSERT_GT(mc->Count(), 0);
  EXPECT_LT(mc->Count(), 200) << "8 tries of 16 pixels miss the dot now and then";
  for (const TStochasticParticle& p : mc->Particles()) {
    EXPECT_EQ(p.x0, 102);
    EXPECT_EQ(p.y0, 53);
    EXPECT_EQ(p.start[3], 20);
    EXPECT_EQ(p.start[2], 0xFF);
    EXPECT_EQ(p.start[1], 0x80);
  }
  EXPECT_EQ(mc->GetObjectProperty("widget"), Ref<IInterface>(source));
}

TEST_F(ParticleTest, SelectedCellEmissionCircles) {
  auto s = System<TSelectedCellParticleSystem>("", "SelectedCellParticleSystem");
  s->Advance(0);
  EXPECT_EQ(s->GetEmissionX(), 10);
  EXPECT_EQ(s->GetEmissionY(), 0);
  s->Advance(375);
  EXPECT_EQ(s->GetEmissionX(), 0);
  EXPECT_EQ(s->GetEmissionY(), 12) << "f = 11.5 rounds to even";
  s->Advance(2125);  // t = 2500: the full radius, 5/3 turns
  EXPECT_EQ(s->GetEmissionX(), RoundEven(20 * std::cos(2500 * 2 * std::numbers::pi / 1500)));
  EXPECT_EQ(s->GetEmissionY(), RoundEven(20 * std::sin(2500 * 2 * std::numbers::pi / 1500)));
  auto custom = System<TSelectedCellParticleSystem>("rotate_radius='40' rotate_time='1000'",
                                                    "SelectedCellParticleSystem");
  custom->Advance(250);
  EXPECT_EQ(custom->GetEmissionX(), 0);
  EXPECT_EQ(custom->GetEmissionY(), 22);  // (1 - 2250 / 5000) * 40
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// Addition onto a surface without alpha takes the widened image; it must
// paint what one FillColor per particle paints, particles over the edges
// and under a dirty region included, and follow a picture changed between
// two draws.
TEST_F(ParticleTest, AdditionCloudPaintsWhatOneFillPerParticlePaints) {
  auto image = MakeRef<TSurface>(13, 11, true);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 13; ++x) image->PixelAt(x, y) = static_cast<uint32_t>((x * 37 + y * 91) % 256) << 24;
  auto s = System(
      "emission_x='20' emission_y='15' emission_radius='30' emission_count='400' speed_min='10' "
      "speed_max='90' lifetime_min='2000' lifetime_max='3000' color_start='$FFFFD080' color_end='$FF802000' "
      "alfa_start='255' alfa_end='0' color_variation='40' blendingmode='addition' transparentlevel='200'",
      "stochastic_particle_system", image);
  for (int i = 0; i < 10; ++i) s->Advance(25);
  ASSERT_GT(s->Count(), 80);
  // Copies keep no clip: the region is set again on the copy.
  auto clipped = [](TSurface& t, int region) {
    if (!region) return;
    t.SetClip(true, {0, 0, 48, 36});
    t.AddDirtyRect({2, 3, 20, 30});
    t.AddDirtyRect({30, 0, 48, 12});
  };
  auto expected = [&](const TSurface& start, int region, int x, int y) {
    Ref<TSurface> e = start.Copy();
    clipped(*e, region);
    for (const TStochasticParticle& p : s->Particles())
      e->FillColor(p.color, image.get(), kBlendAddition, 200,
                   TRect::FromSize(RoundEven(p.x) + x, RoundEven(p.y) + y, 13, 11), {0, 0, 13, 11});
    return e;
  };
  for (int region = 0; region < 2; ++region) {
    auto target = MakeRef<TSurface>(48, 36, false);
    for (int i = 0; i < 48 * 36; ++i)
      target->PixelAt(i % 48, i / 48) = 0xFF000000u | uint32_t(i * 2654435761u) >> 8;
    clipped(*target, region);
    Ref<TSurface> want = expected(*target, region, 3, -2);
    s->Draw(target.get(), 3, -2);
    ASSERT_EQ(0, std::memcmp(want->GetScanLine(0), target->GetScanLine(0), 48 * 36 * 4)) << region;
    // The picture changes; the next draw paints the new one.
    image->PixelAt(6, 5) = 0xFF000000u;
    image->PixelAt(0, 0) = 0x01000000u;
    want = expected(*target, region, 3, -2);
    s->Draw(target.get(), 3, -2);
    ASSERT_EQ(0, std::memcmp(want->GetScanLine(0), target->GetScanLine(0), 48 * 36 * 4)) << region;
  }
}

}  // namespace
}  // namespace qv
