// The two drawings, written once for every renderer: the chart and the chronogram.
#pragma once
#include <cstdint>

#include "model/model.h"
#include "picture/pen.h"
#include "picture/picture.h"

// Where the drawn part of the grid lies in the picture, in points: the chart cropped
// to its non-empty cells, each column as wide as its texts need.
struct chart_layout {
  int first_column, last_column, first_row, last_row;  // last < first: nothing is drawn
  double left[grid_size + 1];                          // a column's left edge; the next one's is its right
  double width, height;
};
chart_layout lay_out_chart();
void draw_chart(const pen &p, const chart_layout &layout);

// The recorded run between two cycles: a row per listed signal and a time axis.
double chronogram_width();
double chronogram_height();
void draw_chronogram(const pen &p, int64_t from_cycle, int64_t to_cycle, const chronogram_mark *marks, int mark_count);
