#include "widgets/AnimationWidget.h"

#include <cstdint>

namespace qv {

const TPropertyTable<TBaseAnimationWidget>& TBaseAnimationWidget::Properties() {
  using W = TBaseAnimationWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TImageWidget::Properties())
                                             .Bool("loop", &W::GetLoop, &W::SetLoop)
                                             .Always()
                                             .Int(
                                                 "framescount", [](const W& w) { return w.framesCount_; },
                                                 [](W& w, int v) { w.framesCount_ = v; })
                                             .Always()
                                             .ReadOnly()
                                             .Int("resourceleft", &W::frameOriginLeft_)
                                             .Always()
                                             .Int("resourcetop", &W::frameOriginTop_)
                                             .Always()
                                             .Int("resourceheight", &W::resourceHeight_)
                                             .Always()
                                             .StorageOnly()
                                             .Int("resourcewidth", &W::resourceWidth_)
                                             .Always()
                                             .Int("startdelaytime", &W::startDelayTime_)
                                             .Always()
                                             .Int("cycledelaytime", &W::cycleDelayTime_)
                                             .Always()
                                             .Bool("stoponfirst", &W::stopOnFirst_)
                                             .Always()
                                             .Bool("reverse", &W::reverse_)
                                             .Always();
  return table;
}

void TBaseAnimationWidget::SetLoop(bool value) {
  SetScheduleLoop(value, loop_, state_, active_);
}

void TBaseAnimationWidget::Restart() {
  RewindSchedule(state_, active_);
  TImageWidget::Restart();
}

void TBaseAnimationWidget::Draw(ISurface* target, int x, int y) {
  const int columns = width_ > 0 ? resourceWidth_ / width_ : 0;
  if (columns <= 0) return;
  resourceLeft_ = width_ * (currentFrame_ % columns) + frameOriginLeft_;
  resourceTop_ = height_ * (currentFrame_ / columns) + frameOriginTop_;
  TImageWidget::Draw(target, x, y);
}

void TBaseAnimationWidget::RunStates(int duration) {
  if (!active_) return;
  // A delay that ends inside the step hands the rest of the time on to the
  // next state at once.
  for (bool again = true; again;) {
    again = false;
    int& t = currentTime_;
    switch (state_) {
      case kStateStartDelay:
      case kStateCycleDelay: {
        ShowTime(0);
        const int delay = state_ == kStateStartDelay ? startDelayTime_ : cycleDelayTime_;
        if (t >= delay) {
          state_ = kStateRunning;
          if (delay > 0) t %= delay;
          again = t != 0;
        }
        break;
      }
      case kStateRunning:
        if (t >= duration) {
          if (!loop_) {
            active_ = false;
            state_ = kStateFinished;
            ShowEnd();
            return;
          }
          state_ = kStateCycleDelay;
          if (duration > 0) t %= duration;
        }
        ShowTime(t);
        break;
      default:
        break;
    }
  }
}

const TPropertyTable<TAnimationWidget>& TAnimationWidget::Properties() {
  using W = TAnimationWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TBaseAnimationWidget::Properties())
                                             .Int("animationtime", &W::animationTime_)
                                             .Always()
                                             .Int("currentframe", &W::GetCurrentFrame, &W::SetFrame)
                                             .PropertyOnly();
  return table;
}

void TAnimationWidget::SetFrame(int n) {
  if (reverse_) n = framesCount_ - n - 1;
  if (n != currentFrame_) needRepaint_ = true;
  currentFrame_ = n;
}

void TAnimationWidget::ShowTime(int t) {
  if (animationTime_ <= 0) {
    SetFrame(0);
    return;
  }
  // The product wraps as a 32-bit integer.
  const auto product = static_cast<int32_t>(static_cast<uint32_t>(framesCount_) * static_cast<uint32_t>(t));
  SetFrame(product / animationTime_);
}

void TAnimationWidget::AdvanceTime(int dt) {
  TBaseAnimationWidget::AdvanceTime(dt);
  RunStates(animationTime_);
}

}  // namespace qv
