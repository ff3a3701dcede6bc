#include "kit/page_kit.h"

#include <cstring>

#include "model/model.h"
#include "kit/kit.h"

static void draw_white_text(int x, int y, const char *text) {
  set_transparent_background(window_dc);
  set_text_colour(window_dc, colour_white);
  text_out(window_dc, x, y, text, int(std::strlen(text)));
}

static int data_line_top(int k) { return page_top + page_line_height * (k + 1); }

void draw_page_frame(gdi_object label_brush, const char *label_header, const char *text_header) {
  select_object(window_dc, page_font);
  select_object(window_dc, page_pen);
  select_object(window_dc, label_brush);
  // One pixel wider than its column, so that it meets the text column.
  draw_rectangle(window_dc, page_left, page_top, label_column_right + 1, page_bottom);
  select_object(window_dc, text_brush);
  draw_rectangle(window_dc, label_column_right, page_top, text_column_right, page_bottom);
  draw_white_text(page_left + 2, page_top + 2, label_header);
  draw_white_text(label_column_right + 2, page_top + 2, text_header);
  for (int i = 1; i < page_screen_lines; i++) {
    move_to(window_dc, page_left, page_top + page_line_height * i);
    line_to(window_dc, text_column_right, page_top + page_line_height * i);
  }
  // A second rule under the header makes it stand out.
  move_to(window_dc, page_left, page_top + page_line_height - 1);
  line_to(window_dc, text_column_right, page_top + page_line_height - 1);
}

void draw_page_rows(int first_row, int rows, const char *(*label)(int), const char *(*text)(int)) {
  for (int k = 0; k < visible_rows && first_row + k < rows; k++) {
    draw_white_text(page_left + 2, data_line_top(k) + 2, label(first_row + k));
    draw_white_text(label_column_right + 2, data_line_top(k) + 2, text(first_row + k));
  }
}

// 21 pixels high, so that its outline covers the rules above and below.
static void draw_cell_box(int left, int right, int k, bool highlighted, const char *text) {
  select_object(window_dc, page_font);
  select_object(window_dc, page_pen);
  select_object(window_dc, highlighted ? selection_brush : text_brush);
  draw_rectangle(window_dc, left, data_line_top(k), right, data_line_top(k) + page_line_height + 1);
  draw_white_text(left + 2, data_line_top(k) + 2, text);
}

void draw_text_cell(int k, bool highlighted, const char *text) {
  draw_cell_box(label_column_right, text_column_right, k, highlighted, text);
}

void draw_label_cell(int k, bool highlighted, const char *text) {
  draw_cell_box(page_left, label_column_right, k, highlighted, text);
}

void draw_page_text(int x, int y, const char *text, rgb colour) {
  select_object(window_dc, page_font);
  set_transparent_background(window_dc);
  set_text_colour(window_dc, colour);
  text_out(window_dc, x, y, text, int(std::strlen(text)));
}

void draw_page_button(int left, int top, int width, int height, const char *label) {
  select_object(window_dc, page_pen);
  select_object(window_dc, menu_item_brush);
  draw_rectangle(window_dc, left, top, left + width, top + height);
  draw_page_text(left + 5, top + 3, label, colour_white);
}

bool click_in_data_lines() { return click_y >= page_top + page_line_height && click_y < page_bottom; }
bool click_in_text_column() { return click_x >= label_column_right && click_x < text_column_right; }
bool click_in_label_column() { return click_x >= page_left && click_x < label_column_right; }
int clicked_row(int first_row) { return first_row - 1 + (click_y - page_top) / page_line_height; }

void scroll_to_top(text_view &view) { view.first_row = 0; }
void scroll_to_bottom(text_view &view, int rows) { view.first_row = last_first_row(rows); }

void scroll_up(text_view &view) {
  if (view.first_row > 0) view.first_row--;
}

void scroll_down(text_view &view, int rows) {
  if (view.first_row < last_first_row(rows)) view.first_row++;
}

static const char field_full_text[] = "This field is full: it holds at most 39 characters.";
static_assert(text_size == 40, "the box names the field's width");

typing_result type_into_field(char *field, int ch, const char *full_text) {
  if (ch == char_enter) return typing_confirmed;
  size_t length = std::strlen(field);
  if (ch == char_backspace) {
    if (length > 0) field[length - 1] = 0;
    return typing_changed;
  }
  // A character dropped without a word would cut a name the user believes whole.
  if (length + 1 >= size_t(text_size)) {
    show_message_box(box_error, "Input", full_text ? full_text : field_full_text);
    return typing_refused;
  }
  append_char(field, text_size, char(ch));
  return typing_changed;
}

static char field_before_edit[text_size];

void begin_field_edit(const char *field) { copy_field(field_before_edit, text_size, field); }
void cancel_field_edit(char *field) { copy_field(field, text_size, field_before_edit); }
