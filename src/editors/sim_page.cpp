// The simulation page: the chart at the largest zoom that fits, with each step's
// outputs and each transition's condition beside it, its active steps filled and
// its true transitions marked, a lamp per port pin (inputs clicked), and the
// run controls. The chip is the simulator's; the page keeps views and modes only.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>

#include "compiler/compiler.h"
#include "grade/checks.h"
#include "grade/exercise.h"
#include "editors/page_state.h"
#include "editors/pages.h"
#include "editors/simulation.h"
#include "kit/kit.h"
#include "translate/translate.h"

simulation_state simulation;
input_change input_changes[input_change_capacity];
int input_change_count;
test_mark test_marks[test_mark_capacity];
int test_mark_count;

constexpr int lamp_left = 60, lamp_top = 443, lamp_width = 30, lamp_height = 19, lamps_per_row = 20;
constexpr int status_top = 483;
constexpr int button_left = 5, button_top = 40, button_width = 50, button_height = 20, button_step = 22;
static_assert(sim_pin_capacity <= 2 * lamps_per_row, "every pin has a lamp on the two rows");

static void draw_status();
static void draw_lamps();
static void draw_chart_states();
static void draw_buttons();

// ---- Running --------------------------------------------------------------------

static int scans_run;
static void observe(int64_t cycle) {
  sim_record_changes(cycle);
  scans_run++;
}

static void power_up() {
  sim_power_up();
  sim_list_signals();
  sim_record_start();
  simulation.now = 0;
  simulation.running = false;
  simulation.pressed_pin = -1;
  input_change_count = 0;
  test_mark_count = 0;
  chronogram_view.follow = true;
}

// Runs to the given cycle; the time shown never goes back.
static void run_to(int64_t cycle) {
  sim_run_to(cycle, observe);
  if (cycle > simulation.now) simulation.now = cycle;
}

// As fast as possible stops a tick once this many scans were run or 10 s simulated.
constexpr int fastest_scans_per_tick = 2000;
constexpr int64_t fastest_chunks_per_tick = 100;

static void advance_one_tick() {
  int64_t tick = sim_cycles_of_nanoseconds(int64_t(simulation_tick_milliseconds) * 1000000);
  if (simulation.speed == speed_real_time) return run_to(simulation.now + tick);
  if (simulation.speed == speed_times_ten) return run_to(simulation.now + 10 * tick);
  scans_run = 0;
  int64_t chunk = sim_cycles_of_nanoseconds(100000000);
  for (int k = 0; k < fastest_chunks_per_tick && scans_run < fastest_scans_per_tick && !sim.stopped; k++)
    run_to(simulation.now + chunk);
}

static void set_running(bool running) {
  simulation.running = running && simulation.started;
  set_simulation_timer(simulation.running ? simulation_tick_milliseconds : 0);
}

void simulation_tick(int shown) {
  if (!simulation.running) return set_simulation_timer(0);
  advance_one_tick();
  if (!shown) return;
  if (edit_mode == simulation_page) sim_page_paint_states();
  else chrono_page_paint();
}

// ---- Opening ------------------------------------------------------------------------

// The translation overwrites the literal program, which the simulation must not change.
static literal_copy kept;

// The translation's "Converting" notice announces a file operation that does not
// happen here; errors and reports still reach the user.
static message_box_handler presenter;
static void without_notices(box_kind kind, const char *title, const char *text) {
  if (kind == box_notice) return;
  set_message_box_handler(presenter);
  show_message_box(kind, title, text);
  set_message_box_handler(without_notices);
}

static compile_result compile_chart_in_memory() {
  keep_literal(kept);
  presenter = set_message_box_handler(without_notices);
  compile_result result = graphic_to_literal() ? compile_literal_to_image() : compile_errors;
  set_message_box_handler(presenter);
  put_back_literal(kept);
  return result;
}

bool sim_page_open() {
  set_running(false);
  simulation.started = false;
  if (compile_chart_in_memory() != compile_ok) return false;
  char error[scenario_error_size];
  if (!sim_bind_target(error, sizeof error)) {
    show_message_box(box_error, "Simulation", error);
    return false;
  }
  simulation.started = true;
  power_up();
  return true;
}

// ---- Conditions -----------------------------------------------------------------

bool transition_condition_holds(int n) {
  return simulation.started && n >= 0 && n < table_rows && sim_condition_holds(transition_conditions[n].text);
}

static bool step_active(int n) {
  return simulation.started && n >= 0 && n < sim_step_count && sim_target.step_address[n] >= 0 &&
         sim.bit[sim_target.step_address[n]];
}

// ---- The chart ------------------------------------------------------------------------

// The chart's region, right of the buttons and above the lamps, is the grid page's.
constexpr int largest_zoom = 3;
// The page font asks for 10 pixels a character: the widest any backend draws it.
constexpr int text_advance = 10, text_gap = 2, text_height = 15;

// Where the chart is drawn: plan cells first_column.. and first_row.. at (left, top),
// each pixel zoom by zoom. Scrolled: the plan did not fit and scrolls as on the grid page.
struct chart_view {
  int zoom, left, top, first_column, first_row, columns, rows;
  bool scrolled;
};

static bool drawn(int x, int y) { return plan_xy[x][y].kind != cell_empty; }

// The drawn cells' bounding box at the largest zoom at which it fits, centred.
static chart_view chart_layout() {
  int x0 = grid_size, y0 = grid_size, x1 = -1, y1 = -1;
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++)
      if (drawn(x, y)) {
        x0 = std::min(x0, x), y0 = std::min(y0, y);
        x1 = std::max(x1, x), y1 = std::max(y1, y);
      }
  if (x1 < 0) return {1, grid_left, grid_top, 0, 0, 0, 0, false};
  int columns = x1 - x0 + 1, rows = y1 - y0 + 1;
  for (int zoom = largest_zoom; zoom >= 1; zoom--) {
    int width = columns * cell_width * zoom, height = rows * cell_height * zoom;
    if (width <= grid_right - grid_left && height <= grid_bottom - grid_top)
      return {zoom, grid_left + (grid_right - grid_left - width) / 2, grid_top + (grid_bottom - grid_top - height) / 2,
              x0, y0, columns, rows, false};
  }
  return {1, grid_left, grid_top, scroll_x, scroll_y, view_columns, view_rows, true};
}

static int cell_left(const chart_view &view, int x) { return view.left + cell_width * view.zoom * (x - view.first_column); }
static int cell_top(const chart_view &view, int y) { return view.top + cell_height * view.zoom * (y - view.first_row); }

static void fill(int left, int top, int right, int bottom, rgb colour) {
  for (int y = top; y <= bottom; y++)
    for (int x = left; x <= right; x++) set_pixel(window_dc, x, y, colour);
}

// A step or transition cell drawn afresh: an active step filled inside its square,
// a transition whose condition holds with a bar across its link.
static void draw_state_cell(const chart_view &view, int px, int py) {
  const cell &shown = plan_xy[px][py];
  bool step = shown.kind == cell_step || shown.kind == cell_initial_step;
  if (!step && shown.kind != cell_transition) return;
  int x = cell_left(view, px), y = cell_top(view, py), z = view.zoom;
  if (view.scrolled) draw_cell(px - view.first_column, py - view.first_row, shown.kind, shown.number, true);
  else fill(x, y, x + cell_width * z - 1, y + cell_height * z - 1, colour_grid_background);
  draw_cell_at(x, y, shown.kind, shown.number, z);
  if (step && step_active(shown.number)) fill(x + 3 * z, y + 3 * z, x + 16 * z - 1, y + 16 * z - 1, colour_active_step);
  else if (!step && transition_condition_holds(shown.number))
    fill(x + 3 * z, y + 7 * z, x + 16 * z - 1, y + 12 * z - 1, colour_true_transition);
  else return;
  draw_cell_at(x, y, shown.kind, shown.number, z);
}

static void draw_chart_states() {
  chart_view view = chart_layout();
  for (int y = view.first_row; y < view.first_row + view.rows; y++)
    for (int x = view.first_column; x < view.first_column + view.columns; x++) draw_state_cell(view, x, y);
}

// The words a step or transition shows beside it: its outputs or its condition.
static const char *cell_text(const cell &c) {
  if (c.number < 0 || c.number >= table_rows) return "";
  if (c.kind == cell_step || c.kind == cell_initial_step) return step_outputs[c.number].text;
  return c.kind == cell_transition ? transition_conditions[c.number].text : "";
}

// The text right of the cell, in the free cells up to the next drawn one or the
// region's edge; cut with "..." when it does not fit.
static void draw_cell_text(const chart_view &view, int px, int py) {
  const char *text = cell_text(plan_xy[px][py]);
  if (!text[0]) return;
  int next = px + 1;
  while (next < grid_size && !drawn(next, py)) next++;
  int start = cell_left(view, px + 1) + text_gap, limit = grid_right;
  if (next < view.first_column + view.columns && cell_left(view, next) < limit) limit = cell_left(view, next);
  int room = (limit - text_gap - start) / text_advance, length = int(std::strlen(text));
  if (room < 3) return;
  bool cut = length > room;
  int kept = cut ? room - 3 : length;
  char shown[text_size + 3] = {};
  if (kept > text_size - 1) kept = text_size - 1;
  std::memcpy(shown, text, size_t(kept));
  if (cut) std::memcpy(shown + kept, "...", 3);
  draw_page_text(start, cell_top(view, py) + (cell_height * view.zoom - text_height) / 2, shown, colour_white);
}

// The whole chart: scrolled, the grid page's view; fitted, the drawn cells alone.
static void draw_chart(const chart_view &view) {
  if (view.scrolled) {
    draw_plan_view();
    draw_scroll_buttons();
  } else {
    select_object(window_dc, page_pen);
    select_object(window_dc, grid_brush);
    draw_rectangle(window_dc, grid_left, grid_top, grid_right, grid_bottom);
    for (int y = view.first_row; y < view.first_row + view.rows; y++)
      for (int x = view.first_column; x < view.first_column + view.columns; x++)
        draw_cell_at(cell_left(view, x), cell_top(view, y), plan_xy[x][y].kind, plan_xy[x][y].number, view.zoom);
  }
  for (int y = view.first_row; y < view.first_row + view.rows; y++)
    for (int x = view.first_column; x < view.first_column + view.columns; x++) draw_cell_text(view, x, y);
}

// ---- Lamps ----------------------------------------------------------------------------

static void lamp_box(int pin, int &left, int &top) {
  left = lamp_left + lamp_width * (pin % lamps_per_row);
  top = lamp_top + (lamp_height + 1) * (pin / lamps_per_row);
}

static void draw_lamp(int pin) {
  bool input = sim_pin_is_input(pin), on = sim_pin_level(pin);
  int left, top;
  lamp_box(pin, left, top);
  select_object(window_dc, page_pen);
  select_object(window_dc, input ? (on ? input_on_brush : input_off_brush) : (on ? output_on_brush : output_off_brush));
  draw_rectangle(window_dc, left, top, left + lamp_width - 1, top + lamp_height);
  set_text_colour(window_dc, on ? rgb{0, 0, 0} : colour_white);
  const char *name = sim_target.pins[pin].name;
  text_out(window_dc, left + 3, top + 2, name, int(std::strlen(name)));
}

static void draw_lamps() {
  if (!simulation.started) return;
  select_object(window_dc, page_font);
  set_transparent_background(window_dc);
  for (int pin = 0; pin < sim_target.pin_count; pin++) draw_lamp(pin);
}

static int lamp_at_click() {
  if (!simulation.started) return -1;
  for (int pin = 0; pin < sim_target.pin_count; pin++) {
    int left, top;
    lamp_box(pin, left, top);
    if (click_x >= left && click_x < left + lamp_width - 1 && click_y >= top && click_y < top + lamp_height) return pin;
  }
  return -1;
}

void change_input(int pin, int level) {
  if (!simulation.started || pin < 0 || !sim_pin_is_input(pin) || sim_pin_level(pin) == level) return;
  sim_set_input(pin, level);
  if (input_change_count < input_change_capacity) input_changes[input_change_count++] = {simulation.now, pin, level};
  sim_record_changes(simulation.now);
}

// ---- Status and buttons ---------------------------------------------------------------

static void draw_status() {
  select_object(window_dc, background_pen);
  select_object(window_dc, background_brush);
  draw_rectangle(window_dc, lamp_left, status_top, client_width, client_height);
  if (!simulation.started) return;
  char text[96];
  int64_t ms = sim_nanoseconds_of_cycles(simulation.now) / 1000000;
  std::snprintf(text, sizeof text, "t %lld.%03llds  scans %lld", (long long)(ms / 1000), (long long)(ms % 1000),
                (long long)sim.scans);
  draw_page_text(lamp_left, status_top, text, colour_white);
  bool unstable = sim_target.unstable_address >= 0 && sim.bit[sim_target.unstable_address];
  if (unstable) draw_page_text(lamp_left + 320, status_top, "UNSTABLE", rgb{255, 0, 0});
  if (sim.stopped) draw_page_text(lamp_left + 400, status_top, "STOPPED", rgb{255, 0, 0});
}

static const char *const speed_labels[] = {"x1", "x10", "Max"};
static_assert(std::size(speed_labels) == run_speed_count, "a label per speed");

static void run_pause() { set_running(!simulation.running); }
static void one_scan() {
  set_running(false);
  sim_scan();
  sim_record_changes(sim.last_scan_end);
  if (sim.cycle > simulation.now) simulation.now = sim.cycle;
}
static void one_pass() {
  set_running(false);
  sim_pass();
  sim_record_changes(sim.cycle);
  if (sim.cycle > simulation.now) simulation.now = sim.cycle;
}
static void reset() {
  set_running(false);
  power_up();
}
// ---- Test: the folder's scenario.txt and its exercise's public scenarios ------------------

constexpr int test_file_capacity = 1 + exercise_scenario_capacity;
static const char *test_files[test_file_capacity];
static char exercise_error[exercise_error_size];

// The scenario files of the project folder; false when its exercise.txt does not read.
static bool list_test_files(int &count, bool &exercise_found) {
  count = 0;
  std::error_code error;
  if (std::filesystem::is_regular_file("scenario.txt", error)) test_files[count++] = "scenario.txt";
  exercise_found = std::filesystem::is_regular_file("exercise.txt", error);
  if (!exercise_found) return true;
  if (!read_exercise(".", exercise_error, sizeof exercise_error)) return false;
  for (int k = 0; k < exercise.scenario_count; k++)
    if (!exercise.scenarios[k].hidden) test_files[count++] = exercise.scenarios[k].file;
  return true;
}

// Each failed expectation of the scenario just run, at its time in its signal's row.
static void mark_failures(int failed) {
  for (int k = 0; k < failed && test_mark_count < test_mark_capacity; k++) {
    const scenario_step &step = scenario[scenario_failures[k].step];
    for (int s = 0; s < sim_signal_count; s++)
      if (std::strcmp(sim_signals[s].name, step.name) == 0)
        test_marks[test_mark_count++] = {sim_cycles_of_nanoseconds(step.time_ns), s};
  }
}

// The file shown afterwards is run again from power-up, recorded as the chronogram
// shows it, its inputs kept for "Save".
static void show_run(const char *path, int64_t margin_ns) {
  char error[scenario_error_size];
  read_scenario(path, error, sizeof error);  // it was read already
  power_up();
  scenario_result result = run_scenario(0, nullptr, observe, margin_ns);
  for (int k = 0; k < scenario_length; k++) {
    const scenario_step &step = scenario[k];
    int pin = sim_find_pin(step.name);
    if (step.verb == verb_set && input_change_count < input_change_capacity)
      input_changes[input_change_count++] = {sim_cycles_of_nanoseconds(step.time_ns), pin, step.value};
  }
  simulation.now = sim.cycle;
  mark_failures(result.failed);
  if (test_mark_count > 0) chrono_page_centre_on(sim_nanoseconds_of_cycles(test_marks[0].cycle));
}

static void test_scenarios() {
  set_running(false);
  if (!simulation.started) return;
  int count;
  bool exercise_found;
  if (!list_test_files(count, exercise_found)) return show_message_box(box_error, "Test", exercise_error);
  if (count == 0) return show_message_box(box_error, "Test", "No scenario.txt or public scenario of an exercise.txt in the project folder");
  // An exercise's margin for every file, as the grader has it; without one, expectations are exact.
  int64_t margin_ns = exercise_found ? exercise_margin_ns() : 0;
  scenario_checks checks;
  if (!run_scenario_files(test_files, count, margin_ns, nullptr, checks)) {
    power_up();
    return show_message_box(box_error, "Test", checks.error);
  }
  show_run(test_files[checks.first_failing >= 0 ? checks.first_failing : count - 1], margin_ns);
  char text[grade_text_size + 64];
  if (checks.first_failing < 0) std::snprintf(text, sizeof text, "%d / %d held", checks.held, checks.total);
  else std::snprintf(text, sizeof text, "%d / %d held\nfirst: %s", checks.held, checks.total, checks.first);
  show_message_box(box_report, "Test", text);
}

static void next_speed() { simulation.speed = (simulation.speed + 1) % run_speed_count; }
static void push_or_toggle() { simulation.push_mode = !simulation.push_mode; }

static const char *run_label() { return simulation.running ? "Pause" : "Run"; }
static const char *speed_label() { return speed_labels[simulation.speed]; }
static const char *mode_label() { return simulation.push_mode ? "Push" : "Tog"; }

// The buttons down the left edge, top to bottom.
struct sim_button {
  const char *(*label)();
  void (*press)();
};
static const sim_button sim_buttons[] = {
    {run_label, run_pause},
    {[] { return "Scan"; }, one_scan},
    {[] { return "Pass"; }, one_pass},
    {[] { return "Reset"; }, reset},
    {speed_label, next_speed},
    {mode_label, push_or_toggle},
    {[] { return "Test"; }, test_scenarios},
};

static void draw_buttons() {
  for (int k = 0; k < int(std::size(sim_buttons)); k++) {
    draw_page_button(button_left, button_top + button_step * k, button_width, button_height, sim_buttons[k].label());
  }
}

static int button_at_click() {
  if (click_x < button_left || click_x >= button_left + button_width) return -1;
  for (int k = 0; k < int(std::size(sim_buttons)); k++) {
    int top = button_top + button_step * k;
    if (click_y >= top && click_y < top + button_height) return k;
  }
  return -1;
}

// ---- The page ---------------------------------------------------------------------------

// What changes while the chart runs: drawn on every tick.
void sim_page_paint_states() {
  draw_chart_states();
  draw_lamps();
  draw_status();
  draw_buttons();
}

void sim_page_paint() {
  draw_chart(chart_layout());
  sim_page_paint_states();
  if (simulation.running) set_simulation_timer(simulation_tick_milliseconds);
}

void sim_page_click() {
  int button = button_at_click();
  if (button >= 0) {
    sim_buttons[button].press();
    return sim_page_paint_states();
  }
  if (chart_layout().scrolled && scroll_by_click()) return sim_page_paint();
  int pin = lamp_at_click();
  if (pin < 0 || !sim_pin_is_input(pin)) return;
  if (simulation.push_mode) {
    change_input(pin, 1);
    simulation.pressed_pin = pin;
  } else {
    change_input(pin, !sim_pin_level(pin));
  }
  sim_page_paint_states();
}

void sim_page_release() {
  if (simulation.pressed_pin < 0) return;
  change_input(simulation.pressed_pin, 0);
  simulation.pressed_pin = -1;
  sim_page_paint_states();
}

void sim_page_key_down(int key) {
  if (chart_layout().scrolled && scroll_by_key(key)) sim_page_paint();
}

// The digit keys 0 to 7 toggle RA0 to RA7.
void sim_page_char(int ch) {
  if (ch < '0' || ch > '7' || !simulation.started) return;
  char name[8];
  std::snprintf(name, sizeof name, "RA%c", ch);
  int pin = sim_find_pin(name);
  if (pin < 0) return;
  change_input(pin, !sim_pin_level(pin));
  sim_page_paint_states();
}

// Opens the simulation and drives the inputs as the scenario text does, up to its
// last instant, paused there; false when the chart does not run or the text is no scenario.
bool sim_page_replay(const char *text) {
  if (!sim_page_open()) return false;
  char error[scenario_error_size];
  if (!parse_scenario(text, long(std::strlen(text)), error, sizeof error)) {
    show_message_box(box_error, "Simulation", error);
    return false;
  }
  for (int k = 0; k < scenario_length; k++) {
    run_to(sim_cycles_of_nanoseconds(scenario[k].time_ns));
    if (scenario[k].verb == verb_set) change_input(sim_find_pin(scenario[k].name), scenario[k].value);
  }
  return true;
}
