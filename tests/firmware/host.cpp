#include "firmware/host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "compiler/compiler.h"
#include "model/model.h"
#include "simulate/simulate.h"
#include "startup/startup.h"

namespace fs = std::filesystem;

// The bundled definition gives the names; the hex file gives every word, as a
// programmer would write them into the chip.
static bool load_image(const std::string &hex) {
  start_project(without_config_file);
  fs::path back = fs::current_path();
  fs::current_path(fs::path(SOURCE_DIR) / "targets");
  copy_field(config_entries[config_automate].value, text_size, (std::string(current_chip().name) + ".def").c_str());
  message_box_handler previous = set_message_box_handler([](box_kind, const char *, const char *) {});
  bool loaded = load_automaton_definition() == 0;
  set_message_box_handler(previous);
  fs::current_path(back);
  for (int32_t &word : automaton_definition.flash_image) word = -1;
  std::istringstream lines(read_file(hex));
  std::string line;
  while (loaded && std::getline(lines, line)) {
    if (line.size() < 11 || line[0] != ':' || line.substr(7, 2) != "00") continue;
    int count = int(std::strtol(line.substr(1, 2).c_str(), nullptr, 16));
    int address = int(std::strtol(line.substr(3, 4).c_str(), nullptr, 16));
    for (int k = 0; k + 1 < count; k += 2) {
      int low = int(std::strtol(line.substr(9 + 2 * k, 2).c_str(), nullptr, 16));
      int high = int(std::strtol(line.substr(11 + 2 * k, 2).c_str(), nullptr, 16));
      int word_address = (address + k) / 2;
      if (word_address < flash_words) automaton_definition.flash_image[word_address] = high << 8 | low;
      if (word_address >= eeprom_address && word_address < eeprom_address + eeprom_bytes)
        automaton_definition.eeprom_image[word_address - eeprom_address] = low;
    }
  }
  return loaded;
}

// The longest scan seen, from the ends of scans that follow one another.
static int64_t longest_scan, last_end, last_scans;

static std::vector<std::pair<int64_t, int64_t>> *evolving;

static void record(int64_t cycle) {
  if (sim.scans == last_scans + 1 && sim.last_scan_end - last_end > longest_scan)
    longest_scan = sim.last_scan_end - last_end;
  if (sim.scans == last_scans + 1 && sim.last_scan_passes > 1) evolving->push_back({last_end, sim.last_scan_end});
  last_end = sim.last_scan_end;
  last_scans = sim.scans;
  sim_record_changes(cycle);
}

host_trace run_on_host(const std::string &hex, long sample_cycles, int count, const std::vector<input_change> &inputs,
                       int driven_pins) {
  host_trace trace;
  char error[200];
  if (!load_image(hex) || !sim_bind_target(error, sizeof error)) {
    ADD_FAILURE() << "the host cannot run " << hex;
    return trace;
  }
  sim_power_up();
  sim_list_signals();
  sim_record_start();
  longest_scan = 0;
  evolving = &trace.evolving;
  last_end = sim.last_scan_end;
  last_scans = sim.scans;
  size_t next_change = 0;
  for (int sample = 1; sample <= count; sample++) {
    long now = (sample - 1) * sample_cycles;
    for (; next_change < inputs.size() && inputs[next_change].cycle <= now; next_change++) {
      sim_run_to(now, record);
      for (int bit = 0; bit < 8; bit++) {
        int pin = sim_find_pin(("RA" + std::to_string(bit)).c_str());
        if (driven_pins >> bit & 1 && pin >= 0) sim_set_input(pin, inputs[next_change].levels >> bit & 1);
      }
      record(now);
    }
    sim_run_to(long(sample) * sample_cycles, record);
    int portb = 0;
    uint64_t steps = 0;
    for (int bit = 0; bit < 8; bit++) portb |= sim_seen_pin(sim_find_pin(("RB" + std::to_string(bit)).c_str())) << bit;
    for (int n = 0; n < sim_step_count; n++) steps |= uint64_t(sim_seen_bit(sim_target.step_address[n])) << n;
    trace.portb.push_back(portb);
    trace.steps.push_back(steps);
  }
  trace.longest_scan = longest_scan;
  // Where each watched bit changed on the host.
  for (int64_t k = sim_record_first(); k < sim_record_count; k++) {
    const sim_change &c = sim_record[k % sim_record_capacity];
    trace.changes.push_back({sim_signals[c.signal].name, c.cycle});
  }
  return trace;
}

// A difference is a bug unless a scan boundary falls between the two sides: the
// host changed the bit within a scan or two of the instant, or the chip is read
// in the middle of a scan that passes through transient situations.
static bool near_a_change(const host_trace &host, const std::string &name, long cycle, long margin) {
  for (const auto &change : host.changes)
    if (change.first == name && std::labs(long(change.second) - cycle) <= margin) return true;
  // The chip's scan may end a little apart from the host's: within one such scan on either side.
  for (const auto &scan : host.evolving) {
    int64_t length = scan.second - scan.first;
    if (cycle >= scan.first - length && cycle <= scan.second + length) return true;
  }
  return false;
}

// The samples just before and after sample i on both sides, for the failure message.
static std::string around(const pin_samples &chip, const host_trace &host, size_t i) {
  std::string text;
  for (size_t k = i >= 3 ? i - 3 : 0; k < i + 4 && k < host.portb.size() && k < chip.portb.size(); k++) {
    char line[120];
    std::snprintf(line, sizeof line, "\n  sample %zu: chip RB %02x steps %llx, host RB %02x steps %llx", k + 1,
                  chip.portb[k], (unsigned long long)chip.steps[k], host.portb[k], (unsigned long long)host.steps[k]);
    text += line;
  }
  return text;
}

std::string first_difference(const pin_samples &chip, const host_trace &host, long sample_cycles) {
  long margin = 2 * long(host.longest_scan) + 64;
  for (size_t i = 0; i < host.portb.size() && i < chip.portb.size(); i++) {
    long cycle = long(i + 1) * sample_cycles;
    for (int bit = 0; bit < 8; bit++) {
      std::string name = "RB" + std::to_string(bit);
      if ((chip.portb[i] >> bit & 1) != (host.portb[i] >> bit & 1) && !near_a_change(host, name, cycle, margin))
        return name + " at cycle " + std::to_string(cycle) + ": chip " + std::to_string(chip.portb[i] >> bit & 1) +
               ", host " + std::to_string(host.portb[i] >> bit & 1) + around(chip, host, i);
    }
    for (int n = 0; n < sim_step_count; n++) {
      std::string name = "x" + std::to_string(n);
      int on_chip = int(chip.steps[i] >> n & 1), on_host = int(host.steps[i] >> n & 1);
      if (on_chip != on_host && !near_a_change(host, name, cycle, margin))
        return name + " at cycle " + std::to_string(cycle) + ": chip " + std::to_string(on_chip) + ", host " +
               std::to_string(on_host) + around(chip, host, i);
    }
  }
  return "";
}

std::vector<long> host_scan_starts(const std::string &hex, int count, int porta_levels) {
  std::vector<long> starts;
  char error[200];
  if (!load_image(hex) || !sim_bind_target(error, sizeof error)) return starts;
  sim_power_up();
  for (int bit = 0; bit < 4; bit++) sim_set_input(sim_find_pin(("RA" + std::to_string(bit)).c_str()), porta_levels >> bit & 1);
  for (int k = 0; k < count; k++) {
    starts.push_back(long(sim.cycle));
    sim_scan();
  }
  return starts;
}

std::vector<long> host_scan_starts(const std::string &hex, long until, const std::vector<input_change> &inputs,
                                   int driven_pins) {
  std::vector<long> starts;
  char error[200];
  if (!load_image(hex) || !sim_bind_target(error, sizeof error)) return starts;
  sim_power_up();
  size_t next = 0;
  while (sim.cycle < until && !sim.stopped) {
    for (; next < inputs.size() && inputs[next].cycle <= sim_next_sample_cycle(); next++)
      for (int bit = 0; bit < 8; bit++)
        if (driven_pins >> bit & 1) sim_set_input(sim_find_pin(("RA" + std::to_string(bit)).c_str()), inputs[next].levels >> bit & 1);
    starts.push_back(long(sim.cycle));
    sim_scan();
  }
  return starts;
}

void expect_within_a_scan(const std::string &hex, long until, const std::vector<input_change> &inputs) {
  std::vector<long> chip = chip_scan_starts(hex, until, inputs), host = host_scan_starts(hex, until, inputs);
  ASSERT_GT(chip.size(), 100u);
  long scan = shortest_gap(chip), worst = 0;
  size_t scans = std::min(chip.size(), host.size()), worst_scan = 0;
  EXPECT_LE(std::labs(long(chip.size()) - long(host.size())), 1) << "scans on the chip and on the host";
  for (size_t k = 0; k < scans; k++) {
    long distance = std::labs(host[k] - chip[k]);
    if (distance > worst) {
      worst = distance;
      worst_scan = k;
    }
    // A timer's branch taken a scan apart puts one side a whole (longer, firing) scan ahead.
    long before = k > 0 ? chip[k] - chip[k - 1] : 0, after = k + 1 < chip.size() ? chip[k + 1] - chip[k] : 0;
    EXPECT_LE(distance, std::max({scan, before, after})) << "scan " << k << ": chip " << chip[k] << ", host " << host[k];
    if (distance > std::max({scan, before, after})) break;
  }
  long at_end = host[scans - 1] - chip[scans - 1];
  std::printf("%s: %zu scans of at least %ld cycles; the host at most %ld cycles (%.1f ppm) from the chip, at scan %zu; "
              "%ld (%.1f ppm) at the end\n",
              current_chip().name, scans, scan, worst, 1e6 * double(worst) / double(until), worst_scan, at_end,
              1e6 * double(at_end) / double(until));
}

// The chip's value of a name at a sample: a PORTB pin, a step, a driven PORTA pin or a timer bit.
static int chip_value(const pin_samples &chip, size_t sample, const std::string &name, int porta_levels) {
  int number = std::atoi(name.c_str() + name.find_first_of("0123456789"));
  if (name.rfind("RB", 0) == 0) return chip.portb[sample] >> number & 1;
  if (name.rfind("RA", 0) == 0) return porta_levels >> number & 1;
  if (name[0] == 'x') return int(chip.steps[sample] >> number & 1);
  if (name.rfind("TE", 0) == 0) return chip.timers[sample] >> number & 1;
  if (name[0] == 'T') return chip.timers[sample] >> (8 + number) & 1;
  ADD_FAILURE() << "the chip's samples do not show " << name;
  return -1;
}

int scenario_failures_on_chip(const std::string &hex, const std::string &scenario_file, std::string *failures) {
  char error[scenario_error_size];
  if (!load_image(hex) || !sim_bind_target(error, sizeof error) ||
      !read_scenario(scenario_file.c_str(), error, sizeof error)) {
    ADD_FAILURE() << "cannot read " << scenario_file << ": " << error;
    return -1;
  }
  // The scenario's steps as gpsim inputs: levels of PORTA from each set on, sampled every millisecond.
  std::vector<input_change> inputs;
  std::vector<scenario_step> steps(scenario, scenario + scenario_length);
  int levels = 0;
  long last_ms = 0;
  for (const scenario_step &step : steps) {
    long ms = long(step.time_ns / 1000000);
    EXPECT_EQ(step.time_ns % 1000000, 0) << "the chip is sampled every millisecond";
    last_ms = ms;
    if (step.verb != verb_set) continue;
    int bit = step.name[2] - '0';
    levels = step.value ? levels | 1 << bit : levels & ~(1 << bit);
    inputs.push_back({ms * one_millisecond, levels});
  }
  pin_samples chip = simulate(hex, one_millisecond, int(last_ms) + 1, inputs, 0xFF);
  int failed = 0, porta = 0;
  size_t next_input = 0;
  for (const scenario_step &step : steps) {
    long ms = long(step.time_ns / 1000000);
    if (step.verb == verb_set) continue;
    for (; next_input < inputs.size() && inputs[next_input].cycle <= ms * one_millisecond; next_input++)
      porta = inputs[next_input].levels;
    // Sample k is taken k milliseconds in; an expectation at 0 ms sees power-up, before any scan.
    if (ms == 0) continue;
    int got = chip_value(chip, size_t(ms - 1), step.name, porta);
    if (got == step.value) continue;
    failed++;
    if (failures)
      *failures += "line " + std::to_string(step.line) + ": at " + std::to_string(ms) + "ms expected " + step.name + "=" +
                   std::to_string(step.value) + ", got " + std::to_string(got) + "\n";
  }
  return failed;
}
