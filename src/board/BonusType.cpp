#include "board/BonusType.h"

#include "core/Diagnostics.h"

namespace qv {

namespace {

constexpr const char* kBonusWidget = "widget_bonus";

}  // namespace

TBonusType::TBonusType() {
  SetStorageName("bonustype");
  context_->Initialize();
  factories_->Initialize();
}

const TPropertyTable<TBonusType>& TBonusType::Properties() {
  using W = TBonusType;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TPersistObject::Properties()).Int("bonustype", &W::bonusType_, 0);
  return table;
}

void TBonusType::LoadFromStorage(const StorageRef& storage) {
  TPersistObject::LoadFromStorage(storage);
  if (!storage) return;
  if (auto node = storage->GetChild("context_params", 0)) context_->Load(node);
  if (auto node = storage->GetChild("widgetfactories", 0)) factories_->Load(node);
}

void TBonusType::SaveToStorage(const StorageRef& storage) {
  TPersistObject::SaveToStorage(storage);
  if (!storage) return;
  if (context_->Count() > 0) context_->Save(storage->AddChild("context_params"));
  if (factories_->GetFactoryCount() > 0) factories_->Save(storage->AddChild("widgetfactories"));
}

int TBonusType::Weight() const {
  const Ref<IContextParam> weight = context_->GetContextParam("weight");
  return weight ? static_cast<int>(VarToInt(weight->GetValue(), 0)) : 0;
}

Ref<IWidget> TBonusType::CreateBonusWidget(const IParamCollection* params) {
  const Ref<IWidgetFactory> factory = factories_->GetFactoryByName(kBonusWidget);
  if (!factory) {
    ReportDataError("bonus type " + std::to_string(bonusType_), "no widget factory \"widget_bonus\"");
    return nullptr;
  }
  return factory->CreateWidget(params);
}

}  // namespace qv
