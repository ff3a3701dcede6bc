// The drawing against itself and its tables: what the translation would pass over in silence.
//
// Errors are what makes the program other than the drawing says (an evolution lost
// or joined to another, a row of outputs no step sets, no step active at power-up);
// warnings are what the program does as drawn but the student may not mean (a stray
// link end, a condition row no transition uses, a transition with no condition).
#include <cstdio>
#include <cstring>
#include <iterator>

#include "check/check.h"
#include "platform/message_box.h"
#include "translate/translate.h"

namespace {

enum side_bit : uint8_t { top = 1, bottom = 2, left = 4, right = 8 };

// The sides of its square each kind of cell touches, as the grid draws it.
constexpr uint8_t cell_sides[] = {
    /* cell_transition */ top | bottom,
    /* cell_initial_step */ top | bottom,
    /* cell_step */ top | bottom,
    /* cell_vertical */ top | bottom,
    /* cell_horizontal */ left | right,
    /* cell_corner_bottom_right */ bottom | right,
    /* cell_corner_top_right */ top | right,
    /* cell_corner_bottom_left */ bottom | left,
    /* cell_corner_top_left */ top | left,
    /* cell_tee_right */ top | bottom | right,
    /* cell_tee_left */ top | bottom | left,
    /* cell_tee_up */ left | right | top,
    /* cell_tee_down */ left | right | bottom,
    /* cell_cross */ top | bottom | left | right,
    /* cell_entry */ bottom,
    /* cell_exit */ top,
    /* cell_empty */ 0,
};
static_assert(std::size(cell_sides) == cell_kind_count, "sides for every cell kind");

// Each side a link may end on: where its neighbour lies and how the student says it.
constexpr struct {
  side_bit side;
  int dx, dy;
  const char *where;
} link_ends[] = {
    {top, 0, -1, "above it"},
    {bottom, 0, 1, "below it"},
    {left, -1, 0, "on its left"},
    {right, 1, 0, "on its right"},
};

// What the student calls each numbered kind; links carry no number.
constexpr const char *kind_words[] = {"transition", "step", "step", "link", "link", "link", "link", "link",
                                      "link",       "link", "link", "link", "link", "link", "entry", "exit", ""};
static_assert(std::size(kind_words) == cell_kind_count, "a word for every cell kind");

bool is_numbered(int kind) { return kind <= cell_step || kind == cell_entry || kind == cell_exit; }

// "step 3 (column 2, row 5)" for this very cell, "link (column 2, row 5)" for a link.
void cell_text(int x, int y, char *text, int size) {
  cell c = plan_cell(x, y);
  if (is_numbered(c.kind)) std::snprintf(text, size_t(size), "%s %d (column %d, row %d)", kind_words[c.kind], c.number, x, y);
  else std::snprintf(text, size_t(size), "%s (column %d, row %d)", kind_words[c.kind], x, y);
}

// The walk reports into boxes; the check says it in findings.
void drop_box(box_kind, const char *, const char *) {}

// How many cells of the family (steps, or transitions) hold each number.
int step_cells[table_rows], transition_cells[table_rows], entry_cells[table_rows];

void count_numbers() {
  std::memset(step_cells, 0, sizeof step_cells);
  std::memset(transition_cells, 0, sizeof transition_cells);
  std::memset(entry_cells, 0, sizeof entry_cells);
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) {
      cell c = plan_cell(x, y);
      if (!number_in_range(c.number)) continue;
      if (is_step_kind(c.kind)) step_cells[c.number]++;
      if (c.kind == cell_transition) transition_cells[c.number]++;
      if (c.kind == cell_entry) entry_cells[c.number]++;
    }
}

// Numbers outside the tables, and a number given twice within a family.
void check_numbers() {
  bool seen_step[table_rows] = {}, seen_transition[table_rows] = {};
  int first_x[2][table_rows], first_y[2][table_rows];
  char name[80];
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) {
      cell c = plan_cell(x, y);
      if (!is_numbered(c.kind)) continue;
      if (!number_in_range(c.number)) {
        cell_text(x, y, name, sizeof name);
        add_finding(check_error, cell_place(x, y), "%s has a number outside 0..63", name);
        continue;
      }
      if (!is_step_kind(c.kind) && c.kind != cell_transition) continue;
      int family = is_step_kind(c.kind) ? 0 : 1;
      bool *seen = family == 0 ? seen_step : seen_transition;
      if (seen[c.number])
        add_finding(check_error, cell_place(x, y), "two %s numbered %d: column %d, row %d and column %d, row %d",
                    family == 0 ? "steps" : "transitions", c.number, first_x[family][c.number],
                    first_y[family][c.number], x, y);
      else {
        seen[c.number] = true;
        first_x[family][c.number] = x;
        first_y[family][c.number] = y;
      }
    }
}

void check_initial_step() {
  bool any_step = false, initial = false;
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) {
      any_step = any_step || is_step_kind(plan_cell(x, y).kind);
      initial = initial || plan_cell(x, y).kind == cell_initial_step;
    }
  if (any_step && !initial) add_finding(check_error, nowhere, "no initial step: no step is active at power-up");
}

// The steps a walk from below the step reaches before any transition: a walk that
// starts as if one were crossed stops at the first transition and records every step.
void check_steps_below_steps() {
  char name[80], other[80];
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) {
      cell c = plan_cell(x, y);
      if (!is_step_kind(c.kind) || !number_in_range(c.number)) continue;
      successor_count = 0;
      follow_link(x, y + 1, 0, from_above);
      cell_text(x, y, name, sizeof name);
      for (int k = 0; k < successor_count; k++) {
        step_name(successor_list[k].step, other, sizeof other);
        add_finding(check_error, cell_place(x, y), "%s leads to %s with no transition between", name, other);
      }
      successor_count = 0;
      if (follow_link(x, y + 1, -1, from_above) == walk_too_many)
        add_finding(check_error, cell_place(x, y), "%s has more than %d evolutions", name, successor_slots);
    }
}

// A transition number no cell holds, for telling one transition's evolutions apart; -1 when all are used.
int free_transition_number() {
  for (int n = 0; n < table_rows; n++)
    if (transition_cells[n] == 0) return n;
  return -1;
}

// Whether a walk from some step crosses the transition at (x, y): it is given a number
// of its own and, when nothing lies below it, a step to reach, then every step is walked.
bool reached_by_a_step(int x, int y, bool nothing_below) {
  int own = free_transition_number();
  if (own < 0 || (nothing_below && y + 1 >= grid_size)) return true;
  cell kept = plan_xy[x][y], kept_below = nothing_below ? plan_xy[x][y + 1] : cell{};
  plan_xy[x][y].number = own;
  if (nothing_below) plan_xy[x][y + 1] = {cell_step, 0};
  forget_walks();
  bool reached = false;
  for (int sx = 0; sx < grid_size && !reached; sx++)
    for (int sy = 0; sy < grid_size && !reached; sy++) {
      bool probe = nothing_below && sx == x && sy == y + 1;
      if (!is_step_kind(plan_cell(sx, sy).kind) || probe || !number_in_range(plan_xy[sx][sy].number)) continue;
      find_successors(sx, sy);
      for (int k = 0; k < successor_count; k++) reached = reached || successor_list[k].transition == own;
    }
  plan_xy[x][y] = kept;
  if (nothing_below) plan_xy[x][y + 1] = kept_below;
  forget_walks();
  return reached;
}

void check_transitions() {
  char name[80];
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) {
      cell c = plan_cell(x, y);
      if (c.kind != cell_transition || !number_in_range(c.number)) continue;
      cell_text(x, y, name, sizeof name);
      successor_count = 0;
      walk_status below = follow_link(x, y + 1, c.number, from_above);
      bool nothing_below = below == walk_complete && successor_count == 0;
      if (nothing_below) add_finding(check_error, cell_place(x, y), "%s has no step below it", name);
      if (!reached_by_a_step(x, y, nothing_below))
        add_finding(check_error, cell_place(x, y), "%s is reached by no step", name);
    }
}

// Exits with nowhere to jump, and link ends that meet an empty cell or the border of
// the grid (an exit takes a link from any side, so its own ends are not looked at).
void check_links() {
  char name[80];
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) {
      cell c = plan_cell(x, y);
      if (c.kind < cell_vertical || c.kind == cell_empty) continue;
      cell_text(x, y, name, sizeof name);
      if (c.kind == cell_exit && number_in_range(c.number) && entry_cells[c.number] == 0)
        add_finding(check_error, cell_place(x, y), "%s has no entry %d", name, c.number);
      for (const auto &end : link_ends) {
        if (c.kind == cell_exit || !(cell_sides[c.kind] & end.side)) continue;
        if (plan_cell(x + end.dx, y + end.dy).kind != cell_empty) continue;
        add_finding(check_warning, cell_place(x, y), "%s ends in nothing %s", name, end.where);
      }
    }
}

// Text rows for numbers no cell holds, and drawn transitions with no condition.
void check_tables() {
  char row[40], name[80];
  for (int n = 0; n < table_rows; n++) {
    if (step_cells[n] == 0 && !is_blank(field_text(step_outputs[n].text, text_size))) {
      table_row_name(table_step_outputs, n, row, sizeof row);
      add_finding(check_error, table_place(table_step_outputs, n), "%s has outputs but no step %d is drawn", row, n);
    }
    bool blank_condition = is_blank(field_text(transition_conditions[n].text, text_size));
    if (transition_cells[n] == 0 && !blank_condition) {
      table_row_name(table_transitions, n, row, sizeof row);
      add_finding(check_warning, table_place(table_transitions, n), "%s has a condition but no transition %d is drawn",
                  row, n);
    }
    int x, y;
    if (transition_cells[n] > 0 && blank_condition && find_transition_cell(n, x, y)) {
      transition_name(n, name, sizeof name);
      add_finding(check_warning, cell_place(x, y), "%s has no condition: it is always true", name);
    }
  }
}

}  // namespace

void check_drawing() {
  message_box_handler presenter = set_message_box_handler(drop_box);
  forget_walks();
  count_numbers();
  check_numbers();
  check_initial_step();
  check_steps_below_steps();
  check_transitions();
  check_links();
  check_tables();
  set_message_box_handler(presenter);
}
