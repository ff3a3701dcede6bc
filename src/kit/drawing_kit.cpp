// The drawing kit of the chart: seven-segment digits, the line drawing of each
// cell kind and whole grid cells, all set pixel by pixel into window_dc.
#include <iterator>

#include "model/model.h"
#include "kit/kit.h"

// Segments in the order top, upper right, lower right, bottom, lower left, upper left, middle.
const int segment_table[10][7] = {
    {1, 1, 1, 1, 1, 1, 0},  // 0
    {0, 1, 1, 0, 0, 0, 0},  // 1
    {1, 1, 0, 1, 1, 0, 1},  // 2
    {1, 1, 1, 1, 0, 0, 1},  // 3
    {0, 1, 1, 0, 0, 1, 1},  // 4
    {1, 0, 1, 1, 0, 1, 1},  // 5
    {1, 0, 1, 1, 1, 1, 1},  // 6
    {1, 1, 1, 0, 0, 0, 0},  // 7
    {1, 1, 1, 1, 1, 1, 1},  // 8
    {1, 1, 1, 1, 0, 1, 1},  // 9
};

// A straight run of pixels, both ends included; steps of -1, 0 or 1 in each direction.
struct stroke {
  int x0, y0, x1, y1;
};

// Each pixel of the stroke becomes a square of scale by scale pixels (nearest neighbour).
static void draw_stroke(int x, int y, stroke s, rgb colour, int scale = 1) {
  int dx = (s.x1 > s.x0) - (s.x1 < s.x0), dy = (s.y1 > s.y0) - (s.y1 < s.y0);
  for (int px = s.x0, py = s.y0;; px += dx, py += dy) {
    for (int sy = 0; sy < scale; sy++)
      for (int sx = 0; sx < scale; sx++) set_pixel(window_dc, x + px * scale + sx, y + py * scale + sy, colour);
    if (px == s.x1 && py == s.y1) break;
  }
}

// The segments of a digit with segment length s, in segment_table's order.
static stroke segment_stroke(int segment, int s) {
  const stroke segments[7] = {
      {0, 0, s, 0}, {s, 0, s, s}, {s, s, s, 2 * s}, {0, 2 * s, s, 2 * s},
      {0, s, 0, 2 * s}, {0, 0, 0, s}, {0, s, s, s},
  };
  return segments[segment];
}

void draw_digit(int x, int y, int digit, int s) {
  if (digit < 0 || digit > 9) return;
  for (int segment = 0; segment < 7; segment++)
    if (segment_table[digit][segment]) draw_stroke(x, y, segment_stroke(segment, s), colour_white);
}

// R marks the right end of a horizontal bar: column 39 on the grid, 19 in the palette.
constexpr int R = -1;
constexpr int max_strokes = 10;
// The glyph of each kind as strokes from its square's top-left corner; the axes are x 9 and y 9.
static const stroke glyph_table[][max_strokes] = {
    /* cell_transition */ {{9, 0, 9, 19}, {7, 9, 11, 9}},
    /* cell_initial_step */
    {{9, 0, 9, 1}, {9, 17, 9, 19}, {2, 2, 16, 2}, {2, 16, 16, 16}, {2, 2, 2, 16}, {16, 2, 16, 16},
     {4, 4, 14, 4}, {4, 14, 14, 14}, {4, 4, 4, 14}, {14, 4, 14, 14}},
    /* cell_step */ {{9, 0, 9, 1}, {9, 17, 9, 19}, {2, 2, 16, 2}, {2, 16, 16, 16}, {2, 2, 2, 16}, {16, 2, 16, 16}},
    /* cell_vertical */ {{9, 0, 9, 19}},
    /* cell_horizontal */ {{0, 9, R, 9}},
    /* cell_corner_bottom_right */ {{9, 9, R, 9}, {9, 9, 9, 19}},
    /* cell_corner_top_right */ {{9, 0, 9, 9}, {9, 9, R, 9}},
    /* cell_corner_bottom_left */ {{0, 9, 9, 9}, {9, 9, 9, 19}},
    /* cell_corner_top_left */ {{9, 0, 9, 9}, {0, 9, 9, 9}},
    /* cell_tee_right */ {{9, 0, 9, 19}, {9, 9, R, 9}},
    /* cell_tee_left */ {{9, 0, 9, 19}, {0, 9, 9, 9}},
    /* cell_tee_up */ {{0, 9, R, 9}, {9, 0, 9, 9}},
    /* cell_tee_down */ {{0, 9, R, 9}, {9, 9, 9, 19}},
    /* cell_cross */ {{0, 9, R, 9}, {9, 0, 9, 19}},
    /* cell_entry: stem, arrow head meeting it at row 9 */ {{9, 9, 9, 19}, {4, 4, 9, 9}, {14, 4, 9, 9}},
    /* cell_exit: stem, arrow head at its end, row 14 */ {{9, 0, 9, 14}, {4, 9, 9, 14}, {14, 9, 9, 14}},
    /* cell_empty */ {},
};
static_assert(std::size(glyph_table) == cell_kind_count, "one glyph per cell kind");

static bool is_stroke(stroke s) { return s.x0 || s.y0 || s.x1 || s.y1; }

static void draw_glyph_scaled(int x, int y, int kind, int wide, int scale) {
  if (kind < 0 || kind >= cell_kind_count) return;
  int right_end = wide ? 39 : 19;
  for (stroke s : glyph_table[kind]) {
    if (!is_stroke(s)) break;
    if (s.x1 == R) s.x1 = right_end;
    draw_stroke(x, y, s, colour_white, scale);
  }
}

void draw_glyph(int x, int y, int kind, int wide) { draw_glyph_scaled(x, y, kind, wide, 1); }

static bool is_numbered(int kind) {
  return kind == cell_transition || kind == cell_initial_step || kind == cell_step || kind == cell_entry ||
         kind == cell_exit;
}

// A digit of the cell's number, its top-left corner at (left, 5) of the cell.
static void draw_cell_digit(int x, int y, int left, int digit, int scale) {
  for (int segment = 0; segment < 7; segment++) {
    if (!segment_table[digit][segment]) continue;
    stroke s = segment_stroke(segment, 4);
    draw_stroke(x, y, {s.x0 + left, s.y0 + 5, s.x1 + left, s.y1 + 5}, colour_white, scale);
  }
}

void draw_cell_at(int x, int y, int kind, int number, int scale) {
  draw_glyph_scaled(x, y, kind, 1, scale);
  if (!is_numbered(kind) || number < 0 || number >= 64) return;
  if (number >= 10) {
    draw_cell_digit(x, y, 20, number / 10, scale);
    draw_cell_digit(x, y, 27, number % 10, scale);
  } else {
    draw_cell_digit(x, y, 20, number, scale);
  }
}

void draw_cell(int column, int row, int kind, int number, int erase_first) {
  int x = grid_left + cell_width * column, y = grid_top + cell_height * row;
  constexpr int right = cell_width - 1, bottom = cell_height - 1;  // the cell's own grid lines
  if (erase_first) {
    for (int py = 0; py < bottom; py++) draw_stroke(x, y, {0, py, right - 1, py}, colour_grid_background);
    draw_stroke(x, y, {right, 0, right, bottom}, colour_grid_line);
    draw_stroke(x, y, {0, bottom, right, bottom}, colour_grid_line);
  }
  draw_cell_at(x, y, kind, number, 1);
}
