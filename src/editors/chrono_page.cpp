// The chronogram page: the pins the program uses (or every pin), active steps and
// timer bits against time, drawn from the simulator's record of changes, scrolled
// and zoomed by keys and buttons; "Save" writes the run as VCD (every signal), PNG
// (as shown) and a scenario that replays it.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "compiler/compiler.h"
#include "editors/pages.h"
#include "editors/simulation.h"
#include "files/files.h"
#include "files/text_io.h"
#include "kit/kit.h"
#include "kit/page_kit.h"
#include "model/model.h"

chronogram_view_state chronogram_view;

constexpr int plot_left = 76, plot_right = 692, plot_top = 42, row_height = 16, rows_shown = 25;
constexpr int plot_bottom = plot_top + rows_shown * row_height;  // 442
constexpr int plot_width = plot_right - plot_left;
constexpr int axis_label_top = plot_bottom + 4;
constexpr int button_top = 472, button_width = 50, button_height = 20, button_left = 76, button_step = 54;

// Pixels per second at each zoom step; 100 shows the blinker's half seconds 50 pixels apart.
constexpr int64_t zoom_pixels_per_second[] = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000,
                                              20000, 50000, 100000, 200000, 500000, 1000000};
constexpr int zoom_count = int(std::size(zoom_pixels_per_second));
constexpr int default_zoom = 6;
static_assert(zoom_pixels_per_second[default_zoom] == 100, "the default zoom is 100 pixels a second");

// The axis marks: the first spacing at least 80 pixels wide at the zoom shown.
constexpr int64_t axis_spacings_ns[] = {1000, 2000, 5000, 10000, 20000, 50000, 100000, 200000, 500000,
                                        1000000, 2000000, 5000000, 10000000, 20000000, 50000000, 100000000,
                                        200000000, 500000000, 1000000000, 2000000000, 5000000000, 10000000000,
                                        20000000000, 50000000000, 100000000000, 200000000000, 500000000000};

void reset_simulation_views() {
  simulation = {};
  simulation.pressed_pin = -1;
  input_change_count = 0;
  chronogram_view = {default_zoom, 0, true, 0, false};
  test_mark_count = 0;
}

static int64_t ns_per_pixel() { return 1000000000 / zoom_pixels_per_second[chronogram_view.zoom]; }
static int64_t now_ns() { return sim_nanoseconds_of_cycles(simulation.now); }

// The time at the left edge: following, the present sits at the right edge.
static int64_t view_start_ns() {
  if (!chronogram_view.follow) return chronogram_view.start_ns;
  int64_t start = now_ns() - plot_width * ns_per_pixel();
  return start > 0 ? start : 0;
}

static int x_of(int64_t ns, int64_t start) {
  int64_t x = (ns - start) / ns_per_pixel();
  return plot_left + int(x < 0 ? 0 : x > plot_width ? plot_width : x);
}

static void draw_axis(int64_t start) {
  int64_t spacing = axis_spacings_ns[std::size(axis_spacings_ns) - 1];
  for (int64_t s : axis_spacings_ns)
    if (s / ns_per_pixel() >= 80) {
      spacing = s;
      break;
    }
  select_object(window_dc, axis_pen);
  for (int64_t t = (start + spacing - 1) / spacing * spacing; t <= start + plot_width * ns_per_pixel(); t += spacing) {
    int x = x_of(t, start);
    move_to(window_dc, x, plot_top);
    line_to(window_dc, x, plot_bottom);
    char label[32];
    if (spacing >= 1000000) std::snprintf(label, sizeof label, "%lld.%03llds", (long long)(t / 1000000000), (long long)(t / 1000000 % 1000));
    else std::snprintf(label, sizeof label, "%lld.%06llds", (long long)(t / 1000000000), (long long)(t / 1000 % 1000000));
    if (x + 8 * int(std::strlen(label)) <= client_width) draw_page_text(x, axis_label_top, label, colour_white);
  }
}

// ---- The traces ------------------------------------------------------------------

static const sim_change &change(int64_t k) { return sim_record[k % sim_record_capacity]; }

// The first kept change at or after the cycle (the record is in time order).
static int64_t first_change_from(int64_t cycle) {
  int64_t low = sim_record_first(), high = sim_record_count;
  while (low < high) {
    int64_t middle = (low + high) / 2;
    if (change(middle).cycle < cycle) low = middle + 1;
    else high = middle;
  }
  return low;
}

// ---- The rows ------------------------------------------------------------------

// By default the rows are the signals the program uses: the pins its orders name
// (every text of the chart ends up as orders), its steps and timers, UNSTABLE.
static bool program_names(int address) {
  for (int k = 0; k < sim_program_length; k++)
    if (sim_program[k].operand == address) return true;
  return false;
}

static bool used_signal(const sim_signal &s) {
  bool pin = s.kind == signal_input || s.kind == signal_output;
  return !pin || program_names(sim_target.pins[s.index].address);
}

static int listed[sim_signal_capacity];    // the signal of each row
static int row_of[sim_signal_capacity];    // the row of each signal, -1 when not listed
static int listed_count;

// The rows for the present choice, the first row shown kept within them.
static void list_rows() {
  listed_count = 0;
  for (int s = 0; s < sim_signal_count; s++) {
    row_of[s] = -1;
    if (chronogram_view.all_signals || used_signal(sim_signals[s])) row_of[s] = listed_count, listed[listed_count++] = s;
  }
  int last_first = listed_count > rows_shown ? listed_count - rows_shown : 0;
  if (chronogram_view.first_row > last_first) chronogram_view.first_row = last_first;
}

static bool shown_row(int signal) {
  int row = row_of[signal];
  return row >= 0 && row >= chronogram_view.first_row && row < chronogram_view.first_row + rows_shown;
}
static int row_top(int signal) { return plot_top + row_height * (row_of[signal] - chronogram_view.first_row); }

// One stretch of a row at a level: steps as a filled bar, other signals as a line
// high or low, with the edge that starts it.
static void draw_stretch(int signal, int x0, int x1, int value, int previous) {
  int top = row_top(signal);
  if (sim_signals[signal].kind == signal_step) {
    if (!value) return;
    select_object(window_dc, grid_pen);
    select_object(window_dc, grid_brush);
    draw_rectangle(window_dc, x0, top + 3, x1 > x0 ? x1 : x0 + 1, top + 14);
    return;
  }
  int y = value ? top + 3 : top + 13;
  select_object(window_dc, trace_pen);
  if (value != previous) {
    move_to(window_dc, x0, top + 3);
    line_to(window_dc, x0, top + 14);
  }
  move_to(window_dc, x0, y);
  line_to(window_dc, x1 > x0 ? x1 : x0 + 1, y);
}

static uint8_t value_at_start[sim_signal_capacity];
static bool value_known[sim_signal_capacity];

// The values at the left edge: each shown signal's last change before it.
static void find_values_before(int64_t k0) {
  int missing = 0;
  for (int s = 0; s < sim_signal_count; s++) {
    value_known[s] = !shown_row(s);
    value_at_start[s] = 0;
    missing += !value_known[s];
  }
  for (int64_t k = k0 - 1; k >= sim_record_first() && missing > 0; k--) {
    const sim_change &c = change(k);
    if (value_known[c.signal]) continue;
    value_known[c.signal] = true;
    value_at_start[c.signal] = c.value;
    missing--;
  }
}

static void draw_traces(int64_t start) {
  int64_t start_cycle = sim_cycles_of_nanoseconds(start);
  int64_t end_cycle = sim_cycles_of_nanoseconds(start + plot_width * ns_per_pixel());
  int64_t k0 = first_change_from(start_cycle);
  find_values_before(k0);
  static int since_x[sim_signal_capacity];
  for (int s = 0; s < sim_signal_count; s++) since_x[s] = plot_left;
  for (int64_t k = k0; k < sim_record_count && change(k).cycle <= end_cycle; k++) {
    const sim_change &c = change(k);
    if (!shown_row(c.signal) || c.value == value_at_start[c.signal]) continue;
    int x = x_of(sim_nanoseconds_of_cycles(c.cycle), start);
    draw_stretch(c.signal, since_x[c.signal], x, value_at_start[c.signal], value_at_start[c.signal]);
    since_x[c.signal] = x;
    value_at_start[c.signal] = c.value;
    draw_stretch(c.signal, x, x, c.value, !c.value);
  }
  int end_x = x_of(now_ns(), start);
  for (int s = 0; s < sim_signal_count; s++)
    if (shown_row(s) && end_x > since_x[s]) draw_stretch(s, since_x[s], end_x, value_at_start[s], value_at_start[s]);
}

// A failed expectation: a magenta bar across its row at its time, framing the trace.
constexpr rgb colour_failed_mark{255, 0, 255};
static void draw_test_marks(int64_t start) {
  int64_t end = start + plot_width * ns_per_pixel();
  for (int k = 0; k < test_mark_count; k++) {
    const test_mark &mark = test_marks[k];
    int64_t ns = sim_nanoseconds_of_cycles(mark.cycle);
    if (!shown_row(mark.signal) || ns < start || ns > end) continue;
    int x = x_of(ns, start), top = row_top(mark.signal);
    for (int y = top + 1; y <= top + 15; y++)
      for (int dx = -1; dx <= 1; dx++)
        if (x + dx >= plot_left && x + dx <= plot_right) set_pixel(window_dc, x + dx, y, colour_failed_mark);
  }
}

void chrono_page_centre_on(int64_t ns) {
  int64_t start = ns - plot_width / 2 * ns_per_pixel();
  chronogram_view.start_ns = start > 0 ? start : 0;
  chronogram_view.follow = false;
}

static void draw_rows(int64_t start) {
  select_object(window_dc, page_pen);
  select_object(window_dc, white_brush);
  draw_rectangle(window_dc, plot_left - 1, plot_top - 1, plot_right + 1, plot_bottom + 1);
  for (int r = chronogram_view.first_row; r < listed_count && r < chronogram_view.first_row + rows_shown; r++)
    draw_page_text(4, row_top(listed[r]), sim_signals[listed[r]].name, colour_white);
  draw_axis(start);
  draw_traces(start);
  draw_test_marks(start);
}

// ---- Buttons and keys -------------------------------------------------------------

// Scrolling leaves the present: a quarter of the plot a step, never before time 0.
static void scroll_time(int quarters) {
  int64_t start = view_start_ns() + quarters * (plot_width / 4) * ns_per_pixel();
  chronogram_view.start_ns = start > 0 ? start : 0;
  chronogram_view.follow = false;
}

// Zooming keeps the time at the middle of the plot where it is.
static void zoom(int by) {
  int next = chronogram_view.zoom + by;
  if (next < 0 || next >= zoom_count) return;
  int64_t middle = view_start_ns() + plot_width / 2 * ns_per_pixel();
  chronogram_view.zoom = next;
  int64_t start = middle - plot_width / 2 * ns_per_pixel();
  chronogram_view.start_ns = start > 0 ? start : 0;
}

static void scroll_rows(int by) {
  list_rows();
  int first = chronogram_view.first_row + by;
  if (first > listed_count - rows_shown) first = listed_count - rows_shown;
  chronogram_view.first_row = first > 0 ? first : 0;
}

static void show_all_or_used() {
  chronogram_view.all_signals = !chronogram_view.all_signals;
  chronogram_view.first_row = 0;
}

static void save_run();

// The buttons left to right; the last shows every signal or the used ones again.
struct chrono_button {
  const char *label, *label_with_all;
  void (*press)();
};
static const chrono_button chrono_buttons[] = {
    {"<", "<", [] { scroll_time(-1); }},
    {">", ">", [] { scroll_time(1); }},
    {"+", "+", [] { zoom(1); }},
    {"-", "-", [] { zoom(-1); }},
    {"Up", "Up", [] { scroll_rows(-1); }},
    {"Down", "Down", [] { scroll_rows(1); }},
    {"Now", "Now", [] { chronogram_view.follow = true; }},
    {"Save", "Save", save_run},
    {"All", "Used", show_all_or_used},
};

struct chrono_key {
  int key;
  void (*effect)();
};
static const chrono_key chrono_keys[] = {
    {key_left, [] { scroll_time(-1); }},
    {key_right, [] { scroll_time(1); }},
    {key_up, [] { scroll_rows(-1); }},
    {key_down, [] { scroll_rows(1); }},
    {key_page_up, [] { zoom(1); }},
    {key_page_down, [] { zoom(-1); }},
    {key_home, [] { chronogram_view.follow = false, chronogram_view.start_ns = 0; }},
    {key_end, [] { chronogram_view.follow = true; }},
};

static void draw_buttons() {
  for (int k = 0; k < int(std::size(chrono_buttons)); k++) {
    const chrono_button &button = chrono_buttons[k];
    draw_page_button(button_left + button_step * k, button_top, button_width, button_height,
                     chronogram_view.all_signals ? button.label_with_all : button.label);
  }
}

void chrono_page_paint() {
  select_object(window_dc, background_pen);
  select_object(window_dc, background_brush);
  draw_rectangle(window_dc, 0, plot_top - 2, client_width, client_height);
  draw_buttons();
  if (!simulation.started) {
    draw_page_text(plot_left, plot_top + 20, "Nothing recorded: open \"Sim\" first", colour_white);
    return;
  }
  list_rows();
  draw_rows(view_start_ns());
  if (simulation.running) set_simulation_timer(simulation_tick_milliseconds);
}

void chrono_page_click() {
  if (click_y < button_top || click_y >= button_top + button_height || click_x < button_left) return;
  int k = (click_x - button_left) / button_step;
  if (k >= int(std::size(chrono_buttons)) || click_x >= button_left + button_step * k + button_width) return;
  chrono_buttons[k].press();
  chrono_page_paint();
}

void chrono_page_key_down(int key) {
  for (const chrono_key &binding : chrono_keys)
    if (binding.key == key) {
      binding.effect();
      chrono_page_paint();
    }
}

// "+" and "-" zoom as the buttons do.
void chrono_page_char(int ch) {
  if (ch != '+' && ch != '-') return;
  zoom(ch == '+' ? 1 : -1);
  chrono_page_paint();
}

// ---- Saving ------------------------------------------------------------------------

// The graphic file's name without its extension: chart.gra gives chart.
static void project_stem(char *stem, int size) {
  std::snprintf(stem, size_t(size), "%s", app_config(config_graphic)[0] ? app_config(config_graphic) : "chart");
  char *dot = std::strrchr(stem, '.'), *slash = std::strrchr(stem, '/');
  if (dot && dot > stem && (!slash || dot > slash)) *dot = 0;
}

// The first nanosecond at which a replay has reached the cycle.
static int64_t replay_ns(int64_t cycle) {
  int64_t ns = sim_nanoseconds_of_cycles(cycle);
  while (sim_cycles_of_nanoseconds(ns) < cycle) ns++;
  return ns;
}

static void put_line(pending_file &file, int64_t cycle, scenario_verb verb, const char *name, int value) {
  char line[80];
  scenario_assignment assignment{name, value};
  format_scenario_line(line, sizeof line, replay_ns(cycle), unit_seconds, verb, &assignment, 1);
  put_text(file, "%s", line);
}

// The user's input changes and, for each output change, an expectation, in time order.
static bool write_scenario_file(const char *path, const char *stem) {
  pending_file file;
  if (!begin_file(file, path)) return false;
  put_text(file, "# %s: the inputs changed in TALVEN's simulation, and every output change it showed.\n", stem);
  int next_input = 0;
  int64_t first = sim_record_first() > sim_signal_count ? sim_record_first() : sim_signal_count;
  for (int64_t k = first; k <= sim_record_count; k++) {
    bool outputs_left = k < sim_record_count;
    int64_t cycle = outputs_left ? change(k).cycle : INT64_MAX;
    for (; next_input < input_change_count && input_changes[next_input].cycle < cycle; next_input++) {
      const input_change &c = input_changes[next_input];
      put_line(file, c.cycle, verb_set, sim_target.pins[c.pin].name, c.level);
    }
    if (!outputs_left || sim_signals[change(k).signal].kind != signal_output) continue;
    put_line(file, cycle + change(k).seen_after, verb_expect, sim_signals[change(k).signal].name, change(k).value);
  }
  return finish_file(file);
}

static uint32_t window_pixels[client_width * client_height];

// The chronogram as shown, from the top of its plot to the buttons.
static bool write_chronogram_png(const char *path) {
  if (!read_window_pixels(window_pixels, client_width, client_height)) return false;
  return write_png_file(path, window_pixels + client_width * (plot_top - 2), client_width,
                        button_top - 4 - (plot_top - 2), client_width);
}

static void save_run() {
  if (!simulation.started) return;
  char stem[text_size], vcd[text_size + 16], png[text_size + 16], scenario_path[text_size + 16];
  project_stem(stem, sizeof stem);
  std::snprintf(vcd, sizeof vcd, "%s.vcd", stem);
  std::snprintf(png, sizeof png, "%s.png", stem);
  std::snprintf(scenario_path, sizeof scenario_path, "%s.scenario.txt", stem);
  chrono_page_paint();
  bool written = write_vcd(vcd, sim.cycle) && write_chronogram_png(png) && write_scenario_file(scenario_path, stem);
  char text[400];
  if (written && sim_record_held_from() > 0)
    std::snprintf(text, sizeof text, "Written: %s, %s and %s\n\nThe run outgrew the record of the last %lld changes: "
                  "%s holds it from %.3fs on.", vcd, png, scenario_path, (long long)sim_record_capacity, vcd,
                  double(sim_nanoseconds_of_cycles(sim_record_held_from())) / 1e9);
  else if (written) std::snprintf(text, sizeof text, "Written: %s, %s and %s", vcd, png, scenario_path);
  else std::snprintf(text, sizeof text, "Cannot write %s, %s or %s", vcd, png, scenario_path);
  show_message_box(written ? box_report : box_error, "Files", text);
}
