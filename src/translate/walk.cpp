// The walk from a step along the drawn links to the steps that follow it.
//
// A walk state is a cell, the side it was entered from, and whether the path has
// crossed its transition yet. Once crossed, the transition number stays the same for
// the rest of the path and only goes into the pairs recorded, so a state after the
// transition walks alike for every number; the number is filled in where the path
// crossed it. What each state reaches is worked out once per chart and shared by
// every step that walks through it, so a chart of dense splits and merges costs no
// more than one visit of each state.
//
// Where the links never loop, a state reaches the concatenation of what its moves
// reach, in the order of the moves: every path is followed, duplicates included.
// Links that loop (a ring, an exit leading back to its own entry) would make the
// walk endless; the states of one loop share one result instead: everything the
// loop leads to, each pair once, in the order the walk first entered its cells.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include <iterator>

#include "platform/message_box.h"
#include "translate/translate.h"

successor successor_list[successor_slots];
int successor_count;
int bad_cell_x, bad_cell_y;

namespace {

enum move : uint8_t { stop, go_down, go_up, go_right, go_left };
constexpr int max_moves = 3;

// Moves made on entering a cell, by kind and by the side it was entered from, in the
// order they are made. Steps and exits are handled before this table is read; a
// transition is crossed only while none has been crossed on the path.
constexpr move walk_rules[][side_count][max_moves] = {
    /* cell_transition */ {{go_down}, {go_up}, {stop}, {stop}},
    /* cell_initial_step */ {{stop}, {stop}, {stop}, {stop}},
    /* cell_step */ {{stop}, {stop}, {stop}, {stop}},
    /* cell_vertical */ {{go_down}, {go_up}, {stop}, {stop}},
    /* cell_horizontal */ {{stop}, {stop}, {go_right}, {go_left}},
    /* cell_corner_bottom_right */ {{go_down}, {go_right}, {go_down}, {go_down}},
    /* cell_corner_top_right */ {{go_right}, {go_up}, {go_up}, {go_up}},
    /* cell_corner_bottom_left */ {{go_down}, {go_left}, {go_down}, {go_down}},
    /* cell_corner_top_left */ {{go_left}, {go_up}, {go_up}, {go_up}},
    /* cell_tee_right */ {{go_right, go_down}, {go_right, go_up}, {go_up, go_down}, {go_up, go_down}},
    /* cell_tee_left */ {{go_left, go_down}, {go_left, go_up}, {go_up, go_down}, {go_up, go_down}},
    /* cell_tee_up */ {{go_left, go_right}, {stop}, {go_up, go_right}, {go_left, go_up}},
    /* cell_tee_down */ {{stop}, {go_left, go_right}, {go_down, go_right}, {go_left, go_down}},
    /* cell_cross */
    {{go_right, go_left, go_down}, {go_right, go_left, go_up}, {go_right, go_up, go_down}, {go_left, go_up, go_down}},
    /* cell_entry */ {{go_down}, {stop}, {stop}, {stop}},
    /* cell_exit */ {{stop}, {stop}, {stop}, {stop}},
    /* cell_empty */ {{stop}, {stop}, {stop}, {stop}},
};
static_assert(std::size(walk_rules) == cell_kind_count, "one row of moves per cell kind");

// Where a move leads: the column and row offsets and the side the next cell is entered from.
struct move_target {
  int dx, dy;
  direction side;
};
constexpr move_target move_targets[] = {
    /* stop */ {0, 0, from_above},
    /* go_down */ {0, 1, from_above},
    /* go_up */ {0, -1, from_below},
    /* go_right */ {1, 0, from_left},
    /* go_left */ {-1, 0, from_right},
};

enum phase { before_transition, after_transition };
constexpr int phase_count = 2;

// Every cell state has a node; so has each exit number, standing for the jump to all
// entries of that number, so that many exits of one number share one list of entries.
constexpr int cell_nodes = grid_size * grid_size * side_count * phase_count;
constexpr int node_count = cell_nodes + table_rows * phase_count;
constexpr int off_grid = -1;  // a move that leaves the grid, where cells read as empty
constexpr int no_more = -2;   // past the last move of a node

struct walk_result {
  walk_status status;
  int count;
  int bad_x, bad_y;
  successor found[successor_slots];
};

// The entries of the chart ordered by number, column by column within one number.
struct cell_ref {
  int8_t x, y;
};
cell_ref entry_cells[grid_size * grid_size];
int entries_start[table_rows + 1];

// Loop finding over the nodes: visit order, lowest visit order reachable, the stack
// of nodes whose loop is still open, and the result shared by each finished loop.
int32_t visit_order[node_count];  // 0: not visited since the chart was last forgotten
int32_t lowest_reach[node_count];
int32_t result_of[node_count];
bool open_on_stack[node_count];
int32_t open_stack[node_count];
int open_count;
int visits;
walk_result results[node_count];
int result_count;

struct walk_frame {
  int32_t node;
  int32_t move;
};
walk_frame frames[node_count];


int cell_node(int x, int y, int side, int phase) {
  return ((x * grid_size + y) * side_count + side) * phase_count + phase;
}

// The node of a cell entered from one side; an exit whose number is usable jumps.
int node_at(int x, int y, int side, int phase) {
  if (x < 0 || x >= grid_size || y < 0 || y >= grid_size) return off_grid;
  cell c = plan_cell(x, y);
  if (c.kind == cell_exit && number_in_range(c.number)) return cell_nodes + c.number * phase_count + phase;
  return cell_node(x, y, side, phase);
}

struct node_place {
  int x, y, side, phase;
};

node_place place_of(int node) {
  return {node / (phase_count * side_count * grid_size), node / (phase_count * side_count) % grid_size,
          node / phase_count % side_count, node % phase_count};
}

// What a cell node does, worked out when it is first visited: the number a
// transition crossed here gives the path, the step recorded here, whether its cell
// holds a number no table has a row for, and where each of its moves leads (a
// node, or off_grid for a move that leaves the grid).
struct node_facts {
  int8_t transition;
  int8_t recorded_step;
  bool bad_number;
  int8_t move_count;
  int32_t target[max_moves];
};
node_facts facts[cell_nodes];

void find_facts(int node) {
  node_facts &f = facts[node];
  node_place p = place_of(node);
  cell c = plan_cell(p.x, p.y);
  bool usable = number_in_range(c.number);
  bool crossing = c.kind == cell_transition && p.phase == before_transition &&
                  (p.side == from_above || p.side == from_below);
  bool recording = is_step_kind(c.kind) && p.side == from_above && p.phase == after_transition;
  // An exit still reached as a cell has a number no entry can hold.
  f.bad_number = (crossing || recording || c.kind == cell_exit) && !usable;
  f.transition = int8_t(crossing && usable ? c.number : -1);
  f.recorded_step = int8_t(recording && usable ? c.number : -1);
  f.move_count = 0;
  // A step ends the walk, and so does a transition once the path has crossed one.
  if (is_step_kind(c.kind) || c.kind == cell_exit || f.bad_number) return;
  if (c.kind == cell_transition && f.transition < 0) return;
  int phase = c.kind == cell_transition ? after_transition : p.phase;
  for (move m : walk_rules[c.kind][p.side]) {
    if (m == stop) return;
    const move_target &to = move_targets[m];
    f.target[f.move_count++] = node_at(p.x + to.dx, p.y + to.dy, to.side, phase);
  }
}

// The node reached by the k-th move of a node, off_grid, or no_more past the last.
// A jump goes to every entry of its number, entered from above.
int next_node(int node, int k) {
  if (node < cell_nodes) return k < facts[node].move_count ? facts[node].target[k] : no_more;
  int number = (node - cell_nodes) / phase_count;
  if (k >= entries_start[number + 1] - entries_start[number]) return no_more;
  cell_ref entry = entry_cells[entries_start[number] + k];
  return cell_node(entry.x, entry.y, from_above, node % phase_count);
}

void fail_at(walk_result &r, walk_status status, int x, int y) {
  if (r.status != walk_complete) return;
  r.status = status;
  r.bad_x = x;
  r.bad_y = y;
}

bool already_found(const walk_result &r, successor s) {
  for (int i = 0; i < r.count; i++)
    if (r.found[i].transition == s.transition && r.found[i].step == s.step) return true;
  return false;
}

void add_successor(walk_result &r, successor s, bool once) {
  if (r.status != walk_complete || (once && already_found(r, s))) return;
  if (r.count == successor_slots) return fail_at(r, walk_too_many, 0, 0);
  r.found[r.count++] = s;
}

// Pairs found after a transition get its number where the path crossed it.
void add_result(walk_result &r, const walk_result &from, int transition, bool once) {
  if (from.status != walk_complete) return fail_at(r, from.status, from.bad_x, from.bad_y);
  for (int i = 0; i < from.count; i++) {
    successor s = from.found[i];
    if (transition >= 0) s.transition = transition;
    add_successor(r, s, once);
  }
}

// What a cell adds by itself: a step reached from above after the transition, or a
// number that no table has a row for.
void add_own(walk_result &r, int node, bool once) {
  if (node >= cell_nodes) return;
  const node_facts &f = facts[node];
  if (f.bad_number) {
    node_place p = place_of(node);
    return fail_at(r, walk_bad_number, p.x, p.y);
  }
  if (f.recorded_step >= 0) add_successor(r, {-1, f.recorded_step}, once);
}

void lower_reach(int node, int32_t reach) { lowest_reach[node] = std::min(lowest_reach[node], reach); }

// The nodes of one loop, or a lone node, get one shared result.
void close_loop(int root) {
  int first = open_count - 1;
  while (open_stack[first] != root) first--;
  bool loops = open_count - first > 1;  // no move leads a node back to itself
  walk_result &r = results[result_count];
  r = {};
  for (int i = first; i < open_count; i++) {
    int node = open_stack[i];
    add_own(r, node, loops);
    int transition = node < cell_nodes ? facts[node].transition : -1;
    for (int k = 0, target; (target = next_node(node, k)) != no_more; k++)
      if (target != off_grid && !open_on_stack[target]) add_result(r, results[result_of[target]], transition, loops);
  }
  for (int i = first; i < open_count; i++) {
    open_on_stack[open_stack[i]] = false;
    result_of[open_stack[i]] = result_count;
  }
  open_count = first;
  result_count++;
}

void open_node(int node, int depth) {
  if (node < cell_nodes) find_facts(node);
  visit_order[node] = lowest_reach[node] = ++visits;
  open_stack[open_count++] = node;
  open_on_stack[node] = true;
  frames[depth] = {node, 0};
}

// Depth-first over the nodes with an explicit stack, finishing each loop as soon as
// everything it leads to is finished (the nodes of a loop are visited consecutively).
void walk_from(int start) {
  if (visit_order[start]) return;
  int depth = 0;
  open_node(start, depth++);
  while (depth > 0) {
    walk_frame &frame = frames[depth - 1];
    int target = next_node(frame.node, frame.move++);
    if (target == no_more) {
      int node = frame.node;
      depth--;
      if (lowest_reach[node] == visit_order[node]) close_loop(node);
      if (depth > 0) lower_reach(frames[depth - 1].node, lowest_reach[node]);
    } else if (target == off_grid) {
      continue;
    } else if (!visit_order[target]) {
      open_node(target, depth++);
    } else if (open_on_stack[target]) {
      lower_reach(frame.node, visit_order[target]);
    }
  }
}

}  // namespace

cell plan_cell(int x, int y) {
  if (x < 0 || x >= grid_size || y < 0 || y >= grid_size) return {cell_empty, 0};
  cell c = plan_xy[x][y];
  if (c.kind < 0 || c.kind >= cell_kind_count) c.kind = cell_empty;
  return c;
}

bool is_step_kind(int kind) { return kind == cell_initial_step || kind == cell_step; }

bool number_in_range(int number) { return number >= 0 && number < table_rows; }

// The number of the entry at (x, y), or -1 when there is none a jump can reach.
static int entry_number(int x, int y) {
  cell c = plan_xy[x][y];
  return c.kind == cell_entry && number_in_range(c.number) ? c.number : -1;
}

void forget_walks() {
  std::memset(visit_order, 0, sizeof visit_order);
  visits = open_count = result_count = 0;
  int count[table_rows] = {};
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++)
      if (entry_number(x, y) >= 0) count[entry_number(x, y)]++;
  for (int n = 0; n < table_rows; n++) entries_start[n + 1] = entries_start[n] + count[n];
  int filled[table_rows] = {};
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) {
      int n = entry_number(x, y);
      if (n >= 0) entry_cells[entries_start[n] + filled[n]++] = {int8_t(x), int8_t(y)};
    }
}

walk_status follow_link(int x, int y, int transition, direction from) {
  int start = node_at(x, y, from, transition < 0 ? before_transition : after_transition);
  if (start == off_grid) return walk_complete;
  walk_from(start);
  const walk_result &r = results[result_of[start]];
  if (r.status != walk_complete) {
    bad_cell_x = r.bad_x;
    bad_cell_y = r.bad_y;
    return r.status;
  }
  for (int i = 0; i < r.count; i++) {
    if (successor_count == successor_slots) return walk_too_many;
    successor s = r.found[i];
    if (transition >= 0) s.transition = transition;
    successor_list[successor_count++] = s;
  }
  return walk_complete;
}

void report_bad_number(int x, int y) {
  char text[80];
  std::snprintf(text, sizeof text, "Numero %d hors 0..63 en case (%d,%d)", plan_xy[x][y].number, x, y);
  show_message_box(box_error, "Processing", text);
}

bool find_successors(int x, int y) {
  successor_count = 0;
  for (successor &slot : successor_list) slot = {-1, -1};
  walk_status status = follow_link(x, y + 1, -1, from_above);
  if (status == walk_bad_number) report_bad_number(bad_cell_x, bad_cell_y);
  if (status == walk_too_many) {
    char text[80];
    std::snprintf(text, sizeof text, "Etape x%d : plus de %d evolutions", plan_xy[x][y].number, successor_slots);
    show_message_box(box_error, "Processing", text);
  }
  return status == walk_complete;
}
