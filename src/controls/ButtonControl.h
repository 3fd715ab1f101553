// A push button: pictures for normal, hover and disabled, a click sound, and
// an action run by a press and a release inside (or Enter or Space while it
// has the focus): open an address, close or show a screen, run a file, or
// report a click to the screen.
#pragma once

#include <string>

#include "controls/ControlWidget.h"
#include "screens/IClickable.h"

namespace qv {

class TButtonControl : public TControlWidget, public IClickable {
public:
  enum EVisualState : int { kNormal = 0, kSelected = 1, kDisabled = 2, kUnset = 3 };

  // "actiontype" (lower-cased at load), "GSParams", "gamescreenname",
  // "url" (written when not empty), "file_to_run" (never written).
  QV_PROPERTY_TABLE(TButtonControl)

  void SetOwner(IWidgetOwner* owner) override;
  void AdvanceTime(int dt) override;
  // Key-up of Enter or Space while focused and enabled clicks; their
  // key-down is taken too, so the screen does not act on the same key.
  bool KeyEvent(unsigned message, unsigned key, unsigned flags) override;
  bool OnMouseDown(TPoint point, unsigned flags, int button) override;
  bool OnMouseUp(TPoint point, unsigned flags, int button) override;

  // IClickable: what a press and a release inside do.
  bool Click() override;

  virtual void SetVisualState(int state);
  virtual void UpdateVisual();

  int GetVisualState() const { return visualState_; }
  bool IsHover() const { return hover_; }
  const std::string& GetActionType() const { return actionType_; }

protected:
  ~TButtonControl() override = default;
  void OnEnabledChanged() override { UpdateVisual(); }

private:
  void SetActionType(const std::string& value);
  void RunAction();
  void ShowGameScreen();

  bool hover_ = false;
  int visualState_ = kUnset;
  std::string actionType_;
  std::string gsParams_;
  std::string gameScreenName_;
  std::string url_;
  std::string fileToRun_;
};

}  // namespace qv
