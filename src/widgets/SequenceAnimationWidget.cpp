#include "widgets/SequenceAnimationWidget.h"

#include "core/Diagnostics.h"
#include "storage/StorageAccess.h"

namespace qv {

const TPropertyTable<TSequenceAnimationWidget>& TSequenceAnimationWidget::Properties() {
  using W = TSequenceAnimationWidget;
  static const TPropertyTable<W> table =
      TPropertyTable<W>(TBaseAnimationWidget::Properties())
          .Int("default_duration", &W::defaultDuration_)
          .Always()
          .Int("currentframe", &W::GetCurrentSequenceFrame, &W::SelectSequenceFrame)
          .PropertyOnly();
  return table;
}

void TSequenceAnimationWidget::LoadFromStorage(const StorageRef& storage) {
  TBaseAnimationWidget::LoadFromStorage(storage);
  if (!storage) return;
  std::vector<TFrame> frames;
  const int count = storage->GetChildCount("frame");
  for (int i = 0; i < count; ++i) {
    const StorageRef node = storage->GetChild("frame", i);
    TFrame frame{ReadInt(node, "duration", defaultDuration_), ReadInt(node, "subimage_index", 0)};
    if (frame.duration < 0 || frame.subImageIndex < 0) {
      ReportDataError("widget " + GetFullPath(),
                      "frame " + std::to_string(i) + " has a negative duration or subimage index; dropped");
      continue;
    }
    frames.push_back(frame);
  }
  if (!frames.empty() && framesCount_ > 0) {
    for (const TFrame& f : frames)
      if (f.subImageIndex >= framesCount_)
        ReportDataError("widget " + GetFullPath(), "subimage index " + std::to_string(f.subImageIndex) +
                                                       " is beyond the " + std::to_string(framesCount_) +
                                                       " frames");
  }
  SetFrames(std::move(frames));
  if (count > 0 && totalDuration_ <= 0)
    ReportDataError("widget " + GetFullPath(), "the frames last no time at all");
}

void TSequenceAnimationWidget::SaveToStorage(const StorageRef& storage) {
  TBaseAnimationWidget::SaveToStorage(storage);
  if (!storage) return;
  for (const TFrame& f : frames_) {
    const StorageRef node = storage->AddChild("frame");
    WriteInt(node, "subimage_index", f.subImageIndex);
    WriteInt(node, "duration", f.duration, f.duration != defaultDuration_);
  }
}

void TSequenceAnimationWidget::SetFrames(std::vector<TFrame> frames) {
  frames_ = std::move(frames);
  totalDuration_ = 0;
  for (const TFrame& f : frames_) totalDuration_ += f.duration;
  currentSequenceFrame_ = -1;
}

int TSequenceAnimationWidget::FrameAtTime(int t) const {
  const int n = static_cast<int>(frames_.size());
  if (n == 0) return -1;
  if (t == 0) return reverse_ ? n - 1 : 0;
  if (t == totalDuration_ - 1) return reverse_ ? 0 : n - 1;
  int s = 0;
  for (int k = 0; k < n; ++k) {
    const int i = reverse_ ? n - 1 - k : k;
    if (s <= t && t <= s + frames_[i].duration) return i;
    s += frames_[i].duration;
  }
  return -1;
}

void TSequenceAnimationWidget::SelectSequenceFrame(int index) {
  if (index < 0 || index >= static_cast<int>(frames_.size()) || index == currentSequenceFrame_) return;
  currentSequenceFrame_ = index;
  currentFrame_ = frames_[index].subImageIndex;
  needRepaint_ = true;
}

void TSequenceAnimationWidget::ShowTime(int t) {
  const int index = FrameAtTime(t);
  if (index >= 0) SelectSequenceFrame(index);
}

void TSequenceAnimationWidget::AdvanceTime(int dt) {
  TBaseAnimationWidget::AdvanceTime(dt);
  RunStates(totalDuration_);
}

}  // namespace qv
