// Scenarios on the chip: one gpsim script a scenario, a break at every input change and at
// every instant an expectation is sampled, the ports and bit-map bytes printed there.
#include "grade/on_chip.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "platform/run_program.h"
#include "simulate/simulate.h"

namespace fs = std::filesystem;

static const struct {
  const char *chip;
  int config;
} gpsim_configs[] = {{"pic16f88", 0x3F10}, {"pic16f887", 0x20C4}};

int gpsim_config_word(const char *chip) {
  for (const auto &gpsim : gpsim_configs)
    if (std::strcmp(gpsim.chip, chip) == 0) return gpsim.config;
  return -1;
}

const chip_entry *chip_of_target(const char *target) {
  std::string name = fs::path(target).stem().string();
  for (const chip_entry &chip : chip_table)
    if (name == chip.name) return &chip;
  const definition_record &d = automaton_definition;
  for (const chip_entry &chip : chip_table)
    if (d.uc_taille_flash == chip.flash_words && d.adr_start_graphcet == chip.program_start) return &chip;
  return nullptr;
}

constexpr int gpsim_seconds = 300;  // a scenario that runs longer in gpsim is given up
constexpr int config_word_index = 7;  // the configuration word at 0x2007

// A folder of its own for the hex and the script, beside the other temporary files.
static fs::path scratch_folder() {
  std::error_code error;
  fs::path base = fs::temp_directory_path(error);
  for (int k = 0;; k++) {
    fs::path folder = base / ("talvenc-on-chip-" + std::to_string(std::rand()) + "-" + std::to_string(k));
    if (fs::create_directory(folder, error)) return folder;
    if (error || k > 100) return {};
  }
}

static bool write_chip_hex(const chip_entry &chip, const std::string &path) {
  int32_t &word = automaton_definition.config_words[config_word_index];
  int32_t kept = word, gpsim = gpsim_config_word(chip.name);
  if (gpsim >= 0) word = gpsim;
  bool written = write_image_hex(path.c_str());
  word = kept;
  return written;
}

// What a sample prints, the same at every sample: a port register or a byte of the bit map.
struct chip_read {
  bool port;
  int index;  // port 0..4, or the RAM address
};
static std::vector<chip_read> reads;

static chip_read read_of(const char *name, int &bit) {
  int pin = sim_find_pin(name);
  if (pin >= 0) {
    bit = sim_target.pins[pin].bit;
    return {true, sim_target.pins[pin].port};
  }
  int address = 0;
  find_zb(name, address);
  bit = address % 8;
  return {false, address / 8};
}

static int read_index(chip_read read) {
  for (size_t k = 0; k < reads.size(); k++)
    if (reads[k].port == read.port && reads[k].index == read.index) return int(k);
  reads.push_back(read);
  return int(reads.size() - 1);
}

static std::string read_command(const chip_read &read, const chip_entry &chip) {
  char line[32];
  if (read.port) std::snprintf(line, sizeof line, "port%c\n", 'a' + read.index);
  else std::snprintf(line, sizeof line, "reg(0x%02x)\n", chip.ram_start + read.index);
  return line;
}

// The values a read printed, in order: "portb = 0x12" or "REG020[...] = $12".
static std::vector<int> printed(const std::string &output, const chip_read &read, const chip_entry &chip) {
  char key[24];
  if (read.port) std::snprintf(key, sizeof key, "port%c = 0x", 'a' + read.index);
  else std::snprintf(key, sizeof key, "REG%03X[", chip.ram_start + read.index);
  std::vector<int> values;
  for (size_t at = output.find(key); at != std::string::npos; at = output.find(key, at + 1)) {
    size_t value = read.port ? at + std::strlen(key) : output.find("= $", at);
    if (value == std::string::npos) break;
    values.push_back(int(std::strtol(output.c_str() + value + (read.port ? 0 : 3), nullptr, 16)));
  }
  return values;
}

// A break of the script: an input set, or a sample for an expectation (one of up to three).
struct chip_point {
  int64_t cycle;
  int step;
  bool sample;
};

static std::string pin_voltage(const scenario_step &step) {
  return "P" + std::string(step.name) + ".voltage = " + (step.value ? "5.0" : "0.0") + "\n";
}

// Pull-ups of low resistance stand for the switches on the input pins the scenario sets.
static std::string script_start(const chip_entry &chip) {
  std::string script = "frequency " + std::to_string(chip.clock) + "\nmodule library libgpsim_modules\n";
  std::vector<std::string> driven;
  for (int k = 0; k < scenario_length; k++) {
    const scenario_step &step = scenario[k];
    int pin = sim_find_pin(step.name);
    if (step.verb != verb_set || pin < 0 || std::find(driven.begin(), driven.end(), step.name) != driven.end()) continue;
    driven.push_back(step.name);
    std::string p = "P" + std::string(step.name), node = "n" + std::string(step.name);
    char port[16];
    std::snprintf(port, sizeof port, "port%c%d", 'a' + sim_target.pins[pin].port, sim_target.pins[pin].bit);
    script += "module load pullup " + p + "\n" + p + ".resistance = 100.0\nnode " + node + "\nattach " + node + " " +
              port + " " + p + ".pin\n" + p + ".voltage = 0.0\n";
  }
  return script;
}

static std::vector<chip_point> list_points(int64_t margin_ns) {
  std::vector<chip_point> points;
  for (int k = 0; k < scenario_length; k++) {
    int64_t ns = scenario[k].time_ns;
    if (scenario[k].verb == verb_set) {
      points.push_back({sim_cycles_of_nanoseconds(ns), k, false});
      continue;
    }
    points.push_back({sim_cycles_of_nanoseconds(ns), k, true});
    if (margin_ns <= 0) continue;
    points.push_back({sim_cycles_of_nanoseconds(ns > margin_ns ? ns - margin_ns : 0), k, true});
    points.push_back({sim_cycles_of_nanoseconds(ns + margin_ns), k, true});
  }
  std::stable_sort(points.begin(), points.end(), [](const chip_point &a, const chip_point &b) { return a.cycle < b.cycle; });
  return points;
}

// gpsim hangs on a script that does not end with quit; one break per instant, never one passed.
static std::string scenario_script(const chip_entry &chip, const std::vector<chip_point> &points) {
  std::string script = script_start(chip), sample;
  for (const chip_read &read : reads) sample += read_command(read, chip);
  int64_t at = 0;
  for (const chip_point &point : points) {
    if (point.cycle > at) script += "break c " + std::to_string(point.cycle) + "\nrun\n", at = point.cycle;
    script += point.sample ? sample : pin_voltage(scenario[point.step]);
  }
  return script + "quit\nquit\nquit\n";
}

static bool run_gpsim(const chip_entry &chip, const fs::path &folder, std::string &output) {
  std::string script = (folder / "script.stc").string(), hex = (folder / "chart.hex").string();
  const char *argv[] = {"gpsim", "-i", "-p", chip.gpsim, "-c", script.c_str(), hex.c_str(), nullptr};
  if (!program_start(argv, folder.string().c_str())) return false;
  char buffer[4096];
  for (int waited = 0; waited < gpsim_seconds * 10;) {
    int got = program_read(buffer, sizeof buffer, 100);
    if (got < 0) return true;
    if (got == 0) waited++;
    else output.append(buffer, size_t(got));
  }
  program_kill();
  return true;
}

static bool gpsim_found() {
  const char *path = std::getenv("PATH");
  std::string folders = path ? path : "";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::error_code error;
    if (end > start && fs::exists(fs::path(folders.substr(start, end - start)) / "gpsim", error)) return true;
    start = end + 1;
  }
  return false;
}

// One scenario: false when gpsim did not run it through.
static bool run_one(const chip_entry &chip, const fs::path &folder, int64_t margin_ns, chip_checks &checks) {
  reads.clear();
  std::vector<int> read_of_step(size_t(scenario_length), -1), bit_of_step(size_t(scenario_length), 0);
  for (int k = 0; k < scenario_length; k++)
    if (scenario[k].verb == verb_expect) read_of_step[size_t(k)] = read_index(read_of(scenario[k].name, bit_of_step[size_t(k)]));
  std::vector<chip_point> points = list_points(margin_ns);
  std::FILE *file = std::fopen((folder / "script.stc").string().c_str(), "wb");
  if (!file) return false;
  std::string script = scenario_script(chip, points);
  bool written = std::fwrite(script.data(), 1, script.size(), file) == script.size();
  if (std::fclose(file) != 0 || !written) return false;
  std::string output;
  if (!run_gpsim(chip, folder, output)) return false;
  std::vector<std::vector<int>> values;
  for (const chip_read &read : reads) values.push_back(printed(output, read, chip));
  std::vector<bool> held(size_t(scenario_length), false);
  size_t sample = 0;
  for (const chip_point &point : points) {
    if (!point.sample) continue;
    int k = point.step, r = read_of_step[size_t(k)];
    if (sample >= values[size_t(r)].size()) return false;
    if ((values[size_t(r)][sample] >> bit_of_step[size_t(k)] & 1) == scenario[k].value) held[size_t(k)] = true;
    sample++;
  }
  for (int k = 0; k < scenario_length; k++) {
    if (scenario[k].verb != verb_expect) continue;
    checks.total++;
    checks.held += held[size_t(k)];
  }
  return true;
}

chip_checks run_scenario_files_on_chip(const chip_entry &chip, const char *const *paths, int count, int64_t margin_ns) {
  chip_checks checks{chip_ran, 0, 0};
  if (!gpsim_found()) return {chip_no_gpsim, 0, 0};
  fs::path folder = scratch_folder();
  if (folder.empty() || !write_chip_hex(chip, (folder / "chart.hex").string())) return {chip_failed, 0, 0};
  char message[scenario_error_size];
  for (int k = 0; k < count && checks.status == chip_ran; k++)
    if (!read_scenario(paths[k], message, sizeof message) || !run_one(chip, folder, margin_ns, checks)) checks.status = chip_failed;
  std::error_code error;
  fs::remove_all(folder, error);
  return checks;
}
