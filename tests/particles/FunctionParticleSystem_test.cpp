#include "particles/FunctionParticleSystem.h"

#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "particles/ParticlesTypes.h"
#include "storage/ParamCollection.h"
#include "widgets/SurfaceWidget.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

std::string Def(const std::string& name, int row, int col, float value = 0) {
  return "<paramdef name='" + name + "' row='" + std::to_string(row) + "' col='" + std::to_string(col) +
         "' static='yes' value='" + std::to_string(value) + "'/>";
}

// Create: state (age 0, x0 = index * 10 + total_index), "count" per second.
// Update: dead when the age passes `life`; centre (x0 + age / 10, 5); image
// 0; red 200, green 100, blue 50; alpha 255.
std::string SystemXml(const std::string& attrs, float count, int life = 500) {
  const std::string create = "<function type='function_eval' name='Create'><paramspace><paramdefs>" +
                             Def("age0", 0, 0) + Def("x00", 0, 1) + Def("index", 1, 0) +
                             Def("total_index", 1, 1) + Def("count", 2, 0, count) +
                             "</paramdefs></paramspace><expression>age0 := 0\nx00 := index * 10 + "
                             "total_index</expression></function>";
  const std::string update =
      "<function type='function_eval' name='Update'><paramspace><paramdefs>" + Def("dead", 0, 0) +
      Def("cx", 0, 1) + Def("cy", 0, 2) + Def("img", 0, 3) + Def("r", 0, 4) + Def("g", 0, 5) +
      Def("b", 0, 6) + Def("a", 0, 7) + Def("age", 1, 0) + Def("x0", 1, 1) +
      "</paramdefs></paramspace><expression>dead := if(age > " + std::to_string(life) +
      ", 1, 0)\ncx := x0 + age / 10\ncy := 5\nimg := 0\nr := 200\ng := 100\nb := 50\na := "
      "255</expression></function>";
  std::string cells;
  for (int c = 0; c < 8; ++c) cells += Def("d" + std::to_string(c), 0, c);
  cells += Def("age", 1, 0) + Def("x0", 1, 1);
  return "<widget type='function_particle_system' visible='yes' " + attrs +
         "><widgets><widget type='surface_widget' name='img'/></widgets><paramspace><paramdefs>" + cells +
         "</paramdefs></paramspace><function type='function_complex'><paramspace><paramdefs>" +
         Def("clock", 1, 0) + "</paramdefs></paramspace><functions>" + create + update +
         "</functions></function></widget>";
}

class FunctionParticles : public test::TWidgetTest {
protected:
  void SetUp() override {
    test::TWidgetTest::SetUp();
    RegisterParticlesTypes();
  }
  Ref<TFunctionParticleSystem> Make(const std::string& attrs, float count, int life = 500) {
    TDiagnosticsCollector errors;
    auto s = Query<TFunctionParticleSystem>(Attach(SystemXml(attrs, count, life)));
    EXPECT_TRUE(s);
    EXPECT_TRUE(errors.Errors().empty()) << errors.Errors().front().what;
    auto image = MakeRef<TSurface>(2, 2, true);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x) image->PixelAt(x, y) = 0xFFFFFFFFu;
    Query<TSurfaceWidget>(s->GetChild("img"))->SetSurface(image);
    return s;
  }
};

TEST_F(FunctionParticles, CreationRunsTheCreateFunctionPerParticle) {
  auto s = Make("init_creation_count='3'", 0);
  s->Advance(0);
  ASSERT_EQ(s->Count(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(s->Particles()[i].state[1], i * 10 + 3) << "index and total_index";
    EXPECT_EQ(s->Particles()[i].display[1], i * 10 + 3) << "updated once at creation";
  }
  s->Advance(100);
  EXPECT_EQ(s->Count(), 3) << "the initial particles come once";
  EXPECT_EQ(s->Particles()[0].state[0], 100.0f);
  EXPECT_EQ(s->Particles()[0].display[1], 13.0f);
  // The age passes 500 within this update: removed at once.
  s->Advance(401);
  EXPECT_EQ(s->Count(), 0);
  // Nothing before the clock starts.
  auto late = Make("init_creation_count='2' currenttime='-50'", 0);
  late->Advance(20);
  EXPECT_EQ(late->Count(), 0);
  late->Advance(30);
  EXPECT_EQ(late->Count(), 2);
}

TEST_F(FunctionParticles, RateEmissionCarriesTheFraction) {
  auto s = Make("", 25, 100000);  // 25 per second: one every 40 ms
  s->Advance(30);
  EXPECT_EQ(s->Count(), 0);
  s->Advance(30);
  EXPECT_EQ(s->Count(), 1) << "0.75 + 0.75";
  s->Advance(100);
  EXPECT_EQ(s->Count(), 4);
  auto stepped = Make("delta_step='40'", 25, 100000);
  stepped->Advance(100);
  EXPECT_EQ(stepped->Count(), 2);
  EXPECT_EQ(stepped->GetAccumulator(), 20);
}

TEST_F(FunctionParticles, DrawingRequestsAndProperties) {
  auto s = Make("init_creation_count='1' anchor_left='10' anchor_top='20'", 0);
  s->Advance(0);
  // Centre (1, 5): the 2 x 2 image covers (0..1, 4..5) of the system.
  EXPECT_EQ(s->GetRect(), (TRect{10, 24, 12, 26}));
  auto target = MakeRef<TSurface>(40, 40, true);
  s->Draw(target.get(), 10, 20);
  EXPECT_EQ(target->GetPixel(10, 24), 0xFFC86432u) << "fill colour (a, r, g, b)";
  EXPECT_EQ(target->GetPixel(11, 25), 0xFFC86432u);
  EXPECT_EQ(target->GetPixel(12, 25), 0u);
  // A creation request sets the state cells by name.
  auto params = MakeRef<TParamCollection>();
  params->SetParamValue("x0", TVariant(7.0));
  s->ExecuteCommand(kParticleCreate, params.get());
  ASSERT_EQ(s->Count(), 2);
  EXPECT_EQ(s->Particles()[1].state[1], 7.0f);
  EXPECT_EQ(s->GetPropertyValue("count"), TVariant(int64_t{2}));
  s->ExecuteCommand(kParticleClear, nullptr);
  EXPECT_EQ(s->Count(), 0);
  // Unknown names reach the function's cells.
  EXPECT_TRUE(s->SetPropertyValue("clock", TVariant(5.0)));
  EXPECT_FALSE(s->SetPropertyValue("nothing_of_that_name", TVariant(5.0)));
}

TEST_F(FunctionParticles, AFunctionWithoutCreateIsReported) {
  TDiagnosticsCollector errors;
  auto s = Attach(
      "<widget type='function_particle_system' init_creation_count='2'><function type='function_complex'/>"
      "</widget>");
  EXPECT_EQ(errors.Errors().size(), 1u);
  s->Advance(10);
  EXPECT_EQ(Query<TFunctionParticleSystem>(s)->Count(), 0);
}

}  // namespace
}  // namespace qv
