// Registration of the controls' type names with the class registry.
#pragma once

namespace qv {

// "Control", "ButtonControl", "LabelControl", "CheckBoxControl",
// "EditControl", "NumLabelControl", "ListBoxControl", "TrackBarControl",
// "HighScoresGridControl", "control_text_vizualization", "SequenceControl".
void RegisterControlsTypes();

}  // namespace qv
