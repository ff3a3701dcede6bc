// The PNG writer, read back by ImageMagick: every picture comes back pixel for pixel,
// and flat pictures such as the window's come out small. ImageMagick runs on Linux
// only, so the Windows build leaves this file out.
#ifdef __linux__
#include <cstdint>
#include <cstdlib>

#include "files/files.h"
#include "support/test_support.h"

namespace {

uint32_t one_colour(int, int) { return 0x123456; }
uint32_t gradient(int x, int y) { return uint32_t(x * 37 & 0xFF) << 16 | uint32_t(y * 91 & 0xFF) << 8 | uint32_t((x ^ y) * 13 & 0xFF); }
uint32_t noise(int x, int y) {
  uint32_t h = uint32_t(x) * 73856093u ^ uint32_t(y) * 19349663u;
  h ^= h >> 13, h *= 0x5bd1e995u, h ^= h >> 15;
  return h & 0xFFFFFF;
}
// Grey around a white page ruled every 20 pixels, with a noisy strip where the menu's text is.
uint32_t screenshot(int x, int y) {
  if (y >= 12 && y < 27 && x % 8 < 6) return noise(x, y) & 0x010101 ? 0 : 0xFFFFFF;
  if (x < 60 || x >= 660 || y < 40 || y >= 440) return 0xC0C0C0;
  return x % 40 == 0 || y % 20 == 0 ? 0x808080 : 0xFFFFFF;
}

struct picture_case {
  const char *name;
  int width, height, row_pixels;  // rows may lie further apart than their width, as on the surface
  uint32_t (*pixel)(int x, int y);
  size_t most_bytes;  // 0 for pictures that do not compress
};
const picture_case pictures[] = {
    {"one pixel", 1, 1, 1, one_colour, 0},
    {"odd width", 3, 2, 3, gradient, 0},
    {"odd width in wider rows", 7, 5, 11, noise, 0},
    {"a long noisy strip", 701, 3, 701, noise, 0},
    {"the window", 700, 500, 1920, screenshot, 20000},
};

using PngFile = ProjectTest;

TEST_F(PngFile, EveryPictureReadsBackAsTheGivenPixels) {
  for (const picture_case &c : pictures) {
    SCOPED_TRACE(c.name);
    std::vector<uint32_t> pixels(size_t(c.row_pixels) * size_t(c.height), 0xFF00FF);  // beyond width: never written
    std::string expected;
    for (int y = 0; y < c.height; y++)
      for (int x = 0; x < c.width; x++) {
        uint32_t p = pixels[size_t(y) * size_t(c.row_pixels) + size_t(x)] = c.pixel(x, y);
        expected += {char(p >> 16), char(p >> 8), char(p)};
      }
    ASSERT_TRUE(write_png_file("picture.png", pixels.data(), c.width, c.height, c.row_pixels));
    ASSERT_EQ(std::system("identify -format '%w %h' picture.png >size.txt && convert picture.png -depth 8 rgb:picture.rgb"), 0);
    EXPECT_EQ(read_file("size.txt"), std::to_string(c.width) + " " + std::to_string(c.height));
    std::string found = read_file("picture.rgb");
    ASSERT_EQ(found.size(), expected.size());
    auto differing = std::mismatch(found.begin(), found.end(), expected.begin());
    EXPECT_TRUE(differing.first == found.end()) << "first differing pixel " << (differing.first - found.begin()) / 3;
    if (c.most_bytes) {
      EXPECT_LE(read_file("picture.png").size(), c.most_bytes);
    }
  }
}

TEST_F(PngFile, NothingIsWrittenWhereThePictureCannotBe) {
  uint32_t pixels[4] = {};
  EXPECT_FALSE(write_png_file("missing-folder/picture.png", pixels, 2, 2, 2));
  EXPECT_FALSE(write_png_file("picture.png", pixels, 0, 2, 2));
  EXPECT_FALSE(write_png_file("picture.png", pixels, 3, 1, 2));  // rows overlapping
  EXPECT_TRUE(std::filesystem::is_empty("."));
}

}  // namespace
#endif
