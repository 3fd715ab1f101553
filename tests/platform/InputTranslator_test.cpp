#include "platform/InputTranslator.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace qv {
namespace {

SDL_Event Key(bool down, SDL_Keycode sym, uint16_t mods = 0, bool repeat = false) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.keysym.sym = sym;
  e.key.keysym.scancode = SDL_GetScancodeFromKey(sym);
  e.key.keysym.mod = mods;
  e.key.repeat = repeat ? 1 : 0;
  return e;
}

SDL_Event Button(bool down, uint8_t button, int x, int y, uint8_t clicks = 1) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.button = button;
  e.button.x = x;
  e.button.y = y;
  e.button.clicks = clicks;
  return e;
}

SDL_Event Text(const char* utf8) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_TEXTINPUT;
  std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
  return e;
}

SDL_Event Window(uint8_t event) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_WINDOWEVENT;
  e.window.event = event;
  return e;
}

class InputTranslatorTest : public ::testing::Test {
protected:
  std::vector<TMessage> Run(const SDL_Event& e) {
    std::vector<TMessage> out;
    translator.Translate(e, out);
    return out;
  }
  TInputTranslator translator;
};

TEST_F(InputTranslatorTest, KeysBecomeVirtualKeyMessagesWithTheirBits) {
  auto m = Run(Key(true, SDLK_a));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].message, WM_KEYDOWN);
  EXPECT_EQ(m[0].wParam, uintptr_t{'A'});
  EXPECT_EQ(m[0].lParam & 0xFFFF, 1);
  EXPECT_EQ(m[0].lParam & (KF_PREVDOWN | KF_UP | KF_ALTDOWN), 0);
  m = Run(Key(true, SDLK_a, 0, true));
  EXPECT_NE(m[0].lParam & KF_PREVDOWN, 0);
  m = Run(Key(false, SDLK_a));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].message, WM_KEYUP);
  EXPECT_EQ(m[0].lParam & (KF_PREVDOWN | KF_UP), KF_PREVDOWN | KF_UP);
  EXPECT_EQ(Run(Key(true, SDLK_F5))[0].wParam, VK_F1 + 4);
  EXPECT_EQ(Run(Key(true, SDLK_LEFT))[0].wParam, VK_LEFT);
  EXPECT_EQ(Run(Key(true, SDLK_7))[0].wParam, uintptr_t{'7'});
  EXPECT_EQ(Run(Key(true, SDLK_KP_3))[0].wParam, VK_NUMPAD0 + 3);
}

TEST_F(InputTranslatorTest, EditingKeysAlsoTypeTheirControlCharacters) {
  auto m = Run(Key(true, SDLK_RETURN));
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[1].message, WM_CHAR);
  EXPECT_EQ(m[1].wParam, 13u);
  EXPECT_EQ(Run(Key(true, SDLK_BACKSPACE))[1].wParam, 8u);
  EXPECT_EQ(Run(Key(true, SDLK_ESCAPE))[1].wParam, 27u);
  m = Run(Key(true, SDLK_c, KMOD_LCTRL));
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[1].wParam, 3u);
  // Text typed while Ctrl is held is not typed twice.
  EXPECT_TRUE(Run(Text("c")).empty());
}

TEST_F(InputTranslatorTest, AltWithACharacterOpensTheKeyMenu) {
  auto m = Run(Key(true, SDLK_RETURN, KMOD_LALT));
  ASSERT_EQ(m.size(), 2u);
  EXPECT_EQ(m[0].message, WM_SYSKEYDOWN);
  EXPECT_NE(m[0].lParam & KF_ALTDOWN, 0);
  EXPECT_EQ(m[1].message, WM_SYSCOMMAND);
  EXPECT_EQ(m[1].wParam, SC_KEYMENU);
  EXPECT_EQ(m[1].lParam, 13);
  m = Run(Key(true, SDLK_f, KMOD_LALT | KMOD_LSHIFT));
  EXPECT_EQ(m.back().lParam, intptr_t{'F'});
  // The text event of the same stroke is swallowed.
  EXPECT_TRUE(Run(Text("F")).empty());
  // Alt alone reaches the game as a system key, without a menu character.
  m = Run(Key(true, SDLK_LALT, KMOD_LALT));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].wParam, VK_MENU);
  m = Run(Key(false, SDLK_LALT, 0));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].message, WM_SYSKEYUP);
}

TEST_F(InputTranslatorTest, TextBecomesOneCharacterMessagePerCodePoint) {
  Run(Key(false, SDLK_LALT, 0));                // no modifiers held
  auto m = Run(Text("a\xC3\xA9\xE2\x82\xAC"));  // a, e acute, euro sign
  ASSERT_EQ(m.size(), 3u);
  EXPECT_EQ(m[0].wParam, uintptr_t{'a'});
  EXPECT_EQ(m[1].wParam, 0xE9u);
  EXPECT_EQ(m[2].wParam, 0x20ACu);
  for (const auto& c : m) EXPECT_EQ(c.message, WM_CHAR);
  m = Run(Text("\xC3"));  // a broken sequence gives the replacement character
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].wParam, 0xFFFDu);
}

TEST_F(InputTranslatorTest, MouseButtonsCarryThePointAndTheKeyState) {
  Run(Key(true, SDLK_LSHIFT, KMOD_LSHIFT));
  auto m = Run(Button(true, SDL_BUTTON_LEFT, 300, 200));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].message, WM_LBUTTONDOWN);
  EXPECT_EQ(LoWord(m[0].lParam), 300);
  EXPECT_EQ(HiWord(m[0].lParam), 200);
  EXPECT_EQ(m[0].wParam, MK_LBUTTON | MK_SHIFT);
  m = Run(Button(true, SDL_BUTTON_RIGHT, 1, 2));
  EXPECT_EQ(m[0].message, WM_RBUTTONDOWN);
  EXPECT_EQ(m[0].wParam, MK_LBUTTON | MK_RBUTTON | MK_SHIFT);
  m = Run(Button(false, SDL_BUTTON_LEFT, 1, 2));
  EXPECT_EQ(m[0].message, WM_LBUTTONUP);
  EXPECT_EQ(m[0].wParam, MK_RBUTTON | MK_SHIFT);
  // The second press of a double click, and negative points clamped.
  m = Run(Button(true, SDL_BUTTON_MIDDLE, -4, 7, 2));
  EXPECT_EQ(m[0].message, WM_MBUTTONDBLCLK);
  EXPECT_EQ(LoWord(m[0].lParam), 0);
  m = Run(Button(true, SDL_BUTTON_LEFT, 0, 0, 3));
  EXPECT_EQ(m[0].message, WM_LBUTTONDOWN);
  // Losing the focus forgets held buttons and modifiers.
  Run(Window(SDL_WINDOWEVENT_FOCUS_LOST));
  EXPECT_EQ(translator.KeyState(), 0u);
}

TEST_F(InputTranslatorTest, WindowEventsBecomeFocusCloseAndSystemCommands) {
  EXPECT_EQ(Run(Window(SDL_WINDOWEVENT_FOCUS_GAINED))[0].message, WM_SETFOCUS);
  EXPECT_EQ(Run(Window(SDL_WINDOWEVENT_FOCUS_LOST))[0].message, WM_KILLFOCUS);
  EXPECT_EQ(Run(Window(SDL_WINDOWEVENT_CLOSE))[0].message, WM_CLOSE);
  auto m = Run(Window(SDL_WINDOWEVENT_MINIMIZED));
  EXPECT_EQ(m[0].message, WM_SYSCOMMAND);
  EXPECT_EQ(m[0].wParam, SC_MINIMIZE);
  EXPECT_EQ(Run(Window(SDL_WINDOWEVENT_RESTORED))[0].wParam, SC_RESTORE);
  m = Run(Window(SDL_WINDOWEVENT_LEAVE));
  EXPECT_EQ(m[0].message, WM_NCHITTEST);
  EXPECT_FALSE(translator.PointerInside());
  SDL_Event quit;
  SDL_zero(quit);
  quit.type = SDL_QUIT;
  EXPECT_EQ(Run(quit)[0].message, WM_CLOSE);
  EXPECT_TRUE(Run(Window(SDL_WINDOWEVENT_MOVED)).empty());
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

SDL_Event PadButton(bool down, SDL_GameControllerButton button) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
  e.cbutton.button = static_cast<uint8_t>(button);
  return e;
}

SDL_Event PadAxis(SDL_GameControllerAxis axis, int value) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_CONTROLLERAXISMOTION;
  e.caxis.axis = static_cast<uint8_t>(axis);
  e.caxis.value = static_cast<int16_t>(value);
  return e;
}

// The messages as "DOWN 38", "UP 38", "CHAR 13".
std::vector<std::string> Names(const std::vector<TMessage>& messages) {
  std::vector<std::string> out;
  for (const TMessage& m : messages)
    out.push_back((m.message == WM_KEYDOWN ? "DOWN "
                   : m.message == WM_KEYUP ? "UP "
                                           : "CHAR ") +
                  std::to_string(m.wParam));
  return out;
}

TEST_F(InputTranslatorTest, AGamepadsButtonsAreTheKeyboardsKeys) {
  EXPECT_EQ(Names(Run(PadButton(true, SDL_CONTROLLER_BUTTON_DPAD_UP))),
            (std::vector<std::string>{"DOWN 38"}));
  EXPECT_EQ(Names(Run(PadButton(false, SDL_CONTROLLER_BUTTON_DPAD_UP))), (std::vector<std::string>{"UP 38"}));
  EXPECT_EQ(Names(Run(PadButton(true, SDL_CONTROLLER_BUTTON_A))),
            (std::vector<std::string>{"DOWN 13", "CHAR 13"}));
  EXPECT_EQ(Names(Run(PadButton(true, SDL_CONTROLLER_BUTTON_B))),
            (std::vector<std::string>{"DOWN 27", "CHAR 27"}));
  EXPECT_EQ(Names(Run(PadButton(true, SDL_CONTROLLER_BUTTON_START))), (std::vector<std::string>{"DOWN 19"}));
  EXPECT_EQ(Names(Run(PadButton(true, SDL_CONTROLLER_BUTTON_X))),
            (std::vector<std::string>{"DOWN 9", "CHAR 9"}));
  EXPECT_TRUE(Run(PadButton(true, SDL_CONTROLLER_BUTTON_GUIDE)).empty());
  // A key's release says it was down, as the keyboard's do.
  const std::vector<TMessage> up = Run(PadButton(false, SDL_CONTROLLER_BUTTON_A));
  ASSERT_EQ(up.size(), 1u);
  EXPECT_TRUE(up[0].lParam & KF_UP);
}

TEST_F(InputTranslatorTest, TheLeftStickPressesArrowsWithoutChattering) {
  EXPECT_TRUE(Run(PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 15000)).empty());  // not far enough
  EXPECT_EQ(Names(Run(PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 20000))), (std::vector<std::string>{"DOWN 39"}));
  // Resting between the two thresholds holds the key.
  EXPECT_TRUE(Run(PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 12000)).empty());
  EXPECT_TRUE(Run(PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 17000)).empty());
  EXPECT_EQ(Names(Run(PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 3000))), (std::vector<std::string>{"UP 39"}));
  // Flicked across: the old direction lets go and the new one presses.
  Run(PadAxis(SDL_CONTROLLER_AXIS_LEFTY, -30000));
  EXPECT_EQ(Names(Run(PadAxis(SDL_CONTROLLER_AXIS_LEFTY, 32767))),
            (std::vector<std::string>{"UP 38", "DOWN 40"}));
  EXPECT_TRUE(Run(PadAxis(SDL_CONTROLLER_AXIS_RIGHTX, 30000)).empty());  // the right stick is not used
}

}  // namespace
}  // namespace qv
