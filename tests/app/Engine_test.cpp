#include "app/Engine.h"

#include "EngineFixture.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "app/ImageGame.h"
#include "app/RegisterTypes.h"
#include "audio/AudioTestData.h"
#include "audio/Music.h"
#include "audio/Sound.h"
#include "core/Constants.h"
#include "core/Diagnostics.h"
#include "core/Folders.h"
#include "core/Random.h"
#include "graphics/ImageCodec.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "support/TestSupport.h"

namespace qv {
namespace {

TEST_F(EngineTest, RunsTheGameFromItsEncipheredDescription) {
  TEngineRunOptions run;
  run.fixedStepMs = 10;
  run.frameLimit = 3;
  run.seed = 1234;
  ASSERT_TRUE(Start(
      R"(<game type="ImageGame" name="g" image="data\img\p.png" background="$FF102030" left="5" top="6"/>)",
      run));
  EXPECT_EQ(GetRandomSeed(), 1234u);
  EXPECT_EQ(VarToString(engine->GetOption("ScreenWidth")), "640");
  EXPECT_EQ(VarToString(engine->GetOption("MusicVolume")), "30");
  EXPECT_TRUE(VarIsEmpty(engine->GetOption("NoSuchOption")));
  engine->Run();
  EXPECT_EQ(engine->FrameCount(), 3);
  EXPECT_EQ(Game<TImageGame>().Time(), 30);
  EXPECT_TRUE(engine->IsDisplayReady());
  ASSERT_EQ(engine->BackSurface()->GetWidth(), 640);
  EXPECT_EQ(engine->BackSurface()->GetPixel(0, 0) & 0xFFFFFF, 0x102030u);
  EXPECT_EQ(engine->BackSurface()->GetPixel(5, 6) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(engine->BackSurface()->GetPixel(13, 6) & 0xFFFFFF, 0x102030u);
  engine->Done();
  engine->Done();  // safe twice
}

TEST_F(EngineTest, InitFailsCleanlyWithoutAGame) {
  engine = MakeRef<TEngine>();
  engine->Initialize();
  EXPECT_FALSE(engine->Init(kGameDescriptionFile));  // no description at all
  EXPECT_FALSE(Start(R"(<game type="NoSuchType" name="g"/>)"));
  EXPECT_FALSE(Start(R"(<sound type="Sound" name="s"/>)"));  // not a game
  WriteGame(R"(<game type="ImageGame" name="g"/>)", false);  // not enciphered
  engine = MakeRef<TEngine>();
  engine->Initialize();
  EXPECT_FALSE(engine->Init(kGameDescriptionFile));
  EXPECT_FALSE(Start("garbage <<<"));
}

TEST_F(EngineTest, ACloseRequestTheGameRefusesKeepsTheWindow) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  engine->ApplyDisplaySettings();
  Game<TProbeGame>().allowClose = false;
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  Drain();
  EXPECT_EQ(Game<TProbeGame>().closeQueries, 1);
  EXPECT_FALSE(engine->GetWindowHandle()->IsDestroyed());
  EXPECT_TRUE(engine->IsActive());
  EXPECT_FALSE(engine->IsTerminated());
  // Allowed: the window goes and the loop ends.
  Game<TProbeGame>().allowClose = true;
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  Drain();
  EXPECT_EQ(Game<TProbeGame>().closeQueries, 2);
  EXPECT_TRUE(engine->IsTerminated());
  EXPECT_TRUE(engine->GetWindowHandle()->IsDestroyed());
}

TEST_F(EngineTest, AnInactiveWindowClosesWithoutAskingTheGame) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  engine->ApplyDisplaySettings();
  PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
  Drain();
  EXPECT_FALSE(engine->IsActive());
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  Drain();
  EXPECT_EQ(Game<TProbeGame>().closeQueries, 0);
  EXPECT_TRUE(engine->IsTerminated());
}

TEST_F(EngineTest, AltEnterTogglesFullScreenThroughTheGame) {
  ASSERT_TRUE(Start(R"(<game type="ImageGame" name="g"/>)"));
  engine->ApplyDisplaySettings();
  ASSERT_FALSE(engine->IsFullScreen());
  ASSERT_TRUE(engine->GetWindowHandle()->InjectKeyPress("alt+Return"));
  Drain();
  EXPECT_EQ(VarToString(engine->GetOption("FullScreenMode")), "yes");
  EXPECT_TRUE(engine->IsFullScreen());
  ASSERT_TRUE(engine->GetWindowHandle()->InjectKeyPress("alt+Return"));
  Drain();
  EXPECT_EQ(VarToString(engine->GetOption("FullScreenMode")), "no");
  EXPECT_FALSE(engine->IsFullScreen());
  EXPECT_EQ(engine->ScreenWidth(), 640);
}

TEST_F(EngineTest, AltWithALetterReachesTheGameAsAMenuCharacter) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  engine->ApplyDisplaySettings();
  engine->GetWindowHandle()->InjectKeyPress("alt+x");
  engine->GetWindowHandle()->InjectKeyPress("b");
  Drain();
  const auto& keys = Game<TProbeGame>().keys;
  ASSERT_FALSE(keys.empty());
  // Alt+x: only the menu character; b: key down, character, key up.
  EXPECT_EQ(keys[0].message, WM_CHAR);
  EXPECT_EQ(keys[0].wParam, uintptr_t{'x'});
  EXPECT_EQ(keys[0].lParam, KF_ALTDOWN);
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[1].message, WM_KEYDOWN);
  EXPECT_EQ(keys[1].wParam, uintptr_t{'B'});
  EXPECT_EQ(keys[2].message, WM_CHAR);
  EXPECT_EQ(keys[2].wParam, uintptr_t{'b'});
  EXPECT_EQ(keys[3].message, WM_KEYUP);
  // Mouse messages carry the point in back-surface pixels.
  engine->GetWindowHandle()->InjectMouseButton(120, 45, SDL_BUTTON_RIGHT, true);
  Drain();
  EXPECT_EQ(Game<TProbeGame>().lastMouse, WM_RBUTTONDOWN);
  EXPECT_EQ(Game<TProbeGame>().lastPoint, (TPoint{120, 45}));
}

TEST_F(EngineTest, FocusRulesDecideWhetherFramesRun) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  uint32_t now = 1000;
  std::vector<uint32_t> sleeps;
  UseFakeClock(now, sleeps);
  engine->ApplyDisplaySettings();
  auto& game = Game<TProbeGame>();
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  Drain();
  EXPECT_FALSE(engine->IsFocused());
  EXPECT_EQ(game.focusChanges, std::vector<bool>{false});
  // Windowed and unfocused: frames go on, one per frame delay.
  size_t frames = game.advances.size();
  engine->LoopTurn();
  EXPECT_EQ(game.advances.size(), frames + 1);
  EXPECT_EQ(sleeps.back(), TEngine::kFrameDelay);
  // Full screen and unfocused: no frames.
  engine->SetOption("FullScreenMode", "yes");
  ASSERT_TRUE(engine->ApplyDisplaySettings());
  Drain();
  frames = game.advances.size();
  engine->LoopTurn();
  engine->LoopTurn();
  EXPECT_EQ(game.advances.size(), frames);
  // Focus back: active again, and the outage does not count as time.
  now += 5000;
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  Drain();
  EXPECT_TRUE(engine->IsActive());
  now += 3;
  engine->LoopTurn();
  ASSERT_EQ(game.advances.size(), frames + 1);
  EXPECT_EQ(game.advances.back(), 10);  // slept 7 ms up to the frame delay
}

TEST_F(EngineTest, TheFrameLimiterSleepsOnlyForFastFrames) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  uint32_t now = 500;
  std::vector<uint32_t> sleeps;
  UseFakeClock(now, sleeps);
  engine->ApplyDisplaySettings();
  Drain();
  auto& game = Game<TProbeGame>();
  game.onAdvance = [&](int) { now += 25; };  // a slow frame
  engine->LoopTurn();
  sleeps.clear();
  game.onAdvance = [&](int) { now += 4; };
  engine->LoopTurn();  // follows the slow frame: no sleep
  EXPECT_TRUE(sleeps.empty());
  EXPECT_EQ(game.advances.back(), 25);
  engine->LoopTurn();  // follows a 4 ms frame: sleeps 6
  EXPECT_EQ(sleeps, std::vector<uint32_t>{6});
  EXPECT_EQ(game.advances.back(), 10);
}

TEST_F(EngineTest, UpdateRectanglesAreClampedToTheScreen) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  engine->ApplyDisplaySettings();
  engine->AddUpdateRect({700, 0, 800, 10});  // right of the screen
  engine->AddUpdateRect({-20, -20, 0, 10});  // ends at the left edge
  engine->AddUpdateRect({640, 0, 700, 10});  // zero width after clamping
  EXPECT_FALSE(engine->IsUpdatePending());
  engine->AddUpdateRect({-5, -5, 10, 20});
  EXPECT_TRUE(engine->IsUpdatePending());
  ASSERT_EQ(engine->BackSurface()->GetDirtyRegion().Count(), 1);
  EXPECT_EQ(engine->BackSurface()->GetDirtyRegion().Rects()[0], (TRect{0, 0, 10, 20}));
  engine->ClearUpdateRects();
  EXPECT_FALSE(engine->IsUpdatePending());
  // Frames draw only when a rectangle was added.
  auto& game = Game<TProbeGame>();
  engine->LoopTurn();
  EXPECT_EQ(game.draws, 0);
  game.update = true;
  engine->LoopTurn();
  EXPECT_EQ(game.draws, 1);
}

TEST_F(EngineTest, DisplaySettingsFollowTheOptions) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  ASSERT_TRUE(engine->ApplyDisplaySettings());
  // Only the depth, while windowed: nothing changes.
  engine->SetOption("ScreenBPP", "8");
  EXPECT_TRUE(engine->ApplyDisplaySettings());
  EXPECT_EQ(engine->FullScreenDepth(), 16);  // 14 bits or less are raised to 16
  engine->SetOption("ScreenWidth", "320");
  engine->SetOption("ScreenHeight", "200");
  EXPECT_TRUE(engine->ApplyDisplaySettings());
  EXPECT_EQ(engine->BackSurface()->GetWidth(), 320);
  EXPECT_EQ(engine->BackSurface()->GetHeight(), 200);
  // A size that is no number leaves the display unusable, and frames undrawn.
  engine->SetOption("ScreenWidth", "wide");
  EXPECT_FALSE(engine->ApplyDisplaySettings());
  EXPECT_FALSE(engine->IsDisplayReady());
  EXPECT_EQ(engine->ColorToPixel(0x123456), 0u);
  engine->SetOption("ScreenWidth", "640");
  EXPECT_TRUE(engine->ApplyDisplaySettings());
  EXPECT_EQ(engine->ColorToPixel(0x123456), 0x123456u);
}

TEST_F(EngineTest, TheSystemCursorFollowsTheTwoFlags) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  engine->ApplyDisplaySettings();
  EXPECT_TRUE(engine->IsSystemCursorShown());
  engine->HideSystemCursor();
  EXPECT_FALSE(engine->IsSystemCursorShown());
  PushWindowEvent(SDL_WINDOWEVENT_LEAVE);  // over the frame: the system cursor shows
  Drain();
  EXPECT_TRUE(engine->IsSystemCursorShown());
  engine->ShowSystemCursor();  // the other flag is set: no change
  engine->HideSystemCursor();
  EXPECT_TRUE(engine->IsSystemCursorShown());
  PushWindowEvent(SDL_WINDOWEVENT_ENTER);
  Drain();
  EXPECT_FALSE(engine->IsSystemCursorShown());
}

TEST_F(EngineTest, LoadsResourceListsAndSkipsKnownNames) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  const std::string list = R"(<resources><content>
      <resource type="ImageResource" name="pic" file="data\img\p.png" format="png"/>
      <resource type="ImageResource" name="pic" file="data\img\other.png" format="png"/>
      <resource type="ImageResource" name="PIC" file="data\img\p.png" format="png"/>
      <resource type="NoSuchType" name="odd"/>
      <resource type="SoundResource" name="snd" file="missing.wav"/>
    </content></resources>)";
  dir.Write("data/res.xml", EncipherToHex(list, kGameKey));
  engine->ApplyDisplaySettings();
  engine->LoadResourceList("data\\res.xml", "first", true);
  ASSERT_TRUE(engine->FindResource("pic"));
  EXPECT_EQ(engine->FindResource("PIC")->GetName(), "pic");  // the first one stays
  EXPECT_FALSE(engine->FindResource("odd"));
  EXPECT_TRUE(engine->FindResource("snd"));  // registered without content (no audio)
  EXPECT_EQ(engine->FindResource("pic")->GetGroupName(), "first");
  EXPECT_EQ(engine->LoadText("data\\res.xml", kGameKey), list);
  EXPECT_EQ(engine->LoadText("data\\missing.xml", kGameKey), "");
  engine->UnloadResources("first");
  EXPECT_FALSE(engine->FindResource("pic"));
}

TEST_F(EngineTest, AListLoadedOverTheOthersTakesThePlacesOfItsNames) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  const Ref<TSurface> small = MakeRef<TSurface>(2, 2);
  dir.Write("data/img/q.png", EncodePng(*small));
  dir.Write("data/base.xml", EncipherToHex(R"(<resources><content>
      <resource type="ImageResource" name="pic" file="data\img\p.png" format="png"/>
      <resource type="ImageResource" name="keep" file="data\img\p.png" format="png"/>
    </content></resources>)",
                                           kGameKey));
  dir.Write("data/over.xml", EncipherToHex(R"(<resources><content>
      <resource type="ImageResource" name="PIC" file="data\img\q.png" format="png"/>
      <resource type="ImageResource" name="new" file="data\img\q.png" format="png"/>
    </content></resources>)",
                                           kGameKey));
  engine->ApplyDisplaySettings();
  engine->LoadResourceList("data\\base.xml", "base", false);
  const Ref<IResource> keep = engine->FindResource("keep");
  ASSERT_TRUE(keep);

  // A name taken in another case is replaced too; the rest stays as it was.
  engine->LoadResourceListOver("data\\over.xml", "over");
  ASSERT_TRUE(engine->FindImage("pic"));
  EXPECT_EQ(engine->FindResource("pic")->GetName(), "PIC");
  EXPECT_EQ(engine->FindResource("pic")->GetGroupName(), "over");
  EXPECT_EQ(engine->FindImage("pic")->GetWidth(), 2);
  EXPECT_EQ(engine->FindResource("new")->GetGroupName(), "over");
  EXPECT_EQ(engine->FindResource("keep"), keep);

  // Taken off again, the first list fills the names in; what it still had
  // stays the same object.
  engine->UnloadResources("over");
  EXPECT_FALSE(engine->FindResource("pic"));
  EXPECT_FALSE(engine->FindResource("new"));
  engine->LoadResourceList("data\\base.xml", "base", false);
  ASSERT_TRUE(engine->FindImage("pic"));
  EXPECT_EQ(engine->FindImage("pic")->GetWidth(), 8);
  EXPECT_EQ(engine->FindResource("keep"), keep);

  // A missing list removes nothing and says so.
  TDiagnosticsCollector errors;
  engine->LoadResourceListOver("data\\absent.xml", "over");
  EXPECT_TRUE(errors.Has("absent.xml"));
  EXPECT_TRUE(engine->FindResource("pic"));
}

TEST_F(EngineTest, UnconsumedMessagesPassTheHookAndOptionsReachAudio) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  engine->ApplyDisplaySettings();
  Drain();
  std::vector<uint32_t> seen;
  engine->SetMessageHook([&](const TMessage& m) { seen.push_back(m.message); });
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);   // handled, then default processing
  engine->GetWindowHandle()->InjectKeyPress("a");  // consumed by the game
  Drain();
  EXPECT_EQ(seen, std::vector<uint32_t>{WM_SETFOCUS});
  engine->ClearMessageHook();
  // Opening a file that does not exist does nothing at all.
  engine->OpenFile(R"(no\such\file.txt)");
  EXPECT_FALSE(engine->GetWindowHandle()->PeekMessage());
  engine->SetOption("MusicVolume", "55");
  engine->SetOption("SoundVolume", "150");
  EXPECT_EQ(engine->Audio().MusicVolume(), 55);
  EXPECT_EQ(engine->Audio().SoundVolume(), 100);
  EXPECT_EQ(VarToString(engine->GetOption("SoundVolume")), "150");
}

TEST_F(EngineTest, SoundAndMusicResourcesPlayThroughTheEngine) {
  ASSERT_TRUE(Start(R"(<game type="ProbeGame" name="g"/>)"));
  dir.Write("snd/click.wav", test::MakeWav(4410, 12000));
  dir.Write("snd/theme.ogg", test::ReadFile((test::EngineFixtures() / "tone.ogg").string()));
  const std::string list = R"(<resources><content>
      <resource type="SoundResource" name="click" file="snd\click.wav" master_volume="80" maxplaybacks="2"/>
      <resource type="MusicResource" name="theme" file="snd\theme.ogg" format="ogg"/>
    </content></resources>)";
  dir.Write("res.xml", EncipherToHex(list, kGameKey));
  engine->LoadResourceList("res.xml", "audio", false);
  ASSERT_TRUE(engine->Audio().Available());

  auto sound = MakeRef<TSound>();
  sound->SetResourceName("click");
  sound->SetVolume(50);
  uint32_t channel = engine->PlaySound(sound.get());
  ASSERT_NE(channel, 0u);
  int volume = 0;
  engine->Audio().Library().ChannelGetAttributes(channel, &volume, nullptr);
  EXPECT_EQ(volume, 28);  // 50 x 80 div 100 x 70 div 100
  // A sound widget asks for the channel's state and stops it through the
  // engine's channel service.
  ISoundChannels* channels = engine.get();
  EXPECT_EQ(channels->GetChannelState(channel), ISoundChannels::kChannelPlaying);
  EXPECT_EQ(channels->GetChannelState(channel + 1000), ISoundChannels::kChannelStopped);
  channels->StopChannel(channel);
  EXPECT_EQ(channels->GetChannelState(channel), ISoundChannels::kChannelStopped);
  channel = engine->PlaySound(sound.get());
  ASSERT_NE(channel, 0u);

  auto music = MakeRef<TMusic>();
  music->SetResourceName("theme");
  const uint32_t entry = engine->PlayMusic(music.get());
  ASSERT_NE(entry, 0u);
  EXPECT_EQ(engine->Audio().MusicStack(), std::vector<uint32_t>{entry});
  std::vector<float> out(2 * 4410);
  engine->Audio().Library().Mix(out.data(), 4410);
  EXPECT_NE(*std::max_element(out.begin(), out.end()), 0.0f);
  // Without the focus all output pauses.
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  Drain();
  engine->Audio().Library().Mix(out.data(), 4410);
  EXPECT_EQ(*std::max_element(out.begin(), out.end()), 0.0f);
  engine->StopAllSounds();
  EXPECT_EQ(engine->Audio().Library().ChannelIsActive(channel), TAudioLibrary::kStopped);
  engine->UnloadResources("audio");
  EXPECT_FALSE(engine->FindResource("theme"));
}

TEST_F(EngineTest, WithoutAnAudioDeviceTheGameRunsSilently) {
  WriteGame(R"(<game type="ProbeGame" name="g"/>)");
  const char* old = SDL_getenv("SDL_AUDIODRIVER");
  const std::string keep = old ? old : "dummy";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  engine = MakeRef<TEngine>();
  engine->Initialize();
  TEngineRunOptions run;
  run.fixedStepMs = 10;
  run.frameLimit = 2;
  engine->SetRunOptions(run);  // the default device
  const bool ok = engine->Init(kGameDescriptionFile);
  setenv("SDL_AUDIODRIVER", keep.c_str(), 1);
  ASSERT_TRUE(ok);
  EXPECT_FALSE(engine->Audio().Available());
  auto music = MakeRef<TMusic>();
  music->SetResourceName("anything");
  EXPECT_EQ(engine->PlayMusic(music.get()), 0u);
  engine->Run();
  EXPECT_EQ(engine->FrameCount(), 2);
}

TEST_F(EngineTest, WithoutAWindowInitFails) {
  WriteGame(R"(<game type="ProbeGame" name="g"/>)");
  const char* old = SDL_getenv("SDL_VIDEODRIVER");
  const std::string keep = old ? old : "";
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  engine = MakeRef<TEngine>();
  engine->Initialize();
  const bool ok = engine->Init(kGameDescriptionFile);
  setenv("SDL_VIDEODRIVER", keep.empty() ? "dummy" : keep.c_str(), 1);
  EXPECT_FALSE(ok);
  EXPECT_FALSE(engine->GetWindowHandle());
}

}  // namespace
}  // namespace qv
