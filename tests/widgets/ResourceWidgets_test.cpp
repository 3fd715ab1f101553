#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "widgets/AnimationWidget.h"
#include "widgets/BlinkWidget.h"
#include "widgets/ImageWidget.h"
#include "widgets/ResourceTestSupport.h"
#include "widgets/SequenceAnimationWidget.h"
#include "widgets/WidgetsTypes.h"

namespace qv {
namespace {

using test::TFakeScreen;
using test::TMemoryImage;
using test::TResourceEngine;
using test::WidgetFromXml;

constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, O = 0;

std::vector<uint32_t> Pixels(const ISurface& s) {
  std::vector<uint32_t> out;
  for (int y = 0; y < s.GetHeight(); ++y)
    for (int x = 0; x < s.GetWidth(); ++x) out.push_back(s.GetPixel(x, y));
  return out;
}

// A strip (or grid) whose pixel k, row by row, is 0xFF000000 + k + 1: a
// one-pixel frame then shows which cell was drawn.
// The saved XML of a widget.
std::string Saved(IWidget& w) {
  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent&>(w).Save(out);
  return AsRoot(out)->SaveToText();
}

Ref<TSurface> NumberedCells(int columns, int rows) {
  auto s = MakeRef<TSurface>(columns, rows);
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < columns; ++x)
      s->SetPixel(x, y, 0xFF000000u + static_cast<uint32_t>(y * columns + x + 1));
  return s;
}

class ResourceWidgets : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterWidgetsTypes();
    // R G / B transparent
    auto picture = MakeRef<TSurface>(2, 2);
    picture->SetPixel(0, 0, R);
    picture->SetPixel(1, 0, G);
    picture->SetPixel(0, 1, B);
    engine->Add("picture", MakeRef<TMemoryImage>(picture));
    engine->Add("strip", MakeRef<TMemoryImage>(NumberedCells(10, 1)));
    engine->Add("grid", MakeRef<TMemoryImage>(NumberedCells(3, 2)));
    engine->Add("nothing", MakeRef<TResource>());  // a resource name of another kind
  }
  void TearDown() override {
    screen->DetachRoot();
    TClassRegistry::Instance().Reset();
  }
  template <class W>
  Ref<W> Attach(const std::string& xml) {
    Ref<IWidget> root = WidgetFromXml(xml);
    EXPECT_TRUE(root) << xml;
    screen->SetRoot(root);
    Ref<W> typed = Query<W>(root);
    EXPECT_TRUE(typed) << xml;
    return typed;
  }
  // The cell a one-pixel frame widget shows: -1 for none.
  static int Shown(IWidget& w) {
    auto target = MakeRef<TSurface>(1, 1);
    w.Draw(target.get(), 0, 0);
    const uint32_t p = target->GetPixel(0, 0);
    return p == 0 ? -1 : static_cast<int>(p & 0xFFFFFFu) - 1;
  }
  static void Step(IWidget& w, int dt) { w.Advance(dt); }

  Ref<TResourceEngine> engine = MakeRef<TResourceEngine>();
  Ref<TFakeScreen> screen = MakeRef<TFakeScreen>(engine.get());
};

// --- image ------------------------------------------------------------------------

TEST_F(ResourceWidgets, ImageCopiesItsSourceRectangleOrPaintsThroughIt) {
  const auto w = Attach<TImageWidget>(
      R"(<widget type="image_widget" visible="yes" resourcename="picture" width="2" height="1"/>)");
  auto target = MakeRef<TSurface>(3, 2);
  w->Draw(target.get(), 1, 0);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{O, R, G, O, O, O}));

  target->Clear();
  EXPECT_TRUE(w->SetPropertyValue("resourcetop", TVariant{1LL}));
  EXPECT_EQ(w->GetSourceRect(), (TRect{0, 1, 2, 2}));
  w->Draw(target.get(), 0, 1);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{O, O, O, B, O, O}));  // (1,1) of the image is empty

  // "fillcolor" paints the colour through the rectangle's alpha.
  target->Clear();
  EXPECT_TRUE(w->SetPropertyValue("resourcetop", TVariant{0LL}));
  EXPECT_TRUE(w->SetPropertyValue("drawmode", TVariant{1LL}));
  EXPECT_TRUE(w->SetPropertyValue("fillcolor", TVariant{static_cast<long long>(int32_t(0xFF00FF00))}));
  w->Draw(target.get(), 0, 0);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{G, G, O, O, O, O}));

  // The widget's level: red at 128 over opaque black is half red.
  for (int x = 0; x < 3; ++x) target->SetPixel(x, 0, 0xFF000000u);
  EXPECT_TRUE(w->SetPropertyValue("drawmode", TVariant{0LL}));
  w->SetTransparentLevel(128);
  w->Draw(target.get(), 0, 0);
  EXPECT_EQ(target->GetPixel(0, 0), 0xFF800000u);
  EXPECT_EQ(target->GetPixel(1, 0), 0xFF008000u);
}

TEST_F(ResourceWidgets, ImageKeysAreStoredAlwaysAndWritesRepaintOnlyOnChange) {
  const auto w = Attach<TImageWidget>(
      R"(<widget type="image_widget" resourcename="picture" blendingmode="addition" drawmode="fillcolor"/>)");
  EXPECT_EQ(w->GetBlendingMode(), kBlendAddition);
  EXPECT_EQ(w->GetDrawMode(), TImageWidget::kFillColor);
  const std::string xml = Saved(*w);
  for (const char* key : {"resourcename=\"picture\"", "resourceleft=\"0\"", "resourcetop=\"0\"",
                          "fillcolor=\"0\"", "drawmode=\"fillcolor\"", "blendingmode=\"addition\""})
    EXPECT_NE(xml.find(key), std::string::npos) << key << " in " << xml;

  w->SetNeedRepaint(false);
  EXPECT_TRUE(w->SetPropertyValue("resourcename", TVariant{std::string("picture")}));
  EXPECT_TRUE(w->SetPropertyValue("resourceleft", TVariant{0LL}));
  EXPECT_FALSE(w->NeedsRepaint());
  EXPECT_TRUE(w->SetPropertyValue("resourceleft", TVariant{1LL}));
  EXPECT_TRUE(w->NeedsRepaint());
  w->SetNeedRepaint(false);
  EXPECT_TRUE(w->SetPropertyValue("resourcename", TVariant{std::string("strip")}));
  EXPECT_TRUE(w->NeedsRepaint());
}

TEST_F(ResourceWidgets, ImageHitTestSkipsTransparentPixels) {
  const auto w = Attach<TImageWidget>(
      R"(<widget type="image_widget" visible="yes" resourcename="picture" width="2" height="2" anchor_left="10" anchor_top="20"/>)");
  EXPECT_TRUE(w->ContainsPoint({10, 20}, false));   // red
  EXPECT_TRUE(w->ContainsPoint({10, 21}, false));   // blue
  EXPECT_FALSE(w->ContainsPoint({11, 21}, false));  // the transparent corner
  EXPECT_FALSE(w->ContainsPoint({12, 20}, false));  // outside the rectangle
  // The source offset moves the tested pixel: (11, 20) now reads (1, 1).
  EXPECT_TRUE(w->SetPropertyValue("resourcetop", TVariant{1LL}));
  EXPECT_FALSE(w->ContainsPoint({11, 20}, false));
  EXPECT_TRUE(w->ContainsPoint({10, 20}, false));
}

TEST_F(ResourceWidgets, MissingOrWrongResourcesDrawNothingAndAreReportedOncePerName) {
  TDiagnosticsCollector diagnostics;
  const auto w = Attach<TImageWidget>(
      R"(<widget type="image_widget" visible="yes" resourcename="absent" width="2" height="1"/>)");
  auto target = MakeRef<TSurface>(2, 1);
  w->Draw(target.get(), 0, 0);
  w->Draw(target.get(), 0, 0);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{O, O}));
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_TRUE(diagnostics.Has("no resource named \"absent\""));

  EXPECT_TRUE(w->SetPropertyValue("resourcename", TVariant{std::string("nothing")}));
  w->Draw(target.get(), 0, 0);
  w->Draw(target.get(), 0, 0);
  ASSERT_EQ(diagnostics.Errors().size(), 2u);
  EXPECT_TRUE(diagnostics.Has("resource \"nothing\" is not an image"));

  // An empty name means "no picture" and is not reported.
  EXPECT_TRUE(w->SetPropertyValue("resourcename", TVariant{std::string()}));
  w->Draw(target.get(), 0, 0);
  EXPECT_EQ(diagnostics.Errors().size(), 2u);

  // A resource added later shows at the next draw: looked up on every use.
  EXPECT_TRUE(w->SetPropertyValue("resourcename", TVariant{std::string("absent")}));
  engine->Add("absent", MakeRef<TMemoryImage>(NumberedCells(2, 1)));
  w->Draw(target.get(), 0, 0);
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{0xFF000001u, 0xFF000002u}));
}

TEST_F(ResourceWidgets, ImageWithoutEngineDrawsNothing) {
  const Ref<IWidget> w = WidgetFromXml(
      R"(<widget type="image_widget" visible="yes" resourcename="picture" width="2" height="1"/>)");
  auto target = MakeRef<TSurface>(2, 1);
  w->Draw(target.get(), 0, 0);  // no owner: no engine to ask
  EXPECT_EQ(Pixels(*target), (std::vector<uint32_t>{O, O}));
}

// --- animations ---------------------------------------------------------------------

constexpr char kTenFrames[] =
    R"(<widget type="animation_widget" visible="yes" resourcename="strip" width="1" height="1" resourcewidth="10" framescount="10" animationtime="1000")";

TEST_F(ResourceWidgets, AnimationSpreadsItsFramesOverItsTime) {
  const auto w = Attach<TAnimationWidget>(std::string(kTenFrames) + "/>");
  EXPECT_EQ(Shown(*w), 0);
  Step(*w, 350);
  EXPECT_EQ(w->GetCurrentFrame(), 3);
  EXPECT_EQ(Shown(*w), 3);
  Step(*w, 649);  // 999: the last frame
  EXPECT_EQ(Shown(*w), 9);
  Step(*w, 1);  // 1000 without loop: finished on the last picture
  EXPECT_EQ(w->GetState(), kStateFinished);
  EXPECT_FALSE(w->IsActive());
  EXPECT_EQ(Shown(*w), 9);
  Step(*w, 500);  // frozen
  EXPECT_EQ(Shown(*w), 9);
}

TEST_F(ResourceWidgets, ReversedAnimationCountsFromTheEnd) {
  const auto w = Attach<TAnimationWidget>(std::string(kTenFrames) + R"( reverse="yes"/>)");
  Step(*w, 350);
  EXPECT_EQ(Shown(*w), 6);
  EXPECT_TRUE(w->SetPropertyValue("currentframe", TVariant{2LL}));
  EXPECT_EQ(VarToInt(w->GetPropertyValue("currentframe")), 7);
  Step(*w, 650);
  EXPECT_EQ(Shown(*w), 0);  // the last picture of a reversed run is cell 0
}

TEST_F(ResourceWidgets, AnimationDelaysLoopsAndStopsOnTheFirstFrame) {
  const auto w = Attach<TAnimationWidget>(std::string(kTenFrames) +
                                          R"( startdelaytime="200" cycledelaytime="300" loop="yes"/>)");
  Step(*w, 199);
  EXPECT_EQ(w->GetState(), kStateStartDelay);
  EXPECT_EQ(Shown(*w), 0);
  Step(*w, 451);  // 650: the delay ends at 200, the rest (450) runs at once
  EXPECT_EQ(w->GetState(), kStateRunning);
  EXPECT_EQ(w->GetCurrentTime(), 50);
  EXPECT_EQ(Shown(*w), 0);
  Step(*w, 850);  // 900
  EXPECT_EQ(Shown(*w), 9);
  Step(*w, 150);  // 1050: into the cycle delay, time wrapped to 50
  EXPECT_EQ(w->GetState(), kStateCycleDelay);
  EXPECT_EQ(w->GetCurrentTime(), 50);
  Step(*w, 10);
  EXPECT_EQ(Shown(*w), 0);
  Step(*w, 440);  // 500: the cycle delay of 300 ends, 200 into the next run
  EXPECT_EQ(w->GetState(), kStateRunning);
  EXPECT_EQ(Shown(*w), 2);

  // Without loop and with stoponfirst, it ends on cell 0.
  EXPECT_TRUE(w->SetPropertyValue("loop", TVariant{false}));
  EXPECT_TRUE(w->SetPropertyValue("stoponfirst", TVariant{true}));
  Step(*w, 1000);
  EXPECT_EQ(w->GetState(), kStateFinished);
  EXPECT_EQ(Shown(*w), 0);
  // Setting loop revives it from its start delay.
  EXPECT_TRUE(w->SetPropertyValue("loop", TVariant{true}));
  EXPECT_EQ(w->GetState(), kStateStartDelay);
  EXPECT_TRUE(w->IsActive());
  w->Restart();
  Step(*w, 550);  // the delay of 200 ends; the run goes on at 550 mod 200 = 150
  EXPECT_EQ(Shown(*w), 1);
}

TEST_F(ResourceWidgets, AnimationFramesLieRowByRowInTheGrid) {
  // Three columns from the grid corner (0, 0): cell 4 is (1, 1).
  const auto w = Attach<TAnimationWidget>(
      R"(<widget type="animation_widget" resourcename="grid" width="1" height="1" resourcewidth="3" framescount="6" animationtime="600"/>)");
  const int expected[] = {0, 1, 2, 3, 4, 5};
  for (int frame = 0; frame < 6; ++frame) {
    w->SetFrame(frame);
    EXPECT_EQ(Shown(*w), expected[frame]) << frame;
  }
  // A grid narrower than a frame has no column: nothing is drawn.
  EXPECT_TRUE(w->SetPropertyValue("resourcewidth", TVariant{0LL}));
  EXPECT_EQ(Shown(*w), -1);
  // The grid's corner: from (1, 0) with two columns, cell 2 is (1, 1).
  auto shifted = Attach<TAnimationWidget>(
      R"(<widget type="animation_widget" resourcename="grid" width="1" height="1" resourceleft="1" resourcewidth="2" framescount="4"/>)");
  shifted->SetFrame(2);
  EXPECT_EQ(Shown(*shifted), 4);
  EXPECT_FALSE(shifted->SetPropertyValue("framescount", TVariant{9LL}));  // not writable
  const std::string xml = Saved(*shifted);
  for (const char* key : {"loop=\"no\"", "framescount=\"4\"", "resourceleft=\"1\"", "resourceheight=\"0\"",
                          "resourcewidth=\"2\"", "startdelaytime=\"0\"", "cycledelaytime=\"0\"",
                          "stoponfirst=\"no\"", "reverse=\"no\"", "animationtime=\"0\""})
    EXPECT_NE(xml.find(key), std::string::npos) << key << " in " << xml;
}

constexpr char kTwoFrames[] =
    R"(<widget type="sequence_animation_widget" resourcename="strip" width="1" height="1" resourcewidth="10" framescount="10" default_duration="100")";

TEST_F(ResourceWidgets, SequenceBoundaryBelongsToTheEarlierFrame) {
  const auto w = Attach<TSequenceAnimationWidget>(
      std::string(kTwoFrames) + R"(><frame subimage_index="4"/><frame subimage_index="7"/></widget>)");
  EXPECT_EQ(w->GetTotalDuration(), 200);
  EXPECT_EQ(w->FrameAtTime(0), 0);
  EXPECT_EQ(w->FrameAtTime(100), 0);
  EXPECT_EQ(w->FrameAtTime(101), 1);
  EXPECT_EQ(w->FrameAtTime(199), 1);
  EXPECT_EQ(w->FrameAtTime(250), -1);
  Step(*w, 100);
  EXPECT_EQ(Shown(*w), 4);
  EXPECT_EQ(VarToInt(w->GetPropertyValue("currentframe")), 0);
  Step(*w, 1);
  EXPECT_EQ(Shown(*w), 7);
  EXPECT_EQ(VarToInt(w->GetPropertyValue("currentframe")), 1);
  Step(*w, 99);  // 200: finished on the last frame
  EXPECT_EQ(w->GetState(), kStateFinished);
  EXPECT_EQ(Shown(*w), 7);
}

TEST_F(ResourceWidgets, ReversedSequenceWalksFromTheLastFrame) {
  const auto w = Attach<TSequenceAnimationWidget>(
      std::string(kTwoFrames) +
      R"( reverse="yes"><frame subimage_index="1" duration="50"/><frame subimage_index="2"/><frame subimage_index="3"/></widget>)");
  EXPECT_EQ(w->GetTotalDuration(), 250);
  EXPECT_EQ(w->FrameAtTime(0), 2);
  EXPECT_EQ(w->FrameAtTime(100), 2);
  EXPECT_EQ(w->FrameAtTime(150), 1);
  EXPECT_EQ(w->FrameAtTime(201), 0);
  EXPECT_EQ(w->FrameAtTime(249), 0);
  EXPECT_TRUE(w->SetPropertyValue("currentframe", TVariant{1LL}));
  EXPECT_EQ(Shown(*w), 2);
  EXPECT_TRUE(w->SetPropertyValue("currentframe", TVariant{5LL}));  // beyond the list: ignored
  EXPECT_EQ(VarToInt(w->GetPropertyValue("currentframe")), 1);
  // Durations are written only when they differ from the default.
  const std::string xml = Saved(*w);
  EXPECT_NE(xml.find(R"(<frame subimage_index="1" duration="50"/>)"), std::string::npos) << xml;
  EXPECT_NE(xml.find(R"(<frame subimage_index="2"/>)"), std::string::npos) << xml;
  EXPECT_NE(xml.find(R"(default_duration="100")"), std::string::npos) << xml;
}

TEST_F(ResourceWidgets, BadFrameListsAreReported) {
  TDiagnosticsCollector diagnostics;
  const auto w = Attach<TSequenceAnimationWidget>(
      std::string(kTwoFrames) +
      R"(><frame subimage_index="-1"/><frame duration="-5"/><frame subimage_index="12"/></widget>)");
  EXPECT_EQ(w->GetFrames().size(), 1u);  // the two negative ones are dropped
  EXPECT_TRUE(diagnostics.Has("frame 0 has a negative duration or subimage index"));
  EXPECT_TRUE(diagnostics.Has("frame 1 has a negative duration or subimage index"));
  EXPECT_TRUE(diagnostics.Has("subimage index 12 is beyond the 10 frames"));
  diagnostics.Clear();
  Attach<TSequenceAnimationWidget>(
      R"(<widget type="sequence_animation_widget"><frame subimage_index="0"/><frame/></widget>)");
  EXPECT_TRUE(diagnostics.Has("the frames last no time at all"));
  diagnostics.Clear();
  Attach<TSequenceAnimationWidget>(std::string(kTwoFrames) + R"(><frame subimage_index="9"/></widget>)");
  EXPECT_TRUE(diagnostics.Errors().empty());
}

// --- blink --------------------------------------------------------------------------

constexpr char kBlink[] =
    R"(<widget type="blink_widget" resourcename="picture" width="1" height="1" firstperiod="200" secondperiod="300" start_transparentlevel="0" peak_transparentlevel="255" end_transparentlevel="0")";

TEST_F(ResourceWidgets, BlinkRisesToThePeakAndFalls) {
  const auto w = Attach<TBlinkWidget>(std::string(kBlink) + "/>");
  Step(*w, 0);
  EXPECT_EQ(w->GetTransparentLevel(), 0);
  Step(*w, 100);
  EXPECT_EQ(w->GetTransparentLevel(), 127);  // 255 * 100 / 200
  Step(*w, 200);
  EXPECT_EQ(w->GetTransparentLevel(), 170);  // 255 - 255 * 100 / 300
  EXPECT_EQ(w->LevelAt(200), 255);
  EXPECT_EQ(w->LevelAt(400), 85);  // 255 - 255 * 200 / 300
  Step(*w, 199);
  EXPECT_EQ(w->GetTransparentLevel(), 1);  // 255 - 255 * 299 / 300
  Step(*w, 1);                             // the period of 500 is over: finished at the end level
  EXPECT_EQ(w->GetState(), kStateFinished);
  EXPECT_FALSE(w->IsActive());
  EXPECT_EQ(w->GetTransparentLevel(), 0);
  EXPECT_FALSE(w->IsDead());
}

TEST_F(ResourceWidgets, BlinkDefaultsFollowTheFirstValues) {
  const auto w = Attach<TBlinkWidget>(
      R"(<widget type="blink_widget" firstperiod="40" start_transparentlevel="30" peak_transparentlevel="250"/>)");
  const std::string xml = Saved(*w);
  for (const char* key :
       {"secondperiod=\"40\"", "end_transparentlevel=\"30\"", "loop=\"no\"", "startdelaytime=\"0\"",
        "cycledelaytime=\"0\"", "stoponfirst=\"no\"", "firstperiod=\"40\""})
    EXPECT_NE(xml.find(key), std::string::npos) << key << " in " << xml;
  EXPECT_EQ(xml.find("loops_count"), std::string::npos) << xml;
  // Levels beyond a byte wrap modulo 256 on the curve: 250 + (30 - 250) * 60 / 40 = -80 -> 176.
  EXPECT_EQ(w->LevelAt(100), 176);
}

TEST_F(ResourceWidgets, BlinkWithALoopCountDiesAfterItsLastBlink) {
  for (const bool stopOnFirst : {false, true}) {
    const auto w = Attach<TBlinkWidget>(
        std::string(
            R"(<widget type="blink_widget" firstperiod="200" secondperiod="300" start_transparentlevel="10")") +
        R"( peak_transparentlevel="255" end_transparentlevel="40" loop="yes" loops_count="2" cycledelaytime="100")" +
        (stopOnFirst ? R"( stoponfirst="yes"/>)" : "/>"));
    Step(*w, 100);  // first blink rising: 10 + 245 * 100 / 200
    EXPECT_EQ(w->GetTransparentLevel(), 132);
    Step(*w, 450);  // 550: into the rest, at the start level
    EXPECT_EQ(w->GetState(), kStateCycleDelay);
    EXPECT_EQ(w->GetTransparentLevel(), 71);  // the step that wraps still draws the curve at 50
    Step(*w, 10);
    EXPECT_EQ(w->GetTransparentLevel(), 10);
    EXPECT_EQ(w->GetLoopsCount(), 1);
    Step(*w, 40);  // 100: the rest is over, the second blink starts
    EXPECT_EQ(w->GetState(), kStateRunning);
    EXPECT_FALSE(w->IsDead());
    Step(*w, 500);
    EXPECT_TRUE(w->IsDead()) << stopOnFirst;
    EXPECT_EQ(w->GetState(), kStateFinished);
    EXPECT_EQ(w->GetTransparentLevel(), stopOnFirst ? 10 : 40);
  }
}

TEST_F(ResourceWidgets, BlinkWaitsForItsStartDelay) {
  const auto w = Attach<TBlinkWidget>(
      R"(<widget type="blink_widget" firstperiod="200" secondperiod="300" start_transparentlevel="60")"
      R"( peak_transparentlevel="255" startdelaytime="1000"/>)");
  Step(*w, 999);
  EXPECT_EQ(w->GetTransparentLevel(), 60);
  EXPECT_EQ(w->GetState(), kStateStartDelay);
  Step(*w, 101);  // 1100 mod 1000: 100 into the blink, 60 + 195 * 100 / 200
  EXPECT_EQ(w->GetState(), kStateRunning);
  EXPECT_EQ(w->GetTransparentLevel(), 157);
}

}  // namespace
}  // namespace qv
