// Scenario files run on the compiled chart, each from power-up: how many expectations
// held and the first that failed. The grader and the simulation page's "Test" share it.
#pragma once
#include <cstdint>

#include "simulate/simulate.h"

constexpr int grade_text_size = 400;

struct scenario_checks {
  int held, total;
  int first_failing;              // index of the first file with a failure, -1 when none failed
  char first[grade_text_size];    // "line 7 of press.txt: at 2.350s expected RB0=1, got 0"
  char error[grade_text_size];    // a file that does not read: "press.txt: scenario line 3: ..."
};

// The margin of the exercise read last: its own, or one scan of the compiled chart at power-up.
int64_t exercise_margin_ns();
// Runs each file with the margin, observe called as run_scenario calls it; false when one
// did not read (nothing is counted then). The target must be bound.
bool run_scenario_files(const char *const *paths, int count, int64_t margin_ns, sim_observer observe,
                        scenario_checks &checks);
