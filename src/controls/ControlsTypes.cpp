#include "controls/ControlsTypes.h"

#include "controls/ButtonControl.h"
#include "controls/CheckBoxControl.h"
#include "controls/ControlTextVizualization.h"
#include "controls/EditControl.h"
#include "controls/HighScoresGridControl.h"
#include "controls/LabelControl.h"
#include "controls/ListBoxControl.h"
#include "controls/NumLabelControl.h"
#include "controls/SequenceControl.h"
#include "controls/TrackBarControl.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterControlsTypes() {
  RegisterClass<TControlWidget>("Control");
  RegisterClass<TButtonControl>("ButtonControl");
  RegisterClass<TLabelControl>("LabelControl");
  RegisterClass<TCheckBoxControl>("CheckBoxControl");
  RegisterClass<TEditControl>("EditControl");
  RegisterClass<TNumLabelControl>("NumLabelControl");
  RegisterClass<TListBoxControl>("ListBoxControl");
  RegisterClass<TTrackBarControl>("TrackBarControl");
  RegisterClass<THighScoresGridControl>("HighScoresGridControl");
  RegisterClass<TControlTextVizualization>("control_text_vizualization");
  RegisterClass<TSequenceControl>("SequenceControl");
}

}  // namespace qv
