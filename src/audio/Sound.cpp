#include "audio/Sound.h"

namespace qv {

const TPropertyTable<TSound>& TSound::Properties() {
  static const TPropertyTable<TSound> table = TPropertyTable<TSound>(TPropertyObject::Properties())
                                                  .String("resourcename", &TSound::resourceName_)
                                                  .Always()
                                                  .ReadOnly()
                                                  .Int("volume", &TSound::volume_, kDefaultVolume)
                                                  .Int("pan", &TSound::pan_, kDefaultPan)
                                                  .Bool("mutemusic", &TSound::muteMusic_)
                                                  .WhenTrue();
  return table;
}

}  // namespace qv
