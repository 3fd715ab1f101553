// PNG decoding as image resources (true colour only), the data tool (any
// colour type) and the alpha files of "jpng" images (8-bit grey) read it;
// a decoded image is encoded again and must decode to the same size.
#include "FuzzSupport.h"
#include "graphics/ImageCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  const std::string_view bytes = fuzz::Bytes(data, size);
  (void)DecodePng(bytes, EPngAccept::kTrueColour);
  Ref<TSurface> any = DecodePng(bytes, EPngAccept::kAny);
  // The round trip only for images up to a megapixel: a 64-megapixel
  // picture is allowed, but encoding it again would only slow the runs.
  if (any && int64_t{any->GetWidth()} * any->GetHeight() <= (int64_t{1} << 20)) {
    const Ref<TSurface> again = DecodePng(EncodePng(*any), EPngAccept::kAny);
    if (!again || again->GetWidth() != any->GetWidth() || again->GetHeight() != any->GetHeight())
      __builtin_trap();
  }
  int w = 0, h = 0;
  std::vector<uint8_t> grey;
  if (DecodePngGrey(bytes, w, h, grey) && grey.size() != static_cast<size_t>(w) * static_cast<size_t>(h))
    __builtin_trap();
  return 0;
}
