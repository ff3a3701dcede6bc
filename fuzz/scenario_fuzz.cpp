// The scenario reader on any text, against the bundled target: a scenario it
// accepts is sound (times in order, known names, inputs set only on input pins,
// values 0 or 1) and runs; one it refuses says which line.
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "fuzz/fuzz_support.h"
#include "simulate/simulate.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  std::filesystem::copy_file(std::string(TALVEN_SOURCE_DIR) + "/targets/pic16f628a.def", "target.def");
  init_automaton_definition();
  copy_field(config_entries[config_automate].value, text_size, "target.def");
  char error[scenario_error_size];
  if (load_automaton_definition() != 0 || !sim_bind_target(error, sizeof error)) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  char error[scenario_error_size] = "";
  if (!parse_scenario(reinterpret_cast<const char *>(data), long(size), error, sizeof error)) {
    FUZZ_CHECK(std::strncmp(error, "scenario line ", 14) == 0);
    int line = std::atoi(error + 14);
    FUZZ_CHECK(line >= 1 && line <= lines_in(data, size));
    return 0;
  }
  FUZZ_CHECK(scenario_length >= 0 && scenario_length <= scenario_capacity);
  for (int k = 0; k < scenario_length; k++) {
    const scenario_step &step = scenario[k];
    FUZZ_CHECK(step.value == 0 || step.value == 1);
    FUZZ_CHECK(k == 0 || step.time_ns >= scenario[k - 1].time_ns);
    FUZZ_CHECK(step.verb != verb_set || sim_pin_is_input(sim_find_pin(step.name)));
    FUZZ_CHECK(field_is_terminated(step.name, sizeof step.name));
  }
  // Short scenarios are run too: the run ends, and every expectation is counted.
  if (scenario_length > 0 && scenario[scenario_length - 1].time_ns <= 2000000000) {
    int expectations = 0;
    for (int k = 0; k < scenario_length; k++) expectations += scenario[k].verb == verb_expect;
    sim_power_up();
    FILE *sink = std::fopen("/dev/null", "w");
    scenario_result result = run_scenario(0, sink, nullptr);
    std::fclose(sink);
    FUZZ_CHECK(result.expectations == expectations && result.failed <= expectations);
  }
  return 0;
}
