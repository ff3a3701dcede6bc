// Charts drawn straight into plan_xy, shared by the translation tests and benchmarks.
#pragma once
#include "model/model.h"

inline void put(int x, int y, cell_kind kind, int number = 0) { plan_xy[x][y] = {kind, number}; }

// The two-step cycle: step 0, transition 0, step 1, transition 1, and a link back up
// column 1 that enters step 0 from above.
inline void draw_two_step_cycle() {
  put(2, 0, cell_corner_bottom_left);
  put(2, 1, cell_initial_step, 0);
  put(2, 2, cell_transition, 0);
  put(2, 3, cell_step, 1);
  put(2, 4, cell_transition, 1);
  put(2, 5, cell_corner_top_left);
  put(1, 5, cell_corner_top_right);
  for (int y = 1; y <= 4; y++) put(1, y, cell_vertical);
  put(1, 0, cell_corner_bottom_right);
}
