// A stand-in screen and engine for the control tests: the screen records
// capture, focus, control events and the screens shown or closed, and
// routes input as a game screen does; the engine adds the desktop opener,
// the pointer position and a font with the letters, digits and the space.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "controls/ControlsTypes.h"
#include "core/Messages.h"
#include "screens/IGameScreenOwner.h"
#include "screens/IGameScreenSlave.h"
#include "services/ICursorPosition.h"
#include "services/IDesktopOpener.h"
#include "storage/ClassRegistry.h"
#include "widgets/IEventHandler.h"
#include "widgets/IWidgetCollection.h"
#include "widgets/ResourceTestSupport.h"
#include "widgets/VisualWidget.h"

namespace qv::test {

class TControlEngine : public TResourceEngine, public IDesktopOpener, public ICursorPosition {
public:
  void OpenFile(const std::string& path) override { opened.push_back("file " + path); }
  void OpenURL(const std::string& address) override { opened.push_back("url " + address); }
  TPoint GetCursorPos() override { return pointer; }

  std::vector<std::string> opened;
  TPoint pointer{-1000, -1000};

protected:
  ~TControlEngine() override = default;
};

// Glyphs 4 x 6 (the space 2 x 6) for A-Z, a-z, 0-9 and the space.
inline Ref<TMemoryFont> LetterFont() {
  auto atlas = MakeRef<TSurface>(4 * 63, 6);
  auto font = MakeRef<TMemoryFont>(atlas);
  int x = 0;
  auto add = [&](char32_t c, int w) {
    font->AddGlyph(c, {x, 0, x + w, 6});
    x += w;
  };
  for (char32_t c = U'A'; c <= U'Z'; ++c) add(c, 4);
  for (char32_t c = U'a'; c <= U'z'; ++c) add(c, 4);
  for (char32_t c = U'0'; c <= U'9'; ++c) add(c, 4);
  add(U' ', 2);
  return font;
}

// A cell that records what it was told to show and where it was drawn:
// "text@x,y#colour".
class TRecordingCell : public TSingleWidget {
public:
  static inline std::vector<std::string> draws;

  void Draw(ISurface*, int x, int y) override {
    draws.push_back(text_ + "@" + std::to_string(x) + "," + std::to_string(y) + "#" + colour_);
  }

protected:
  ~TRecordingCell() override = default;
  bool GetSpecialProperty(const std::string& name, TVariant& value) override {
    if (name != "text" && name != "text_utf8") return TSingleWidget::GetSpecialProperty(name, value);
    value = text_;
    return true;
  }
  bool SetSpecialProperty(const std::string& name, const TVariant& value) override {
    if (name == "text" || name == "text_utf8") {
      text_ = VarToString(value);
      return true;
    }
    if (name == "fillcolor") {
      colour_ = VarToString(value);
      return true;
    }
    return TSingleWidget::SetSpecialProperty(name, value);
  }

private:
  std::string text_;
  std::string colour_;
};

// A control event as the screen saw it: "sender code" and the parameters
// as "NAME=value" joined by ";".
struct TRecordedEvent {
  std::string sender;
  int code = 0;
  std::string params;
};

class TControlScreen : public TAbstractObject,
                       public IWidgetOwner,
                       public IWindow,
                       public IEventHandler,
                       public IGameScreenOwner,
                       public IGameScreenSlave {
public:
  explicit TControlScreen(IInterface* engine) : engine_(engine) {}

  // IWidgetOwner, IGameScreenSlave
  const std::string& GetName() const override { return name_; }
  void SetName(const std::string& name) override { name_ = name; }
  IInterface* GetEngine() override { return engine_; }
  IWindow* GetWindow() override { return this; }
  IEventHandler* GetEventHandler() override { return this; }
  TPoint ScreenToChildLocal(TPoint point) override { return point; }
  Ref<IWidget> CreateWidget(const std::string&, IParamCollection*) override { return nullptr; }
  Ref<IWidget> FindWidget(const std::string& path) override {
    return root_ ? root_->FindWidget(path) : nullptr;
  }
  std::string GetFullPath() override { return name_; }
  void AddDirtyRect(const TRect&) override {}

  // IWindow, with the notifications of a game screen.
  void SetCapture(IWidget* widget) override {
    if (capture_ && capture_ != widget) capture_->CaptureLost();
    capture_ = widget;
    ++captures;
  }
  void ReleaseCapture() override {
    IWidget* old = capture_;
    capture_ = nullptr;
    if (old) old->CaptureLost();
  }
  IWidget* GetCapture() override { return capture_; }
  void SetFocus(IWidget* widget) override {
    if (focus_ == widget) return;
    if (focus_) focus_->FocusLost();
    focus_ = widget;
    if (focus_) focus_->FocusGained();
  }
  void ClearFocus() override {
    if (focus_) focus_->FocusLost();
    focus_ = nullptr;
  }
  IWidget* GetFocus() override { return focus_; }
  IWidgetCollection* GetRootChildren() override { return root_ ? root_->GetChildren() : nullptr; }
  void ResetInput() override { capture_ = focus_ = nullptr; }
  Ref<IWidget> WidgetAtPos(TPoint point) override { return root_ ? root_->WidgetAtPos(point) : nullptr; }
  void PlayScreenSound(const std::string& name) override { screenSounds.push_back(name); }
  void StopScreenSound(const std::string&) override {}

  // IEventHandler
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override {
    TRecordedEvent e{sender ? sender->GetName() : std::string(), code, Describe(params)};
    events.push_back(e);
  }
  IInterface* GetScreenOwner() override { return static_cast<IGameScreenOwner*>(this); }

  // IGameScreenOwner
  bool ShowScreen(const std::string& name, IParamCollection* params) override {
    shown.push_back(name + (params ? " " + Describe(params) : std::string()));
    return name != "unknown_screen";
  }
  bool CloseScreen(IGameScreenSlave* screen, IParamCollection*) override {
    closed.push_back(screen ? screen->GetName() : std::string("?"));
    return true;
  }
  ICursorCollection* GetCursors() override { return nullptr; }
  void SetOption(const std::string& name, const std::string& value) override { options[name] = value; }
  void SetOptionNoSave(const std::string& name, const std::string& value) override { options[name] = value; }
  TVariant GetOptionValue(const std::string& name) override {
    return options.count(name) ? TVariant(options[name]) : TVariant();
  }
  IGSCollection* GetScreens() override { return nullptr; }
  void SplashFinished() override {}
  std::map<std::string, std::string> options;

  // IGameScreenSlave (what the controls need of it is the name).
  void SetOwner(IGameScreenOwner*) override {}
  void Detach() override {}
  void Show(IParamCollection*) override {}
  void Hide() override {}
  void Activate() override {}
  void Deactivate() override {}
  void Update(int dt) override {
    if (root_) root_->Advance(dt);
  }
  void Draw(ISurface*) override {}
  TRect GetRect() override { return {}; }
  void Idle() override {}
  // Capture first, else the widget under the point that stops the mouse.
  bool MouseEvent(unsigned message, TPoint point, unsigned flags) override {
    if (capture_) return Ref<IWidget>(capture_)->MouseEvent(message, point, flags);
    const Ref<IWidget> hit = WidgetAtPos(point);
    return hit && hit->IsMouseStop() && hit->MouseEvent(message, point, flags);
  }
  // The focus widget first; an unhandled Tab key-up moves the focus to the
  // next focusable child of the root, wrapping around.
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override {
    if (!focus_) SetFocus(NextFocusable(-1).get());
    if (!focus_) return false;
    if (Ref<IWidget>(focus_)->KeyEvent(message, key, flags)) return true;
    if (message != WM_KEYUP || key != VK_TAB) return false;
    IWidgetCollection* children = GetRootChildren();
    SetFocus(NextFocusable(children->IndexOfName(focus_->GetName())).get());
    return focus_ != nullptr;
  }
  void WindowFocusChanged(bool) override {}
  void ScreenClosed(const std::string&, IParamCollection*) override {}
  Ref<IWidget> GetRootWidget() override { return root_; }
  bool UpdateDirty() override { return true; }
  bool IsVisible() override { return true; }

  void SetRoot(const Ref<IWidget>& root) {
    if (root_) root_->Detach();
    capture_ = focus_ = nullptr;
    root_ = root;
    if (root_) root_->SetOwner(this);
  }
  // One frame: time, then the dirty pass.
  void Frame(int dt) {
    Update(dt);
    if (root_) root_->UpdateDirtyRegion(false, false);
  }
  std::string EventsText() const {
    std::string out;
    for (const auto& e : events) out += (out.empty() ? "" : ", ") + e.sender + " " + std::to_string(e.code);
    return out;
  }

  std::vector<TRecordedEvent> events;
  std::vector<std::string> shown;
  std::vector<std::string> closed;
  std::vector<std::string> screenSounds;
  int captures = 0;

protected:
  ~TControlScreen() override {
    if (root_) root_->Detach();
  }

private:
  static std::string Describe(IParamCollection* params) {
    std::string out;
    for (int i = 0; params && i < params->GetParamCount(); ++i) {
      const Ref<IParam> p = params->GetParamAt(i);
      out += (out.empty() ? "" : ";") + p->GetName() + "=" + VarToString(p->GetValue());
    }
    return out;
  }
  Ref<IWidget> NextFocusable(int start) {
    IWidgetCollection* children = GetRootChildren();
    if (!children) return nullptr;
    const int count = children->GetCount();
    auto ok = [&](int i) {
      const Ref<IWidget> w = children->GetWidget(i);
      return w->IsTabStop() && w->IsVisible();
    };
    for (int i = std::max(start + 1, 0); i < count; ++i)
      if (ok(i)) return children->GetWidget(i);
    for (int i = 0; i <= std::min(count - 1, start); ++i)
      if (ok(i)) return children->GetWidget(i);
    return nullptr;
  }

  IInterface* engine_;
  std::string name_ = "screen";
  Ref<IWidget> root_;
  IWidget* capture_ = nullptr;
  IWidget* focus_ = nullptr;
};

// The fixture: functions, widgets and controls registered, the engine with
// the font "font", and a screen whose root is a group of the controls.
class TControlTest : public ::testing::Test {
protected:
  void SetUp() override {
    TClassRegistry::Instance().Reset();
    RegisterFunctionsTypes();
    RegisterWidgetsTypes();
    RegisterControlsTypes();
    RegisterClass<TRecordingCell>("recording_cell");
    TRecordingCell::draws.clear();
    engine->Add("font", LetterFont());
  }
  void TearDown() override {
    screen->SetRoot(nullptr);
    TClassRegistry::Instance().Reset();
  }
  // A visible, mouse-stopping root group holding the given widget nodes.
  Ref<IWidget> Attach(const std::string& widgets) {
    Ref<IWidget> root =
        WidgetFromXml(R"(<widget type="group_widget" name="root" visible="yes" mousestop="yes"><widgets>)" +
                      widgets + "</widgets></widget>");
    EXPECT_TRUE(root) << widgets;
    screen->SetRoot(root);
    return root;
  }
  template <class T>
  Ref<T> Control(const std::string& path) {
    Ref<T> control = Query<T>(screen->FindWidget(path));
    EXPECT_TRUE(control) << path;
    return control;
  }
  bool Mouse(unsigned message, int x, int y) { return screen->MouseEvent(message, {x, y}, 0); }
  bool Key(unsigned message, unsigned key) { return screen->KeyEvent(message, key, 0); }
  // Key-down and key-up.
  void Press(unsigned key) {
    Key(WM_KEYDOWN, key);
    Key(WM_KEYUP, key);
  }
  void Type(const std::string& text) {
    for (char c : text) Key(WM_CHAR, static_cast<unsigned char>(c));
  }
  int Played(const std::string& sound) const {
    int n = 0;
    for (const auto& p : engine->played)
      if (p.rfind(sound + " ", 0) == 0) ++n;
    return n;
  }

  Ref<TControlEngine> engine = MakeRef<TControlEngine>();
  Ref<TControlScreen> screen = MakeRef<TControlScreen>(engine.get());
};

}  // namespace qv::test
