// Time of the whole translation on three charts, each beside one plain scan of the
// 1600 cells: the small cycle, a full chart of 64 steps, and charts built to make
// the walk work hardest.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "model/model.h"
#include "platform/message_box.h"
#include "translate/translate.h"
#include "translate/drawn_charts.h"

namespace {

void ignore_box(box_kind, const char *, const char *) {}


void fresh_project() {
  init_project();
  set_message_box_handler(ignore_box);
  for (int n = 0; n < table_rows; n++) {
    char text[text_size];
    std::snprintf(text, sizeof text, "l i%d an i%d", n % 16, (n + 5) % 16);
    copy_field(transition_conditions[n].text, text_size, text);
  }
}

void two_step_cycle() {
  fresh_project();
  draw_two_step_cycle();
  copy_field(step_outputs[1].text, text_size, "LED");
}

// A choice between two transitions that meet again, over `y` in column c.
void choice(int c, int y, int &transition) {
  put(c, y, cell_tee_up);
  put(c - 1, y, cell_corner_bottom_right);
  put(c + 1, y, cell_corner_bottom_left);
  put(c - 1, y + 1, cell_transition, transition++);
  put(c + 1, y + 1, cell_transition, transition++);
  put(c - 1, y + 2, cell_corner_top_right);
  put(c, y + 2, cell_tee_down);
  put(c + 1, y + 2, cell_corner_top_left);
}

// Two steps side by side after one transition, meeting above the next one.
void pair_of_steps(int c, int y, int &step) {
  put(c, y, cell_tee_up);
  put(c - 1, y, cell_corner_bottom_right);
  put(c + 1, y, cell_corner_bottom_left);
  put(c - 1, y + 1, cell_step, step++);
  put(c + 1, y + 1, cell_step, step++);
  put(c - 1, y + 2, cell_corner_top_right);
  put(c, y + 2, cell_tee_down);
  put(c + 1, y + 2, cell_corner_top_left);
}

// Eight chains of eight steps over the whole grid, each chain ending in an exit
// to the entry at the top of the next one.
void full_chart() {
  fresh_project();
  int step = 0, transition = 0;
  for (int k = 0; k < 8; k++) {
    int c = 5 * k + 2;
    put(c, 0, cell_entry, k);
    for (int base = 1; base <= 11; base += 10) {
      put(c, base, step == 0 ? cell_initial_step : cell_step, step);
      step++;
      choice(c, base + 1, transition);
      put(c, base + 4, cell_step, step++);
      put(c, base + 5, cell_transition, transition++);
      pair_of_steps(c, base + 6, step);
      put(c, base + 9, cell_transition, transition++);
    }
    for (int y = 21; y < 39; y++) put(c, y, cell_vertical);
    put(c, 39, cell_exit, (k + 1) % 8);
  }
  for (int n = 0; n < table_rows; n++) {
    char text[text_size];
    std::snprintf(text, sizeof text, "o%d o%d lamp", n % 20, (n + 7) % 20);
    copy_field(step_outputs[n].text, text_size, text);
  }
}

// Steps along the top row over a grid full of crossings with 64 transitions among
// them: every step walks the whole grid before and after each transition.
void crossings() {
  fresh_project();
  for (int x = 0; x < grid_size; x++) {
    put(x, 0, x == 0 ? cell_initial_step : cell_step, x);
    for (int y = 1; y < grid_size; y++) put(x, y, cell_cross);
  }
  for (int t = 0; t < table_rows; t++) put(4 + t % 32, 6 + 16 * (t / 32) + t % 5, cell_transition, t);
}

// The same with tees of every kind among the crossings, and exits to shared entries.
void tees_and_crossings() {
  fresh_project();
  const cell_kind links[] = {cell_cross, cell_cross, cell_tee_right, cell_tee_left, cell_tee_up, cell_tee_down};
  std::srand(11);
  for (int x = 0; x < grid_size; x++) {
    put(x, 0, x == 0 ? cell_initial_step : cell_step, x);
    for (int y = 1; y < grid_size; y++) put(x, y, links[std::rand() % 6]);
  }
  for (int t = 0; t < table_rows; t++) put(std::rand() % grid_size, 2 + std::rand() % 37, cell_transition, t);
  for (int e = 0; e < 40; e++) {
    put(std::rand() % grid_size, 2 + std::rand() % 37, cell_exit, e % 4);
    put(std::rand() % grid_size, 2 + std::rand() % 37, cell_entry, e % 4);
  }
}

// Not a walk at all: every step row full of the same twenty one-letter words, the
// most the output lines can be asked to compare.
void crowded_outputs() {
  fresh_project();
  for (int n = 0; n < table_rows; n++)
    copy_field(step_outputs[n].text, text_size, "a b c d e f g h i j k l m n o p q r s t");
}

// Rows of words found nowhere else, as many as the buffer has rows for, over rows
// that all repeat one another: each new word is compared with every word there is.
void distinct_outputs() {
  fresh_project();
  for (int n = 0; n < table_rows; n++) {
    char text[text_size];
    int first = n < 18 ? 8 * n : 0;
    std::snprintf(text, sizeof text, "w%d w%d w%d w%d w%d w%d w%d w%d", first, first + 1, first + 2, first + 3,
                  first + 4, first + 5, first + 6, first + 7);
    copy_field(step_outputs[n].text, text_size, text);
  }
}

void translate(benchmark::State &state, void (*draw)()) {
  draw();
  if (!graphic_to_literal()) state.SkipWithError("the chart does not translate");
  for (auto _ : state) benchmark::DoNotOptimize(graphic_to_literal());
}

void scan(benchmark::State &state, void (*draw)()) {
  draw();
  for (auto _ : state) {
    int steps = 0;
    for (int x = 0; x < grid_size; x++)
      for (int y = 0; y < grid_size; y++) steps += plan_xy[x][y].kind == cell_step;
    benchmark::DoNotOptimize(steps);
  }
}

}  // namespace

BENCHMARK_CAPTURE(translate, a_two_step_cycle, two_step_cycle);
BENCHMARK_CAPTURE(scan, a_two_step_cycle, two_step_cycle);
BENCHMARK_CAPTURE(translate, b_full_chart_64_steps, full_chart);
BENCHMARK_CAPTURE(scan, b_full_chart_64_steps, full_chart);
BENCHMARK_CAPTURE(translate, c_crossings, crossings);
BENCHMARK_CAPTURE(scan, c_crossings, crossings);
BENCHMARK_CAPTURE(translate, c_tees_and_crossings, tees_and_crossings);
BENCHMARK_CAPTURE(scan, c_tees_and_crossings, tees_and_crossings);
BENCHMARK_CAPTURE(translate, d_crowded_outputs, crowded_outputs);
BENCHMARK_CAPTURE(translate, d_distinct_outputs, distinct_outputs);
