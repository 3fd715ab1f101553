#include "board/GameScreenMiniMenu.h"

#include "core/Messages.h"
#include "screens/ScreenSupport.h"
#include "widgets/IEventHandler.h"
#include "widgets/IWidgetCollection.h"

namespace qv {

std::vector<int> MiniMenuTops(int count, int threshold) {
  std::vector<int> tops;
  int offset = 0;
  for (int position = 1; position <= count; ++position) {
    if (position > threshold) offset += kMiniMenuButtonPitch;
    tops.push_back(offset);
  }
  tops.push_back(offset + kMiniMenuButtonPitch);
  return tops;
}

void TZintaraGameScreenMiniMenu::BeforeShow(IParamCollection* params) {
  (void)params;
  buttons_.clear();
  if (const Ref<IWidget> group = FindWidget("buttons_group"))
    if (IWidgetCollection* children = group->GetChildren())
      for (int i = 0; i < children->GetCount(); ++i)
        if (const Ref<IWidget> button = children->GetWidget(i); button && button->IsVisible())
          buttons_.push_back(button);
  step_ = 0;
  carried_ = 0;
  opening_ = true;
  closing_ = false;
  pressed_ = false;
  chosen_.clear();
  const int count = GetButtonCount();
  Layout(count);
  Shade();
}

void TZintaraGameScreenMiniMenu::Update(int dt) {
  TGameScreen::Update(dt);
  if (!IsActive() || (!opening_ && !closing_)) return;
  carried_ += dt;
  while ((opening_ || closing_) && carried_ >= kMiniMenuStepMs) {
    carried_ -= kMiniMenuStepMs;
    Step();
  }
}

void TZintaraGameScreenMiniMenu::Step() {
  const int count = GetButtonCount();
  if (opening_) {
    if (step_ >= count) {
      opening_ = false;
      return;
    }
    Layout(count - step_);
    ++step_;
    Shade();
    if (step_ >= count) opening_ = false;
    return;
  }
  Layout(count - step_ + 1);
  --step_;
  Shade();
  if (step_ >= 1) return;
  closing_ = false;
  carried_ = 0;
  if (IGameScreenOwner* game = GetScreenOwnerInterface()) {
    const Ref<TParamCollection> result = MakeParams({{"Button", chosen_}});
    game->CloseScreen(this, result.get());
  }
}

void TZintaraGameScreenMiniMenu::Layout(int threshold) {
  const std::vector<int> tops = MiniMenuTops(GetButtonCount(), threshold);
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->SetAnchorTop(tops[i]);
  const Ref<IWidget> group = FindWidget("buttons_group");
  if (const Ref<IWidget> bottom = FindWidget("bottom_window"))
    bottom->SetAnchorTop((group ? group->GetAnchorTop() : 0) + tops.back());
}

void TZintaraGameScreenMiniMenu::Shade() {
  const int count = GetButtonCount();
  if (const Ref<IWidget> shade = FindWidget("shadow_rect"))
    shade->SetTransparentLevel(count > 0 ? step_ * 255 / count : 255);
}

void TZintaraGameScreenMiniMenu::StartClosing(const std::string& button) {
  if (closing_) return;
  chosen_ = button;
  opening_ = false;
  closing_ = true;
  carried_ = 0;
}

void TZintaraGameScreenMiniMenu::OnControlEvent(IWidget* sender, int code, IParamCollection* params) {
  (void)params;
  if (code == ccClick && sender) StartClosing(sender->GetName());
}

bool TZintaraGameScreenMiniMenu::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (IsActive() && !IsHiding() && message == WM_KEYDOWN && key == VK_ESCAPE) {
    StartClosing("");
    return true;
  }
  return TGameScreen::KeyEvent(message, key, flags);
}

bool TZintaraGameScreenMiniMenu::MouseEvent(unsigned message, TPoint point, unsigned flags) {
  const bool handled = TGameScreen::MouseEvent(message, point, flags);
  const bool release = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN) pressed_ = true;
  if (!handled && release && pressed_ && IsActive() && !IsHiding()) StartClosing("");
  return handled;
}

}  // namespace qv
