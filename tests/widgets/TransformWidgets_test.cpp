#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/Diagnostics.h"
#include "widgets/ResourceTestSupport.h"
#include "widgets/RotateWidget.h"
#include "widgets/SurfaceWidget.h"
#include "widgets/TransformWidget.h"
#include "widgets/WidgetTestSupport.h"

namespace qv {
namespace {

using test::WidgetFromXml;

// A transparent background: whatever the buffer puts there is copied exactly.
constexpr uint32_t kBack = 0x00102030u;

// Nothing painted there (the background, or an empty pixel of a buffer).
bool Empty(uint32_t pixel) {
  return (pixel >> 24) == 0;
}

// A child whose pixels differ: blue = x, green = y, opaque.
Ref<ISurface> Numbered(int w, int h) {
  auto s = MakeRef<TSurface>(w, h, true);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s->PixelAt(x, y) = 0xFF000000u | (uint32_t(y + 1) << 8) | uint32_t(x + 1);
  return s;
}

// A leaf that counts how often it is drawn.
class TCountingWidget : public TSingleWidget {
public:
  void Draw(ISurface* target, int x, int y) override {
    ++draws;
    target->FillColor(color, nullptr, kBlendNormal, 255, TRect::FromSize(x, y, width_, height_), {});
  }
  int draws = 0;
  uint32_t color = 0xFFFF0000u;

protected:
  ~TCountingWidget() override = default;
};

class TransformWidgets : public test::TWidgetTest {
protected:
  // The transform widget from XML with a surface child showing `picture`.
  template <class T>
  Ref<T> WithPicture(const std::string& xml, const Ref<ISurface>& picture) {
    Ref<T> w = Query<T>(Attach(xml));
    EXPECT_TRUE(w) << xml;
    auto child = Query<TSurfaceWidget>(WidgetFromXml(R"(<widget type="surface_widget" visible="yes"/>)"));
    child->SetSurface(picture);
    w->SetWidget(child);
    return w;
  }
  // The screen after one frame: the dirty pass, then the tree drawn.
  Ref<TSurface> Frame(IWidget& w, int width = 24, int height = 24) {
    w.Advance(0);
    w.UpdateDirtyRegion(false, false);
    auto target = MakeRef<TSurface>(width, height, true);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) target->PixelAt(x, y) = kBack;
    w.Draw(target.get(), RoundEven(w.GetAnchorLeft()), RoundEven(w.GetAnchorTop()));
    return target;
  }
};

TEST_F(TransformWidgets, QuarterTurnsAtScaleOneAreExact) {
  // A 4 x 2 picture turned about its middle (2, 1), which sits at (10, 10).
  const Ref<ISurface> picture = Numbered(4, 2);
  for (const int angle : {90, 180, 270, -90}) {
    auto w = WithPicture<TRotateWidget>(
        "<widget type='rotate_widget' visible='yes' anchor_left='10' anchor_top='10' centerx='2' centery='1' "
        "smooth='yes' angle='" +
            std::to_string(angle) + "'/>",
        picture);
    const Ref<TSurface> screen = Frame(*w);
    // Pixel centres relative to the turning centre, turned clockwise on
    // screen (y down) by the angle.
    const int turns = ((angle / 90) % 4 + 4) % 4;
    int exact = 0;
    for (int sy = 0; sy < 2; ++sy) {
      for (int sx = 0; sx < 4; ++sx) {
        double px = sx + 0.5 - 2, py = sy + 0.5 - 1;
        for (int t = 0; t < turns; ++t) {
          const double q = px;
          px = -py;
          py = q;
        }
        const int X = static_cast<int>(std::floor(10 + px)), Y = static_cast<int>(std::floor(10 + py));
        EXPECT_EQ(screen->GetPixel(X, Y), picture->GetPixel(sx, sy))
            << angle << " degrees: (" << sx << "," << sy << ") -> (" << X << "," << Y << ")";
        exact += screen->GetPixel(X, Y) == picture->GetPixel(sx, sy);
      }
    }
    EXPECT_EQ(exact, 8) << angle;
    // Everything else stays background: no smoothing anywhere.
    int other = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) other += !Empty(screen->GetPixel(x, y));
    EXPECT_EQ(other, 8) << angle;
  }
}

TEST_F(TransformWidgets, RotateGeometryKeepsTheCentreAtTheAnchor) {
  // Default centre (0, 0): the child's top-left corner is the turning point.
  auto w = WithPicture<TRotateWidget>(
      "<widget type='rotate_widget' visible='yes' anchor_left='20' anchor_top='20' angle='90'/>",
      Numbered(4, 2));
  const auto g = w->Geometry();
  EXPECT_DOUBLE_EQ(g.radius, std::sqrt(20.0) / 2);
  EXPECT_DOUBLE_EQ(g.pivotX, 1.0);  // (-2, -1) turned a quarter clockwise
  EXPECT_DOUBLE_EQ(g.pivotY, -2.0);
  EXPECT_EQ(w->GetWidth(), 5);
  EXPECT_EQ(w->GetRect(), (TRect{17, 20, 22, 25}));
  const Ref<TSurface> screen = Frame(*w, 40, 40);
  // The corner pixel (0, 0) turns about its own corner into (19, 20).
  EXPECT_EQ(screen->GetPixel(19, 20), 0xFF000101u);
  EXPECT_EQ(screen->GetPixel(19, 23), 0xFF000104u);
  EXPECT_EQ(screen->GetPixel(18, 20), 0xFF000201u);
  // Angle 0 at zoom 2: the corner stays at the anchor.
  auto z = WithPicture<TRotateWidget>(
      "<widget type='rotate_widget' visible='yes' anchor_left='20' anchor_top='20' zoom='2'/>",
      Numbered(4, 2));
  const Ref<TSurface> big = Frame(*z, 40, 40);
  EXPECT_EQ(big->GetPixel(20, 20), 0xFF000101u);
  EXPECT_EQ(big->GetPixel(27, 23), 0xFF000204u);
  EXPECT_TRUE(Empty(big->GetPixel(19, 20)));
  EXPECT_TRUE(Empty(big->GetPixel(28, 23)));
}

TEST_F(TransformWidgets, TimedRotationFollowsTheClock) {
  auto w = WithPicture<TTimedRotateWidget>(
      "<widget type='rotate_widget_timed' visible='yes' rotate='yes' rotationtime='1000' startangle='30'/>",
      Numbered(4, 4));
  EXPECT_EQ(w->GetAngle(), 30.0) << "the angle starts at startangle";
  w->Advance(250);
  EXPECT_DOUBLE_EQ(w->GetAngle(), 30.0 - 90.0);
  w->Advance(750);
  EXPECT_DOUBLE_EQ(w->GetAngle(), 30.0 - 360.0);
  // Off: the angle stays; before the clock starts nothing turns.
  auto still = WithPicture<TTimedRotateWidget>(
      "<widget type='rotate_widget_timed' visible='yes' rotationtime='1000' currenttime='-100' "
      "rotate='yes'/>",
      Numbered(2, 2));
  still->Advance(50);
  EXPECT_EQ(still->GetAngle(), 0.0);
  still->Advance(300);
  EXPECT_DOUBLE_EQ(still->GetAngle(), -90.0);
  // A turn of no time is reported and takes the default.
  TDiagnosticsCollector errors;
  auto zero = Query<TTimedRotateWidget>(
      WidgetFromXml("<widget type='rotate_widget_timed' rotationtime='0' rotate='yes' startangle='0'/>"));
  ASSERT_EQ(errors.Errors().size(), 1u);
  zero->Advance(250);
  EXPECT_DOUBLE_EQ(zero->GetAngle(), -90.0);
  // Saved keys: all three, always.
  auto node = NewStorage("widget");
  Query<IPersistent>(w)->Save(node);
  EXPECT_EQ(node->ReadAttr("rotationtime", ""), "1000");
  EXPECT_EQ(node->ReadAttr("rotate", ""), "yes");
  EXPECT_EQ(node->ReadAttr("startangle", ""), "30");
}

TEST_F(TransformWidgets, ZoomFactorsAndCentre) {
  auto z = WithPicture<TZoomWidget>("<widget type='zoom_widget' visible='yes' zoom='0'/>", Numbered(4, 2));
  EXPECT_EQ(z->GetZoomX(), 0.01f);
  EXPECT_EQ(z->GetZoomY(), 0.01f);
  auto y = WithPicture<TZoomWidget>("<widget type='zoom_widget' visible='yes' zoom='2' zoomy='3'/>",
                                    Numbered(4, 2));
  EXPECT_EQ(y->GetZoomX(), 2.0f) << "zoomx defaults to zoom";
  EXPECT_EQ(y->GetZoomY(), 3.0f);
  EXPECT_EQ(y->GetWidth(), 9);
  EXPECT_EQ(y->GetHeight(), 7);
  // Zoom 2 about the centre (1, 1) at (10, 10): the child's pixel (1, 1)
  // covers (10..11, 10..11).
  auto c = WithPicture<TZoomWidget>(
      "<widget type='zoom_widget' visible='yes' anchor_left='10' anchor_top='10' zoom='2' centerx='1' "
      "centery='1'/>",
      Numbered(4, 2));
  EXPECT_EQ(c->GetRect(), (TRect{8, 8, 17, 13}));
  const Ref<TSurface> screen = Frame(*c);
  EXPECT_EQ(screen->GetPixel(10, 10), 0xFF000202u);
  EXPECT_EQ(screen->GetPixel(11, 11), 0xFF000202u);
  EXPECT_EQ(screen->GetPixel(8, 8), 0xFF000101u);
  EXPECT_EQ(screen->GetPixel(15, 11), 0xFF000204u);
  EXPECT_TRUE(Empty(screen->GetPixel(7, 8)));
  // A new factor drops the buffer; the widget repaints.
  c->SetZoomX(1);
  EXPECT_EQ(c->GetBuffer(), nullptr);
  EXPECT_TRUE(c->IsGeometryChanged());
}

TEST_F(TransformWidgets, SmoothMoveKeepsWholePixelsInTheAnchor) {
  auto w = WithPicture<TSmoothMoveWidget>(
      "<widget type='smooth_move_widget' visible='yes' sampling_step='0.5' anchor_left='10.7' "
      "anchor_top='3.3'/>",
      Numbered(2, 2));
  EXPECT_EQ(w->GetAnchorLeft(), 10.0);
  EXPECT_EQ(w->GetFracX(), 0.5);
  EXPECT_EQ(w->GetAnchorTop(), 3.0);
  EXPECT_EQ(w->GetFracY(), 0.0);
  EXPECT_EQ(w->GetWidth(), 3) << "the child's width plus 1";
  w->SetAnchorLeft(10.3);
  EXPECT_EQ(w->GetFracX(), 0.0);
  EXPECT_EQ(w->GetAnchorLeft(), 10.0);
  // The step is clamped to 0..1; 0 keeps the exact fraction.
  w->SetSamplingStep(7);
  EXPECT_EQ(w->GetSamplingStep(), 1.0);
  w->SetSamplingStep(0);
  w->SetAnchorLeft(4.75);
  EXPECT_EQ(w->GetFracX(), 0.75);
  // Half a pixel to the right: each colour between its two neighbours.
  w->SetAnchorLeft(0.5);
  w->SetAnchorTop(0);
  const Ref<TSurface> screen = Frame(*w, 4, 2);
  EXPECT_EQ(screen->GetPixel(1, 0) & 0xFF, 1u) << "halfway between blue 1 and 2 rounds down";
}

TEST_F(TransformWidgets, TheBufferIsRebuiltOnlyOnChange) {
  Ref<TScrollAreaWidget> w = Query<TScrollAreaWidget>(
      Attach("<widget type='scrollarea_widget' visible='yes' width='4' height='3'/>"));
  auto child = MakeRef<TCountingWidget>();
  child->SetVisible(true);
  child->SetWidth(6);
  child->SetHeight(6);
  w->SetWidget(child);
  Frame(*w);
  EXPECT_EQ(child->draws, 1);
  Frame(*w);
  Frame(*w);
  EXPECT_EQ(child->draws, 1) << "a still child is drawn once";
  child->Invalidate();
  Frame(*w);
  EXPECT_EQ(child->draws, 2) << "the child reported a change";
  w->SetPropertyValue("shiftleft", TVariant(int64_t{2}));
  Frame(*w);
  EXPECT_EQ(child->draws, 3) << "a parameter changed";
  w->SetPropertyValue("need_to_repaint", TVariant(true));
  Frame(*w);
  EXPECT_EQ(child->draws, 4);
  Frame(*w);
  EXPECT_EQ(child->draws, 4);
}

TEST_F(TransformWidgets, ATurnReusesTheChildsPicture) {
  Ref<TRotateWidget> w = Query<TRotateWidget>(Attach("<widget type='rotate_widget' visible='yes'/>"));
  auto child = MakeRef<TCountingWidget>();
  child->SetVisible(true);
  child->SetWidth(4);
  child->SetHeight(4);
  w->SetWidget(child);
  Frame(*w);
  EXPECT_EQ(child->draws, 1);
  w->SetAngle(30);
  Frame(*w);
  EXPECT_EQ(child->draws, 1) << "a new angle turns the picture it has";
  child->Invalidate();
  Frame(*w);
  EXPECT_EQ(child->draws, 2) << "a child that reported a change is drawn again";
  child->SetWidth(5);
  Frame(*w);
  EXPECT_EQ(child->draws, 3);
}

TEST_F(TransformWidgets, ScrollAreaShowsAWindowAndHitsOnlyOpaquePixels) {
  auto w = WithPicture<TScrollAreaWidget>(
      "<widget type='scrollarea_widget' visible='yes' mousestop='yes' width='2' height='1' shiftleft='1' "
      "shifttop='1'/>",
      Numbered(4, 2));
  const Ref<TSurface> screen = Frame(*w, 4, 2);
  EXPECT_EQ(screen->GetPixel(0, 0), 0xFF000202u);
  EXPECT_EQ(screen->GetPixel(1, 0), 0xFF000203u);
  EXPECT_TRUE(Empty(screen->GetPixel(2, 0)));
  EXPECT_TRUE(Empty(screen->GetPixel(0, 1)));
  // Hit testing reads the buffer: an empty pixel misses.
  auto hole = MakeRef<TSurface>(2, 1, true);
  hole->PixelAt(0, 0) = 0xFF00FF00u;
  auto h = WithPicture<TScrollAreaWidget>(
      "<widget type='scrollarea_widget' visible='yes' mousestop='yes' width='2' height='1'/>", hole);
  EXPECT_TRUE(h->ContainsPoint({0, 0}, false));
  EXPECT_FALSE(h->ContainsPoint({1, 0}, false));
  EXPECT_EQ(h->WidgetAtPos({1, 0}), nullptr);
  EXPECT_NE(h->WidgetAtPos({0, 0}), nullptr);
}

TEST_F(TransformWidgets, CutSectorAndContour) {
  // A quarter from 0 to 90 degrees (right, then down) seen from (1, 1).
  auto cut = WithPicture<TCutSectorWidget>(
      "<widget type='cutsector_widget' visible='yes' centerx='1' centery='1' startangle='0' endangle='90'/>",
      Numbered(3, 3));
  const Ref<TSurface> screen = Frame(*cut, 3, 3);
  EXPECT_TRUE(Empty(screen->GetPixel(2, 1))) << "0 degrees is in";
  EXPECT_TRUE(Empty(screen->GetPixel(2, 2)));
  EXPECT_EQ(screen->GetPixel(1, 2), 0xFF000302u) << "90 degrees is out";
  EXPECT_EQ(screen->GetPixel(0, 0), 0xFF000101u);
  EXPECT_TRUE(Empty(screen->GetPixel(1, 1))) << "the centre's own direction is 0";
  EXPECT_TRUE(cut->InSector(-360));
  EXPECT_FALSE(cut->InSector(-10));
  // A sector crossing 0: from 350 to 370.
  auto wide = Query<TCutSectorWidget>(
      WidgetFromXml("<widget type='cutsector_widget' startangle='350' endangle='370'/>"));
  EXPECT_TRUE(wide->InSector(5));
  EXPECT_TRUE(wide->InSector(-5));
  EXPECT_FALSE(wide->InSector(20));

  // A one-pixel red line round a single opaque pixel.
  auto dot = MakeRef<TSurface>(1, 1, true);
  dot->PixelAt(0, 0) = 0xFF00FF00u;
  auto contour = WithPicture<TContourWidget>(
      "<widget type='contour_widget' visible='yes' anchor_left='1' anchor_top='1' contourthickness='1' "
      "contourcolor='$FFFF0000'/>",
      dot);
  EXPECT_EQ(contour->GetRect(), (TRect{0, 0, 3, 3}));
  const Ref<TSurface> ring = Frame(*contour, 3, 3);
  EXPECT_EQ(ring->GetPixel(1, 1), 0xFF00FF00u);
  EXPECT_EQ(ring->GetPixel(1, 0), 0xFFFF0000u);
  EXPECT_EQ(ring->GetPixel(2, 1), 0xFFFF0000u);
  EXPECT_TRUE(Empty(ring->GetPixel(0, 0))) << "a round pen leaves the corners";
}

TEST_F(TransformWidgets, MaskedKeepsThePixelsUnderTheMask) {
  auto resources = MakeRef<test::TResourceEngine>();
  auto maskScreen = MakeRef<test::TFakeScreen>(resources.get());
  auto mask = MakeRef<TSurface>(3, 1, true);
  mask->PixelAt(0, 0) = 0xFF000000u;
  mask->PixelAt(2, 0) = 0x01000000u;  // any alpha but 0 lets the pixel through
  resources->Add("holes", MakeRef<test::TMemoryImage>(mask));
  const Ref<IWidget> root =
      WidgetFromXml("<widget type='masked_widget' visible='yes' resourcename='holes'/>");
  auto w = Query<TMaskedSurfaceWidget>(root);
  auto child = Query<TSurfaceWidget>(WidgetFromXml(R"(<widget type="surface_widget" visible="yes"/>)"));
  child->SetSurface(Numbered(3, 1));
  w->SetWidget(child);
  maskScreen->SetRoot(root);
  EXPECT_EQ(w->GetWidth(), 3);
  const Ref<TSurface> screen = Frame(*w, 4, 1);
  EXPECT_EQ(screen->GetPixel(0, 0), 0xFF000101u);
  EXPECT_TRUE(Empty(screen->GetPixel(1, 0)));
  EXPECT_EQ(screen->GetPixel(2, 0), 0xFF000103u);
  // A mask that is not there is reported; nothing is shown.
  TDiagnosticsCollector errors;
  w->SetPropertyValue("resourcename", TVariant(std::string("gone")));
  const Ref<TSurface> none = Frame(*w, 4, 1);
  EXPECT_TRUE(Empty(none->GetPixel(0, 0)));
  EXPECT_EQ(errors.Errors().size(), 1u);
  maskScreen->DetachRoot();
}

}  // namespace
}  // namespace qv
