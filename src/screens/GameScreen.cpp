#include "screens/GameScreen.h"

#include <algorithm>
#include <functional>

#include "core/Diagnostics.h"
#include "core/Messages.h"
#include "core/Parsing.h"
#include "core/Trace.h"
#include "screens/IClickable.h"
#include "screens/ICursor.h"
#include "screens/ICursorCollection.h"
#include "services/IMusicPlayer.h"
#include "services/ISoundPlayer.h"
#include "services/IUpdateRegion.h"
#include "storage/StorageAccess.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

// What the root's owner chain hands the controls as their event handler:
// the observer sees the event first, then the screen reacts.
class TGameScreen::TEventEntry : public TAbstractObject, public IEventHandler {
public:
  explicit TEventEntry(TGameScreen& screen) : screen_(screen) {}

  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override {
    if (TTrace::On())
      TTrace::Emit("control", {{"screen", TTrace::Text(screen_.GetName())},
                               {"sender", TTrace::Text(sender ? sender->GetName() : std::string())},
                               {"code", TTrace::Number(code)}});
    if (screen_.observer_) screen_.observer_->ControlEventSeen(screen_, sender, code, params);
    screen_.OnControlEvent(sender, code, params);
  }
  IInterface* GetEngine() override { return screen_.GetEngine(); }
  IInterface* GetScreenOwner() override { return screen_.GetScreenOwner(); }

protected:
  ~TEventEntry() override = default;

private:
  TGameScreen& screen_;
};

const TPropertyTable<TGameScreen>& TGameScreen::Properties() {
  using S = TGameScreen;
  static const TPropertyTable<S> table =
      TPropertyTable<S>(TPropertyObject::Properties()).String("cursor_name", &S::cursorName_);
  return table;
}

TGameScreen::TGameScreen() : musics_(MakeRef<TMusicCollection>()), root_(MakeRef<TAppearanceEffectWdiget>()) {
  SetStorageName("gamescreen");
  musics_->Initialize();
  root_->Initialize();
  root_->SetMouseStop(true);
  entry_ = MakeRef<TEventEntry>(*this);
}

TGameScreen::~TGameScreen() {
  root_->Detach();
}

namespace {

// "left" or "top" of the window: a text that is no number is reported and
// counts as 0.
int ReadWindowCoordinate(const StorageRef& window, const std::string& key, const std::string& screen) {
  const std::string text = ReadString(window, key, "0");
  const int value = ParseIntDefault(text, 0);
  if (value == 0 && ParseIntDefault(text, 1) != 0)
    ReportDataError("gamescreen " + screen + "@" + key, "\"" + text + "\" is not a number; 0 is used");
  return value;
}

}  // namespace

void TGameScreen::LoadFromStorage(const StorageRef& storage) {
  TPropertyObject::LoadFromStorage(storage);
  if (!storage) return;
  const StorageRef window = storage->GetChild("window", 0);
  if (!window) return;
  windowLeft_ = ReadWindowCoordinate(window, "left", GetName());
  windowTop_ = ReadWindowCoordinate(window, "top", GetName());
  root_->Load(window);
  root_->SetAnchorLeft(windowLeft_);
  root_->SetAnchorTop(windowTop_);
  root_->SetMouseStop(true);
  if (const StorageRef musics = window->GetChild("musics", 0)) musics_->Load(musics);
}

void TGameScreen::SaveToStorage(const StorageRef& storage) {
  TPropertyObject::SaveToStorage(storage);
  if (!storage) return;
  const StorageRef window = storage->AddChild("window");
  if (!window) return;
  WriteInt(window, "left", windowLeft_);
  WriteInt(window, "top", windowTop_);
  // The root writes its sounds (the screen's) with its other content.
  root_->Save(window);
  if (musics_->Count() > 0) musics_->Save(window->AddChild("musics"));
}

// --- owner and life -------------------------------------------------------------------

void TGameScreen::SetOwner(IGameScreenOwner* game) {
  owner_ = game;
  root_->SetOwner(game ? this : nullptr);
}

void TGameScreen::Detach() {
  capture_ = nullptr;
  focus_ = nullptr;
  owner_ = nullptr;
  root_->Detach();
}

void TGameScreen::OnShow() {
  PlayScreenSound("sound_show_window");
  if (const Ref<IMusic> music = musics_->FindMusic("music_background"))
    if (auto* player = Service<IMusicPlayer>()) player->PlayMusic(music.get());
}

void TGameScreen::OnHide() {
  PlayScreenSound("sound_hide_window");
  if (const Ref<IMusic> music = musics_->FindMusic("music_background"))
    if (auto* player = Service<IMusicPlayer>()) player->StopMusic(music.get());
}

void TGameScreen::Show(IParamCollection* params) {
  appearing_ = 1;
  hiding_ = false;
  BeforeShow(params);
  active_ = true;
  OnShow();
  ResetInput();
  if (const Ref<IWidget> first = FindFocusable(-1)) ChangeFocus(first);
  if (ICursorCollection* cursors = owner_ ? owner_->GetCursors() : nullptr) {
    const Ref<ICursor> current = cursors->GetCurrentCursor();
    previousCursorName_ = current ? current->GetName() : std::string();
    const std::string name = cursorName_.empty() ? cursors->GetDefaultCursorName() : cursorName_;
    if (!name.empty() && !cursors->SetCurrentCursor(name))
      ReportDataError("gamescreen " + GetName() + "@cursor_name", "no cursor named \"" + name + "\"");
  }
  root_->SetVisible(true);
  AppearanceCheck();
}

void TGameScreen::Hide() {
  OnHide();
  // A screen that goes before it has appeared never gets AfterAppear.
  appearing_ = 0;
  hiding_ = true;
  if (focus_) ChangeFocus(nullptr);
  root_->SetVisible(false);
  ICursorCollection* cursors = owner_ ? owner_->GetCursors() : nullptr;
  if (cursors && !previousCursorName_.empty()) cursors->SetCurrentCursor(previousCursorName_);
}

void TGameScreen::AppearanceCheck() {
  if (appearing_ != 1) return;
  if (VarToBool(root_->GetPropertyValue("applyingeffect"))) return;
  appearing_ = 0;
  AfterAppear();
}

void TGameScreen::Update(int dt) {
  if (!active_) return;
  root_->Advance(dt);
  AppearanceCheck();
}

void TGameScreen::Draw(ISurface* target) {
  if (!target || !root_->IsVisible()) return;
  root_->Draw(target, RoundEven(root_->GetAnchorLeft()), RoundEven(root_->GetAnchorTop()));
}

TRect TGameScreen::GetRect() {
  return root_->GetRect();
}

bool TGameScreen::UpdateDirty() {
  if (active_ || wasActive_) root_->UpdateDirtyRegion(false, false);
  wasActive_ = active_;
  return active_;
}

// --- input ----------------------------------------------------------------------------------

void TGameScreen::ForgetDetached() {
  // A widget removed from the tree while it held the capture or the focus
  // is let go without notification: it is no longer on this screen.
  if (capture_ && !capture_->GetOwner()) capture_ = nullptr;
  if (focus_ && !focus_->GetOwner()) ChangeFocus(nullptr);
}

bool TGameScreen::MouseEvent(unsigned message, TPoint point, unsigned flags) {
  if (!active_ || hiding_) return false;
  ForgetDetached();
  if (capture_) {
    const Ref<IWidget> capture = capture_;
    return capture->MouseEvent(message, point, flags);
  }
  const Ref<IWidget> hit = root_->WidgetAtPos(point);
  if (!hit || !hit->IsMouseStop()) return false;
  return hit->MouseEvent(message, point, flags);
}

std::vector<Ref<IWidget>> TGameScreen::TabStops() {
  std::vector<Ref<IWidget>> stops;
  // Depth first, with a bound on the depth that hostile data can ask for.
  std::function<void(IWidgetCollection*, int)> walk = [&](IWidgetCollection* children, int depth) {
    if (!children || depth > 64) return;
    for (int i = 0; i < children->GetCount(); ++i) {
      Ref<IWidget> child = children->GetWidget(i);
      if (!child || !child->IsVisible()) continue;
      if (child->IsTabStop())
        stops.push_back(child);
      else
        walk(child->GetChildren(), depth + 1);
    }
  };
  walk(root_->GetChildren(), 0);
  return stops;
}

Ref<IWidget> TGameScreen::FindFocusable(int start, bool backwards) {
  const std::vector<Ref<IWidget>> stops = TabStops();
  const int count = static_cast<int>(stops.size());
  if (count == 0) return nullptr;
  if (start < 0 || start >= count) return stops[backwards ? count - 1 : 0];
  return stops[(start + (backwards ? count - 1 : 1)) % count];
}

bool TGameScreen::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (!active_ || hiding_) return false;
  ForgetDetached();
  if (!focus_)
    if (const Ref<IWidget> first = FindFocusable(-1)) ChangeFocus(first);
  bool handled = false;
  if (focus_) {
    const Ref<IWidget> focus = focus_;
    handled = focus->KeyEvent(message, key, flags);
    // Tab (on its release) and the arrows (as they go down, so that a
    // control that takes the arrows keeps them) move the focus on: Down and
    // Right to the next tab stop, Up and Left to the one before.
    const bool tab = message == WM_KEYUP && key == VK_TAB;
    const bool arrow =
        message == WM_KEYDOWN && (key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT);
    if (!handled && (tab || arrow)) {
      // The focus's place among the tab stops: by identity, so unnamed or
      // equally named tab stops take their turns too.
      const std::vector<Ref<IWidget>> stops = TabStops();
      int index = -1;
      for (int i = 0; i < static_cast<int>(stops.size()) && index < 0; ++i)
        if (stops[static_cast<size_t>(i)] == focus) index = i;
      if (focus_ == focus)
        if (const Ref<IWidget> next = FindFocusable(index, key == VK_UP || key == VK_LEFT)) ChangeFocus(next);
      handled = focus_ != nullptr;
    }
  }
  if (!handled && message == WM_KEYDOWN && key == VK_ESCAPE) handled = PressCancelButton();
  return handled;
}

bool TGameScreen::PressCancelButton() {
  IWidgetCollection* children = root_->GetChildren();
  for (const char* name : {"button_cancel", "button_close"}) {
    const Ref<IWidget> button = children->GetWidgetByName(name);
    if (!button || !button->IsVisible() || !button->IsEnabled()) continue;
    if (auto* clickable = QueryPtr<IClickable>(button.get())) {
      clickable->Click();
      return true;
    }
  }
  return false;
}

void TGameScreen::ChangeFocus(const Ref<IWidget>& widget) {
  if (focus_ == widget) return;
  const Ref<IWidget> old = focus_;
  focus_ = widget;
  if (old) old->FocusLost();
  if (widget && focus_ == widget) widget->FocusGained();
  if (observer_) observer_->FocusChanged(*this, focus_.get());
}

void TGameScreen::SetCapture(IWidget* widget) {
  if (capture_.get() == widget) return;
  const Ref<IWidget> old = capture_;
  capture_ = Ref<IWidget>(widget);
  if (old) old->CaptureLost();
}

void TGameScreen::ReleaseCapture() {
  const Ref<IWidget> old = capture_;
  capture_ = nullptr;
  if (old) old->CaptureLost();
}

void TGameScreen::SetFocus(IWidget* widget) {
  ChangeFocus(Ref<IWidget>(widget));
}

void TGameScreen::ClearFocus() {
  ChangeFocus(nullptr);
}

void TGameScreen::ResetInput() {
  capture_ = nullptr;
  if (focus_) {
    focus_ = nullptr;
    if (observer_) observer_->FocusChanged(*this, nullptr);
  }
  root_->Invalidate();
}

// --- sounds and the owner chain ---------------------------------------------------------------

void TGameScreen::PlayScreenSound(const std::string& name) {
  ISoundCollection* sounds = root_->GetSounds();
  const Ref<ISound> sound = sounds ? sounds->FindSound(name) : nullptr;
  if (!sound) return;
  if (auto* player = Service<ISoundPlayer>()) player->PlaySound(sound.get());
}

void TGameScreen::StopScreenSound(const std::string& name) {
  ISoundCollection* sounds = root_->GetSounds();
  const Ref<ISound> sound = sounds ? sounds->FindSound(name) : nullptr;
  if (!sound) return;
  if (auto* player = Service<ISoundPlayer>()) player->StopSound(sound.get());
}

IEventHandler* TGameScreen::GetEventHandler() {
  return entry_.get();
}

void TGameScreen::AddDirtyRect(const TRect& rect) {
  if (auto* region = Service<IUpdateRegion>()) region->AddUpdateRect(rect);
}

}  // namespace qv
