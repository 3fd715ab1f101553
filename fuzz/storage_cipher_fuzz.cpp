// Enciphered storage files: the hexadecimal text deciphered with the game's
// keys and parsed, the other text forms of the cipher, and the same bytes as
// an enciphered out-storage file that a document names.
#include "FuzzSupport.h"
#include "core/Constants.h"
#include "storage/Cipher.h"
#include "storage/DataPaths.h"
#include "storage/StorageAccess.h"
#include "storage/XMLStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv;
  fuzz::Setup();
  const std::string_view in = fuzz::Bytes(data, size);

  const std::string plain = DecipherFromHex(in, kGameKey);
  if (StorageRef root = LoadStorageText(plain)) (void)ReadString(root, "type", "");
  (void)DecipherFromHex(in, kOptionsKey);

  TCipher_Xtea cipher(std::string(in.substr(0, 24)));
  for (int direction : {TCipher::kDirEncipher, TCipher::kDirDecipher})
    for (int format : {TCipher::kFormatPlain, TCipher::kFormatHex, 7})
      (void)cipher.Transform(in, direction, format);
  // Round trip: enciphering then deciphering gives the bytes back.
  if (DecipherFromHex(EncipherToHex(in, kGameKey), kGameKey) != in) __builtin_trap();

  fuzz::WriteScratchFile("c.xml", in);
  ResetDataPathCache();
  StorageRef doc = LoadStorageText(std::string("<root _outstorage=\"file=c.xml\\cryptkey=") + kOptionsKey +
                                   "\"><a/></root>");
  if (doc) {
    (void)ReadInt(doc, "width", 0);
    (void)doc->GetChildCount("a");
  }
  return 0;
}
