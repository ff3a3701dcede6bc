// The host simulator run on the same hex file and inputs as gpsim, and the
// comparison of the two traces.
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "firmware/simulator.h"

struct host_trace {
  std::vector<int> portb;
  std::vector<uint64_t> steps;
  std::vector<std::pair<std::string, int64_t>> changes;  // each watched bit's changes on the host
  std::vector<std::pair<int64_t, int64_t>> evolving;     // scans of more than one pass, start to end
  int64_t longest_scan = 0;
};

// Samples PORTB and the steps as gpsim's simulate() does: every sample_cycles, with the
// input changes applied at the first sample instant at or after their cycle.
host_trace run_on_host(const std::string &hex, long sample_cycles, int count, const std::vector<input_change> &inputs,
                       int driven_pins = 0x0F);
// "" when the traces agree except within a scan of a change, else the first difference.
std::string first_difference(const pin_samples &chip, const host_trace &host, long sample_cycles);

// The cycle at which each of the first count scans starts on the host, with RA0..RA3 at porta_levels.
std::vector<long> host_scan_starts(const std::string &hex, int count, int porta_levels);
// The same until `until`, with the inputs changing as given (as gpsim's simulate() drives them, at their cycle).
std::vector<long> host_scan_starts(const std::string &hex, long until, const std::vector<input_change> &inputs,
                                   int driven_pins = 0x0F);
// Over the run to `until`, the k-th scan starts on the host within a scan of the k-th on the
// chip (the chart's shortest, or the chip's scan before or after it when longer), and both
// count the same scans within one; prints the
// worst distance and the one at the end, in cycles and ppm.
void expect_within_a_scan(const std::string &hex, long until, const std::vector<input_change> &inputs);
// The scenario file's inputs driven onto the chip in gpsim and its expectations checked
// against the chip's samples (PORTB pins, steps, PORTA inputs, timer bits); the number that
// failed, each also told in failures ("line 4: at 20ms expected RB1=1, got 0").
int scenario_failures_on_chip(const std::string &hex, const std::string &scenario_file,
                              std::string *failures = nullptr);
constexpr long one_millisecond = 1000;  // instruction cycles at 4 MHz
