// The cost of drawing the window on the software surface: a full repaint of the
// configuration page and of a grid page full of cells, beside clearing the
// whole surface once and saving the window as a PNG picture, all in the same run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "files/files.h"
#include "model/model.h"
#include "compiler/compiler.h"
#include "startup/startup.h"
#include "platform/backends/headless.h"
#include "shell/shell.h"

// A window past its start-up, showing the given page.
static void open_window_on(int page) {
  headless_create_window();
  first_paint_pending = 0;
  edit_mode = page;
}

static void BM_ClearWholeSurface(benchmark::State &state) {
  for (auto _ : state) reset_surface();
  state.counters["pixels"] = double(surface_width) * surface_height;
}
BENCHMARK(BM_ClearWholeSurface)->Unit(benchmark::kMicrosecond);

static void BM_RepaintConfigurationPage(benchmark::State &state) {
  open_window_on(6);
  for (auto _ : state) send_message(message_paint);
}
BENCHMARK(BM_RepaintConfigurationPage)->Unit(benchmark::kMicrosecond);

// Every visible cell holds an element, numbered ones with two-digit numbers.
static void BM_RepaintFullGridPage(benchmark::State &state) {
  open_window_on(0);
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) plan_xy[x][y] = {(x + y) % cell_empty, 10 + (x * 7 + y) % 54};
  for (auto _ : state) send_message(message_paint);
}
BENCHMARK(BM_RepaintFullGridPage)->Unit(benchmark::kMicrosecond);

// The full grid page saved as a PNG picture, as the screenshot tools save the window.
static void BM_SaveFullGridPageAsPng(benchmark::State &state) {
  open_window_on(0);
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) plan_xy[x][y] = {(x + y) % cell_empty, 10 + (x * 7 + y) % 54};
  send_message(message_paint);
  std::string path = (std::filesystem::temp_directory_path() / "talven_shell_bench.png").string();
  for (auto _ : state) write_png_file(path.c_str(), surface_rows(), client_width, client_height, surface_width);
  state.counters["bytes"] = double(std::filesystem::file_size(path));
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveFullGridPageAsPng)->Unit(benchmark::kMillisecond);

// Undo and redo on a project whose every table is full: the grid filled, every text
// field at its 39 characters; each step is one message with its full repaint.
static void fill_whole_project() {
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) plan_xy[x][y] = {(x + y) % cell_empty, 10 + (x * 7 + y) % 54};
  for (int table = 0; table < text_table_count; table++)
    for (int row = 0; row < table_rows; row++) copy_field(table_text(table, row), text_size, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abc");
  for (auto &line : literal_buffer) copy_field(line, text_size, "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abc");
}

static void control_key(int letter) {
  headless_modifiers = modifier_control;
  send_message(message_key_down, letter);
  headless_modifiers = 0;
}

static void BM_UndoAndRedoOnAFullProject(benchmark::State &state) {
  open_window_on(0);
  fill_whole_project();
  send_message(message_paint);
  send_message(message_left_button_down, 0, 20, 50);  // palette: initial step
  send_message(message_left_button_down, 0, 80, 50);  // one step to undo
  for (auto _ : state) {
    control_key('Z');
    control_key('Y');
  }
  state.counters["steps"] = benchmark::Counter(2 * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_UndoAndRedoOnAFullProject)->Unit(benchmark::kMicrosecond);

// The simulation page while the blinker runs as fast as possible: one timer tick,
// its scans and the redraw of steps, lamps and status, as the window does 25 times a second.
static void open_blinker_simulation(int page) {
  open_window_on(6);
  std::filesystem::current_path(TALVEN_SOURCE_DIR "/examples/blinker");
  start_project(with_config_file);
  load_definition_and_names();
  load_graphic_file();
  click_at(200, 20);  // "Go"
  click_at(440, 20);  // "Sim"
  click_at(30, 50 + 22 * 4), click_at(30, 50 + 22 * 4);  // speed: as fast as possible
  click_at(30, 50);   // run
  if (page == 9) click_at(200, 20), click_at(480, 20);  // "Chro"
}

static void BM_SimulationTickFastest(benchmark::State &state) {
  open_blinker_simulation(8);
  for (auto _ : state) send_message(message_simulation_tick);
}
BENCHMARK(BM_SimulationTickFastest)->Unit(benchmark::kMicrosecond);

static void BM_RepaintSimulationPage(benchmark::State &state) {
  open_blinker_simulation(8);
  for (auto _ : state) send_message(message_paint);
}
BENCHMARK(BM_RepaintSimulationPage)->Unit(benchmark::kMicrosecond);

// The chronogram following ten minutes of the blinker's run, redrawn on each tick.
static void BM_ChronogramTickAfterTenMinutes(benchmark::State &state) {
  open_blinker_simulation(9);
  for (int k = 0; k < 60; k++) send_message(message_simulation_tick);  // 10 s a tick
  for (auto _ : state) send_message(message_simulation_tick);
}
BENCHMARK(BM_ChronogramTickAfterTenMinutes)->Unit(benchmark::kMicrosecond);
