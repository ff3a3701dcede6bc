// The chart in IEC 60848's look: steps as squares (the initial one doubled) with their
// numbers, transitions as bars with their numbers and conditions, the output words in
// action boxes right of their step, the links and the entries and exits as drawn.
#include <algorithm>
#include <cstdio>

#include "picture/drawings.h"

// Sizes in points. Every column keeps room left of its axis for a transition's number.
constexpr double row_height = 36, axis_offset = 30, square = 24, margin = 10;
constexpr double bar_width = 20, bar_thickness = 3, action_gap = 10, action_height = 20;
constexpr double font_size = 10, number_size = 9, line_width = 1;

// The sides of its cell that each link kind joins to the centre; steps, transitions,
// entries and exits are drawn on their own.
enum side : uint8_t { top = 1, bottom = 2, left_side = 4, right_side = 8 };
constexpr uint8_t link_sides[cell_kind_count] = {
    /* cell_transition */ 0,
    /* cell_initial_step */ 0,
    /* cell_step */ 0,
    /* cell_vertical */ top | bottom,
    /* cell_horizontal */ left_side | right_side,
    /* cell_corner_bottom_right */ bottom | right_side,
    /* cell_corner_top_right */ top | right_side,
    /* cell_corner_bottom_left */ bottom | left_side,
    /* cell_corner_top_left */ top | left_side,
    /* cell_tee_right */ top | bottom | right_side,
    /* cell_tee_left */ top | bottom | left_side,
    /* cell_tee_up */ left_side | right_side | top,
    /* cell_tee_down */ left_side | right_side | bottom,
    /* cell_cross */ top | bottom | left_side | right_side,
    /* cell_entry */ 0,
    /* cell_exit */ 0,
    /* cell_empty */ 0,
};

static bool is_step(int kind) { return kind == cell_step || kind == cell_initial_step; }
static bool numbered(const cell &c) {
  return (is_step(c.kind) || c.kind == cell_transition || c.kind == cell_entry || c.kind == cell_exit) && c.number >= 0 &&
         c.number < table_rows;
}

// Calls visit(word) for each blank-separated word of an output text.
template <typename visit>
static void each_word(const char *text, visit word) {
  char buffer[text_size];
  int length = 0;
  for (const char *c = text;; c++) {
    if (*c && *c != ' ' && *c != '\t') {
      buffer[length++] = *c;
      continue;
    }
    buffer[length] = 0;
    if (length) word(buffer);
    length = 0;
    if (!*c) return;
  }
}

static double action_width(const char *word) { return text_width(word, font_size) + 8; }

static void number_text(int number, char (&text)[8]) { std::snprintf(text, sizeof text, "%d", number); }

// How far right of its axis a cell draws.
static double reach_right(const cell &c) {
  if (!numbered(c)) return 0;
  char number[8];
  number_text(c.number, number);
  if (c.kind == cell_transition) return bar_width / 2 + 4 + text_width(transition_conditions[c.number].text, font_size);
  if (c.kind == cell_entry || c.kind == cell_exit) return 8 + text_width(number, number_size);
  double reach = square / 2;
  each_word(step_outputs[c.number].text, [&](const char *word) { reach += action_width(word); });
  return reach > square / 2 ? reach + action_gap : reach;
}

chart_layout lay_out_chart() {
  chart_layout layout{grid_size, -1, grid_size, -1, {}, 2 * margin, 2 * margin};
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++)
      if (plan_xy[x][y].kind != cell_empty && plan_xy[x][y].kind >= 0 && plan_xy[x][y].kind < cell_kind_count) {
        layout.first_column = std::min(layout.first_column, x), layout.last_column = std::max(layout.last_column, x);
        layout.first_row = std::min(layout.first_row, y), layout.last_row = std::max(layout.last_row, y);
      }
  double x_edge = margin;
  for (int x = 0; x < grid_size; x++) {
    layout.left[x] = x_edge;
    if (x < layout.first_column || x > layout.last_column) continue;
    double reach = 0;
    for (int y = layout.first_row; y <= layout.last_row; y++) reach = std::max(reach, reach_right(plan_xy[x][y]));
    x_edge += axis_offset + std::max(axis_offset, reach + 6);
  }
  layout.left[grid_size] = x_edge;
  if (layout.last_column < layout.first_column) return layout;
  layout.width = x_edge + margin;
  layout.height = 2 * margin + row_height * (layout.last_row - layout.first_row + 1);
  return layout;
}

static void draw_step(const pen &p, const cell &c, double axis, double top_y) {
  double middle = top_y + row_height / 2, half = square / 2;
  p.line(p.out, axis, top_y, axis, middle - half, ink, line_width, nullptr);
  p.line(p.out, axis, middle + half, axis, top_y + row_height, ink, line_width, nullptr);
  p.frame(p.out, axis - half, middle - half, square, square, ink, line_width);
  if (c.kind == cell_initial_step) p.frame(p.out, axis - half + 3, middle - half + 3, square - 6, square - 6, ink, line_width);
  if (!numbered(c)) return;
  char number[8];
  number_text(c.number, number);
  p.text(p.out, axis, middle + font_size * 0.35, number, font_size, ink, anchor_middle);
  double x = axis + half + action_gap;
  each_word(step_outputs[c.number].text, [&](const char *word) {
    if (x == axis + half + action_gap) p.line(p.out, axis + half, middle, x, middle, ink, line_width, nullptr);
    p.frame(p.out, x, middle - action_height / 2, action_width(word), action_height, ink, line_width);
    p.text(p.out, x + 4, middle + font_size * 0.35, word, font_size, ink, anchor_start);
    x += action_width(word);
  });
}

static void draw_transition(const pen &p, const cell &c, double axis, double top_y) {
  double middle = top_y + row_height / 2;
  p.line(p.out, axis, top_y, axis, top_y + row_height, ink, line_width, nullptr);
  p.fill(p.out, axis - bar_width / 2, middle - bar_thickness / 2, bar_width, bar_thickness, ink, nullptr);
  if (!numbered(c)) return;
  char number[12];
  std::snprintf(number, sizeof number, "(%d)", c.number);
  p.text(p.out, axis - bar_width / 2 - 2, middle + number_size * 0.35, number, number_size, ink, anchor_end);
  p.text(p.out, axis + bar_width / 2 + 4, middle + font_size * 0.35, transition_conditions[c.number].text, font_size, ink,
         anchor_start);
}

// An entry's arrow points down into the chart; an exit's link ends in one.
static void draw_entry_or_exit(const pen &p, const cell &c, double axis, double top_y) {
  double middle = top_y + row_height / 2;
  bool entry = c.kind == cell_entry;
  double tip = entry ? middle : middle + 8;
  if (entry) p.line(p.out, axis, tip, axis, top_y + row_height, ink, line_width, nullptr);
  else p.line(p.out, axis, top_y, axis, tip - 4, ink, line_width, nullptr);
  p.triangle(p.out, {axis - 5, tip - 8, axis + 5, tip - 8, axis, tip}, ink);
  if (!numbered(c)) return;
  char number[8];
  number_text(c.number, number);
  p.text(p.out, axis + 8, tip - 2, number, number_size, ink, anchor_start);
}

static void draw_links(const pen &p, int kind, double left, double right, double axis, double top_y) {
  double middle = top_y + row_height / 2;
  uint8_t sides = link_sides[kind];
  if (sides & top) p.line(p.out, axis, top_y, axis, middle, ink, line_width, nullptr);
  if (sides & bottom) p.line(p.out, axis, middle, axis, top_y + row_height, ink, line_width, nullptr);
  if (sides & left_side) p.line(p.out, left, middle, axis, middle, ink, line_width, nullptr);
  if (sides & right_side) p.line(p.out, axis, middle, right, middle, ink, line_width, nullptr);
}

void draw_chart(const pen &p, const chart_layout &layout) {
  for (int x = layout.first_column; x <= layout.last_column; x++)
    for (int y = layout.first_row; y <= layout.last_row; y++) {
      const cell &c = plan_xy[x][y];
      if (c.kind < 0 || c.kind >= cell_kind_count) continue;
      double axis = layout.left[x] + axis_offset, top_y = margin + row_height * (y - layout.first_row);
      if (is_step(c.kind)) draw_step(p, c, axis, top_y);
      else if (c.kind == cell_transition) draw_transition(p, c, axis, top_y);
      else if (c.kind == cell_entry || c.kind == cell_exit) draw_entry_or_exit(p, c, axis, top_y);
      else draw_links(p, c.kind, layout.left[x], layout.left[x + 1], axis, top_y);
    }
}
