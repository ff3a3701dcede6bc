// The findings table, the names the findings use, and the whole check.
#include "check/check.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "compiler/compiler.h"
#include "files/text_io.h"
#include "platform/message_box.h"
#include "translate/translate.h"

check_finding check_findings[check_finding_capacity];
int check_finding_count;
char check_scenarios[check_scenario_capacity][check_scenario_size];
int check_scenario_count;

check_place cell_place(int x, int y) { return {place_cell, x, y, -1, -1}; }
check_place table_place(int table, int row) { return {place_table_row, -1, -1, table, row}; }
check_place literal_place(int line) { return {place_literal_line, -1, -1, -1, line}; }

void check_reset() {
  check_finding_count = 0;
  check_scenario_count = 0;
}

int add_finding(check_severity severity, check_place place, const char *format, ...) {
  if (check_finding_count == check_finding_capacity) return -1;
  check_finding &f = check_findings[check_finding_count];
  f.severity = severity;
  f.place = place;
  f.scenario = -1;
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(f.text, sizeof f.text, format, arguments);
  va_end(arguments);
  return check_finding_count++;
}

char *add_scenario(int k) {
  if (k < 0 || k >= check_finding_count || check_scenario_count == check_scenario_capacity) return nullptr;
  check_findings[k].scenario = check_scenario_count;
  char *text = check_scenarios[check_scenario_count++];
  text[0] = 0;
  return text;
}

static bool find_cell(int n, bool step, int &x, int &y) {
  for (x = 0; x < grid_size; x++)
    for (y = 0; y < grid_size; y++) {
      const cell &c = plan_xy[x][y];
      bool kind = step ? c.kind == cell_step || c.kind == cell_initial_step : c.kind == cell_transition;
      if (kind && c.number == n) return true;
    }
  return false;
}

bool find_step_cell(int n, int &x, int &y) { return find_cell(n, true, x, y); }
bool find_transition_cell(int n, int &x, int &y) { return find_cell(n, false, x, y); }

static void cell_name(const char *kind, int n, bool drawn, int x, int y, char *text, int size) {
  if (drawn) std::snprintf(text, size_t(size), "%s %d (column %d, row %d)", kind, n, x, y);
  else std::snprintf(text, size_t(size), "%s %d", kind, n);
}

void step_name(int n, char *text, int size) {
  int x, y;
  bool drawn = find_step_cell(n, x, y);
  cell_name("step", n, drawn, x, y, text, size);
}

void transition_name(int n, char *text, int size) {
  int x, y;
  bool drawn = find_transition_cell(n, x, y);
  cell_name("transition", n, drawn, x, y, text, size);
}

// The tables by text_table_id, as their pages label them.
static const char *const table_words[] = {"Etape", "Tran", "Pre", "Post", "Cst"};
static_assert(sizeof table_words / sizeof table_words[0] == text_table_count, "a word per table");

void table_row_name(int table, int row, char *text, int size) {
  std::snprintf(text, size_t(size), "%s row %d", table_words[table], row);
}

static void sort_errors_first() {
  static check_finding sorted[check_finding_capacity];
  int n = 0;
  for (check_severity severity : {check_error, check_warning})
    for (int k = 0; k < check_finding_count; k++)
      if (check_findings[k].severity == severity) sorted[n++] = check_findings[k];
  std::memcpy(check_findings, sorted, sizeof(check_finding) * size_t(n));
}

// The translation and the compiler report into boxes; the check says it in findings.
static char first_report[check_text_size];
static void keep_first_report(box_kind kind, const char *, const char *text) {
  if (kind != box_notice && !first_report[0]) std::snprintf(first_report, sizeof first_report, "%s", text);
}

// The program into the image with every box kept back; false, with the first report, when it failed.
static bool compiled_quietly(bool from_chart) {
  first_report[0] = 0;
  message_box_handler presenter = set_message_box_handler(keep_first_report);
  bool translated = !from_chart || graphic_to_literal();
  bool compiled = translated && compile_literal_to_image() == compile_ok;
  set_message_box_handler(presenter);
  return compiled;
}

static literal_copy kept;

static void check_program(bool from_chart) {
  keep_literal(kept);
  bool errors_before = count_findings(check_error) > 0;
  if (compiled_quietly(from_chart)) check_behaviour(from_chart);
  // A failure no check above explained is still the student's to see.
  else if (!errors_before) add_finding(check_error, nowhere, "%s", first_report);
  put_back_literal(kept);
}

void check_chart() {
  check_reset();
  check_drawing();
  check_names(true);
  check_program(true);
  sort_errors_first();
}

void check_drawing_and_names() {
  check_reset();
  check_drawing();
  if (automaton_definition_loaded) check_names(true);
  sort_errors_first();
}

void check_literal_program() {
  check_reset();
  check_names(false);
  check_program(false);
  sort_errors_first();
}

int count_findings(check_severity severity) {
  int n = 0;
  for (int k = 0; k < check_finding_count; k++) n += check_findings[k].severity == severity;
  return n;
}

void finding_line(int k, char *line, int size) {
  const check_finding &f = check_findings[k];
  std::snprintf(line, size_t(size), "%s: %s", f.severity == check_error ? "error" : "warning", f.text);
}

bool write_check_scenarios(const char *folder) {
  bool written = true;
  for (int k = 0; k < check_scenario_count; k++) {
    std::string path = std::string(folder) + "/check-" + std::to_string(k + 1) + ".txt";
    pending_file file;
    if (!begin_file(file, path.c_str())) {
      written = false;
      continue;
    }
    put_bytes(file, check_scenarios[k], std::strlen(check_scenarios[k]));
    written = finish_file(file) && written;
  }
  return written;
}
