// What the pages draw with, below both the shell and the pages: the shell state a
// page reads (active page, drawing context, last click), the drawing resources,
// the drawing kit of the chart and the table of page handlers. The shell fills
// the state and dispatches through the table; the pages never see the shell.
#pragma once
#include "platform/seam.h"

// The pages, by edit_mode: the five text tables in their table order.
enum page_id : int {
  no_page = -1,
  grid_page,
  steps_page, transitions_page, pre_treatments_page, post_treatments_page, constants_page,
  config_page, literal_page, simulation_page, chronogram_page, check_page, program_page,
  page_count
};
constexpr int first_table_page = steps_page;

extern int edit_mode;                 // active page, a page_id
// A page that sends the user to another page sets this; the shell then shows it, its menu item marked.
extern int requested_page;            // no_page: none
extern int definition_load_pending;   // the next message first loads the definition
extern bool hex_just_written;         // the last compile before the programmer page wrote the hex
extern dc_handle window_dc;
extern int click_x, click_y;

extern gdi_object page_font, menu_font;
extern gdi_object page_pen, grid_pen, menu_pen;
extern gdi_object variable_column_brush, text_brush, selection_brush, background_brush, grid_brush;
extern gdi_object menu_item_brush, menu_selected_brush, submenu_item_brush, submenu_selected_brush;
// The simulation's pages: lamps of input and output pins, the chronogram's plot.
extern gdi_object background_pen, white_pen, axis_pen, trace_pen;
extern gdi_object white_brush, input_on_brush, input_off_brush, output_on_brush, output_off_brush;

constexpr rgb colour_white{255, 255, 255};
constexpr rgb colour_grid_background{0, 128, 255};
constexpr rgb colour_grid_line{0, 64, 255};
constexpr rgb colour_active_step{255, 192, 0};
constexpr rgb colour_true_transition{0, 255, 0};

// ---- The page handlers, by edit_mode ---------------------------------------------

// Pages read click_x, click_y and window_dc and draw at once; a page
// without a right-click handler ignores right clicks.
struct page_handlers {
  void (*paint)();
  void (*key_down)(int key);
  void (*character)(int ch);
  void (*click)();
  void (*right_click)();
  // The menu chooses the page only once open agrees (none: always).
  bool (*open)();
  // The simulation timer's ticks; shown tells whether the page is on screen. A page
  // without it stops the timer.
  void (*tick)(int shown);
  void (*release)();  // the left button let go
};
extern const page_handlers pages[page_count];
// Every page's view back to its start, the shared copy buffer emptied.
void reset_page_state();

// ---- The chart's grid on screen: the grid page's view, shared by the simulation page ----

constexpr int grid_left = 60, grid_top = 40;      // the first visible cell's top-left corner
constexpr int cell_width = 40, cell_height = 20;
constexpr int view_columns = 15, view_rows = 20;  // the cells visible at once
constexpr int grid_right = grid_left + view_columns * cell_width;  // 660, excluded
constexpr int grid_bottom = grid_top + view_rows * cell_height;    // 440, excluded

// ---- The drawing kit of the chart: every pixel is one set_pixel into window_dc ----

extern const int segment_table[10][7];
void draw_digit(int x, int y, int digit, int s);
// wide: horizontal bars reach x + 39 (grid cells) instead of x + 19 (palette squares).
void draw_glyph(int x, int y, int kind, int wide);
// A column and row of the visible grid; numbers 0 to 63 are shown.
void draw_cell(int column, int row, int kind, int number, int erase_first);
// A cell's glyph and number with its top-left corner at (x, y), each pixel a scale by scale square.
void draw_cell_at(int x, int y, int kind, int number, int scale);
