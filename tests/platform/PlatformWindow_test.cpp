#include "platform/PlatformWindow.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace qv {
namespace {

// Runs under SDL's dummy video driver (set by CTest).
class PlatformWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    window = TPlatformWindow::Create("test");
    ASSERT_TRUE(window);
  }
  std::unique_ptr<TPlatformWindow> window;
};

TEST_F(PlatformWindowTest, SwitchesBetweenWindowAndFullScreenAndPresents) {
  std::vector<uint32_t> pixels(320 * 200, 0xFF336699u);
  EXPECT_FALSE(window->Present(pixels.data(), 320, 200, 320 * 4));  // no display yet
  bool restored = true;
  EXPECT_FALSE(window->SurfacesUsable(restored));
  ASSERT_TRUE(window->SetWindowed(320, 200));
  EXPECT_FALSE(window->IsFullScreen());
  EXPECT_TRUE(window->SurfacesUsable(restored));
  EXPECT_FALSE(restored);
  EXPECT_TRUE(window->Present(pixels.data(), 320, 200, 320 * 4));
  EXPECT_FALSE(window->Present(pixels.data(), 640, 480, 640 * 4));  // not the screen size
  ASSERT_TRUE(window->SetFullScreen(320, 200));
  EXPECT_TRUE(window->IsFullScreen());
  EXPECT_TRUE(window->Present(pixels.data(), 320, 200, 320 * 4));
  ASSERT_TRUE(window->SetWindowed(320, 200));
  EXPECT_FALSE(window->IsFullScreen());
  EXPECT_FALSE(window->SetWindowed(0, 200));
  window->SetCaption("Caption");
  EXPECT_GE(window->DesktopBitsPerPixel(), 8);
}

TEST_F(PlatformWindowTest, MessagesQueueInOrderAndACloseDestroysTheWindow) {
  window->PostMessage({0x0400u, 1, 2});
  window->PostQuitMessage(3);
  TMessage m;
  ASSERT_TRUE(window->GetMessage(m));
  EXPECT_EQ(m.message, 0x0400u);
  ASSERT_TRUE(window->GetMessage(m));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_EQ(window->DefaultProc({WM_NCHITTEST, 1, 0}), HTCLIENT);
  EXPECT_EQ(window->DefaultProc({WM_NCHITTEST, 0, 0}), HTNOWHERE);
  window->DefaultProc({WM_CLOSE, 0, 0});
  EXPECT_TRUE(window->IsDestroyed());
  ASSERT_TRUE(window->GetMessage(m));
  EXPECT_EQ(m.message, WM_DESTROY);
  // A destroyed window refuses the display quietly.
  EXPECT_FALSE(window->SetWindowed(320, 200));
  window->DefaultProc({WM_CLOSE, 0, 0});
  EXPECT_FALSE(window->PeekMessage());
}

TEST_F(PlatformWindowTest, InjectedInputIsTranslatedLikeRealInput) {
  ASSERT_TRUE(window->SetWindowed(320, 200));
  while (window->PeekMessage()) {
    TMessage skip;
    window->GetMessage(skip);
  }
  window->InjectMouseButton(30, 40, 1, true);
  ASSERT_TRUE(window->InjectKeyPress("shift+q"));
  EXPECT_FALSE(window->InjectKeyPress("NoSuchKey"));
  std::vector<TMessage> got;
  TMessage m;
  while (window->GetMessage(m)) got.push_back(m);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0].message, WM_LBUTTONDOWN);
  EXPECT_EQ(LoWord(got[0].lParam), 30);
  EXPECT_EQ(HiWord(got[0].lParam), 40);
  EXPECT_EQ(got[1].message, WM_KEYDOWN);
  EXPECT_EQ(got[1].wParam, uintptr_t{'Q'});
  EXPECT_EQ(got[2].message, WM_CHAR);
  EXPECT_EQ(got[2].wParam, uintptr_t{'Q'});
  EXPECT_EQ(got[3].message, WM_KEYUP);
  // The software cursor follows the injected pointer (SDL's own does not
  // move) until the program warps it.
  int x = 0, y = 0;
  window->GetCursorPos(x, y);
  EXPECT_EQ(x, 30);
  EXPECT_EQ(y, 40);
  window->Injected().MouseMove(100, 120);
  window->GetCursorPos(x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 120);
  // ... also once the injected move has come back through the queue (it
  // is no real mouse's motion).
  ASSERT_TRUE(window->GetMessage(m));
  EXPECT_EQ(m.message, WM_MOUSEMOVE);
  window->GetCursorPos(x, y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 120);
  window->SetCursorPos(5, 6);
  window->GetCursorPos(x, y);
  EXPECT_NE(std::make_pair(x, y), std::make_pair(100, 120));
  EXPECT_TRUE(TPlatformWindow::IsKeyName("LShift"));
  EXPECT_TRUE(TPlatformWindow::IsKeyName("alt+Left_Shift"));
  EXPECT_FALSE(TPlatformWindow::IsKeyName("alt+"));
}

struct TAt {
  int x, y;
};

// A press of the system's mouse at a place of the window (its own pixels),
// as SDL reports it; the logical point the message carries.
TAt PressAt(TPlatformWindow& window, int wx, int wy) {
  while (window.PeekMessage()) {
    TMessage skip;
    window.GetMessage(skip);
  }
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.windowID = window.SdlWindowId();
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = SDL_PRESSED;
  e.button.clicks = 1;
  e.button.x = wx;
  e.button.y = wy;
  SDL_PushEvent(&e);
  TMessage m;
  while (window.GetMessage(m))
    if (m.message == WM_LBUTTONDOWN) return {LoWord(m.lParam), HiWord(m.lParam)};
  return {-1, -1};
}

TEST_F(PlatformWindowTest, TheMouseHitsTheSameBackSurfacePixelAtEveryScale) {
  // Every corner and a middle pixel, pressed anywhere inside its scaled
  // square of window pixels.
  const TAt pixels[] = {{0, 0}, {639, 0}, {0, 479}, {639, 479}, {321, 123}};
  for (const int scale : {1, 2, 3}) {
    ASSERT_TRUE(window->SetWindowed(640, 480, scale));
    ASSERT_EQ(window->Scale(), scale);
    for (const TAt p : pixels)
      for (const int inside : {0, scale - 1}) {
        const TAt got = PressAt(*window, p.x * scale + inside, p.y * scale + inside);
        EXPECT_EQ(got.x, p.x) << "scale " << scale << " at " << p.x << "," << p.y << " + " << inside;
        EXPECT_EQ(got.y, p.y) << "scale " << scale << " at " << p.x << "," << p.y << " + " << inside;
      }
  }
  // Full screen: the picture as large as the display allows with its
  // aspect kept, centred; the bars beside it belong to the nearest edge.
  ASSERT_TRUE(window->SetFullScreen(640, 480));
  int w = 0, h = 0;
  SDL_GetWindowSize(SDL_GetWindowFromID(window->SdlWindowId()), &w, &h);
  ASSERT_GT(w, 0);
  const double factor = std::min(w / 640.0, h / 480.0);
  const double left = (w - 640 * factor) / 2, top = (h - 480 * factor) / 2;
  for (const TAt p : pixels) {
    const TAt got = PressAt(*window, static_cast<int>(left + (p.x + 0.5) * factor),
                            static_cast<int>(top + (p.y + 0.5) * factor));
    EXPECT_EQ(got.x, p.x) << "full screen " << w << "x" << h << " at " << p.x << "," << p.y;
    EXPECT_EQ(got.y, p.y) << "full screen " << w << "x" << h << " at " << p.x << "," << p.y;
  }
  ASSERT_TRUE(window->SetWindowed(640, 480));
}

}  // namespace
}  // namespace qv
