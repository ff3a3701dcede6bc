// The menu strip drawn across the top of the window: five top-level items and,
// to their right, six sub-items whose labels depend on the selected top item.
#include <iterator>

#include "files/files.h"
#include "platform/message_box.h"
#include "shell/shell.h"
#include "startup/bundled_files.h"
#include "compiler/compiler.h"
#include "translate/translate.h"

#include <cstdio>

int menu_top_selection;  // set by init_shell_state at window creation
int menu_sub_selection;

constexpr int top_items = 5, sub_items = 6;
constexpr int top_left = 60, sub_left = 300, item_width = 40;
constexpr int item_top = 5, item_bottom = 35;

// Each label is padded to five characters, one item's worth at 8 pixels a character.
static const char top_labels[] = "Fich Gra  Lit  Go   Help";
static const char *const sub_labels[] = {
    "LD G SV G LD L SV L CFG  Exit",
    "Gril Etap Tran Pre  Post Cst ",
    "Edit Expt Prog               ",
    "G->L L->H G->H Sim  Chro Chk ",
    "Manu Abt                     ",
};
static_assert(std::size(sub_labels) == top_items, "one sub-row per top item");

void draw_background() {
  select_object(window_dc, background_brush);
  draw_rectangle(window_dc, 0, 0, 800, 600);
}

static void draw_item(int left, int k) {
  draw_ellipse(window_dc, left + item_width * k, item_top, left + item_width * (k + 1), item_bottom);
}

void draw_menu_bar() {
  select_object(window_dc, menu_font);
  select_object(window_dc, menu_pen);
  select_object(window_dc, menu_item_brush);
  for (int k = 0; k < top_items; k++) draw_item(top_left, k);
  select_object(window_dc, menu_selected_brush);
  draw_item(top_left, menu_top_selection);
  select_object(window_dc, submenu_item_brush);
  for (int k = 0; k < sub_items; k++) draw_item(sub_left, k);
  select_object(window_dc, submenu_selected_brush);
  if (menu_sub_selection != -1) draw_item(sub_left, menu_sub_selection);
  set_transparent_background(window_dc);
  set_text_colour(window_dc, colour_white);
  text_out(window_dc, 63, 12, top_labels, 24);
  text_out(window_dc, 303, 12, sub_labels[menu_top_selection], 29);
}

int menu_hit_test() {
  if (click_y <= 4 || click_y > 35) return 0;
  if (click_x > 60 && click_x < 260) {
    menu_top_selection = (click_x - top_left) / item_width;
    menu_sub_selection = -1;
    page_shown = 0;
    draw_background();
    draw_menu_bar();
    return 0;
  }
  if (click_x > 300 && click_x < 540) {
    menu_sub_selection = (click_x - sub_left) / item_width;
    page_shown = 0;
    draw_background();
    draw_menu_bar();
    return menu_top_selection * 10 + menu_sub_selection + 11;
  }
  return 0;
}

static void show_manual_box() {
  char text[4200];
  std::snprintf(text, sizeof text, "See the manual on the web page\n\n(%s)", manual_address());
  show_message_box(box_report, "Manual", text);
}

static void show_about_box() {
  char text[256];
  std::snprintf(text, sizeof text, "%s\n%s", program_title,
                "Turns GRAFCET charts into Intel HEX files for 14-bit PIC chips.");
  show_message_box(box_report, "About", text);
}

// What each menu_code does: an operation to run, or the page to show; some need a target.
struct menu_action {
  int code;
  void (*run)();
  page_id page;
  bool needs_target;
};
static const menu_action menu_actions[] = {
    {11, load_chart_operation, no_page, false},
    {12, save_chart_operation, no_page, false},
    {13, load_literal_operation, no_page, false},
    {14, save_literal_operation, no_page, false},
    {15, nullptr, config_page, false},
    {16, exit_operation, no_page, false},
    {21, nullptr, grid_page, false},
    {22, nullptr, steps_page, false},
    {23, nullptr, transitions_page, false},
    {24, nullptr, pre_treatments_page, false},
    {25, nullptr, post_treatments_page, false},
    {26, nullptr, constants_page, false},
    {31, nullptr, literal_page, false},
    {32, export_chart_operation, no_page, false},
    {33, program_chip_operation, program_page, true},
    {41, translate_operation, no_page, false},
    {42, [] { compile_literal_to_hex(); }, no_page, true},
    {43, translate_and_compile_operation, no_page, true},
    {44, nullptr, simulation_page, true},
    {45, nullptr, chronogram_page, true},
    {46, nullptr, check_page, true},
    {51, show_manual_box, no_page, false},
    {52, show_about_box, no_page, false},
};

static const char no_target_text[] =
    "No target is loaded, so nothing can be compiled or simulated.\n\n"
    "Name a chip (pic16f628a, pic16f877a, ...) or a definition file in the Automate entry "
    "of CFG (under \"Fich\") and press Enter.";

// The menu marks the item of the page shown again, after a page that could not be chosen.
static bool show_current_page_item() {
  for (const menu_action &action : menu_actions)
    if (action.page == edit_mode) {
      menu_top_selection = action.code / 10 - 1;
      menu_sub_selection = action.code % 10 - 1;
      return true;
    }
  return false;
}

void show_requested_page() {
  edit_mode = requested_page;
  requested_page = no_page;
  show_current_page_item();
}

bool run_menu_action(int code) {
  for (const menu_action &action : menu_actions) {
    if (action.code != code) continue;
    if (action.needs_target && !automaton_definition_loaded) {
      show_message_box(box_error, "Def File", no_target_text);
      return action.page != no_page && show_current_page_item();
    }
    if (action.run) action.run();
    // A page that cannot start (the simulation of a chart that does not compile) is not chosen.
    if (action.page != no_page && pages[action.page].open && !pages[action.page].open()) return show_current_page_item();
    if (action.page != no_page) edit_mode = action.page;
    return action.page != no_page;
  }
  return false;
}
