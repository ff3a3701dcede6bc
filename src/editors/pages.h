// The entry points of the editor pages that the shell calls, by edit_mode:
// 0 grid, 1 to 5 the text tables, 6 configuration, 7 literal text, 8 simulation,
// 9 chronogram, 10 the check's findings, 11 the programmer's run.
// Pages read click_x, click_y and window_dc from the kit and draw at once; the
// shell reaches them through the page table.
#pragma once

void grid_page_paint();
void grid_page_key_down(int key);
void grid_page_char(int ch);
void grid_page_click();         // palette, grid, then scroll buttons
void grid_page_right_click();   // selects a cell for number entry
// The plan as the grid page shows it, shared with the simulation page: the visible
// cells, the scroll buttons, and scrolling by key or button (true when it scrolled).
void draw_plan_view();
void draw_scroll_buttons();
bool scroll_by_key(int key);
bool scroll_by_click();

// One implementation for pages 1 to 5; the table is chosen by edit_mode.
void table_page_paint();
void table_page_draw_row(int row, int highlighted);
void table_page_click();
void table_page_key_down(int key);
void table_page_char(int ch);

void config_page_paint();
void config_page_draw_row(int row, int highlighted);
void config_page_click();
void config_page_key_down(int key);
void config_page_char(int ch);

void literal_page_paint();
void literal_draw_line(int line, int highlighted);
void literal_draw_text_column();
void literal_draw_label_column();
void literal_page_click();
void literal_page_right_click();
void literal_page_key_down(int key);
void literal_page_char(int ch);

// The simulation of the chart (sim_page.cpp): opening it translates and compiles
// the chart in memory and powers the chip up.
bool sim_page_open();
void sim_page_paint();
void sim_page_paint_states();  // what a running chart changes: steps, transitions, lamps, status
void sim_page_click();
void sim_page_release();
void sim_page_key_down(int key);
void sim_page_char(int ch);
// Runs the simulation one timer period on; draws the page of edit_mode when shown.
void simulation_tick(int shown);
// Opens the simulation and replays a scenario's inputs on it (a finding's counter-example).
bool sim_page_replay(const char *scenario_text);

// The check's findings (check_page.cpp): opening it checks the chart.
bool check_page_open();
void check_page_paint();
void check_page_click();
void check_page_key_down(int key);

// The programmer run on the hex just written (program_page.cpp): its output as it arrives,
// then the verdict.
bool program_page_open();
void program_page_paint();
void program_page_tick(int shown);

// The chronogram of the recorded run (chrono_page.cpp).
void chrono_page_paint();
void chrono_page_click();
void chrono_page_key_down(int key);
void chrono_page_char(int ch);
