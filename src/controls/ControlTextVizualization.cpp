#include "controls/ControlTextVizualization.h"
#include "core/StringUtils.h"

#include "controls/ControlText.h"
#include "core/Diagnostics.h"
#include "widgets/ITextWidget.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

const TPropertyTable<TControlTextVizualization>& TControlTextVizualization::Properties() {
  using W = TControlTextVizualization;
  static const TPropertyTable<W> table = TPropertyTable<W>(TControlWidget::Properties())
                                             .Int("startdelaytime", &W::startDelayTime_)
                                             .Always()
                                             .Int("letterdelaytime", &W::letterDelayTime_)
                                             .Always()
                                             .Int("visualization_time", &W::GetVisualizationTime, nullptr)
                                             .PropertyOnly()
                                             .Int("visualization_state", &W::GetState, nullptr)
                                             .PropertyOnly()
                                             .String(
                                                 "InitVizualization", [](const W&) { return std::string(); },
                                                 [](W& w, const std::string&) { w.Start(); })
                                             .PropertyOnly()
                                             .WriteOnly();
  return table;
}

void TControlTextVizualization::ClearLetters(IWidget* letters) {
  IWidgetCollection* widgets = letters ? letters->GetChildren() : nullptr;
  if (!widgets) return;
  for (int i = 0; i < widgets->GetCount(); ++i) widgets->GetWidget(i)->SetDead(true);
  widgets->RemoveDead();
}

void TControlTextVizualization::Start() {
  const Ref<IWidget> letters = widgets_->GetWidgetByName("letters_group");
  IWidgetCollection* group = letters ? letters->GetChildren() : nullptr;
  if (!group) {
    ReportDataError(GetFullPath(), "no group \"letters_group\": nothing is presented");
    return;
  }
  const Ref<IWidget> keep(this);
  ClearLetters(letters.get());
  visualizationTime_ = startDelayTime_;
  for (int index = 0; index < widgets_->Count(); ++index) {
    const Ref<IWidget> child = widgets_->GetWidget(index);
    ITextWidget* text = QueryPtr<ITextWidget>(child.get());
    if (!text) continue;
    letters->SetVisible(true);
    letters->Resume();
    state_ = kPresenting;
    child->SetVisible(false);
    const std::u32string codes = DecodeUtf8(VarToString(child->GetPropertyValue("text_utf8")));
    for (int n = 1; n <= static_cast<int>(codes.size()); ++n) {
      TRect rect;
      if (!text->SymbolRect(n, rect)) continue;
      const Ref<TParamCollection> params = MakeRef<TParamCollection>();
      params->Initialize();
      params->SetParamValue("name", static_cast<long long>(n));
      params->SetParamValue("anchor_left", static_cast<long long>(rect.left));
      params->SetParamValue("anchor_top", static_cast<long long>(rect.top));
      params->SetParamValue("width", static_cast<long long>(rect.Width()));
      params->SetParamValue("height", static_cast<long long>(rect.Height()));
      params->SetParamValue("text", std::string());
      const Ref<IWidget> letter = CreateWidget("vizualization_letter", params.get());
      if (!letter) continue;
      letter->SetPropertyValue("text_utf8", EncodeUtf8(codes.substr(static_cast<size_t>(n - 1), 1)));
      params->SetParamValue("name", "appear_letter_" + std::to_string(index) + "_" + std::to_string(n));
      if (const Ref<IWidget> appear = CreateWidget("transparent_widget", params.get())) {
        group->InsertWidget(appear);
        appear->SetObjectProperty("widget", letter);
        appear->SetPropertyValue("currenttime", static_cast<long long>(-visualizationTime_));
        visualizationTime_ += letterDelayTime_;
        letter->SetTransparentLevel(0);
      }
      group->InsertWidget(letter);
    }
  }
  visualizationTime_ += currentTime_;
}

void TControlTextVizualization::AdvanceTime(int dt) {
  TControlWidget::AdvanceTime(dt);
  if (state_ == kPresenting && visualizationTime_ < currentTime_) Finish();
}

void TControlTextVizualization::Finish() {
  const Ref<IWidget> keep(this);
  state_ = kFinished;
  if (const Ref<IWidget> letters = widgets_->GetWidgetByName("letters_group")) {
    letters->SetVisible(false);
    letters->Pause();
    ClearLetters(letters.get());
  }
  for (int i = 0; i < widgets_->Count(); ++i) {
    const Ref<IWidget> child = widgets_->GetWidget(i);
    if (QueryPtr<ITextWidget>(child.get())) child->SetVisible(true);
  }
  SendEvent(ccPresentationFinished);
}

bool TControlTextVizualization::OnMouseUp(TPoint, unsigned, int) {
  if (state_ == kPresenting) {
    Finish();
    return true;
  }
  if (state_ == kFinished) {
    SendEvent(ccFinishedClicked);
    return true;
  }
  return false;
}

void TControlTextVizualization::ExecuteCommand(int code, IParamCollection* params) {
  if (code == kFinishCommand && state_ == kPresenting) {
    Finish();
    return;
  }
  TControlWidget::ExecuteCommand(code, params);
}

}  // namespace qv
