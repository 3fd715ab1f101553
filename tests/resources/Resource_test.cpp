// Image decoding, resources and resource lists, read from a temporary data
// folder through the data path resolver.
#include <gtest/gtest.h>

#include <jpeglib.h>
#include <cstdio>
#include <vector>

#include <png.h>
#include "core/Diagnostics.h"
#include "core/Random.h"
#include "graphics/ImageCodec.h"
#include "graphics/ImageTestData.h"
#include "resources/FontResource.h"
#include "resources/GroupResource.h"
#include "resources/ResourceFile.h"
#include "resources/ResourcesTypes.h"
#include "storage/ClassRegistry.h"
#include "storage/DataPaths.h"
#include "storage/XMLStorage.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

// Idempotent across the program's test files (a second registration throws).
void EnsureTypes() {
  if (!TClassRegistry::Instance().Find("FontResource")) RegisterResourcesTypes();
}

std::string Png(int w, int h, bool alpha, uint32_t pixel) {
  const Ref<TSurface> sRef = MakeRef<TSurface>(w, h, alpha);
  TSurface& s = *sRef;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) s.PixelAt(x, y) = pixel;
  return EncodePng(s);
}

// An 8-bit greyscale PNG (colour type 0).
std::string GreyPng(int w, int h, const uint8_t* grey) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_GRAY;
  png_alloc_size_t size = 0;
  png_image_write_get_memory_size(image, size, 0, grey, 0, nullptr);
  std::string bytes(size, '\0');
  png_image_write_to_memory(&image, bytes.data(), &size, 0, grey, 0, nullptr);
  bytes.resize(size);
  return bytes;
}

// `png` with an ancillary chunk inserted after the header (with its CRC, or
// the reader would drop it).
std::string WithChunk(const std::string& png, const std::string& type, const std::string& data) {
  const std::string body = type + data;
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : body) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  crc = ~crc;
  auto be = [](uint32_t v) {
    return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                       static_cast<char>(v)};
  };
  return png.substr(0, 33) + be(static_cast<uint32_t>(data.size())) + body + be(crc) + png.substr(33);
}

// A two-entry palette image whose first entry is fully transparent.
std::string PalettePng() {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 2;
  image.height = 1;
  image.format = PNG_FORMAT_RGBA_COLORMAP;
  image.colormap_entries = 2;
  const uint8_t colormap[8] = {10, 20, 30, 0, 200, 100, 0, 255};
  const uint8_t indices[2] = {0, 1};
  png_alloc_size_t size = 0;
  png_image_write_get_memory_size(image, size, 0, indices, 0, colormap);
  std::string bytes(size, '\0');
  png_image_write_to_memory(&image, bytes.data(), &size, 0, indices, 0, colormap);
  bytes.resize(size);
  return bytes;
}

// Records the audio calls; every handle it gives is distinct.
class TRecordingOwner : public TSilentResourceOwner {
protected:
  ~TRecordingOwner() override = default;

public:
  using TSilentResourceOwner::TSilentResourceOwner;
  uint32_t LoadSample(const std::string& file, int maxPlaybacks) override {
    calls.push_back("sample " + file + " " + std::to_string(maxPlaybacks));
    return ++next;
  }
  uint32_t LoadStream(const std::string& file, std::string& memory) override {
    memory = "bytes of " + file;
    calls.push_back("stream " + file);
    return ++next;
  }
  uint32_t LoadMusicModule(const std::string& file) override {
    calls.push_back("module " + file);
    return ++next;
  }
  void FreeSampleOrStream(uint32_t h) override { calls.push_back("free " + std::to_string(h)); }
  void FreeMusicModule(uint32_t h) override { calls.push_back("free module " + std::to_string(h)); }
  std::vector<std::string> calls;
  uint32_t next = 0;
};

class ResourceTest : public ::testing::Test {
protected:
  void SetUp() override {
    EnsureTypes();
    ResetDataPathCache();
  }
  void TearDown() override { ResetDataPathCache(); }

  // Creates and loads a resource from an XML element, as a list would.
  template <class T>
  Ref<T> Make(const std::string& xml) {
    return Query<T>(CreateFromNode(LoadStorageText(xml)));
  }

  test::TempDir dir_;
  test::ScopedCurrentDir cwd_{dir_.Path()};
  const Ref<TRecordingOwner> ownerRef_ = MakeRef<TRecordingOwner>();
  TRecordingOwner& owner_ = *ownerRef_;
};

TEST_F(ResourceTest, PngDecodesWithAndWithoutAlpha) {
  dir_.Write("img/a.png", Png(3, 2, true, 0x80112233u));
  dir_.Write("img/b.png", Png(3, 2, false, 0x00445566u));
  auto a = Make<TImageResource>(R"(<resource type="ImageResource" name="a" file="img\a.png" format="png"/>)");
  ASSERT_TRUE(a);
  a->SetOwner(&owner_);
  ASSERT_TRUE(a->GetSurface());
  EXPECT_EQ(a->GetWidth(), 3);
  EXPECT_EQ(a->GetHeight(), 2);
  EXPECT_TRUE(a->GetSurface()->GetHasAlpha());
  EXPECT_EQ(a->GetSurface()->GetPixel(2, 1), 0x80112233u);
  auto b = Make<TImageResource>(R"(<resource type="ImageResource" name="b" file="img\b.png" format="png"/>)");
  b->SetOwner(&owner_);
  EXPECT_FALSE(b->GetSurface()->GetHasAlpha());
  EXPECT_EQ(b->GetSurface()->GetPixel(0, 0), 0xFF445566u);
}

TEST_F(ResourceTest, TransparencyChunkWithoutAlphaChannelStaysOpaque) {
  // RGB keyed on its own colour (0x44, 0x55, 0x66): still no alpha channel.
  const std::string keyed =
      WithChunk(Png(2, 1, false, 0x00445566u), "tRNS", std::string("\0\x44\0\x55\0\x66", 6));
  for (EPngAccept accept : {EPngAccept::kTrueColour, EPngAccept::kAny}) {
    const Ref<TSurface> s = DecodePng(keyed, accept);
    ASSERT_TRUE(s);
    EXPECT_FALSE(s->GetHasAlpha());
    EXPECT_EQ(s->GetPixel(1, 0), 0xFF445566u);
  }
  // A palette with a transparent entry would come out opaque: refused.
  EXPECT_FALSE(DecodePng(PalettePng(), EPngAccept::kAny));
}

TEST_F(ResourceTest, LoadByDemandDecodesOnFirstUseAndAgainAfterUnload) {
  dir_.Write("a.png", Png(2, 2, false, 0));
  auto r = Make<TImageResource>(
      R"(<resource type="ImageResource" name="a" file="a.png" format="png" loadbydemand="yes"/>)");
  r->SetOwner(&owner_);
  EXPECT_FALSE(r->IsLoaded());
  Ref<ISurface> first = r->GetSurface();
  ASSERT_TRUE(first);
  EXPECT_FALSE(r->GetLoadByDemand());
  r->Unload();
  EXPECT_FALSE(r->IsLoaded());
  EXPECT_TRUE(r->GetLoadByDemand());
  Ref<ISurface> second = r->GetSurface();
  ASSERT_TRUE(second);
  EXPECT_NE(first.get(), second.get());
}

TEST_F(ResourceTest, JpegIsOpaqueAndJpngTakesAlphaFromItsGreyPng) {
  dir_.Write("img/c.jpg", test::Jpeg(4, 2, 200, 100, 50));
  const uint8_t grey[8] = {0, 10, 128, 255, 1, 2, 3, 4};
  dir_.Write("img/c.png", GreyPng(4, 2, grey));

  auto j =
      Make<TImageResource>(R"(<resource type="ImageResource" name="j" file="img\c.jpg" format="jpeg"/>)");
  j->SetOwner(&owner_);
  ASSERT_TRUE(j->GetSurface());
  EXPECT_FALSE(j->GetSurface()->GetHasAlpha());
  const uint32_t p = j->GetSurface()->GetPixel(1, 1);
  EXPECT_EQ(p >> 24, 255u);
  EXPECT_NEAR(static_cast<int>((p >> 16) & 255), 200, 3);
  EXPECT_NEAR(static_cast<int>(p & 255), 50, 3);

  auto m =
      Make<TImageResource>(R"(<resource type="ImageResource" name="m" file="img\c.png" format="jpng"/>)");
  m->SetOwner(&owner_);
  ASSERT_TRUE(m->GetSurface());
  EXPECT_TRUE(m->GetSurface()->GetHasAlpha());
  EXPECT_EQ(m->GetSurface()->GetPixel(2, 0) >> 24, 128u);
  EXPECT_EQ(m->GetSurface()->GetPixel(3, 1) >> 24, 4u);
  EXPECT_NEAR(static_cast<int>((m->GetSurface()->GetPixel(3, 1) >> 8) & 255), 100, 3);
}

TEST_F(ResourceTest, BadImagesLeaveNoSurfaceAndNeverCrash) {
  const std::string png = Png(8, 8, true, 0x12345678u);
  const std::string jpg = test::Jpeg(16, 16, 1, 2, 3);
  std::string huge = png;
  // IHDR claims 100000 x 100000 pixels (the CRC no longer matches either).
  huge[16] = 0, huge[17] = 1, huge[18] = static_cast<char>(0x86), huge[19] = static_cast<char>(0xA0);
  huge[20] = 0, huge[21] = 1, huge[22] = static_cast<char>(0x86), huge[23] = static_cast<char>(0xA0);
  std::string flipped = png;
  flipped[flipped.find("IDAT") + 6] ^= 0x5A;  // inside the compressed pixels
  const std::vector<std::string> bad = {
      png.substr(0, png.size() / 2), png.substr(0, 20), "", "not an image", huge, flipped};
  for (size_t i = 0; i < bad.size(); ++i) EXPECT_FALSE(DecodePng(bad[i])) << "case " << i;
  for (const auto& b : {jpg.substr(0, jpg.size() / 2), jpg.substr(0, 10), std::string("\xFF\xD8\xFF")})
    EXPECT_FALSE(DecodeJpeg(b)) << b.size();
  // Greyscale decodes, but is no true colour: refused for resources,
  // accepted by the data tool's reader.
  const uint8_t grey[4] = {1, 2, 3, 4};
  EXPECT_FALSE(DecodePng(GreyPng(2, 2, grey)));
  EXPECT_TRUE(DecodePng(GreyPng(2, 2, grey), EPngAccept::kAny));
  dir_.Write("bad.png", png.substr(0, png.size() - 20));
  auto r = Make<TImageResource>(R"(<resource type="ImageResource" name="x" file="bad.png" format="png"/>)");
  r->SetOwner(&owner_);
  EXPECT_FALSE(r->GetSurface());
  EXPECT_EQ(r->GetWidth(), 0);
  auto missing =
      Make<TImageResource>(R"(<resource type="ImageResource" name="y" file="none.png" format="jpng"/>)");
  missing->SetOwner(&owner_);
  EXPECT_FALSE(missing->GetSurface());
}

TEST_F(ResourceTest, ImagesLongerThan65536PixelsOnASideAreRefused) {
  // Far under the pixel limit, but one row pointer per row made a thin
  // image of 64M rows cost 512 MB before a pixel was read.
  const Ref<TSurface> longest = DecodePng(Png(1, 65536, false, 0xFF102030u));
  ASSERT_TRUE(longest);
  EXPECT_EQ(longest->GetHeight(), 65536);
  EXPECT_FALSE(DecodePng(Png(1, 65537, false, 0xFF102030u)));
  EXPECT_FALSE(DecodePng(Png(65537, 1, true, 0xFF102030u), EPngAccept::kAny));
}

TEST_F(ResourceTest, FontSymbolsAndSubstitution) {
  const Ref<TResourceCollection> allRef = MakeRef<TResourceCollection>();
  TResourceCollection& all = *allRef;
  owner_.SetResources(&all);
  auto latin = Make<TFontResource>(R"(<resource type="FontResource" name="latin"><symbols>
      <symbol scancode="65" left="0" top="0" width="5" height="9" wleft="1"/>
      <symbol scancode="66" left="5" top="0" width="6" height="11"/>
      <symbol scancode="x" left="5" top="0" width="6" height="40"/></symbols></resource>)");
  auto extra = Make<TFontResource>(R"(<resource type="FontResource" name="extra"><symbols>
      <symbol scancode="67" left="0" top="0" width="7" height="12"/></symbols></resource>)");
  ASSERT_TRUE(latin && extra);
  EXPECT_EQ(latin->GetFontHeight(), 11) << "the symbol without a number keeps zero size";
  ASSERT_TRUE(latin->GetSymbol(65));
  EXPECT_EQ(latin->GetSymbol(65)->GetWLeft(), 1);
  EXPECT_EQ(latin->GetSymbol(66)->GetRect(), (TRect{5, 0, 11, 11}));
  EXPECT_FALSE(latin->GetSymbol(67));
  all.AddNamed(latin);
  all.AddNamed(extra);

  auto sub = Make<TFontSubstituteResource>(
      R"(<resource type="FontSubstituteResource" name="both" fonts="latin, extra,missing"/>)");
  sub->SetOwner(&owner_);
  EXPECT_EQ(sub->MemberCount(), 2);
  EXPECT_EQ(sub->GetFontHeight(), 12);
  EXPECT_FALSE(sub->GetCurrentFont());
  ASSERT_TRUE(sub->GetSymbol(67));
  EXPECT_EQ(sub->GetCurrentFont().get(), static_cast<IFontResource*>(extra.get()));
  ASSERT_TRUE(sub->GetSymbol(65));
  EXPECT_EQ(sub->GetCurrentFont().get(), static_cast<IFontResource*>(latin.get()));
  sub->ReleaseResource();
  EXPECT_EQ(sub->MemberCount(), 0);

  // Saving a symbol writes only its code and rectangle.
  auto node = NewStorage("symbol");
  latin->GetSymbol(65).get();
  Query<IPersistent>(latin->GetSymbol(65))->Save(node);
  EXPECT_EQ(node->ReadAttr("scancode", ""), "65");
  EXPECT_EQ(node->ReadAttr("height", ""), "9");
  EXPECT_EQ(node->ReadAttr("wleft", "none"), "none");
}

TEST_F(ResourceTest, HostileSymbolSizesAreClampedToTheAtlasRange) {
  // 2147483647 + 8 used to overflow the rectangle's right edge.
  TDiagnosticsCollector diagnostics;
  auto font = Make<TFontResource>(R"(<resource type="FontResource" name="f"><symbols>
      <symbol scancode="65" left="2147483647" top="-2147483648" width="8" height="2147483647"
              wleft="-99999999" wright="99999999"/>
      <symbol scancode="66" left="3" top="4" width="-5" height="-1"/></symbols></resource>)");
  ASSERT_TRUE(font);
  const Ref<ISymbol> a = font->GetSymbol(65);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->GetRect(), (TRect{65536, -65536, 65544, 0}));
  EXPECT_EQ(a->GetWLeft(), -65536);
  EXPECT_EQ(a->GetWRight(), 65536);
  EXPECT_EQ(font->GetFontHeight(), 65536);
  // Negative sizes read as empty glyphs at their place.
  EXPECT_EQ(font->GetSymbol(66)->GetRect(), (TRect{3, 4, 3, 4}));
  EXPECT_EQ(diagnostics.Errors().size(), 7u) << "every clamped value is reported";
  EXPECT_TRUE(diagnostics.Has("\"left\" 2147483647 is outside -65536..65536; 65536 is used"));
}

TEST_F(ResourceTest, SubstitutesThatListEachOtherAnswerWithoutEndlessQuestions) {
  const Ref<TResourceCollection> allRef = MakeRef<TResourceCollection>();
  TResourceCollection& all = *allRef;
  owner_.SetResources(&all);
  all.AddNamed(Make<TFontResource>(R"(<resource type="FontResource" name="latin"><symbols>
      <symbol scancode="65" width="5" height="9"/></symbols></resource>)"));
  auto a =
      Make<TFontSubstituteResource>(R"(<resource type="FontSubstituteResource" name="a" fonts="b,latin"/>)");
  auto b = Make<TFontSubstituteResource>(R"(<resource type="FontSubstituteResource" name="b" fonts="a"/>)");
  all.AddNamed(a);
  all.AddNamed(b);
  all.SetOwner(&owner_);  // now each lists the other
  ASSERT_EQ(a->MemberCount(), 2);
  ASSERT_EQ(b->MemberCount(), 1);
  // Used to recurse until the stack ran out.
  EXPECT_FALSE(a->GetSymbol(66));
  EXPECT_EQ(a->GetFontHeight(), 9);
  ASSERT_TRUE(a->GetSymbol(65));
  EXPECT_EQ(a->GetSymbol(65)->GetHeight(), 9);
  EXPECT_EQ(a->GetWidth() + a->GetHeight(), 0) << "the latin font has no image";
  EXPECT_EQ(b->GetFontHeight(), 9);
  all.SetOwner(nullptr);  // breaks the reference cycle
  EXPECT_EQ(a->MemberCount(), 0);
}

TEST_F(ResourceTest, SoundsAndMusicUseTheOwnersAudioServices) {
  auto s = Make<TSoundResource>(R"(<resource type="SoundResource" name="s" file="snd\a.ogg"/>)");
  auto m = Make<TMusicResource>(R"(<resource type="MusicResource" name="m" file="mus\a.ogg" format="ogg"/>)");
  auto mod = Make<TMusicResource>(
      R"(<resource type="MusicResource" name="t" file="mus\t.mo3" loadbydemand="yes"/>)");
  s->SetOwner(&owner_);
  m->SetOwner(&owner_);
  mod->SetOwner(&owner_);
  EXPECT_EQ(s->GetMaxPlaybacks(), 1) << "no maxplaybacks allows one playback";
  EXPECT_EQ(s->GetMasterVolume(), 100);
  EXPECT_EQ(s->GetSample(), 1u);
  EXPECT_EQ(m->GetMusicHandle(), 2u);
  EXPECT_EQ(owner_.calls.size(), 2u) << "the module waits for its first use";
  EXPECT_EQ(mod->GetMusicHandle(), 3u);
  m->ReleaseResource();
  mod->Unload();
  EXPECT_EQ(m->GetMusicHandle(), 0u) << "released: no owner to load through";
  const std::vector<std::string> expected = {"sample snd\\a.ogg 1", "stream mus\\a.ogg", "module mus\\t.mo3",
                                             "free 2", "free module 3"};
  EXPECT_EQ(owner_.calls, expected);
  // Without audio every handle is 0 and nothing breaks.
  const Ref<TSilentResourceOwner> silentRef = MakeRef<TSilentResourceOwner>();
  TSilentResourceOwner& silent = *silentRef;
  auto quiet = Make<TSoundResource>(
      R"(<resource type="SoundResource" name="q" maxplaybacks="4" master_volume="30"/>)");
  quiet->SetOwner(&silent);
  EXPECT_EQ(quiet->GetSample(), 0u);
  EXPECT_EQ(quiet->GetMaxPlaybacks(), 4);
  EXPECT_EQ(quiet->GetMasterVolume(), 30);
}

TEST_F(ResourceTest, SoundGroupsAnswerFromARandomMember) {
  auto g = Make<TSoundGroupResource>(R"(<resource type="SoundGroupResource" name="g"><resources>
      <resource type="SoundResource" name="one" master_volume="10"/>
      <resource type="SoundResource" name="two" master_volume="20"/></resources></resource>)");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->GetMasterVolume(), 100) << "no current member yet";
  EXPECT_EQ(g->GetSample(), 0u);
  g->SetOwner(&owner_);
  EXPECT_EQ(owner_.calls.size(), 2u) << "members load with the group";
  // Seed 3: the draws below 2 are 0, 1, 1, 0, 0, 1, 1, 1.
  SetRandomSeed(3);
  std::vector<int> volumes;
  for (int i = 0; i < 8; ++i) {
    g->Choose();
    volumes.push_back(g->GetMasterVolume());
  }
  EXPECT_EQ(volumes, (std::vector<int>{10, 20, 20, 10, 10, 20, 20, 20}));
  // Saved members go back under "resources".
  auto node = NewStorage("resource");
  g->Save(node);
  EXPECT_EQ(node->GetChild("resources", 0)->GetChildCount("resource"), 2);
}

TEST_F(ResourceTest, ResourceListsKeepEarlierNamesSkipUnknownTypesAndUnloadByGroup) {
  dir_.Write("a.png", Png(2, 2, false, 0));
  dir_.Write("lists/one.xml", R"(<resources><content>
      <resource type="ImageResource" name="logo" file="a.png" format="png"/>
      <resource type="NoSuchResource" name="ghost"/>
      <resource type="SoundResource" name="click"/>
    </content></resources>)");
  dir_.Write("lists/two.xml", R"(<resources><content>
      <resource type="SoundResource" name="logo"/>
      <resource type="SoundResource" name="beep"/>
    </content></resources>)");
  const Ref<TResourceCollection> registryRef = MakeRef<TResourceCollection>();
  TResourceCollection& registry = *registryRef;
  int pumps = 0;
  EXPECT_EQ(LoadResourceList("lists\\one.xml", "one", &owner_, registry, [&] { ++pumps; }), 2);
  EXPECT_EQ(pumps, 3);
  EXPECT_EQ(LoadResourceList("lists\\two.xml", "two", &owner_, registry), 1);
  EXPECT_EQ(LoadResourceList("lists\\missing.xml", "x", &owner_, registry), 0);
  ASSERT_EQ(registry.Count(), 3);
  EXPECT_TRUE(Query<IImageResource>(registry.FindResource("logo"))) << "the first logo stays";
  EXPECT_EQ(registry.FindResource("beep")->GetGroupName(), "two");
  EXPECT_FALSE(registry.FindResource("ghost"));

  auto logo = Query<TImageResource>(registry.FindResource("logo"));
  registry.RemoveGroup("one");
  EXPECT_EQ(registry.Count(), 1);
  EXPECT_FALSE(logo->IsLoaded()) << "removed resources are released";
  registry.RemoveGroup("");
  EXPECT_EQ(registry.Count(), 0);
}

TEST_F(ResourceTest, ResourceFilesReadAndWriteTheirTwoAttributes) {
  auto files = MakeRef<TResourceFileCollection>();
  files->Load(LoadStorageText(R"(<resourcefiles>
      <resourcefile name="ui" filename="data\ui.xml" loadmode="synch"/>
      <resourcefile name="music" filename="data\music.xml"/></resourcefiles>)"));
  ASSERT_EQ(files->Count(), 2);
  EXPECT_EQ(files->ItemAs<TResourceFile>(0)->GetLoadMode(), TResourceFile::kSynch);
  EXPECT_EQ(files->ItemAs<TResourceFile>(1)->GetLoadMode(), TResourceFile::kAsynch);
  auto node = NewStorage("resourcefiles");
  files->Save(node);
  auto second = node->GetChild("resourcefile", 1);
  EXPECT_EQ(second->ReadAttr("filename", ""), "data\\music.xml");
  EXPECT_EQ(second->ReadAttr("loadmode", ""), "asynch") << "always written";
}

std::string SavedText(IPersistent& item) {
  const StorageRef out = NewStorage("resource");
  item.Save(out);
  return AsRoot(out)->SaveToText();
}

TEST_F(ResourceTest, EveryResourceKindSavesWhatItLoaded) {
  // Each text is what the class writes back after loading it: non-default
  // values written, defaults left out.
  const std::vector<std::string> texts = {
      R"(<resource name="i" type="ImageResource"/>)",
      R"(<resource name="i" type="ImageResource" file="a.png" loadbydemand="yes" format="jpng"/>)",
      R"(<resource name="f" type="FontResource" file="f.png" format="png"><symbols>)"
      R"(<symbol scancode="65" left="1" top="2" width="3" height="4"/></symbols></resource>)",
      R"(<resource name="fs" type="FontSubstituteResource" fonts="a,b"/>)",
      R"(<resource name="s" type="SoundResource" file="s.wav" maxplaybacks="3" master_volume="0"/>)",
      R"(<resource name="m" type="MusicResource" file="m.mo3"/>)",
      R"(<resource name="m" type="MusicResource" file="m.ogg" format="ogg"/>)",
      R"(<resource name="g" type="SoundGroupResource"><resources>)"
      R"(<resource name="s1" type="SoundResource" maxplaybacks="2"/></resources></resource>)",
      R"(<resource name="mg" type="MusicGroupResource"><resources>)"
      R"(<resource name="m1" type="MusicResource" format="ogg"/></resources></resource>)",
  };
  for (const std::string& text : texts) {
    auto item = Query<IPersistent>(CreateFromNode(LoadStorageText(text)));
    ASSERT_TRUE(item) << text;
    EXPECT_EQ(SavedText(*item), text);
  }
  // Explicit defaults are not written back.
  auto sound = Make<TSoundResource>(
      R"(<resource type="SoundResource" name="d" maxplaybacks="0" master_volume="100" loadbydemand="no"/>)");
  EXPECT_EQ(SavedText(*sound), R"(<resource name="d" type="SoundResource"/>)");
  auto music = Make<TMusicResource>(R"(<resource type="MusicResource" name="d" format="mo3"/>)");
  EXPECT_EQ(SavedText(*music), R"(<resource name="d" type="MusicResource"/>)");
}

TEST_F(ResourceTest, ResourceFilesAreRegisteredAndTheListKeepsEveryEntry) {
  auto file = CreateFromStringAs<TResourceFile>("ResourceFile");
  ASSERT_TRUE(file) << "\"ResourceFile\" is a registered type";
  file->SetName("ui");
  file->SetFileName("data\\ui.xml");
  const StorageRef out = NewStorage("resourcefile");
  file->Save(out);
  EXPECT_EQ(AsRoot(out)->SaveToText(),
            R"(<resourcefile name="ui" type="ResourceFile" filename="data\ui.xml" loadmode="asynch"/>)");

  TDiagnosticsCollector diagnostics;
  auto files = MakeRef<TResourceFileCollection>();
  files->Load(LoadStorageText(R"(<resourcefiles>
      <resourcefile name="Main" filename="a.xml"/><resourcefile name="main" filename="b.xml"/>
      <resourcefile filename="c.xml" loadmode="synch"/></resourcefiles>)"));
  ASSERT_EQ(files->Count(), 3) << "names differing only in case are separate entries";
  EXPECT_EQ(files->ItemAs<TResourceFile>(1)->GetFileName(), "b.xml");
  EXPECT_EQ(files->ItemAs<TResourceFile>("MAIN")->GetFileName(), "a.xml");
  EXPECT_EQ(files->ItemAs<TResourceFile>(2)->GetLoadMode(), TResourceFile::kSynch);
  EXPECT_TRUE(diagnostics.Errors().empty());
  const StorageRef list = NewStorage("resourcefiles");
  files->Save(list);
  EXPECT_EQ(list->GetChildCount("resourcefile"), 3);
}

TEST_F(ResourceTest, KeyedResourceCollectionsReportASecondItemOfAName) {
  TDiagnosticsCollector diagnostics;
  auto group = Make<TSoundGroupResource>(R"(<resource type="SoundGroupResource" name="g"><resources>
      <resource type="SoundResource" name="Hit" master_volume="10"/>
      <resource type="SoundResource" name="hit" master_volume="20"/></resources></resource>)");
  ASSERT_TRUE(group);
  EXPECT_EQ(group->Members().Count(), 1);
  EXPECT_TRUE(diagnostics.Has("\"hit\""));

  diagnostics.Clear();
  auto font = Make<TFontResource>(R"(<resource type="FontResource" name="f"><symbols>
      <symbol scancode="65" width="5" height="9"/><symbol scancode="65" width="6" height="30"/>
      </symbols></resource>)");
  ASSERT_TRUE(font);
  EXPECT_EQ(font->Symbols().Count(), 1);
  EXPECT_EQ(font->GetFontHeight(), 9) << "the first symbol of a code stays";
  EXPECT_TRUE(diagnostics.Has("symbols"));

  diagnostics.Clear();
  const Ref<TResourceCollection> registryRef = MakeRef<TResourceCollection>();
  TResourceCollection& registry = *registryRef;
  dir_.Write("list.xml", R"(<resources><content>
      <resource type="SoundResource" name="beep"/><resource type="SoundResource" name="Beep"/>
      <resource type="NoSuchResource" name="ghost"/></content></resources>)");
  EXPECT_EQ(LoadResourceList("list.xml", "one", &owner_, registry), 1);
  EXPECT_TRUE(diagnostics.Has("\"Beep\""));
  EXPECT_TRUE(diagnostics.Has("\"NoSuchResource\""));
}

TEST_F(ResourceTest, MusicGroupsAnswerFromTheirCurrentMember) {
  auto g = Make<TMusicGroupResource>(R"(<resource type="MusicGroupResource" name="g"><resources>
      <resource type="MusicResource" name="only" format="ogg" file="m.ogg"/></resources></resource>)");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->GetMusicHandle(), 0u);
  EXPECT_EQ(g->GetFormat(), IMusicResource::kFormatModule) << "no current member";
  g->SetOwner(&owner_);
  g->Choose();
  ASSERT_TRUE(g->GetCurrent());
  EXPECT_EQ(g->GetFormat(), IMusicResource::kFormatOgg);
  EXPECT_EQ(g->GetMusicHandle(), 1u);
  g->ReleaseResource();
  EXPECT_FALSE(g->GetCurrent());
  EXPECT_EQ(g->GetMusicHandle(), 0u);
}

}  // namespace
}  // namespace qv
