#include "resources/ResourcesTypes.h"

#include "resources/FontResource.h"
#include "resources/GroupResource.h"
#include "resources/ResourceFile.h"
#include "storage/ClassRegistry.h"

namespace qv {

void RegisterResourcesTypes() {
  RegisterClass<TImageResource>("ImageResource");
  RegisterClass<TFontResource>("FontResource");
  RegisterClass<TFontSubstituteResource>("FontSubstituteResource");
  RegisterClass<TSoundResource>("SoundResource");
  RegisterClass<TSoundGroupResource>("SoundGroupResource");
  RegisterClass<TMusicResource>("MusicResource");
  RegisterClass<TMusicGroupResource>("MusicGroupResource");
  RegisterClass<TResourceFile>("ResourceFile");
}

}  // namespace qv
