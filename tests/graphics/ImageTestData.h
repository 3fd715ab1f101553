// Images made in memory for the graphics and resource tests.
#pragma once

#include <jpeglib.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace qv::test {

// A colour JPEG of one colour, or of noise around it (so most of the file
// is picture data), at the given quality.
inline std::string Jpeg(int w, int h, uint8_t r, uint8_t g, uint8_t b, bool noisy = false, int quality = 95) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
  while (c.next_scanline < c.image_height) {
    for (int x = 0; x < w; ++x) {
      const uint8_t n = noisy ? static_cast<uint8_t>((x * 151 + c.next_scanline * 83) % 97) : 0;
      row[3 * x] = r ^ n, row[3 * x + 1] = g ^ n, row[3 * x + 2] = b ^ n;
    }
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&c, &p, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  std::string bytes(reinterpret_cast<char*>(out), size);
  std::free(out);
  return bytes;
}

}  // namespace qv::test
