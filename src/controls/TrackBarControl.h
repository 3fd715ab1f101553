// A slider on a track: the child "image_slider" is dragged along the
// control (horizontally, or vertically with "vertical"); the position snaps
// to multiples of "frequency" within "min".."max" and each change reports
// code 3.
#pragma once

#include "controls/ControlWidget.h"

namespace qv {

class TTrackBarControl : public TControlWidget {
public:
  enum : int { ccPositionChanged = 3 };

  // "min", "max", "frequency" (stored as at least 1), all always written;
  // "vertical" (written when true); "position" and "slidervisible" as
  // properties.
  QV_PROPERTY_TABLE(TTrackBarControl)

  void SetOwner(IWidgetOwner* owner) override;
  bool IsTabStop() const override { return tabStop_ && visible_ && enabled_; }
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  bool OnMouseDown(TPoint point, unsigned flags, int button) override;
  bool OnMouseMove(TPoint point, unsigned flags) override;
  bool OnMouseUp(TPoint point, unsigned flags, int button) override;
  void CaptureLost() override;

  int GetPosition() const { return position_; }
  // Clamped to min..max and snapped to the frequency (ties to even); the
  // slider placed; code 3 when the position changed.
  void SetPosition(int value);
  int GetMin() const { return min_; }
  int GetMax() const { return max_; }
  int GetFrequency() const { return frequency_; }
  void SetFrequency(int value) { frequency_ = value < 1 ? 1 : value; }
  bool IsVertical() const { return vertical_; }
  int GetDragCoordinate() const { return dragCoordinate_; }

protected:
  ~TTrackBarControl() override = default;

private:
  IWidget* Slider() const { return slider_.get(); }
  int Snap(double value) const;
  int TrackLength() const { return vertical_ ? height_ : width_; }
  int SliderLength() const;
  double SliderPosition() const;
  void SetSliderPosition(double value);
  void PlaceSlider();
  // "image_sliderselected" while pressed, "image_slidernormal" otherwise
  // (always, without the selected picture).
  void UpdateSliderPictures();
  bool GetSliderVisible() const;
  void SetSliderVisible(bool value);

  int dragCoordinate_ = 0;
  int grabOffset_ = 0;
  int min_ = 0;
  int max_ = 0;
  int position_ = 0;
  int frequency_ = 1;
  Ref<IWidget> slider_;
  bool vertical_ = false;
};

}  // namespace qv
