// What the simulation and chronogram pages keep of their own; the machine itself
// is the simulator's global state (sim), powered up when "Sim" is opened.
#pragma once
#include <cstdint>

#include "simulate/simulate.h"

enum run_speed { speed_real_time, speed_times_ten, speed_fastest };
constexpr int run_speed_count = 3;
// The timer's period while running: 25 redraws a second.
constexpr int simulation_tick_milliseconds = 40;

struct simulation_state {
  bool started;     // a chart compiled and powered up
  bool running;
  int speed;        // run_speed
  bool push_mode;   // a click holds an input at 1 only while the button is down
  int pressed_pin;  // the input held by push mode, or -1
  int64_t now;      // the simulated time shown, in instruction cycles
};
extern simulation_state simulation;

// The inputs the user changed since power-up, for the scenario file.
struct input_change {
  int64_t cycle;
  int pin, level;
};
constexpr int input_change_capacity = scenario_capacity;
extern input_change input_changes[input_change_capacity];
extern int input_change_count;

struct chronogram_view_state {
  int zoom;          // index into the zoom table
  int first_row;     // first signal shown
  bool follow;       // the right edge follows the present
  int64_t start_ns;  // time at the left edge when not following
  bool all_signals;  // every pin listed, not only those the program names
};
extern chronogram_view_state chronogram_view;

// The failed expectations of the run "Test" left shown, marked on the chronogram.
struct test_mark {
  int64_t cycle;
  int signal;  // in sim_signals
};
constexpr int test_mark_capacity = 256;
extern test_mark test_marks[test_mark_capacity];
extern int test_mark_count;
// The chronogram's view moved so that the time stands in the middle of its plot.
void chrono_page_centre_on(int64_t ns);

// Every view of the simulation back to its start; nothing runs.
void reset_simulation_views();
// The one way an input changes: driven, remembered for the scenario, recorded.
void change_input(int pin, int level);
// Whether the condition of transition n holds now, as the simulator works it out.
bool transition_condition_holds(int n);
