#include "board/Bonus.h"

namespace qv {

const TPropertyTable<TBonus>& TBonus::Properties() {
  using W = TBonus;
  static const TPropertyTable<W> table = TPropertyTable<W>(TPersistObject::Properties())
                                             .Int("bonustype", &W::bonusType_, 0)
                                             .String("params", &W::params_);
  return table;
}

}  // namespace qv
