#include <gtest/gtest.h>

#include "audio/AudioTypes.h"
#include "audio/Music.h"
#include "audio/Sound.h"
#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

namespace qv {
namespace {

TEST(SoundItems, LoadAndSaveWriteOnlyWhatDiffersFromTheDefaults) {
  const StorageRef in = LoadStorageText(R"(<sounds>
      <sound name="click" resourcename="snd_click" volume="50" pan="-30" mutemusic="yes"/>
      <sound name="plain" resourcename="snd_plain"/>
    </sounds>)");
  auto sounds = MakeRef<TSoundCollection>();
  sounds->Initialize();
  sounds->Load(in);
  ASSERT_EQ(sounds->Count(), 2);
  const Ref<ISound> click = sounds->FindSound("click");
  ASSERT_TRUE(click);
  EXPECT_EQ(click->GetResourceName(), "snd_click");
  EXPECT_EQ(click->GetVolume(), 50);
  EXPECT_EQ(click->GetPan(), -30);
  EXPECT_TRUE(click->GetMuteMusic());
  const Ref<ISound> plain = sounds->FindSound("PLAIN");  // names compare case-insensitively
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->GetVolume(), TSound::kDefaultVolume);
  EXPECT_EQ(plain->GetPan(), TSound::kDefaultPan);

  const StorageRef out = NewStorage("sounds");
  sounds->Save(out);
  const StorageRef saved = out->GetChild("sound", 1);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->ReadAttr("resourcename", "?"), "snd_plain");
  EXPECT_EQ(saved->ReadAttr("volume", "absent"), "absent");
  EXPECT_EQ(saved->ReadAttr("pan", "absent"), "absent");
  EXPECT_EQ(saved->ReadAttr("mutemusic", "absent"), "absent");
  EXPECT_EQ(out->GetChild("sound", 0)->ReadAttr("mutemusic", ""), "yes");
}

TEST(SoundItems, PropertiesByName) {
  auto sound = MakeRef<TSound>();
  sound->Initialize();
  sound->SetResourceName("r");
  EXPECT_TRUE(sound->SetPropertyValue("Volume", TVariant{70LL}));
  EXPECT_TRUE(sound->SetPropertyValue("mutemusic", TVariant{true}));
  EXPECT_FALSE(sound->SetPropertyValue("resourcename", TVariant{std::string("x")}));  // read-only
  EXPECT_EQ(VarToInt(sound->GetPropertyValue("volume")), 70);
  EXPECT_EQ(VarToString(sound->GetPropertyValue("resourcename")), "r");
  EXPECT_TRUE(VarIsEmpty(sound->GetPropertyValue("colour")));

  auto music = MakeRef<TMusic>();
  music->Initialize();
  EXPECT_TRUE(music->SetPropertyValue("resourcename", TVariant{std::string("theme")}));
  EXPECT_EQ(music->GetResourceName(), "theme");
  const StorageRef out = NewStorage("music");
  music->Save(out);
  EXPECT_EQ(out->ReadAttr("resourcename", ""), "theme");
}

std::string SavedText(IPersistent& item, const std::string& element) {
  const StorageRef out = NewStorage(element);
  item.Save(out);
  return AsRoot(out)->SaveToText();
}

TEST(SoundItems, ItemsMadeWithoutInitializeSaveTheirTypeAndRoundTrip) {
  if (!TClassRegistry::Instance().Find("Sound")) RegisterAudioTypes();
  auto sound = MakeRef<TSound>();
  EXPECT_EQ(sound->GetStorageName(), "sound");
  sound->SetName("click");
  sound->SetResourceName("snd");
  sound->SetPan(20);
  EXPECT_EQ(SavedText(*sound, "sound"), R"(<sound name="click" type="Sound" resourcename="snd" pan="20"/>)");

  const std::string full =
      R"(<sound name="a" type="Sound" resourcename="r" volume="0" pan="-100" mutemusic="yes"/>)";
  auto loaded = MakeRef<TSound>();
  loaded->Load(LoadStorageText(full));
  EXPECT_EQ(SavedText(*loaded, "sound"), full);

  auto music = MakeRef<TMusic>();
  EXPECT_EQ(music->GetStorageName(), "music");
  EXPECT_EQ(SavedText(*music, "music"), R"(<music type="Music" resourcename=""/>)") << "always written";
  auto musics = MakeRef<TMusicCollection>();
  EXPECT_EQ(musics->GetStorageName(), "musics");
  EXPECT_EQ(musics->GetItemElementName(), "music");
}

TEST(SoundItems, CollectionsKeyByNameAndReportASecondItemOfAName) {
  TDiagnosticsCollector diagnostics;
  auto sounds = MakeRef<TSoundCollection>();
  sounds->Load(LoadStorageText(
      R"(<sounds><sound name="Click" resourcename="a"/><sound name="click" resourcename="b"/></sounds>)"));
  ASSERT_EQ(sounds->Count(), 1);
  EXPECT_EQ(sounds->FindSound("CLICK")->GetResourceName(), "a");
  EXPECT_TRUE(diagnostics.Has("sounds"));
  auto musics = MakeRef<TMusicCollection>();
  musics->Load(LoadStorageText(
      R"(<musics><music name="Theme" resourcename="a"/><music name="theme" resourcename="b"/></musics>)"));
  ASSERT_EQ(musics->Count(), 1);
  EXPECT_EQ(musics->FindMusic("theme")->GetResourceName(), "a");
  EXPECT_EQ(diagnostics.Errors().size(), 2u);
}

}  // namespace
}  // namespace qv
