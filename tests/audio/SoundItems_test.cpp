#include <gtest/gtest.h>

#include "audio/Music.h"
#include "audio/Sound.h"
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

}  // namespace
}  // namespace qv
