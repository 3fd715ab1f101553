#include "graphics/GraphicsTypes.h"

#include "graphics/FontResource.h"
#include "graphics/GroupResource.h"
#include "graphics/ResourceFile.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterGraphicsTypes() {
  RegisterClass<TImageResource>("ImageResource");
  RegisterClass<TFontResource>("FontResource");
  RegisterClass<TFontSubstituteResource>("FontSubstituteResource");
  RegisterClass<TSoundResource>("SoundResource");
  RegisterClass<TSoundGroupResource>("SoundGroupResource");
  RegisterClass<TMusicResource>("MusicResource");
  RegisterClass<TMusicGroupResource>("MusicGroupResource");
}

}  // namespace qv
