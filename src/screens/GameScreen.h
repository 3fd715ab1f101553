// A game screen: one full screen or dialog. It owns its root widget (an
// appearance-effect group loaded from the "window" element), its music, its
// mouse capture and keyboard focus and the name of the cursor it shows. The
// game keeps every screen and the stack of those shown; it drives the top
// one (time and input) and all shown ones (dirty pass, drawing).
#pragma once

#include <string>
#include <vector>

#include "audio/Music.h"
#include "screens/IGameScreenObserver.h"
#include "screens/IGameScreenOwner.h"
#include "screens/IGameScreenSlave.h"
#include "storage/PersistObject.h"
#include "widgets/AppearanceEffectWdiget.h"
#include "widgets/IEventHandler.h"
#include "widgets/IWidgetOwner.h"
#include "widgets/IWindow.h"

namespace qv {

class TGameScreen : public TPropertyObject,
                    public IWidgetOwner,
                    public IWindow,
                    public IEventHandler,
                    public IGameScreenSlave {
public:
  TGameScreen();

  // "cursor_name", written when not empty.
  QV_PROPERTY_TABLE(TGameScreen)

  // The "window" element: "left" and "top", the root, "sounds" (the root's
  // own) and "musics".
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  // --- hooks of the game's screens -------------------------------------------------
  // Plays "sound_show_window" and starts "music_background".
  virtual void OnShow();
  // Plays "sound_hide_window" and stops "music_background".
  virtual void OnHide();
  // The parameters the screen is shown with.
  virtual void BeforeShow(IParamCollection* params) { (void)params; }
  // Once the root's appearance effect is over (in Show when there is none).
  virtual void AfterAppear() {}
  // What the screen does when one of its controls reports (ccClick, ...).
  void OnControlEvent(IWidget* sender, int code, IParamCollection* params) override {
    (void)sender;
    (void)code;
    (void)params;
  }

  // --- IGameScreenSlave -------------------------------------------------------------
  const std::string& GetName() const override { return TNamedObject::GetName(); }
  void SetName(const std::string& name) override { TNamedObject::SetName(name); }
  // Gives the root this screen as owner.
  void SetOwner(IGameScreenOwner* game) override;
  void Detach() override;
  void Show(IParamCollection* params) override;
  void Hide() override;
  void Activate() override { active_ = true; }
  void Deactivate() override { active_ = false; }
  // Only when active: the root's time, then the appearance check.
  void Update(int dt) override;
  void Draw(ISurface* target) override;
  TRect GetRect() override;
  void Idle() override {}
  // To the capture widget, else to the mouse-stopping widget under the
  // point. Nothing while inactive or hiding.
  bool MouseEvent(unsigned message, TPoint point, unsigned flags) override;
  // To the focus widget; Tab key-up moves the focus, Escape presses the
  // dialog's cancel or close button. Nothing while inactive or hiding.
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  void WindowFocusChanged(bool focused) override { (void)focused; }
  void ScreenClosed(const std::string& closedScreenName, IParamCollection* resultParams) override {
    (void)closedScreenName;
    (void)resultParams;
  }
  IWindow* GetWindow() override { return this; }
  Ref<IWidget> GetRootWidget() override { return root_; }
  bool UpdateDirty() override;
  bool IsVisible() override { return !root_ || root_->IsVisible(); }

  // --- IWindow -------------------------------------------------------------------------
  void SetCapture(IWidget* widget) override;
  void ReleaseCapture() override;
  IWidget* GetCapture() override { return capture_.get(); }
  void SetFocus(IWidget* widget) override;
  void ClearFocus() override;
  IWidget* GetFocus() override { return focus_.get(); }
  IWidgetCollection* GetRootChildren() override { return root_ ? root_->GetChildren() : nullptr; }
  void ResetInput() override;
  Ref<IWidget> WidgetAtPos(TPoint point) override { return root_ ? root_->WidgetAtPos(point) : nullptr; }
  Ref<IWidget> FindWidget(const std::string& path) override {
    return root_ ? root_->FindWidget(path) : nullptr;
  }
  void PlayScreenSound(const std::string& name) override;
  void StopScreenSound(const std::string& name) override;

  // --- IWidgetOwner, for the root ------------------------------------------------------
  IInterface* GetEngine() override { return owner_ ? owner_->GetEngine() : nullptr; }
  // The screen's event entry: it tells the observer, then OnControlEvent.
  IEventHandler* GetEventHandler() override;
  TPoint ScreenToChildLocal(TPoint point) override { return point; }
  Ref<IWidget> CreateWidget(const std::string&, IParamCollection*) override { return nullptr; }
  std::string GetFullPath() override { return GetName(); }
  void AddDirtyRect(const TRect& rect) override;

  // --- IEventHandler ---------------------------------------------------------------------
  IInterface* GetScreenOwner() override { return owner_; }

  // --- for the game, tools and tests -------------------------------------------------------
  IGameScreenOwner* GetScreenOwnerInterface() const { return owner_; }
  TAppearanceEffectWdiget& Root() { return *root_; }
  bool IsActive() const { return active_; }
  // From Show until the root's appearance effect has finished.
  bool IsAppearing() const { return appearing_ != 0; }
  // From Hide until the next Show.
  bool IsHiding() const { return hiding_; }
  const std::string& GetCursorName() const { return cursorName_; }
  const std::string& GetPreviousCursorName() const { return previousCursorName_; }
  IMusicCollection* GetMusics() const { return musics_.get(); }
  int GetWindowLeft() const { return windowLeft_; }
  int GetWindowTop() const { return windowTop_; }
  void SetObserver(IGameScreenObserver* observer) { observer_ = observer; }
  // The visible tab stops of the screen in the order they stand, depth
  // first (a tab stop's own children are its business: a control moves its
  // inner focus itself); a widget under a hidden one is not visible.
  std::vector<Ref<IWidget>> TabStops();
  // The first tab stop (start -1), or the one after or before the tab stop
  // at `start` in TabStops(), wrapping round; null when there is none.
  Ref<IWidget> FindFocusable(int start, bool backwards = false);

protected:
  ~TGameScreen() override;

private:
  class TEventEntry;
  void AppearanceCheck();
  void ChangeFocus(const Ref<IWidget>& widget);
  // Drops a capture or focus widget that has left the tree.
  void ForgetDetached();
  bool PressCancelButton();
  template <class I>
  I* Service() {
    return QueryPtr<I>(GetEngine());
  }

  int appearing_ = 0;
  Ref<IWidget> capture_;
  Ref<IWidget> focus_;
  IGameScreenOwner* owner_ = nullptr;
  bool active_ = false;
  bool wasActive_ = false;
  bool hiding_ = false;
  std::string previousCursorName_;
  std::string cursorName_;
  Ref<TMusicCollection> musics_;
  Ref<TAppearanceEffectWdiget> root_;
  int windowLeft_ = 0;
  int windowTop_ = 0;
  Ref<IEventHandler> entry_;
  IGameScreenObserver* observer_ = nullptr;
};

}  // namespace qv
