// "jpng" images through the image resource: colour from a JPEG beside the
// file, alpha from the file itself (8-bit grey PNG). The input is the
// JPEG, the bytes "@@JPNG@@" and the PNG; both are written to the scratch
// folder and the resource loads them through its owner.
#include "FuzzSupport.h"
#include "resources/ImageResource.h"
#include "resources/ResourceOwner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  const auto [jpeg, png] = fuzz::SplitAt(fuzz::Bytes(data, size), "@@JPNG@@");
  fuzz::WriteScratchFile("pic.jpg", jpeg);
  fuzz::WriteScratchFile("pic.png", png);
  const Ref<TSilentResourceOwner> ownerRef = MakeRef<TSilentResourceOwner>();
  TSilentResourceOwner& owner = *ownerRef;
  auto image = MakeRef<TImageResource>();
  image->SetFile("pic.png");
  image->SetFormat(TImageResource::kJpng);
  image->SetOwner(&owner);
  if (Ref<ISurface> s = image->GetSurface()) {
    if (s->GetWidth() != image->GetWidth()) __builtin_trap();
  }
  image->ReleaseResource();
  return 0;
}
