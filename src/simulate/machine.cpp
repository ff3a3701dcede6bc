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
constexpr int sample_offset = 2;         // the first port is read this many cycles into the scan
constexpr int write_port_cycles = 2;
// Watchdog, UNSTABLE cleared, inputs sampled, seven cycles a port.
static int scan_start_cycles() { return 4 + 7 * sim_target.port_count; }
// No firing, outputs written, the timers called, back to scan.
static int stable_end_cycles() { return 3 + write_port_cycles * sim_target.port_count + 2 + 2; }
constexpr int tick_read_offset = 0;      // the tick count is read by the first instruction of the timers

// ---- Where the two-cycle instructions lie --------------------------------------
// Each path of the interpreter as its listing reads, a character an instruction: '1' takes
// one cycle, '2' two (goto, call, return, retlw, a skip taken), 'p' is a write to PCL, which
// gpsim runs as two one-cycle steps. A tick interrupt that lands short_lag cycles after the
// first cycle of a '2' takes a cycle less, so the host must know where each tick lands.
struct sim_path {
  int cycles;
  uint64_t jumps;  // bit n: cycle n starts a two-cycle instruction
};
constexpr sim_path path(const char *instructions) {
  sim_path p{0, 0};
  for (const char *c = instructions; *c; c++) {
    if (*c == '2') p.jumps |= uint64_t(1) << p.cycles;
    p.cycles += *c == '1' ? 1 : 2;
  }
  return p;
}
constexpr sim_path plain(int cycles) { return {cycles, 0}; }
constexpr int short_lag = 2;

// The fetch up to the jump to the handler, by the core (the target's chemin_lecture_ordre:
// the fast core, the same reading beyond 2K words, the compact core with its mask slot), and
// whether the pointer's low byte wraps (every 128th order).
constexpr sim_path fetch_paths[][2] = {
    {path("1112p2112p2111" "12" "1111111111p"), path("1112p2112p2111" "21" "1111111111p")},
    {path("121111p21112" "1111p21111" "12" "111111111p"), path("121111p21112" "1111p21111" "21" "111111111p")},
    {path("1112p211112p2111" "12" "111111111p1111p"), path("1112p211112p2111" "21" "111111111p1111p")},
};
static_assert(std::size(fetch_paths) == sim_fetch_paths, "a fetch for every path a definition may name");
constexpr int dispatch_cycles = 2;  // the dispatch table's goto, which the handlers' paths begin with
static_assert(fetch_paths[0][0].cycles + dispatch_cycles == 37 && fetch_paths[1][1].cycles + dispatch_cycles == 44 &&
                  fetch_paths[2][0].cycles + dispatch_cycles == 44,
              "the fetch's paths take the targets' cycles_lecture_ordre");
constexpr int compact_core = 2;

// A logic order's handler: its goto, a first instruction for l, ln, x and xn, then its bit
// test, skipped over the write when the bit has the value below.
constexpr int skip_on_bit[] = {/* l */ 0, /* ln */ 0, /* a */ 1, /* an */ 0, /* o */ 0, /* on */ 1, /* x */ 0, /* xn */ 1};
constexpr sim_path logic_paths[2][2] = {{path("2112"), path("222")}, {path("21112"), path("2122")}};
// "S" by the result (skipped over the write at 0), "R" by the core and the result: its
// mask comes from its dispatch row on the fast core, from the operand on the compact one.
constexpr sim_path set_path[2] = {path("2122"), path("21112")};
constexpr sim_path reset_path[2][2] = {{path("1222"), path("12112")}, {path("2122"), path("21112")}};
constexpr sim_path end_path = path("2");
// "*" and "-": the step's bit tested, skipped over when the step is inactive.
constexpr sim_path step_path[2] = {path("2121111" "2" "112"), path("2121111" "11" "112")};
// ">": its condition failed; held while its step is inactive; towards no step; from no step; firing.
constexpr sim_path transition_false = path("21212"), transition_inactive = path("2212");
constexpr sim_path transition_not_step = path("22212111" "12"), transition_from_not_step = path("222121112" "1112");
constexpr sim_path transition_fire = path("222121112" "112" "1111111111" "2");
// "=": the write by the core and the result, after the test of a pass that fired; in a pass
// that fired, the check of its operand and place first: a timer enable is written; before the
// action part it is written, in it held, and the pointers' low bytes compare with or without a skip.
constexpr sim_path assign_now[2][2] = {{path("1122"), path("2112")}, {path("11112"), path("1122")}};
constexpr sim_path assign_stable = path("22");
constexpr sim_path assign_enable = path("212211" "1212" "12");
constexpr sim_path assign_early[2] = {path("2122112111" "11" "12" "12"), path("2122112111" "2" "12" "12")};
constexpr sim_path assign_held[2] = {path("2122112111" "11" "12" "22"), path("2122112111" "2" "12" "22")};
static_assert(assign_enable.cycles + 6 == dispatch_cycles + 22 && assign_early[0].cycles + 6 == dispatch_cycles + 26 &&
                  assign_held[1].cycles == dispatch_cycles + 21 && transition_fire.cycles == dispatch_cycles + 28 &&
                  transition_not_step.cycles == dispatch_cycles + 13 &&
                  transition_from_not_step.cycles == dispatch_cycles + 17,
              "the handlers' paths take the cycles gpsim measured");
// A pass's end: fired (the step changes applied, back to a pass), or at the cap, where the
// action part follows at once.
constexpr sim_path fired_end = path("2" "111111111111111111111111111111111111111111111111111" "12");
constexpr sim_path capped_end = path("2" "111111111111111111111111111111111111111111111111111" "2" "1111111" "2");
static_assert(fired_end.cycles == 56 && capped_end.cycles == 64, "the end of a pass that fired");
constexpr sim_path stable_test = path("12"), call_timers = path("2"), back_to_scan = path("2");
// The timers: their set-up, then each timer's test (with its call when enabled), step and loop test.
constexpr sim_path timers_setup = plain(10), timer_test = path("11"), timer_off = path("2"), timer_call = path("12");
constexpr sim_path timer_step = plain(4), timer_next = path("12"), timer_last = path("22");
// One enabled timer, by what it does.
constexpr sim_path timer_start = path("11112" "11111111111111" "2" "111" "2");
constexpr sim_path timer_start_zero = path("11112" "11111111111111" "12" "1111111" "2");
constexpr sim_path timer_count = path("1111" "12" "111" "12"), timer_borrow = path("1111" "12" "111" "2121" "2");
constexpr sim_path timer_end = path("1111" "12" "111" "21" "12" "1111111" "2");
static_assert(timer_start.cycles == 27 && timer_start_zero.cycles == 32 && timer_count.cycles == 13 &&
                  timer_borrow.cycles == 18 && timer_end.cycles == 25,
              "the timers' paths take the cycles gpsim measured");

// Power-up, from the reset to the first scan; each check reads one order, and the
// reset and set-up costs and the cost of a plain order's check come from the target.
constexpr int check_step_order_extra = 9, check_initial_extra = 33;
constexpr int check_initial_shift_cycles = 8, check_initial_other_extra = 13, check_end_extra = -6;
constexpr int timer_to_scan_cycles = 6;
static int fetch_path;  // the row of fetch_paths
// A pass's start: plain instructions, then the goto to the first fetch.
static sim_path pass_start_path() { return {sim_target.pass_start_cycles, uint64_t(1) << (sim_target.pass_start_cycles - 2)}; }

// The pieces of the scan under way, when it is recorded, and of the last quiet scan, each
// kept there by the cycle it ends at: where a tick lands among them decides its interrupt.
constexpr int piece_capacity = 3 * sim_order_capacity + 64;
static sim_path sim_pieces[piece_capacity], quiet_pieces[piece_capacity];
static int64_t work_cycles;  // the firmware's own cycles, the interrupts left out

// ---- Time -------------------------------------------------------------------

// One timer interrupt: its cycles, a cycle less when it is short, and a tick counted when
// it completes one.
static int take_interrupt(bool short_interrupt) {
  int cycles_taken = sim_target.interrupt_cycles + !short_interrupt;
  if (--sim.interrupts_to_tick == 0) {
    sim.ticks++;
    cycles_taken += sim_target.tick_extra_cycles;
    sim.interrupts_to_tick = sim_target.interrupts_per_tick;
  }
  sim.next_tick += sim_target.interrupt_period;
  return cycles_taken;
}

// Bits 0..3: the last four cycles run (bit 3 the last), whether each started a two-cycle instruction.
static unsigned tail_of(unsigned tail, const sim_path &p) {
  if (p.cycles >= 4) return unsigned(p.jumps >> (p.cycles - 4)) & 0xF;
  return (tail >> p.cycles | unsigned(p.jumps) << (4 - p.cycles)) & 0xF;
}

static bool jump_starts(const sim_path &p, unsigned tail, int cycle) {
  return cycle >= 0 ? (p.jumps >> cycle & 1) != 0 : (tail >> (4 + cycle) & 1) != 0;
}

// Runs a piece of the firmware; every tick that falls meanwhile is counted, and its
// interrupt, as long as where it lands makes it, lengthens the run.
static void spend(const sim_path &p) {
  int64_t start = sim.cycle;
  sim.cycle += p.cycles;
  work_cycles += p.cycles;
  if (sim.recording && sim.pieces < piece_capacity) sim_pieces[sim.pieces++] = p;
  while (sim.cycle >= sim.next_tick) {
    int cycle = int(sim.next_tick - start) - short_lag;
    int taken = take_interrupt(jump_starts(p, sim.tail, cycle));
    sim.cycle += taken;
    start += taken;
  }
  sim.tail = tail_of(sim.tail, p);
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
  fetch_path = sim_target.fetch_path;
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

// The path of one ">" and its effect on the flags and the step changes.
static sim_path transition(pass_flags &f, int k, int operand) {
  if (!f.result) {
    f.result = true;
    return transition_false;
  }
  if (!f.step_active) return transition_inactive;
  if (!is_step(operand)) return transition_not_step;
  if (!is_step(f.current_step)) return transition_from_not_step;
  sim.activate[operand] = 1;
  sim.deactivate[f.current_step] = 1;
  f.fired = true;
  sim_fired_orders[sim_fired_count++] = k;
  return transition_fire;
}

// "=": in a pass that fired, the action part writes only timer enable bits. The firmware
// compares the pointer past the order with the action part's start + 1 to tell.
static void assign(pass_flags &f, int k, int operand) {
  const sim_path *now = assign_now[fetch_path == compact_core];
  if (!f.fired) {
    sim.bit[operand] = f.result;
    spend(assign_stable);
    return spend(now[f.result]);
  }
  if (is_timer_enable(operand)) {
    sim.bit[operand] = f.result;
    spend(assign_enable);
    return spend(now[f.result]);
  }
  bool low_bytes_carry = (2 * (k + 1) & 0xFF) >= ((2 * sim_action_start + 1) & 0xFF);
  if (k >= sim_action_start) return spend(assign_held[low_bytes_carry]);
  sim.bit[operand] = f.result;
  spend(assign_early[low_bytes_carry]);
  spend(now[f.result]);
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

// The fetch of order k, whose pointer's low byte wraps on every 128th.
static void fetch(int k) { spend(fetch_paths[fetch_path][k % 128 == 127]); }

// Runs orders first..end once, each taking its time, the end included.
static void run_orders(int first, pass_flags &f) {
  uint8_t *bit = sim.bit;
  bool compact = fetch_path == compact_core;
  for (int k = first; k < sim_program_length; k++) {
    int code = sim_program[k].code, operand = sim_program[k].operand;
    int value = bit[operand];
    fetch(k);
    switch (code) {
      default: {
        f.result = logic(code, f.result, value);
        bool prefix = code == order_load || code == order_load_not || code == order_xor || code == order_xor_not;
        spend(logic_paths[prefix][value == skip_on_bit[code]]);
        break;
      }
      case order_assign: assign(f, k, operand); break;
      case order_initial_step:
      case order_step:
        f.current_step = operand;
        f.result = true;
        f.step_active = value;
        spend(step_path[value != 0]);
        break;
      case order_transition: spend(transition(f, k, operand)); break;
      // "S" and "R" act in every pass, the action part of a pass that fired included.
      case order_set:
      case order_reset:
        spend(code == order_set ? set_path[f.result] : reset_path[compact][f.result]);
        if (f.result) bit[operand] = code == order_set;
        break;
    }
  }
  fetch(sim_program_length);
  spend(end_path);
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

// One enabled timer at the end of a scan; returns its path.
static sim_path update_timer(int n, int elapsed) {
  uint8_t mask = uint8_t(1 << n);
  if (!(sim.running & mask)) {
    sim.running |= mask;
    sim.wait[n] = uint16_t(sim_target.preset[n]);
    if (sim.wait[n] != 0) return timer_start;
    sim.bit[sim_target.done_address[n]] = 1;
    return timer_start_zero;
  }
  int low = sim.wait[n] & 0xFF, high = sim.wait[n] >> 8;
  low -= elapsed;
  if (low >= 0) {
    sim.wait[n] = uint16_t(high << 8 | low);
    return timer_count;
  }
  // The firmware borrows once from the high byte: elapsed ticks are fewer than 256.
  if (high == 0) {
    sim.wait[n] = 0;
    sim.bit[sim_target.done_address[n]] = 1;
    return timer_end;
  }
  sim.wait[n] = uint16_t((high - 1) << 8 | (low & 0xFF));
  return timer_borrow;
}

static void update_timers() {
  spend(plain(tick_read_offset));
  int elapsed = sim.ticks & 0xFF;
  sim.ticks = 0;  // ticks counted from here on are the next scan's
  spend(plain(timers_setup.cycles - tick_read_offset));
  for (int n = 0; n < sim_target.timer_count; n++) {
    spend(timer_test);
    if (!sim.bit[sim_target.enable_address[n]]) {
      sim.bit[sim_target.done_address[n]] = 0;
      sim.running &= uint8_t(~(1 << n));
      spend(timer_off);
    } else {
      spend(timer_call);
      spend(update_timer(n, elapsed));
    }
    spend(timer_step);
    spend(n == sim_target.timer_count - 1 ? timer_last : timer_next);
  }
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
      if (!written) spend(plain(1));
      written = true;
      uint8_t mask = uint8_t(1 << pin.bit), level = uint8_t(sim.bit[pin.address] ? mask : 0);
      if ((sim.pin_level[port] & mask) != level) sim.pin_changed[p] = sim.cycle;
      sim.pin_level[port] = uint8_t((sim.pin_level[port] & ~mask) | level);
    }
    if (written) spend(plain(write_port_cycles - 1));
  }
}

static void end_scan() {
  spend(stable_test);
  write_outputs();
  spend(call_timers);
  update_timers();
  spend(back_to_scan);
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
    spend(plain(sample_offset));
    sample_inputs(sim.bit);
    spend(plain(scan_start_cycles() - sample_offset));
    if (sim_target.unstable_address >= 0) sim.bit[sim_target.unstable_address] = 0;
  }
  sim.passes++;
  sim_fired_count = 0;
  pass_flags f{true, false, false, -1};
  int64_t pass_start = work_cycles;
  spend(pass_start_path());
  run_orders(0, f);
  if (!f.fired) {
    int64_t pass_cycles = work_cycles - pass_start;
    bool one_pass = sim.passes == 1;
    end_scan();
    // Nothing moved in one pass: the scans that follow will be the same.
    if (one_pass && std::memcmp(bits_at_scan_start, sim.bit, sizeof sim.bit) == 0) {
      sim.quiet = true;
      sim.quiet_orders_cycles = int(pass_cycles);
      sim.quiet_scan_cycles = 0;
    }
    return true;
  }
  apply_step_changes();
  if (sim.passes < pass_cap) {
    spend(fired_end);
    return false;
  }
  // The cap: the situation reached is kept, its actions performed once, and it is said.
  spend(capped_end);
  if (sim_target.unstable_address >= 0) sim.bit[sim_target.unstable_address] = 1;
  pass_flags actions{true, false, false, -1};
  run_orders(sim_action_start, actions);
  end_scan();
  return true;
}

static bool same_done_bits(const uint8_t *before) {
  for (int n = 0; n < sim_target.timer_count; n++)
    if (before[n] != sim.bit[sim_target.done_address[n]]) return false;
  return true;
}

// A scan known to repeat the last one: its pass changes nothing and fires nothing, and
// is run again only for the time each piece of it takes.
static void quiet_scan() {
  int64_t start = sim.cycle, tick = sim.next_tick;
  sim.pieces = 0;
  sim.recording = true;
  bool no_ticks_waiting = sim.ticks == 0;
  uint8_t done[sim_timer_count];
  for (int n = 0; n < sim_target.timer_count; n++) done[n] = sim.bit[sim_target.done_address[n]];
  spend(plain(sample_offset));  // the same pieces as a scan run in full
  spend(plain(scan_start_cycles() - sample_offset));
  spend(pass_start_path());
  pass_flags f{true, false, false, -1};
  run_orders(0, f);
  end_scan();
  sim.recording = false;
  if (!same_done_bits(done)) sim.quiet = false;
  else if (no_ticks_waiting && sim.next_tick == tick) {
    sim.quiet_scan_cycles = sim.cycle - start;
    int end = 0;  // each piece kept by the cycle it ends at
    for (int k = 0; k < sim.pieces; k++) quiet_pieces[k] = {end += sim_pieces[k].cycles, sim_pieces[k].jumps};
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
// The interrupt of a tick that lands `offset` cycles into a quiet scan is as long as the
// instruction short_lag cycles before makes it (in the scan before, the same, for the first).
// The ticks move slowly through the scan: the search starts from the last piece found.
static int take_quiet_interrupt(int64_t offset) {
  int count = sim.quiet_pieces;
  if (count == 0) return take_interrupt(false);
  int64_t cycle = offset - short_lag;
  if (cycle < 0) cycle += quiet_pieces[count - 1].cycles;
  int k = sim.quiet_piece_found;
  if (k >= count || (k > 0 && quiet_pieces[k - 1].cycles > cycle)) k = 0;
  while (k < count - 1 && quiet_pieces[k].cycles <= cycle) k++;
  sim.quiet_piece_found = k;
  int start = k > 0 ? quiet_pieces[k - 1].cycles : 0;
  return take_interrupt((quiet_pieces[k].jumps >> (cycle - start) & 1) != 0);
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
