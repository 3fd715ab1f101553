/* Writes small JPEG seeds (baseline and progressive, colour and grey) to the
   folder named on the command line: cc make_jpeg_seeds.c -ljpeg. */
#include <stdio.h>
#include <stdlib.h>
#include <jpeglib.h>

static void write_jpeg(const char* dir, const char* name, int w, int h, int comps, int progressive) {
  char path[1024];
  snprintf(path, sizeof path, "%s/%s", dir, name);
  FILE* f = fopen(path, "wb");
  if (!f) exit(1);
  struct jpeg_compress_struct c;
  struct jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  jpeg_stdio_dest(&c, f);
  c.image_width = (JDIMENSION)w;
  c.image_height = (JDIMENSION)h;
  c.input_components = comps;
  c.in_color_space = comps == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 50, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  unsigned char row[64 * 3];
  while (c.next_scanline < c.image_height) {
    for (int x = 0; x < w * comps; ++x) row[x] = (unsigned char)(x * 13 + c.next_scanline * 7);
    JSAMPROW rows[1] = {row};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  fclose(f);
}

int main(int argc, char** argv) {
  const char* dir = argc > 1 ? argv[1] : ".";
  write_jpeg(dir, "colour.jpg", 8, 8, 3, 0);
  write_jpeg(dir, "progressive.jpg", 16, 9, 3, 1);
  write_jpeg(dir, "grey.jpg", 5, 5, 1, 0);
  return 0;
}
