// The base of every widget: time, life, sounds, aliases, extra params and
// property access by name. It has no picture and no extent.
#pragma once

#include <memory>
#include <string>

#include "audio/Sound.h"
#include "functions/Function.h"
#include "storage/ParamCollection.h"
#include "storage/PersistObject.h"
#include "widgets/IWidget.h"
#include "widgets/IWidgetOwner.h"
#include "widgets/IWindow.h"

namespace qv {

// Widget coordinates and sizes stay within +-16,777,216 pixels, so that
// the sums and differences of a few of them (a rectangle's sides, a child
// moved into its group's space) never leave the int range, whatever
// position a description asks for.
constexpr int kWidgetCoordinateLimit = 1 << 24;

// Rounding of the widget tree: to nearest, ties to even.
inline int RoundEven(double value) {
  // Adding and taking away 1.5 * 2^52 leaves the nearest integer, ties to
  // even, in the default rounding mode (the program never changes it); this
  // runs for every widget in every pass, where a library call shows. Values
  // beyond the coordinate limit are clamped to it, NaN gives 0.
  constexpr double kShift = 6755399441055744.0;
  constexpr double kLimit = kWidgetCoordinateLimit;
  if (value > -kLimit && value < kLimit) return static_cast<int>((value + kShift) - kShift);
  if (value >= kLimit) return kWidgetCoordinateLimit;
  if (value <= -kLimit) return -kWidgetCoordinateLimit;
  return 0;
}

// A linked function ("function_widget" child) exchanges values with the
// widget's properties by the names of its cells: before it runs, every named
// cell of its outputs (row 0) and of its inputs (row 1) takes the property
// of that name; afterwards every named output is written back.
class TAbstractWidget : public TPropertyObject, public IWidget, public IFunctionOwner {
public:
  TAbstractWidget() { SetStorageName("widget"); }

  // "paused", "transparentlevel", "currenttime", "timetolive", "time_rate",
  // "aliases", "redefinedparams" stored; the other built-in names are
  // property only.
  QV_PROPERTY_TABLE(TAbstractWidget)

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  // --- IWidget -------------------------------------------------------------
  const std::string& GetName() const override { return TNamedObject::GetName(); }
  void SetName(const std::string& name) override { TNamedObject::SetName(name); }
  TVariant GetPropertyValue(const std::string& name) override;
  bool SetPropertyValue(const std::string& name, const TVariant& value) override;

  Ref<IWidget> GetChild(const std::string& key) override {
    (void)key;
    return nullptr;
  }
  void SetOwner(IWidgetOwner* owner) override;
  // Unbinds the linked function and clears the owner.
  void Detach() override;
  IWidgetOwner* GetOwner() const override { return owner_; }
  IWidgetCollection* GetChildren() override { return nullptr; }
  Ref<IWidget> FindWidget(const std::string& path) override;
  std::string GetFullPath() override;

  void Invalidate() override { needRepaint_ = true; }
  bool IsDead() const override { return dead_; }
  void SetDead(bool value) override { dead_ = value; }
  bool IsPaused() const override { return paused_; }
  void SetPaused(bool value) override { paused_ = value; }
  void Advance(int dt) override;
  void AdvanceTime(int dt) override;
  void Restart() override;
  void Resume() override { paused_ = false; }
  void Pause() override { paused_ = true; }
  bool IsAdvanced() const override { return advancedThisFrame_; }
  void SetAdvanced(bool value) override { advancedThisFrame_ = value; }
  void Show(bool visible) override {
    SetVisible(visible);
    SetPaused(!visible);
  }

  bool IsVisible() const override { return false; }
  void SetVisible(bool value) override { (void)value; }
  int GetZ() const override { return -1; }
  void SetZ(int value) override { (void)value; }
  double GetAnchorLeft() const override { return 0.0; }
  void SetAnchorLeft(double value) override { (void)value; }
  double GetAnchorTop() const override { return 0.0; }
  void SetAnchorTop(double value) override { (void)value; }
  TPoint ScreenToLocal(TPoint point) override { return owner_ ? owner_->ScreenToChildLocal(point) : point; }
  double GetLeft() const override { return 0.0; }
  double GetTop() const override { return 0.0; }
  int GetWidth() const override { return 0; }
  int GetHeight() const override { return 0; }
  TRect GetRect() const override;

  int GetTransparentLevel() const override { return transparentLevel_; }
  void SetTransparentLevel(int level) override;
  void Draw(ISurface* target, int x, int y) override {
    (void)target;
    (void)x;
    (void)y;
  }
  Ref<ISurface> GetImage() override { return nullptr; }
  bool NeedsRepaint() const override { return needRepaint_; }
  void SetNeedRepaint(bool value) override { needRepaint_ = value; }
  bool UpdateDirtyRegion(bool forceOld, bool forceNew) override;
  bool WasVisible() const override { return false; }
  bool HasDirtyRect() const override { return contributedDirtyRect_; }
  bool GetRectOfPass(uint64_t, TRect&) const override { return false; }

  bool IsEnabled() const override { return false; }
  void SetEnabled(bool value) override { (void)value; }
  bool IsTabStop() const override { return false; }
  void SetTabStop(bool value) override { (void)value; }
  bool IsMouseStop() const override { return false; }
  void SetMouseStop(bool value) override { (void)value; }
  Ref<IWidget> WidgetAtPos(TPoint point) override;
  bool ContainsPoint(TPoint point, bool ignoreVisibility) override;
  void CaptureLost() override {}
  void FocusLost() override {}
  void FocusGained() override {}
  bool MouseEvent(unsigned message, TPoint point, unsigned flags) override {
    (void)message;
    (void)point;
    (void)flags;
    return false;
  }
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override {
    (void)message;
    (void)key;
    (void)flags;
    return false;
  }
  void ExecuteCommand(int code, IParamCollection* params) override {
    (void)code;
    (void)params;
  }

  uint32_t PlaySound(const std::string& name, bool replace, int volume, int pan) override;
  void StopSound(const std::string& name) override;
  ISoundCollection* GetSounds() override { return sounds_.get(); }
  void SetExtraParam(const std::string& name, const TVariant& value) override;
  Ref<IInterface> GetObjectProperty(const std::string& name) override;
  bool SetObjectProperty(const std::string& name, const Ref<IInterface>& value) override;

  // --- for subclasses and tests ----------------------------------------------------
  int GetCurrentTime() const { return currentTime_; }
  void SetCurrentTime(int value);
  int GetTimeToLive() const { return timeToLive_; }
  double GetTimeRate() const { return timeRate_; }
  const std::string& GetAliases() const { return aliases_; }
  const std::string& GetRedefinedParams() const { return redefinedParams_; }
  IParamCollection* GetExtraParams() const { return extraParams_.get(); }
  // The engine object of the owner chain (null without one) and a service of it.
  IInterface* GetEngineObject() const { return owner_ ? owner_->GetEngine() : nullptr; }
  template <class I>
  I* GetService() const {
    return QueryPtr<I>(GetEngineObject());
  }
  // A new surface from the engine; empty without one.
  Ref<ISurface> NewSurface() const;
  IFunction* GetFunction() const { return function_.get(); }

  // IFunctionOwner: a widget offers no cells of its own; its function's
  // cells meet the widget through the exchange.
  IParamSpace* GetOwnerParamSpace() override { return nullptr; }

protected:
  ~TAbstractWidget() override = default;

  // Built-in names beyond the table, for subclasses with special keys; true
  // when the name was handled.
  virtual bool GetSpecialProperty(const std::string& name, TVariant& value);
  virtual bool SetSpecialProperty(const std::string& name, const TVariant& value);
  void ApplyRedefinedParams();
  // Properties into the function's named cells, then Calculate (or
  // Prepare when `reset`), then the named outputs back into properties.
  void ExchangeWithFunction(bool reset);

  bool needRepaint_ = false;
  IWidgetOwner* owner_ = nullptr;
  bool dead_ = false;
  bool paused_ = false;
  bool advancedThisFrame_ = false;
  int transparentLevel_ = 255;
  int storedTime_ = 0;
  int currentTime_ = 0;
  int timeToLive_ = 0;
  double timeRate_ = 1.0;
  Ref<TSoundCollection> sounds_;
  Ref<IFunction> function_;
  std::string aliases_;
  Ref<TParamCollection> extraParams_;
  std::string redefinedParams_;
  bool firstFrame_ = true;
  bool contributedDirtyRect_ = false;
};

}  // namespace qv
