// Runs talvenc and the gpsim simulator for the firmware tests: literal or
// graphic files in, pin levels and cycle counts out.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "support/test_support.h"

// A folder of its own for the running test, emptied first.
std::string test_folder();
std::string source_path(const std::string &relative);
// Runs a shell command; its output goes to output_file. Returns the exit status.
int run_command(const std::string &command, const std::string &output_file);

// talvenc in folder with the bundled definition; the arguments follow --definition.
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

// With each sample or hit, the step variables x0..x63 (bit n for xn) and the UNSTABLE bit,
// read from the interpreter's bit map.
struct pin_samples {
  std::vector<int> porta;
  std::vector<int> portb;
  std::vector<uint64_t> steps;
  std::vector<int> unstable;
};

// Runs the hex at 4 MHz and samples both ports every sample_cycles, count times.
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
};
label_hits run_to_label(const std::string &hex, const std::string &label, int hits, int driven_pins = 0x0F,
                        int porta_levels = 0, const std::string &listing = FIRMWARE_LIST);
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
int firmware_label(const std::string &label, const std::string &listing);
// The shortest of the gaps between successive hits: one scan or pass without an interrupt in it.
long shortest_gap(const std::vector<long> &cycles);
