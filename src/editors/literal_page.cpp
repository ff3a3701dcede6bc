// The literal editor: the 250 lines of the literal program, typed line by line,
// with marking, deleting, inserting and block copying driven from the "Lgn" column.
#include "editors/page_state.h"
#include "editors/pages.h"
#include "kit/kit.h"

literal_view_state literal_view;

static text_view &lines = literal_view.text;

static const char *label_of(int line) { return literal_line_labels[line]; }
static const char *text_of(int line) { return literal_buffer[line]; }
static char *current_text() { return literal_buffer[lines.current_row]; }

void literal_page_paint() {
  draw_page_frame(text_brush, "Lgn", "Graphcet litteral");
  draw_page_rows(lines.first_row, literal_lines, label_of, text_of);
  literal_draw_label_column();
  literal_draw_text_column();
}

void literal_draw_line(int line, int highlighted) {
  int k = line - lines.first_row;
  if (k < 0 || k >= visible_rows) return;
  draw_text_cell(k, highlighted == 1, text_of(line));
}

static bool line_is_marked(int line) {
  if (!literal_view.marked) return false;
  if (line == literal_view.mark_first) return true;
  return literal_view.range_marked && literal_view.mark_first <= line && line <= literal_view.mark_last;
}

void literal_draw_label_column() {
  for (int k = 0; k < visible_rows; k++) draw_label_cell(k, line_is_marked(lines.first_row + k), label_of(lines.first_row + k));
}

void literal_draw_text_column() {
  for (int k = 0; k < visible_rows; k++) {
    int line = lines.first_row + k;
    draw_text_cell(k, lines.editing && line == lines.current_row, text_of(line));
  }
}

static void redraw_columns() {
  literal_draw_label_column();
  literal_draw_text_column();
}

static void edit_line(int line) {
  lines.current_row = line;
  begin_field_edit(current_text());
}

void literal_page_click() {
  if (!click_in_data_lines()) return;
  int line = clicked_row(lines.first_row);
  if (click_in_text_column()) {
    // Clicking a line's text starts typing into it and removes any mark.
    lines.editing = 1;
    edit_line(line);
    literal_draw_line(line, 1);
    literal_view.range_marked = literal_view.marked = 0;
    redraw_columns();
  }
  if (click_in_label_column()) {
    literal_view.mark_first = literal_view.mark_last = line;
    literal_view.marked = 1;
    literal_view.range_marked = 0;
    lines.editing = 0;
    redraw_columns();
  }
}

// The other end of a range; neither the first mark nor the order of the ends is checked.
void literal_page_right_click() {
  if (!click_in_data_lines() || !click_in_label_column()) return;
  literal_view.mark_last = clicked_row(lines.first_row);
  literal_view.range_marked = 1;
  lines.editing = 0;
  redraw_columns();
}

static void copy_line(int to, int from) { copy_field(literal_buffer[to], text_size, literal_buffer[from]); }

static void delete_line(int at) {
  for (int k = at; k < literal_lines - 1; k++) copy_line(k, k + 1);
  literal_buffer[literal_lines - 1][0] = 0;
}

static void insert_empty_line(int at) {
  for (int k = literal_lines - 1; k > at; k--) copy_line(k, k - 1);
  literal_buffer[at][0] = 0;
}

// Overwrites the lines at the mark with the remembered block, in the order that keeps
// an overlapping source intact; lines that would fall past the last line are dropped.
static void copy_remembered_block(int to) {
  int from = literal_view.remembered_first, count = literal_view.remembered_count;
  for (int i = 0; i < count; i++) {
    int j = to >= from ? count - 1 - i : i;
    if (to + j < literal_lines) copy_line(to + j, from + j);
  }
}

static int marked_count() { return literal_view.mark_last - literal_view.mark_first + 1; }

static bool editing() { return lines.editing == 1; }
static bool one_line_marked() { return literal_view.marked == 1 && literal_view.range_marked == 0; }
static bool range_marked() { return literal_view.marked == 1 && literal_view.range_marked == 1; }
static void redraw_current_line() { literal_draw_line(lines.current_row, 1); }

static void remember_block(int count) {
  literal_view.remembered_first = literal_view.mark_first;
  literal_view.remembered_count = count;
}

static const key_binding literal_keys[] = {
    {key_home, always, [] { scroll_to_top(lines); }, literal_page_paint},
    {key_end, always, [] { scroll_to_bottom(lines, literal_lines); }, literal_page_paint},
    {key_page_up, always, [] { scroll_up(lines); }, literal_page_paint},
    {key_page_down, always, [] { scroll_down(lines, literal_lines); }, literal_page_paint},
    {key_delete, editing, [] { current_text()[0] = 0; }, redraw_current_line},
    {key_control, editing, [] { copy_field(copy_buffer, text_size, current_text()); }, no_redraw},
    {key_insert, editing, [] { copy_field(current_text(), text_size, copy_buffer); }, redraw_current_line},
    {key_down, [] { return editing() && lines.current_row < literal_lines - 1; },
     [] { edit_line(lines.current_row + 1); }, literal_draw_text_column},
    {key_up, [] { return editing() && lines.current_row > 0; }, [] { edit_line(lines.current_row - 1); },
     literal_draw_text_column},
    // Escape puts back what the line held and ends the typing.
    {key_escape, editing, [] { cancel_field_edit(current_text()), lines.editing = 0; }, literal_draw_text_column},
    {key_delete, one_line_marked, [] { delete_line(literal_view.mark_first); }, literal_draw_text_column},
    {key_delete, range_marked,
     [] {
       for (int i = 0; i < marked_count(); i++) delete_line(literal_view.mark_first);
       literal_view.marked = literal_view.range_marked = 0;
     },
     literal_page_paint},
    {key_control, one_line_marked, [] { remember_block(1); }, no_redraw},
    {key_control, range_marked, [] { remember_block(marked_count()); }, no_redraw},
    {key_shift, one_line_marked, [] { copy_remembered_block(literal_view.mark_first); }, literal_page_paint},
    {key_insert, one_line_marked, [] { insert_empty_line(literal_view.mark_first); }, literal_draw_text_column},
};

void literal_page_key_down(int key) {
  run_key_bindings(literal_keys, key);
  literal_draw_text_column();
}

void literal_page_char(int ch) {
  if (!editing()) return;
  typing_result typed = type_into_field(current_text(), ch);
  if (typed == typing_confirmed) {
    literal_draw_line(lines.current_row, 0);
    lines.editing = 0;
  } else if (typed == typing_changed) {
    redraw_current_line();
  }
}
