#include "widgets/AppearanceEffectWdiget.h"

#include "core/Diagnostics.h"
#include "storage/ClassRegistry.h"
#include "storage/StorageAccess.h"
#include "widgets/AppearanceEffectCollection.h"

namespace qv {

const TPropertyTable<TAbstractEffectWdiget>& TAbstractEffectWdiget::Properties() {
  using W = TAbstractEffectWdiget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TVisualGroupWidget::Properties())
                                             .Bool("enable_effects", &W::enableEffects_, true)
                                             .Bool("applyingeffect", &W::IsApplyingEffect, nullptr)
                                             .PropertyOnly()
                                             .Int("effect_state", &W::GetEffectState, nullptr)
                                             .PropertyOnly();
  return table;
}

TAbstractEffectWdiget::~TAbstractEffectWdiget() {
  if (effectsWidget_) effectsWidget_->Detach();
}

void TAbstractEffectWdiget::SetEffects(const Ref<IWidget>& effects) {
  if (effectsWidget_) effectsWidget_->Detach();
  if (applyingEffect_) EndEffect();
  effectsWidget_ = effects;
  effects_ = QueryPtr<IAppearanceEffects>(effects.get());
  if (!effects_) effectsWidget_ = nullptr;
  if (effectsWidget_ && owner_) effectsWidget_->SetOwner(this);
}

void TAbstractEffectWdiget::LoadFromStorage(const StorageRef& storage) {
  TVisualGroupWidget::LoadFromStorage(storage);
  if (!storage) return;
  const StorageRef node = storage->GetChild("effects", 0);
  if (!node) return;
  Ref<IWidget> effects;
  if (!ReadString(node, "type", "").empty()) {
    const Ref<TAbstractObject> object = CreateFromNode(node);
    effects = Query<IWidget>(object);
    if (object && !Query<IAppearanceEffects>(object)) {
      ReportDataError("widget " + GetName(), "its effects are not an effect collection and are dropped");
      effects = nullptr;
    }
  } else {
    const Ref<TAppearanceEffectCollection> made = MakeRef<TAppearanceEffectCollection>();
    made->Initialize();
    made->Load(node);
    effects = made;
  }
  SetEffects(effects);
}

void TAbstractEffectWdiget::SaveToStorage(const StorageRef& storage) {
  TVisualGroupWidget::SaveToStorage(storage);
  auto* persistent = dynamic_cast<IPersistentEx*>(effectsWidget_.get());
  if (storage && persistent && persistent->IsStored()) persistent->Save(storage->AddChild("effects"));
}

void TAbstractEffectWdiget::SetOwner(IWidgetOwner* owner) {
  TVisualGroupWidget::SetOwner(owner);
  if (effectsWidget_) effectsWidget_->SetOwner(owner ? this : nullptr);
}

void TAbstractEffectWdiget::Detach() {
  if (effectsWidget_) effectsWidget_->Detach();
  TVisualGroupWidget::Detach();
}

void TAbstractEffectWdiget::StartEffect(const std::string& name) {
  if (applyingEffect_) EndEffect();
  if (enableEffects_ && effects_ && owner_ && effects_->Contains(name)) {
    const TRect rect = TVisualGroupWidget::GetRect();
    effectOffsetX_ = rect.left - anchorLeft_;
    effectOffsetY_ = rect.top - anchorTop_;
    const Ref<ISurface> picture = GetImage();
    effects_->StartEffect(name, picture, nullptr);
    applyingEffect_ = effects_->GetState() == kEffectRunning;
  }
  if (applyingEffect_) {
    geometryChanged_ = true;
    needRepaint_ = true;
    currentEffectName_ = name;
  }
  EffectStarted(name, applyingEffect_);
}

void TAbstractEffectWdiget::EndEffect() {
  applyingEffect_ = false;
  geometryChanged_ = true;
  needRepaint_ = true;
  const std::string name = currentEffectName_;
  currentEffectName_.clear();
  EffectEnded(name);
}

void TAbstractEffectWdiget::AdvanceChildren(int dt) {
  if (!applyingEffect_) {
    TVisualGroupWidget::AdvanceChildren(dt);
    return;
  }
  effectsWidget_->Advance(dt);
  if (effects_->GetState() != kEffectRunning) EndEffect();
}

void TAbstractEffectWdiget::Draw(ISurface* target, int x, int y) {
  if (!applyingEffect_) {
    TVisualGroupWidget::Draw(target, x, y);
    return;
  }
  effectsWidget_->Draw(target, RoundEven(effectsWidget_->GetAnchorLeft() + x + effectOffsetX_),
                       RoundEven(effectsWidget_->GetAnchorTop() + y + effectOffsetY_));
}

TRect TAbstractEffectWdiget::GetRect() const {
  if (!applyingEffect_) return TVisualGroupWidget::GetRect();
  const TRect r = effectsWidget_->GetRect();
  const int dx = RoundEven(anchorLeft_ + effectOffsetX_);
  const int dy = RoundEven(anchorTop_ + effectOffsetY_);
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

Ref<IWidget> TAbstractEffectWdiget::WidgetAtPos(TPoint point) {
  if (applyingEffect_) return nullptr;
  return TVisualGroupWidget::WidgetAtPos(point);
}

bool TAbstractEffectWdiget::UpdateDirtyRegion(bool forceOld, bool forceNew) {
  const bool result = TVisualGroupWidget::UpdateDirtyRegion(forceOld, forceNew);
  // Always, so the effect's last picture is repainted once it has gone.
  if (effectsWidget_) {
    effectsWidget_->UpdateDirtyRegion(forceOld, forceNew);
    if (effectsWidget_->HasDirtyRect()) contributedDirtyRect_ = true;
  }
  return result;
}

void TAbstractEffectWdiget::Invalidate() {
  TVisualGroupWidget::Invalidate();
  if (effectsWidget_) effectsWidget_->Invalidate();
}

TPoint TAbstractEffectWdiget::ScreenToChildLocal(TPoint point) {
  const TPoint p = TVisualGroupWidget::ScreenToChildLocal(point);
  if (!applyingEffect_) return p;
  const TPoint offset = RoundedOffset();
  return {p.x - offset.x, p.y - offset.y};
}

void TAppearanceEffectWdiget::LoadFromStorage(const StorageRef& storage) {
  TAbstractEffectWdiget::LoadFromStorage(storage);
  targetVisible_ = visible_;
}

void TAppearanceEffectWdiget::SetVisible(bool value) {
  if (!GetEffects()) {
    visible_ = targetVisible_ = value;
    return;
  }
  if (IsApplyingEffect() && visible_ != targetVisible_) EndEffect();
  if (value == visible_) {
    targetVisible_ = value;
    return;
  }
  targetVisible_ = value;
  if (value) visible_ = true;
  StartEffect(value ? "show_effect" : "hide_effect");
  // A hide effect that starts while a show effect runs ends that one first,
  // which must not hide the group before the hide effect has been seen.
  visible_ = IsApplyingEffect() ? true : targetVisible_;
}

void TAppearanceEffectWdiget::EffectEnded(const std::string& name) {
  (void)name;
  visible_ = targetVisible_;
}

}  // namespace qv
