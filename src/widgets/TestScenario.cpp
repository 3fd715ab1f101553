#include "widgets/TestScenario.h"

#include <string>

#include "core/Diagnostics.h"
#include "core/Random.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

const TPropertyTable<TTestScenario>& TTestScenario::Properties() {
  static const TPropertyTable<TTestScenario> table =
      TPropertyTable<TTestScenario>(TVisualGroupWidget::Properties());
  return table;
}

void TTestScenario::AdvanceTime(int dt) {
  TVisualGroupWidget::AdvanceTime(dt);
  if (currentTime_ <= 0) return;
  Pause();
  currentTime_ = 0;
  IWindow* window = owner_ ? owner_->GetWindow() : nullptr;
  const Ref<IWidget> root = window ? window->FindWidget("") : nullptr;
  IWidgetCollection* children = root ? root->GetChildren() : nullptr;
  if (!children) {
    ReportDataError("widget " + GetFullPath(), "the scenario's screen has no root group");
    return;
  }
  for (int i = 0; i < kWidgetCount; ++i) {
    const Ref<TParamCollection> params = MakeRef<TParamCollection>();
    params->Initialize();
    params->SetParamValue("name", TVariant{"butterfly" + std::to_string(made_++)});
    params->SetParamValue("left", TVariant{static_cast<long long>(RandomInt(640))});
    params->SetParamValue("top", TVariant{static_cast<long long>(RandomInt(480))});
    const Ref<IWidget> widget = CreateWidget("Butterfly", params.get());
    if (!widget) return;  // the missing factory was reported on the way up
    children->InsertWidget(widget);
  }
}

}  // namespace qv
