#include "firmware/simulator.h"

#include "firmware/host.h"
#include "grade/on_chip.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

static test_chip test_chip_of(const chip_entry &facts) {
  test_chip chip = {facts.name, facts.gpsim, facts.program_start, facts.program_stop, -1, (1 << facts.porta_pins) - 1,
                    facts.timers, facts.interrupt_period, 0};
  chip.gpsim_config = gpsim_config_word(facts.name);  // the configuration talvenc --on-chip gives gpsim
  // Half of them a cycle longer, and the tick's extra cycles once every interrupts_per_tick.
  chip.interrupt_cycles = facts.interrupt_cycles + 0.5 +
                          facts.tick_extra_cycles / double(facts.interrupts_per_tick);
  return chip;
}

static std::array<test_chip, chip_count> every_test_chip() {
  std::array<test_chip, chip_count> chips;
  for (int i = 0; i < chip_count; i++) chips[size_t(i)] = test_chip_of(chip_table[i]);
  return chips;
}
static const std::array<test_chip, chip_count> test_chips = every_test_chip();

std::vector<const char *> every_chip_name() {
  std::vector<const char *> names;
  for (const chip_entry &facts : chip_table) names.push_back(facts.name);
  return names;
}

static const test_chip *chip = &test_chips[0];

void use_chip(const char *name) {
  for (const test_chip &c : test_chips)
    if (std::strcmp(c.name, name) == 0) chip = &c;
  ASSERT_STREQ(chip->name, name) << "no such test chip";
}
const test_chip &current_chip() { return *chip; }
std::string firmware_list() { return std::string(FIRMWARE_DIR) + "/" + chip->name + ".lst"; }
std::string chip_test_name(const testing::TestParamInfo<const char *> &info) { return info.param; }

std::string test_folder() {
  const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
  if (!info->value_param()) chip = &test_chips[0];  // a test of one chip: the PIC16F628A
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  std::replace(name.begin(), name.end(), '/', '.');
  fs::path folder = fs::current_path() / "firmware_runs" / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder.string();
}

std::string source_path(const std::string &relative) { return std::string(SOURCE_DIR) + "/" + relative; }

int run_command(const std::string &command, const std::string &output_file) {
  int status = std::system((command + " >'" + output_file + "' 2>&1 </dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// talvenc runs inside the folder with short names, since the project keeps file names of 39 characters.
int run_talvenc(const std::string &folder, const std::string &arguments) {
  fs::copy_file(source_path(std::string("targets/") + chip->name + ".def"), folder + "/bundled.def",
                fs::copy_options::overwrite_existing);
  return run_command("cd '" + folder + "' && " + TALVENC_PATH + " --definition bundled.def " + arguments,
                     folder + "/talvenc.txt");
}

std::string compile_literal(const std::string &folder, const std::string &literal) {
  // The loader keeps lines the file does not reach, so the file fills all 250.
  std::string file = literal + "\n";
  for (int lines = static_cast<int>(std::count(file.begin(), file.end(), '\n')); lines < literal_lines; lines++)
    file += "\n";
  write_file(folder + "/program.lit", file);
  int status = run_talvenc(folder, "--literal program.lit --hex program.hex");
  EXPECT_EQ(status, 0) << read_file(folder + "/talvenc.txt");
  expect_sound_hex(folder + "/program.hex");
  return folder + "/program.hex";
}

void expect_sound_hex(const std::string &hex) {
  std::string report = hex + ".srec_info.txt";
  EXPECT_EQ(run_command("srec_info '" + hex + "' -Intel", report), 0) << read_file(report);
}

// The driven PORTA pins to the given levels: 5 V for a set bit, 0 V for a clear one.
static std::string pin_levels(int driven_pins, int levels) {
  driven_pins &= chip->porta_pins;
  std::string script;
  for (int pin = 0; pin < 8; pin++)
    if (driven_pins & (1 << pin)) {
      // Formatted in place: GCC 12 at -O3 wrongly warns about "text" + std::string.
      char line[32];
      std::snprintf(line, sizeof line, "P%d.voltage = %s\n", pin, (levels >> pin) & 1 ? "5.0" : "0.0");
      script += line;
    }
  return script;
}

// Pullups of low resistance stand for the switches on the driven PORTA pins.
static std::string script_start(int driven_pins, int levels) {
  driven_pins &= chip->porta_pins;  // gpsim stops reading a script at a pin the chip lacks
  std::string script = "frequency 4000000\nmodule library libgpsim_modules\n";
  for (int pin = 0; pin < 8; pin++) {
    if (!(driven_pins & (1 << pin))) continue;
    std::string n = std::to_string(pin);
    script += "module load pullup P" + n + "\nP" + n + ".resistance = 100.0\nnode n" + n + "\nattach n" + n +
              " porta" + n + " P" + n + ".pin\n";
  }
  return script + pin_levels(driven_pins, levels);
}

// gpsim hangs on a script that does not end with quit, and a bad line eats the next one.
static std::string run_script(const std::string &given_hex, const std::string &script) {
  std::string folder = fs::path(given_hex).parent_path().string();
  std::string hex = given_hex;
  if (chip->gpsim_config >= 0) {
    hex = given_hex + ".gpsim.hex";
    std::string command = "srec_cat '" + given_hex + "' -Intel -exclude 0x400E 0x4010 -generate 0x400E 0x4010 " +
                          "-repeat-data " + std::to_string(chip->gpsim_config & 0xFF) + " " +
                          std::to_string(chip->gpsim_config >> 8) + " -o '" + hex + "' -Intel -Output_Block_Size 16";
    EXPECT_EQ(run_command(command, hex + ".txt"), 0) << read_file(hex + ".txt");
  }
  write_file(folder + "/script.stc", script + "quit\nquit\nquit\n");
  std::string output = folder + "/gpsim.txt";
  run_command("timeout 120 " + std::string(GPSIM_PATH) + " -i -p " + chip->processor + " -c '" + folder + "/script.stc' '" + hex + "'",
              output);
  return read_file(output);
}

// Values printed as "name = 0x.." in the order they appear.
static std::vector<int> printed_values(const std::string &output, const std::string &name) {
  std::vector<int> values;
  std::string key = name + " = 0x";
  for (size_t at = output.find(key); at != std::string::npos; at = output.find(key, at + 1))
    values.push_back(static_cast<int>(std::strtol(output.c_str() + at + key.size(), nullptr, 16)));
  return values;
}

// The interpreter's bytes read with each sample: the step variables and the scan status.
constexpr int step_bytes = 0x20, step_byte_count = 8, status_byte = 0x34, unstable_bit = 0;
constexpr int timer_enable_byte = 0x32, timer_done_byte = 0x33;

static std::string bit_map_reads() {
  std::string script;
  char line[32];
  for (int address = step_bytes; address < step_bytes + step_byte_count; address++) {
    std::snprintf(line, sizeof line, "reg(0x%02x)\n", address);
    script += line;
  }
  for (int address : {status_byte, timer_enable_byte, timer_done_byte}) {
    std::snprintf(line, sizeof line, "reg(0x%02x)\n", address);
    script += line;
  }
  return script;
}

// Values of a file register printed by reg() as "REG0hh[...] = $vv", in the order they appear.
static std::vector<int> register_values(const std::string &output, int address) {
  char key[16];
  std::snprintf(key, sizeof key, "REG%03X[", address);
  std::vector<int> values;
  for (size_t at = output.find(key); at != std::string::npos; at = output.find(key, at + 1)) {
    size_t value = output.find("= $", at);
    if (value != std::string::npos) values.push_back(static_cast<int>(std::strtol(output.c_str() + value + 3, nullptr, 16)));
  }
  return values;
}

template <typename samples>
static void read_bit_map(const std::string &output, size_t count, samples &into) {
  into.steps.assign(count, 0);
  for (int byte = 0; byte < step_byte_count; byte++) {
    std::vector<int> values = register_values(output, step_bytes + byte);
    for (size_t i = 0; i < count && i < values.size(); i++) into.steps[i] |= uint64_t(values[i]) << (8 * byte);
  }
  std::vector<int> status = register_values(output, status_byte);
  into.unstable.assign(count, -1);
  for (size_t i = 0; i < count && i < status.size(); i++) into.unstable[i] = status[i] >> unstable_bit & 1;
  std::vector<int> enables = register_values(output, timer_enable_byte), done = register_values(output, timer_done_byte);
  into.timers.assign(count, -1);
  for (size_t i = 0; i < count && i < enables.size() && i < done.size(); i++) into.timers[i] = enables[i] | done[i] << 8;
}

pin_samples simulate(const std::string &hex, long sample_cycles, int count, const std::vector<input_change> &inputs,
                     int driven_pins) {
  std::string script = script_start(driven_pins, 0);
  size_t next_change = 0;
  for (int sample = 1; sample <= count; sample++) {
    long now = (sample - 1) * sample_cycles;
    for (; next_change < inputs.size() && inputs[next_change].cycle <= now; next_change++)
      script += pin_levels(driven_pins, inputs[next_change].levels);
    script += "break c " + std::to_string(sample * sample_cycles) + "\nrun\nporta\nportb\n" + bit_map_reads();
  }
  std::string output = run_script(hex, script);
  pin_samples samples{printed_values(output, "porta"), printed_values(output, "portb"), {}, {}, {}};
  read_bit_map(output, count, samples);
  EXPECT_EQ(static_cast<int>(samples.portb.size()), count) << "gpsim did not run the whole script";
  samples.porta.resize(count, -1);
  samples.portb.resize(count, -1);
  // Every run on the chip is also a run of the host simulator, which must agree.
  host_trace host = run_on_host(hex, sample_cycles, count, inputs, driven_pins);
  EXPECT_EQ(first_difference(samples, host, sample_cycles), "") << "the host simulator and the chip differ on " << hex;
  return samples;
}

int firmware_label(const std::string &label, const std::string &listing) {
  std::istringstream lines(read_file(listing));
  std::string name, value;
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    if (words >> name >> value && name == label && value.size() == 8)
      return static_cast<int>(std::strtol(value.c_str(), nullptr, 16));
  }
  return -1;
}

label_hits run_to_label(const std::string &hex, const std::string &label, int hits, int driven_pins,
                        int porta_levels, const std::string &listing) {
  int address = firmware_label(label, listing);
  EXPECT_GE(address, 0) << label << " is not in the interpreter's listing";
  std::string script = script_start(driven_pins, porta_levels) + "break e " + std::to_string(address) + "\n";
  for (int hit = 0; hit < hits; hit++) script += "run\ncycles\nporta\nportb\ntrisa\ntrisb\n" + bit_map_reads();
  std::string output = run_script(hex, script);
  label_hits result;
  result.porta = printed_values(output, "porta");
  result.portb = printed_values(output, "portb");
  result.trisa = printed_values(output, "trisa");
  result.trisb = printed_values(output, "trisb");
  std::istringstream lines(output);
  std::string line;
  while (std::getline(lines, line)) {
    // "cycles" prints "<decimal> = 0x<hexadecimal>" after the prompt.
    size_t prompt = line.find("> ");
    if (prompt != std::string::npos && line.find(" = 0x") != std::string::npos && std::isdigit(line[prompt + 2]))
      result.cycles.push_back(std::strtol(line.c_str() + prompt + 2, nullptr, 10));
  }
  EXPECT_EQ(static_cast<int>(result.cycles.size()), hits) << "gpsim did not reach " << label << " often enough";
  read_bit_map(output, hits, result);
  return result;
}

std::vector<int> further_ports_after(const std::string &hex, long cycles, int porta_levels) {
  std::string output = run_script(hex, script_start(0x0F, porta_levels) + "break c " + std::to_string(cycles) +
                                           "\nrun\nportc\nportd\nporte\ntrisc\ntrisd\ntrise\n");
  std::vector<int> ports;
  for (const char *name : {"portc", "portd", "porte", "trisc", "trisd", "trise"}) {
    std::vector<int> values = printed_values(output, name);
    ports.push_back(values.empty() ? -1 : values[0]);
  }
  ports[5] &= 0x07;  // RE0..RE2; the PIC16F887 reads RE3's bit as 1
  return ports;
}

stopped_at run_for(const std::string &hex, long cycles) {
  std::string output = run_script(hex, "break c " + std::to_string(cycles) + "\nrun\npc\nportb\n");
  std::vector<int> pc = printed_values(output, "pc"), portb = printed_values(output, "portb");
  EXPECT_EQ(pc.size(), 1u) << "gpsim did not stop after " << cycles << " cycles";
  return {pc.empty() ? -1 : pc[0], portb.empty() ? -1 : portb[0]};
}

std::string program_area_changed(const std::string &hex, const std::string &name, int first, int last,
                                 const std::vector<int> &words) {
  std::string folder = fs::path(hex).parent_path().string();
  std::string changed = folder + "/" + name + ".hex";
  std::string range = std::to_string(2 * first) + " " + std::to_string(2 * last + 2);
  std::string command = "srec_cat '" + hex + "' -Intel -exclude " + range;
  if (!words.empty()) {
    command += " -generate " + range + " -repeat-data";
    for (int word : words) command += " " + std::to_string(word & 0xFF) + " " + std::to_string(word >> 8);
  }
  command += " -o '" + changed + "' -Intel -Output_Block_Size 16";
  EXPECT_EQ(run_command(command, changed + ".txt"), 0) << read_file(changed + ".txt");
  return changed;
}

// The driven PORTA pins as gpsim stimuli, each changing at the cycles given. gpsim runs through
// them: stopped at a cycle break for a change, it loses a cycle when the break falls on a write to PCL.
static std::string stimuli(int driven_pins, const std::vector<input_change> &inputs, long until) {
  driven_pins &= chip->porta_pins;
  std::string script = "frequency 4000000\n";
  for (int pin = 0; pin < 8; pin++) {
    if (!(driven_pins & (1 << pin))) continue;
    int level = inputs.empty() ? 0 : inputs[0].levels >> pin & 1;
    std::string n = std::to_string(pin), first = std::to_string(level), changes;
    for (size_t k = 1; k < inputs.size() && inputs[k].cycle < until; k++) {
      level = inputs[k].levels >> pin & 1;
      changes += std::to_string(inputs[k].cycle) + ", " + std::to_string(level) + ", ";
    }
    // gpsim wants one pair at least, and garbles the pin with a pair at cycle 0: the last is at the end.
    changes += std::to_string(until) + ", " + std::to_string(level);
    script += "stimulus asynchronous_stimulus\ninitial_state " + first + "\nstart_cycle 0\n{ " + changes + " }\nname S" +
              n + "\nend\nnode n" + n + "\nattach n" + n + " S" + n + " porta" + n + "\n";
  }
  return script;
}

std::vector<long> chip_scan_starts(const std::string &hex, long until, const std::vector<input_change> &inputs,
                                   int driven_pins) {
  std::string log = fs::path(hex).parent_path().string() + "/scan_status.log";
  char watch[32];
  std::snprintf(watch, sizeof watch, "log w 0x%02x\n", status_byte);
  std::string script = stimuli(driven_pins, inputs, until) + watch + "log on " + log + "\n";
  run_script(hex, script + "break c " + std::to_string(until) + "\nrun\nlog off\n");
  // "0x<cycle> <processor> 0x<pc> ...": the clearing at the scan's second instruction, not the cap's setting.
  int clearing = firmware_label("scan") + 1;
  std::vector<long> starts;
  std::istringstream lines(read_file(log));
  std::string cycle, processor, pc;
  for (std::string line; std::getline(lines, line);) {
    std::istringstream words(line);
    if (words >> cycle >> processor >> pc && cycle.rfind("0x", 0) == 0 && std::strtol(pc.c_str(), nullptr, 16) == clearing) {
      long start = std::strtol(cycle.c_str(), nullptr, 16) - 1;
      if (starts.empty() || starts.back() != start) starts.push_back(start);  // gpsim may log a write twice
    }
  }
  return starts;
}

long shortest_gap(const std::vector<long> &cycles) {
  long shortest = -1;
  for (size_t i = 1; i < cycles.size(); i++)
    if (shortest < 0 || cycles[i] - cycles[i - 1] < shortest) shortest = cycles[i] - cycles[i - 1];
  return shortest;
}
