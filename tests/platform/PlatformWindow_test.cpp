#include "platform/PlatformWindow.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace qv
