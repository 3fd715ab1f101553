#include "widgets/ActionDef.h"

namespace qv {

const TPropertyTable<TActionDef>& TActionDef::Properties() {
  using A = TActionDef;
  static const TPropertyTable<A> table = TPropertyTable<A>(TPropertyObject::Properties())
                                             .Int("state", &A::state_)
                                             .Always()
                                             .Int("probability", &A::probability_)
                                             .Always()
                                             .Int("duration", &A::duration_)
                                             .Always()
                                             .Int("nextstate", &A::nextState_)
                                             .Always()
                                             .String("widgetname", &A::widgetName_)
                                             .Always();
  return table;
}

}  // namespace qv
