// Font descriptions: a font resource's element with its symbol table loaded
// as the resource list loads it, the font height computed and the symbols
// looked up by the codes a text shows; the table saved and loaded again.
#include "FuzzSupport.h"
#include "resources/FontResource.h"
#include "storage/XMLStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  const StorageRef root = LoadStorageText(std::string(fuzz::Bytes(data, size)));
  if (!root) return 0;
  auto font = MakeRef<TFontResource>();
  font->Initialize();
  font->Load(root);
  (void)font->GetFontHeight();
  for (int32_t code : {0, 32, 65, 97, 228, 0x20AC, -1, INT32_MAX, INT32_MIN}) {
    if (Ref<ISymbol> s = font->GetSymbol(code)) {
      (void)s->GetWidth();
      (void)s->GetHeight();
      (void)(s->GetWLeft() + s->GetWRight());
    }
  }
  const StorageRef saved = NewStorage("resource");
  font->Save(saved);
  auto again = MakeRef<TFontResource>();
  again->Initialize();
  again->Load(saved);
  return 0;
}
