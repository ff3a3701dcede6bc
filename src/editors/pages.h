// The entry points of the editor pages that the shell calls, by edit_mode:
// 0 grid, 1 to 5 the text tables, 6 configuration, 7 literal text.
// Pages read click_x, click_y and window_dc from the kit and draw at once; the
// shell reaches them through the page table.
#pragma once

void grid_page_paint();
void grid_page_key_down(int key);
void grid_page_char(int ch);
void grid_page_click();         // palette, grid, then scroll buttons
void grid_page_right_click();   // selects a cell for number entry

// One implementation for pages 1 to 5; the table is chosen by edit_mode.
void table_page_init();         // all five tables, in page order
void table_page_paint();
void table_page_draw_row(int row, int highlighted);
void table_page_click();
void table_page_key_down(int key);
void table_page_char(int ch);

void config_page_init();
void config_page_paint();
void config_page_draw_row(int row, int highlighted);
void config_page_click();
void config_page_key_down(int key);
void config_page_char(int ch);

void literal_page_init();
void literal_page_paint();
void literal_draw_line(int line, int highlighted);
void literal_draw_text_column();
void literal_draw_label_column();
void literal_page_click();
void literal_page_right_click();
void literal_page_key_down(int key);
void literal_page_char(int ch);
