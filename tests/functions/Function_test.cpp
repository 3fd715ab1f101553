#include "functions/Function.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "core/Diagnostics.h"
#include "core/Random.h"
#include "functions/EvalFunction.h"
#include "functions/FunctionsTypes.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

// An owner with named cells: a bound parameter space of static definitions.
class TestOwner : public IFunctionOwner {
public:
  void Add(const std::string& name, int row, int col, float value) {
    Ref<TParamDef> def = MakeRef<TParamDef>();
    def->Initialize();
    def->SetName(name);
    def->SetPosition(row, col);
    def->SetStatic(value);
    space->GetDefs().AddDef(def);
  }
  void Bind() { space->Bind(nullptr); }
  float Get(const std::string& name) { return *space->FindCell(name); }
  void Set(const std::string& name, float v) { *space->FindCell(name) = v; }
  IParamSpace* GetOwnerParamSpace() override { return space.get(); }
  Ref<IPixelSource> ResolveImage(float reference) override { return reference == 7.0f ? image : nullptr; }

  Ref<TParamSpace> space = MakeRef<TParamSpace>();
  Ref<IPixelSource> image;
};

// A definition text: a static cell, or a link by name.
std::string Static(int row, int col, float value) {
  return "<paramdef row='" + std::to_string(row) + "' col='" + std::to_string(col) +
         "' static='yes' value='" + std::to_string(value) + "'/>";
}
std::string Linked(const std::string& name, int row, int col) {
  return "<paramdef name='" + name + "' row='" + std::to_string(row) + "' col='" + std::to_string(col) +
         "'/>";
}
std::string Row(int row, const std::vector<float>& values) {
  std::string s;
  for (size_t c = 0; c < values.size(); ++c) s += Static(row, static_cast<int>(c), values[c]);
  return s;
}
std::string FunctionXml(const std::string& type, const std::string& defs, const std::string& extra = {}) {
  return "<function type='" + type + "'><paramspace><paramdefs>" + defs + "</paramdefs></paramspace>" +
         extra + "</function>";
}

// An image without opaque pixels that counts how often it is read.
class TCountingImage : public IPixelSource {
protected:
  ~TCountingImage() override = default;

public:
  int GetWidth() const override { return 2; }
  int GetHeight() const override { return 2; }
  uint32_t GetPixel(int, int) const override {
    ++reads;
    return 0;
  }
  mutable int reads = 0;
};

class FunctionTest : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterFunctionsTypes();
  }
  void TearDown() override { TClassRegistry::Instance().Reset(); }

  Ref<TFunction> Make(const std::string& xml) {
    const auto node = LoadStorageText(xml);
    EXPECT_TRUE(node) << xml;
    auto f = CreateFromNodeAs<TFunction>(node);
    EXPECT_TRUE(f) << xml;
    return f;
  }
  // Output 0 of a one-row function with the given cells and one output.
  float RowResult(const std::string& type, const std::vector<float>& cells, float before = -99.0f) {
    auto f = Make(FunctionXml(type, Row(0, {before}) + Row(1, cells)));
    f->Bind(nullptr);
    f->Calculate();
    return f->GetOutput(0);
  }
};

TEST_F(FunctionTest, SumWritesTheOwnersCells) {
  TestOwner owner;
  owner.Add("total", 0, 0, 0);
  owner.Add("a", 1, 0, 2);
  owner.Add("b", 1, 1, 3.5f);
  owner.Bind();
  auto f = Make(FunctionXml("function_sum", Linked("total", 0, 0) + Linked("a", 1, 0) + Linked("b", 1, 1)));
  f->Bind(&owner);
  f->Calculate();
  EXPECT_EQ(owner.Get("total"), 5.5f);
  owner.Set("a", 10);
  f->Calculate();
  EXPECT_EQ(owner.Get("total"), 13.5f);
  EXPECT_EQ(f->GetInputCount(), 2);
  EXPECT_EQ(f->GetOutputCount(), 1);
  EXPECT_EQ(f->GetDefOutName(1, 1), "b");
}

TEST_F(FunctionTest, RowKinds) {
  EXPECT_EQ(RowResult("function_linear_segment", {10, 20, 5, 10}), 15.0f);
  EXPECT_EQ(RowResult("function_linear_segment", {10, 20, 5, 0}), 20.0f);
  EXPECT_EQ(RowResult("function_linear_segment", {10, 20, 5}), -99.0f);  // too short: unchanged
  EXPECT_EQ(RowResult("function_switch", {1, 2, 7, 8, 9}), 7.0f);
  EXPECT_EQ(RowResult("function_switch", {2, 2, 7, 8, 9}), 8.0f);
  EXPECT_EQ(RowResult("function_switch", {3, 2, 7, 8, 9}), 9.0f);
  EXPECT_EQ(RowResult("function_switch", {3, 2, 7, 8}), -99.0f);
  EXPECT_EQ(RowResult("function_sum", {1, 2, 3}), 6.0f);
  EXPECT_EQ(RowResult("function_multiply", {2, 3, 4}), 24.0f);
  EXPECT_EQ(RowResult("function_substr", {10, 3, 2}), 5.0f);
  EXPECT_EQ(RowResult("function_division", {12, 0, 3, 2}), 2.0f);           // zero divisor skipped
  EXPECT_EQ(RowResult("function_polinom2", {2, 3, 4, 5}), 25.0f);           // 3*4 + 4*2 + 5
  EXPECT_NEAR(RowResult("function_sin", {2, 1, 4}), 2.0f, 1e-6);            // 2*sin(2pi/4)
  EXPECT_NEAR(RowResult("function_sin", {2, 1, 4, 1, 10, 1}), 9.0f, 1e-5);  // phase pi, plus 10 + 1
  EXPECT_EQ(RowResult("function_sin", {2, 1, 0}), -99.0f);
  SetRandomSeed(5);
  const float u = static_cast<float>(RandomFloat());
  SetRandomSeed(5);
  EXPECT_EQ(RowResult("function_random", {10, 1}), u * 10 + 1);
  SetRandomSeed(5);
  const int k = RandomInt(6);
  SetRandomSeed(5);
  EXPECT_EQ(RowResult("function_int_random", {6.9f, 100}), static_cast<float>(k + 100));
}

TEST_F(FunctionTest, NonFiniteCellsNeverReachAPlainIntegerCast) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  // Cells are set after binding, as a division by zero upstream sets them.
  auto run = [this](const std::string& type, const std::string& layout,
                    const std::vector<std::tuple<int, int, float>>& cells) {
    auto f = Make(FunctionXml(type, layout));
    f->Bind(nullptr);
    for (const auto& [row, col, value] : cells) f->GetParamSpace().Set(row, col, value);
    f->Calculate();
    return f;
  };
  // "function_int_random": no count to draw below (NaN, -inf) draws 0;
  // +inf draws below the largest 32-bit count.
  for (float count : {nan, -inf, -1e30f}) {
    auto f = run("function_int_random", Row(0, {-99}) + Row(1, {0, 5}), {{1, 0, count}});
    EXPECT_EQ(f->GetOutput(0), 5.0f) << count;
  }
  SetRandomSeed(3);
  const int32_t k = RandomInt(2147483647);
  SetRandomSeed(3);
  auto big = run("function_int_random", Row(0, {-99}) + Row(1, {0, 0}), {{1, 0, inf}});
  EXPECT_EQ(big->GetOutput(0), static_cast<float>(k));
  // "function_arithmetic": NaN converts to 0 (operation code 0 adds; a
  // zero divisor leaves the value), infinities saturate.
  auto arithmetic = [&](float a, float op, float b) {
    return run("function_arithmetic", Row(0, {0}) + Row(1, {0, 0}) + Row(2, {0}),
               {{1, 0, a}, {2, 0, op}, {1, 1, b}})
        ->GetOutput(0);
  };
  EXPECT_EQ(arithmetic(7, nan, 3), 10.0f);
  EXPECT_EQ(arithmetic(7, inf, 3), 7.0f);
  EXPECT_EQ(arithmetic(7, 6, nan), 7.0f);
  EXPECT_EQ(arithmetic(nan, 6, 3), 0.0f);
  EXPECT_EQ(arithmetic(inf, 7, 1e30f), 1.0f);  // both saturate to the 64-bit maximum
  EXPECT_EQ(arithmetic(-inf, 7, -1), -inf);    // the one quotient that overflows is skipped
  EXPECT_EQ(arithmetic(1e30f, 7, 1), 9223372036854775807.0f);
  // Selectors: a NaN or infinite index selects nothing.
  TestOwner owner;
  owner.Add("out", 0, 0, 0);
  owner.Bind();
  const std::string choices =
      "<functions>" + FunctionXml("function_sum", Linked("out", 0, 0) + Static(1, 0, 100)) + "</functions>";
  for (float index : {nan, inf, -inf, 3e9f}) {
    auto selector =
        Make(FunctionXml("function_selector_const", Linked("out", 0, 0) + Static(2, 0, 0), choices));
    selector->Bind(&owner);
    selector->GetParamSpace().Set(2, 0, index);
    selector->Calculate();
    EXPECT_EQ(owner.Get("out"), 0.0f) << index;
  }
  // "function_montecarlo": a NaN try count tries nothing (it used to try a
  // million times).
  owner.image = MakeRef<TCountingImage>();
  auto monteCarlo = Make(FunctionXml("function_montecarlo", Row(0, {9}) + Row(1, {7, 300, 0})));
  monteCarlo->Bind(&owner);
  monteCarlo->GetParamSpace().Set(1, 2, nan);
  monteCarlo->Calculate();
  EXPECT_EQ(monteCarlo->GetOutput(0), 0.0f);
  EXPECT_EQ(static_cast<TCountingImage*>(owner.image.get())->reads, 0);
}

TEST_F(FunctionTest, PiecewiseIntervalAndArithmetic) {
  auto piecewise =
      Make(FunctionXml("function_piecewise", Row(0, {0}) + Row(1, {0}) + Row(2, {0, 10}) + Row(3, {0, 100})));
  piecewise->Bind(nullptr);
  for (auto [x, y] : std::vector<std::pair<float, float>>{{5, 50}, {20, 100}, {-1, 100}, {0, 0}, {10, 100}}) {
    piecewise->SetInput(0, x);
    piecewise->Calculate();
    EXPECT_EQ(piecewise->GetOutput(0), y) << x;
  }

  auto interval = Make(FunctionXml("function_interval",
                                   Row(0, {0}) + Row(1, {0}) + Row(2, {1, 5, 100}) + Row(3, {10, 20, 30})));
  interval->Bind(nullptr);
  for (auto [x, y] : std::vector<std::pair<float, float>>{{0, 10}, {1, 10}, {3, 20}, {9, 30}}) {
    interval->SetInput(0, x);
    interval->Calculate();
    EXPECT_EQ(interval->GetOutput(0), y) << x;
  }

  // (((7 + 3) * 2) max 5) rem 6 = 2; second pair 9 div 0 keeps 9.
  auto arithmetic =
      Make(FunctionXml("function_arithmetic", Row(0, {0, 0}) + Row(1, {7, 3, 2, 5, 6}) +
                                                  Row(2, {0, 2, 4, 6}) + Row(3, {9, 0}) + Row(4, {7})));
  arithmetic->Bind(nullptr);
  arithmetic->Calculate();
  EXPECT_EQ(arithmetic->GetOutput(0), 2.0f);
  EXPECT_EQ(arithmetic->GetOutput(1), 9.0f);
}

TEST_F(FunctionTest, StaticAndUnsetCells) {
  TestOwner owner;
  owner.Add("total", 0, 0, 0);
  owner.Add("half", 1, 0, 99);
  owner.Bind();
  // "half" is static in the function, whatever the owner holds; "ghost"
  // names a cell the owner lacks and reads as 0.
  auto f = Make(
      FunctionXml("function_sum", Linked("total", 0, 0) +
                                      "<paramdef name='half' row='1' col='0' static='yes' value='0.5'/>" +
                                      Linked("ghost", 1, 1)));
  f->Bind(&owner);
  f->Calculate();
  EXPECT_EQ(owner.Get("total"), 0.5f);
  EXPECT_EQ(f->GetCell(0, 1), 0.5f);
  EXPECT_FALSE(f->GetParamSpace().IsCellSet(1, 1));
  EXPECT_EQ(f->GetParamSpace().FindCell("ghost"), nullptr);  // unset for whoever links to it
  // Without an owner nothing is linked; the function still calculates.
  f->Bind(nullptr);
  f->Calculate();
  EXPECT_EQ(f->GetOutput(0), 0.5f);
  f->Unbind();
  EXPECT_EQ(f->GetOutput(0), 0.0f);
}

TEST_F(FunctionTest, ComplexFunctionsSelectorsAndPreparation) {
  TestOwner owner;
  owner.Add("out", 0, 0, 0);
  owner.Add("x", 1, 0, 3);
  owner.Bind();
  // The complex function's cells link to the owner; its sub-functions link
  // to the complex function's cells.
  const std::string complexDefs = Linked("out", 0, 0) + Linked("x", 1, 0);
  const std::string subs =
      "<functions>" +
      FunctionXml("function_multiply", Linked("out", 0, 0) + Linked("x", 1, 0) + Static(1, 1, 2)) +
      FunctionXml("function_sum", Linked("out", 0, 0) + Linked("out", 1, 0) + Static(1, 1, 1)) +
      "</functions>";
  auto complex = Make(FunctionXml("function_complex", complexDefs, subs));
  complex->Bind(&owner);
  complex->Calculate();
  EXPECT_EQ(owner.Get("out"), 7.0f);  // 3*2 + 1
  ASSERT_NE(complex->GetSubFunctions(), nullptr);
  EXPECT_EQ(complex->GetSubFunctions()->Count(), 2);

  // The selector's sub-function 0 yields the index 2 of the one to run.
  const std::string choices =
      "<functions>" + FunctionXml("function_sum", Static(0, 0, 0) + Static(1, 0, 2.7f)) +
      FunctionXml("function_sum", Linked("out", 0, 0) + Static(1, 0, 100)) +
      FunctionXml("function_sum", Linked("out", 0, 0) + Static(1, 0, 200)) + "</functions>";
  auto selector = Make(FunctionXml("function_selector", Linked("out", 0, 0), choices));
  selector->Bind(&owner);
  selector->Calculate();
  EXPECT_EQ(owner.Get("out"), 200.0f);
  auto constSelector =
      Make(FunctionXml("function_selector_const", Linked("out", 0, 0) + Static(2, 0, 1), choices));
  constSelector->Bind(&owner);
  constSelector->Calculate();
  EXPECT_EQ(owner.Get("out"), 100.0f);
  auto outOfRange =
      Make(FunctionXml("function_selector_const", Linked("out", 0, 0) + Static(2, 0, 9), choices));
  outOfRange->Bind(&owner);
  outOfRange->Calculate();
  EXPECT_EQ(owner.Get("out"), 100.0f);

  // A preparation function with "before" and "after" sub-functions.
  const std::string prep =
      "<preparation_function type='function_complex'><paramspace><paramdefs>" + Linked("out", 0, 0) +
      "</paramdefs></paramspace><functions>" +
      FunctionXml("function_sum", Linked("out", 0, 0) + Static(1, 0, 1)).insert(10, "name='before' ") +
      FunctionXml("function_multiply", Linked("out", 0, 0) + Linked("out", 1, 0) + Static(1, 1, 10))
          .insert(10, "name='after' ") +
      "</functions></preparation_function>";
  auto prepared = Make(FunctionXml("function_sum", Linked("out", 0, 0), prep));
  prepared->Bind(&owner);
  ASSERT_NE(prepared->GetBeforeFunction(), nullptr);
  ASSERT_NE(prepared->GetAfterFunction(), nullptr);
  prepared->Prepare();
  EXPECT_EQ(owner.Get("out"), 10.0f);  // before: out := 1; after: out := out * 10
  prepared->Unbind();
  EXPECT_EQ(prepared->GetBeforeFunction(), nullptr);
}

TEST_F(FunctionTest, EvalFunctionRunsItsProgramAndSwitchesOffOnErrors) {
  TestOwner owner;
  owner.Add("y", 0, 0, 0);
  owner.Add("t", 1, 0, 2);
  owner.Add("d", 1, 1, 4);
  owner.Bind();
  const std::string defs = Linked("y", 0, 0) + Linked("t", 1, 0) + Linked("d", 1, 1);
  auto f = Make(
      FunctionXml("function_eval", defs, "<expression>k := t * 10\n// comment\ny := k / d</expression>"));
  auto* eval = dynamic_cast<TEvalFunction*>(f.get());
  ASSERT_NE(eval, nullptr);
  f->Bind(&owner);
  EXPECT_TRUE(eval->IsActive());
  f->Calculate();
  EXPECT_EQ(owner.Get("y"), 5.0f);
  owner.Set("d", 0);
  f->Calculate();  // division by zero: off, without failing the frame
  EXPECT_FALSE(eval->IsActive());
  EXPECT_EQ(eval->GetLastError(), "Error in math expression: Division by zero");
  owner.Set("d", 2);
  f->Calculate();
  EXPECT_EQ(owner.Get("y"), 5.0f);  // still off
  f->Bind(&owner);
  f->Calculate();
  EXPECT_EQ(owner.Get("y"), 10.0f);

  auto broken = Make(FunctionXml("function_eval", defs, "<expression>y := (t</expression>"));
  broken->Bind(&owner);
  EXPECT_FALSE(dynamic_cast<TEvalFunction*>(broken.get())->IsActive());
  broken->Calculate();
  EXPECT_EQ(owner.Get("y"), 10.0f);
}

TEST_F(FunctionTest, DroppedDataIsReported) {
  TestOwner owner;
  owner.Add("y", 0, 0, 0);
  owner.Add("d", 1, 0, 0);
  owner.Bind();
  const std::string defs = Linked("y", 0, 0) + Linked("d", 1, 0);
  {
    TDiagnosticsCollector diagnostics;
    auto good = Make(FunctionXml("function_eval", defs, "<expression>y := d + 1</expression>"));
    good->Bind(&owner);
    good->Calculate();
    EXPECT_EQ(owner.Get("y"), 1.0f);
    EXPECT_TRUE(diagnostics.Errors().empty());
  }
  {
    // A program line that does not compile: named with its text and message.
    TDiagnosticsCollector diagnostics;
    auto broken = Make(FunctionXml("function_eval", defs, "<expression>y := 1\ny := (d</expression>")
                           .insert(10, "name='wave' "));
    broken->Bind(&owner);
    ASSERT_EQ(diagnostics.Errors().size(), 1u);
    EXPECT_EQ(diagnostics.Errors()[0].where, "function_eval \"wave\"");
    EXPECT_EQ(diagnostics.Errors()[0].what,
              "expression \"y := (d\" does not compile (Error in math expression: Unequal brackets); the "
              "function stays off");
  }
  {
    // An evaluation error switches the function off, reported once.
    TDiagnosticsCollector diagnostics;
    auto divides = Make(FunctionXml("function_eval", defs, "<expression>y := 1 / d</expression>"));
    divides->Bind(&owner);
    divides->Calculate();
    divides->Calculate();
    ASSERT_EQ(diagnostics.Errors().size(), 1u);
    EXPECT_EQ(diagnostics.Errors()[0].where, "function_eval");
    EXPECT_EQ(diagnostics.Errors()[0].what,
              "evaluation failed (Error in math expression: Division by zero); the function is off until it "
              "is bound again");
  }
  {
    // Unknown kinds among sub-functions and as the preparation function.
    RegisterClass<TParamSpace>("not_a_function");
    TDiagnosticsCollector diagnostics;
    const std::string subs = "<functions>" + FunctionXml("function_nonsense", "") +
                             FunctionXml("function_sum", Linked("y", 0, 0) + Static(1, 0, 4)) +
                             FunctionXml("not_a_function", "").insert(10, "name='odd' ") + "</functions>";
    auto complex = Make(FunctionXml("function_complex", Linked("y", 0, 0), subs));
    ASSERT_NE(complex->GetSubFunctions(), nullptr);
    EXPECT_EQ(complex->GetSubFunctions()->Count(), 1);
    complex->Bind(&owner);
    complex->Calculate();
    EXPECT_EQ(owner.Get("y"), 4.0f);
    ASSERT_EQ(diagnostics.Errors().size(), 2u);
    EXPECT_EQ(diagnostics.Errors()[0].where, "function");
    EXPECT_EQ(diagnostics.Errors()[0].what,
              "unknown function kind \"function_nonsense\"; the function is left out");
    EXPECT_EQ(diagnostics.Errors()[1].where, "function \"odd\"");
    EXPECT_EQ(diagnostics.Errors()[1].what,
              "unknown function kind \"not_a_function\"; the function is left out");
    diagnostics.Clear();
    auto prepared =
        Make(FunctionXml("function_sum", Linked("y", 0, 0), "<preparation_function type='function_sim'/>"));
    EXPECT_EQ(prepared->GetPreparationFunction(), nullptr);
    EXPECT_TRUE(diagnostics.Has("unknown function kind \"function_sim\""));
    EXPECT_TRUE(diagnostics.Has("preparation_function"));
  }
}

TEST_F(FunctionTest, SaveAndLoadKeepTheLayout) {
  auto f = Make(FunctionXml(
      "function_eval",
      Linked("y", 0, 0) + Static(1, 2, 1.5f) + "<paramdef name='p' row='2' col='1' outrow='3' outcol='4'/>",
      "<expression>y := 1</expression>"));
  const auto out = NewStorage("root");
  ASSERT_TRUE(SaveObjectTo(*f, out, "function"));
  const auto copy = CreateFromChild(out, "function", 0);
  auto g = Query<TFunction>(copy);
  ASSERT_TRUE(g);
  EXPECT_EQ(dynamic_cast<TEvalFunction*>(g.get())->GetExpression(), "y := 1");
  const auto& defs = g->GetParamSpace().GetDefs();
  ASSERT_NE(defs.DefAt(1, 2), nullptr);
  EXPECT_TRUE(defs.DefAt(1, 2)->IsStatic());
  EXPECT_EQ(defs.DefAt(1, 2)->GetStaticValue(), 1.5f);
  ASSERT_NE(defs.DefAt(2, 1), nullptr);
  EXPECT_EQ(defs.DefAt(2, 1)->GetOutRow(), 3);
  EXPECT_EQ(defs.DefAt(2, 1)->GetOutCol(), 4);
  EXPECT_EQ(defs.DefAt(0, 0)->GetOutName(), "y");
}

TEST_F(FunctionTest, DefinitionLayout) {
  // A second definition at the same place reloads the first; rows are as
  // long as their largest column; definitions without a place have no cell.
  auto f = Make(FunctionXml("function_sum", Static(1, 3, 1) + Static(1, 3, 2) + Static(0, 0, 0) +
                                                "<paramdef name='nowhere' static='yes' value='4'/>" +
                                                Static(100000, 0, 5)));
  const auto& defs = f->GetParamSpace().GetDefs();
  EXPECT_EQ(defs.Count(), 4);
  EXPECT_EQ(defs.GetRowCount(), 2);
  EXPECT_EQ(defs.GetColCount(1), 4);
  EXPECT_EQ(defs.DefAt(1, 3)->GetStaticValue(), 2.0f);
  EXPECT_EQ(defs.DefAt(1, 0), nullptr);
  f->Bind(nullptr);
  f->Calculate();
  EXPECT_EQ(f->GetOutput(0), 2.0f);
}

class FakeImage : public IPixelSource {
protected:
  ~FakeImage() override = default;

public:
  int GetWidth() const override { return 4; }
  int GetHeight() const override { return 2; }
  uint32_t GetPixel(int x, int y) const override { return x == 3 && y == 1 ? 0xFF102030u : 0x00FFFFFFu; }
};

TEST_F(FunctionTest, MonteCarloSamplesTheOwnersImage) {
  TestOwner owner;
  owner.image = MakeRef<FakeImage>();
  auto f = Make(FunctionXml("function_montecarlo", Row(0, {9, 0, 0, 0, 0, 0, 0}) + Row(1, {7, 128, 1000})));
  f->Bind(&owner);
  SetRandomSeed(1);
  f->Calculate();
  EXPECT_EQ(f->GetOutput(0), 1.0f);
  EXPECT_EQ(f->GetOutput(1), 3.0f);
  EXPECT_EQ(f->GetOutput(2), 1.0f);
  EXPECT_EQ(f->GetOutput(3), 0x10);
  EXPECT_EQ(f->GetOutput(5), 0x30);
  EXPECT_EQ(f->GetOutput(6), 255.0f);
  auto none = Make(FunctionXml("function_montecarlo", Row(0, {9, 5}) + Row(1, {8})));
  none->Bind(&owner);
  none->Calculate();
  EXPECT_EQ(none->GetOutput(0), 0.0f);
  EXPECT_EQ(none->GetOutput(1), 5.0f);
}

}  // namespace
}  // namespace qv
