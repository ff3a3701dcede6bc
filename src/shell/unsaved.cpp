// The menu operations that could lose work ask first, and every operation that
// saves or replaces a part of the project keeps the unsaved-changes state, the
// window title and the recovery copies up to date.
#include "check/check.h"
#include "compiler/compiler.h"
#include "files/files.h"
#include "shell/shell.h"
#include "translate/translate.h"

#include <cstdio>

static bool save_chart() {
  if (!save_graphic_file()) return false;
  mark_chart_saved();
  sync_recovery_copies();
  return true;
}

static bool save_literal() {
  if (!save_literal_file()) return false;
  mark_literal_saved();
  sync_recovery_copies();
  return true;
}

static bool save_all() { return (!chart_changed() || save_chart()) && (!literal_changed() || save_literal()); }

// Yes saves and goes on only when the save worked; No goes on; Cancel stops.
static bool may_go_on(bool changed, const char *text, bool (*save)()) {
  if (!changed) return true;
  switch (ask_question("Files", text)) {
    case answer_yes: return save();
    case answer_no: return true;
    case answer_cancel: return false;
  }
  return false;
}

static const char chart_question[] = "The chart has unsaved changes.\n\nSave them before they are replaced ?";
static const char literal_question[] =
    "The literal program has unsaved changes.\n\nSave it before it is replaced ?";
static const char exit_question[] = "The project has unsaved changes.\n\nSave them before quitting ?";

// A load never removes, unasked, a copy left by a crash that is newer than the files.
void load_chart_operation() {
  if (!may_go_on(chart_changed(), chart_question, save_chart) || !offer_recovery()) return;
  if (load_graphic_file()) mark_chart_saved();
  sync_recovery_copies();
}

void save_chart_operation() { save_chart(); }

void load_literal_operation() {
  if (!may_go_on(literal_changed(), literal_question, save_literal) || !offer_recovery()) return;
  if (load_literal_file()) mark_literal_saved();
  sync_recovery_copies();
}

void save_literal_operation() { save_literal(); }

// The errors of the drawing and the names, in one box before the translation,
// which then goes on as it always did.
static void report_check_errors() {
  check_drawing_and_names();
  int errors = count_findings(check_error);
  if (errors == 0) return;
  char text[1024], line[check_text_size + 16];
  int used = std::snprintf(text, sizeof text, "The check found %d error%s in the chart:\n", errors, errors == 1 ? "" : "s");
  for (int k = 0; k < errors && k < 3 && used < int(sizeof text); k++) {
    finding_line(k, line, sizeof line);
    used += std::snprintf(text + used, sizeof text - size_t(used), "\n%s", line);
  }
  if (used < int(sizeof text))
    std::snprintf(text + used, sizeof text - size_t(used), "%s\n\n\"Chk\" (under \"Go\") lists every finding.",
                  errors > 3 ? "\n..." : "");
  show_message_box(box_error, "Check", text);
}

void translate_operation() {
  if (!may_go_on(literal_changed(), literal_question, save_literal)) return;
  report_check_errors();
  // Even a failed translation has replaced the buffer with what it produced.
  graphic_to_literal();
  mark_literal_saved();
  sync_recovery_copies();
}

// "G->H" replaces the literal program as "G->L" does.
void translate_and_compile_operation() {
  if (!may_go_on(literal_changed(), literal_question, save_literal)) return;
  report_check_errors();
  compile_graphic_to_hex();
  mark_literal_saved();
  sync_recovery_copies();
}

// "Prog" compiles as G->H does; the page then programs the chip only with a hex just written.
void program_chip_operation() {
  hex_just_written = false;
  if (!may_go_on(literal_changed(), literal_question, save_literal)) return;
  report_check_errors();
  hex_just_written = compile_graphic_to_hex() == compile_ok;
  mark_literal_saved();
  sync_recovery_copies();
}

void exit_operation() {
  if (!may_go_on(chart_changed() || literal_changed(), exit_question, save_all)) return;
  remove_recovery_copies();
  write_config_and_quit();
}

static bool title_marked;

void update_window_title() {
  bool changed = chart_changed() || literal_changed();
  if (changed == title_marked) return;
  title_marked = changed;
  char title[128];
  std::snprintf(title, sizeof title, "%s%s", program_title, changed ? " *" : "");
  set_window_title(title);
}

void forget_window_title() { title_marked = false; }
