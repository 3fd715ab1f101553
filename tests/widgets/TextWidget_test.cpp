#include <gtest/gtest.h>

#include "core/Diagnostics.h"
#include "core/ProcessContext.h"
#include "storage/ClassRegistry.h"
#include "widgets/ResourceTestSupport.h"
#include "widgets/TextWidget.h"
#include "widgets/WidgetsTypes.h"

namespace qv {
namespace {

using test::TFakeScreen;
using test::TMemoryFont;
using test::TMemoryImage;
using test::TResourceEngine;
using test::WidgetFromXml;

constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, O = 0;

// The glyph atlas, 7 x 4: "A" 3 x 4 red at 0, "B" 2 x 4 green at 3, the
// space 1 x 4 empty at 5, "i" 1 x 2 blue at 6 with one pixel of leading and
// trailing.
Ref<TMemoryFont> SmallFont() {
  auto atlas = MakeRef<TSurface>(7, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 3; ++x) atlas->SetPixel(x, y, R);
    for (int x = 3; x < 5; ++x) atlas->SetPixel(x, y, G);
  }
  atlas->SetPixel(6, 0, B);
  atlas->SetPixel(6, 1, B);
  auto font = MakeRef<TMemoryFont>(atlas);
  font->AddGlyph(U'A', {0, 0, 3, 4});
  font->AddGlyph(U'B', {3, 0, 5, 4});
  font->AddGlyph(U' ', {5, 0, 6, 4});
  font->AddGlyph(U'i', {6, 0, 7, 2}, 1, 1);
  return font;
}

class TextWidgets : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterWidgetsTypes();
    engine->Add("font", SmallFont());
    engine->Add("picture", MakeRef<TMemoryImage>(MakeRef<TSurface>(1, 1)));
  }
  void TearDown() override {
    screen->DetachRoot();
    ProcessContext().textHook = nullptr;
    TClassRegistry::Instance().Reset();
  }
  // A text widget of the small font with the given attributes.
  Ref<TTextWidget> Text(const std::string& attributes) {
    Ref<IWidget> root =
        WidgetFromXml(R"(<widget type="text_widget" visible="yes" resourcename="font" )" + attributes + "/>");
    screen->SetRoot(root);
    Ref<TTextWidget> text = Query<TTextWidget>(root);
    EXPECT_TRUE(text) << attributes;
    return text;
  }
  // The rectangles of the visible symbols, in text order.
  static std::vector<TRect> Placed(const TTextWidget& w) {
    std::vector<TRect> out;
    for (const TSymbolInfo& s : w.GetSymbols())
      if (s.visible) out.push_back(s.rect);
    return out;
  }

  Ref<TResourceEngine> engine = MakeRef<TResourceEngine>();
  Ref<TFakeScreen> screen = MakeRef<TFakeScreen>(engine.get());
};

using Rects = std::vector<TRect>;

// --- one line -----------------------------------------------------------------------

TEST_F(TextWidgets, SingleLineIsAlignedBothWays) {
  EXPECT_EQ(Placed(*Text(R"(text="ABA" width="10" height="10")")),
            (Rects{{0, 0, 3, 4}, {3, 0, 5, 4}, {5, 0, 8, 4}}));
  EXPECT_EQ(Placed(*Text(R"(text="ABA" width="10" height="10" textalign="right")")),
            (Rects{{2, 0, 5, 4}, {5, 0, 7, 4}, {7, 0, 10, 4}}));
  // (10 - 8) div 2 across, (10 - 4) div 2 down.
  EXPECT_EQ(Placed(*Text(R"(text="ABA" width="10" height="10" textalign="center" textvertalign="middle")")),
            (Rects{{1, 3, 4, 7}, {4, 3, 6, 7}, {6, 3, 9, 7}}));
  EXPECT_EQ(Placed(*Text(R"(text="AB" width="10" height="10" textvertalign="bottom")")),
            (Rects{{0, 6, 3, 10}, {3, 6, 5, 10}}));
  // Alignment names are exact: "Right" is the left default.
  EXPECT_EQ(Placed(*Text(R"(text="AB" width="10" height="10" textalign="Right")")),
            (Rects{{0, 0, 3, 4}, {3, 0, 5, 4}}));
  // Leading and trailing do not count on one line.
  EXPECT_EQ(Placed(*Text(R"(text="ii" width="10" height="10")")), (Rects{{0, 0, 1, 2}, {1, 0, 2, 2}}));
}

TEST_F(TextWidgets, SingleLineShowsOnlyTheCharactersThatFitEntirely) {
  const auto w = Text(R"(text="ABAB" width="7" height="4")");
  EXPECT_EQ(Placed(*w), (Rects{{0, 0, 3, 4}, {3, 0, 5, 4}}));  // the second "A" would end at 8
  const std::vector<TSymbolInfo>& s = w->GetSymbols();
  ASSERT_EQ(s.size(), 4u);
  EXPECT_FALSE(s[2].visible);
  EXPECT_FALSE(s[3].visible);  // "B" would fit at 5..7, but nothing shows after an overflow
  EXPECT_EQ(w->GetTextBounds(), (TRect{0, 0, 5, 4}));
  EXPECT_TRUE(Placed(*Text(R"(text="AB" height="4")")).empty());  // width 0 shows nothing
}

TEST_F(TextWidgets, FixedWidthCentresEachGlyphInItsCell) {
  EXPECT_EQ(Placed(*Text(R"(text="Ai" width="10" height="4" fixedwidth="4" usefixedwidth="yes")")),
            (Rects{{0, 0, 3, 4}, {5, 0, 6, 2}}));
  // Forced off at load when the fixed width is 0.
  const auto w = Text(R"(text="Ai" width="10" height="4" usefixedwidth="yes")");
  EXPECT_EQ(Placed(*w), (Rects{{0, 0, 3, 4}, {3, 0, 4, 2}}));
  EXPECT_FALSE(VarToBool(w->GetPropertyValue("usefixedwidth")));
  EXPECT_EQ(w->TextWidth("ABZ"), 5);  // "Z" is not in the font
  EXPECT_EQ(w->TextHeight("i"), 2);
  EXPECT_EQ(w->TextHeight("Ai"), 4);
  EXPECT_TRUE(w->SetPropertyValue("fixedwidth", TVariant{4LL}));
  EXPECT_TRUE(w->SetPropertyValue("usefixedwidth", TVariant{true}));
  EXPECT_EQ(w->TextWidth("ABZ"), 8);
  EXPECT_EQ(Placed(*w), (Rects{{0, 0, 3, 4}, {5, 0, 6, 2}}));  // relaid out by the writes
}

TEST_F(TextWidgets, TextDrawsItsGlyphsFromTheCachedSurface) {
  const auto w = Text(R"(text="AB" width="7" height="4")");
  auto target = MakeRef<TSurface>(7, 1);
  w->Draw(target.get(), 1, 0);
  EXPECT_EQ((std::vector<uint32_t>{target->GetPixel(0, 0), target->GetPixel(1, 0), target->GetPixel(3, 0),
                                   target->GetPixel(4, 0), target->GetPixel(5, 0), target->GetPixel(6, 0)}),
            (std::vector<uint32_t>{O, R, R, G, G, O}));
  EXPECT_EQ(engine->surfacesMade, 1);
  w->Draw(target.get(), 1, 0);
  EXPECT_EQ(engine->surfacesMade, 1);  // made once
  ASSERT_TRUE(w->GetTextSurface());
  EXPECT_EQ(w->GetTextSurface()->GetWidth(), 5);
  EXPECT_EQ(w->GetTextSurface()->GetHeight(), 4);

  // "fillcolor" paints the colour through the glyphs.
  EXPECT_TRUE(w->SetPropertyValue("drawmode", TVariant{1LL}));
  EXPECT_TRUE(w->SetPropertyValue("fillcolor", TVariant{static_cast<long long>(int32_t(B))}));
  target->Clear();
  w->Draw(target.get(), 0, 0);
  EXPECT_EQ((std::vector<uint32_t>{target->GetPixel(0, 0), target->GetPixel(4, 0), target->GetPixel(5, 0)}),
            (std::vector<uint32_t>{B, B, O}));

  // A longer text enlarges the surface and draws the new glyphs.
  EXPECT_TRUE(w->SetPropertyValue("drawmode", TVariant{0LL}));
  EXPECT_TRUE(w->SetPropertyValue("width", TVariant{8LL}));
  EXPECT_TRUE(w->SetPropertyValue("text", TVariant{std::string("BAB")}));
  target->Clear();
  w->Draw(target.get(), 0, 0);
  EXPECT_EQ((std::vector<uint32_t>{target->GetPixel(1, 0), target->GetPixel(2, 0), target->GetPixel(5, 0)}),
            (std::vector<uint32_t>{G, R, G}));
  EXPECT_EQ(w->GetTextSurface()->GetWidth(), 7);
}

TEST_F(TextWidgets, TheRectangleHoldsTextOutsideTheWidget) {
  const auto w =
      Text(R"(text="AB" width="5" height="2" textvertalign="bottom" anchor_left="10" anchor_top="20")");
  EXPECT_EQ(w->GetTextBounds(), (TRect{0, -2, 5, 2}));
  EXPECT_EQ(w->GetRect(), (TRect{10, 18, 15, 22}));
  TRect r;
  ASSERT_TRUE(w->SymbolRect(2, r));
  EXPECT_EQ(r, (TRect{13, 18, 15, 22}));
  EXPECT_FALSE(w->SymbolRect(0, r));
  EXPECT_FALSE(w->SymbolRect(3, r));
}

// --- several lines -------------------------------------------------------------------

TEST_F(TextWidgets, MultiLineBreaksAtTheLastSpaceAndHidesIt) {
  // A B _ B A: the second "A" would end at 11 > 8, so "BA" moves down.
  const auto w = Text(R"(text="AB BA" width="8" height="20" multiline="yes")");
  EXPECT_EQ(Placed(*w), (Rects{{0, 0, 3, 4}, {3, 0, 5, 4}, {0, 4, 2, 8}, {2, 4, 5, 8}}));
  EXPECT_FALSE(w->GetSymbols()[2].visible);
  // Each line is aligned on its own width (5): (8 - 5) div 2 = 1; the block
  // of 4 + 4 sits at the bottom of 20.
  EXPECT_EQ(
      Placed(*Text(
          R"(text="AB BA" width="8" height="20" multiline="yes" textalign="center" textvertalign="bottom")")),
      (Rects{{1, 12, 4, 16}, {4, 12, 6, 16}, {1, 16, 3, 20}, {3, 16, 6, 20}}));
  EXPECT_EQ(
      Placed(*Text(
          R"(text="AB BA" width="8" height="20" multiline="yes" textalign="right" textlineheight="6")")),
      (Rects{{3, 0, 6, 4}, {6, 0, 8, 4}, {3, 6, 5, 10}, {5, 6, 8, 10}}));
  // middle: (20 - (4 + 6)) div 2 = 5.
  EXPECT_EQ(
      Placed(*Text(
          R"(text="AB BA" width="8" height="20" multiline="yes" textlineheight="6" textvertalign="middle")")),
      (Rects{{0, 5, 3, 9}, {3, 5, 5, 9}, {0, 11, 2, 15}, {2, 11, 5, 15}}));
}

TEST_F(TextWidgets, MultiLineBreaksAWordWiderThanTheWidgetBetweenCharacters) {
  EXPECT_EQ(Placed(*Text(R"(text="ABA" width="4" height="20" multiline="yes")")),
            (Rects{{0, 0, 3, 4}, {0, 4, 2, 8}, {0, 8, 3, 12}}));
  // A line keeps its first symbol even when that alone is too wide.
  EXPECT_EQ(Placed(*Text(R"(text="AA" width="2" height="20" multiline="yes")")),
            (Rects{{0, 0, 3, 4}, {0, 4, 3, 8}}));
  // Lines stop once the next one would start below the widget.
  const auto cut = Text(R"(text="ABA" width="4" height="5" multiline="yes")");
  EXPECT_EQ(Placed(*cut), (Rects{{0, 0, 3, 4}, {0, 4, 2, 8}}));
  EXPECT_FALSE(cut->GetSymbols()[2].visible);
}

TEST_F(TextWidgets, MultiLineUsesLeadingTrailingAndLineFeeds) {
  EXPECT_EQ(Placed(*Text(R"(text="ii" width="10" height="10" multiline="yes")")),
            (Rects{{1, 0, 2, 2}, {4, 0, 5, 2}}));
  TDiagnosticsCollector diagnostics;
  EXPECT_EQ(Placed(*Text("text=\"A&#10;B\" width=\"10\" height=\"10\" multiline=\"yes\"")),
            (Rects{{0, 0, 3, 4}, {0, 4, 2, 8}}));
  EXPECT_TRUE(diagnostics.Errors().empty());  // a line feed is no missing character
  // Fixed cells on several lines.
  EXPECT_EQ(Placed(*Text(
                R"(text="iA Ai" width="9" height="10" multiline="yes" fixedwidth="4" usefixedwidth="yes")")),
            (Rects{{1, 0, 2, 2}, {4, 0, 7, 4}, {0, 4, 3, 8}, {5, 4, 6, 6}}));
}

// --- text, fonts and reports -------------------------------------------------------------

TEST_F(TextWidgets, TextIsReadThroughTheLanguageMacrosAndNotWritten) {
  ProcessContext().textHook = [](const std::string& s) { return s == "%two%" ? std::string("AB") : s; };
  const auto w = Text(R"(text="%two%" width="10" height="4")");
  EXPECT_EQ(w->GetText(), "AB");
  EXPECT_EQ(VarToString(w->GetPropertyValue("text")), "AB");
  EXPECT_TRUE(w->SetPropertyValue("text", TVariant{std::string("%two%")}));
  EXPECT_EQ(Placed(*w).size(), 2u);
  EXPECT_TRUE(w->SetPropertyValue("text_utf8", TVariant{std::string("A\xC3\xA9")}));  // "Aé"
  ASSERT_EQ(w->GetCodes(), std::u32string(U"A\u00E9"));
  EXPECT_EQ(VarToString(w->GetPropertyValue("text_utf8")), "A\xC3\xA9");

  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent&>(*w).Save(out);
  const std::string xml = AsRoot(out)->SaveToText();
  EXPECT_EQ(xml.find("text=\""), std::string::npos) << xml;
  for (const char* key :
       {"fixedwidth=\"0\"", "usefixedwidth=\"no\"", "textalign=\"left\"", "multiline=\"no\"",
        "textlineheight=\"0\"", "textvertalign=\"top\"", "resourcename=\"font\""})
    EXPECT_NE(xml.find(key), std::string::npos) << key << " in " << xml;
}

TEST_F(TextWidgets, MissingFontsAndCharactersAreReportedOnce) {
  TDiagnosticsCollector diagnostics;
  const auto w = Text(R"(text="AZAZ" width="10" height="4")");
  EXPECT_EQ(Placed(*w), (Rects{{0, 0, 3, 4}, {3, 0, 6, 4}}));  // "Z" takes no room
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_TRUE(diagnostics.Has("font \"font\" has no character 90"));
  w->Invalidate();
  EXPECT_EQ(diagnostics.Errors().size(), 1u);

  diagnostics.Clear();
  EXPECT_TRUE(w->SetPropertyValue("resourcename", TVariant{std::string("absent")}));
  EXPECT_TRUE(diagnostics.Has("no resource named \"absent\""));
  EXPECT_EQ(Placed(*w).size(), 2u);  // the previous layout stays
  auto target = MakeRef<TSurface>(4, 4);
  w->Draw(target.get(), 0, 0);  // nothing to draw with
  EXPECT_EQ(target->GetPixel(0, 0), O);
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_TRUE(w->SetPropertyValue("resourcename", TVariant{std::string("picture")}));
  EXPECT_TRUE(diagnostics.Has("resource \"picture\" is not a font"));

  // A font registered later is found by the next relayout.
  engine->Add("absent", SmallFont());
  EXPECT_TRUE(w->SetPropertyValue("resourcename", TVariant{std::string("absent")}));
  EXPECT_EQ(diagnostics.Errors().size(), 3u);
  EXPECT_TRUE(diagnostics.Has("font \"absent\" has no character 90"));
}

}  // namespace
}  // namespace qv
