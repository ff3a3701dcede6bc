// Running a programmer tool: the program command, then the verify command if the preset
// has one; each must end with status 0 and print the preset's success text.
#include "flash/flash.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "compiler/compiler.h"
#include "platform/run_program.h"

namespace fs = std::filesystem;

// The configuration word 0x2007 tells apart the chips of one flash size and program start.
int loaded_chip() {
  if (!automaton_definition_loaded) return -1;
  const definition_record &d = automaton_definition;
  for (int k = 0; k < chip_count; k++) {
    const chip_entry &chip = chip_table[k];
    if (d.uc_taille_flash == chip.flash_words && d.uc_taille_eeprom == chip.eeprom_bytes &&
        d.adr_start_graphcet == chip.program_start && d.config_words[7] == chip.config_word)
      return k;
  }
  return -1;
}

static std::string first_word(const char *command) {
  std::string text = command;
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  return text.substr(start, text.find_first_of(" \t", start) - start);
}

static bool executable(const fs::path &path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return false;
  using p = fs::perms;
  return (fs::status(path, error).permissions() & (p::owner_exec | p::group_exec | p::others_exec)) != p::none;
}

#ifdef _WIN32
constexpr char path_separator = ';';
static const char *const program_endings[] = {".exe", ".bat", ".cmd", ""};
#else
constexpr char path_separator = ':';
static const char *const program_endings[] = {""};
#endif

static bool on_path(const std::string &tool) {
  if (tool.empty()) return false;
  if (tool.find('/') != std::string::npos) return executable(tool);
  const char *path = std::getenv("PATH");
  std::string folders = path ? path : "";
  for (size_t start = 0; start <= folders.size();) {
    size_t end = folders.find(path_separator, start);
    if (end == std::string::npos) end = folders.size();
    fs::path folder = end > start ? fs::path(folders.substr(start, end - start)) : fs::path(".");
    for (const char *ending : program_endings)
      if (executable(folder / (tool + ending))) return true;
    start = end + 1;
  }
  return false;
}

bool tool_installed(const programmer_preset &preset) { return on_path(first_word(preset.program)); }

static std::string list_names() {
  std::string names;
  for (int k = 0; k < programmer_count; k++) names += (k ? ", " : "") + std::string(programmers[k].name);
  return names;
}

const programmer_preset *pick_programmer(const char *name, char *error, int error_size) {
  std::string names = list_names();
  const char *wanted = name ? name : chosen_programmer[0] ? chosen_programmer : nullptr;
  if (wanted) {
    if (const programmer_preset *preset = find_programmer(wanted)) return preset;
    std::snprintf(error, size_t(error_size), "No programmer %s among the presets (%s).", wanted, names.c_str());
    return nullptr;
  }
  for (int k = 0; k < programmer_count; k++)
    if (tool_installed(programmers[k])) return &programmers[k];
  std::snprintf(error, size_t(error_size),
                "None of the programmer tools is installed (%s): install the one your programmer needs, "
                "or name one in the project folder's programmers.txt.",
                names.c_str());
  return nullptr;
}

// ---- The run: one command at a time ----

enum flash_phase { phase_none, phase_program, phase_verify };

static struct {
  programmer_preset preset;
  int chip;
  std::string hex, folder;
  flash_phase phase;
  std::chrono::steady_clock::time_point started;
  std::string output;  // the current command's output, to look for the success text and refusals
} run;

constexpr size_t output_kept = 65536;

// {hex} and {chip} replaced inside each blank-separated word.
static std::string expand(std::string word) {
  const std::pair<const char *, std::string> places[] = {{"{hex}", run.hex}, {"{chip}", run.preset.chips[run.chip]}};
  for (const auto &[mark, value] : places)
    for (size_t at; (at = word.find(mark)) != std::string::npos;) word.replace(at, std::strlen(mark), value);
  return word;
}

static bool start_command(const char *command) {
  constexpr int word_capacity = 64;
  std::string words[word_capacity];
  const char *argv[word_capacity + 1];
  int count = 0;
  std::string text = command;
  for (size_t start = text.find_first_not_of(" \t"); start != std::string::npos && count < word_capacity;) {
    size_t end = text.find_first_of(" \t", start);
    words[count] = expand(text.substr(start, end == std::string::npos ? end : end - start));
    argv[count] = words[count].c_str();
    count++;
    start = end == std::string::npos ? end : text.find_first_not_of(" \t", end);
  }
  argv[count] = nullptr;
  run.output.clear();
  run.started = std::chrono::steady_clock::now();
  return count > 0 && program_start(argv, run.folder.empty() ? nullptr : run.folder.c_str());
}

static void say(char *verdict, int size, const char *format, const char *a, const char *b = "", const char *c = "") {
  std::snprintf(verdict, size_t(size), format, a, b, c);
}

static std::string chip_title_of(int row) {
  char title[16];
  chip_title(chip_table[row], title);
  return title;
}

static std::string known_chips(const programmer_preset &preset) {
  std::string known;
  for (int k = 0; k < chip_count; k++)
    if (preset.chips[k][0]) known += (known.empty() ? "" : ", ") + chip_title_of(k);
  return known.empty() ? "none" : known;
}

bool flash_begin(const programmer_preset &preset, const char *hex_path, char *verdict, int verdict_size) {
  flash_stop();
  std::string tool = first_word(preset.program);
  if (!on_path(tool)) {
    say(verdict, verdict_size, "Not programmed: %s is not installed (no %s on the PATH). %s", tool.c_str(), tool.c_str(),
        preset.install[0] ? preset.install : "");
    return false;
  }
  int chip = loaded_chip();
  if (chip < 0) {
    say(verdict, verdict_size,
        "Not programmed: the loaded target is none of TALVEN's chips, so %s cannot be told which chip to program.",
        preset.name);
    return false;
  }
  if (!preset.chips[chip][0]) {
    say(verdict, verdict_size, "Not programmed: %s does not know %s. Of TALVEN's targets it knows: %s.", preset.name,
        chip_title_of(chip).c_str(), known_chips(preset).c_str());
    return false;
  }
  run.preset = preset;
  run.chip = chip;
  run.hex = fs::absolute(hex_path).string();
  run.folder = fs::path(run.hex).parent_path().string();
  run.phase = phase_program;
  if (start_command(preset.program)) return true;
  run.phase = phase_none;
  say(verdict, verdict_size, "Not programmed: %s could not be started.", tool.c_str());
  return false;
}

void flash_stop() {
  if (run.phase != phase_none) program_kill();
  run.phase = phase_none;
}

// The device named on the line that reports the refusal, else anywhere in the output.
static std::string refused_device(size_t at) {
  size_t line_start = run.output.rfind('\n', at);
  line_start = line_start == std::string::npos ? 0 : line_start + 1;
  size_t device = run.output.find("/dev/", line_start);
  if (device == std::string::npos) device = run.output.find("/dev/");
  if (device == std::string::npos) return "the programmer's device";
  size_t end = run.output.find_first_of(" \t\r\n:'\"),", device);
  return run.output.substr(device, end == std::string::npos ? end : end - device);
}

static size_t permission_refusal() {
  for (const char *text : {"Permission denied", "permission denied", "PERMISSION DENIED", "EACCES"}) {
    size_t at = run.output.find(text);
    if (at != std::string::npos) return at;
  }
  return std::string::npos;
}

static const char *const permission_cure =
    "Not programmed: %s was refused %s (permission denied). The usual cure: add yourself to the group that owns "
    "the device (ls -l %s shows it, often plugdev or dialout: sudo usermod -aG dialout $USER, then log out and in "
    "again), or install the udev rule that comes with the tool.";

// The command has ended: the verdict, or the verify command started.
static bool command_ended(char *verdict, int size, bool &programmed) {
  const programmer_preset &p = run.preset;
  std::string tool = first_word(run.phase == phase_verify ? p.verify : p.program);
  std::string hex = fs::path(run.hex).filename().string();
  int status = program_exit_code();
  bool verifying = run.phase == phase_verify;
  const char *wanted = verifying && p.verify_success[0] ? p.verify_success : p.success;
  bool said_so = !wanted[0] || run.output.find(wanted) != std::string::npos;
  programmed = false;
  run.phase = phase_none;
  size_t refusal = status != 0 || !said_so ? permission_refusal() : std::string::npos;
  if (refusal != std::string::npos) {
    std::string device = refused_device(refusal);
    say(verdict, size, permission_cure, tool.c_str(), device.c_str(), device.c_str());
  } else if (verifying && (status != 0 || !said_so)) {
    say(verdict, size, "Not programmed: the verify found that the chip does not hold %s (verify mismatch, %s).",
        hex.c_str(), tool.c_str());
  } else if (status != 0) {
    say(verdict, size, "Not programmed: %s ended with exit status %s.", tool.c_str(), std::to_string(status).c_str());
  } else if (!said_so) {
    say(verdict, size, "Not programmed: %s ended without saying \"%s\".", tool.c_str(), wanted);
  } else if (!verifying && p.verify[0]) {
    run.phase = phase_verify;
    if (start_command(p.verify)) return true;
    say(verdict, size, "Not programmed: %s could not be started to verify.", first_word(p.verify).c_str());
  } else {
    programmed = true;
    say(verdict, size, "Programmed: %s holds %s (%s).", chip_title_of(run.chip).c_str(), hex.c_str(),
        (p.name + std::string(verifying ? ", verified" : "")).c_str());
  }
  return false;
}

bool flash_continue(int wait_ms, void (*output)(const char *text, int length), char *verdict, int verdict_size,
                    bool &programmed) {
  programmed = false;
  if (run.phase == phase_none) return false;
  char buffer[1024];
  int got = program_read(buffer, sizeof buffer, wait_ms);
  if (got > 0) {
    output(buffer, got);
    if (run.output.size() < output_kept) run.output.append(buffer, size_t(got));
  }
  if (got < 0) return command_ended(verdict, verdict_size, programmed);
  int limit_ms = run.preset.limit_seconds * 1000;
  if (std::chrono::steady_clock::now() - run.started < std::chrono::milliseconds(limit_ms)) return true;
  std::string tool = first_word(run.phase == phase_verify ? run.preset.verify : run.preset.program);
  flash_stop();
  std::snprintf(verdict, size_t(verdict_size), "Not programmed: %s did not finish within %d s and was stopped.",
                tool.c_str(), run.preset.limit_seconds);
  return false;
}
