#include "kit/kit.h"

// Set at window creation, never by a static initialiser: one start-up path.
int edit_mode;
int requested_page = no_page;
bool hex_just_written;
int definition_load_pending;
dc_handle window_dc;
int click_x, click_y;

gdi_object page_font, menu_font;
gdi_object page_pen, grid_pen, menu_pen;
gdi_object variable_column_brush, text_brush, selection_brush, background_brush, grid_brush;
gdi_object menu_item_brush, menu_selected_brush, submenu_item_brush, submenu_selected_brush;
gdi_object background_pen, white_pen, axis_pen, trace_pen;
gdi_object white_brush, input_on_brush, input_off_brush, output_on_brush, output_off_brush;
