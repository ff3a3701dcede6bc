// The shell: one window, its start-up, the menu strip and the window procedure
// that every backend feeds with the same messages and that dispatches them to
// the page of edit_mode through the page table.
#pragma once
#include "kit/kit.h"

extern int first_paint_pending;
// Whether the page of edit_mode is on screen; input to a page that is not is ignored.
extern int page_shown;

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
// The page a page asked for (requested_page) becomes the one shown, its menu item marked.
void show_requested_page();
// "Exit" and the window's destruction: config.txt is written, then the message loop ends.
void write_config_and_quit();

// ---- Never losing work -----------------------------------------------------------

// The undo history (undo.cpp): one step per user action that changed the project.
// At window creation the project as it stands is the saved one, with no steps.
void reset_history();
// Around each user action: what changed becomes a step; text typed into a field
// becomes one when ends_typing (Enter, a click) or when another change follows it.
void begin_user_action();
void end_user_action(bool ends_typing);
// Back or forth one step; false when there is none.
bool undo_step();
bool redo_step();
int undo_steps_available();
// Whether the chart and tables differ from those last loaded or saved, and the
// literal program from the one last loaded, saved or translated.
bool chart_changed();
bool literal_changed();
void mark_chart_saved();
void mark_literal_saved();

// The menu operations that ask before work is lost (unsaved.cpp).
void load_chart_operation();
void save_chart_operation();
void load_literal_operation();
void save_literal_operation();
void translate_operation();
void translate_and_compile_operation();
void program_chip_operation();
void exit_operation();  // "Exit" and closing the window
// "Expt": chart.svg and chart.pdf beside the project files (export.cpp).
void export_chart_operation();
// " *" after the program's title while anything is unsaved.
void update_window_title();
void forget_window_title();

// The recovery copies beside the project files (recovery.cpp).
void write_recovery_copies();
void remove_recovery_copies();
// Written while anything is unsaved, removed once nothing is.
void sync_recovery_copies();
void recovery_timer_tick();
// A copy left by a crash and newer than its project file is offered back: at
// start-up and before a load. False when the caller must not go on (the copy was
// restored, or the question cancelled).
bool offer_recovery();
// A new window has written no copy of its own yet.
void forget_own_recovery_copies();
