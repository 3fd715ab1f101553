// The cipher of enciphered storage files and its text forms.
//
// TCipher_Xtea is an XTEA-shaped block cipher whose cycle function differs
// from the textbook one; stored files depend on this exact form. Blocks are
// enciphered independently and the tail is XORed with a mask, so the output
// always has the length of the input.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qv {

class TStringFormat {
public:
  virtual ~TStringFormat() = default;
  // Format code 1: bytes unchanged.
  virtual std::string ToText(std::string_view bytes) const { return std::string(bytes); }
  virtual std::string FromText(std::string_view text) const { return std::string(text); }
};

class TStringFormat_HEX final : public TStringFormat {
public:
  // Two upper-case digits per byte, high nibble first.
  std::string ToText(std::string_view bytes) const override;
  // Case-insensitive digits; other characters are skipped; the first "$"
  // restarts decoding; a final unpaired nibble is dropped.
  std::string FromText(std::string_view text) const override;
};

class TCipher {
public:
  virtual ~TCipher() = default;
  virtual void EncipherBytes(std::string& data) const = 0;
  virtual void DecipherBytes(std::string& data) const = 0;

  static constexpr int kDirEncipher = 0;
  static constexpr int kDirDecipher = 1;
  static constexpr int kFormatPlain = 1;
  static constexpr int kFormatHex = 16;

  // Direction 0: encipher `text` and render it in the form; direction 1: parse
  // the form and decipher. Unknown format codes give an empty output.
  std::string Transform(std::string_view text, int direction, int format) const;
};

class TCipher_Xtea final : public TCipher {
public:
  explicit TCipher_Xtea(std::string key);
  void EncipherBytes(std::string& data) const override;
  void DecipherBytes(std::string& data) const override;

private:
  uint32_t k_[4] = {0, 0, 0, 0};
};

// Shorthands for the form every caller uses: hexadecimal text.
std::string EncipherToHex(std::string_view bytes, const std::string& key);
std::string DecipherFromHex(std::string_view text, const std::string& key);

}  // namespace qv
