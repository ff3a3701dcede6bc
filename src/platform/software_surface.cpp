// The drawing calls of platform.h on an in-memory surface, with the pixel rules
// of the window system they mirror:
// - a rectangle's outline is the pen on its edge pixels, left to right - 1 and
//   top to bottom - 1; the brush fills what lies inside the outline;
// - an ellipse is inscribed in the same box: a pixel belongs to it when its
//   centre lies inside the ellipse that touches the four sides of the box (the
//   box spans left..right and top..bottom as real coordinates). Its outline is
//   every pixel of it that has a side-neighbour outside it, a closed 8-connected
//   ring, and the brush fills the rest. The result touches all four sides of the
//   box, is symmetric both ways and has the flattened ends of the system's own
//   ellipses; single pixels along the curve may differ from it;
// - a line runs from the current position to the end point, which is not drawn
//   (Bresenham; horizontal and vertical lines are exact);
// - text is drawn cell by cell, 8 pixels apart, the cell 15 pixels high with the
//   baseline 11 pixels below its top; transparent background leaves the pixels
//   between the strokes alone, opaque (the default) fills the cell with white.
// Every pen draws one pixel wide: the program creates no wider pen.
#include "platform/surface.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

static uint32_t pixels[surface_height][surface_width];
static bool drawn_since_presented = true;

static uint32_t packed(rgb c) { return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b; }

static void put(int x, int y, rgb c) {
  if (x < 0 || y < 0 || x >= surface_width || y >= surface_height) return;
  pixels[y][x] = packed(c);
  drawn_since_presented = true;
}

// Clipped once and filled as a block: every repaint fills most of the window.
static void fill_span(int left, int right, int y, rgb c) {
  left = std::max(left, 0);
  right = std::min(right, surface_width - 1);
  if (y < 0 || y >= surface_height || left > right) return;
  std::fill(&pixels[y][left], &pixels[y][right] + 1, packed(c));
  drawn_since_presented = true;
}

// ---- Fonts, pens and brushes ----

enum object_kind { object_none, object_font, object_pen, object_brush };
struct drawing_object {
  object_kind kind;
  rgb colour;
};
constexpr int object_capacity = 256;
static drawing_object objects[object_capacity];
static int object_count;

// The stock objects every new drawing context starts with.
static gdi_object stock_pen, stock_brush, stock_font;

static bool started;
static void start_once() {
  if (!started) reset_surface();
}

static gdi_object add_object(object_kind kind, rgb colour) {
  start_once();
  if (object_count == object_capacity) return 0;
  objects[object_count] = {kind, colour};
  return ++object_count;
}

static const drawing_object *object_of(gdi_object handle) {
  if (handle < 1 || handle > object_count) return nullptr;
  return &objects[handle - 1];
}

gdi_object create_solid_pen(int, rgb colour) { return add_object(object_pen, colour); }
gdi_object create_solid_brush(rgb colour) { return add_object(object_brush, colour); }

// ---- The font: Liberation Mono, Courier's metric twin, rendered monochrome ----

constexpr int font_pixel_size = 13;  // gives the 15-pixel cell and the 8-pixel advance
constexpr int font_baseline = 11;
constexpr int glyph_box = 16;

struct glyph_bits {
  int left, top, width, rows;  // top: rows below the cell's top edge
  bool on[glyph_box][glyph_box];
};
static glyph_bits glyphs[256];
static bool font_loaded;

static const char *const font_files[] = {
    "/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf",
};

static void copy_glyph(const FT_GlyphSlot slot, glyph_bits &g) {
  g.left = slot->bitmap_left;
  g.top = font_baseline - slot->bitmap_top;
  g.width = int(slot->bitmap.width) < glyph_box ? int(slot->bitmap.width) : glyph_box;
  g.rows = int(slot->bitmap.rows) < glyph_box ? int(slot->bitmap.rows) : glyph_box;
  for (int r = 0; r < g.rows; r++)
    for (int c = 0; c < g.width; c++)
      g.on[r][c] = slot->bitmap.buffer[r * slot->bitmap.pitch + c / 8] & (0x80 >> (c % 8));
}

// Bytes are Latin-1; a byte the font has no glyph for shows the font's missing-glyph box.
static void load_font() {
  FT_Library library;
  FT_Face face = nullptr;
  if (FT_Init_FreeType(&library)) return;
  for (const char *file : font_files)
    if (!face && FT_New_Face(library, file, 0, &face)) face = nullptr;
  if (!face || FT_Set_Pixel_Sizes(face, 0, font_pixel_size)) {
    std::fprintf(stderr, "TALVEN: Liberation Mono not found, text is not drawn\n");
    FT_Done_FreeType(library);
    return;
  }
  for (int byte = 0; byte < 256; byte++)
    if (!FT_Load_Glyph(face, FT_Get_Char_Index(face, byte), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO))
      copy_glyph(face->glyph, glyphs[byte]);
  FT_Done_Face(face);
  FT_Done_FreeType(library);
  font_loaded = true;
}

gdi_object create_courier_font() {
  if (!font_loaded) load_font();
  return add_object(object_font, {});
}

// ---- Drawing contexts ----

struct draw_context {
  bool in_use;
  gdi_object pen, brush, font;
  int x, y;
  rgb text_colour;
  bool transparent;
};
constexpr int context_capacity = 16;  // nesting depth of messages inside message boxes
static draw_context contexts[context_capacity];

dc_handle acquire_window_dc() {
  start_once();
  for (draw_context &dc : contexts)
    if (!dc.in_use) {
      dc = {true, stock_pen, stock_brush, stock_font, 0, 0, {0, 0, 0}, false};
      return &dc;
    }
  return nullptr;
}

void release_window_dc(dc_handle dc) {
  if (dc) dc->in_use = false;
}

int open_drawing_contexts() {
  int open = 0;
  for (const draw_context &dc : contexts) open += dc.in_use;
  return open;
}

// Drawing through a context that was never acquired or is already released does nothing.
static bool usable(dc_handle dc) { return dc && dc->in_use; }

void select_object(dc_handle dc, gdi_object handle) {
  const drawing_object *object = object_of(handle);
  if (!usable(dc) || !object) return;
  if (object->kind == object_pen) dc->pen = handle;
  if (object->kind == object_brush) dc->brush = handle;
  if (object->kind == object_font) dc->font = handle;
}

static rgb colour_of(gdi_object handle) {
  const drawing_object *object = object_of(handle);
  return object ? object->colour : rgb{0, 0, 0};
}

// ---- Shapes ----

// A shape's box in either corner order, left to right and top to bottom, with the
// context's pen and brush colours; false when there is nothing to draw.
struct shape_box {
  int left, top, right, bottom;
  rgb pen, brush;
};
static bool prepare_box(dc_handle dc, int x0, int y0, int x1, int y1, shape_box &box) {
  if (!usable(dc) || x0 == x1 || y0 == y1) return false;
  box = {std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1), colour_of(dc->pen),
         colour_of(dc->brush)};
  return true;
}

void draw_rectangle(dc_handle dc, int x0, int y0, int x1, int y1) {
  shape_box b;
  if (!prepare_box(dc, x0, y0, x1, y1, b)) return;
  for (int y = b.top; y < b.bottom; y++) {
    bool edge_row = y == b.top || y == b.bottom - 1;
    fill_span(b.left, b.right - 1, y, edge_row ? b.pen : b.brush);
    put(b.left, y, b.pen);
    put(b.right - 1, y, b.pen);
  }
}

// The pixels of row y that belong to the ellipse inscribed in the box; empty when first > last.
struct span {
  int first, last;
};
static span ellipse_span(const shape_box &b, int y) {
  double cx = (b.left + b.right) / 2.0, cy = (b.top + b.bottom) / 2.0;
  double rx = (b.right - b.left) / 2.0, ry = (b.bottom - b.top) / 2.0;
  double dy = (y + 0.5 - cy) / ry;
  if (y < b.top || y >= b.bottom || dy * dy > 1) return {1, 0};
  double half = rx * std::sqrt(1 - dy * dy);
  return {int(std::ceil(cx - half - 0.5)), int(std::floor(cx + half - 0.5))};
}

static bool inside(span s, int x) { return x >= s.first && x <= s.last; }

void draw_ellipse(dc_handle dc, int x0, int y0, int x1, int y1) {
  shape_box b;
  if (!prepare_box(dc, x0, y0, x1, y1, b)) return;
  for (int y = b.top; y < b.bottom; y++) {
    span above = ellipse_span(b, y - 1), row = ellipse_span(b, y), below = ellipse_span(b, y + 1);
    for (int x = row.first; x <= row.last; x++) {
      bool edge = x == row.first || x == row.last || !inside(above, x) || !inside(below, x);
      put(x, y, edge ? b.pen : b.brush);
    }
  }
}

void move_to(dc_handle dc, int x, int y) {
  if (!usable(dc)) return;
  dc->x = x;
  dc->y = y;
}

void line_to(dc_handle dc, int x, int y) {
  if (!usable(dc)) return;
  rgb pen = colour_of(dc->pen);
  int dx = std::abs(x - dc->x), dy = -std::abs(y - dc->y);
  int sx = dc->x < x ? 1 : -1, sy = dc->y < y ? 1 : -1;
  int error = dx + dy, px = dc->x, py = dc->y;
  while (px != x || py != y) {
    put(px, py, pen);
    int doubled = 2 * error;
    if (doubled >= dy) error += dy, px += sx;
    if (doubled <= dx) error += dx, py += sy;
  }
  dc->x = x;
  dc->y = y;
}

void set_pixel(dc_handle dc, int x, int y, rgb colour) {
  if (usable(dc)) put(x, y, colour);
}

// ---- Text ----

void set_transparent_background(dc_handle dc) {
  if (usable(dc)) dc->transparent = true;
}

void set_text_colour(dc_handle dc, rgb colour) {
  if (usable(dc)) dc->text_colour = colour;
}

// The background that opaque text fills its cells with, as in a fresh drawing context.
constexpr rgb opaque_background{255, 255, 255};

// A glyph is kept inside its cell: the tops of a few accented capitals that rise
// above the font's ascent are cut, as the cell of a raster font would cut them.
static void draw_glyph_bits(const glyph_bits &g, int x, int y, rgb colour) {
  for (int r = 0; r < g.rows; r++)
    for (int c = 0; c < g.width; c++) {
      int cx = g.left + c, cy = g.top + r;
      bool in_cell = cx >= 0 && cx < font_advance && cy >= 0 && cy < font_cell_height;
      if (g.on[r][c] && in_cell) put(x + cx, y + cy, colour);
    }
}

void text_out(dc_handle dc, int x, int y, const char *text, int count) {
  if (!usable(dc) || !text) return;
  for (int i = 0; i < count; i++) {
    int cell_x = x + i * font_advance;
    if (!dc->transparent)
      for (int r = 0; r < font_cell_height; r++) fill_span(cell_x, cell_x + font_advance - 1, y + r, opaque_background);
    if (font_loaded) draw_glyph_bits(glyphs[uint8_t(text[i])], cell_x, y, dc->text_colour);
  }
}

// ---- The surface as a whole ----

void reset_surface() {
  started = true;
  for (auto &row : pixels)
    for (uint32_t &p : row) p = packed(window_class_grey);
  drawn_since_presented = true;
  for (draw_context &dc : contexts) dc.in_use = false;
  object_count = 0;
  stock_pen = add_object(object_pen, {0, 0, 0});
  stock_brush = add_object(object_brush, {255, 255, 255});
  stock_font = create_courier_font();
}

rgb surface_pixel(int x, int y) {
  if (x < 0 || y < 0 || x >= surface_width || y >= surface_height) return {};
  uint32_t p = pixels[y][x];
  return {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)};
}

const uint32_t *surface_rows() { return &pixels[0][0]; }

bool surface_changed() {
  bool changed = drawn_since_presented;
  drawn_since_presented = false;
  return changed;
}
