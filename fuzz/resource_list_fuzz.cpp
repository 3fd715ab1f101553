// Resource list files: the input is a list whose "content" holds resource
// elements; each is created by its type, loaded, handed to an owner (files
// it names are looked up in the scratch folder, which holds a small image
// "i.png") and registered; the group is unloaded again at the end.
#include <stdexcept>

#include "FuzzSupport.h"
#include "graphics/ImageCodec.h"
#include "resources/FontResource.h"
#include "resources/ResourceCollection.h"
#include "resources/ResourceFile.h"
#include "resources/ResourceOwner.h"
#include "storage/XMLStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  static const bool image = [] {
    auto s = MakeRef<TSurface>();
    s->SetSize(2, 2);
    fuzz::WriteScratchFile("i.png", EncodePng(*s));
    return true;
  }();
  (void)image;
  const StorageRef list = LoadStorageText(std::string(fuzz::Bytes(data, size)));
  if (!list) return 0;
  // The owner outlives the resources that point back to it.
  const Ref<TSilentResourceOwner> ownerRef = MakeRef<TSilentResourceOwner>();
  TSilentResourceOwner& owner = *ownerRef;
  auto registry = MakeRef<TResourceCollection>();
  owner.SetResources(registry.get());
  try {
    LoadResources(list, "fuzz", &owner, *registry);
    // A second list with the same names keeps the first ones.
    LoadResources(list, "again", &owner, *registry);
  } catch (const std::runtime_error&) {
    // the engine reports a data error escaping a list and goes on
  }
  // Handing the whole collection to the owner again (substitutes collect
  // their member fonts anew, so they may now list each other).
  registry->SetOwner(&owner);
  for (int i = 0; i < registry->Count(); ++i) {
    Ref<IResource> r = registry->ResourceAt(i);
    if (auto font = Query<IFontResource>(r)) (void)font->GetSymbol('A');
    if (auto img = Query<IImageResource>(r)) (void)img->GetWidth();
  }
  registry->RemoveGroup("fuzz");
  registry->RemoveGroup("again");
  return 0;
}
