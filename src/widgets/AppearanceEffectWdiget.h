// Groups that appear and disappear through effects. While an effect runs
// the group's children are frozen and cannot be hit: the group shows its
// effect collection instead, which animates a picture of the children taken
// when the effect started.
#pragma once

#include <string>

#include "widgets/IAppearanceEffects.h"
#include "widgets/VisualGroupWidget.h"

namespace qv {

class TAbstractEffectWdiget : public TVisualGroupWidget {
public:
  // "enable_effects" (default yes, written when no); "applyingeffect" and
  // "effect_state" read-only properties.
  QV_PROPERTY_TABLE(TAbstractEffectWdiget)

  // The effects come from the "effects" child, created by its "type" (an
  // "appearance_effects" collection when it names none).
  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;

  // Ends a running effect, then starts the named one when effects are
  // enabled, the group has an owner and the collection has that effect.
  void StartEffect(const std::string& name);
  void EndEffect();
  bool IsApplyingEffect() const { return applyingEffect_; }
  const std::string& GetCurrentEffectName() const { return currentEffectName_; }
  bool AreEffectsEnabled() const { return enableEffects_; }
  void SetEffectsEnabled(bool value) { enableEffects_ = value; }
  // The collection's state; idle without effects.
  int GetEffectState() const { return effects_ ? effects_->GetState() : kEffectIdle; }
  IWidget* GetEffects() const { return effectsWidget_.get(); }
  void SetEffects(const Ref<IWidget>& effects);

  // IWidget: while an effect runs, the effect stands in for the children.
  void SetOwner(IWidgetOwner* owner) override;
  void Detach() override;
  void AdvanceChildren(int dt) override;
  void Draw(ISurface* target, int x, int y) override;
  double GetLeft() const override { return GetRect().left; }
  double GetTop() const override { return GetRect().top; }
  int GetWidth() const override { return GetRect().Width(); }
  int GetHeight() const override { return GetRect().Height(); }
  TRect GetRect() const override;
  bool IsMouseStop() const override { return mouseStop_ && !applyingEffect_; }
  Ref<IWidget> WidgetAtPos(TPoint point) override;
  bool UpdateDirtyRegion(bool forceOld, bool forceNew) override;
  void Invalidate() override;
  TPoint ScreenToChildLocal(TPoint point) override;

protected:
  ~TAbstractEffectWdiget() override;

  virtual void EffectStarted(const std::string& name, bool applying) {
    (void)name;
    (void)applying;
  }
  virtual void EffectEnded(const std::string& name) { (void)name; }

private:
  TPoint RoundedOffset() const { return {RoundEven(effectOffsetX_), RoundEven(effectOffsetY_)}; }

  Ref<IWidget> effectsWidget_;
  IAppearanceEffects* effects_ = nullptr;  // the same object as effectsWidget_
  std::string currentEffectName_;
  bool applyingEffect_ = false;
  double effectOffsetX_ = 0.0;
  double effectOffsetY_ = 0.0;
  bool enableEffects_ = true;
};

// A group whose visibility changes through its "show_effect" and
// "hide_effect": shown, it is visible at once while "show_effect" runs;
// hidden, it stays visible until "hide_effect" has finished. A screen's
// root is one.
class TAppearanceEffectWdiget : public TAbstractEffectWdiget {
public:
  void LoadFromStorage(const StorageRef& storage) override;
  void SetVisible(bool value) override;
  // The visibility the running show or hide effect leads to.
  bool GetTargetVisible() const { return targetVisible_; }

protected:
  ~TAppearanceEffectWdiget() override = default;

  void EffectEnded(const std::string& name) override;

private:
  bool targetVisible_ = false;
};

}  // namespace qv
