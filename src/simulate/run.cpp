// Running a scenario: inputs driven at their times, expectations checked against
// what the chip would show at theirs, failures printed as they are found.
#include <algorithm>
#include <cstdio>
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

scenario_failure scenario_failures[scenario_capacity];

// What failed, "at 0.750s expected RB0=0, got 1": seconds with three decimals, rounded
// to the millisecond. The first failure is kept, each one printed when out is given.
void format_scenario_failure(char *out, int size, const scenario_step &step, int got) {
  int64_t ms = (step.time_ns + 500000) / 1000000;
  std::snprintf(out, size_t(size), "at %lld.%03llds expected %s=%d, got %d", (long long)(ms / 1000), (long long)(ms % 1000),
                step.name, step.value, got);
}

static void report_failure(scenario_result &result, FILE *out, const scenario_step &step, int got) {
  char text[sizeof result.first_text];
  format_scenario_failure(text, sizeof text, step, got);
  scenario_failures[result.failed] = {int(&step - scenario), got};
  if (result.failed++ == 0) {
    result.first_line = step.line;
    std::memcpy(result.first_text, text, sizeof text);
  }
  if (out) std::fprintf(out, "line %d: %s\n", step.line, text);
}

// ---- With a margin: each expectation watched over its window --------------------

// A window opens, is sampled at its time and closes; inputs are set. At one instant the
// lines keep their order, and windows close after everything else.
enum point_kind : uint8_t { point_set, point_open, point_at, point_close };
struct run_point {
  int64_t ns;
  int step;
  point_kind kind;
};
static run_point points[3 * scenario_capacity];
static int64_t window_end[scenario_capacity];  // cycle
static bool held[scenario_capacity];
static int got_at_time[scenario_capacity];
static int open_steps[scenario_capacity];
static int open_count;
static sim_observer outer_observe;

// What the chip shows right after a scan ended or an input was set.
static int value_now(const char *name) {
  int pin = sim_find_pin(name);
  if (pin >= 0) return sim_pin_level(pin);
  int address = -1;
  find_zb(name, address);
  return address >= 0 && address < sim_bit_count ? sim.bit[address] : 0;
}

static void check_open_windows(int64_t cycle) {
  for (int k = 0; k < open_count; k++) {
    const scenario_step &step = scenario[open_steps[k]];
    if (cycle <= window_end[open_steps[k]] && value_now(step.name) == step.value) held[open_steps[k]] = true;
  }
}

static void observe_windows(int64_t cycle) {
  if (outer_observe) outer_observe(cycle);
  check_open_windows(cycle);
}

static bool point_before(const run_point &a, const run_point &b) {
  int rank_a = a.kind == point_close, rank_b = b.kind == point_close;
  if (a.ns != b.ns) return a.ns < b.ns;
  if (rank_a != rank_b) return rank_a < rank_b;
  if (a.step != b.step) return a.step < b.step;
  return a.kind < b.kind;
}

static int list_points(int64_t margin_ns) {
  int count = 0;
  for (int k = 0; k < scenario_length; k++) {
    int64_t ns = scenario[k].time_ns;
    if (scenario[k].verb == verb_set) {
      points[count++] = {ns, k, point_set};
      continue;
    }
    points[count++] = {ns > margin_ns ? ns - margin_ns : 0, k, point_open};
    points[count++] = {ns, k, point_at};
    points[count++] = {ns + margin_ns, k, point_close};
    window_end[k] = sim_cycles_of_nanoseconds(ns + margin_ns);
    held[k] = false;
  }
  std::sort(points, points + count, point_before);
  return count;
}

static void open_window(int k, int64_t cycle) {
  open_steps[open_count++] = k;
  const scenario_step &step = scenario[k];
  if (seen_value(step.name) == step.value) held[k] = true;
  // A scan that sampled before the window and ends inside it was run already.
  if (sim.last_scan_end > cycle && sim.last_scan_end <= window_end[k] && value_now(step.name) == step.value) held[k] = true;
}

static void close_window(int k) {
  for (int n = 0; n < open_count; n++)
    if (open_steps[n] == k) open_steps[n] = open_steps[--open_count];
}

static scenario_result run_with_margin(int64_t until_ns, FILE *out, sim_observer observe, int64_t margin_ns) {
  scenario_result result{};
  outer_observe = observe;
  open_count = 0;
  int count = list_points(margin_ns);
  for (int n = 0; n < count; n++) {
    const run_point &point = points[n];
    const scenario_step &step = scenario[point.step];
    int64_t cycle = sim_cycles_of_nanoseconds(point.ns);
    sim_run_to(cycle, observe_windows);
    switch (point.kind) {
      case point_set:
        sim_set_input(sim_find_pin(step.name), step.value);
        if (observe) observe(cycle);
        check_open_windows(cycle);
        break;
      case point_open: open_window(point.step, cycle); break;
      case point_at: got_at_time[point.step] = seen_value(step.name); break;
      case point_close:
        close_window(point.step);
        result.expectations++;
        if (!held[point.step]) report_failure(result, out, step, got_at_time[point.step]);
        break;
    }
  }
  int64_t last_ns = scenario_length > 0 ? scenario[scenario_length - 1].time_ns : 0;
  sim_run_to(sim_cycles_of_nanoseconds(until_ns > last_ns ? until_ns : last_ns), observe);
  return result;
}

scenario_result run_scenario(int64_t until_ns, FILE *out, sim_observer observe, int64_t margin_ns) {
  if (margin_ns > 0) return run_with_margin(until_ns, out, observe, margin_ns);
  scenario_result result{};
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
    if (got != step.value) report_failure(result, out, step, got);
  }
  int64_t last_ns = scenario_length > 0 ? scenario[scenario_length - 1].time_ns : 0;
  sim_run_to(sim_cycles_of_nanoseconds(until_ns > last_ns ? until_ns : last_ns), observe);
  return result;
}
