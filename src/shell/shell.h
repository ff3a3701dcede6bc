// The shell: one window, its start-up, the menu strip and the window procedure
// that every backend feeds with the same messages and that dispatches them to
// the page of edit_mode through the page table.
#pragma once
#include "kit/kit.h"

extern int first_paint_pending;

// Back to the state of a freshly started program (page 6, "Fich" and "CFG"
// marked, first paint pending); message_create runs it before anything else.
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
