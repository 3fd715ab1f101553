#include "controls/TrackBarControl.h"

#include <algorithm>

#include "core/Messages.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

const TPropertyTable<TTrackBarControl>& TTrackBarControl::Properties() {
  using W = TTrackBarControl;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TControlWidget::Properties())
          .Int("min", &W::min_)
          .Always()
          .Int("max", &W::max_)
          .Always()
          .Int("frequency", &W::GetFrequency, &W::SetFrequency)
          .Always()
          .Bool("vertical", &W::vertical_)
          .WhenTrue()
          .Int("position", &W::GetPosition, &W::SetPosition)
          .PropertyOnly()
          .Bool("slidervisible", &W::GetSliderVisible, &W::SetSliderVisible)
          .PropertyOnly();
  return table;
}

void TTrackBarControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
  slider_ = owner ? widgets_->GetWidgetByName("image_slider") : nullptr;
  if (!owner) return;
  PlaceSlider();
  UpdateSliderPictures();
}

int TTrackBarControl::Snap(double value) const {
  return frequency_ * RoundEven(value / frequency_);
}

void TTrackBarControl::SetPosition(int value) {
  int position = value < min_ ? min_ : value > max_ ? max_ : Snap(value);
  // A snapped value beyond an end that is no multiple stays at the end.
  position = std::clamp(position, std::min(min_, max_), std::max(min_, max_));
  const bool changed = position != position_;
  position_ = position;
  PlaceSlider();
  if (changed) {
    needRepaint_ = true;
    if (owner_) SendEvent(ccPositionChanged);
  }
}

int TTrackBarControl::SliderLength() const {
  if (!slider_) return 0;
  return vertical_ ? slider_->GetHeight() : slider_->GetWidth();
}

double TTrackBarControl::SliderPosition() const {
  if (!slider_) return 0;
  return vertical_ ? slider_->GetTop() : slider_->GetLeft();
}

void TTrackBarControl::SetSliderPosition(double value) {
  if (!slider_) return;
  if (vertical_)
    slider_->SetAnchorTop(value);
  else
    slider_->SetAnchorLeft(value);
}

void TTrackBarControl::PlaceSlider() {
  if (!slider_ || max_ == min_) return;
  SetSliderPosition(static_cast<double>(TrackLength() - SliderLength()) * (position_ - min_) / (max_ - min_));
}

bool TTrackBarControl::OnMouseDown(TPoint point, unsigned flags, int button) {
  TControlWidget::OnMouseDown(point, flags, button);
  if (button != 0 || !slider_) return false;
  const double coordinate = vertical_ ? point.y : point.x;
  const double control = vertical_ ? anchorTop_ : anchorLeft_;
  const double along = coordinate - control;
  const double start = SliderPosition();
  if (along < start || along > start + SliderLength()) return false;
  CaptureMouse();
  pressed_ = true;
  grabOffset_ = RoundEven(coordinate - control - start);
  UpdateSliderPictures();
  return true;
}

bool TTrackBarControl::OnMouseMove(TPoint point, unsigned) {
  if (!pressed_) return false;
  const int coordinate = vertical_ ? point.y : point.x;
  const int control = RoundEven(vertical_ ? anchorTop_ : anchorLeft_);
  const int range = TrackLength() - SliderLength();
  const int half = SliderLength() / 2;
  dragCoordinate_ = std::clamp(coordinate, control + half, control + half + std::max(range, 0));
  if (range <= 0) return true;
  const int offset = std::clamp(coordinate - grabOffset_ - control, 0, range);
  const int position = Snap(static_cast<double>(offset) * (max_ - min_) / range + min_);
  if (position != position_) SetPosition(position);
  if (max_ != min_) SetSliderPosition(offset);
  return true;
}

bool TTrackBarControl::OnMouseUp(TPoint, unsigned, int button) {
  if (button != 0 || !pressed_) return false;
  const Ref<IWidget> self(this);
  ReleaseMouse();
  pressed_ = false;
  UpdateSliderPictures();
  return true;
}

void TTrackBarControl::CaptureLost() {
  TControlWidget::CaptureLost();
  UpdateSliderPictures();
}

bool TTrackBarControl::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (hasFocus_ && message == WM_KEYDOWN) {
    int target = position_;
    bool taken = true;
    switch (key) {
      case VK_END:
        if (position_ < max_) target = max_;
        break;
      case VK_HOME:
        if (position_ > min_) target = min_;
        break;
      case VK_LEFT:
      case VK_UP:
        taken = (key == VK_LEFT) != vertical_;
        target = std::max(min_, position_ - frequency_);
        break;
      case VK_RIGHT:
      case VK_DOWN:
        taken = (key == VK_RIGHT) != vertical_;
        target = std::min(max_, position_ + frequency_);
        break;
      default:
        taken = false;
        break;
    }
    if (taken) {
      const Ref<IWidget> self(this);
      if (target != position_) SetPosition(target);
      UpdateSliderPictures();
      return true;
    }
  }
  return TControlWidget::KeyEvent(message, key, flags);
}

void TTrackBarControl::UpdateSliderPictures() {
  if (!slider_) return;
  IWidgetCollection* pictures = slider_->GetChildren();
  if (!pictures) return;
  const Ref<IWidget> selected = pictures->GetWidgetByName("image_sliderselected");
  const Ref<IWidget> normal = pictures->GetWidgetByName("image_slidernormal");
  if (!selected) {
    if (normal) normal->SetVisible(true);
    return;
  }
  selected->SetVisible(pressed_);
  if (normal) normal->SetVisible(!pressed_);
}

bool TTrackBarControl::GetSliderVisible() const {
  const Ref<IWidget> slider = widgets_->GetWidgetByName("image_slider");
  return slider && slider->IsVisible();
}

void TTrackBarControl::SetSliderVisible(bool value) {
  if (const Ref<IWidget> slider = widgets_->GetWidgetByName("image_slider")) slider->SetVisible(value);
}

}  // namespace qv
