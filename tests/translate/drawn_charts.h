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

// An AND divergence and its join: step 0, transition 0 into steps 1 and 2 together;
// 1 through transition 1 to step 3, 2 through transition 2 to step 4; steps 3 and 4
// join above transition 3 into step 5; transition 4 leads back up column 0 to step 0.
inline void draw_parallel_join() {
  put(0, 0, cell_corner_bottom_right);
  put(1, 0, cell_horizontal);
  put(2, 0, cell_corner_bottom_left);
  put(2, 1, cell_initial_step, 0);
  put(2, 2, cell_transition, 0);
  put(1, 3, cell_corner_bottom_right);
  put(2, 3, cell_tee_up);
  put(3, 3, cell_corner_bottom_left);
  put(1, 4, cell_step, 1);
  put(3, 4, cell_step, 2);
  put(1, 5, cell_transition, 1);
  put(3, 5, cell_transition, 2);
  put(1, 6, cell_step, 3);
  put(3, 6, cell_step, 4);
  put(1, 7, cell_corner_top_right);
  put(2, 7, cell_tee_down);
  put(3, 7, cell_corner_top_left);
  put(2, 8, cell_transition, 3);
  put(2, 9, cell_step, 5);
  put(2, 10, cell_transition, 4);
  put(2, 11, cell_corner_top_left);
  put(1, 11, cell_horizontal);
  put(0, 11, cell_corner_top_right);
  for (int y = 1; y <= 10; y++) put(0, y, cell_vertical);
}
