// Runs talvenc and the gpsim simulator for the firmware tests: literal or
// graphic files in, pin levels and cycle counts out.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/chips.h"
#include "support/test_support.h"

// A chip the firmware tests run on, from its row of model/chips.h: its bundled definition
// targets/NAME.def, its gpsim processor and its assembled interpreter's listing.
struct test_chip {
  const char *name;
  const char *processor;  // gpsim's
  int program_start;      // the first word of the program area
  int program_end;        // the word after the program area
  int gpsim_config;       // -1: the hex's own
  int porta_pins;         // bit n set: RAn exists
  int timers;             // TE0.., T0.., TP0..
  // The tick's timer interrupt: every interrupt_period cycles, interrupt_cycles long on average.
  int interrupt_period;
  double interrupt_cycles;
};
// The chip of the tests that follow; the PIC16F628A until another is chosen.
void use_chip(const char *name);
const test_chip &current_chip();
std::string firmware_list();

// Tests run once per chip: the parameter is the chip's name.
class OnEveryChip : public testing::TestWithParam<const char *> {
 protected:
  void SetUp() override { use_chip(GetParam()); }
};
std::string chip_test_name(const testing::TestParamInfo<const char *> &info);
std::vector<const char *> every_chip_name();  // the rows of model/chips.h
#define RUN_ON_EVERY_CHIP(suite) \
  INSTANTIATE_TEST_SUITE_P(Chips, suite, testing::ValuesIn(every_chip_name()), chip_test_name)

// A folder of its own for the running test, emptied first.
std::string test_folder();
std::string source_path(const std::string &relative);
// Runs a shell command; its output goes to output_file. Returns the exit status.
int run_command(const std::string &command, const std::string &output_file);

// talvenc in folder with the current chip's bundled definition; the arguments follow --definition.
// Its output goes to folder/talvenc.txt. Returns the exit status.
int run_talvenc(const std::string &folder, const std::string &arguments);
// Literal program text (lines joined by "\n") compiled into folder/program.hex.
std::string compile_literal(const std::string &folder, const std::string &literal);
// srecord's reader, independent of TALVEN, accepts the file: records and checksums are sound.
void expect_sound_hex(const std::string &hex);

// A level change of the PORTA input pins: bit n of levels drives RAn from that cycle on.
struct input_change {
  long cycle;
  int levels;
};

// With each sample or hit, the step variables x0..x63 (bit n for xn), the UNSTABLE bit and
// the timer bits (TEn in bit n, Tn in bit 8 + n), read from the interpreter's bit map.
struct pin_samples {
  std::vector<int> porta;
  std::vector<int> portb;
  std::vector<uint64_t> steps;
  std::vector<int> unstable;
  std::vector<int> timers;
};

// Runs the hex at 4 MHz and samples PORTA and PORTB every sample_cycles, count times.
// RAn is driven only for the bits set in driven_pins; the others are left to the chip.
pin_samples simulate(const std::string &hex, long sample_cycles, int count, const std::vector<input_change> &inputs,
                     int driven_pins = 0x0F);

// Cycle counts at each of the first `hits` times the program reaches `label` (of the
// interpreter unless another listing is given), and the ports and their directions right then.
struct label_hits {
  std::vector<long> cycles;
  std::vector<int> porta, portb, trisa, trisb;
  std::vector<uint64_t> steps;
  std::vector<int> unstable;
  std::vector<int> timers;
};
label_hits run_to_label(const std::string &hex, const std::string &label, int hits, int driven_pins = 0x0F,
                        int porta_levels = 0, const std::string &listing = firmware_list());
// The address the program counter holds after `cycles`, and PORTB then.
struct stopped_at {
  int pc;
  int portb;
};
stopped_at run_for(const std::string &hex, long cycles);
// A copy of a hex file with the program words at word addresses first..last (inclusive)
// erased, or filled with the repeated words given; srec_cat does the work.
std::string program_area_changed(const std::string &hex, const std::string &name, int first, int last,
                                 const std::vector<int> &words = {});
// The address of a label in the assembled interpreter's listing; -1 when absent.
int firmware_label(const std::string &label, const std::string &listing = firmware_list());
// PORTC, PORTD and PORTE, then TRISC, TRISD and TRISE's pin bits, after `cycles`, with RA0..RA3 at
// porta_levels; on the 40-pin chips.
std::vector<int> further_ports_after(const std::string &hex, long cycles, int porta_levels);
// The cycle at which each scan starts until `until`, read from gpsim's log of the scan's
// first write (UNSTABLE cleared, one cycle in), with the inputs changing as given.
std::vector<long> chip_scan_starts(const std::string &hex, long until, const std::vector<input_change> &inputs,
                                   int driven_pins = 0x0F);
// The shortest of the gaps between successive hits: one scan or pass without an interrupt in it.
long shortest_gap(const std::vector<long> &cycles);
