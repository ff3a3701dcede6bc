// The five text-table pages: one implementation, the table chosen by edit_mode.
#include <cstring>

#include "editors/page_state.h"
#include "editors/pages.h"
#include "kit/kit.h"

text_view table_views[text_table_count];

static_assert(config_page - first_table_page == text_table_count, "a page per text table");

static int active_table() { return edit_mode - first_table_page; }
static text_view &view() { return table_views[active_table()]; }
static const char *label_of(int row) { return table_name(active_table(), row); }
static const char *text_of(int row) { return table_text(active_table(), row); }
static char *current_text() { return table_text(active_table(), view().current_row); }

void table_page_paint() {
  draw_page_frame(variable_column_brush, "Variable", "Description");
  draw_page_rows(view().first_row, table_rows, label_of, text_of);
  if (view().editing) table_page_draw_row(view().current_row, 1);
}

void table_page_draw_row(int row, int highlighted) {
  int k = row - view().first_row;
  if (k < 0 || k >= visible_rows) return;
  draw_text_cell(k, highlighted == 1, text_of(row));
}

static void edit_row(int row) {
  view().current_row = row;
  begin_field_edit(current_text());
}

void table_page_click() {
  if (!click_in_text_column() || !click_in_data_lines()) return;
  view().editing = 1;
  edit_row(clicked_row(view().first_row));
  table_page_paint();
  table_page_draw_row(view().current_row, 1);
}

static bool editing() { return view().editing == 1; }
static void redraw_current_row() { table_page_draw_row(view().current_row, 1); }

// Escape puts back what the row held and ends the typing.
static void cancel_typing() {
  cancel_field_edit(current_text());
  view().editing = 0;
}

static const key_binding table_keys[] = {
    {key_home, always, [] { scroll_to_top(view()); }, table_page_paint},
    {key_end, always, [] { scroll_to_bottom(view(), table_rows); }, table_page_paint},
    {key_page_up, always, [] { scroll_up(view()); }, table_page_paint},
    {key_page_down, always, [] { scroll_down(view(), table_rows); }, table_page_paint},
    {key_up, [] { return editing() && view().current_row > 0; }, [] { edit_row(view().current_row - 1); },
     table_page_paint},
    {key_down, [] { return editing() && view().current_row < table_rows - 1; },
     [] { edit_row(view().current_row + 1); }, table_page_paint},
    {key_escape, editing, cancel_typing, table_page_paint},
    {key_delete, editing, [] { current_text()[0] = 0; }, redraw_current_row},
    {key_control, editing, [] { copy_field(copy_buffer, text_size, current_text()); }, no_redraw},
    {key_insert, editing, [] { copy_field(current_text(), text_size, copy_buffer); }, redraw_current_row},
};

void table_page_key_down(int key) { run_key_bindings(table_keys, key); }

void table_page_char(int ch) {
  if (!editing()) return;
  typing_result typed = type_into_field(current_text(), ch);
  if (typed == typing_confirmed) {
    table_page_draw_row(view().current_row, 0);
    view().editing = 0;
  } else if (typed == typing_changed) {
    redraw_current_row();
  }
}
