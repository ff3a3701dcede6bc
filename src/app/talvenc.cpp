// talvenc: the whole chain from a graphic or literal file to a hex file, without a
// window, for scripts and makefiles. What the window program shows in boxes is
// printed: reports on stderr, the compiler's summary on stdout, notices not at all.
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "app/grade.h"
#include "check/check.h"
#include "compiler/compiler.h"
#include "files/files.h"
#include "flash/flash.h"
#include "model/model.h"
#include "picture/picture.h"
#include "platform/message_box.h"
#include "platform/seam.h"
#include "simulate/simulate.h"
#include "startup/bundled_files.h"
#include "startup/startup.h"
#include "translate/translate.h"

static const char usage[] =
    "usage: talvenc [--definition DEF] (--graphic GRA | --literal LIT) [--graphic-out GRA2] "
    "[--literal-out LIT2] [--hex HEX [--flash [--programmer NAME]]]\n"
    "               [--simulate SCENARIO [--until TIME] [--vcd FILE.vcd] [--chronogram FILE.svg|FILE.png|FILE.pdf]]\n"
    "               --target NAME in place of --definition DEF: a bundled target\n"
    "               neither: the target that config.txt in the current folder names\n"
    "       talvenc [--definition DEF | --target NAME] (--graphic GRA | --literal LIT) --check [--check-out DIR]\n"
    "       talvenc [--definition DEF | --target NAME] --graphic GRA --export FILE.svg|FILE.pdf\n"
    "       talvenc --grade EXERCISE STUDENT_FOLDER... [--csv FILE] [--report FILE.html] [--on-chip]\n"
    "       talvenc --list-targets\n"
    "       talvenc --list-programmers\n";

enum exit_code { exit_done = 0, exit_not_compiled = 1, exit_file_failed = 2, exit_not_programmed = 3 };

// Where each kind of box goes: notices change nothing and are not printed, the
// compiler's summary is the command's output, everything else is a report on stderr.
static FILE *const box_streams[] = {
    /* box_notice */ nullptr,
    /* box_report */ stderr,
    /* box_error */ stderr,
    /* box_summary */ stdout,
    /* box_question */ stderr,
};
static_assert(sizeof box_streams / sizeof box_streams[0] == box_kind_count, "one stream per kind of box");

static void print_box(box_kind kind, const char *title, const char *text) {
  if (box_streams[kind]) std::fprintf(box_streams[kind], "%s: %s\n", title, text);
}

struct command_line {
  const char *definition, *target, *graphic, *literal, *graphic_out, *literal_out, *hex;
  const char *scenario, *until, *vcd, *chronogram, *check_out, *programmer, *export_path;
  bool check, flash;
};

// Files named through app_config hold 39 characters; the simulation's are used as given.
static const struct {
  const char *option;
  const char *command_line::*file;
  bool through_config;
} options[] = {
    {"--definition", &command_line::definition, true}, {"--target", &command_line::target, true},
    {"--graphic", &command_line::graphic, true},
    {"--literal", &command_line::literal, true},       {"--graphic-out", &command_line::graphic_out, true},
    {"--literal-out", &command_line::literal_out, true}, {"--hex", &command_line::hex, true},
    {"--simulate", &command_line::scenario, false},    {"--until", &command_line::until, false},
    {"--vcd", &command_line::vcd, false},              {"--chronogram", &command_line::chronogram, false},
    {"--check-out", &command_line::check_out, false},  {"--programmer", &command_line::programmer, false},
    {"--export", &command_line::export_path, false},
};

// Each option at most once, each with its file name, and exactly one input.
static bool parse_command_line(int argc, char **argv, command_line &command) {
  command = {};
  for (int n = 1; n < argc; n++) {
    if (std::strcmp(argv[n], "--check") == 0 && !command.check) {
      command.check = true;
      continue;
    }
    if (std::strcmp(argv[n], "--flash") == 0 && !command.flash) {
      command.flash = true;
      continue;
    }
    const char *command_line::*file = nullptr;
    for (const auto &option : options)
      if (std::strcmp(argv[n], option.option) == 0) file = option.file;
    if (!file || command.*file || n + 1 == argc) return false;
    command.*file = argv[++n];
  }
  bool simulation_options = command.until || command.vcd || command.chronogram;
  if (simulation_options && !command.scenario) return false;
  if (command.definition && command.target) return false;
  // The check reads the input and writes nothing but its counter-examples.
  bool other_outputs = command.graphic_out || command.literal_out || command.hex || command.scenario;
  if (command.check_out && !command.check) return false;
  // The chip is programmed with the hex just written, and only then.
  if ((command.flash && (!command.hex || command.scenario)) || (command.programmer && !command.flash)) return false;
  if (command.check && other_outputs) return false;
  // The export draws the chart as loaded: from a graphic file, beside its other outputs.
  if (command.export_path && (command.literal || command.check || command.scenario)) return false;
  return (command.graphic != nullptr) != (command.literal != nullptr);
}

// The operations take their file names from app_config, whose values hold 39
// characters. Each operation uses one file, so a longer name is reached from the
// file's own folder by its last part alone; a cut name would name another file.
static std::filesystem::path start_folder;

static bool file_names_fit(const command_line &command) {
  for (const auto &option : options) {
    const char *name = command.*option.file;
    if (name && option.through_config && std::filesystem::path(name).filename().string().size() >= size_t(text_size)) {
      std::fprintf(stderr, "talvenc: file name longer than %d characters: %s\n", text_size - 1, name);
      return false;
    }
  }
  return true;
}

static bool set_file_name(app_config_row row, const char *name) {
  std::error_code error;
  std::filesystem::current_path(start_folder, error);
  std::filesystem::path path = name;
  if (std::strlen(name) >= size_t(text_size)) {
    std::filesystem::current_path((start_folder / path).parent_path(), error);
    path = path.filename();
  }
  if (error) {
    std::fprintf(stderr, "talvenc: cannot reach the folder of %s\n", name);
    return false;
  }
  copy_field(config_entries[row].value, text_size, path.string().c_str());
  return true;
}

// ---- --simulate: the compiled image run on the host against a scenario ----

static std::filesystem::path from_start(const char *name) { return start_folder / name; }

static void record_changes(int64_t cycle) { sim_record_changes(cycle); }

static bool has_ending(const char *name, const char *ending) {
  size_t length = std::strlen(name), ending_length = std::strlen(ending);
  return length >= ending_length && std::strcmp(name + length - ending_length, ending) == 0;
}

// Where the simulation's output files go, refused before the run when they cannot be made:
// a build without cairo (Windows) writes SVG only.
static bool simulation_outputs_fit(const command_line &command) {
  if (!command.chronogram || has_ending(command.chronogram, ".svg")) return true;
  bool more = pictures_in_pdf_and_png();
  if (more && (has_ending(command.chronogram, ".png") || has_ending(command.chronogram, ".pdf"))) return true;
  std::fprintf(stderr, "talvenc: the chronogram is written as %s: %s\n",
               more ? "SVG (.svg), PNG (.png) or PDF (.pdf)" : "SVG (.svg)", command.chronogram);
  return false;
}

// The chart's export, refused before anything is read when its kind cannot be written.
static bool export_fits(const command_line &command) {
  if (!command.export_path || has_ending(command.export_path, ".svg")) return true;
  bool pdf = pictures_in_pdf_and_png();
  if (pdf && has_ending(command.export_path, ".pdf")) return true;
  std::fprintf(stderr, "talvenc: the chart is exported as %s: %s\n", pdf ? "SVG (.svg) or PDF (.pdf)" : "SVG (.svg)",
               command.export_path);
  return false;
}

static bool export_chart_file(const command_line &command) {
  char error[4200];  // the kind was checked before: a failure is the file's
  if (export_chart(from_start(command.export_path).string().c_str(), error, sizeof error)) return true;
  std::fprintf(stderr, "talvenc: cannot write %s\n", command.export_path);
  return false;
}

static int simulate(const command_line &command) {
  // The program words into the images, with the constants the user typed.
  if (!command.hex && compile_literal_to_image() != compile_ok) return exit_file_failed;
  char error[scenario_error_size];
  if (!sim_bind_target(error, sizeof error)) {
    std::fprintf(stderr, "talvenc: %s\n", error);
    return exit_file_failed;
  }
  int64_t until_ns = 0;
  if (command.until && !parse_scenario_time(command.until, until_ns)) {
    std::fprintf(stderr, "talvenc: malformed time for --until: %s\n", command.until);
    return exit_file_failed;
  }
  if (!read_scenario(from_start(command.scenario).string().c_str(), error, sizeof error)) {
    std::fprintf(stderr, "%s\n", error);
    return exit_file_failed;
  }
  sim_power_up();
  sim_list_signals();
  sim_record_start();
  // The dump streams while the run goes, so that it is whole however many changes it holds.
  bool vcd_begun = command.vcd && begin_vcd(from_start(command.vcd).string().c_str());
  scenario_result result = run_scenario(until_ns, stdout, record_changes);
  int64_t last_ns = scenario_length > 0 ? scenario[scenario_length - 1].time_ns : 0;
  int64_t end_cycle = sim_cycles_of_nanoseconds(until_ns > last_ns ? until_ns : last_ns);
  std::printf("%d expectations, %d failed\n", result.expectations, result.failed);
  if (command.vcd && !(vcd_begun && finish_vcd(end_cycle))) {
    std::fprintf(stderr, "talvenc: cannot write %s\n", command.vcd);
    return exit_file_failed;
  }
  if (command.chronogram && !write_chronogram(from_start(command.chronogram).string().c_str(), end_cycle)) {
    std::fprintf(stderr, "talvenc: cannot write %s\n", command.chronogram);
    return exit_file_failed;
  }
  if (command.chronogram && sim_record_held_from() > 0)
    std::fprintf(stderr, "talvenc: the run outgrew the record of the last %lld changes: %s shows it from %.3fs on\n",
                 (long long)sim_record_capacity, command.chronogram,
                 double(sim_nanoseconds_of_cycles(sim_record_held_from())) / 1e9);
  return result.failed == 0 ? exit_done : exit_not_compiled;
}

// ---- --flash: the programmer tool run on the hex just written ----

static void pass_on(const char *text, int length) {
  std::fwrite(text, 1, size_t(length), stdout);
  std::fflush(stdout);
}

static bool presets_loaded() {
  char error[programmer_error_size];
  if (load_programmers(start_folder.string().c_str(), error, sizeof error)) return true;
  std::fprintf(stderr, "talvenc: %s\n", error);
  return false;
}

static int flash(const command_line &command) {
  if (!presets_loaded()) return exit_file_failed;
  char text[programmer_error_size];
  const programmer_preset *preset = pick_programmer(command.programmer, text, sizeof text);
  if (!preset) {
    std::fprintf(stderr, "talvenc: %s (talvenc --list-programmers lists them)\n", text);
    return exit_not_programmed;
  }
  bool programmed = false;
  if (flash_begin(*preset, from_start(command.hex).string().c_str(), text, sizeof text))
    while (flash_continue(100, pass_on, text, sizeof text, programmed)) {
    }
  std::fprintf(programmed ? stdout : stderr, "talvenc: %s\n", text);
  return programmed ? exit_done : exit_not_programmed;
}

// One line per preset: its name, whether its tool is on the PATH, what it drives.
static int list_programmers() {
  start_folder = std::filesystem::current_path();
  if (!presets_loaded()) return exit_file_failed;
  for (int k = 0; k < programmer_count; k++)
    std::printf("%-12s %-13s %s\n", programmers[k].name, tool_installed(programmers[k]) ? "installed" : "not installed",
                programmers[k].about);
  if (programmer_count == 0) std::fputs("talvenc: no programmer presets (programmers.txt)\n", stderr);
  return programmer_count > 0 ? exit_done : exit_file_failed;
}

// Without --definition or --target, the target is the one config.txt in this
// folder names, found as the window finds it (a bundled name will do).
static bool load_target_of_config_file() {
  std::error_code error;
  std::filesystem::current_path(start_folder, error);
  read_config_file();
  // The command line names the other files.
  for (int row = config_graphic; row <= config_hex; row++) config_entries[row].value[0] = 0;
  if (app_config(config_automate)[0]) return load_definition_and_names();
  std::fputs("talvenc: no target: name one with --target NAME (see --list-targets) or --definition FILE\n", stderr);
  return false;
}

// ---- --check: one finding a line, then the counts; the counter-examples into a folder ----

static int check(const command_line &command) {
  if (command.graphic) check_chart();
  else check_literal_program();
  char line[check_text_size + 16];
  for (int k = 0; k < check_finding_count; k++) {
    finding_line(k, line, sizeof line);
    std::printf("%s\n", line);
  }
  int errors = count_findings(check_error), warnings = count_findings(check_warning);
  std::printf("%d error%s, %d warning%s\n", errors, errors == 1 ? "" : "s", warnings, warnings == 1 ? "" : "s");
  if (command.check_out && !write_check_scenarios(from_start(command.check_out).string().c_str())) {
    std::fprintf(stderr, "talvenc: cannot write the counter-examples into %s\n", command.check_out);
    return exit_file_failed;
  }
  return errors > 0 ? exit_not_compiled : exit_done;
}

static int run(const command_line &command) {
  if (command.target && !load_bundled_target(command.target)) {
    std::fprintf(stderr, "talvenc: no bundled target %s (talvenc --list-targets lists them)\n", command.target);
    return exit_file_failed;
  }
  if (command.definition) {
    if (!set_file_name(config_automate, command.definition) || !load_definition_and_names())
      return exit_file_failed;
  }
  // Only compiling and checking need a target; translating and saving do not. A chart's
  // constant lines take their names from the target: it is loaded before the translation.
  bool needs_target = command.hex || command.scenario || command.check;
  // The export's title block names the target config.txt names, when the folder has one.
  needs_target = needs_target || (command.export_path && std::filesystem::exists(from_start("config.txt")));
  bool target_from_config = needs_target && !command.target && !command.definition;
  bool translated = true;
  if (command.graphic) {
    if (!set_file_name(config_graphic, command.graphic) || !load_graphic_file()) return exit_file_failed;
    if (target_from_config && !load_target_of_config_file()) return exit_file_failed;
    if (command.export_path && !export_chart_file(command)) return exit_file_failed;
    bool only_export = command.export_path && !command.graphic_out && !command.literal_out && !command.hex;
    if (only_export) return exit_done;
    translated = command.check || graphic_to_literal();  // the check translates on its own
  } else {
    if (!set_file_name(config_literal, command.literal) || !load_literal_file()) return exit_file_failed;
    if (target_from_config && !load_target_of_config_file()) return exit_file_failed;
  }
  if (command.check) return check(command);
  if (command.graphic_out) {
    if (!set_file_name(config_graphic, command.graphic_out) || !save_graphic_file()) return exit_file_failed;
  }
  if (command.literal_out) {
    if (!set_file_name(config_literal, command.literal_out) || !save_literal_file()) return exit_file_failed;
  }
  // A hex built from a half-translated chart would be a wrong program on the chip.
  if (!translated) return command.scenario ? exit_file_failed : exit_not_compiled;
  if (!command.hex) return command.scenario ? simulate(command) : exit_done;
  if (!set_file_name(config_hex, command.hex)) return exit_file_failed;
  switch (compile_literal_to_hex()) {
    case compile_ok:
      if (command.flash) return flash(command);
      return command.scenario ? simulate(command) : exit_done;
    case compile_errors: return command.scenario ? exit_file_failed : exit_not_compiled;
    case compile_file_failed: break;
  }
  return exit_file_failed;
}

static void print_version() { std::printf("talvenc (TALVEN) %s\n", program_version()); }

// The pins a loaded definition names, as ranges: "RA0-RA5 RB0-RB7".
static int pin_ranges(char *text, int size) {
  int pins = 0, used = 0;
  text[0] = 0;
  for (char port = 'A'; port <= 'E'; port++) {
    int count = 0, address;
    for (char name[8]; count < 8; count++) {
      std::snprintf(name, sizeof name, "R%c%d", port, count);
      if (!find_zb(name, address)) break;
    }
    if (count == 0 || used >= size) continue;
    used += std::snprintf(text + used, size_t(size - used), "%sR%c0-R%c%d", used ? " " : "", port, port, count - 1);
    pins += count;
  }
  return pins;
}

// One line per bundled target: its name, then what a chart gets on it.
static int list_targets() {
  char names[bundled_target_capacity][text_size];
  int count = bundled_target_names(names, bundled_target_capacity);
  set_message_box_handler([](box_kind, const char *, const char *) {});
  for (int n = 0; n < count; n++) {
    start_project(without_config_file);
    if (!load_bundled_target(names[n])) continue;
    const definition_record &d = automaton_definition;
    char pins[80];
    int pin_count = pin_ranges(pins, sizeof pins);
    std::printf("%-12s %4d orders, %3d EEPROM bytes, %2d pins %s, %d MHz\n", names[n],
                (d.adr_stop_graphcet - d.adr_start_graphcet) / 2, d.uc_taille_eeprom, pin_count, pins,
                d.frequence_horloge / 1000000);
  }
  if (count == 0) std::fprintf(stderr, "talvenc: no bundled targets in %s\n", bundled_targets_folder().c_str());
  return count > 0 ? exit_done : exit_file_failed;
}

// --grade EXERCISE STUDENT_FOLDER... [--csv FILE] [--report FILE.html] [--on-chip]: the options
// after the folders, in any order.
static int grade(int argc, char **argv) {
  grade_options options{nullptr, nullptr, false};
  for (bool taken = true; taken;) {
    taken = false;
    if (argc >= 4 && std::strcmp(argv[argc - 1], "--on-chip") == 0 && !options.on_chip) options.on_chip = taken = true, argc--;
    for (const char **file : {&options.csv, &options.report})
      if (argc >= 5 && !*file && std::strcmp(argv[argc - 2], file == &options.csv ? "--csv" : "--report") == 0)
        *file = argv[argc - 1], argc -= 2, taken = true;
  }
  bool options_in_folders = false;
  for (int n = 2; n < argc; n++) options_in_folders = options_in_folders || argv[n][0] == '-';
  if (argc < 4 || options_in_folders) {
    std::fputs(usage, stderr);
    return exit_file_failed;
  }
  set_message_box_handler(print_box);
  return grade_students(argv[2], argv + 3, argc - 3, options);
}

int main(int argc, char **argv) {
  for (int n = 1; n < argc; n++) {
    if (std::strcmp(argv[n], "--list-targets") == 0 && argc == 2) return list_targets();
    if (std::strcmp(argv[n], "--list-programmers") == 0 && argc == 2) return list_programmers();
    if (std::strcmp(argv[n], "--help") == 0) {
      std::fputs(usage, stdout);
      return exit_done;
    }
    if (std::strcmp(argv[n], "--version") == 0) {
      print_version();
      return exit_done;
    }
  }
  if (argc >= 2 && std::strcmp(argv[1], "--grade") == 0) return grade(argc, argv);
  command_line command;
  if (!parse_command_line(argc, argv, command)) {
    std::fputs(usage, stderr);
    return exit_file_failed;
  }
  if (!file_names_fit(command) || !simulation_outputs_fit(command) || !export_fits(command)) return exit_file_failed;
  start_folder = std::filesystem::current_path();
  set_message_box_handler(print_box);
  start_project(without_config_file);
  return run(command);
}
