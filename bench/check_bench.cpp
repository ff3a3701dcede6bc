// The chart check's exploration: the time of the whole check and the situations
// explored per second, for the examples and for 64-step charts with 8 parallel
// branches (in step with each other, and each on its own input: too many situations).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "check/behaviour.h"
#include "check/check.h"
#include "compiler/compiler.h"
#include "files/files.h"
#include "model/model.h"
#include "platform/message_box.h"
#include "startup/startup.h"
#include "translate/translate.h"

namespace {

void ignore_box(box_kind, const char *, const char *) {}

bool load_example(const char *name, const char *target) {
  set_message_box_handler(ignore_box);
  start_project(without_config_file);
  std::string path = std::string(TALVEN_SOURCE_DIR) + "/examples/" + name + "/" + name + ".gra";
  return load_bundled_target(target) && read_graphic_file(path.c_str()) && graphic_to_literal() &&
         compile_literal_to_image() == compile_ok;
}

// x0, then 8 branches of 7 steps (x1..x56) that join into x57, then x57..x63 back to x0.
// Each branch steps on its input's level and its inverse, in turn.
bool load_parallel_chart(bool own_inputs) {
  set_message_box_handler(ignore_box);
  start_project(without_config_file);
  if (!load_bundled_target("pic16f628a")) return false;
  const char *inputs[] = {"RA0", "RA2", "RA3", "RA4", "RA5", "RA6", "RA7", "RA1"};
  for (char *text : literal_buffer) text[0] = 0;
  int row = 0;
  auto line = [&row](const std::string &text) { copy_field(literal_buffer[row++], text_size, text.c_str()); };
  line("*  x0");
  for (int b = 0; b < 8; b++) line("l RA1 > x" + std::to_string(1 + 7 * b));
  for (int b = 0; b < 8; b++) {
    std::string input = own_inputs ? inputs[b] : "RA0";
    for (int j = 0; j < 7; j++) {
      int n = 1 + 7 * b + j;
      line("-  x" + std::to_string(n));
      if (j < 6) {
        line((j % 2 == 0 ? "l " : "ln ") + input + " > x" + std::to_string(n + 1));
        continue;
      }
      line("ln RA1");  // the join waits for the last step of every other branch
      for (int other = 0; other < 8; other++)
        if (other != b) line("a x" + std::to_string(7 + 7 * other));
      line("> x57");
    }
  }
  for (int n = 57; n <= 63; n++) line("-  x" + std::to_string(n) + (n < 63 ? " l RA1 > x" : " ln RA1 > x") + std::to_string(n < 63 ? n + 1 : 0));
  return compile_literal_to_image() == compile_ok;
}

void run_check(benchmark::State &state) {
  for (auto _ : state) {
    check_reset();
    check_behaviour(false);
  }
  state.counters["situations"] = explored_situations;
  state.counters["situations_per_second"] =
      benchmark::Counter(explored_situations, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["findings"] = check_finding_count;
}

void BM_CheckExample(benchmark::State &state, const char *name, const char *target) {
  if (!load_example(name, target)) return state.SkipWithError("the example does not compile");
  run_check(state);
}

void BM_CheckParallelBranches(benchmark::State &state, bool own_inputs) {
  if (!load_parallel_chart(own_inputs)) return state.SkipWithError("the chart does not compile");
  run_check(state);
}

}  // namespace

BENCHMARK_CAPTURE(BM_CheckExample, blinker, "blinker", "pic16f628a")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckExample, choice, "choice", "pic16f628a")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckExample, traffic_light, "traffic_light", "pic16f628a")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckExample, traffic_light_40, "traffic_light_40", "pic16f877a")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckParallelBranches, in_step, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CheckParallelBranches, each_on_its_input, true)->Unit(benchmark::kMillisecond)->Iterations(2);
