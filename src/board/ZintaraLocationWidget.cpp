#include "board/ZintaraLocationWidget.h"

#include <algorithm>
#include <cmath>

#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"
#include "widgets/IWindow.h"

namespace qv {

namespace {

constexpr char kAnimation[] = "location_animation";
constexpr char kComplete[] = "location_complete";
constexpr char kLock[] = "location_lock";
constexpr char kClouds[] = "clouds";
constexpr char kSparks[] = "ps_location";

}  // namespace

int LocationCloudCover(int x, int start, int end) {
  if (x == end) return 0;
  if (x <= start || x > end || end <= start) return 255;
  return 255 - (x - start) * 100 / (end - start);
}

int LocationSparkCount(int width, int height) {
  return static_cast<int>(std::lround(std::sqrt(static_cast<double>(width) * height))) + 20;
}

const TPropertyTable<TZintaraLocationWidget>& TZintaraLocationWidget::Properties() {
  using W = TZintaraLocationWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TVisualGroupWidget::Properties())
                                             .Int("start_level", &W::startLevel_, 0)
                                             .Int("end_level", &W::endLevel_, 0)
                                             .Int("Difficulty", &W::difficulty_, 1)
                                             .PropertyOnly()
                                             .Int("level", &W::GetLevel, &W::SetLevel)
                                             .PropertyOnly()
                                             .Int("animate_level", &W::GetAnimatedLevel, &W::AnimateLevel)
                                             .PropertyOnly()
                                             .WriteOnly();
  return table;
}

int TZintaraLocationWidget::GetEndLevel() const {
  return endLevel_ > startLevel_ ? endLevel_ : startLevel_ + 5;
}

bool TZintaraLocationWidget::IsDone() const {
  return difficulty_ > 1 || level_ > GetEndLevel();
}

void TZintaraLocationWidget::ShowPart(const std::string& name, bool visible, bool running) {
  const Ref<IWidget> part = GetChild(name);
  if (!part) return;
  part->SetVisible(visible);
  if (running)
    part->Resume();
  else
    part->Pause();
}

Ref<IWidget> TZintaraLocationWidget::ScreenWidget(const std::string& name) const {
  IWindow* window = owner_ ? owner_->GetWindow() : nullptr;
  return window ? window->FindWidget(name) : nullptr;
}

void TZintaraLocationWidget::SetLevel(int n) {
  level_ = n;
  const int end = GetEndLevel();
  const bool done = IsDone();
  ShowPart(kAnimation, done, done);
  Ref<IWidget> button = owner_ ? owner_->FindWidget("button_" + GetName()) : nullptr;
  if (!button) button = ScreenWidget("button_" + GetName());
  if (button) button->SetVisible(done);
  ShowPart(kComplete, difficulty_ > 1 || n >= end, true);
  ShowPart(kLock, difficulty_ <= 1 && startLevel_ < n && n < end, true);
  ShowPart(kClouds, false, false);
}

void TZintaraLocationWidget::AnimateLevel(int n) {
  const int end = GetEndLevel();
  if (n <= startLevel_ || n > end + 1) return;
  if (IWindow* window = owner_ ? owner_->GetWindow() : nullptr) window->PlayScreenSound("sound_new_location");
  if (n == end + 1)
    Highlight(kAnimation, kLocationDoneHighlight);
  else if (n == startLevel_ + 1)
    Highlight(kLock, kLocationPictureHighlight);
  else if (n == end)
    Highlight(kComplete, kLocationPictureHighlight);
  else
    Finish();
}

void TZintaraLocationWidget::FadeClouds() {
  phase_ = kFadingClouds;
  phaseTime_ = kLocationCloudsFade;
  clock_ = 0;
  highlighted_.clear();
  ShowPart(kClouds, true, true);
  if (const Ref<IWidget> clouds = GetChild(kClouds))
    clouds->SetTransparentLevel(LocationCloudCover(level_ - 1, startLevel_, GetEndLevel()));
}

void TZintaraLocationWidget::Highlight(const std::string& picture, int time) {
  phase_ = kHighlighting;
  phaseTime_ = time;
  clock_ = 0;
  highlighted_ = picture;
  const Ref<IWidget> part = GetChild(picture);
  const Ref<IWidget> sparks = ScreenWidget(kSparks);
  if (!part || !sparks) return;
  const Ref<ISurface> image = part->GetImage();
  sparks->SetObjectProperty("surface", image);
  // The picture's place on the screen, then in the sparks' own space.
  const TRect rect = part->GetRect();
  const TPoint origin = part->ScreenToLocal({0, 0});
  const TPoint at = sparks->ScreenToLocal({rect.left - origin.x, rect.top - origin.y});
  sparks->SetAnchorLeft(at.x);
  sparks->SetAnchorTop(at.y);
  const int width = image ? image->GetWidth() : part->GetWidth();
  const int height = image ? image->GetHeight() : part->GetHeight();
  const long long count = LocationSparkCount(width, height);
  if (!sparks->SetPropertyValue("count", count)) sparks->SetPropertyValue("emission_count", count);
  sparks->Show(true);
  sparks->Restart();
}

void TZintaraLocationWidget::Finish() {
  const bool highlighted = phase_ == kHighlighting;
  phase_ = kIdle;
  phaseTime_ = 0;
  clock_ = 0;
  highlighted_.clear();
  if (highlighted)
    if (const Ref<IWidget> sparks = ScreenWidget(kSparks))
      if (!sparks->SetPropertyValue("count", 0LL)) sparks->SetPropertyValue("emission_count", 0LL);
  IEventHandler* handler = owner_ ? owner_->GetEventHandler() : nullptr;
  if (!handler) return;
  const Ref<TParamCollection> params = MakeParams({{"level", std::to_string(level_)}});
  handler->OnControlEvent(this, kLocationAnimatedEvent, params.get());
}

void TZintaraLocationWidget::AdvanceTime(int dt) {
  TVisualGroupWidget::AdvanceTime(dt);
  if (phase_ == kIdle) return;
  clock_ += dt;
  if (phase_ == kFadingClouds) {
    const int end = GetEndLevel();
    const int from = LocationCloudCover(level_ - 1, startLevel_, end);
    const int to = LocationCloudCover(level_, startLevel_, end);
    const int t = std::min(clock_, phaseTime_);
    if (const Ref<IWidget> clouds = GetChild(kClouds))
      clouds->SetTransparentLevel(phaseTime_ > 0 ? from + (to - from) * t / phaseTime_ : to);
  }
  if (clock_ >= phaseTime_) Finish();
}

}  // namespace qv
