// The main window: its state, its drawing resources and the window procedure
// through which every message passes, dispatched to the page of edit_mode.
#include "files/files.h"
#include "shell/shell.h"
#include "startup/startup.h"

#include <cstdint>

int first_paint_pending;

void init_shell_state() {
  edit_mode = 6;
  first_paint_pending = 1;
  definition_load_pending = 0;
  click_x = click_y = 0;
  menu_top_selection = 0;
  menu_sub_selection = 4;
}

// The drawing resources, created in this order when the window is made.
enum resource_kind { font_resource, pen_resource, brush_resource };
struct resource {
  gdi_object *handle;
  resource_kind kind;
  rgb colour;
};
static const resource resources[] = {
    {&page_font, font_resource, {}},
    {&menu_font, font_resource, {}},
    {&page_pen, pen_resource, {0, 0, 0}},
    {&variable_column_brush, brush_resource, {128, 128, 0}},
    {&text_brush, brush_resource, {0, 128, 128}},
    {&selection_brush, brush_resource, {255, 0, 0}},
    {&background_brush, brush_resource, {128, 128, 128}},
    {&grid_brush, brush_resource, {0, 128, 255}},
    {&grid_pen, pen_resource, {0, 64, 255}},
    {&menu_pen, pen_resource, {0, 0, 0}},
    {&menu_item_brush, brush_resource, {128, 128, 0}},
    {&menu_selected_brush, brush_resource, {255, 0, 0}},
    {&submenu_item_brush, brush_resource, {128, 128, 0}},
    {&submenu_selected_brush, brush_resource, {255, 0, 0}},
};

static void create_resources() {
  for (const resource &r : resources) {
    if (r.kind == font_resource) *r.handle = create_courier_font();
    if (r.kind == pen_resource) *r.handle = create_solid_pen(1, r.colour);
    if (r.kind == brush_resource) *r.handle = create_solid_brush(r.colour);
  }
}

static const page_handlers *current_page() {
  return edit_mode >= 0 && edit_mode < page_count ? &pages[edit_mode] : nullptr;
}

// The window is made: the start state, the drawing resources, every page's view
// at its start, the project's tables and config.txt.
static void create_window() {
  init_shell_state();
  create_resources();
  reset_page_state();
  start_project(with_config_file);
}

static void paint_window() {
  draw_background();
  draw_menu_bar();
  if (current_page()) current_page()->paint();
  if (first_paint_pending) {
    first_paint_pending = 0;
    definition_load_pending = 1;
  }
}

void write_config_and_quit() {
  write_config_file();
  post_quit_message(0);
}

// Key and character codes reach the pages as their low byte, sign-extended.
static int low_byte(int code) { return int8_t(code & 0xFF); }

static void store_click(const message &m) {
  click_x = m.x & 0xFFFF;
  click_y = m.y & 0xFFFF;
}

static void left_click(const message &m) {
  store_click(m);
  if (current_page()) current_page()->click();
  if (run_menu_action(menu_hit_test())) paint_window();
}

static void right_click(const message &m) {
  store_click(m);
  if (current_page() && current_page()->right_click) current_page()->right_click();
}

static void handle_message(const message &m) {
  const page_handlers *page = current_page();
  switch (m.kind) {
    case message_create: create_window(); break;
    case message_destroy: write_config_and_quit(); break;
    case message_paint: paint_window(); break;
    case message_key_down: if (page) page->key_down(low_byte(m.key)); break;
    case message_char: if (page) page->character(low_byte(m.key)); break;
    case message_left_button_down: left_click(m); break;
    case message_right_button_down: right_click(m); break;
    case message_left_double_click:
    case message_other: break;
  }
}

void window_procedure(const message &m) {
  if (definition_load_pending) {
    definition_load_pending = 0;
    load_definition_and_names();
  }
  // A message handled inside a message box gets its own context; the outer
  // handler gets its own back when that message is done.
  dc_handle outer_dc = window_dc;
  window_dc = acquire_window_dc();
  handle_message(m);
  release_window_dc(window_dc);
  window_dc = outer_dc;
}
