// The engine as widgets see it (the narrow services), what it reports of the
// data it drops, and the rules of the turns a resource load pumps.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

#include "EngineFixture.h"
#include "audio/AudioTestData.h"
#include "audio/Sound.h"
#include "core/Diagnostics.h"
#include "core/Random.h"
#include "resources/GroupResource.h"
#include "services/IClock.h"
#include "services/ICursorPosition.h"
#include "services/IEngineOptions.h"
#include "services/IMusicPlayer.h"
#include "services/IResourceLookup.h"
#include "services/ISoundPlayer.h"
#include "services/ISurfaceFactory.h"
#include "services/IUpdateRegion.h"

namespace qv {
namespace {

const char kPictures[] = R"(<resources><content>
    <resource type="ImageResource" name="pic" file="data\img\p.png" format="png"/>
    <resource type="SoundResource" name="snd" file="missing.wav"/>
  </content></resources>)";

// --- The services ------------------------------------------------------------

TEST_F(EngineTest, WidgetsReachTheEngineThroughTheNarrowServices) {
  TEngineRunOptions run;
  run.fixedStepMs = 15;
  run.frameLimit = 4;
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)", run));
  dir.Write("res.xml", EncipherToHex(kPictures, kGameKey));
  engine->LoadResourceList("res.xml", "", false);
  // A widget holds the engine as an object and asks it for one service.
  IInterface* object = static_cast<IEngine*>(engine.get());

  auto* lookup = QueryPtr<IResourceLookup>(object);
  ASSERT_TRUE(lookup);
  ASSERT_TRUE(lookup->FindImage("pic"));
  EXPECT_EQ(lookup->FindImage("pic")->GetWidth(), 8);
  EXPECT_TRUE(lookup->FindSoundResource("snd"));
  EXPECT_FALSE(lookup->FindFont("pic"));

  auto* surfaces = QueryPtr<ISurfaceFactory>(object);
  ASSERT_TRUE(surfaces);
  Ref<ISurface> surface = surfaces->CreateSurface();
  ASSERT_TRUE(surface);
  EXPECT_EQ(surface->GetWidth(), 0);
  EXPECT_NE(surfaces->CreateSurface().get(), surface.get());

  auto* options = QueryPtr<IEngineOptions>(object);
  ASSERT_TRUE(options);
  EXPECT_EQ(VarToString(options->GetOption("FullScreenMode")), "no");
  options->SetOption("SoundVolume", "40");
  EXPECT_EQ(engine->Audio().SoundVolume(), 40);

  auto* region = QueryPtr<IUpdateRegion>(object);
  ASSERT_TRUE(region);
  engine->ApplyDisplaySettings();
  region->AddUpdateRect({630, 470, 700, 500});
  ASSERT_EQ(engine->BackSurface()->GetDirtyRegion().Count(), 1);
  EXPECT_EQ(engine->BackSurface()->GetDirtyRegion().Rects()[0], (TRect{630, 470, 640, 480}));

  auto* cursor = QueryPtr<ICursorPosition>(object);
  ASSERT_TRUE(cursor);
  engine->SetCursorPos({20, 30});
  (void)cursor->GetCursorPos();  // the dummy video driver has no pointer to move

  auto* sounds = QueryPtr<ISoundPlayer>(object);
  auto* music = QueryPtr<IMusicPlayer>(object);
  ASSERT_TRUE(sounds && music);
  EXPECT_EQ(sounds->PlaySound(nullptr), 0u);
  EXPECT_EQ(music->PlayMusic(nullptr), 0u);

  // A fixed-step run's clock is the time its frames advanced: 4 x 15 ms.
  auto* clock = QueryPtr<IClock>(object);
  ASSERT_TRUE(clock);
  EXPECT_EQ(clock->Milliseconds(), 0u);
  engine->Run();
  EXPECT_EQ(clock->Milliseconds(), 60u);
}

TEST_F(EngineTest, TheRealClockIsTheEnginesClock) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  uint32_t now = 4242;
  std::vector<uint32_t> sleeps;
  UseFakeClock(now, sleeps);
  EXPECT_EQ(QueryPtr<IClock>(static_cast<IEngine*>(engine.get()))->Milliseconds(), 4242u);
}

TEST_F(EngineTest, TypedLookupsReportMissingNamesAndWrongKinds) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  dir.Write("res.xml", EncipherToHex(kPictures, kGameKey));
  engine->LoadResourceList("res.xml", "", false);
  TDiagnosticsCollector diagnostics;
  EXPECT_TRUE(engine->FindResource("nothing") == nullptr);  // the plain lookup is quiet
  EXPECT_TRUE(diagnostics.Errors().empty());
  EXPECT_FALSE(engine->FindImage(""));  // no name: none wanted
  EXPECT_TRUE(diagnostics.Errors().empty());
  EXPECT_FALSE(engine->FindImage("nothing"));
  EXPECT_FALSE(engine->FindMusicResource("snd"));
  ASSERT_EQ(diagnostics.Errors().size(), 2u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "resource nothing");
  EXPECT_EQ(diagnostics.Errors()[0].what, "no resource of that name");
  EXPECT_EQ(diagnostics.Errors()[1].what, "is not a music resource");
  // A sound item naming no resource plays nothing and says so.
  auto sound = MakeRef<TSound>();
  sound->SetResourceName("nothing");
  EXPECT_EQ(engine->PlaySound(sound.get()), 0u);
  EXPECT_EQ(diagnostics.Errors().size(), 3u);
}

// --- What the engine drops ------------------------------------------------------

TEST_F(EngineTest, AGameThatCannotStartSaysWhy) {
  TDiagnosticsCollector diagnostics;
  engine = MakeRef<TEngine>();
  engine->Initialize();
  EXPECT_FALSE(engine->Init(kGameDescriptionFile));
  EXPECT_EQ(engine->StartError(), "data\\ini\\Zintara.ini: the game description is missing or empty");
  struct Case {
    const char* xml;
    const char* why;
  };
  const Case cases[] = {
      {R"(<game type="NoSuchType" name="g"/>)", "unknown game type \"NoSuchType\""},
      {R"(<game name="g"/>)", "the game description names no \"type\""},
      {R"(<sound type="Sound" name="s"/>)", "the type \"Sound\" is not a game"},
      {"garbage <<<", "does not parse"},
  };
  for (const Case& c : cases) {
    diagnostics.Clear();
    EXPECT_FALSE(Start(c.xml)) << c.xml;
    EXPECT_NE(engine->StartError().find(c.why), std::string::npos) << engine->StartError();
    EXPECT_EQ(engine->StartError().find('\n'), std::string::npos);
    // The engine's own report comes last; a text that does not parse is also
    // reported by the storage, with the parser's reason, just before it.
    ASSERT_FALSE(diagnostics.Errors().empty()) << c.xml;
    EXPECT_LE(diagnostics.Errors().size(), 2u) << c.xml;
    EXPECT_EQ(diagnostics.Errors().back().where, "data\\ini\\Zintara.ini");
  }
  diagnostics.Clear();
  EXPECT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  EXPECT_EQ(engine->StartError(), "");
  EXPECT_TRUE(diagnostics.Errors().empty());
}

TEST_F(EngineTest, ResourceListsReportWhatTheyDrop) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  dir.Write("res.xml", EncipherToHex(R"(<resources><content>
      <resource type="ImageResource" name="pic" file="data\img\p.png" format="png"/>
      <resource type="ImageResource" name="pic" file="data\img\p.png" format="png"/>
      <resource type="ImageResource" name="PIC" file="data\img\p.png" format="png"/>
      <resource type="NoSuchType" name="odd"/>
      <resource type="Sound" name="item"/>
    </content></resources>)",
                                     kGameKey));
  TDiagnosticsCollector diagnostics;
  engine->LoadResourceList("res.xml", "", false);
  ASSERT_EQ(diagnostics.Errors().size(), 3u);  // the exact repeat is skipped quietly
  EXPECT_EQ(diagnostics.Errors()[0].where, "resource PIC");
  EXPECT_EQ(diagnostics.Errors()[1].what, "unknown resource type \"NoSuchType\"; skipped");
  EXPECT_EQ(diagnostics.Errors()[2].what, "the type \"Sound\" is not a resource; skipped");
  // Files that give no content: by name from the engine, the sound also by
  // path from the audio; one that loads by demand says so on first use.
  dir.Write("empty.xml", EncipherToHex(R"(<resources><content>
      <resource type="ImageResource" name="gone" file="data\img\gone.png" format="png"/>
      <resource type="SoundResource" name="mute" file="snd\gone.wav"/>
      <resource type="ImageResource" name="later" file="data\img\gone.png" format="png" loadbydemand="yes"/>
    </content></resources>)",
                                       kGameKey));
  diagnostics.Clear();
  engine->LoadResourceList("empty.xml", "", false);
  // The image and the sound are each reported by path from their decoder
  // and by name from the engine.
  ASSERT_EQ(diagnostics.Errors().size(), 4u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "data\\img\\gone.png");
  EXPECT_EQ(diagnostics.Errors()[1].where, "resource gone");
  EXPECT_EQ(diagnostics.Errors()[1].what,
            "its content cannot be loaded from \"data\\img\\gone.png\"; the resource stays empty");
  EXPECT_EQ(diagnostics.Errors()[2].where, "snd\\gone.wav");
  EXPECT_EQ(diagnostics.Errors()[3].where, "resource mute");
  diagnostics.Clear();
  engine->LoadResourceList("no\\such\\list.xml", "", false);
  dir.Write("plain.xml", "<resources/>");  // not enciphered
  engine->LoadResourceList("plain.xml", "", false);
  // The plain list is also reported by the storage as text that does not parse.
  ASSERT_EQ(diagnostics.Errors().size(), 3u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "no\\such\\list.xml");
  EXPECT_EQ(diagnostics.Errors()[2].where, "plain.xml");
  EXPECT_EQ(diagnostics.Errors()[2].what, "the resource list is missing or does not parse");
}

TEST_F(EngineTest, BadOptionValuesAreReported) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  TDiagnosticsCollector diagnostics;
  ASSERT_TRUE(engine->ApplyDisplaySettings());
  EXPECT_TRUE(diagnostics.Errors().empty());  // the defaults are sound
  engine->SetOption("ScreenWidth", "wide");
  engine->SetOption("FullScreenMode", "maybe");
  engine->SetOption("MusicVolume", "loud");
  EXPECT_FALSE(engine->ApplyDisplaySettings());
  EXPECT_FALSE(engine->IsFullScreen());
  ASSERT_EQ(diagnostics.Errors().size(), 3u);
  EXPECT_EQ(diagnostics.Errors()[0].where, "option MusicVolume");
  EXPECT_EQ(diagnostics.Errors()[1].where, "option ScreenWidth");
  EXPECT_EQ(diagnostics.Errors()[1].what, "\"wide\" is not a whole number; 0 is used");
  EXPECT_EQ(diagnostics.Errors()[2].what, "\"maybe\" is neither yes nor no; no is used");
}

// A probe game whose Start runs a hook (that may throw).
class TThrowingGame : public TProbeGame {
protected:
  ~TThrowingGame() override = default;

public:
  static inline std::function<void()> onStart;
  void Start(IEngine* engine) override {
    TProbeGame::Start(engine);
    if (onStart) onStart();
  }
};

TEST_F(EngineTest, DataErrorsAreReportedAndProgrammingErrorsEscape) {
  if (!TClassRegistry::Instance().Find("ThrowingGame")) RegisterClass<TThrowingGame>("ThrowingGame");
  TDiagnosticsCollector diagnostics;
  // A data error while the game starts: reported, and the start fails.
  TThrowingGame::onStart = [] { throw std::runtime_error("bad level file"); };
  EXPECT_FALSE(Start(R"(<game type="ThrowingGame" name="g"/>)"));
  EXPECT_EQ(engine->StartError(), "data\\ini\\Zintara.ini: the game did not load: bad level file");
  EXPECT_TRUE(diagnostics.Has("bad level file"));
  // A programming error is not swallowed.
  TThrowingGame::onStart = [] { throw std::logic_error("index out of range"); };
  EXPECT_THROW(Start(R"(<game type="ThrowingGame" name="g"/>)"), std::logic_error);
  TThrowingGame::onStart = nullptr;
  engine = nullptr;

  // In the loop: a data error ends the run (reported), a programming error
  // leaves it.
  TEngineRunOptions run;
  run.fixedStepMs = 10;
  run.frameLimit = 50;
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)", run));
  diagnostics.Clear();
  Game<TProbeGame>().onAdvance = [](int) { throw std::runtime_error("broken scenario"); };
  engine->Run();
  EXPECT_EQ(engine->FrameCount(), 0);
  ASSERT_EQ(diagnostics.Errors().size(), 1u);
  EXPECT_EQ(diagnostics.Errors()[0].what, "the run ended on an error: broken scenario");
  Game<TProbeGame>().onAdvance = [](int) { throw std::out_of_range("vector::at"); };
  EXPECT_THROW(engine->Run(), std::out_of_range);
  Game<TProbeGame>().onAdvance = nullptr;
}

// --- Sounds that wait for their first use ---------------------------------------------

TEST_F(EngineTest, StoppingAllSoundsLoadsNoSoundThatWaitsForItsFirstUse) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  dir.Write("snd/a.wav", test::MakeWav(44100, 12000));
  dir.Write("snd/b.wav", test::MakeWav(44100, 12000));
  dir.Write("res.xml", EncipherToHex(R"(<resources><content>
      <resource type="SoundResource" name="now" file="snd\a.wav"/>
      <resource type="SoundResource" name="later" file="snd\b.wav" loadbydemand="yes"/>
      <resource type="SoundGroupResource" name="group"><resources>
        <resource type="SoundResource" name="member" file="snd\a.wav"/>
      </resources></resource>
    </content></resources>)",
                                     kGameKey));
  engine->LoadResourceList("res.xml", "", false);
  ASSERT_TRUE(engine->Audio().Available());
  auto later = Query<TResource>(engine->FindResource("later"));
  ASSERT_TRUE(later);
  ASSERT_TRUE(later->GetLoadByDemand());
  auto item = [](const char* name) {
    auto s = MakeRef<TSound>();
    s->SetResourceName(name);
    return s;
  };
  const uint32_t first = engine->PlaySound(item("now").get());
  const uint32_t member = engine->PlaySound(item("group").get());
  ASSERT_NE(first, 0u);
  ASSERT_NE(member, 0u);
  engine->StopSound(item("now").get());
  engine->StopAllSounds();
  EXPECT_TRUE(later->GetLoadByDemand());  // still waiting: not loaded to be stopped
  EXPECT_EQ(engine->Audio().Library().ChannelIsActive(member), TAudioLibrary::kStopped);
  // Once played it counts, and stops with the others.
  const uint32_t third = engine->PlaySound(item("later").get());
  ASSERT_NE(third, 0u);
  EXPECT_FALSE(later->GetLoadByDemand());
  engine->StopAllSounds();
  EXPECT_EQ(engine->Audio().Library().ChannelIsActive(third), TAudioLibrary::kStopped);
}

// --- Pumped turns --------------------------------------------------------------------

// A list of `count` images named prefix0, prefix1, ...
std::string ImageList(const std::string& prefix, int count) {
  std::string xml = "<resources><content>";
  for (int i = 0; i < count; ++i)
    xml += "<resource type=\"ImageResource\" name=\"" + prefix + std::to_string(i) +
           "\" file=\"data\\img\\p.png\" format=\"png\"/>";
  return xml + "</content></resources>";
}

TEST_F(EngineTest, APumpingLoadRunsOneTurnPerResourceAndDefersNestedLoads) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  engine->ApplyDisplaySettings();
  Drain();
  dir.Write("first.xml", EncipherToHex(ImageList("a", 3), kGameKey));
  dir.Write("second.xml", EncipherToHex(ImageList("b", 2), kGameKey));
  uint32_t now = 0;
  std::vector<uint32_t> sleeps;
  UseFakeClock(now, sleeps);
  auto& game = Game<TProbeGame>();
  int depth = 0, deepest = 0, nestedReturnsEmpty = 0;
  bool started = false;
  game.onAdvance = [&](int) {
    ++depth;
    deepest = std::max(deepest, depth);
    if (!started) {
      // The start hook: the splash keeps animating while the lists load.
      started = true;
      engine->LoadResourceList("first.xml", "start", true);
    } else {
      // Every pumped frame asks for the second list (once is enough), and
      // a nested load returns before it ran.
      EXPECT_TRUE(engine->IsInPumpedTurn());
      engine->LoadResourceList("second.xml", "more", true);
      engine->LoadResourceList("first.xml", "start", true);  // running already: nothing more
      if (!engine->FindResource("b0")) ++nestedReturnsEmpty;
    }
    --depth;
  };
  engine->LoopTurn();
  EXPECT_FALSE(engine->IsLoadingResources());
  EXPECT_FALSE(engine->IsInPumpedTurn());
  // Three turns for the first list, two for the deferred second; never a
  // pump inside a pumped turn.
  EXPECT_EQ(game.advances.size(), 6u);
  EXPECT_EQ(deepest, 2);
  EXPECT_EQ(nestedReturnsEmpty, 4);  // the three turns of the first list, and the one before b0
  for (const char* name : {"a0", "a1", "a2", "b0", "b1"}) EXPECT_TRUE(engine->FindResource(name)) << name;
  EXPECT_EQ(engine->FindResource("b1")->GetGroupName(), "more");
}

TEST_F(EngineTest, APumpingLoadStopsPumpingAfterTheQuitMessage) {
  TEngineRunOptions run;
  run.fixedStepMs = 10;
  run.frameLimit = 2;
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)", run));
  engine->ApplyDisplaySettings();
  Drain();
  dir.Write("big.xml", EncipherToHex(ImageList("c", 8), kGameKey));
  engine->LoadResourceList("big.xml", "", true);
  // Two frames, then the quit message is taken and no turn follows.
  EXPECT_EQ(engine->FrameCount(), 2);
  EXPECT_TRUE(engine->IsTerminated());
  EXPECT_TRUE(engine->FindResource("c7"));
}

// --- Start-up ---------------------------------------------------------------------

TEST_F(EngineTest, TheGeneratorIsSeededOnceFromTheTimeOfDay) {
  EXPECT_EQ(TimeOfDaySeed(0, 0, 0, 0), 0u);
  EXPECT_EQ(TimeOfDaySeed(1, 2, 3, 4), 3723004u);  // ((1 x 60 + 2) x 60 + 3) x 1000 + 4
  EXPECT_EQ(TimeOfDaySeed(23, 59, 59, 999), 86399999u);
  SetRandomSeed(0xFFFFFFFFu);
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  EXPECT_LT(GetRandomSeed(), 86400000u);  // milliseconds of one day
}

}  // namespace
}  // namespace qv
