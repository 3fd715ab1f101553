#include "controls/ControlWidget.h"

#include <algorithm>

#include "core/Diagnostics.h"
#include "core/Messages.h"
#include "screens/IGameScreenOwner.h"
#include "screens/IGameScreenSlave.h"
#include "services/ICursorPosition.h"
#include "widgets/IWindow.h"

namespace qv {

const TPropertyTable<TControlWidget>& TControlWidget::Properties() {
  using W = TControlWidget;
  static const TPropertyTable<W> table = TPropertyTable<W>(TVisualGroupWidget::Properties())
                                             .Int("width", &W::GetWidth, &W::SetWidth)
                                             .Always()
                                             .Int("height", &W::GetHeight, &W::SetHeight)
                                             .Always()
                                             .Bool("enabled", &W::IsEnabled, &W::SetEnabled)
                                             .WhenTrue()
                                             .Bool("tabstop", &W::tabStop_)
                                             .WhenTrue()
                                             .String("maskwidget", &W::maskWidgetName_);
  return table;
}

TRect TControlWidget::GetRect() const {
  const int left = RoundEven(anchorLeft_);
  const int top = RoundEven(anchorTop_);
  const auto size = [](int v) { return std::clamp(v, -kWidgetCoordinateLimit, kWidgetCoordinateLimit); };
  return {left, top, left + size(width_), top + size(height_)};
}

void TControlWidget::SetWidth(int value) {
  if (value != width_) geometryChanged_ = true;
  width_ = value;
}

void TControlWidget::SetHeight(int value) {
  if (value != height_) geometryChanged_ = true;
  height_ = value;
}

void TControlWidget::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  OnEnabledChanged();
}

Ref<IWidget> TControlWidget::WidgetAtPos(TPoint point) {
  if (Ref<IWidget> hit = TVisualGroupWidget::WidgetAtPos(point)) return hit;
  if (visible_ && mouseStop_ && ContainsPoint(point, false)) return Ref<IWidget>(this);
  return nullptr;
}

bool TControlWidget::ContainsPoint(TPoint point, bool ignoreVisibility) {
  if (!ignoreVisibility && !visible_) return false;
  const bool inside = anchorLeft_ <= point.x && point.x <= anchorLeft_ + width_ && anchorTop_ <= point.y &&
                      point.y <= anchorTop_ + height_;
  if (!inside || maskWidgetName_.empty()) return inside;
  const Ref<IWidget> mask = FindWidget(maskWidgetName_);
  if (!mask) {
    if (!reportedMask_)
      ReportDataError(GetFullPath(),
                      "mask widget \"" + maskWidgetName_ + "\" not found; the rectangle decides");
    reportedMask_ = true;
    return inside;
  }
  // The point on screen, then in the mask's own owner space.
  const TPoint origin = ScreenToLocal({0, 0});
  const TPoint screen{point.x - origin.x, point.y - origin.y};
  return mask->ContainsPoint(mask->ScreenToLocal(screen), true);
}

bool TControlWidget::MouseEvent(unsigned message, TPoint point, unsigned flags) {
  const TPoint local = ScreenToLocal(point);
  switch (message) {
    case WM_MOUSEMOVE:
      return OnMouseMove(local, flags);
    case WM_LBUTTONDOWN:
      return OnMouseDown(local, flags, 0);
    case WM_LBUTTONUP:
      return OnMouseUp(local, flags, 0);
    case WM_LBUTTONDBLCLK:
      return OnDoubleClick(local, flags, 0);
    case WM_RBUTTONDOWN:
      return OnMouseDown(local, flags, 1);
    case WM_RBUTTONUP:
      return OnMouseUp(local, flags, 1);
    case WM_RBUTTONDBLCLK:
      return OnDoubleClick(local, flags, 1);
    case WM_MBUTTONDOWN:
      return OnMouseDown(local, flags, 2);
    case WM_MBUTTONUP:
      return OnMouseUp(local, flags, 2);
    case WM_MBUTTONDBLCLK:
      return OnDoubleClick(local, flags, 2);
    default:
      return false;
  }
}

namespace {

bool Focusable(const Ref<IWidget>& w) {
  return w && w->IsTabStop() && w->IsVisible();
}

}  // namespace

bool TControlWidget::KeyEvent(unsigned message, unsigned key, unsigned flags) {
  if (!hasFocus_) return false;
  if (!innerFocus_) {
    for (int i = 0; i < widgets_->Count(); ++i) {
      const Ref<IWidget> child = widgets_->GetWidget(i);
      if (!Focusable(child)) continue;
      innerFocus_ = child;
      child->FocusGained();
      break;
    }
  }
  if (!innerFocus_) return false;
  const Ref<IWidget> focus = innerFocus_;
  if (focus->KeyEvent(message, key, flags)) return true;
  if (message != WM_KEYUP || key != VK_TAB) return false;
  const int index = widgets_->IndexOf(focus->GetName());
  for (int i = index + 1; i < widgets_->Count(); ++i) {
    const Ref<IWidget> child = widgets_->GetWidget(i);
    if (!Focusable(child)) continue;
    focus->FocusLost();
    innerFocus_ = child;
    child->FocusGained();
    return true;
  }
  // The last one: the screen moves on to its next control.
  return false;
}

void TControlWidget::FocusGained() {
  hasFocus_ = true;
}

void TControlWidget::FocusLost() {
  hasFocus_ = false;
  if (const Ref<IWidget> inner = std::move(innerFocus_)) inner->FocusLost();
}

bool TControlWidget::OnMouseMove(TPoint, unsigned) {
  return false;
}

bool TControlWidget::OnMouseDown(TPoint, unsigned, int button) {
  if (!hasFocus_ && IsTabStop() && button == 0)
    if (IWindow* window = GetScreenWindow()) window->SetFocus(this);
  return false;
}

bool TControlWidget::OnMouseUp(TPoint, unsigned, int) {
  return false;
}

bool TControlWidget::OnDoubleClick(TPoint, unsigned, int) {
  return false;
}

void TControlWidget::SendEvent(int code, IParamCollection* params) {
  // The handler may close the screen: the control stays alive until the
  // call returns.
  const Ref<IWidget> self(this);
  if (IEventHandler* handler = GetHandler()) handler->OnControlEvent(this, code, params);
}

IGameScreenOwner* TControlWidget::GetScreenOwner() const {
  IEventHandler* handler = GetHandler();
  return handler ? QueryPtr<IGameScreenOwner>(handler->GetScreenOwner()) : nullptr;
}

IGameScreenSlave* TControlWidget::GetScreen() const {
  return dynamic_cast<IGameScreenSlave*>(GetScreenWindow());
}

void TControlWidget::CaptureMouse() {
  if (IWindow* window = GetScreenWindow()) window->SetCapture(this);
}

void TControlWidget::ReleaseMouse() {
  if (IWindow* window = GetScreenWindow()) window->ReleaseCapture();
}

bool TControlWidget::ShowPicture(const std::string& name) {
  const Ref<IWidget> picture = widgets_->GetWidgetByName(name);
  if (!picture) return false;
  picture->SetVisible(true);
  picture->Resume();
  return true;
}

void TControlWidget::HidePicture(const std::string& name) {
  if (const Ref<IWidget> picture = widgets_->GetWidgetByName(name)) {
    picture->SetVisible(false);
    picture->Pause();
  }
}

bool TControlWidget::PointerInOwnerSpace(TPoint& point) {
  auto* cursor = GetService<ICursorPosition>();
  if (!cursor) return false;
  point = ScreenToLocal(cursor->GetCursorPos());
  return true;
}

bool TControlWidget::PollHover(bool& hover) {
  TPoint point;
  if (!PointerInOwnerSpace(point)) return false;
  const bool inside = ContainsPoint(point, false);
  if (inside == hover) return false;
  hover = inside;
  return true;
}

}  // namespace qv
