#include "widgets/AppearanceEffectCollection.h"

#include "core/Diagnostics.h"

namespace qv {

const TPropertyTable<TAppearanceEffectCollection>& TAppearanceEffectCollection::Properties() {
  using W = TAppearanceEffectCollection;
  static const TPropertyTable<W> table = TPropertyTable<W>(TVisualGroupWidget::Properties())
                                             .Int("state", &W::GetState, &W::SetState)
                                             .PropertyOnly();
  return table;
}

void TAppearanceEffectCollection::LoadFromStorage(const StorageRef& storage) {
  TVisualGroupWidget::LoadFromStorage(storage);
  visible_ = true;
  for (int i = 0; i < widgets_->Count(); ++i) {
    const Ref<IWidget> effect = widgets_->GetWidget(i);
    effect->SetVisible(false);
    effect->SetPaused(true);
    if (!Query<IAppearanceEffect>(effect))
      ReportDataError("widget " + GetName(), "\"" + effect->GetName() + "\" is not an appearance effect");
  }
}

bool TAppearanceEffectCollection::Contains(const std::string& name) const {
  return widgets_->IndexOfName(name) >= 0;
}

void TAppearanceEffectCollection::SetState(int state) {
  state_ = state;
  if (state != kEffectFinished || !current_) return;
  current_->SetVisible(false);
  current_->SetPaused(true);
  current_ = nullptr;
}

void TAppearanceEffectCollection::StartEffect(const std::string& name, const Ref<ISurface>& picture,
                                              IParamCollection* params) {
  SetState(kEffectFinished);
  const Ref<IWidget> widget = widgets_->GetWidgetByName(name);
  IAppearanceEffect* effect = QueryPtr<IAppearanceEffect>(widget.get());
  if (!effect) return;
  current_ = widget;
  state_ = kEffectRunning;
  current_->SetVisible(true);
  current_->SetPaused(false);
  effect->Start(picture, params);
  state_ = effect->GetState();
}

void TAppearanceEffectCollection::AdvanceTime(int dt) {
  TVisualGroupWidget::AdvanceTime(dt);
  if (state_ != kEffectRunning) return;
  if (!current_) {
    state_ = kEffectFinished;
    return;
  }
  const TVariant state = current_->GetPropertyValue("state");
  state_ = VarIsEmpty(state) ? kEffectFinished : static_cast<int>(VarToInt(state, kEffectFinished));
}

}  // namespace qv
