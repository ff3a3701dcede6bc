// Counter-examples: the way the exploration found into a finding, replayed on the
// simulator in real time (inputs held for whole scans, each timer left to its
// preset) and written as a scenario whose expectations are what the replay shows.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "check/behaviour.h"
#include "check/check.h"

namespace {

constexpr int64_t one_ms = 1000000;

char *out;
int out_size, out_used;
bool out_full;

void write(const char *format, ...) __attribute__((format(printf, 1, 2)));
void write(const char *format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int room = out_size - out_used;
  int written = std::vsnprintf(out + out_used, size_t(room), format, arguments);
  va_end(arguments);
  if (written < 0 || written >= room) out_full = true;
  else out_used += written;
}

// One scenario line, written as the scenario reader takes it.
void write_line(int64_t ns, scenario_verb verb, const scenario_assignment *assignments, int count) {
  int room = out_size - out_used;
  int written = format_scenario_line(out + out_used, room, ns, unit_milliseconds, verb, assignments, count);
  if (written >= room) out_full = true;
  else out_used += written;
}

// The first nanosecond whose cycle is this one's or later.
int64_t ns_at(int64_t cycle) {
  int64_t ns = sim_nanoseconds_of_cycles(cycle);
  while (sim_cycles_of_nanoseconds(ns) < cycle) ns++;
  return ns;
}

// A round time a few scans after the machine's: when the next input changes.
int64_t later_ns() {
  int64_t step = 10 * one_ms, ns = ns_at(sim.cycle) + 5 * one_ms;
  return (ns + step - 1) / step * step;
}

void run_to(int64_t ns) { sim_run_to(sim_cycles_of_nanoseconds(ns), nullptr); }

// The read inputs driven to the choice's levels at time at, written as one "set" line.
void set_inputs(int64_t at, uint64_t inputs) {
  run_to(at);
  scenario_assignment changed[sim_pin_capacity];
  int count = 0;
  for (int i = 0; i < read_input_count; i++) {
    int pin = read_inputs[i], level = int(inputs >> i & 1);
    if (sim_pin_level(pin) == level) continue;
    changed[count++] = {sim_target.pins[pin].name, level};
    sim_set_input(pin, level);
  }
  if (count) write_line(at, verb_set, changed, count);
}

// The next scan, pass by pass; whether a pass showed finding f.
bool one_scan(const behaviour_finding *f) {
  bool shown = false;
  for (bool ended = false; !ended;) {
    uint64_t before = active_steps();
    ended = sim_pass();
    shown = shown || (f && pass_shows(*f, before));
  }
  return shown;
}

bool timers_done(uint64_t timers) {
  for (int n = 0; n < sim_target.timer_count; n++)
    if ((timers >> n & 1) && !sim.bit[sim_target.done_address[n]]) return false;
  return true;
}

// The same situation but for the done bits of these timers.
bool same_but_timers(situation_key a, situation_key b, uint64_t timers) {
  for (int n = 0; n < sim_target.timer_count; n++) {
    if (!(timers >> n & 1)) continue;
    int address = sim_target.done_address[n];
    a.bit[address >> 6] &= ~(uint64_t(1) << (address & 63));
    b.bit[address >> 6] &= ~(uint64_t(1) << (address & 63));
  }
  return same_key(a, b);
}

// Scans until these timers have ended, nothing else changing meanwhile.
bool wait_for_timers(uint64_t timers, const situation_key &previous) {
  int64_t longest = 0;
  for (int n = 0; n < sim_target.timer_count; n++)
    if ((timers >> n & 1) && sim_target.preset[n] > longest) longest = sim_target.preset[n];
  int64_t limit = sim.cycle + (longest + 10) * sim_target.tick_cycles;
  while (!timers_done(timers)) {
    if (sim.cycle > limit) return false;
    if (!sim_skip_quiet_scans(limit)) sim_scan();
    if (!same_but_timers(machine_key(), previous, timers)) return false;
  }
  return true;
}

// The inputs first: the situation must hold under them until the timers end.
bool set_then_wait(const scan_choice &choice, const situation_key &previous, const behaviour_finding *f, int64_t t) {
  set_inputs(t, choice.inputs);
  if (choice.timers_ending) {
    one_scan(nullptr);
    if (!same_key(machine_key(), previous) || !wait_for_timers(choice.timers_ending, previous)) return false;
  }
  return one_scan(f);
}

// The timers first, the inputs changed right after the scan that saw them end.
bool wait_then_set(const scan_choice &choice, const situation_key &previous, const behaviour_finding *f) {
  if (!wait_for_timers(choice.timers_ending, previous)) return false;
  set_inputs(ns_at(sim.cycle), choice.inputs);
  return one_scan(f);
}

// One scan of the way: from previous, with choice made, to expected (or showing f).
bool replay_scan(const scan_choice &choice, const situation_key *expected, const situation_key &previous,
                 const behaviour_finding *f, int64_t t) {
  // Held inputs must leave the situation as it was; else the change comes right after the last scan.
  sim_machine held = sim;
  run_to(t);
  if (!same_key(machine_key(), previous)) {
    sim = held;
    t = ns_at(sim.cycle);
  }
  static sim_machine start;
  start = sim;
  int start_used = out_used;
  for (int way = 0; way < 2; way++) {
    if (way == 1 && !choice.timers_ending) break;
    sim = start;
    out_used = start_used;
    out[out_used] = 0;
    bool shown = way == 0 ? set_then_wait(choice, previous, f, t) : wait_then_set(choice, previous, f);
    if (expected ? same_key(machine_key(), *expected) : shown) return true;
  }
  return false;
}

struct expectation {
  char name[sim_name_size];
  int address;
  int wanted;
};
constexpr int expectation_capacity = sim_step_count + 1;

int expected_steps(uint64_t steps, expectation *e, int count) {
  for (int n = 0; n < sim_step_count; n++)
    if (steps >> n & 1) {
      std::snprintf(e[count].name, sizeof e[count].name, "x%d", n);
      e[count].address = sim_target.step_address[n];
      e[count++].wanted = 1;
    }
  return count;
}

// What shows the finding once the replay is there.
int expectations_of(const behaviour_finding &f, expectation *e) {
  auto target = [](int order) { return uint64_t(1) << step_number_at[sim_program[order].operand]; };
  switch (f.kind) {
    case found_together: return expected_steps(target(f.first) | target(f.second), e, 0);
    case found_merge: return expected_steps(uint64_t(1) << f.step, e, 0);
    case found_stuck: return expected_steps(f.steps, e, 0);
    case found_unstable: break;
  }
  // The steps pass by in a scan that goes round: UNSTABLE alone says it.
  if (sim_target.unstable_address < 0) return 0;
  std::snprintf(e[0].name, sizeof e[0].name, "UNSTABLE");
  e[0].address = sim_target.unstable_address;
  e[0].wanted = 1;
  return 1;
}

// The expectations at the first of a few times at which they show the finding (the
// latest first, away from the change), else at the first; with the values seen.
void write_expectations(const behaviour_finding &f) {
  expectation e[expectation_capacity];
  int count = expectations_of(f, e);
  int64_t now = ns_at(sim.cycle);
  const int64_t times[] = {later_ns(), (now + one_ms - 1) / one_ms * one_ms, now};
  static sim_machine there;
  there = sim;
  int64_t chosen = times[0];
  for (int64_t t : times) {
    sim = there;
    run_to(t);
    bool shows = true;
    for (int k = 0; k < count; k++) shows = shows && sim_seen_bit(e[k].address) == e[k].wanted;
    if (shows) {
      chosen = t;
      break;
    }
  }
  sim = there;
  run_to(chosen);
  scenario_assignment seen[expectation_capacity];
  for (int k = 0; k < count; k++) seen[k] = {e[k].name, sim_seen_bit(e[k].address)};
  write_line(chosen, verb_expect, seen, count);
}

// The written scenario, read and run as talvenc --simulate would: every expectation holds.
bool replays_clean(const char *text) {
  char error[scenario_error_size];
  if (!parse_scenario(text, long(std::strlen(text)), error, sizeof error)) return false;
  sim_power_up();
  scenario_result result = run_scenario(0, nullptr, nullptr);
  return result.expectations > 0 && result.failed == 0;
}

int path[situation_capacity];

}  // namespace

bool write_counter_example(const behaviour_finding &f, const char *title, char *text, int size) {
  out = text;
  out_size = size;
  out_used = 0;
  out_full = false;
  text[0] = 0;
  write("# %s\n# The inputs from power-up into it, timers running their real durations.\n", title);
  int length = 0;
  for (int s = f.from; s > 0; s = situations[s].parent) path[length++] = s;
  sim_power_up();
  int64_t t = 0;
  const situation_key *previous = &situations[0].key;
  for (int k = length - 1; k >= 0; k--) {
    const situation &s = situations[path[k]];
    if (!replay_scan(s.reached_by, &s.key, *previous, nullptr, t)) return false;
    previous = &s.key;
    t = later_ns();
  }
  if (f.kind != found_stuck && !replay_scan(f.choice, nullptr, *previous, &f, t)) return false;
  write_expectations(f);
  return !out_full && replays_clean(text);
}
