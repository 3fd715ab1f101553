#include "storage/Cipher.h"

namespace qv {

namespace {

constexpr uint32_t kDelta = 0x9E3779B9u;

uint32_t LoadLE(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void StoreLE(unsigned char* p, uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

// XORs the 1..7 tail bytes with the 8-byte mask (word 0 then word 1, LE).
void MaskTail(unsigned char* tail, size_t n, uint32_t m0, uint32_t m1) {
  unsigned char mask[8];
  StoreLE(mask, m0);
  StoreLE(mask + 4, m1);
  for (size_t i = 0; i < n; ++i) tail[i] ^= mask[i];
}

}  // namespace

std::string TStringFormat_HEX::ToText(std::string_view bytes) const {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string TStringFormat_HEX::FromText(std::string_view text) const {
  std::string out;
  bool restarted = false;
  int high = -1;
  for (char ch : text) {
    if (ch == '$' && !restarted) {
      restarted = true;
      out.clear();
      high = -1;
      continue;
    }
    int v;
    if (ch >= '0' && ch <= '9')
      v = ch - '0';
    else if (ch >= 'a' && ch <= 'f')
      v = ch - 'a' + 10;
    else if (ch >= 'A' && ch <= 'F')
      v = ch - 'A' + 10;
    else
      continue;
    if (high < 0) {
      high = v;
    } else {
      out += static_cast<char>(high << 4 | v);
      high = -1;
    }
  }
  return out;
}

std::string TCipher::Transform(std::string_view text, int direction, int format) const {
  std::unique_ptr<TStringFormat> form;
  if (format == kFormatPlain)
    form = std::make_unique<TStringFormat>();
  else if (format == kFormatHex)
    form = std::make_unique<TStringFormat_HEX>();
  else
    return {};
  if (direction == kDirEncipher) {
    std::string data(text);
    EncipherBytes(data);
    return form->ToText(data);
  }
  std::string data = form->FromText(text);
  DecipherBytes(data);
  return data;
}

TCipher_Xtea::TCipher_Xtea(std::string key) {
  unsigned char bytes[16] = {};
  for (size_t i = 0; i < 16 && i < key.size(); ++i) bytes[i] = static_cast<unsigned char>(key[i]);
  for (int i = 0; i < 4; ++i) k_[i] = LoadLE(bytes + 4 * i);
}

void TCipher_Xtea::EncipherBytes(std::string& data) const {
  auto* p = reinterpret_cast<unsigned char*>(data.data());
  const size_t blocks = data.size() / 8;
  uint32_t m0 = k_[0] ^ k_[2] ^ kDelta, m1 = k_[1] ^ k_[3] ^ kDelta;
  for (size_t b = 0; b < blocks; ++b, p += 8) {
    uint32_t y = LoadLE(p), z = LoadLE(p + 4), sum = 0;
    for (int i = 0; i < 32; ++i) {
      y += k_[sum & 3] + (((z << 4) ^ (z >> 5)) + (z ^ sum));
      sum += kDelta;
      z += k_[(sum >> 11) & 3] + (((y << 4) ^ (y >> 5)) + (y ^ sum));
    }
    StoreLE(p, y);
    StoreLE(p + 4, z);
    m0 = y;
    m1 = z;
  }
  MaskTail(p, data.size() % 8, m0, m1);
}

void TCipher_Xtea::DecipherBytes(std::string& data) const {
  auto* p = reinterpret_cast<unsigned char*>(data.data());
  const size_t blocks = data.size() / 8;
  uint32_t m0 = k_[0] ^ k_[2] ^ kDelta, m1 = k_[1] ^ k_[3] ^ kDelta;
  for (size_t b = 0; b < blocks; ++b, p += 8) {
    uint32_t y = LoadLE(p), z = LoadLE(p + 4), sum = kDelta * 32u;
    m0 = y;
    m1 = z;
    for (int i = 0; i < 32; ++i) {
      z -= k_[(sum >> 11) & 3] + (((y << 4) ^ (y >> 5)) + (y ^ sum));
      sum -= kDelta;
      y -= k_[sum & 3] + (((z << 4) ^ (z >> 5)) + (z ^ sum));
    }
    StoreLE(p, y);
    StoreLE(p + 4, z);
  }
  MaskTail(p, data.size() % 8, m0, m1);
}

std::string EncipherToHex(std::string_view bytes, const std::string& key) {
  return TCipher_Xtea(key).Transform(bytes, TCipher::kDirEncipher, TCipher::kFormatHex);
}

std::string DecipherFromHex(std::string_view text, const std::string& key) {
  return TCipher_Xtea(key).Transform(text, TCipher::kDirDecipher, TCipher::kFormatHex);
}

}  // namespace qv
