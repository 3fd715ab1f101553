// The bundled content read through the game's own resource code: every
// picture decodes as the game accepts it, and the bitmap fonts' symbol
// tables fit their atlases.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "graphics/ImageCodec.h"
#include "resources/FontResource.h"
#include "resources/ResourceFile.h"
#include "resources/ResourcesTypes.h"
#include "storage/ClassRegistry.h"
#include "storage/DataPaths.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

fs::path ContentDir() {
  const char* source = std::getenv("QV_SOURCE_DIR");
  if (source) return fs::path(source) / "content";
  return fs::path(__FILE__).parent_path().parent_path().parent_path() / "content";
}

class BundledContentTest : public ::testing::Test {
protected:
  void SetUp() override {
    // The other resource tests of this program may have registered them.
    if (!TClassRegistry::Instance().Find("FontResource")) RegisterResourcesTypes();
    ResetDataPathCache();
    ASSERT_TRUE(fs::is_directory(ContentDir() / "data")) << ContentDir();
  }
  void TearDown() override { ResetDataPathCache(); }
};

// Alpha of the pixel, the surface keeps ARGB.
uint32_t Alpha(uint32_t pixel) {
  return pixel >> 24;
}

TEST_F(BundledContentTest, EveryPictureDecodesAsTrueColour) {
  int count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(ContentDir() / "data")) {
    if (entry.path().extension() != ".png") continue;
    const std::string rel = fs::relative(entry.path(), ContentDir()).generic_string();
    SCOPED_TRACE(rel);
    Ref<TSurface> s = DecodePng(test::ReadFile(entry.path().string()));
    ASSERT_TRUE(s) << "the game refuses palette, grey and 16-bit pictures";
    EXPECT_GT(s->GetWidth(), 0);
    ++count;
  }
  EXPECT_GE(count, 90) << "the board, shell and font pictures";
  // Flower codes: tens the colour, units the shape, every pair drawn.
  for (int colour = 1; colour <= 8; ++colour)
    for (int shape = 1; shape <= 8; ++shape)
      EXPECT_TRUE(fs::exists(ContentDir() / "data/img/board" /
                             ("flower_" + std::to_string(colour) + std::to_string(shape) + ".png")))
          << colour << shape;
  // A cell picture is transparent at its corners (outside the hexagon)
  // and opaque in the middle.
  Ref<TSurface> cell = DecodePng(test::ReadFile((ContentDir() / "data/img/board/cell_plain.png").string()));
  ASSERT_TRUE(cell);
  EXPECT_EQ(cell->GetWidth(), 72);
  EXPECT_EQ(cell->GetHeight(), 62);
  EXPECT_TRUE(cell->GetHasAlpha());
  EXPECT_EQ(Alpha(cell->GetPixel(0, 0)), 0u);
  EXPECT_EQ(Alpha(cell->GetPixel(71, 61)), 0u);
  EXPECT_GT(Alpha(cell->GetPixel(36, 31)), 200u);
  // The board places every picture by its centre: what is drawn sits in
  // the middle of the canvas (alpha-weighted centre within a pixel).
  for (const char* name :
       {"cell_plain", "mat", "selected", "lock_triple", "contour_4", "explosion_5", "glow"}) {
    SCOPED_TRACE(name);
    Ref<TSurface> p =
        DecodePng(test::ReadFile((ContentDir() / "data/img/board" / (std::string(name) + ".png")).string()));
    ASSERT_TRUE(p);
    double sum = 0, sx = 0, sy = 0;
    for (int y = 0; y < p->GetHeight(); ++y)
      for (int x = 0; x < p->GetWidth(); ++x) {
        const double a = Alpha(p->GetPixel(x, y));
        sum += a;
        sx += a * (x + 0.5);
        sy += a * (y + 0.5);
      }
    ASSERT_GT(sum, 0);
    EXPECT_NEAR(sx / sum, p->GetWidth() / 2.0, 1.0);
    EXPECT_NEAR(sy / sum, p->GetHeight() / 2.0, 1.0);
  }
}

TEST_F(BundledContentTest, FontsLoadThroughTheResourceList) {
  test::ScopedCurrentDir cwd{ContentDir()};
  const Ref<TResourceCollection> registryRef = MakeRef<TResourceCollection>();
  TResourceCollection& registry = *registryRef;
  const Ref<TSilentResourceOwner> ownerRef = MakeRef<TSilentResourceOwner>(&registry);
  TSilentResourceOwner& owner = *ownerRef;
  const int added = LoadResourceList("data\\fonts\\fonts.xml", "fonts", &owner, registry);
  ASSERT_EQ(added, 11);
  for (const char* name :
       {"font_title", "font_button", "font_body", "font_body_plain", "font_score", "font_combo1",
        "font_combo2", "font_combo3", "font_combo4", "font_move_score", "font_hint"}) {
    SCOPED_TRACE(name);
    auto font = Query<TFontResource>(registry.FindResource(name));
    ASSERT_TRUE(font);
    Ref<ISurface> atlas = font->GetSurface();
    ASSERT_TRUE(atlas) << "the atlas decodes";
    EXPECT_TRUE(atlas->GetHasAlpha());
    // Latin-1: printable ASCII and 160..255, nothing for control codes.
    std::set<int> heights;
    for (int code = 32; code < 256; ++code) {
      if (code >= 127 && code < 160) {
        EXPECT_FALSE(font->GetSymbol(code)) << code;
        continue;
      }
      Ref<ISymbol> symbol = font->GetSymbol(code);
      ASSERT_TRUE(symbol) << code;
      const TRect r = symbol->GetRect();
      EXPECT_GE(r.left, 0);
      EXPECT_GE(r.top, 0);
      EXPECT_LE(r.right, atlas->GetWidth()) << code;
      EXPECT_LE(r.bottom, atlas->GetHeight()) << code;
      heights.insert(symbol->GetHeight());
    }
    // One line height: the layout places glyphs at their tops, so every
    // glyph carries the whole line and the baseline sits on one row.
    EXPECT_EQ(heights.size(), 1u);
    EXPECT_EQ(font->GetFontHeight(), *heights.begin());
    // The space is blank; a letter has ink; a wide letter is wider than a narrow one.
    auto inked = [&](int code) {
      const TRect r = font->GetSymbol(code)->GetRect();
      int ink = 0;
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) ink += Alpha(atlas->GetPixel(x, y)) > 128;
      return ink;
    };
    EXPECT_EQ(inked(' '), 0);
    EXPECT_GT(inked('A'), 10);
    EXPECT_GT(inked(0xE9), 10) << "e acute";
    EXPECT_GT(font->GetSymbol('W')->GetWidth(), font->GetSymbol('i')->GetWidth());
  }
}

TEST_F(BundledContentTest, MediaListsNameEveryFileAndThePicturesDecode) {
  test::ScopedCurrentDir cwd{ContentDir()};
  auto files = [](const char* folder, const char* ext) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(ContentDir() / "data" / folder))
      n += e.path().extension() == ext;
    return n;
  };
  const Ref<TResourceCollection> registryRef = MakeRef<TResourceCollection>();
  TResourceCollection& registry = *registryRef;
  const Ref<TSilentResourceOwner> ownerRef = MakeRef<TSilentResourceOwner>(&registry);
  TSilentResourceOwner& owner = *ownerRef;
  EXPECT_EQ(LoadResourceList("data\\res\\board.xml", "board", &owner, registry), files("img/board", ".png"));
  EXPECT_EQ(LoadResourceList("data\\res\\ui.xml", "ui", &owner, registry), files("img/ui", ".png"));
  for (int i = 0; i < registry.Count(); ++i) {
    auto image = Query<IImageResource>(registry.ResourceAt(i));
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->GetSurface()) << registry.ResourceAt(i)->GetName();
  }
  auto flower = Query<IImageResource>(registry.FindResource("board_flower_57"));
  ASSERT_TRUE(flower);
  EXPECT_EQ(flower->GetWidth(), 50);
  auto background = Query<IImageResource>(registry.FindResource("ui_background_main"));
  ASSERT_TRUE(background);
  EXPECT_EQ(background->GetWidth(), 640);
  EXPECT_EQ(background->GetHeight(), 480);
  EXPECT_FALSE(background->GetSurface()->GetHasAlpha()) << "backgrounds are opaque RGB";
  // Every sound file, and three of them a second time under the names the
  // game screens ask for.
  EXPECT_EQ(LoadResourceList("data\\res\\sounds.xml", "sounds", &owner, registry), files("snd", ".wav") + 3);
  for (const char* name : {"sound_explosion_3", "sound_window_show", "sound_show_window", "sound_hide_window",
                           "sound_level_win", "sound_attention2s", "sound_score_line"})
    EXPECT_TRUE(registry.FindResource(name)) << name;
  EXPECT_EQ(LoadResourceList("data\\res\\music.xml", "music", &owner, registry), files("music", ".ogg"));
  for (const char* name :
       {"music_menu", "music_game", "music_background0", "music_background1", "music_background2"})
    EXPECT_TRUE(registry.FindResource(name)) << name;
}

TEST_F(BundledContentTest, TheColourBlindSetStandsInForEveryFlowerAndContourAtTheirSizes) {
  test::ScopedCurrentDir cwd{ContentDir()};
  const Ref<TResourceCollection> normalRef = MakeRef<TResourceCollection>();
  const Ref<TResourceCollection> contrastRef = MakeRef<TResourceCollection>();
  const Ref<TSilentResourceOwner> normalOwner = MakeRef<TSilentResourceOwner>(normalRef.get());
  const Ref<TSilentResourceOwner> contrastOwner = MakeRef<TSilentResourceOwner>(contrastRef.get());
  ASSERT_GT(LoadResourceList("data\\res\\board.xml", "board", normalOwner.get(), *normalRef), 0);
  int files = 0;
  for (const auto& e : fs::directory_iterator(ContentDir() / "data" / "img" / "board" / "colourblind"))
    files += e.path().extension() == ".png";
  EXPECT_EQ(files, 72);
  EXPECT_EQ(LoadResourceList("data\\res\\board_colourblind.xml", "board_colourblind", contrastOwner.get(),
                             *contrastRef),
            files);
  std::set<std::string> names;
  for (int colour = 1; colour <= 8; ++colour) {
    names.insert("board_contour_" + std::to_string(colour));
    for (int shape = 1; shape <= 8; ++shape)
      names.insert("board_flower_" + std::to_string(colour * 10 + shape));
  }
  for (const std::string& name : names) {
    const auto normal = Query<IImageResource>(normalRef->FindResource(name));
    const auto contrast = Query<IImageResource>(contrastRef->FindResource(name));
    ASSERT_TRUE(normal && contrast) << name;
    ASSERT_TRUE(contrast->GetSurface()) << name;
    EXPECT_EQ(contrast->GetWidth(), normal->GetWidth()) << name;
    EXPECT_EQ(contrast->GetHeight(), normal->GetHeight()) << name;
    EXPECT_TRUE(contrast->GetSurface()->GetHasAlpha()) << name;
    // Drawn anew: the heart is the dark disc with its white sign, where the
    // normal flower has its golden heart.
    int differing = 0;
    for (int y = 0; y < contrast->GetHeight(); ++y)
      for (int x = 0; x < contrast->GetWidth(); ++x)
        differing += contrast->GetSurface()->GetPixel(x, y) != normal->GetSurface()->GetPixel(x, y);
    EXPECT_GT(differing, 200) << name;
  }
}

}  // namespace
}  // namespace qv
