// The configuration page: the table page over config_entries, except that while
// a value is being typed the page neither scrolls nor moves to another row.
#include <cstring>

#include "editors/page_state.h"
#include "editors/pages.h"
#include "kit/kit.h"

text_view config_view;

static const char *name_of(int row) { return config_entries[row].name; }
static const char *value_of(int row) { return config_entries[row].value; }
static char *current_value() { return config_entries[config_view.current_row].value; }

// The edited row is not redrawn red here; it turns red again at the next change.
void config_page_paint() {
  draw_page_frame(variable_column_brush, "Variable", "Description");
  draw_page_rows(config_view.first_row, config_rows, name_of, value_of);
}

// Scrolling is blocked while editing, so the edited row is always on screen.
void config_page_draw_row(int row, int highlighted) {
  draw_text_cell(row - config_view.first_row, highlighted == 1, value_of(row));
}

void config_page_click() {
  if (config_view.editing) return;
  if (!click_in_text_column() || !click_in_data_lines()) return;
  config_view.editing = 1;
  config_view.current_row = clicked_row(config_view.first_row);
  begin_field_edit(current_value());
  config_page_draw_row(config_view.current_row, 1);
}

static bool editing() { return config_view.editing == 1; }
static bool not_editing() { return config_view.editing == 0; }
static void redraw_current_row() { config_page_draw_row(config_view.current_row, 1); }

// config.txt separates its words with blanks, so a file name may hold none.
static bool names_a_file() { return config_view.current_row <= config_hex; }
static const char no_blanks_text[] =
    "File names cannot hold blanks: config.txt keeps them as words separated by blanks.\n\n"
    "Name the file without blanks (my_file.gra).";
static const char name_full_text[] =
    "This field is full: a file name holds at most 39 characters.\n\n"
    "A chip bundled with TALVEN is named alone (pic16f877a), without its folder.";

static bool refused_blank(const char *text) {
  if (!names_a_file() || !std::strchr(text, ' ')) return false;
  show_message_box(box_error, "Files", no_blanks_text);
  return true;
}

static void paste() {
  if (!refused_blank(copy_buffer)) copy_field(current_value(), text_size, copy_buffer);
}

static void stop_editing() {
  config_page_draw_row(config_view.current_row, 0);
  config_view.editing = 0;
}

static const key_binding config_keys[] = {
    {key_home, not_editing, [] { scroll_to_top(config_view); }, config_page_paint},
    {key_end, not_editing, [] { scroll_to_bottom(config_view, config_rows); }, config_page_paint},
    {key_page_up, not_editing, [] { scroll_up(config_view); }, config_page_paint},
    {key_page_down, not_editing, [] { scroll_down(config_view, config_rows); }, config_page_paint},
    {key_delete, editing, [] { current_value()[0] = 0; }, redraw_current_row},
    {key_control, editing, [] { copy_field(copy_buffer, text_size, current_value()); }, no_redraw},
    {key_insert, editing, paste, redraw_current_row},
    {key_escape, editing, [] { cancel_field_edit(current_value()); }, stop_editing},
};

void config_page_key_down(int key) { run_key_bindings(config_keys, key); }

void config_page_char(int ch) {
  if (!editing()) return;
  const char typed_text[2] = {char(ch), 0};
  if (refused_blank(typed_text)) return;
  typing_result typed = type_into_field(current_value(), ch, names_a_file() ? name_full_text : nullptr);
  if (typed == typing_refused) return;
  if (typed == typing_changed) return redraw_current_row();
  stop_editing();
  // Confirming the definition file's name makes the shell load it again.
  if (config_view.current_row == config_automate) definition_load_pending = 1;
}
