// The engine tests' probe game and fixture: an application folder in a
// temporary directory, an engine on it without an audio device, and helpers
// to push system events and run loop turns.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/Engine.h"
#include "app/ImageGame.h"
#include "app/RegisterTypes.h"
#include "core/Constants.h"
#include "core/Folders.h"
#include "graphics/ImageCodec.h"
#include "storage/Cipher.h"
#include "storage/ClassRegistry.h"
#include "support/TestSupport.h"

namespace qv {

// A game whose every call can be observed or steered by the test.
class TProbeGame : public TPersistObject, public IGame {
protected:
  ~TProbeGame() override = default;

public:
  void Start(IEngine* engine) override { engine_ = engine; }
  void Finish() override { ++finished; }
  void Advance(int dt) override {
    advances.push_back(dt);
    if (onAdvance) onAdvance(dt);
  }
  void Draw(ISurface*) override { ++draws; }
  bool MouseEvent(uint32_t message, TPoint point, uintptr_t) override {
    lastMouse = message;
    lastPoint = point;
    return true;
  }
  bool KeyEvent(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    keys.push_back({message, wParam, lParam});
    return handleKeys;
  }
  void FocusChanged(bool focused) override { focusChanges.push_back(focused); }
  bool CloseQuery() override {
    ++closeQueries;
    return allowClose;
  }
  void SetOption(const std::string&, const std::string&) override {}
  void CollectUpdates() override {
    if (update) engine_->AddUpdateRect({0, 0, 10, 10});
  }

  IEngine* engine_ = nullptr;
  std::vector<int> advances;
  std::function<void(int)> onAdvance;
  std::vector<TMessage> keys;
  std::vector<bool> focusChanges;
  uint32_t lastMouse = 0;
  TPoint lastPoint;
  int draws = 0, finished = 0, closeQueries = 0;
  bool allowClose = true, handleKeys = true, update = false;
};

inline void RegisterTestGames() {
  static const bool registered = [] {
    RegisterAllTypes();
    return true;
  }();
  (void)registered;
  if (!TClassRegistry::Instance().Find("ImageGame")) RegisterClass<TImageGame>("ImageGame");
  if (!TClassRegistry::Instance().Find("ProbeGame")) RegisterClass<TProbeGame>("ProbeGame");
}

class EngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    RegisterTestGames();
    SetApplicationPath(dir.Path().string());
    SetDataPathBase(dir.File("user"));
    const Ref<TSurface> pictureRef = MakeRef<TSurface>(8, 4);
    TSurface& picture = *pictureRef;
    picture.FillColor(0xFFFF0000u, nullptr, kBlendNormal, 255, {0, 0, 8, 4}, {0, 0, 8, 4});
    dir.Write("data/img/p.png", EncodePng(picture));
  }
  void TearDown() override {
    if (engine) engine->Done();
    SetDataPathBase("");
  }
  void WriteGame(const std::string& xml, bool encipher = true) {
    dir.Write("data/ini/Zintara.ini", encipher ? EncipherToHex(xml, kGameKey) : xml);
  }
  bool Start(const std::string& xml, TEngineRunOptions run = {}) {
    WriteGame(xml);
    engine = MakeRef<TEngine>();
    engine->Initialize();
    run.audioDevice = 0;
    engine->SetRunOptions(std::move(run));
    return engine->Init(kGameDescriptionFile);
  }
  // The engine reads `now` as its clock; sleeping records the time and
  // moves the clock on.
  void UseFakeClock(uint32_t& now, std::vector<uint32_t>& sleeps) {
    engine->SetClock({[&now] { return now; },
                      [&now, &sleeps](uint32_t ms) {
                        sleeps.push_back(ms);
                        now += ms;
                      }});
  }
  // Pushes an SDL event as if it came from the system.
  static void Push(SDL_Event e) { SDL_PushEvent(&e); }
  static void PushWindowEvent(uint8_t event) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_WINDOWEVENT;
    e.window.event = event;
    Push(e);
  }
  // Runs loop turns until every waiting message has been handled.
  void Drain() {
    for (int i = 0; i < 50 && engine->GetWindowHandle() && engine->GetWindowHandle()->PeekMessage(); ++i)
      engine->LoopTurn();
  }
  template <class T>
  T& Game() {
    return *QueryPtr<T>(engine->GetGame().get());
  }

  test::TempDir dir;
  test::ScopedCurrentDir keepDir{std::filesystem::current_path()};
  Ref<TEngine> engine;
};

}  // namespace qv
