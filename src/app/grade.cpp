// Grading a class: the exercise read and its scenarios checked once, then each
// student folder on its own; nothing is written into a student's folder.
#include "app/grade.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "check/check.h"
#include "compiler/compiler.h"
#include "files/files.h"
#include "files/text_io.h"
#include "grade/checks.h"
#include "grade/exercise.h"
#include "grade/on_chip.h"
#include "picture/picture.h"
#include "app/grade_report.h"
#include "model/model.h"
#include "platform/message_box.h"
#include "simulate/simulate.h"
#include "startup/startup.h"
#include "translate/translate.h"

namespace fs = std::filesystem;

enum grade_exit { grade_all_passed = 0, grade_not_all_passed = 1, grade_bad_exercise = 2 };

// A student's verdict: the kinds a folder that cannot be graded gets, then pass or fail.
enum verdict_kind { verdict_pass, verdict_fail, verdict_no_chart, verdict_no_translation, verdict_no_compilation, verdict_check };
static const char *const verdict_words[] = {"pass", "fail", "no chart", "does not translate", "does not compile", "check"};
static_assert(sizeof verdict_words / sizeof verdict_words[0] == verdict_check + 1, "a word per verdict");

struct student_grade {
  verdict_kind verdict;
  int held, total;
  std::string detail;  // the first failure, or why the folder cannot be graded
  std::string chip = "";  // --on-chip: whether the chip's verdict is the simulator's
};

// The first error a box shows while a student is graded: the compiler's or the translation's.
static char first_error[400];
static void keep_first_error(box_kind kind, const char *, const char *text) {
  if (kind != box_error || first_error[0]) return;
  const char *start = std::strstr(text, "Errors:\n");  // the compiler's report lists its errors under this
  start = start ? start + 8 : text;
  start += std::strspn(start, "\n ");
  std::snprintf(first_error, sizeof first_error, "%.*s", int(std::strcspn(start, "\n")), start);
}

static fs::path exercise_path;
static std::string scenario_paths[exercise_scenario_capacity];
static const char *scenario_path[exercise_scenario_capacity];  // the exercise's scenario files, in its order

// The exercise's target into the definition tables, as the window loads one.
static bool load_exercise_target() {
  if (!exercise.target_is_file) return load_bundled_target(exercise.target);
  std::error_code error;
  fs::current_path(exercise_path, error);
  if (error || std::strlen(exercise.target) >= size_t(text_size)) return false;
  copy_field(config_entries[config_automate].value, text_size, exercise.target);
  return load_definition_and_names();
}

// The scenario files against the target: a wrong name is the exercise's fault.
static bool read_exercise_scenarios(char *error, int error_size) {
  char message[scenario_error_size];
  if (!sim_bind_target(message, sizeof message)) {
    std::snprintf(error, size_t(error_size), "exercise.txt line %d: target %s: %s", exercise.target_line, exercise.target, message);
    return false;
  }
  for (int k = 0; k < exercise.scenario_count; k++) {
    const exercise_scenario &s = exercise.scenarios[k];
    if (read_scenario((exercise_path / s.file).string().c_str(), message, sizeof message)) continue;
    std::snprintf(error, size_t(error_size), "exercise.txt line %d: %s: %s", s.line, s.file, message);
    return false;
  }
  return true;
}

static bool prepare_exercise(const char *folder) {
  char error[exercise_error_size + 100];
  exercise_path = fs::absolute(folder);
  if (!read_exercise(exercise_path.string().c_str(), error, sizeof error)) {
    std::fprintf(stderr, "%s\n", error);
    return false;
  }
  for (int k = 0; k < exercise.scenario_count; k++) {
    scenario_paths[k] = (exercise_path / exercise.scenarios[k].file).string();
    scenario_path[k] = scenario_paths[k].c_str();
  }
  start_project(without_config_file);
  if (!load_exercise_target()) {
    std::fprintf(stderr, "exercise.txt line %d: no bundled target or definition file %s\n", exercise.target_line, exercise.target);
    return false;
  }
  if (read_exercise_scenarios(error, sizeof error)) return true;
  std::fprintf(stderr, "%s\n", error);
  return false;
}

// The chart config.txt names, or the one .gra file of a folder without config.txt.
static std::string chart_of_folder() {
  if (fs::exists("config.txt")) {
    read_config_file();
    std::string name = app_config(config_graphic);
    return !name.empty() && fs::is_regular_file(name) ? name : "";
  }
  std::string found;
  std::error_code error;
  for (const fs::directory_entry &entry : fs::directory_iterator(".", error))
    if (entry.is_regular_file() && entry.path().extension() == ".gra") {
      if (!found.empty()) return "";
      found = entry.path().filename().string();
    }
  return found;
}

static grade_options options;
static report_section section;  // the student's, when a report is written

static const char *const chip_words[] = {"", "no gpsim", "gpsim failed"};
static_assert(sizeof chip_words / sizeof chip_words[0] == chip_failed + 1, "a word per chip run");

// The chip's verdict against the simulator's: "same", or the chip's own when they differ.
static std::string chip_column(const student_grade &grade, int64_t margin_ns) {
  const chip_entry *chip = chip_of_target(exercise.target);
  if (!chip) return "no chip";
  chip_checks checks = run_scenario_files_on_chip(*chip, scenario_path, exercise.scenario_count, margin_ns);
  if (checks.status != chip_ran) return chip_words[checks.status];
  bool chip_passes = checks.held == checks.total;
  if (chip_passes == (grade.verdict == verdict_pass)) return "same";
  return std::string("differs: chip ") + (chip_passes ? "pass" : "fail") + " (" + std::to_string(checks.held) + "/" +
         std::to_string(checks.total) + ")";
}

// The report's part of a graded student: the chart, every failed expectation (a hidden
// scenario's only counted) and the first failing public run drawn around its first failure.
static void describe_run(int64_t margin_ns) {
  section.chart_svg = chart_svg_document();
  char message[scenario_error_size], text[160];
  int shown = -1;
  for (int k = 0; k < exercise.scenario_count; k++) {
    read_scenario(scenario_path[k], message, sizeof message);
    sim_power_up();
    scenario_result result = run_scenario(0, nullptr, nullptr, margin_ns);
    if (exercise.scenarios[k].hidden) section.hidden_failures += result.failed;
    if (exercise.scenarios[k].hidden || result.failed == 0) continue;
    if (shown < 0) shown = k;
    for (int f = 0; f < result.failed; f++) {
      const scenario_step &step = scenario[scenario_failures[f].step];
      format_scenario_failure(text, sizeof text, step, scenario_failures[f].got);
      section.failures.push_back("line " + std::to_string(step.line) + " of " +
                                 fs::path(exercise.scenarios[k].file).filename().string() + ": " + text);
    }
  }
  if (shown < 0) return;
  read_scenario(scenario_path[shown], message, sizeof message);
  sim_power_up();
  sim_list_signals();
  sim_record_start();
  scenario_result result = run_scenario(0, nullptr, [](int64_t cycle) { sim_record_changes(cycle); }, margin_ns);
  std::vector<chronogram_mark> marks;
  for (int f = 0; f < result.failed; f++)
    marks.push_back({sim_cycles_of_nanoseconds(scenario[scenario_failures[f].step].time_ns), scenario[scenario_failures[f].step].name});
  int64_t first = marks[0].cycle, second = sim_cycles_of_nanoseconds(1000000000);
  int64_t from = first > 2 * second ? first - 2 * second : 0, to = first + second < sim.cycle ? first + second : sim.cycle;
  section.chronogram_svg = chronogram_svg_document(from, to > first ? to : first + 1, marks.data(), int(marks.size()));
}

static student_grade run_scenarios() {
  char message[scenario_error_size];
  if (!sim_bind_target(message, sizeof message)) return {verdict_no_compilation, 0, 0, message, ""};
  int64_t margin_ns = exercise_margin_ns();
  scenario_checks checks;
  run_scenario_files(scenario_path, exercise.scenario_count, margin_ns, nullptr, checks);  // read before the batch
  student_grade grade{checks.first_failing >= 0 ? verdict_fail : verdict_pass, checks.held, checks.total, checks.first, ""};
  if (options.on_chip) grade.chip = chip_column(grade, margin_ns);
  if (options.report) describe_run(margin_ns);
  return grade;
}

static student_grade grade_student(const fs::path &folder) {
  first_error[0] = 0;
  start_project(without_config_file);
  std::error_code error;
  fs::current_path(folder, error);
  std::string chart = error ? "" : chart_of_folder();
  if (chart.empty()) return {verdict_no_chart, 0, 0, ""};
  if (chart.size() >= size_t(text_size)) return {verdict_no_chart, 0, 0, ""};
  if (!load_exercise_target()) return {verdict_no_compilation, 0, 0, "the exercise's target does not load"};
  fs::current_path(folder, error);
  copy_field(config_entries[config_graphic].value, text_size, chart.c_str());
  if (!load_graphic_file()) return {verdict_no_chart, 0, 0, ""};
  if (!graphic_to_literal()) return {verdict_no_translation, 0, 0, first_error};
  if (compile_literal_to_image() != compile_ok) return {verdict_no_compilation, 0, 0, first_error};
  // A chart the check finds wrong is not graded; its images are compiled again after the check's runs.
  check_chart();
  int errors = count_findings(check_error);
  if (errors > 0) return {verdict_check, 0, 0, std::to_string(errors) + (errors == 1 ? " error" : " errors")};
  if (compile_literal_to_image() != compile_ok) return {verdict_no_compilation, 0, 0, first_error};
  return run_scenarios();
}

// The line a student gets on stdout.
static std::string verdict_line(const std::string &name, const student_grade &grade) {
  std::string line = name + ": " + verdict_words[grade.verdict];
  std::string counts = " (" + std::to_string(grade.held) + "/" + std::to_string(grade.total) + ")";
  std::string chip = grade.chip.empty() ? "" : ", on chip: " + grade.chip;
  if (grade.verdict == verdict_pass) return line + counts + chip;
  if (grade.verdict == verdict_fail) return line + counts + ", first: " + grade.detail + chip;
  return grade.detail.empty() ? line : line + ": " + grade.detail;
}

// The verdict as the report heads a student's section: the failures are listed below it.
static std::string report_verdict(const student_grade &grade) {
  std::string line = verdict_words[grade.verdict];
  if (grade.verdict != verdict_pass && grade.verdict != verdict_fail) return grade.detail.empty() ? line : line + ": " + grade.detail;
  line += " (" + std::to_string(grade.held) + "/" + std::to_string(grade.total) + ")";
  return grade.chip.empty() ? line : line + ", on chip: " + grade.chip;
}

// RFC 4180: a field with a comma, a quote or a line break is quoted, its quotes doubled.
static std::string csv_field(const std::string &text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

static std::string csv_row(const std::string &folder, const student_grade &grade) {
  return csv_field(folder) + "," + csv_field(verdict_words[grade.verdict]) + "," + std::to_string(grade.held) + "," +
         std::to_string(grade.total) + "," + csv_field(grade.detail) + (options.on_chip ? "," + csv_field(grade.chip) : "") +
         "\r\n";
}

static bool write_output(const fs::path &path, const std::string &text) {
  pending_file file;
  bool written = begin_file(file, path.string().c_str());
  if (written) put_bytes(file, text.data(), text.size());
  return written && finish_file(file);
}

int grade_students(const char *exercise_folder, char **folders, int folder_count, const grade_options &given) {
  options = given;
  fs::path start = fs::current_path();
  set_message_box_handler(keep_first_error);  // the exercise's own errors are printed as its lines
  if (!prepare_exercise(exercise_folder)) return grade_bad_exercise;
  std::string table = std::string("folder,verdict,held,total,first failure") + (options.on_chip ? ",on chip" : "") + "\r\n";
  std::vector<report_section> sections;
  int passed = 0;
  for (int n = 0; n < folder_count; n++) {
    fs::path folder = start / folders[n];
    section = {};
    student_grade grade = grade_student(folder);
    std::string name = folder.lexically_normal().filename().string();
    if (name.empty()) name = folder.lexically_normal().parent_path().filename().string();
    std::printf("%s\n", verdict_line(name, grade).c_str());
    std::fflush(stdout);
    passed += grade.verdict == verdict_pass;
    table += csv_row(folders[n], grade);
    section.name = name;
    section.verdict = report_verdict(grade);
    if (options.report) sections.push_back(section);
  }
  std::printf("%d students, %d passed\n", folder_count, passed);
  std::error_code error;
  fs::current_path(start, error);
  for (const char *file : {options.csv, options.report}) {
    if (!file) continue;
    if (write_output(start / file, file == options.csv ? table : report_document(exercise.title, sections))) continue;
    std::fprintf(stderr, "talvenc: cannot write %s\n", file);
    return grade_bad_exercise;
  }
  return passed == folder_count ? grade_all_passed : grade_not_all_passed;
}
