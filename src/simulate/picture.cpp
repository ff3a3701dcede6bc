// The recorded run drawn through the drawing calls of the seam, as the SVG
// chronogram draws it: a row per signal, steps as bars, a time axis in seconds.
#include <cstdio>
#include <cstring>

#include "platform/seam.h"
#include "simulate/simulate.h"

constexpr int label_width = 90, plot_width = 900, row_height = 24, top = 30;
// Room right of the plot for half the last time label, which is centred on the plot's end.
constexpr int right_margin = 40;
constexpr rgb white{255, 255, 255}, black{0, 0, 0}, grey{128, 128, 128}, light_grey{224, 224, 224};
constexpr rgb step_blue{0, 128, 255}, high_red{192, 0, 0};

int run_picture_width() { return label_width + plot_width + right_margin; }
int run_picture_rows(int most_height) {
  int rows = (most_height - top - 30) / row_height;
  return sim_signal_count < rows ? sim_signal_count : rows;
}
int run_picture_height(int most_height) { return top + run_picture_rows(most_height) * row_height + 30; }

static int x_of(int64_t cycle, int64_t end_cycle) {
  return label_width + int(double(plot_width) * double(cycle) / double(end_cycle > 0 ? end_cycle : 1));
}

struct row_tools {
  gdi_object step_brush, step_pen, high_brush, high_pen;
};

static void draw_row(dc_handle dc, int signal, int64_t end_cycle, const row_tools &tools) {
  int y = top + signal * row_height;
  bool step = sim_signals[signal].kind == signal_step;
  text_out(dc, 4, y + 4, sim_signals[signal].name, int(std::strlen(sim_signals[signal].name)));
  sim_each_high_stretch(signal, end_cycle, [&](int64_t since, int64_t until) {
    int x0 = x_of(since, end_cycle), x1 = x_of(until, end_cycle) + 1;
    select_object(dc, step ? tools.step_brush : tools.high_brush);
    select_object(dc, step ? tools.step_pen : tools.high_pen);
    if (step) draw_rectangle(dc, x0, y + 4, x1, y + 20);
    else draw_rectangle(dc, x0, y + 3, x1, y + 6);
  });
  for (int x = label_width; x < label_width + plot_width; x++) set_pixel(dc, x, y + 20, grey);
}

void draw_run_picture(dc_handle dc, int64_t end_cycle, int most_height) {
  int width = run_picture_width(), height = run_picture_height(most_height), rows = run_picture_rows(most_height);
  gdi_object background = create_solid_brush(white), pen = create_solid_pen(1, white);
  row_tools tools{create_solid_brush(step_blue), create_solid_pen(1, step_blue), create_solid_brush(high_red),
                  create_solid_pen(1, high_red)};
  select_object(dc, pen);
  select_object(dc, background);
  draw_rectangle(dc, 0, 0, width, height);
  select_object(dc, create_courier_font());
  set_transparent_background(dc);
  set_text_colour(dc, black);
  int bottom = top + rows * row_height + 4;
  for (int k = 0; k <= 10; k++) {
    int x = label_width + plot_width * k / 10;
    for (int y = top; y < bottom; y++) set_pixel(dc, x, y, light_grey);
    char label[24];
    double seconds = double(sim_nanoseconds_of_cycles(end_cycle)) * k / 10.0 / 1e9;
    int length = std::snprintf(label, sizeof label, "%.3fs", seconds);
    int left = x - 4 * length, last_left = width - 4 - 8 * length;  // a label too long for the margin still ends inside
    text_out(dc, left < last_left ? left : last_left, bottom + 6, label, length);
  }
  for (int s = 0; s < rows; s++) draw_row(dc, s, end_cycle, tools);
}
