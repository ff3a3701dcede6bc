// The whole chart check on any graphic file, with a bundled target: it must stay
// inside its tables, end within its bound and leave counter-examples that replay.
#include <chrono>

#include "check/check.h"
#include "files/files.h"
#include "fuzz/fuzz_support.h"
#include "simulate/simulate.h"

// Every stored chart fits, and a check stays within a few milliseconds under the fuzzer.
constexpr int chart_cells = 40, chart_texts = 16;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  load_fuzz_definition();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  init_project();
  write_input("input.gra", data, size);
  if (!read_graphic_file("input.gra")) return 0;
  keep_first_cells(chart_cells);
  keep_first_texts(chart_texts);
  automaton_definition = fuzz_definition;
  copy_constant_names();
  auto start = std::chrono::steady_clock::now();
  check_chart();
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  FUZZ_CHECK(seconds < 10);  // 2 s plain; the sanitizers and the fuzzer's tracing slow it down
  FUZZ_CHECK(check_finding_count >= 0 && check_finding_count <= check_finding_capacity);
  FUZZ_CHECK(check_scenario_count <= check_scenario_capacity);
  for (int k = 0; k < check_finding_count; k++) {
    FUZZ_CHECK(field_is_terminated(check_findings[k].text, check_text_size));
    FUZZ_CHECK(check_findings[k].scenario < check_scenario_count);
  }
  // Each counter-example reads back as a scenario of the target.
  char error[scenario_error_size];
  for (int k = 0; k < check_scenario_count; k++)
    FUZZ_CHECK(parse_scenario(check_scenarios[k], long(std::strlen(check_scenarios[k])), error, sizeof error));
  check_project_fields();
  return 0;
}
