// Makes the letters of its text children appear one after another: each
// character becomes a letter widget (factory "vizualization_letter") faded
// in by a widget of the factory "transparent_widget", started
// "letterdelaytime" ticks after the one before, all inside the child
// "letters_group". The end reports code 7; a click on the finished
// presentation code 8.
#pragma once

#include "controls/ControlWidget.h"

namespace qv {

class TControlTextVizualization : public TControlWidget {
public:
  enum EState : int { kIdle = 0, kPresenting = 1, kFinished = 2 };
  enum : int { ccPresentationFinished = 7, ccFinishedClicked = 8, kFinishCommand = 3 };

  // "startdelaytime", "letterdelaytime" (always written);
  // "visualization_time" and "visualization_state" read, any write of
  // "InitVizualization" starts the presentation.
  QV_PROPERTY_TABLE(TControlTextVizualization)

  void AdvanceTime(int dt) override;
  bool OnMouseUp(TPoint point, unsigned flags, int button) override;
  // Code 3 finishes a running presentation.
  void ExecuteCommand(int code, IParamCollection* params) override;

  void Start();
  void Finish();
  int GetState() const { return state_; }
  int GetVisualizationTime() const { return visualizationTime_; }

protected:
  ~TControlTextVizualization() override = default;

private:
  void ClearLetters(IWidget* letters);
  void StartWithAny(const TVariant&) { Start(); }

  int startDelayTime_ = 0;
  int letterDelayTime_ = 0;
  int state_ = kIdle;
  int visualizationTime_ = 0;
};

}  // namespace qv
