// The host simulator against gpsim on the same hex and the same stretch of time,
// measured in one run: the blinker (mostly quiet scans) and a full program area
// (every scan runs 511 orders), as simulated seconds per wall second and their
// ratio; and the memory the simulator holds.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "compiler/compiler.h"
#include "files/files.h"
#include "model/model.h"
#include "platform/message_box.h"
#include "simulate/simulate.h"
#include "startup/startup.h"
#include "translate/translate.h"

namespace fs = std::filesystem;

namespace {

void ignore_box(box_kind, const char *, const char *) {}

fs::path bench_folder() {
  static fs::path folder = fs::temp_directory_path() / "talven_simulate_bench";
  return folder;
}

// The program in the bundled target's image, and its hex file for gpsim.
void compile(const char *literal_lines_text, bool from_blinker) {
  fs::create_directories(bench_folder());
  fs::current_path(bench_folder());
  fs::copy_file(fs::path(TALVEN_SOURCE_DIR) / "targets/pic16f628a.def", "target.def", fs::copy_options::overwrite_existing);
  set_message_box_handler(ignore_box);
  start_project(without_config_file);
  copy_field(config_entries[config_automate].value, text_size, "target.def");
  copy_field(config_entries[config_hex].value, text_size, "bench.hex");
  load_definition_and_names();
  if (from_blinker) {
    fs::copy_file(fs::path(TALVEN_SOURCE_DIR) / "examples/blinker/blinker.gra", "blinker.gra",
                  fs::copy_options::overwrite_existing);
    copy_field(config_entries[config_graphic].value, text_size, "blinker.gra");
    load_graphic_file();
    graphic_to_literal();
  } else {
    for (char *row : literal_buffer) row[0] = 0;
    // Three orders a row: 170 rows and the end fill the 511 orders of the program area.
    for (int row = 0; row < 170 && literal_lines_text[0]; row++) copy_field(literal_buffer[row], text_size, literal_lines_text);
  }
  if (compile_literal_to_hex() != compile_ok) std::fprintf(stderr, "simulate_bench: the program does not compile\n");
  char error[200];
  sim_bind_target(error, sizeof error);
}

// Seconds of wall time gpsim takes to run the hex for the given simulated seconds.
double gpsim_seconds(double simulated) {
  std::string script = (bench_folder() / "run.stc").string();
  FILE *file = std::fopen(script.c_str(), "w");
  std::fprintf(file, "break c %ld\nrun\nquit\nquit\n", long(simulated * 1e6));
  std::fclose(file);
  std::string command = "gpsim -i -p p16f628a -c '" + script + "' '" + (bench_folder() / "bench.hex").string() +
                        "' >/dev/null 2>&1 </dev/null";
  auto start = std::chrono::steady_clock::now();
  if (std::system(command.c_str()) != 0) return -1;
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void run_host_against_gpsim(benchmark::State &state, double simulated) {
  double gpsim = gpsim_seconds(simulated);
  int64_t cycles = int64_t(simulated * double(sim_target.cycles_per_second));
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    sim_power_up();
    sim_run_to(cycles, nullptr);
    benchmark::DoNotOptimize(sim.scans);
  }
  double host = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / double(state.iterations());
  state.counters["host_simulated_s_per_wall_s"] = simulated / host;
  state.counters["gpsim_simulated_s_per_wall_s"] = simulated / gpsim;
  state.counters["times_faster_than_gpsim"] = gpsim / host;
}

void BM_BlinkerHostAgainstGpsim(benchmark::State &state) {
  compile("", true);
  run_host_against_gpsim(state, 10.0);
}
BENCHMARK(BM_BlinkerHostAgainstGpsim)->Unit(benchmark::kMillisecond);

// 510 orders of logic and the end: every scan runs them all, nothing is quiet.
void BM_FullProgramAreaHostAgainstGpsim(benchmark::State &state) {
  compile("l RA0 xn M1 = M1", false);
  run_host_against_gpsim(state, 2.0);
}
BENCHMARK(BM_FullProgramAreaHostAgainstGpsim)->Unit(benchmark::kMillisecond);

void BM_BlinkerForADay(benchmark::State &state) {
  compile("", true);
  for (auto _ : state) {
    sim_power_up();
    sim_run_to(int64_t(86400) * sim_target.cycles_per_second, nullptr);
    benchmark::DoNotOptimize(sim.scans);
  }
  state.counters["simulated_s_per_wall_s"] =
      benchmark::Counter(86400.0 * double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["simulator_bytes"] = double(sizeof sim + sizeof sim_program + sizeof sim_target + sizeof sim_signals);
  state.counters["record_bytes"] = double(sizeof sim_record);
  state.counters["scenario_bytes"] = double(sizeof scenario);
}
BENCHMARK(BM_BlinkerForADay)->Unit(benchmark::kMillisecond);

}  // namespace
