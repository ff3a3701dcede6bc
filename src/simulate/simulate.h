// The host simulator: the compiled program area run with the interpreter
// firmware's own rules and cycle costs, so that a chart can be watched and
// tested before a chip is programmed. Everything it holds is fixed in size.
#pragma once
#include <cstdint>
#include <cstdio>

// ---- The target, as the loaded definition names it --------------------------

constexpr int sim_bit_count = 256;   // every operand is a bit address 0..255
constexpr int sim_step_count = 64;   // x0..x63
constexpr int sim_port_count = 5;    // RA.. to RE..
constexpr int sim_port_width = 8;
constexpr int sim_timer_count = 8;   // TE0/T0/TP0 .. TE7/T7/TP7
constexpr int sim_pin_capacity = sim_port_count * sim_port_width;
constexpr int sim_name_size = 12;  // "UNSTABLE" and the pin names

struct sim_pin {
  char name[sim_name_size];  // "RA0"
  int address;               // bit address of the pin in the port image
  int port, bit;
};

struct sim_target_map {
  int step_address[sim_step_count];       // -1: the step is not named
  sim_pin pins[sim_pin_capacity];
  int pin_count;
  int tris[sim_port_count];                // directions from the EEPROM image, bit n = 1: input
  int enable_address[sim_timer_count];     // TEn
  int done_address[sim_timer_count];      // Tn
  int preset[sim_timer_count];             // TPn from the EEPROM image, in ticks
  int timer_count;
  int unstable_address;                    // -1 when the target has no UNSTABLE bit
  int64_t cycles_per_second;               // instruction cycles: the clock over four
  int tick_cycles;                         // the timer tick, 10 ms
  // The chip's own costs, from the definition (one without them is refused).
  int port_count;                          // ports with pins: each is sampled and written
  int fetch_cycles;                        // fetching and decoding one order
  int pass_start_cycles;
  int reset_cycles, setup_cycles;          // reset to the program check, check to the first tick
  int check_order_cycles;                  // the check's read of one plain order
  int interrupt_period;                    // cycles between timer interrupts
  int interrupts_per_tick;
  int interrupt_cycles, tick_extra_cycles;
  int fetch_path;                          // the interpreter's fetch: fast core, beyond 2K words, compact core
};

extern sim_target_map sim_target;

// Reads the names of the loaded definition and its EEPROM image (after compiling,
// the constants typed by the user are in it). False with a message in error when
// the definition lacks the names or the chip is unknown.
bool sim_bind_target(char *error, int error_size);
// The pin named name, or -1.
int sim_find_pin(const char *name);
bool sim_pin_is_input(int pin);

// ---- The machine ------------------------------------------------------------

constexpr int sim_order_capacity = 4096;   // 8K words of program memory, two per order

struct sim_order {
  uint8_t code;
  uint8_t operand;
};

// The fetches of an order the simulator knows, one per interpreter core and reading.
constexpr int sim_fetch_paths = 3;

struct sim_machine {
  uint8_t bit[sim_bit_count];               // the bit map, one byte per bit
  uint8_t pin_level[sim_port_count];        // what the pins show: outputs written at the end of a scan
  uint8_t input_level[sim_port_count];      // what the outside drives onto the input pins
  int64_t pin_changed[sim_pin_capacity];    // cycle of the port write that last changed each pin
  uint8_t activate[sim_bit_count], deactivate[sim_bit_count];  // by the step's bit address
  uint16_t wait[sim_timer_count];           // ticks still to wait
  uint8_t running;                          // timers counting since their enable
  int64_t cycle;                            // instruction cycles since power-up
  int64_t next_tick;                        // cycle of the next timer interrupt
  int interrupts_to_tick;                   // interrupts still to come before the next tick is counted
  int ticks;                                // ticks not yet taken by the timers
  unsigned tail;                            // the last four cycles run: which started a two-cycle instruction
  int64_t scans;                            // scans completed
  int passes;                               // passes of the scan under way, 0 between scans
  bool stopped;                             // the program cannot run: outputs off, nothing more
  int64_t last_scan_end;                    // cycle when the last complete scan ended
  // A quiet scan changes no bit in one pass: the next ones repeat it until a timer
  // ends or an input changes, so they are counted rather than run.
  int last_scan_passes;                     // passes of the last complete scan
  // What the chip shows: the bits and pins as the last scan that ended left them
  // (before the first one, as power-up left them).
  uint8_t seen_bit[sim_bit_count];
  uint8_t seen_pin[sim_port_count];
  bool quiet;
  int quiet_orders_cycles;                  // its pass, orders and end of program
  int64_t quiet_scan_cycles;                // a whole quiet scan without a tick; 0 until seen
  // The pieces of work recorded of the scan under way and of the last quiet scan (machine.cpp
  // keeps them): where a tick lands among them decides its interrupt's length.
  int pieces, quiet_pieces, quiet_piece_found;
  bool recording;                           // a quiet scan's pieces are being recorded
};

extern sim_machine sim;
extern sim_order sim_program[sim_order_capacity];
extern int sim_program_length;  // orders before the end of program
extern int sim_action_start;    // first order of the action part
// The ">" orders that fired in the last pass run, by their index in sim_program (the chart check watches them).
extern int sim_fired_orders[sim_order_capacity];
extern int sim_fired_count;

// Decodes the program area of the loaded definition's image and powers up.
void sim_power_up();
// One pass of the scan under way (a scan starts with its inputs sampled); true when
// it ended the scan (stable, or the pass cap reached and the actions performed).
bool sim_pass();
// The rest of the scan under way, or one whole scan.
void sim_scan();
// Counts quiet scans at once, as many as end before the next tick and sample before
// cycle; false when there were none to count (the next scan must then be run).
bool sim_skip_quiet_scans(int64_t cycle);
// The cycle at which the next scan samples its inputs.
int64_t sim_next_sample_cycle();

// Whether a condition's words ("l RA0 an x4 o M1") hold now, the inputs read as driven
// at this instant; false when the chip would not take a word there, or there is none.
bool sim_condition_holds(const char *text);

// Drives an input pin from now on.
void sim_set_input(int pin, int level);
// What a pin shows: the level driven onto an input, the written image bit of an output.
int sim_pin_level(int pin);
int64_t sim_cycles_of_nanoseconds(int64_t ns);
int64_t sim_nanoseconds_of_cycles(int64_t cycles);

// ---- Signals: what a waveform shows -----------------------------------------

enum sim_signal_kind { signal_input, signal_output, signal_step, signal_timer_enable, signal_timer_done, signal_unstable };
constexpr int sim_signal_capacity = sim_pin_capacity + sim_step_count + 2 * sim_timer_count + 1;

struct sim_signal {
  sim_signal_kind kind;
  char name[sim_name_size];
  int index;  // pin, step, timer
};
extern sim_signal sim_signals[sim_signal_capacity];
extern int sim_signal_count;

// Every pin, every step and timer bit the program uses, and UNSTABLE.
void sim_list_signals();
int sim_signal_value(int signal);

// The recorded run: every change of a listed signal, the oldest dropped once the
// record is full (a million changes: hours of a busy chart).
struct sim_change {
  int64_t cycle;
  uint16_t signal;
  uint8_t value;
  int32_t seen_after;  // an output pin's change is seen by expectations once its scan ends, this many cycles later
};
constexpr int64_t sim_record_capacity = 1 << 20;
extern sim_change sim_record[sim_record_capacity];
extern int64_t sim_record_count;  // changes ever recorded; the last sim_record_capacity are kept
// The listed signals' present values as the start of the record.
void sim_record_start();
// Records what changed since the last call; true when anything did.
bool sim_record_changes(int64_t cycle);
// The index of the oldest change still kept.
int64_t sim_record_first();
// Once changes were dropped: the cycle of the last one dropped, from which the record
// holds, and each signal's value then. 0 and the values at power-up before.
int64_t sim_record_held_from();
int sim_record_held_value(int signal);
// Calls high(from, until) for each stretch the signal spent at 1 up to end_cycle, as recorded.
template <typename visit>
void sim_each_high_stretch(int signal, int64_t end_cycle, visit high) {
  int value = sim_record_held_value(signal);
  int64_t since = sim_record_held_from();
  for (int64_t k = sim_record_first(); k < sim_record_count; k++) {
    const sim_change &c = sim_record[k % sim_record_capacity];
    if (c.signal != signal) continue;
    if (c.cycle > end_cycle) break;
    if (value) high(since, c.cycle);
    value = c.value;
    since = c.cycle;
  }
  if (value) high(since, end_cycle);
}
// The record as a Value Change Dump (time in nanoseconds) up to end_cycle; written
// through the safe writer, false when that failed. A dump of a record that dropped
// changes starts where the record holds and says so in a comment.
bool write_vcd(const char *path, int64_t end_cycle);
// A dump begun before the run (after sim_record_start) is complete from power-up
// however long the run: each change is written before the record drops it.
bool begin_vcd(const char *path);
bool finish_vcd(int64_t end_cycle);

// ---- Scenarios --------------------------------------------------------------

enum scenario_verb { verb_set, verb_expect };
constexpr int scenario_capacity = 16384;        // assignments of a scenario file
constexpr int scenario_error_size = 200;

struct scenario_step {
  int64_t time_ns;
  scenario_verb verb;
  int line;
  char name[sim_name_size * 4];
  int value;
};
extern scenario_step scenario[scenario_capacity];
extern int scenario_length;

// Reads a scenario file against the bound target. False with "scenario line N: ..."
// (or a file message) in error.
bool read_scenario(const char *path, char *error, int error_size);
// A time as scenarios write it ("250ms", "1.5s") in nanoseconds.
bool parse_scenario_time(const char *word, int64_t &ns);
// Parses scenario text (for the reader and its fuzzer).
bool parse_scenario(const char *text, long size, char *error, int error_size);

// Writes one line as the reader takes it, "250ms set RA0=1 RA1=0\n", into out; the
// length it needs, as snprintf gives it. Seconds carry nine decimals ("1.500000000s"),
// milliseconds six and only when the time is not whole ("250ms", "3.000120ms").
enum scenario_unit { unit_seconds, unit_milliseconds };
struct scenario_assignment {
  const char *name;
  int value;
};
int format_scenario_line(char *out, int size, int64_t ns, scenario_unit unit, scenario_verb verb,
                         const scenario_assignment *assignments, int count);

// Called at every scan end and every input change while a scenario runs.
using sim_observer = void (*)(int64_t cycle);
// Runs every scan that samples its inputs before cycle, calling observe after each
// one run (quiet scans, which change nothing, are counted without it).
void sim_run_to(int64_t cycle, sim_observer observe);
// What the chip shows at the cycle of the last sim_run_to: a pin as it shows it,
// any other bit as the last scan that ended by then left it.
int sim_seen_pin(int pin);
int sim_seen_bit(int address);
struct scenario_result {
  int expectations, failed;
  int first_line;        // the first failed expectation's line, 0 when none failed
  char first_text[96];   // and what it saw: "at 0.750s expected RB0=0, got 1"
};
// Runs the scenario from power-up until its last time or until_ns if later;
// each failed expectation is printed on out as "line N: at 0.750s expected RB0=0, got 1"
// (counted only when out is null). With a margin, an expectation holds when its value
// is seen anywhere within margin_ns of its time; got is what was seen at the time.
scenario_result run_scenario(int64_t until_ns, FILE *out, sim_observer observe, int64_t margin_ns = 0);
// The last run's failed expectations in the order they failed: the index in scenario, what was seen.
struct scenario_failure {
  int step, got;
};
extern scenario_failure scenario_failures[scenario_capacity];
// A failure as the run tells it: "at 0.750s expected RB0=0, got 1".
void format_scenario_failure(char *out, int size, const scenario_step &step, int got);
