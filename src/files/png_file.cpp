// PNG pictures: 8-bit RGB rows, each through the PNG filter that suits it best,
// compressed by zlib; every picture TALVEN writes goes through here.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "files/files.h"
#include "files/text_io.h"

static void put_u32(uint8_t *out, uint32_t value) {
  out[0] = uint8_t(value >> 24), out[1] = uint8_t(value >> 16), out[2] = uint8_t(value >> 8), out[3] = uint8_t(value);
}

static void put_chunk(pending_file &file, const char *type, const uint8_t *data, size_t count) {
  uint8_t head[8];
  put_u32(head, uint32_t(count));
  std::memcpy(head + 4, type, 4);
  put_bytes(file, (const char *)head, 8);
  put_bytes(file, (const char *)data, count);
  uLong crc = crc32(0, head + 4, 4);
  if (count > 0) crc = crc32(crc, data, uInt(count));  // zlib reads no data as "start over"
  uint8_t tail[4];
  put_u32(tail, uint32_t(crc));
  put_bytes(file, (const char *)tail, 4);
}

// The five filters of PNG, by type: what a byte is predicted from, given the byte to
// its left (a), above (b) and above-left (c).
static int paeth(int a, int b, int c) {
  int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}
static int predicted(int type, int a, int b, int c) {
  switch (type) {
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) / 2;
    case 4: return paeth(a, b, c);
    default: return 0;
  }
}
constexpr int filter_count = 5;

constexpr int png_largest_width = 2048, png_largest_height = 2048;
constexpr int row_bytes_most = 3 * png_largest_width;
static uint8_t raw_rows[2][row_bytes_most];  // this row and the one above
static uint8_t filtered[filter_count][1 + row_bytes_most];
static uint8_t compressed[1 << 16];

// The filtered row whose bytes, read as signed, add up to the least: libpng's
// choice, which leaves flat pictures long runs of zeros.
static const uint8_t *best_filtered_row(const uint8_t *row, const uint8_t *above, int count) {
  int best = 0;
  long best_sum = -1;
  for (int type = 0; type < filter_count; type++) {
    uint8_t *out = filtered[type];
    out[0] = uint8_t(type);
    long sum = 0;
    for (int k = 0; k < count; k++) {
      int a = k >= 3 ? row[k - 3] : 0, c = k >= 3 ? above[k - 3] : 0;
      out[1 + k] = uint8_t(row[k] - predicted(type, a, above[k], c));
      sum += out[1 + k] < 128 ? out[1 + k] : 256 - out[1 + k];
    }
    if (best_sum < 0 || sum < best_sum) best = type, best_sum = sum;
  }
  return filtered[best];
}

// Deflates what is given and writes every full output buffer as an IDAT chunk;
// with finish, flushes the rest. False when zlib fails.
static bool deflate_into(pending_file &file, z_stream &stream, const uint8_t *bytes, size_t count, bool finish) {
  stream.next_in = const_cast<uint8_t *>(bytes);
  stream.avail_in = uInt(count);
  for (;;) {
    stream.next_out = compressed;
    stream.avail_out = sizeof compressed;
    int result = deflate(&stream, finish ? Z_FINISH : Z_NO_FLUSH);
    if (result == Z_STREAM_ERROR) return false;
    size_t made = sizeof compressed - stream.avail_out;
    if (made > 0) put_chunk(file, "IDAT", compressed, made);
    if (finish ? result == Z_STREAM_END : stream.avail_out > 0) return true;
  }
}

bool write_png_file(const char *path, const uint32_t *pixels, int width, int height, int row_pixels) {
  if (width <= 0 || height <= 0 || width > png_largest_width || height > png_largest_height || row_pixels < width)
    return false;
  pending_file file;
  if (!begin_file(file, path)) return false;
  put_bytes(file, "\x89PNG\r\n\x1a\n", 8);
  uint8_t header[13] = {};
  put_u32(header, uint32_t(width));
  put_u32(header + 4, uint32_t(height));
  header[8] = 8;  // bits a channel
  header[9] = 2;  // RGB
  put_chunk(file, "IHDR", header, sizeof header);
  z_stream stream{};
  bool compressed_all = deflateInit(&stream, Z_BEST_COMPRESSION) == Z_OK;
  int count = 3 * width;
  std::memset(raw_rows[1], 0, size_t(count));  // the row above the first is zero
  for (int y = 0; y < height && compressed_all; y++) {
    uint8_t *row = raw_rows[y % 2];
    const uint32_t *source = pixels + size_t(y) * size_t(row_pixels);
    for (int x = 0; x < width; x++)
      row[3 * x] = uint8_t(source[x] >> 16), row[3 * x + 1] = uint8_t(source[x] >> 8), row[3 * x + 2] = uint8_t(source[x]);
    compressed_all = deflate_into(file, stream, best_filtered_row(row, raw_rows[(y + 1) % 2], count), size_t(1 + count),
                                  y == height - 1);
  }
  deflateEnd(&stream);
  if (!compressed_all) file.failed = true;
  put_chunk(file, "IEND", nullptr, 0);
  return finish_file(file);
}
