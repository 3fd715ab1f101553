#include "controls/ButtonControl.h"

#include "core/Diagnostics.h"
#include "core/Messages.h"
#include "core/StringUtils.h"
#include "screens/IGameScreenOwner.h"
#include "screens/IGameScreenSlave.h"
#include "services/IDesktopOpener.h"
#include "storage/Params.h"

namespace qv {

namespace {

constexpr char kClickSound[] = "sound_buttonclick";

}  // namespace

const TPropertyTable<TButtonControl>& TButtonControl::Properties() {
  using W = TButtonControl;
  static const TPropertyTable<W> table = TPropertyTable<W>(TControlWidget::Properties())
                                             .String("actiontype", &W::GetActionType, &W::SetActionType)
                                             .String("GSParams", &W::gsParams_)
                                             .String("gamescreenname", &W::gameScreenName_)
                                             .String("url", &W::url_)
                                             .String("file_to_run", &W::fileToRun_)
                                             .LoadOnly();
  return table;
}

void TButtonControl::SetActionType(const std::string& value) {
  actionType_ = LowerCase(value);
}

void TButtonControl::SetOwner(IWidgetOwner* owner) {
  TControlWidget::SetOwner(owner);
  if (!owner) return;
  visualState_ = kUnset;
  UpdateVisual();
}

void TButtonControl::AdvanceTime(int dt) {
  TControlWidget::AdvanceTime(dt);
  if (PollHover(hover_)) {
    UpdateVisual();
    needRepaint_ = true;
  }
}

void TButtonControl::UpdateVisual() {
  if (!owner_) return;
  SetVisualState(!enabled_ ? kDisabled : hover_ ? kSelected : kNormal);
}

void TButtonControl::SetVisualState(int state) {
  if (state == visualState_) return;
  visualState_ = state;
  HidePicture("image_normal");
  HidePicture("image_selected");
  HidePicture("image_disabled");
  switch (state) {
    case kNormal:
      ShowPicture("image_normal");
      break;
    case kSelected:
      if (!ShowPicture("image_selected")) ShowPicture("image_normal");
      break;
    case kDisabled:
      if (!ShowPicture("image_disabled")) ShowPicture("image_normal");
      break;
    default:
      break;
  }
}

bool TButtonControl::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (hasFocus_ && enabled_ && (key == VK_RETURN || key == VK_SPACE)) {
    if (message == WM_KEYDOWN) return true;
    if (message == WM_KEYUP) {
      Click();
      return true;
    }
  }
  return TControlWidget::KeyEvent(message, key, flags);
}

bool TButtonControl::OnMouseDown(TPoint point, unsigned flags, int button) {
  TControlWidget::OnMouseDown(point, flags, button);
  if (button != 0 || !enabled_) return false;
  CaptureMouse();
  pressed_ = true;
  PlaySound(kClickSound, true, 100, 0);
  return true;
}

bool TButtonControl::OnMouseUp(TPoint point, unsigned, int button) {
  if (button != 0 || !pressed_) return false;
  const Ref<IWidget> self(this);
  if (ContainsPoint(point, false)) {
    UpdateVisual();
    PlaySound(kClickSound, true, 100, 0);
    RunAction();
  }
  ReleaseMouse();
  pressed_ = false;
  return true;
}

bool TButtonControl::Click() {
  if (!enabled_ || !visible_) return false;
  const Ref<IWidget> self(this);
  // The press and the release inside, without the capture between them.
  PlaySound(kClickSound, true, 100, 0);
  UpdateVisual();
  PlaySound(kClickSound, true, 100, 0);
  RunAction();
  return true;
}

void TButtonControl::RunAction() {
  if (actionType_ == "url") {
    if (url_.empty()) ReportDataError(GetFullPath(), "action \"url\" without \"url\"");
    if (auto* opener = GetService<IDesktopOpener>()) opener->OpenURL(url_);
  } else if (actionType_ == "closegamescreen") {
    IGameScreenOwner* game = GetScreenOwner();
    IGameScreenSlave* screen = GetScreen();
    if (game && screen) game->CloseScreen(screen, nullptr);
  } else if (actionType_ == "showgamescreen") {
    ShowGameScreen();
  } else if (actionType_ == "run_file") {
    if (fileToRun_.empty()) ReportDataError(GetFullPath(), "action \"run_file\" without \"file_to_run\"");
    if (auto* opener = GetService<IDesktopOpener>()) opener->OpenFile(fileToRun_);
  } else {
    SendEvent(ccClick);
  }
}

void TButtonControl::ShowGameScreen() {
  if (gameScreenName_.empty()) {
    ReportDataError(GetFullPath(), "action \"showgamescreen\" without \"gamescreenname\"");
    return;
  }
  Ref<TParamCollection> params;
  if (!gsParams_.empty()) {
    params = MakeRef<TParamCollection>();
    params->Initialize();
    for (const TParamPair& pair : ParseParams(gsParams_))
      params->SetParamValue(UpperCase(pair.name), pair.value);
  }
  IGameScreenOwner* game = GetScreenOwner();
  if (!game) return;
  if (!game->ShowScreen(gameScreenName_, params.get()))
    ReportDataError(GetFullPath(), "no screen named \"" + gameScreenName_ + "\"");
}

}  // namespace qv
