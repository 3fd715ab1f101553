// Game screens as the game shows them: the storage text of one
// "gamescreen" (controls, effects and all) in a game object on an engine
// without a window, shown, run for a few frames and given the input a
// player gives (Tab, Enter, Escape, clicks and typing), then closed.
#include "FuzzSupport.h"
#include "app/Engine.h"
#include "app/Game.h"
#include "controls/ControlsTypes.h"
#include "core/Messages.h"
#include "graphics/Surface.h"
#include "screens/ScreensTypes.h"
#include "storage/ClassRegistry.h"
#include "storage/XMLStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  static const bool registered = [] {
    if (!TClassRegistry::Instance().Find("GameScreen")) {
      RegisterScreensTypes();
      RegisterControlsTypes();
    }
    return true;
  }();
  (void)registered;
  TEngine* engine = &fuzz::HeadlessEngine();
  const StorageRef root = LoadStorageText(std::string(fuzz::Bytes(data, size)));
  if (!root) return 0;
  const Ref<IGameScreenSlave> screen = CreateFromNodeAs<IGameScreenSlave>(root);
  if (!screen) return 0;
  const Ref<TGame> game = MakeRef<TGame>();
  game->Initialize();
  game->SetDataFolder(fuzz::Scratch() + "/");
  screen->SetName("fuzzed");
  game->Screens().AddScreen(screen);
  game->Start(engine);
  game->Advance(10);
  game->ShowScreen("fuzzed", nullptr);
  const Ref<TSurface> target = MakeRef<TSurface>(320, 240, false);
  const struct {
    uint32_t message;
    uintptr_t w;
  } keys[] = {{WM_KEYDOWN, VK_TAB},  {WM_KEYUP, VK_TAB}, {WM_CHAR, 'a'},          {WM_KEYDOWN, VK_RETURN},
              {WM_KEYUP, VK_RETURN}, {WM_CHAR, 8},       {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYDOWN, VK_HOME}};
  for (int frame = 0; frame < 8; ++frame) {
    const TPoint at{static_cast<int>((size * 7 + frame * 37) % 320),
                    static_cast<int>((size * 3 + frame * 29) % 240)};
    game->MouseEvent(WM_MOUSEMOVE, at, 0);
    game->MouseEvent(WM_LBUTTONDOWN, at, MK_LBUTTON);
    game->MouseEvent(WM_LBUTTONUP, at, 0);
    game->KeyEvent(keys[frame].message, keys[frame].w, 0);
    game->Advance(frame == 4 ? 400 : 17);
    game->CollectUpdates();
    game->Draw(target.get());
    engine->ClearUpdateRects();
  }
  game->CloseScreen(screen.get(), nullptr);
  game->Advance(1000);
  game->Finish();
  return 0;
}
