#include "controls/ControlsTypes.h"

#include "controls/ButtonControl.h"
#include "controls/CheckBoxControl.h"
#include "controls/EditControl.h"
#include "controls/LabelControl.h"
#include "controls/NumLabelControl.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterControlsTypes() {
  RegisterClass<TControlWidget>("Control");
  RegisterClass<TButtonControl>("ButtonControl");
  RegisterClass<TLabelControl>("LabelControl");
  RegisterClass<TCheckBoxControl>("CheckBoxControl");
  RegisterClass<TEditControl>("EditControl");
  RegisterClass<TNumLabelControl>("NumLabelControl");
}

}  // namespace qv
