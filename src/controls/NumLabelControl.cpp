#include "controls/NumLabelControl.h"

#include <cstdlib>

#include "controls/ControlText.h"
#include "core/Diagnostics.h"

namespace qv {

const TPropertyTable<TNumLabelControl>& TNumLabelControl::Properties() {
  using W = TNumLabelControl;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TControlWidget::Properties())
          .Bool("animation", &W::IsAnimated, &W::SetAnimated, true)
          .Always()
          .Int("minincrementalvaluepersecond", &W::minIncrementalValuePerSecond_)
          .Always()
          .Int("maxincrementaldurationtime", &W::maxIncrementalDurationTime_)
          .Always()
          .Int("value", &W::GetValue, &W::SetValue)
          .PropertyOnly()
          .Int("current_value", &W::GetShownValue, nullptr)
          .PropertyOnly()
          .Bool("animation_complete", &W::IsComplete, nullptr)
          .PropertyOnly();
  return table;
}

void TNumLabelControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
  label_ = owner && widgets_->Count() > 0 ? widgets_->GetWidget(0) : nullptr;
  if (owner && !label_) ReportDataError(GetFullPath(), "no child to show the number");
  // The number shows from the start, 0 as well, not only once it changes.
  if (label_) ShowNumber();
}

void TNumLabelControl::SetValue(int value) {
  value_ = value;
  elapsed_ = 0;
}

void TNumLabelControl::SetAnimated(bool value) {
  animation_ = value;
  if (!value) return;
  shownValue_ = value_;
  ShowNumber();
}

void TNumLabelControl::AdvanceTime(int dt) {
  TControlWidget::AdvanceTime(dt);
  Count(dt);
}

void TNumLabelControl::Count(int dt) {
  if (shownValue_ == value_) return;
  if (!animation_) {
    shownValue_ = value_;
  } else {
    const int direction = shownValue_ < value_ ? 1 : -1;
    const long long remaining = static_cast<long long>(maxIncrementalDurationTime_) - elapsed_;
    if (remaining < dt) {
      shownValue_ = value_;
    } else {
      // 64 bits where the 32-bit product could overflow; the results fit.
      const long long proportional =
          remaining > 0 ? (static_cast<long long>(value_) - shownValue_) * dt / remaining : 0;
      const long long minimal =
          direction * (static_cast<long long>(minIncrementalValuePerSecond_) * dt / 1000);
      const long long step = std::llabs(proportional) > std::llabs(minimal) ? proportional : minimal;
      const long long next = shownValue_ + step;
      if ((direction > 0 && next > value_) || (direction < 0 && next < value_))
        shownValue_ = value_;
      else
        shownValue_ = static_cast<int>(next);
      elapsed_ += dt;
    }
  }
  ShowNumber();
}

void TNumLabelControl::ShowNumber() {
  needRepaint_ = true;
  if (label_) label_->SetPropertyValue("text_utf8", GroupThousands(shownValue_, ThousandSeparator()));
}

}  // namespace qv
