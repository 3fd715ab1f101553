#include "audio/AudioTypes.h"

#include "audio/Music.h"
#include "audio/Sound.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterAudioTypes() {
  RegisterClass<TSound>("Sound");
  RegisterClass<TMusic>("Music");
}

}  // namespace qv
