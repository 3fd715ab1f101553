// Frame-grid animations: frames lie row by row in the image, as many per
// row as the grid width holds; a time step picks the frame.
#pragma once

#include "widgets/ImageWidget.h"
#include "widgets/TimedState.h"

namespace qv {

class TBaseAnimationWidget : public TImageWidget {
public:
  // "loop", "framescount" (not writable), "resourceleft"/"resourcetop" (the
  // grid's corner), "resourceheight" (stored only), "resourcewidth" (the
  // grid width), "startdelaytime", "cycledelaytime", "stoponfirst",
  // "reverse", all always written; "currentframe" is a property.
  QV_PROPERTY_TABLE(TBaseAnimationWidget)

  bool GetLoop() const { return loop_; }
  // A finished widget revived by loop = true starts again from its delay.
  void SetLoop(bool value);
  int GetFramesCount() const { return framesCount_; }
  int GetCurrentFrame() const { return currentFrame_; }
  int GetState() const { return state_; }
  bool IsActive() const { return active_; }
  // Places the source rectangle on the current frame's grid cell; nothing
  // when the grid holds no column.
  void Draw(ISurface* target, int x, int y) override;
  void Restart() override;

protected:
  ~TBaseAnimationWidget() override = default;

  // The state machine shared by both animations: `ShowTime` picks the
  // picture of a running time, `ShowEnd` the last picture.
  void RunStates(int duration);
  virtual void ShowTime(int t) = 0;
  virtual void ShowEnd() = 0;

  bool loop_ = false;
  int framesCount_ = 0;
  int frameOriginLeft_ = 0;
  int frameOriginTop_ = 0;
  int resourceHeight_ = 0;
  int resourceWidth_ = 0;
  int startDelayTime_ = 0;
  int cycleDelayTime_ = 0;
  bool active_ = true;
  int state_ = kStateStartDelay;
  int currentFrame_ = 0;
  bool stopOnFirst_ = false;
  bool reverse_ = false;
};

// Frames evenly spread over "animationtime".
class TAnimationWidget : public TBaseAnimationWidget {
public:
  // "animationtime" (always written); "currentframe" writes go to SetFrame.
  QV_PROPERTY_TABLE(TAnimationWidget)

  int GetAnimationTime() const { return animationTime_; }
  // Counted from the end when reversed.
  void SetFrame(int n);
  void AdvanceTime(int dt) override;

protected:
  ~TAnimationWidget() override = default;
  void ShowTime(int t) override;
  void ShowEnd() override { SetFrame(stopOnFirst_ ? 0 : framesCount_ - 1); }

  int animationTime_ = 0;
};

}  // namespace qv
