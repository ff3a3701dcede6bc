// Running a scenario: inputs driven at their times, expectations checked against
// what the chip would show at theirs, failures printed as they are found.
#include <cstring>

#include "compiler/compiler.h"
#include "simulate/simulate.h"

// What an expectation sees: the state after the last scan that ended at or before
// its time. The scan under way when the time falls is kept apart until it ends.
static void remember_state() {
  std::memcpy(sim.seen_bit, sim.bit, sizeof sim.seen_bit);
  std::memcpy(sim.seen_pin, sim.pin_level, sizeof sim.seen_pin);
}

// Runs every scan that samples its inputs before cycle; afterwards the remembered
// state is the one at cycle.
void sim_run_to(int64_t cycle, sim_observer observe) {
  if (sim.last_scan_end <= cycle) remember_state();
  while (!sim.stopped && sim_next_sample_cycle() < cycle) {
    if (sim_skip_quiet_scans(cycle)) continue;  // nothing changes in them
    sim_scan();
    if (observe) observe(sim.last_scan_end);
    if (sim.last_scan_end <= cycle) remember_state();
  }
}

int sim_seen_pin(int pin) {
  if (pin < 0 || pin >= sim_target.pin_count) return 0;
  const sim_pin &p = sim_target.pins[pin];
  if (sim_pin_is_input(pin)) return sim.input_level[p.port] >> p.bit & 1;
  return sim.seen_pin[p.port] >> p.bit & 1;
}

int sim_seen_bit(int address) { return address >= 0 && address < sim_bit_count ? sim.seen_bit[address] : 0; }

static int seen_value(const char *name) {
  int pin = sim_find_pin(name);
  if (pin >= 0) return sim_seen_pin(pin);
  int address = -1;
  find_zb(name, address);
  return sim_seen_bit(address);
}

// Seconds with three decimals, rounded to the millisecond.
static void print_time(FILE *out, int64_t ns) {
  int64_t ms = (ns + 500000) / 1000000;
  std::fprintf(out, "%lld.%03llds", (long long)(ms / 1000), (long long)(ms % 1000));
}

scenario_result run_scenario(int64_t until_ns, FILE *out, sim_observer observe) {
  scenario_result result{0, 0};
  for (int k = 0; k < scenario_length; k++) {
    const scenario_step &step = scenario[k];
    int64_t cycle = sim_cycles_of_nanoseconds(step.time_ns);
    sim_run_to(cycle, observe);
    if (step.verb == verb_set) {
      sim_set_input(sim_find_pin(step.name), step.value);
      if (observe) observe(cycle);
      continue;
    }
    result.expectations++;
    int got = seen_value(step.name);
    if (got == step.value) continue;
    result.failed++;
    if (!out) continue;
    std::fprintf(out, "line %d: at ", step.line);
    print_time(out, step.time_ns);
    std::fprintf(out, " expected %s=%d, got %d\n", step.name, step.value, got);
  }
  int64_t last_ns = scenario_length > 0 ? scenario[scenario_length - 1].time_ns : 0;
  sim_run_to(sim_cycles_of_nanoseconds(until_ns > last_ns ? until_ns : last_ns), observe);
  return result;
}
