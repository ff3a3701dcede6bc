// The interpreter firmware's rules on the host: power-up, scans, passes, the pass
// cap, the action part, timers, and the time each of them takes on the chip.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "compiler/compiler.h"
#include "model/orders.h"
#include "simulate/simulate.h"

sim_machine sim;
sim_order sim_program[sim_order_capacity];
int sim_program_length;
int sim_action_start;
int sim_fired_orders[sim_order_capacity];
int sim_fired_count;

constexpr int pass_cap = 16;

// ---- What each part of the firmware costs, in instruction cycles -------------
// Counted from the interpreter's instructions (two cycles for a jump, a call, a
// return and a write to PCL, two for a skip taken) and checked against gpsim.

// The fetch of an order (two table reads, decoding, the jump to its handler) comes
// from the target. The handler of each order after its fetch, the usual path.
constexpr int handler_cycles[] = {
    /* l */ 5, /* ln */ 5, /* a */ 4, /* an */ 4, /* o */ 4, /* on */ 4, /* x */ 5, /* xn */ 5,
    /* = */ 8, /* * */ 13, /* - */ 13, /* > */ 5, /* end */ 0, /* S */ 5, /* R */ 5,
};
static_assert(std::size(handler_cycles) == order_count, "a cost for every order code");
constexpr int transition_false_cycles = 6;     // ">" whose condition failed sets the result again
constexpr int transition_fire_cycles = 28;     // ">" that fires
constexpr int transition_not_step_cycles = 13; // ">" towards a bit that is no step
constexpr int transition_from_not_step_cycles = 17;
constexpr int assign_held_cycles = 21;         // "=" of the action part in a pass that fired
constexpr int assign_enable_in_firing_cycles = 22;  // the same for a timer enable bit, which is written
constexpr int assign_early_in_firing_cycles = 26;   // "=" before the action part in a pass that fired

constexpr int sample_port_cycles = 7;    // each port's pins into its image
constexpr int write_port_cycles = 2;
// Watchdog, UNSTABLE cleared, inputs sampled.
static int scan_start_cycles() { return 4 + sample_port_cycles * sim_target.port_count; }
constexpr int sample_offset = 2;         // the first port is read this many cycles into the scan
// No firing, outputs written, the timers called, back to scan.
static int stable_end_cycles() { return 3 + write_port_cycles * sim_target.port_count + 2 + 2; }
constexpr int fired_end_cycles = 56;     // timer restarts, the step changes applied, the next pass
constexpr int capped_end_cycles = 64;    // the same at the cap, then the jump into the action part
// The timer loop with every timer off: its set-up, and each timer's test.
static int timers_base_cycles() { return 11 + 11 * sim_target.timer_count; }
constexpr int tick_read_offset = 0;      // the tick count is read by the first instruction of the timers
// One enabled timer, by what it does.
constexpr int timer_start_cycles = 1 + 27, timer_start_zero_cycles = 1 + 32;
constexpr int timer_count_cycles = 1 + 13, timer_borrow_cycles = 1 + 18, timer_end_cycles = 1 + 25;

// The two-cycle instructions of each piece above (goto, call, return, retlw, a skip taken)
// on the same paths: a tick that lands on one is taken a cycle sooner. gpsim runs a write
// to PCL as two one-cycle steps, so it counts as two plain instructions.
constexpr int fetch_jumps = 6;  // two table reads (call, retlw each), decoding's goto, the dispatch table's goto
// A logic order's handler: its goto, and its bit test's skip when the bit has this value.
constexpr int skip_on_bit[] = {/* l */ 0, /* ln */ 0, /* a */ 1, /* an */ 0, /* o */ 0, /* on */ 1, /* x */ 0, /* xn */ 1};
constexpr int assign_jumps = 3, step_jumps = 2;  // and a skip when the step is active
constexpr int transition_jumps = 2, transition_false_jumps = 2, transition_fire_jumps = 6;
constexpr int transition_not_step_jumps = 4, transition_from_not_step_jumps = 5;
constexpr int assign_held_jumps = 7, assign_enable_jumps = 7, assign_early_jumps = 7;
constexpr int pass_start_jumps = 1, fired_end_jumps = 2, capped_end_jumps = 3;
constexpr int stable_test_jumps = 1, timers_call_jumps = 1, back_to_scan_jumps = 1;
static int timers_base_jumps() { return 1 + 2 * sim_target.timer_count; }
constexpr int timer_start_jumps = 3, timer_start_zero_jumps = 3, timer_count_jumps = 2, timer_borrow_jumps = 4,
              timer_end_jumps = 4;

// Power-up, from the reset to the first scan; each check reads one order, and the
// reset and set-up costs and the cost of a plain order's check come from the target.
constexpr int check_step_order_extra = 9, check_initial_extra = 33;
constexpr int check_initial_shift_cycles = 8, check_initial_other_extra = 13, check_end_extra = -6;
constexpr int timer_to_scan_cycles = 6;
// The timer's interrupt: entry, handler and return take a cycle less when the tick lands
// on a two-cycle instruction (see below); the target gives the longer one's cycles less
// one and those that the interrupt counting a tick adds.
static int fetch_cycles;

// ---- Time -------------------------------------------------------------------

// One timer interrupt: its cycles, and a tick counted when it completes one. Within a
// piece of work of `cycles` with `jumps` two-cycle instructions a tick lands on the first
// cycle of one in jumps/cycles of the cases, so each piece's short interrupts are
// counted out at its own rate, whatever mix of pieces the chart runs.
constexpr int share_unit = 1 << 16;
static int long_share(int cycles, int jumps) { return cycles > 0 ? int(int64_t(cycles - jumps) * share_unit / cycles) : share_unit; }

static int take_interrupt(int share) {
  sim.interrupt_share += share;
  bool long_interrupt = sim.interrupt_share >= share_unit;
  if (long_interrupt) sim.interrupt_share -= share_unit;
  int cycles_taken = sim_target.interrupt_cycles + long_interrupt;
  if (--sim.interrupts_to_tick == 0) {
    sim.ticks++;
    cycles_taken += sim_target.tick_extra_cycles;
    sim.interrupts_to_tick = sim_target.interrupts_per_tick;
  }
  sim.next_tick += sim_target.interrupt_period;
  return cycles_taken;
}

// Runs a piece of the firmware; every tick that falls meanwhile is counted and its
// interrupt lengthens the run.
static void spend(int cycles, int jumps) {
  sim.cycle += cycles;
  if (sim.recording && sim.pieces < sim_piece_capacity) sim.piece[sim.pieces++] = {cycles, long_share(cycles, jumps)};
  while (sim.cycle >= sim.next_tick) sim.cycle += take_interrupt(long_share(cycles, jumps));
}

int64_t sim_cycles_of_nanoseconds(int64_t ns) {
  return int64_t((__int128)ns * sim_target.cycles_per_second / 1000000000);
}

int64_t sim_nanoseconds_of_cycles(int64_t cycles) {
  return int64_t((__int128)cycles * 1000000000 / sim_target.cycles_per_second);
}

// ---- Loading the program ----------------------------------------------------

// What each bit address is, looked up once per order.
static bool step_at[sim_bit_count], enable_at[sim_bit_count];

static bool is_step(int address) { return address >= 0 && address < sim_bit_count && step_at[address]; }
static bool is_timer_enable(int address) { return enable_at[address]; }

static void classify_bits() {
  std::memset(step_at, 0, sizeof step_at);
  std::memset(enable_at, 0, sizeof enable_at);
  for (int n = 0; n < sim_step_count; n++)
    if (sim_target.step_address[n] >= 0) step_at[sim_target.step_address[n]] = true;
  for (int n = 0; n < sim_target.timer_count; n++) enable_at[sim_target.enable_address[n]] = true;
}

// A program word the interpreter can read: a RETLW placed by the compiler or the definition.
static bool read_program_word(int64_t address, int &value) {
  const definition_record &d = automaton_definition;
  if (address < 0 || address >= d.uc_taille_flash || address >= flash_words) return false;
  int32_t word = d.flash_image[address];
  if (word == -1 || (word & 0x3F00) != 0x3400) return false;
  value = word & 0xFF;
  return true;
}

// Reads the program as the firmware checks it at power-up: false when it cannot run
// (an order code that does not exist, or no end before the end of program memory).
static bool decode_program(int &check_cycles) {
  int64_t address = automaton_definition.adr_start_graphcet;
  sim_program_length = 0;
  sim_action_start = 0;
  int check_order = sim_target.check_order_cycles;
  check_cycles = check_order + check_end_extra;
  for (;; address += 2) {
    int code, operand;
    if (!read_program_word(address, code) || !read_program_word(address + 1, operand)) return false;
    if (code == order_end) return true;
    if (code >= order_count || sim_program_length == sim_order_capacity) return false;
    sim_program[sim_program_length++] = {uint8_t(code), uint8_t(operand)};
    check_cycles += check_order;
    if (order_table[code].part != part_block) continue;
    sim_action_start = sim_program_length;
    if (code != order_initial_step) check_cycles += check_step_order_extra;
    else if (!is_step(operand)) check_cycles += check_initial_other_extra;
    else check_cycles += check_initial_extra + check_initial_shift_cycles * (operand & 7);
  }
}

void sim_power_up() {
  std::memset(&sim, 0, sizeof sim);
  sim.next_tick = INT64_MAX;
  sim.interrupts_to_tick = sim_target.interrupts_per_tick;
  fetch_cycles = sim_target.fetch_cycles;
  classify_bits();
  int check_cycles = 0;
  if (!decode_program(check_cycles)) {
    sim.stopped = true;
    return;
  }
  for (int k = 0; k < sim_program_length; k++)
    if (sim_program[k].code == order_initial_step && is_step(sim_program[k].operand)) sim.bit[sim_program[k].operand] = 1;
  sim.cycle = sim_target.reset_cycles + check_cycles + sim_target.setup_cycles;
  sim.next_tick = sim.cycle + sim_target.interrupt_period;
  sim.cycle += timer_to_scan_cycles;
  sim.last_scan_end = sim.cycle;
  std::memcpy(sim.seen_bit, sim.bit, sizeof sim.bit);
}

// ---- One pass -----------------------------------------------------------------

struct pass_flags {
  bool result, step_active, fired;
  int current_step;
};

// The cost of one ">" and its effect on the flags and the step changes.
static sim_work transition(pass_flags &f, int k, int operand) {
  if (!f.result) {
    f.result = true;
    return {transition_false_cycles, transition_false_jumps};
  }
  if (!f.step_active) return {handler_cycles[order_transition], transition_jumps};
  if (!is_step(operand)) return {transition_not_step_cycles, transition_not_step_jumps};
  if (!is_step(f.current_step)) return {transition_from_not_step_cycles, transition_from_not_step_jumps};
  sim.activate[operand] = 1;
  sim.deactivate[f.current_step] = 1;
  f.fired = true;
  sim_fired_orders[sim_fired_count++] = k;
  return {transition_fire_cycles, transition_fire_jumps};
}

// "=": in a pass that fired, the action part writes only timer enable bits.
static sim_work assign(pass_flags &f, int k, int operand) {
  if (!f.fired) {
    sim.bit[operand] = f.result;
    return {handler_cycles[order_assign], assign_jumps};
  }
  if (k < sim_action_start) {
    sim.bit[operand] = f.result;
    return {assign_early_in_firing_cycles, assign_early_jumps};
  }
  if (!is_timer_enable(operand)) return {assign_held_cycles, assign_held_jumps};
  sim.bit[operand] = f.result;
  return {assign_enable_in_firing_cycles, assign_enable_jumps};
}

// The accumulator after a logic order (l to xn) on a bit's value.
static bool logic(int code, bool result, bool value) {
  switch (code) {
    case order_load: return value;
    case order_load_not: return !value;
    case order_and: return result && value;
    case order_and_not: return result && !value;
    case order_or: return result || value;
    case order_or_not: return result || !value;
    case order_xor: return result != value;
    case order_xor_not: return result == value;
  }
  return result;
}

// Runs orders first..end once; returns what they took, the end included.
static sim_work run_orders(int first, pass_flags &f) {
  sim_work w{fetch_cycles, fetch_jumps};  // the end of program is fetched too
  uint8_t *bit = sim.bit;
  for (int k = first; k < sim_program_length; k++) {
    int code = sim_program[k].code, operand = sim_program[k].operand;
    int value = bit[operand];
    sim_work handler{handler_cycles[code], 1};
    switch (code) {
      default:
        f.result = logic(code, f.result, value);
        handler.jumps += value == skip_on_bit[code];
        break;
      case order_assign: handler = assign(f, k, operand); break;
      case order_initial_step:
      case order_step:
        f.current_step = operand;
        f.result = true;
        f.step_active = value;
        handler.jumps = step_jumps + (value != 0);
        break;
      case order_transition: handler = transition(f, k, operand); break;
      // "S" and "R" act in every pass, the action part of a pass that fired included.
      case order_set:
      case order_reset:
        if (f.result) bit[operand] = code == order_set;
        handler.jumps += !f.result;  // the write skipped
        break;
    }
    w.cycles += fetch_cycles + handler.cycles;
    w.jumps += fetch_jumps + handler.jumps;
  }
  return w;
}

// The changes of a pass that fired, at its end: timers whose enable is 0 start afresh,
// then an activation wins over a deactivation.
static void apply_step_changes() {
  for (int n = 0; n < sim_target.timer_count; n++)
    if (!sim.bit[sim_target.enable_address[n]]) {
      sim.bit[sim_target.done_address[n]] = 0;
      sim.running &= uint8_t(~(1 << n));
    }
  for (int n = 0; n < sim_step_count; n++) {
    int address = sim_target.step_address[n];
    if (address < 0) continue;
    if (sim.deactivate[address] || sim.activate[address]) sim.bit[address] = sim.activate[address];
    sim.activate[address] = sim.deactivate[address] = 0;
  }
}

// ---- Timers -----------------------------------------------------------------

// One enabled timer at the end of a scan; returns its cycles.
static sim_work update_timer(int n, int elapsed) {
  uint8_t mask = uint8_t(1 << n);
  if (!(sim.running & mask)) {
    sim.running |= mask;
    sim.wait[n] = uint16_t(sim_target.preset[n]);
    if (sim.wait[n] != 0) return {timer_start_cycles, timer_start_jumps};
    sim.bit[sim_target.done_address[n]] = 1;
    return {timer_start_zero_cycles, timer_start_zero_jumps};
  }
  int low = sim.wait[n] & 0xFF, high = sim.wait[n] >> 8;
  low -= elapsed;
  if (low >= 0) {
    sim.wait[n] = uint16_t(high << 8 | low);
    return {timer_count_cycles, timer_count_jumps};
  }
  // The firmware borrows once from the high byte: elapsed ticks are fewer than 256.
  if (high == 0) {
    sim.wait[n] = 0;
    sim.bit[sim_target.done_address[n]] = 1;
    return {timer_end_cycles, timer_end_jumps};
  }
  sim.wait[n] = uint16_t((high - 1) << 8 | (low & 0xFF));
  return {timer_borrow_cycles, timer_borrow_jumps};
}

static void update_timers() {
  spend(tick_read_offset, 0);
  int elapsed = sim.ticks & 0xFF;
  sim.ticks = 0;
  sim_work w{timers_base_cycles(), timers_base_jumps()};
  for (int n = 0; n < sim_target.timer_count; n++) {
    bool enabled = sim.bit[sim_target.enable_address[n]];
    if (!enabled) {
      sim.bit[sim_target.done_address[n]] = 0;
      sim.running &= uint8_t(~(1 << n));
      continue;
    }
    sim_work timer = update_timer(n, elapsed);
    w.cycles += timer.cycles;
    w.jumps += timer.jumps;
  }
  spend(w.cycles - tick_read_offset, w.jumps);
}

// ---- Scans ------------------------------------------------------------------

static void sample_inputs(uint8_t *bit) {
  for (int p = 0; p < sim_target.pin_count; p++)
    if (sim_pin_is_input(p)) {
      const sim_pin &pin = sim_target.pins[p];
      bit[pin.address] = sim.input_level[pin.port] >> pin.bit & 1;
    }
}

// Each port with pins in turn, a load and a write each: a pin changes at its port's write.
static void write_outputs() {
  for (int port = 0; port < sim_port_count; port++) {
    bool written = false;
    for (int p = 0; p < sim_target.pin_count; p++) {
      const sim_pin &pin = sim_target.pins[p];
      if (pin.port != port) continue;
      if (!written) spend(1, 0);
      written = true;
      uint8_t mask = uint8_t(1 << pin.bit), level = uint8_t(sim.bit[pin.address] ? mask : 0);
      if ((sim.pin_level[port] & mask) != level) sim.pin_changed[p] = sim.cycle;
      sim.pin_level[port] = uint8_t((sim.pin_level[port] & ~mask) | level);
    }
    if (written) spend(write_port_cycles - 1, 0);
  }
}

static void end_scan() {
  spend(3, stable_test_jumps);
  write_outputs();
  spend(stable_end_cycles() - 2 - 3 - write_port_cycles * sim_target.port_count, timers_call_jumps);
  update_timers();
  spend(2, back_to_scan_jumps);
  sim.last_scan_passes = sim.passes;
  sim.passes = 0;
  sim.scans++;
  sim.last_scan_end = sim.cycle;
}

static uint8_t bits_at_scan_start[sim_bit_count];

bool sim_pass() {
  if (sim.stopped) return true;
  sim.quiet = false;
  if (sim.passes == 0) {
    std::memcpy(bits_at_scan_start, sim.bit, sizeof sim.bit);
    spend(sample_offset, 0);
    sample_inputs(sim.bit);
    spend(scan_start_cycles() - sample_offset, 0);
    if (sim_target.unstable_address >= 0) sim.bit[sim_target.unstable_address] = 0;
  }
  sim.passes++;
  sim_fired_count = 0;
  pass_flags f{true, false, false, -1};
  sim_work pass = run_orders(0, f);
  pass.cycles += sim_target.pass_start_cycles;
  pass.jumps += pass_start_jumps;
  spend(pass.cycles, pass.jumps);
  if (!f.fired) {
    bool one_pass = sim.passes == 1;
    end_scan();
    // Nothing moved in one pass: the scans that follow will be the same.
    if (one_pass && std::memcmp(bits_at_scan_start, sim.bit, sizeof sim.bit) == 0) {
      sim.quiet = true;
      sim.quiet_orders_cycles = pass.cycles;
      sim.quiet_orders_jumps = pass.jumps;
      sim.quiet_scan_cycles = 0;
    }
    return true;
  }
  apply_step_changes();
  if (sim.passes < pass_cap) {
    spend(fired_end_cycles, fired_end_jumps);
    return false;
  }
  // The cap: the situation reached is kept, its actions performed once, and it is said.
  spend(capped_end_cycles, capped_end_jumps);
  if (sim_target.unstable_address >= 0) sim.bit[sim_target.unstable_address] = 1;
  pass_flags actions{true, false, false, -1};
  sim_work action_part = run_orders(sim_action_start, actions);
  spend(action_part.cycles, action_part.jumps);
  end_scan();
  return true;
}

static bool same_done_bits(const uint8_t *before) {
  for (int n = 0; n < sim_target.timer_count; n++)
    if (before[n] != sim.bit[sim_target.done_address[n]]) return false;
  return true;
}

// A scan known to repeat the last one: only its time and the timers move.
static void quiet_scan() {
  int64_t start = sim.cycle, tick = sim.next_tick;
  sim.pieces = 0;
  sim.recording = true;
  bool no_ticks_waiting = sim.ticks == 0;
  uint8_t done[sim_timer_count];
  for (int n = 0; n < sim_target.timer_count; n++) done[n] = sim.bit[sim_target.done_address[n]];
  spend(sample_offset, 0);  // the same pieces as a scan run in full
  spend(scan_start_cycles() - sample_offset, 0);
  spend(sim.quiet_orders_cycles, sim.quiet_orders_jumps);
  end_scan();
  sim.recording = false;
  if (!same_done_bits(done)) sim.quiet = false;
  else if (no_ticks_waiting && sim.next_tick == tick) {
    sim.quiet_scan_cycles = sim.cycle - start;
    int end = 0;  // each piece kept by the cycle it ends at
    for (int k = 0; k < sim.pieces; k++) sim.quiet_piece[k] = {end += sim.piece[k].cycles, sim.piece[k].share};
    sim.quiet_pieces = sim.pieces;
    sim.quiet_piece_found = 0;
  }
}

void sim_scan() {
  if (sim.stopped) return;
  if (sim.quiet && sim.passes == 0) return quiet_scan();
  while (!sim_pass()) {
  }
}

int64_t sim_next_sample_cycle() { return sim.cycle + (sim.passes == 0 ? sample_offset : 0); }

// Quiet scans between two ticks all take the same time: they are counted at once,
// up to the last one that ends before the next tick and samples before cycle.
static int64_t skip_scans_before_tick(int64_t cycle) {
  if (sim.cycle + sample_offset >= cycle) return 0;
  int64_t length = sim.quiet_scan_cycles;
  int64_t before_tick = (sim.next_tick - 1 - sim.cycle) / length;
  int64_t before_cycle = (cycle - sample_offset - sim.cycle - 1) / length + 1;
  int64_t count = before_tick < before_cycle ? before_tick : before_cycle;
  if (count <= 0) return 0;
  sim.cycle += count * length;
  sim.scans += count;
  sim.last_scan_end = sim.cycle;
  return count;
}

// A running timer counts one tick on the usual path unless its low byte must borrow.
static bool ticks_count_plainly() {
  for (int n = 0; n < sim_target.timer_count; n++)
    if ((sim.running >> n & 1) && (sim.wait[n] & 0xFF) == 0) return false;
  return true;
}

// The scan that holds the next tick, and the one after it when the tick comes after
// the timers read their count: together they take one interrupt more than quiet
// scans and count one tick off every running timer, as running them would.
// The interrupt of a tick that lands `offset` cycles into a quiet scan: it is taken at
// the end of the piece of work the tick falls in, at that piece's rate, as running it would.
// The ticks move slowly through the scan: the search starts from the last piece found.
static int take_quiet_interrupt(int64_t offset) {
  int k = sim.quiet_piece_found;
  if (k >= sim.quiet_pieces || (k > 0 && sim.quiet_piece[k - 1].cycles >= offset)) k = 0;
  while (k < sim.quiet_pieces && sim.quiet_piece[k].cycles < offset) k++;
  sim.quiet_piece_found = k;
  return take_interrupt(k < sim.quiet_pieces ? sim.quiet_piece[k].share : share_unit);
}

static bool count_tick_scans(int64_t cycle) {
  if (sim_target.interrupts_per_tick != 1 || !ticks_count_plainly()) return false;
  if (sim.next_tick - sim.cycle >= sim.quiet_scan_cycles) return false;
  int64_t read_point = sim.cycle + scan_start_cycles() + sim.quiet_orders_cycles + stable_end_cycles() - 2;
  bool read_after_tick = sim.next_tick <= read_point;
  int scans = read_after_tick ? 1 : 2;
  // Both scans must sample before cycle (the second starts after the interrupt).
  int longest_interrupt = sim_target.interrupt_cycles + 1 + sim_target.tick_extra_cycles;
  int64_t last_start = sim.cycle + (scans - 1) * (sim.quiet_scan_cycles + longest_interrupt);
  if (last_start + sample_offset >= cycle) return false;
  sim.cycle += scans * sim.quiet_scan_cycles + take_quiet_interrupt(sim.next_tick - sim.cycle);
  sim.ticks = 0;  // taken at once by every running timer
  for (int n = 0; n < sim_target.timer_count; n++)
    if (sim.running >> n & 1) sim.wait[n]--;
  sim.scans += scans;
  sim.last_scan_end = sim.cycle;
  return true;
}

bool sim_skip_quiet_scans(int64_t cycle) {
  if (!sim.quiet || sim.quiet_scan_cycles <= 0 || sim.ticks != 0 || sim.passes != 0) return false;
  bool skipped = false;
  while (skip_scans_before_tick(cycle) > 0 || count_tick_scans(cycle)) skipped = true;
  return skipped;
}

// A pin the target does not have (sim_find_pin gave -1) is driven and read as nothing.
void sim_set_input(int pin, int level) {
  if (pin < 0 || pin >= sim_target.pin_count) return;
  const sim_pin &p = sim_target.pins[pin];
  sim.quiet = false;
  uint8_t mask = uint8_t(1 << p.bit);
  sim.input_level[p.port] = uint8_t(level ? sim.input_level[p.port] | mask : sim.input_level[p.port] & ~mask);
}

int sim_pin_level(int pin) {
  if (pin < 0 || pin >= sim_target.pin_count) return 0;
  const sim_pin &p = sim_target.pins[pin];
  if (sim_pin_is_input(pin)) return sim.input_level[p.port] >> p.bit & 1;
  return sim.pin_level[p.port] >> p.bit & 1;
}

// The words of a condition as the compiler reads them, worked on a copy of the bits
// with the inputs sampled now, so that a driven input shows at once what it would fire.
bool sim_condition_holds(const char *text) {
  uint8_t bit[sim_bit_count];
  std::memcpy(bit, sim.bit, sizeof bit);
  sample_inputs(bit);
  bool result = false, any = false;
  char order[literal_word_size], operand[literal_word_size];
  int words, used = 0;
  for (; (words = std::sscanf(text, "%63s %63s%n", order, operand, &used)) == 2; text += used) {
    int code, address;
    if (!find_order(order, code) || order_table[code].part != part_condition || !find_zb(operand, address)) return false;
    if (address < 0 || address >= sim_bit_count) return false;
    result = logic(code, result, bit[address]);
    any = true;
  }
  return words != 1 && any && result;  // an order left without its operand
}
