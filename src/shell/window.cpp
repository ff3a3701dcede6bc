// The main window: its state, its drawing resources and the window procedure
// through which every message passes, dispatched to the page of edit_mode.
#include "files/files.h"
#include "shell/shell.h"
#include "startup/startup.h"

#include <cstdint>

int first_paint_pending;
int page_shown;
// Set at creation: once the definition is loaded after the first paint, a
// recovery copy left by a crash is offered.
static int recovery_offer_pending;
// Messages handled inside a message box are part of the outer user action.
static int message_depth;

void init_shell_state() {
  edit_mode = config_page;
  first_paint_pending = 1;
  page_shown = 0;
  recovery_offer_pending = 1;
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
    {&background_pen, pen_resource, {128, 128, 128}},
    {&white_pen, pen_resource, {255, 255, 255}},
    {&axis_pen, pen_resource, {192, 192, 192}},
    {&trace_pen, pen_resource, {192, 0, 0}},
    {&white_brush, brush_resource, {255, 255, 255}},
    {&input_on_brush, brush_resource, {0, 255, 0}},
    {&input_off_brush, brush_resource, {0, 96, 0}},
    {&output_on_brush, brush_resource, {255, 255, 0}},
    {&output_off_brush, brush_resource, {96, 96, 0}},
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
  forget_own_recovery_copies();
  reset_history();
  forget_window_title();
}

static void paint_window() {
  draw_background();
  draw_menu_bar();
  if (current_page()) current_page()->paint();
  page_shown = 1;
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

// The page of edit_mode, when it is on screen to take input.
static const page_handlers *input_page() { return page_shown ? current_page() : nullptr; }

static void left_click(const message &m) {
  store_click(m);
  requested_page = no_page;
  if (input_page()) input_page()->click();
  if (requested_page >= 0 && requested_page < page_count) {
    show_requested_page();
    paint_window();
    return;
  }
  if (run_menu_action(menu_hit_test())) paint_window();
}

static void right_click(const message &m) {
  store_click(m);
  if (input_page() && input_page()->right_click) input_page()->right_click();
}

// Control and Alt combinations, Tab and Escape type control codes that no field
// may hold; only Enter and Backspace reach the pages.
static bool typeable(int ch) {
  int code = ch & 0xFF;
  return (code >= 0x20 && code != 0x7F) || code == char_enter || code == char_backspace;
}

static void typed(int ch) {
  if (input_page() && typeable(ch)) input_page()->character(low_byte(ch));
}

// Control+Z undoes; Control+Y and Control+Shift+Z redo. The whole window is drawn again.
static bool undo_keys(int key) {
  int modifiers = held_modifiers();
  if (!(modifiers & modifier_control)) return false;
  int code = key & 0xFF;
  if (code == key_z && !(modifiers & modifier_shift)) undo_step();
  else if (code == key_z || code == key_y) redo_step();
  else return false;
  paint_window();
  return true;
}

static void left_release(const message &m) {
  store_click(m);
  if (input_page() && input_page()->release) input_page()->release();
}

// The simulation's pages run it; any other page stops its timer.
static void simulation_tick() {
  const page_handlers *page = current_page();
  if (page && page->tick) page->tick(page_shown);
  else set_simulation_timer(0);
}

static void key_pressed(int key) {
  if (undo_keys(key)) return;
  if (input_page()) input_page()->key_down(low_byte(key));
}

static void handle_message(const message &m) {
  switch (m.kind) {
    case message_create: create_window(); break;
    case message_destroy: write_config_and_quit(); break;
    case message_close: exit_operation(); break;
    case message_timer: recovery_timer_tick(); break;
    case message_simulation_tick: simulation_tick(); break;
    case message_left_button_up: left_release(m); break;
    case message_paint: paint_window(); break;
    case message_key_down: key_pressed(m.key); break;
    case message_char: typed(m.key); break;
    case message_left_button_down: left_click(m); break;
    case message_right_button_down: right_click(m); break;
    case message_left_double_click:
    case message_other: break;
  }
}

// A character other than Enter adds to the text being typed, which becomes a
// step only once confirmed; Enter, a click or closing ends the typing.
// Escape takes the typing back, so it is no step either.
static bool adds_to_typing(const message &m) {
  if (m.kind == message_key_down) return (m.key & 0xFF) == key_escape;
  return m.kind == message_char && (m.key & 0xFF) != char_enter;
}
static bool ends_typing(const message &m) {
  return m.kind == message_char || m.kind == message_left_button_down || m.kind == message_right_button_down ||
         m.kind == message_close;
}

static void run_pending_start_up() {
  if (definition_load_pending) {
    definition_load_pending = 0;
    load_definition_and_names();
  }
  if (recovery_offer_pending && !first_paint_pending) {
    recovery_offer_pending = 0;
    offer_recovery();
  }
}

void window_procedure(const message &m) {
  // A new window starts afresh: nothing left pending by an earlier one is run.
  if (m.kind != message_create) run_pending_start_up();
  bool outermost = message_depth++ == 0 && m.kind != message_create && m.kind != message_destroy;
  bool recorded = outermost && !adds_to_typing(m);
  if (recorded) begin_user_action();
  // A message handled inside a message box gets its own context; the outer
  // handler gets its own back when that message is done.
  dc_handle outer_dc = window_dc;
  window_dc = acquire_window_dc();
  handle_message(m);
  release_window_dc(window_dc);
  window_dc = outer_dc;
  if (recorded) end_user_action(ends_typing(m));
  if (outermost) update_window_title();
  message_depth--;
}
