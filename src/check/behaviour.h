// What the behaviour check shares between its exploration (explore.cpp) and its
// counter-examples (counter_example.cpp): the situations met, the program as the
// check reads it, and the findings waiting for their texts.
#pragma once
#include <cstdint>

#include "simulate/simulate.h"

// A situation: what the next scan depends on. The bits the program reads (inputs
// aside, since a scan samples them) and the timers that are running.
struct situation_key {
  uint64_t bit[sim_bit_count / 64];
  uint64_t running;
};

// What the outside does before a scan: the read inputs' levels (bit i for
// read_inputs[i]) and the running timers taken to end now (bit n for timer n).
struct scan_choice {
  uint64_t inputs;
  uint64_t timers_ending;
};

struct situation {
  situation_key key;
  int parent;             // -1 for power-up
  scan_choice reached_by; // the choice of the scan from parent that reached it
  bool stable;            // reached by a scan that settled within the pass cap
  bool expanded;          // every choice from it was tried
  bool fires;             // some scan from it fires a transition
  int first_edge, edge_count;  // its successors through scans that fire nothing
};

constexpr int situation_capacity = 1 << 15;
extern situation situations[situation_capacity];
extern int situation_count;
extern int explored_situations;  // those whose every choice was tried, by the last check

// The program as the check reads it, worked out once before the exploration.
extern int read_inputs[sim_pin_capacity];   // pins the program reads that are inputs
extern int read_input_count;
extern int order_line[sim_order_capacity];  // the literal line of each order
extern int block_step[sim_order_capacity];  // for a ">": the step number whose block holds it, or -1
extern int transition_of[sim_order_capacity]; // for a ">" of a chart: the drawn transition's number, or -1
extern int step_number_at[sim_bit_count];   // the step number of a bit address, or -1

// The machine put in situation s's state with the outside's choice made.
void enter_situation(const situation_key &key, const scan_choice &choice);
situation_key machine_key();
bool same_key(const situation_key &a, const situation_key &b);
uint64_t active_steps();

// A behavioural finding found by the exploration, waiting for its text and its
// counter-example: it shows in a scan from situation `from` with `choice` made
// (a stuck situation shows in `from` itself).
enum behaviour_kind { found_unstable, found_together, found_merge, found_stuck };
constexpr int behaviour_kind_count = 4;
struct behaviour_finding {
  behaviour_kind kind;
  int from;
  scan_choice choice;
  int first, second;  // found_together: the two ">" orders; found_merge: the ">" orders (second -1 when the
                      // step was already active)
  int step;           // found_merge: the step activated twice
  uint64_t steps;     // found_unstable: the steps at the cap; found_stuck: the situation's steps
  uint64_t loop;      // found_unstable: the steps left in the last half of the passes, round which it goes
};
constexpr int behaviour_finding_capacity = 64;
extern behaviour_finding behaviour_findings[behaviour_finding_capacity];
extern int behaviour_finding_count;

// Whether the pass just run shows finding f (the steps active before it given).
bool pass_shows(const behaviour_finding &f, uint64_t steps_before);
// Runs one scan from the situation and choice pass by pass; true when some pass shows f.
bool scan_shows(const behaviour_finding &f, const scan_choice &choice);

// Writes finding f's counter-example into text (size bytes): the path from power-up
// replayed in real time. False when real durations do not lead there.
bool write_counter_example(const behaviour_finding &f, const char *title, char *text, int size);
