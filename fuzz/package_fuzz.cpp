// ZIP packages through the data paths: the input is "pkg.tgd" in the
// scratch folder and the game's paths reach into it ("pkg\..."), its
// entries read whole and in parts, as storage files and with seeks.
#include "FuzzSupport.h"
#include "storage/DataPaths.h"
#include "storage/XMLStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  fuzz::WriteScratchFile("pkg.tgd", fuzz::Bytes(data, size));
  ResetDataPathCache();
  static const char* const kEntries[] = {"pkg\\a.xml",  "pkg\\A.XML",   "pkg\\sub\\b.png",
                                         "pkg\\sub\\c", "pkg\\missing", "pkg\\sub"};
  for (const char* path : kEntries) {
    (void)ReadDataFile(path);
    if (auto stream = OpenDataStream(path, true)) {
      char buffer[64];
      (void)stream->Read(buffer, sizeof buffer);
      (void)stream->Seek(stream->Size() / 2);
      (void)stream->Read(buffer, sizeof buffer);
      (void)stream->Seek(stream->Size() + 10);
      (void)stream->Read(buffer, sizeof buffer);
    }
  }
  (void)LoadStorageFile("pkg\\a.xml");
  // The same bytes again, served from the cache of open packages.
  (void)ReadDataFile("pkg\\sub\\c");
  return 0;
}
