// An animation of timed frames: each "frame" child names a grid cell and
// how long it shows.
#pragma once

#include <vector>

#include "widgets/AnimationWidget.h"

namespace qv {

class TSequenceAnimationWidget : public TBaseAnimationWidget {
public:
  struct TFrame {
    int duration = 0;
    int subImageIndex = 0;
  };

  // "default_duration" (always written) and the "frame" children
  // ("subimage_index" always, "duration" when it differs from the default);
  // "currentframe" is the frame of the list, written through
  // SelectSequenceFrame.
  QV_PROPERTY_TABLE(TSequenceAnimationWidget)

  void LoadFromStorage(const StorageRef& storage) override;
  void SaveToStorage(const StorageRef& storage) override;
  void AdvanceTime(int dt) override;

  const std::vector<TFrame>& GetFrames() const { return frames_; }
  void SetFrames(std::vector<TFrame> frames);
  int GetTotalDuration() const { return totalDuration_; }
  int GetCurrentSequenceFrame() const { return currentSequenceFrame_; }
  // The frame shown at time t; a time on the boundary of two frames belongs
  // to the earlier one. -1 when none matches.
  int FrameAtTime(int t) const;
  // Ignores an index outside the frame list.
  void SelectSequenceFrame(int index);

protected:
  ~TSequenceAnimationWidget() override = default;
  void ShowTime(int t) override;
  void ShowEnd() override { ShowTime(stopOnFirst_ ? 0 : totalDuration_ - 1); }

  std::vector<TFrame> frames_;
  int totalDuration_ = 0;
  int defaultDuration_ = 0;
  int currentSequenceFrame_ = -1;
};

}  // namespace qv
