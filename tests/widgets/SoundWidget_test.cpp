#include <gtest/gtest.h>

#include <map>

#include "core/Diagnostics.h"
#include "services/ISoundChannels.h"
#include "storage/ClassRegistry.h"
#include "widgets/SoundWidget.h"
#include "widgets/WidgetTestSupport.h"
#include "widgets/WidgetsTypes.h"

namespace qv {
namespace {

using test::TFakeScreen;
using test::WidgetFromXml;

// Channels numbered from 10 as sounds start; a test ends them by hand. While
// `refuse` is set nothing can start.
class TChannelEngine : public test::TFakeEngine, public ISoundChannels {
public:
  uint32_t PlaySound(const ISound* sound) override {
    if (refuse) return 0;
    TFakeEngine::PlaySound(sound);
    const uint32_t channel = next++;
    states[channel] = kChannelPlaying;
    return channel;
  }
  int GetChannelState(uint32_t channel) override {
    const auto it = states.find(channel);
    return it == states.end() ? kChannelStopped : it->second;
  }
  void StopChannel(uint32_t channel) override {
    states[channel] = kChannelStopped;
    stoppedChannels.push_back(channel);
  }

  bool refuse = false;
  uint32_t next = 10;
  std::map<uint32_t, int> states;
  std::vector<uint32_t> stoppedChannels;

protected:
  ~TChannelEngine() override = default;
};

class SoundWidgets : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterWidgetsTypes();
  }
  void TearDown() override {
    screen->DetachRoot();
    TClassRegistry::Instance().Reset();
  }
  Ref<TSoundWidget> Attach(const std::string& attributes) {
    Ref<IWidget> root = WidgetFromXml(
        R"(<widget type="sound_widget" resourcename="ding" )" + attributes +
        R"(><sounds><sound name="ding" resourcename="snd_ding" volume="40"/></sounds></widget>)");
    screen->SetRoot(root);
    Ref<TSoundWidget> sound = Query<TSoundWidget>(root);
    EXPECT_TRUE(sound) << attributes;
    return sound;
  }

  Ref<TChannelEngine> engine = MakeRef<TChannelEngine>();
  Ref<TFakeScreen> screen = MakeRef<TFakeScreen>(engine.get());
};

TEST_F(SoundWidgets, PlaysAfterTheStartDelayAndFinishesWithoutLoop) {
  const auto w = Attach(R"(startdelaytime="300")");
  w->Advance(299);
  EXPECT_TRUE(engine->played.empty());
  w->Advance(1);
  // The item's own volume and pan: the play call does not override them.
  EXPECT_EQ(engine->played, (std::vector<std::string>{"snd_ding 40 -101"}));
  EXPECT_EQ(w->GetState(), kStateRunning);
  EXPECT_EQ(w->GetChannel(), 10u);
  w->Advance(1000);
  EXPECT_EQ(w->GetState(), kStateRunning);  // still sounding
  engine->states[10] = ISoundChannels::kChannelStopped;
  w->Advance(1);
  EXPECT_EQ(w->GetState(), kStateFinished);
  EXPECT_FALSE(w->IsActive());
  w->Advance(5000);
  EXPECT_EQ(engine->played.size(), 1u);
}

TEST_F(SoundWidgets, LoopingSoundWaitsItsCycleDelayAfterEachEnd) {
  const auto w = Attach(R"(loop="yes" cycledelaytime="500")");
  w->Advance(0);
  EXPECT_EQ(engine->played.size(), 1u);  // no start delay
  engine->states[10] = ISoundChannels::kChannelStopped;
  w->Advance(40);
  EXPECT_EQ(w->GetState(), kStateCycleDelay);
  EXPECT_EQ(w->GetCurrentTime(), 0);  // the cycle delay counts from the end
  w->Advance(499);
  EXPECT_EQ(engine->played.size(), 1u);
  w->Advance(1);
  EXPECT_EQ(engine->played.size(), 2u);
  EXPECT_EQ(w->GetChannel(), 11u);
  EXPECT_EQ(w->GetState(), kStateRunning);
}

TEST_F(SoundWidgets, ASoundThatCannotStartIsTriedAgain200TicksLater) {
  engine->refuse = true;
  const auto w = Attach(R"(startdelaytime="1000")");
  w->Advance(1000);
  EXPECT_EQ(w->GetState(), kStateStartDelay);
  EXPECT_EQ(w->GetCurrentTime(), 800);
  engine->refuse = false;
  w->Advance(199);
  EXPECT_TRUE(engine->played.empty());
  w->Advance(1);
  EXPECT_EQ(engine->played.size(), 1u);
  EXPECT_EQ(w->GetState(), kStateRunning);
  // Without a start delay the retry waits from -200.
  engine->refuse = true;
  const auto quick = Attach("");
  quick->Advance(0);
  EXPECT_EQ(quick->GetCurrentTime(), -200);
  engine->refuse = false;
  quick->Advance(199);
  EXPECT_EQ(quick->GetState(), kStateStartDelay);
  quick->Advance(1);
  EXPECT_EQ(quick->GetState(), kStateRunning);
}

TEST_F(SoundWidgets, PauseStopsTheChannelAndRestartPlaysAgain) {
  const auto w = Attach("");
  w->Advance(0);
  ASSERT_EQ(w->GetChannel(), 10u);
  w->Pause();
  EXPECT_EQ(engine->stoppedChannels, (std::vector<uint32_t>{10}));
  EXPECT_EQ(w->GetState(), kStateFinished);
  w->Restart();
  EXPECT_EQ(w->GetState(), kStateRunning);
  EXPECT_EQ(w->GetChannel(), 11u);

  StorageRef out = NewStorage("widget");
  dynamic_cast<IPersistent&>(*w).Save(out);
  const std::string xml = AsRoot(out)->SaveToText();
  for (const char* key :
       {"resourcename=\"ding\"", "loop=\"no\"", "startdelaytime=\"0\"", "cycledelaytime=\"0\""})
    EXPECT_NE(xml.find(key), std::string::npos) << key << " in " << xml;
}

TEST_F(SoundWidgets, AnUnknownSoundNameIsReportedAndRetried) {
  TDiagnosticsCollector diagnostics;
  Ref<IWidget> root = WidgetFromXml(
      R"(<widget type="sound_widget" resourcename="missing"><sounds><sound name="ding" resourcename="snd_ding"/></sounds></widget>)");
  screen->SetRoot(root);
  root->Advance(0);
  EXPECT_TRUE(diagnostics.Has("no sound named \"missing\""));
  EXPECT_EQ(VarToInt(root->GetPropertyValue("currenttime")), -200);
  root->Advance(200);  // tried again, but reported only once
  EXPECT_EQ(VarToInt(root->GetPropertyValue("currenttime")), -200);
  EXPECT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_TRUE(engine->played.empty());
}

}  // namespace
}  // namespace qv
