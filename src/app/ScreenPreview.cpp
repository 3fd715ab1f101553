#include "app/ScreenPreview.h"

#include "core/Json.h"
#include "core/StringUtils.h"
#include "core/Variant.h"

namespace qv {

void TPreviewLog::Event(const std::string& kind, const std::string& fields) {
  if (sink_)
    sink_("{\"frame\":" + std::to_string(frame_) + ",\"event\":" + JsonString(kind) + "," + fields + "}");
}

std::string TPreviewLog::Params(IParamCollection* params) {
  std::string text = "{";
  for (int i = 0; params && i < params->GetParamCount(); ++i) {
    const Ref<IParam> p = params->GetParamAt(i);
    if (i > 0) text += ',';
    text += JsonString(p->GetName()) + ":" + JsonString(VarToString(p->GetValue()));
  }
  return text + "}";
}

void TPreviewEngine::SetOption(const std::string& name, const std::string& value) {
  engine_.SetOption(name, value);
}

// The game's options are the engine's here; the screen's calls are what
// the preview reports.
void TPreviewGame::SetOption(const std::string& name, const std::string& value) {
  log_.Event("option", "\"name\":" + JsonString(name) + ",\"value\":" + JsonString(value));
  engine_.SetOption(name, value);
}

void TPreviewGame::SetOptionNoSave(const std::string& name, const std::string& value) {
  SetOption(name, value);
}

TVariant TPreviewGame::GetOptionValue(const std::string& name) {
  return engine_.GetOption(name);
}

TPreviewGame::TPreviewGame(TGameScreen& screen, TPreviewEngine& engine, TPreviewLog& log)
    : screen_(screen), engine_(engine), log_(log) {}

IInterface* TPreviewGame::GetEngine() {
  return static_cast<IEngineOptions*>(&engine_);
}

void TPreviewGame::Start() {
  screen_.SetObserver(this);
  screen_.SetOwner(this);
  shown_ = true;
  screen_.Show(nullptr);
  engine_.AddUpdateRect(screen_.GetRect());
}

void TPreviewGame::Finish() {
  screen_.SetObserver(nullptr);
  screen_.Detach();
  shown_ = false;
}

void TPreviewGame::Advance(int dt) {
  if (shown_) screen_.Update(dt);
  RemoveClosed();
}

void TPreviewGame::CollectUpdates() {
  if (shown_) screen_.UpdateDirty();
}

void TPreviewGame::RemoveClosed() {
  if (!shown_ || screen_.IsVisible()) return;
  screen_.UpdateDirty();  // its area is repainted
  shown_ = false;
}

void TPreviewGame::Route(const TMessage& m) {
  if (!shown_) return;
  switch (m.message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      screen_.KeyEvent(m.message, static_cast<unsigned>(m.wParam), static_cast<unsigned>(m.lParam));
      return;
    case WM_SYSCOMMAND:
      if (m.wParam == SC_KEYMENU) screen_.KeyEvent(WM_CHAR, static_cast<unsigned>(m.lParam), KF_ALTDOWN);
      return;
    default:
      if (IsMouseMessage(m.message)) {
        const TPoint point{LoWord(m.lParam), HiWord(m.lParam)};
        engine_.SetCursor(point);
        screen_.MouseEvent(m.message, point, static_cast<unsigned>(m.wParam));
      }
      return;
  }
}

bool TPreviewGame::ShowScreen(const std::string& name, IParamCollection* params) {
  log_.Event("show", "\"screen\":" + JsonString(name) + ",\"params\":" + TPreviewLog::Params(params));
  return shown_ && SameText(name, screen_.GetName());
}

bool TPreviewGame::CloseScreen(IGameScreenSlave* screen, IParamCollection* resultParams) {
  const std::string name = screen ? screen->GetName() : std::string();
  log_.Event("close", "\"screen\":" + JsonString(name) + ",\"params\":" + TPreviewLog::Params(resultParams));
  if (!shown_ || screen != &screen_) return false;
  screen_.Hide();
  closeParams_ = Ref<IParamCollection>(resultParams);
  RemoveClosed();
  return true;
}

void TPreviewGame::ControlEventSeen(IGameScreenSlave&, IWidget* sender, int code, IParamCollection*) {
  log_.Event("control", "\"sender\":" + JsonString(sender ? sender->GetName() : std::string()) +
                            ",\"code\":" + std::to_string(code));
}

void TPreviewGame::FocusChanged(IGameScreenSlave&, IWidget* focus) {
  log_.Event("focus", std::string("\"widget\":") + (focus ? JsonString(focus->GetName()) : "null"));
}

}  // namespace qv
