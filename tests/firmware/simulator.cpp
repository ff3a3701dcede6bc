#include "firmware/simulator.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

std::string test_folder() {
  const testing::TestInfo *info = testing::UnitTest::GetInstance()->current_test_info();
  fs::path folder = fs::current_path() / "firmware_runs" / (std::string(info->test_suite_name()) + "." + info->name());
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
  fs::copy_file(source_path("targets/pic16f628a.def"), folder + "/bundled.def", fs::copy_options::overwrite_existing);
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
static std::string run_script(const std::string &hex, const std::string &script) {
  std::string folder = fs::path(hex).parent_path().string();
  write_file(folder + "/script.stc", script + "quit\nquit\nquit\n");
  std::string output = folder + "/gpsim.txt";
  run_command("timeout 120 " + std::string(GPSIM_PATH) + " -i -p p16f628a -c '" + folder + "/script.stc' '" + hex + "'",
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

pin_samples simulate(const std::string &hex, long sample_cycles, int count, const std::vector<input_change> &inputs,
                     int driven_pins) {
  std::string script = script_start(driven_pins, 0);
  size_t next_change = 0;
  for (int sample = 1; sample <= count; sample++) {
    long now = (sample - 1) * sample_cycles;
    for (; next_change < inputs.size() && inputs[next_change].cycle <= now; next_change++)
      script += pin_levels(driven_pins, inputs[next_change].levels);
    script += "break c " + std::to_string(sample * sample_cycles) + "\nrun\nporta\nportb\n";
  }
  std::string output = run_script(hex, script);
  pin_samples samples{printed_values(output, "porta"), printed_values(output, "portb")};
  EXPECT_EQ(static_cast<int>(samples.portb.size()), count) << "gpsim did not run the whole script";
  samples.porta.resize(count, -1);
  samples.portb.resize(count, -1);
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
  for (int hit = 0; hit < hits; hit++) script += "run\ncycles\nporta\nportb\ntrisa\ntrisb\n";
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
  return result;
}

long shortest_gap(const std::vector<long> &cycles) {
  long shortest = -1;
  for (size_t i = 1; i < cycles.size(); i++)
    if (shortest < 0 || cycles[i] - cycles[i - 1] < shortest) shortest = cycles[i] - cycles[i - 1];
  return shortest;
}
