// PNG pictures written without a library: 8-bit RGB rows in stored (uncompressed)
// deflate blocks, so the core can save what the window shows on every system.
#include <cstdint>
#include <cstring>

#include "files/files.h"
#include "files/text_io.h"

static uint32_t crc_table[256];

static void make_crc_table() {
  for (uint32_t n = 0; n < 256; n++) {
    uint32_t c = n;
    for (int k = 0; k < 8; k++) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    crc_table[n] = c;
  }
}

static uint32_t crc_of(uint32_t crc, const uint8_t *bytes, size_t count) {
  for (size_t k = 0; k < count; k++) crc = crc_table[(crc ^ bytes[k]) & 0xFF] ^ (crc >> 8);
  return crc;
}

static void put_u32(uint8_t *out, uint32_t value) {
  out[0] = uint8_t(value >> 24), out[1] = uint8_t(value >> 16), out[2] = uint8_t(value >> 8), out[3] = uint8_t(value);
}

static void put_chunk(pending_file &file, const char *type, const uint8_t *data, size_t count) {
  uint8_t head[8];
  put_u32(head, uint32_t(count));
  std::memcpy(head + 4, type, 4);
  put_bytes(file, (const char *)head, 8);
  put_bytes(file, (const char *)data, count);
  uint32_t crc = crc_of(crc_of(0xFFFFFFFFu, head + 4, 4), data, count) ^ 0xFFFFFFFFu;
  uint8_t tail[4];
  put_u32(tail, crc);
  put_bytes(file, (const char *)tail, 4);
}

constexpr int png_largest_width = 2048, png_largest_height = 2048;
// One filter byte and three bytes a pixel per row, and a 5-byte block head per row.
static uint8_t png_data[2 + png_largest_height * (5 + 1 + 3 * png_largest_width) + 4];

bool write_png_file(const char *path, const uint32_t *pixels, int width, int height) {
  if (width <= 0 || height <= 0 || width > png_largest_width || height > png_largest_height) return false;
  make_crc_table();
  size_t n = 0;
  png_data[n++] = 0x78, png_data[n++] = 0x01;  // deflate, 32K window, no dictionary
  uint32_t a = 1, b = 0;                          // Adler-32 of the raw rows
  for (int y = 0; y < height; y++) {
    uint16_t length = uint16_t(1 + 3 * width);
    png_data[n++] = y == height - 1;  // one stored block a row, the last one final
    png_data[n++] = uint8_t(length), png_data[n++] = uint8_t(length >> 8);
    png_data[n++] = uint8_t(~length), png_data[n++] = uint8_t(~length >> 8);
    size_t row = n;
    png_data[n++] = 0;  // no filter
    for (int x = 0; x < width; x++) {
      uint32_t p = pixels[y * width + x];
      png_data[n++] = uint8_t(p >> 16), png_data[n++] = uint8_t(p >> 8), png_data[n++] = uint8_t(p);
    }
    for (size_t k = row; k < n; k++) a = (a + png_data[k]) % 65521, b = (b + a) % 65521;
  }
  put_u32(png_data + n, b << 16 | a);
  n += 4;
  pending_file file;
  if (!begin_file(file, path)) return false;
  put_bytes(file, "\x89PNG\r\n\x1a\n", 8);
  uint8_t header[13] = {};
  put_u32(header, uint32_t(width));
  put_u32(header + 4, uint32_t(height));
  header[8] = 8;  // bits a channel
  header[9] = 2;  // RGB
  put_chunk(file, "IHDR", header, sizeof header);
  put_chunk(file, "IDAT", png_data, n);
  put_chunk(file, "IEND", nullptr, 0);
  return finish_file(file);
}
