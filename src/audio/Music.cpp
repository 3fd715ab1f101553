#include "audio/Music.h"

namespace qv {

const TPropertyTable<TMusic>& TMusic::Properties() {
  static const TPropertyTable<TMusic> table = TPropertyTable<TMusic>(TPropertyObject::Properties())
                                                  .String("resourcename", &TMusic::resourceName_)
                                                  .Always();
  return table;
}

}  // namespace qv
