// What the two-column text pages (tables, configuration, literal program) share:
// their fixed layout, the keys they bind, the drawing of the frame and of one
// cell, the typing rules and the table through which a page binds its keys.
#pragma once
#include "platform/seam.h"

// The layout of every text page: a label column and a text column under one
// header line, then 14 data lines of 20 pixels.
constexpr int page_left = 50;
constexpr int page_top = 50;
constexpr int label_column_right = 150;
constexpr int text_column_right = 550;
constexpr int page_line_height = 20;
constexpr int page_screen_lines = 15;
constexpr int page_bottom = page_top + page_screen_lines * page_line_height;
constexpr int visible_rows = page_screen_lines - 1;
// The highest first row that still fills the screen, for a table of n rows.
constexpr int last_first_row(int rows) { return rows + 1 - page_screen_lines; }

// The scroll position and the row being typed into, kept per page for the whole run.
struct text_view {
  int first_row;
  int editing;
  int current_row;
};

// The two column rectangles, the headers and the rules of a text page.
void draw_page_frame(gdi_object label_brush, const char *label_header, const char *text_header);
// Labels and texts of the visible rows, without any highlight.
void draw_page_rows(int first_row, int rows, const char *(*label)(int), const char *(*text)(int));
// One cell of data line k (0 to 13), red when highlighted, with its text in white.
void draw_text_cell(int k, bool highlighted, const char *text);
void draw_label_cell(int k, bool highlighted, const char *text);
// Text in the page font over what is drawn already, and a button of the simulation pages.
void draw_page_text(int x, int y, const char *text, rgb colour);
void draw_page_button(int left, int top, int width, int height, const char *label);

// Where the last click fell on a text page.
bool click_in_data_lines();
bool click_in_text_column();
bool click_in_label_column();
// The row under the click, for a page scrolled to first_row.
int clicked_row(int first_row);

// Home, End, Page Up and Page Down on a view over a table of the given rows.
void scroll_to_top(text_view &view);
void scroll_to_bottom(text_view &view, int rows);
void scroll_up(text_view &view);
void scroll_down(text_view &view, int rows);

// Typing into a field of text_size bytes: Enter confirms, Backspace removes the
// last character, any other code is appended when the field has room. A character
// that does not fit is refused with a box saying why (full_text, or a plain one).
enum typing_result { typing_confirmed, typing_changed, typing_refused };
typing_result type_into_field(char *field, int ch, const char *full_text = nullptr);
// What a field held when typing into it began, put back when Escape cancels the typing.
void begin_field_edit(const char *field);
void cancel_field_edit(char *field);

// One row of a page's key table: when the key matches and the condition holds,
// the effect runs, then the redraw. Rows are tested in order, independently.
struct key_binding {
  int key;
  bool (*condition)();
  void (*effect)();
  void (*redraw)();
};
inline bool always() { return true; }
inline void no_redraw() {}

template <int Count>
void run_key_bindings(const key_binding (&bindings)[Count], int key) {
  for (const key_binding &binding : bindings)
    if (binding.key == key && binding.condition()) {
      binding.effect();
      binding.redraw();
    }
}
