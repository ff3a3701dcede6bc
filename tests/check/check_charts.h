// Charts made for each behavioural finding of the check, drawn straight into the
// project; shared by the check's tests and the gpsim replays of their counter-examples.
#pragma once
#include <string>

#include "files/files.h"
#include "translate/drawn_charts.h"

inline void set_condition(int transition, const char *text) {
  copy_field(transition_conditions[transition].text, text_size, text);
}

// x0 -( )-> x1 -( )-> x0: both conditions always true, so every scan runs to the cap.
// The post-treatment shows UNSTABLE on RB7, where the chip holds it between scans.
inline void draw_endless_loop() {
  draw_two_step_cycle();
  copy_field(post_treatments[0].text, text_size, "l UNSTABLE = RB7");
}

// x0 -(RA0)-> x1, then nothing leaves x1; step 2 stands alone.
inline void draw_dead_end() {
  put(2, 1, cell_initial_step, 0);
  put(2, 2, cell_transition, 0);
  put(2, 3, cell_step, 1);
  put(5, 1, cell_step, 2);
  set_condition(0, "l RA0");
}

// The choice example with its right branch's condition no longer excluding the left one's.
inline bool draw_overlapping_choice(const std::string &source_folder) {
  bool loaded = read_graphic_file((source_folder + "/examples/choice/choice.gra").c_str());
  set_condition(1, "l RA1");
  return loaded;
}

// An AND divergence whose branches meet without a join: x0 -(RA0)-> x1 and x2,
// x1 -(RA1)-> x3, x2 -(RA2)-> x3, x3 -(RA3)-> x0.
inline void draw_branches_without_join() {
  draw_parallel_join();
  put(1, 6, cell_vertical);
  put(3, 6, cell_vertical);
  put(2, 8, cell_step, 3);
  put(2, 9, cell_transition, 4);
  put(2, 10, cell_vertical);
  const char *conditions[] = {"l RA0", "l RA1", "l RA2", "", "l RA3"};
  for (int t = 0; t < 5; t++) set_condition(t, conditions[t]);
}
