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
