// The shell: one window, its state, its drawing resources and the window
// procedure that every backend feeds with the same messages.
#pragma once
#include "platform/platform.h"

enum message_kind {
  message_create,
  message_destroy,
  message_paint,
  message_key_down,          // key: virtual-key code
  message_char,              // key: character code
  message_left_button_down,  // x, y: client coordinates
  message_right_button_down,
  message_left_double_click, // the second press of a quick double click; not handled
  message_other,
};

// What happened, where, with which key; backends translate native events into these.
struct message {
  message_kind kind;
  int key;
  int x, y;
};

// The one entry point every backend calls, for every message.
void window_procedure(const message &m);

extern int edit_mode;                 // active page, 0 to 7
extern int first_paint_pending;
extern int definition_load_pending;
extern dc_handle window_dc;
extern int click_x, click_y;

extern gdi_object page_font, menu_font;
extern gdi_object page_pen, grid_pen, menu_pen;
extern gdi_object variable_column_brush, text_brush, selection_brush, background_brush, grid_brush;
extern gdi_object menu_item_brush, menu_selected_brush, submenu_item_brush, submenu_selected_brush;

constexpr rgb colour_white{255, 255, 255};
constexpr rgb colour_grid_background{0, 128, 255};
constexpr rgb colour_grid_line{0, 64, 255};

// Back to the state of a freshly started program (page 6, "Fich" and "CFG"
// marked, first paint pending); the window itself is made by message_create.
void init_shell_state();

// The menu strip across the top of the window, and the grey background that
// every full repaint starts with.
extern int menu_top_selection;  // 0 to 4
extern int menu_sub_selection;  // 0 to 5, or -1 for none
void draw_background();
void draw_menu_bar();
// Reads click_x, click_y; returns the menu_code of a chosen sub-item, else 0.
int menu_hit_test();
// Runs the action of a menu_code; true when it chose a page, which then gets a full repaint.
bool run_menu_action(int code);
// "Exit" and the window's destruction: config.txt is written, then the message loop ends.
void write_config_and_quit();

// The program's name and version, as its window title shows them.
constexpr const char *program_title = "TALVEN  version Beta 0.0";

// The drawing kit of the chart; every pixel is one set_pixel into window_dc.
extern const int segment_table[10][7];
void draw_digit(int x, int y, int digit, int s);
// wide: horizontal bars reach x + 39 (grid cells) instead of x + 19 (palette squares).
void draw_glyph(int x, int y, int kind, int wide);
// Column 0 to 14, row 0 to 19 of the visible grid; numbers 0 to 63 are shown.
void draw_cell(int column, int row, int kind, int number, int erase_first);
