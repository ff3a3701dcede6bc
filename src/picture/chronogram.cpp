// The recorded run as a chronogram: a row per signal (steps as filled bars, other
// signals as a raised line), a time axis of ten divisions in seconds, and red marks.
#include <cstdio>
#include <cstring>

#include "picture/drawings.h"
#include "simulate/simulate.h"

constexpr double label_width = 90, plot_width = 900, row_height = 24, top = 30, font_size = 12;
// Room right of the plot for half the last time label, which is centred on the plot's end.
constexpr double right_margin = 40;
constexpr rgb step_blue{0, 128, 255}, high_red{192, 0, 0}, low_grey{128, 128, 128}, grid_grey{224, 224, 224};
constexpr rgb not_kept_grey{208, 208, 208}, mark_red{255, 0, 0};

double chronogram_width() { return label_width + plot_width + right_margin; }
double chronogram_height() { return top + sim_signal_count * row_height + 30; }

struct time_span {
  int64_t from, to;
};

// A cycle's place on the plot, held to its ends.
static double x_of(int64_t cycle, time_span span) {
  int64_t length = span.to > span.from ? span.to - span.from : 1;
  if (cycle < span.from) cycle = span.from;
  if (cycle > span.to) cycle = span.to;
  return label_width + plot_width * double(cycle - span.from) / double(length);
}

static void draw_row(const pen &p, int signal, time_span span) {
  double row_top = top + signal * row_height;
  bool step = sim_signals[signal].kind == signal_step;
  p.text(p.out, 4, row_top + 16, sim_signals[signal].name, font_size, ink, anchor_start);
  sim_each_high_stretch(signal, span.to, [&](int64_t since, int64_t until) {
    if (until < span.from) return;
    double x0 = x_of(since, span), x1 = x_of(until, span);
    if (step) p.fill(p.out, x0, row_top + 4, x1 - x0, 16, step_blue, "step");
    else p.line(p.out, x0, row_top + 4, x1, row_top + 4, high_red, 2, "high");
  });
  p.line(p.out, label_width, row_top + 20, label_width + plot_width, row_top + 20, low_grey, 1, "low");
}

// Ten divisions of the time axis, labelled in seconds from the first cycle shown.
static void draw_axis(const pen &p, time_span span) {
  double bottom = top + sim_signal_count * row_height + 4;
  for (int k = 0; k <= 10; k++) {
    double x = label_width + plot_width * k / 10.0;
    double from = double(sim_nanoseconds_of_cycles(span.from)), to = double(sim_nanoseconds_of_cycles(span.to));
    char label[24];
    std::snprintf(label, sizeof label, "%.3fs", (from + (to - from) * k / 10.0) / 1e9);
    p.line(p.out, x, top, x, bottom, grid_grey, 1, "grid");
    p.text(p.out, x, bottom + 16, label, font_size, ink, anchor_middle);
  }
}

static int signal_named(const char *name) {
  for (int s = 0; s < sim_signal_count; s++)
    if (std::strcmp(sim_signals[s].name, name) == 0) return s;
  return -1;
}

// A failed expectation: a red stroke across its signal's row and a red arrow above it.
static void draw_mark(const pen &p, const chronogram_mark &mark, time_span span) {
  int signal = mark.signal ? signal_named(mark.signal) : -1;
  if (signal < 0 || mark.cycle < span.from || mark.cycle > span.to) return;
  double x = x_of(mark.cycle, span), row_top = top + signal * row_height;
  p.line(p.out, x, row_top + 2, x, row_top + 22, mark_red, 2, "mark");
  p.triangle(p.out, {x - 4, row_top - 4, x + 4, row_top - 4, x, row_top + 3}, mark_red);
}

void draw_chronogram(const pen &p, int64_t from_cycle, int64_t to_cycle, const chronogram_mark *marks, int mark_count) {
  time_span span{from_cycle, to_cycle};
  draw_axis(p, span);
  int64_t held_from = sim_record_held_from();
  if (held_from > from_cycle) {  // the changes before the record holds were dropped: shaded, not drawn
    p.fill(p.out, label_width, top, x_of(held_from, span) - label_width, sim_signal_count * row_height, not_kept_grey,
           nullptr);
    p.text(p.out, label_width + 4, top - 8, "not kept", font_size, ink, anchor_start);
  }
  for (int s = 0; s < sim_signal_count; s++) draw_row(p, s, span);
  for (int m = 0; m < mark_count; m++) draw_mark(p, marks[m], span);
}
