// What a run shows over time: the signals worth watching, their recorded changes,
// and the Value Change Dump made from them (src/picture draws the chronogram).
#include <cstdio>
#include <cstring>

#include "files/text_io.h"
#include "model/orders.h"
#include "simulate/simulate.h"

sim_signal sim_signals[sim_signal_capacity];
int sim_signal_count;

// Names longer than the field are cut; every name the simulator makes fits.
static void copy_name(char (&field)[sim_name_size], const char *name) {
  size_t length = std::strlen(name);
  if (length >= sim_name_size) length = sim_name_size - 1;
  std::memcpy(field, name, length);
  field[length] = 0;
}

// Whether an order names the address; with steps_only, as its step ("*", "-" or ">").
static bool program_uses(int address, bool steps_only) {
  for (int k = 0; k < sim_program_length; k++)
    if (sim_program[k].operand == address && (!steps_only || order_names_step(sim_program[k].code))) return true;
  return false;
}

static void add_signal(sim_signal_kind kind, int index, const char *name) {
  sim_signal &s = sim_signals[sim_signal_count++];
  s.kind = kind;
  s.index = index;
  copy_name(s.name, name);
}

// A numbered name such as "x12" or "TE3".
static const char *numbered(const char *prefix, int number) {
  static char name[32];
  std::snprintf(name, sizeof name, "%s%d", prefix, number);
  return name;
}

void sim_list_signals() {
  sim_signal_count = 0;
  for (int pass = 0; pass < 2; pass++)  // inputs first, then outputs
    for (int p = 0; p < sim_target.pin_count; p++)
      if (sim_pin_is_input(p) == (pass == 0)) {
        sim_signal_kind kind = pass == 0 ? signal_input : signal_output;
        add_signal(kind, p, sim_target.pins[p].name);
      }
  for (int n = 0; n < sim_step_count; n++)
    if (sim_target.step_address[n] >= 0 && program_uses(sim_target.step_address[n], true))
      add_signal(signal_step, n, numbered("x", n));
  for (int n = 0; n < sim_target.timer_count; n++)
    if (program_uses(sim_target.enable_address[n], false) || program_uses(sim_target.done_address[n], false)) {
      add_signal(signal_timer_enable, n, numbered("TE", n));
      add_signal(signal_timer_done, n, numbered("T", n));
    }
  if (sim_target.unstable_address >= 0) add_signal(signal_unstable, 0, "UNSTABLE");
}

int sim_signal_value(int signal) {
  const sim_signal &s = sim_signals[signal];
  switch (s.kind) {
    case signal_input:
    case signal_output: return sim_pin_level(s.index);
    case signal_step: return sim.bit[sim_target.step_address[s.index]];
    case signal_timer_enable: return sim.bit[sim_target.enable_address[s.index]];
    case signal_timer_done: return sim.bit[sim_target.done_address[s.index]];
    case signal_unstable: return sim.bit[sim_target.unstable_address];
  }
  return 0;
}

// ---- The record of changes --------------------------------------------------

sim_change sim_record[sim_record_capacity];
int64_t sim_record_count;
static uint8_t last_value[sim_signal_capacity];
static uint8_t held_value[sim_signal_capacity];  // each signal's value where the record holds from
static int64_t held_from;

// A dump streaming while the run goes: its file, whether it is open, its last time line.
static pending_file vcd_file;
static bool vcd_streaming;
static int64_t vcd_last_time;

static void put_vcd_change(const sim_change &c);

// The oldest change makes room: its value is held, and a streaming dump keeps it.
static void add_change(const sim_change &change) {
  if (sim_record_count >= sim_record_capacity) {
    const sim_change &dropped = sim_record[sim_record_count % sim_record_capacity];
    held_value[dropped.signal] = dropped.value;
    held_from = dropped.cycle;
    if (vcd_streaming) put_vcd_change(dropped);
  }
  sim_record[sim_record_count++ % sim_record_capacity] = change;
}

void sim_record_start() {
  sim_record_count = 0;
  held_from = 0;
  for (int s = 0; s < sim_signal_count; s++) {
    last_value[s] = held_value[s] = uint8_t(sim_signal_value(s));
    add_change({0, uint16_t(s), last_value[s], 0});
  }
}

// An input set at a time that a scan straddles comes after that scan's changes: it
// moves back before them, so the record stays in time order.
static void keep_in_time_order() {
  for (int64_t k = sim_record_count - 1; k > sim_record_first(); k--) {
    sim_change &later = sim_record[k % sim_record_capacity], &earlier = sim_record[(k - 1) % sim_record_capacity];
    if (earlier.cycle <= later.cycle) return;
    sim_change moved = later;
    later = earlier;
    earlier = moved;
  }
}

// An output pin changed at its port's write, earlier in the scan than its end.
static int64_t change_cycle(int signal, int64_t cycle) {
  const sim_signal &s = sim_signals[signal];
  int64_t written = sim.pin_changed[s.index];
  return s.kind == signal_output && written < cycle ? written : cycle;
}

bool sim_record_changes(int64_t cycle) {
  bool changed = false;
  for (int s = 0; s < sim_signal_count; s++) {
    uint8_t value = uint8_t(sim_signal_value(s));
    if (value == last_value[s]) continue;
    last_value[s] = value;
    int64_t at = change_cycle(s, cycle);
    add_change({at, uint16_t(s), value, int32_t(cycle - at)});
    keep_in_time_order();
    changed = true;
  }
  return changed;
}

int64_t sim_record_first() {
  return sim_record_count > sim_record_capacity ? sim_record_count - sim_record_capacity : 0;
}

int64_t sim_record_held_from() { return held_from; }
int sim_record_held_value(int signal) { return held_value[signal]; }

// ---- Value Change Dump ------------------------------------------------------

// Identifiers are printable characters from '!', two of them past the 94th signal.
static void vcd_identifier(int signal, char id[3]) {
  id[0] = char('!' + signal % 94);
  id[1] = signal >= 94 ? char('!' + signal / 94) : 0;
  id[2] = 0;
}

// A time line when the time moves on; never backwards, which a reader refuses.
static void put_vcd_time(int64_t cycle) {
  int64_t ns = sim_nanoseconds_of_cycles(cycle);
  if (ns <= vcd_last_time) return;
  put_text(vcd_file, "#%lld\n", (long long)ns);
  vcd_last_time = ns;
}

static void put_vcd_change(const sim_change &c) {
  char id[3];
  put_vcd_time(c.cycle);
  vcd_identifier(c.signal, id);
  put_text(vcd_file, "%d%s\n", c.value, id);
}

bool begin_vcd(const char *path) {
  if (!begin_file(vcd_file, path)) return false;
  put_text(vcd_file, "$date TALVEN simulation $end\n$version %s $end\n$timescale 1ns $end\n", "TALVEN");
  put_text(vcd_file, "$scope module chip $end\n");
  char id[3];
  for (int s = 0; s < sim_signal_count; s++) {
    vcd_identifier(s, id);
    put_text(vcd_file, "$var wire 1 %s %s $end\n", id, sim_signals[s].name);
  }
  put_text(vcd_file, "$upscope $end\n$enddefinitions $end\n");
  vcd_last_time = -1;
  if (sim_record_first() > 0) {
    // Too late to stream: the dump starts where the record holds, every signal's value given there.
    put_text(vcd_file, "$comment the record keeps the last %lld changes: this dump holds from %.6fs on $end\n",
             (long long)sim_record_capacity, double(sim_nanoseconds_of_cycles(held_from)) / 1e9);
    for (int s = 0; s < sim_signal_count; s++) put_vcd_change({held_from, uint16_t(s), held_value[s], 0});
  }
  vcd_streaming = true;
  return true;
}

bool finish_vcd(int64_t end_cycle) {
  vcd_streaming = false;
  for (int64_t k = sim_record_first(); k < sim_record_count; k++) {
    const sim_change &c = sim_record[k % sim_record_capacity];
    if (c.cycle > end_cycle) break;
    put_vcd_change(c);
  }
  put_vcd_time(end_cycle);
  return finish_file(vcd_file);
}

bool write_vcd(const char *path, int64_t end_cycle) { return begin_vcd(path) && finish_vcd(end_cycle); }
