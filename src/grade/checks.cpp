// Running scenario files one after the other, each from power-up.
#include "grade/checks.h"

#include <cstdio>
#include <cstring>

#include "grade/exercise.h"

// One scan's length at power-up: the default margin of an expectation.
static int64_t one_scan_ns() {
  sim_power_up();
  int64_t longest = 0;
  sim_scan();
  for (int k = 0; k < 8 && !sim.stopped; k++) {
    int64_t before = sim.last_scan_end;
    sim_scan();
    if (sim.last_scan_end - before > longest) longest = sim.last_scan_end - before;
  }
  return sim_nanoseconds_of_cycles(longest);
}

int64_t exercise_margin_ns() { return exercise.margin_ns >= 0 ? exercise.margin_ns : one_scan_ns(); }

// The file's name without its folder, as a failure names it.
static const char *base_name(const char *path) {
  const char *slash = std::strrchr(path, '/'), *back = std::strrchr(path, '\\');
  if (back > slash) slash = back;
  return slash ? slash + 1 : path;
}

bool run_scenario_files(const char *const *paths, int count, int64_t margin_ns, sim_observer observe,
                        scenario_checks &checks) {
  checks = {0, 0, -1, "", ""};
  char message[scenario_error_size];
  for (int k = 0; k < count; k++) {
    if (!read_scenario(paths[k], message, sizeof message)) {
      std::snprintf(checks.error, sizeof checks.error, "%s: %s", base_name(paths[k]), message);
      checks.held = checks.total = 0;
      return false;
    }
    sim_power_up();
    scenario_result result = run_scenario(0, nullptr, observe, margin_ns);
    checks.total += result.expectations;
    checks.held += result.expectations - result.failed;
    if (result.failed == 0 || checks.first_failing >= 0) continue;
    checks.first_failing = k;
    std::snprintf(checks.first, sizeof checks.first, "line %d of %s: %s", result.first_line, base_name(paths[k]),
                  result.first_text);
  }
  return true;
}
