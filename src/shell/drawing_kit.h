// The drawing kit of the chart: seven-segment digits, the glyph of every cell
// kind and whole grid cells, drawn pixel by pixel into window_dc.
#pragma once

void draw_digit(int x, int y, int digit, int s);
void draw_glyph(int x, int y, int kind, bool wide);
void draw_cell(int column, int row, int kind, int number, bool erase_first);
