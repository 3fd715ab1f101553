// JPEG decoding as "jpeg" image resources read it.
#include "FuzzSupport.h"
#include "graphics/ImageCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  if (Ref<TSurface> s = DecodeJpeg(fuzz::Bytes(data, size))) {
    // Touch the last pixel: the surface holds every row it claims.
    if (s->GetWidth() > 0 && s->GetHeight() > 0) (void)s->GetScanLine(s->GetHeight() - 1)[s->GetWidth() - 1];
  }
  return 0;
}
