#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/surface.h"

constexpr rgb black{0, 0, 0};
constexpr rgb white{255, 255, 255};
constexpr rgb red{255, 0, 0};
constexpr rgb blue{0, 0, 255};
constexpr rgb green{0, 255, 0};

// A fresh surface and one drawing context, as a message gets it.
class SurfaceTest : public ::testing::Test {
 protected:
  dc_handle dc = nullptr;
  void SetUp() override {
    reset_surface();
    dc = acquire_window_dc();
  }
  void TearDown() override { release_window_dc(dc); }
  static bool is(int x, int y, rgb colour) { return surface_pixel(x, y) == colour; }
  // The region as rows of characters: 'P' pen, 'B' brush, '.' untouched grey, '?' other.
  static std::string picture(int x, int y, int width, int height, rgb pen, rgb brush) {
    std::string rows;
    for (int r = 0; r < height; r++) {
      for (int c = 0; c < width; c++) {
        rgb p = surface_pixel(x + c, y + r);
        rows += p == pen ? 'P' : p == brush ? 'B' : p == window_class_grey ? '.' : '?';
      }
      rows += '\n';
    }
    return rows;
  }
  void select_red_pen_blue_brush() {
    select_object(dc, create_solid_pen(1, red));
    select_object(dc, create_solid_brush(blue));
  }
};

TEST_F(SurfaceTest, FreshSurfaceIsTheWindowClassGrey) {
  EXPECT_TRUE(is(0, 0, window_class_grey));
  EXPECT_TRUE(is(surface_width - 1, surface_height - 1, window_class_grey));
  EXPECT_GE(surface_width, 800);
  EXPECT_GE(surface_height, 600);
}

TEST_F(SurfaceTest, RectangleIsOutlinedWithPenAndFilledWithBrushRightAndBottomExcluded) {
  select_red_pen_blue_brush();
  draw_rectangle(dc, 10, 10, 15, 14);
  EXPECT_EQ(picture(9, 9, 7, 6, red, blue),
            ".......\n"
            ".PPPPP.\n"
            ".PBBBP.\n"
            ".PBBBP.\n"
            ".PPPPP.\n"
            ".......\n");
}

TEST_F(SurfaceTest, RectangleWithSwappedCornersIsTheSameRectangle) {
  select_red_pen_blue_brush();
  draw_rectangle(dc, 15, 14, 10, 10);
  EXPECT_EQ(picture(10, 10, 5, 4, red, blue), "PPPPP\nPBBBP\nPBBBP\nPPPPP\n");
}

TEST_F(SurfaceTest, FreshContextDrawsWithBlackPenAndWhiteBrush) {
  draw_rectangle(dc, 0, 0, 4, 4);
  EXPECT_EQ(picture(0, 0, 4, 4, black, white), "PPPP\nPBBP\nPBBP\nPPPP\n");
}

TEST_F(SurfaceTest, EllipseIsInscribedInItsBox) {
  select_red_pen_blue_brush();
  draw_ellipse(dc, 60, 5, 100, 35);
  // It touches all four sides of the box and goes no further.
  EXPECT_TRUE(is(60, 19, red) && is(60, 20, red));
  EXPECT_TRUE(is(99, 19, red) && is(99, 20, red));
  EXPECT_TRUE(is(79, 5, red) && is(80, 5, red));
  EXPECT_TRUE(is(79, 34, red) && is(80, 34, red));
  for (int y = 0; y < 40; y++) {
    EXPECT_TRUE(is(59, y, window_class_grey) && is(100, y, window_class_grey)) << y;
  }
  for (int x = 55; x < 105; x++) EXPECT_TRUE(is(x, 4, window_class_grey) && is(x, 35, window_class_grey)) << x;
  // The flattened top: the pixels whose centres lie inside the ellipse on row 5 are 75 to 84.
  EXPECT_EQ(picture(70, 5, 20, 1, red, blue), ".....PPPPPPPPPP.....\n");
  EXPECT_TRUE(is(80, 20, blue));
  EXPECT_TRUE(is(80, 6, blue));
  // The corners of the box stay outside.
  EXPECT_TRUE(is(60, 5, window_class_grey) && is(99, 34, window_class_grey));
}

TEST_F(SurfaceTest, EllipseIsSymmetricAndItsOutlineIsClosed) {
  select_red_pen_blue_brush();
  draw_ellipse(dc, 300, 5, 340, 35);
  std::string picture_rows = picture(300, 5, 40, 30, red, blue);
  std::string mirrored;
  for (int r = 0; r < 30; r++) {
    std::string row = picture_rows.substr(r * 41, 40);
    mirrored += std::string(row.rbegin(), row.rend()) + '\n';
  }
  EXPECT_EQ(mirrored, picture_rows);
  for (int r = 0; r < 15; r++) EXPECT_EQ(picture_rows.substr(r * 41, 41), picture_rows.substr((29 - r) * 41, 41));
  // Between the outline and the outside there is no gap: no brush pixel touches a grey one.
  for (int y = 5; y < 35; y++)
    for (int x = 300; x < 340; x++)
      if (is(x, y, blue)) {
        EXPECT_FALSE(is(x - 1, y, window_class_grey) || is(x + 1, y, window_class_grey) ||
                     is(x, y - 1, window_class_grey) || is(x, y + 1, window_class_grey))
            << x << "," << y;
      }
}

TEST_F(SurfaceTest, LineExcludesItsEndPointAndContinuesFromIt) {
  select_object(dc, create_solid_pen(1, red));
  move_to(dc, 10, 50);
  line_to(dc, 15, 50);
  EXPECT_EQ(picture(9, 49, 8, 3, red, blue), "........\n.PPPPP..\n........\n");
  line_to(dc, 15, 53);
  line_to(dc, 12, 50);
  EXPECT_EQ(picture(9, 49, 8, 6, red, blue),
            "........\n"
            ".PPPPPP.\n"
            "....P.P.\n"
            ".....PP.\n"
            "......P.\n"
            "........\n");
  // A line to its own starting point draws nothing.
  move_to(dc, 30, 30);
  line_to(dc, 30, 30);
  EXPECT_TRUE(is(30, 30, window_class_grey));
}

TEST_F(SurfaceTest, PixelsOutsideTheSurfaceAreIgnored) {
  set_pixel(dc, -1, 0, red);
  set_pixel(dc, surface_width, 0, red);
  set_pixel(dc, 0, surface_height, red);
  set_pixel(dc, 3, 4, red);
  EXPECT_TRUE(is(3, 4, red));
  EXPECT_TRUE(is(0, 0, window_class_grey));
}

TEST_F(SurfaceTest, ReleasedContextDrawsNothing) {
  release_window_dc(dc);
  set_pixel(dc, 3, 4, red);
  draw_rectangle(dc, 0, 0, 10, 10);
  EXPECT_TRUE(is(3, 4, window_class_grey));
  EXPECT_EQ(open_drawing_contexts(), 0);
  dc = acquire_window_dc();
  EXPECT_EQ(open_drawing_contexts(), 1);
}

// The text's pixels in a region as rows of '#' (text colour) and '.'.
static std::string text_picture(int x, int y, int width, int height, rgb colour) {
  std::string rows;
  for (int r = 0; r < height; r++) {
    for (int c = 0; c < width; c++) rows += surface_pixel(x + c, y + r) == colour ? '#' : '.';
    rows += '\n';
  }
  return rows;
}

TEST_F(SurfaceTest, TextIsMonochromeCourierSizedWithItsBaselineElevenBelowTheTop) {
  select_object(dc, create_courier_font());
  set_transparent_background(dc);
  set_text_colour(dc, white);
  text_out(dc, 100, 100, "A", 1);
  EXPECT_EQ(text_picture(100, 100, 8, 15, white),
            "........\n"
            "........\n"
            "...##...\n"
            "...##...\n"
            "..#..#..\n"
            "..#..#..\n"
            "..#..#..\n"
            ".######.\n"
            ".#....#.\n"
            ".#....#.\n"
            "#......#\n"
            "........\n"
            "........\n"
            "........\n"
            "........\n");
  // Only the text colour and the untouched background: no smoothing.
  for (int y = 95; y < 120; y++)
    for (int x = 95; x < 115; x++)
      EXPECT_TRUE(is(x, y, white) || is(x, y, window_class_grey)) << x << "," << y;
}

TEST_F(SurfaceTest, CharactersAdvanceEightPixelsAndStayInTheirCell) {
  select_object(dc, create_courier_font());
  set_transparent_background(dc);
  set_text_colour(dc, green);
  text_out(dc, 200, 200, "AAAA", 3);
  std::string first = text_picture(200, 200, 8, 15, green);
  EXPECT_EQ(text_picture(208, 200, 8, 15, green), first);
  EXPECT_EQ(text_picture(216, 200, 8, 15, green), first);
  EXPECT_EQ(text_picture(224, 200, 8, 15, green), text_picture(0, 0, 8, 15, green));  // count is 3
  // Every Latin-1 character stays in its 8 by 15 cell.
  for (int byte = 0x20; byte <= 0xFF; byte++) {
    reset_surface();
    dc = acquire_window_dc();
    select_object(dc, create_courier_font());
    set_transparent_background(dc);
    set_text_colour(dc, green);
    char ch = char(byte);
    text_out(dc, 300, 300, &ch, 1);
    for (int y = 290; y < 325; y++)
      for (int x = 290; x < 320; x++)
        if (x < 300 || x >= 308 || y < 300 || y >= 315) {
          ASSERT_FALSE(is(x, y, green)) << byte;
        }
  }
}

TEST_F(SurfaceTest, EightBitTextIsLatinOne) {
  select_object(dc, create_courier_font());
  set_transparent_background(dc);
  set_text_colour(dc, white);
  text_out(dc, 10, 10, "e\xE9\xC9", 3);
  std::string e = text_picture(10, 10, 8, 15, white), e_acute = text_picture(18, 10, 8, 15, white);
  std::string E_acute = text_picture(26, 10, 8, 15, white);
  EXPECT_NE(e_acute, e);
  EXPECT_NE(E_acute, e_acute);
  // The accent sits above the letter, where the plain e has nothing.
  std::string above_letter(4 * 9, '.');
  for (int r = 0; r < 4; r++) above_letter[r * 9 + 8] = '\n';
  EXPECT_EQ(e.substr(0, 4 * 9), above_letter);
  EXPECT_NE(e_acute.substr(0, 4 * 9), above_letter);
}

TEST_F(SurfaceTest, OpaqueTextFillsItsCellsWithWhite) {
  select_object(dc, create_courier_font());
  set_text_colour(dc, black);
  text_out(dc, 50, 50, "AB", 2);
  EXPECT_TRUE(is(50, 50, white));
  EXPECT_TRUE(is(65, 64, white));
  EXPECT_TRUE(is(66, 50, window_class_grey));
  EXPECT_TRUE(is(50, 65, window_class_grey));
}
