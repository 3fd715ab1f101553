#include "widgets/AppearanceEffect.h"

#include "audio/Sound.h"
#include "core/Diagnostics.h"

namespace qv {

const TPropertyTable<TAppearanceEffect>& TAppearanceEffect::Properties() {
  using W = TAppearanceEffect;
  static const TPropertyTable<W> table = TPropertyTable<W>(TBehaviourWidget::Properties())
                                             .Int("durationtime", &W::durationTime_)
                                             .Always()
                                             .Int("state", &W::GetState, &W::SetState)
                                             .PropertyOnly();
  return table;
}

void TAppearanceEffect::Start(const Ref<ISurface>& picture, IParamCollection* params) {
  if (sounds_ && sounds_->FindSound("sound_effect")) PlaySound("sound_effect", true, 100, 0);
  ReceivePicture(picture);
  params_ = MakeRef<TParamCollection>();
  params_->Initialize();
  if (params)
    for (int i = 0; i < params->GetParamCount(); ++i) {
      const Ref<IParam> p = params->GetParamAt(i);
      params_->SetParamValue(p->GetName(), p->GetValue());
    }
  Restart();
  // The restart's zero step is no frame's: the next frame advances it.
  SetAdvanced(false);
  state_ = kEffectRunning;
}

void TAppearanceEffect::AdvanceTime(int dt) {
  TBehaviourWidget::AdvanceTime(dt);
  if (state_ == kEffectRunning && currentTime_ >= durationTime_) state_ = kEffectFinished;
}

bool TAppearanceEffect::GetSpecialProperty(const std::string& name, TVariant& value) {
  if (params_)
    if (const Ref<IParam> p = params_->GetParam(name)) {
      value = p->GetValue();
      return true;
    }
  return TBehaviourWidget::GetSpecialProperty(name, value);
}

bool TAppearanceEffect::SetSpecialProperty(const std::string& name, const TVariant& value) {
  if (params_ && params_->GetParam(name)) {
    params_->SetParamValue(name, value);
    return true;
  }
  return TBehaviourWidget::SetSpecialProperty(name, value);
}

const TPropertyTable<TFunctionAppearanceEffect>& TFunctionAppearanceEffect::Properties() {
  using W = TFunctionAppearanceEffect;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TAppearanceEffect::Properties()).String("surfaceparamname", &W::surfaceParamName_);
  return table;
}

void TFunctionAppearanceEffect::ReceivePicture(const Ref<ISurface>& picture) {
  if (surfaceParamName_.empty()) return;
  const std::string& name = surfaceParamName_;
  bool taken = false;
  if (const size_t slash = name.rfind('/'); slash != std::string::npos) {
    if (const Ref<IWidget> target = FindWidget(name.substr(0, slash)))
      taken = target->SetObjectProperty(name.substr(slash + 1), picture);
  } else {
    taken = SetObjectProperty(name, picture) || (widget_ && widget_->SetObjectProperty(name, picture));
  }
  if (!taken)
    ReportDataError("widget " + GetFullPath(), "surfaceparamname \"" + name + "\" names no surface property");
}

}  // namespace qv
