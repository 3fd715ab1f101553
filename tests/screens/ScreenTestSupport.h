// What the screen tests share: a control-like test widget, a screen that
// logs its hooks, and a small stand-in game that keeps the stack of shown
// screens as the game does (show pushes and deactivates the top; close
// hides the top, which leaves once its root is invisible).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/Messages.h"
#include "screens/CursorCollection.h"
#include "screens/GSCollection.h"
#include "screens/GameScreen.h"
#include "screens/IClickable.h"
#include "screens/IGameScreenOwner.h"
#include "screens/ScreensTypes.h"
#include "storage/XMLStorage.h"
#include "widgets/IEventHandler.h"
#include "widgets/RectWidget.h"
#include "widgets/WidgetTestSupport.h"

namespace qv::test {

// What the test widgets and screens did, in order.
inline std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}

// A rectangle with the flags of a control ("tabstop", "enabled"): it logs
// focus, keys and mouse events, handles the key "handles" names, reports a
// click (code 1) on a left button release and can be pressed by the
// keyboard.
class TTestControl : public TRectWidget, public IClickable {
public:
  QV_PROPERTY_TABLE(TTestControl)

  bool IsEnabled() const override { return enabled_; }
  void SetEnabled(bool value) override { enabled_ = value; }
  bool IsTabStop() const override { return tabStop_; }
  void SetTabStop(bool value) override { tabStop_ = value; }
  void FocusGained() override { Log().push_back("gained " + GetName()); }
  void FocusLost() override { Log().push_back("lost " + GetName()); }
  void CaptureLost() override { Log().push_back("capturelost " + GetName()); }
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override {
    (void)flags;
    Log().push_back("key " + GetName() + " " + std::to_string(message) + " " + std::to_string(key));
    return static_cast<int>(key) == handles_;
  }
  bool MouseEvent(unsigned message, TPoint point, unsigned flags) override {
    (void)flags;
    Log().push_back("mouse " + GetName() + " " + std::to_string(message) + " " + std::to_string(point.x) +
                    "," + std::to_string(point.y));
    if (message == WM_LBUTTONUP && owner_)
      if (IEventHandler* handler = owner_->GetEventHandler()) handler->OnControlEvent(this, ccClick, nullptr);
    return true;
  }
  bool Click() override {
    Log().push_back("click " + GetName());
    return true;
  }

protected:
  ~TTestControl() override = default;

private:
  bool enabled_ = false;
  bool tabStop_ = false;
  int handles_ = 0;
};

inline const TPropertyTable<TTestControl>& TTestControl::Properties() {
  using W = TTestControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TRectWidget::Properties())
                                             .Bool("enabled", &W::enabled_)
                                             .WhenTrue()
                                             .Bool("tabstop", &W::tabStop_)
                                             .WhenTrue()
                                             .Int("handles", &W::handles_);
  return table;
}

// A screen that logs its hooks.
class TProbeScreen : public TGameScreen {
public:
  void OnShow() override {
    Log().push_back("OnShow " + GetName());
    TGameScreen::OnShow();
  }
  void OnHide() override {
    Log().push_back("OnHide " + GetName());
    TGameScreen::OnHide();
  }
  void BeforeShow(IParamCollection* params) override {
    Log().push_back("BeforeShow " + GetName() +
                    (params ? " " + VarToString(params->GetParamValueDef("x", {})) : ""));
  }
  void AfterAppear() override { Log().push_back("AfterAppear " + GetName()); }
  void ScreenClosed(const std::string& closed, IParamCollection* result) override {
    Log().push_back("ScreenClosed " + GetName() + " " + closed +
                    (result ? " " + VarToString(result->GetParamValueDef("answer", {})) : ""));
  }
  void OnControlEvent(IWidget* sender, int code, IParamCollection*) override {
    Log().push_back("control " + GetName() + " " + sender->GetName() + " " + std::to_string(code));
  }

protected:
  ~TProbeScreen() override = default;
};

// The game as the screens see it, with the stack of shown screens.
class TStackGame : public TAbstractObject, public IGameScreenOwner {
public:
  explicit TStackGame(IInterface* engine) : engine_(engine) { screens->Initialize(); }

  bool ShowScreen(const std::string& name, IParamCollection* params) override {
    for (const auto& shown : stack)
      if (shown->GetName() == name) return true;
    const Ref<IGameScreenSlave> screen = screens->GetItem(name);
    if (!screen) return false;
    if (!stack.empty()) stack.back()->Deactivate();
    stack.push_back(screen);
    screen->Show(params);
    return true;
  }
  bool CloseScreen(IGameScreenSlave* screen, IParamCollection* result) override {
    if (stack.empty() || stack.back().get() != screen) return false;
    screen->Hide();
    closeParams = Ref<IParamCollection>(result);
    RemoveClosed();
    return true;
  }
  IInterface* GetEngine() override { return engine_; }
  ICursorCollection* GetCursors() override { return cursors.get(); }
  void SetOption(const std::string& name, const std::string& value) override { options[name] = value; }
  void SetOptionNoSave(const std::string& name, const std::string& value) override { options[name] = value; }
  TVariant GetOptionValue(const std::string& name) override {
    return options.count(name) ? TVariant(options[name]) : TVariant();
  }
  IGSCollection* GetScreens() override { return nullptr; }
  void SplashFinished() override {}
  std::map<std::string, std::string> options;

  void Add(const Ref<IGameScreenSlave>& screen) {
    screens->AddScreen(screen);
    screen->SetOwner(this);
  }
  // As the game does: a screen told of a closed one may show or close
  // others, so the walk checks its place again at every step.
  void RemoveClosed() {
    for (int i = static_cast<int>(stack.size()) - 1; i >= 0; --i) {
      if (i >= static_cast<int>(stack.size()) || stack[i]->IsVisible()) continue;
      const Ref<IGameScreenSlave> closed = stack[i];
      closed->UpdateDirty();
      stack.erase(stack.begin() + i);
      if (i > 0) {
        stack[i - 1]->Activate();
        stack[i - 1]->ScreenClosed(closed->GetName(), closeParams.get());
      }
    }
  }
  // A frame: the top screen's time, closed screens removed, the dirty pass.
  void Frame(int dt) {
    if (!stack.empty()) stack.back()->Update(dt);
    RemoveClosed();
    for (const auto& screen : stack) screen->UpdateDirty();
  }
  bool Mouse(unsigned message, TPoint p) { return !stack.empty() && stack.back()->MouseEvent(message, p, 0); }
  bool Key(unsigned message, unsigned key) {
    return !stack.empty() && stack.back()->KeyEvent(message, key, 0);
  }
  void DetachAll() {
    for (int i = 0; i < screens->GetCount(); ++i) screens->GetItem(i)->Detach();
    stack.clear();
  }

  Ref<TGSCollection> screens = MakeRef<TGSCollection>();
  std::vector<Ref<IGameScreenSlave>> stack;
  Ref<TCursorCollection> cursors;
  Ref<IParamCollection> closeParams;

protected:
  ~TStackGame() override = default;

private:
  IInterface* engine_;
};

// What every fixture on a stand-in game (a TStackGame or one derived from
// it) needs: the game, screens made from XML and added to it, frames, a
// click on the top screen, and the game's screens let go at the end.
template <class Game>
class TStackGameTest : public TWidgetTest {
protected:
  void TearDown() override {
    game->DetachAll();
    TWidgetTest::TearDown();
  }
  Ref<TGameScreen> Screen(const std::string& xml) {
    Ref<TGameScreen> screen = CreateFromNodeAs<TGameScreen>(LoadStorageText(xml));
    EXPECT_TRUE(screen) << xml;
    if (screen) game->Add(screen);
    return screen;
  }
  void Frames(int count, int step = 10) {
    for (int i = 0; i < count; ++i) game->Frame(step);
  }
  // A press and release at the point, on the top screen.
  void Click(TPoint at) {
    game->Mouse(WM_LBUTTONDOWN, at);
    game->Mouse(WM_LBUTTONUP, at);
  }

  Ref<Game> game = MakeRef<Game>(engine.get());
};

// The fixture: widgets, screens and the test kinds registered, a fake
// engine and a stand-in game.
class TScreenTest : public TStackGameTest<TStackGame> {
protected:
  void SetUp() override {
    TWidgetTest::SetUp();
    RegisterScreensTypes();
    RegisterClass<TTestControl>("test_control");
    RegisterClass<TProbeScreen>("ProbeScreen");
    Log().clear();
  }
  std::string TakeLog() {
    std::string text;
    for (const std::string& line : Log()) text += (text.empty() ? "" : "|") + line;
    Log().clear();
    return text;
  }
};

}  // namespace qv::test
