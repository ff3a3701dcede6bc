// The behaviour: every situation the chart can reach from power-up, explored over
// every combination of the inputs it reads, with the firmware's rules as the
// simulator applies them. A running timer may end before any scan.
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "check/behaviour.h"
#include "check/check.h"
#include "compiler/compiler.h"
#include "model/orders.h"
#include "platform/message_box.h"
#include "translate/translate.h"

situation situations[situation_capacity];
int situation_count;
int read_inputs[sim_pin_capacity];
int read_input_count;
int order_line[sim_order_capacity];
int block_step[sim_order_capacity];
int transition_of[sim_order_capacity];
int step_number_at[sim_bit_count];
behaviour_finding behaviour_findings[behaviour_finding_capacity];
int behaviour_finding_count;
int explored_situations;

namespace {

constexpr int findings_per_kind = 16;
// The exploration's share of the 2 s the whole check may take; past the second
// limit, findings are said without their inputs and counter-examples.
constexpr std::chrono::milliseconds exploration_time{1000}, check_time{1700};
constexpr int edge_capacity = 1 << 18;
constexpr int hash_size = 2 * situation_capacity;
static_assert((hash_size & (hash_size - 1)) == 0, "the hash masks its index");

// The bits one scan leaves to the next: read by the program, or a step or timer bit.
int carried_address[sim_bit_count];
int carried_count;
int program_step_address[sim_step_count];  // the steps the program opens or reaches
int program_step_count;
uint64_t steps_in_condition[sim_order_capacity];  // for a ">": the steps its condition reads
int condition_start[sim_order_capacity];          // for a ">": its condition's first order
uint64_t program_steps, ever_active;
sim_machine start_machine;  // power-up with time stopped: no tick ever comes
int hash_table[hash_size];  // situation index + 1; 0 when free
int edges[edge_capacity];
int edge_count;
int per_kind[behaviour_kind_count];
bool from_chart_now;

bool is_step_order(int code) { return order_table[code].operand == operand_opened; }
bool is_condition_order(int code) { return order_table[code].part == part_condition; }

void carry(bool carried[], int address) {
  if (address >= 0 && address < sim_bit_count) carried[address] = true;
}

// The step blocks: the step each ">" leaves, what its condition reads of the steps.
void read_step_blocks(bool carried[]) {
  int current = -1, start = 0;
  uint64_t condition = 0;
  for (int k = 0; k < sim_program_length; k++) {
    int code = sim_program[k].code, operand = sim_program[k].operand, step = step_number_at[operand];
    block_step[k] = -1;
    if (order_reads_operand(code)) carry(carried, operand);
    if (step >= 0 && order_names_step(code)) program_steps |= uint64_t(1) << step;
    if (is_step_order(code)) {
      current = step;
      condition = 0;
      start = k + 1;
    } else if (code == order_transition) {
      block_step[k] = current;
      steps_in_condition[k] = condition;
      condition_start[k] = start;
      condition = 0;
      start = k + 1;
    } else if (is_condition_order(code) && step >= 0) {
      condition |= uint64_t(1) << step;
    }
  }
}

// The read inputs are chosen before each scan; the rest of what the program reads is carried.
void read_program() {
  bool carried[sim_bit_count] = {};
  std::memset(step_number_at, -1, sizeof step_number_at);
  for (int n = 0; n < sim_step_count; n++)
    if (sim_target.step_address[n] >= 0) step_number_at[sim_target.step_address[n]] = n;
  program_steps = 0;
  read_step_blocks(carried);
  for (int n = 0; n < sim_target.timer_count; n++) {
    carry(carried, sim_target.enable_address[n]);
    carry(carried, sim_target.done_address[n]);
  }
  read_input_count = 0;
  for (int p = 0; p < sim_target.pin_count; p++) {
    int address = sim_target.pins[p].address;
    if (!sim_pin_is_input(p) || !carried[address]) continue;
    read_inputs[read_input_count++] = p;
    carried[address] = false;
  }
  if (sim_target.unstable_address >= 0) carried[sim_target.unstable_address] = false;  // cleared as a scan starts
  carried_count = 0;
  for (int a = 0; a < sim_bit_count; a++)
    if (carried[a]) carried_address[carried_count++] = a;
  program_step_count = 0;
  for (int n = 0; n < sim_step_count; n++)
    if (program_steps >> n & 1) program_step_address[program_step_count++] = sim_target.step_address[n];
}

// Each order's literal line: the compiler places the orders pair by pair, constants aside.
void read_order_lines() {
  char first[literal_word_size], second[literal_word_size];
  int line = 0, k = 0;
  next_literal_pair(true, first, second, line);
  while (k < sim_order_capacity && next_literal_pair(false, first, second, line) == 0)
    if (first[0] != '#') order_line[k++] = line;
  for (; k < sim_order_capacity; k++) order_line[k] = -1;
}

void ignore_box(box_kind, const char *, const char *) {}

// The translation writes the step cells column by column and, in each block, a line per
// successor the walk finds: so each ">" is the next successor of its cell.
void read_drawn_transitions() {
  for (int &t : transition_of) t = -1;
  if (!from_chart_now) return;
  message_box_handler presenter = set_message_box_handler(ignore_box);
  int cell = -1, next_successor = 0;
  for (int k = 0; k < sim_program_length; k++) {
    int code = sim_program[k].code, step = step_number_at[sim_program[k].operand];
    if (is_step_order(code)) {
      int x, y;
      do cell++;
      while (cell < grid_size * grid_size && plan_xy[cell / grid_size][cell % grid_size].kind != cell_step &&
             plan_xy[cell / grid_size][cell % grid_size].kind != cell_initial_step);
      x = cell / grid_size, y = cell % grid_size;
      bool found = cell < grid_size * grid_size && plan_xy[x][y].number == step && find_successors(x, y);
      next_successor = found ? 0 : successor_slots;
      if (!found) cell = grid_size * grid_size;  // the blocks no longer follow the grid
    } else if (code == order_transition) {
      while (next_successor < successor_count &&
             (successor_list[next_successor].transition < 0 || successor_list[next_successor].step < 0))
        next_successor++;
      if (next_successor < successor_count) transition_of[k] = successor_list[next_successor++].transition;
    }
  }
  set_message_box_handler(presenter);
}

}  // namespace

// ---- Situations ---------------------------------------------------------------

uint64_t active_steps() {
  uint64_t steps = 0;
  for (int k = 0; k < program_step_count; k++)
    if (sim.bit[program_step_address[k]]) steps |= uint64_t(1) << step_number_at[program_step_address[k]];
  return steps;
}

situation_key machine_key() {
  situation_key key{};
  for (int k = 0; k < carried_count; k++) {
    int a = carried_address[k];
    key.bit[a >> 6] |= uint64_t(sim.bit[a] & 1) << (a & 63);
  }
  key.running = sim.running;
  return key;
}

bool same_key(const situation_key &a, const situation_key &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void enter_situation(const situation_key &key, const scan_choice &choice) {
  sim = start_machine;
  for (int k = 0; k < carried_count; k++) {
    int a = carried_address[k];
    sim.bit[a] = uint8_t(key.bit[a >> 6] >> (a & 63) & 1);
  }
  sim.running = uint8_t(key.running);
  for (int n = 0; n < sim_target.timer_count; n++) {
    if (!(key.running >> n & 1)) continue;
    sim.wait[n] = 1;  // no tick comes: it ends only when chosen to
    if (choice.timers_ending >> n & 1) {
      sim.wait[n] = 0;
      sim.bit[sim_target.done_address[n]] = 1;
    }
  }
  for (int i = 0; i < read_input_count; i++) {
    const sim_pin &pin = sim_target.pins[read_inputs[i]];
    if (choice.inputs >> i & 1) sim.input_level[pin.port] |= uint8_t(1 << pin.bit);
  }
}

namespace {

uint64_t hash_of(const situation_key &key) {
  uint64_t h = key.running * 0x9E3779B97F4A7C15ull;
  for (uint64_t word : key.bit) {
    h ^= word;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 31;
  }
  return h;
}

// The situation with this key, added when new; -1 when the table is full.
int situation_of(const situation_key &key, int parent, const scan_choice &choice) {
  for (uint64_t slot = hash_of(key) & (hash_size - 1);; slot = (slot + 1) & (hash_size - 1)) {
    int index = hash_table[slot] - 1;
    if (index >= 0 && same_key(situations[index].key, key)) return index;
    if (index >= 0) continue;
    if (situation_count == situation_capacity) return -1;
    situations[situation_count] = {key, parent, choice, false, false, false, 0, 0};
    hash_table[slot] = situation_count + 1;
    return situation_count++;
  }
}

// ---- What a pass shows ----------------------------------------------------------

bool fired_in_pass(int order) {
  for (int k = 0; k < sim_fired_count; k++)
    if (sim_fired_orders[k] == order) return true;
  return false;
}

int target_step(int order) { return step_number_at[sim_program[order].operand]; }

// The lines of a synchronised join each read the other steps it waits for.
bool joined(int a, int b) {
  return (steps_in_condition[a] >> block_step[b] & 1) && (steps_in_condition[b] >> block_step[a] & 1);
}

// Step y gets a second token in this pass: activated while active and not left, or
// activated at once from two steps that no join ties together.
bool merge_into(int y, uint64_t steps_before, int &first, int &second) {
  bool left = false;
  first = second = -1;
  for (int k = 0; k < sim_fired_count; k++) {
    int order = sim_fired_orders[k];
    left = left || block_step[order] == y;
    if (target_step(order) == y && first < 0) first = order;
  }
  if (first < 0) return false;
  if ((steps_before >> y & 1) && !left) return true;
  for (int i = 0; i < sim_fired_count; i++)
    for (int j = i + 1; j < sim_fired_count; j++) {
      int a = sim_fired_orders[i], b = sim_fired_orders[j];
      if (target_step(a) != y || target_step(b) != y || block_step[a] == block_step[b] || joined(a, b)) continue;
      first = a;
      second = b;
      return true;
    }
  return false;
}

bool same_finding(const behaviour_finding &a, const behaviour_finding &b) {
  if (a.kind != b.kind) return false;
  if (a.kind == found_unstable) return a.loop == b.loop;
  if (a.kind == found_stuck) return a.steps == b.steps;
  return a.first == b.first && a.second == b.second && a.step == b.step;
}

void note(const behaviour_finding &f) {
  for (int k = 0; k < behaviour_finding_count; k++)
    if (same_finding(behaviour_findings[k], f)) return;
  if (per_kind[f.kind] == findings_per_kind || behaviour_finding_count == behaviour_finding_capacity) return;
  per_kind[f.kind]++;
  behaviour_findings[behaviour_finding_count++] = f;
}

// Two lines of one transition: an AND divergence writes a line per step it activates,
// with the same condition (a literal program has no numbers to tell them apart).
bool one_transition(int a, int b) {
  if (transition_of[a] >= 0 || transition_of[b] >= 0) return transition_of[a] == transition_of[b];
  int length = a - condition_start[a];
  if (length != b - condition_start[b]) return false;
  for (int k = 0; k < length; k++) {
    const sim_order &x = sim_program[condition_start[a] + k], &y = sim_program[condition_start[b] + k];
    if (x.code != y.code || x.operand != y.operand) return false;
  }
  return true;
}

void note_pass(int from, const scan_choice &choice, uint64_t steps_before) {
  for (int i = 0; i < sim_fired_count; i++) {
    int a = sim_fired_orders[i];
    for (int j = i + 1; j < sim_fired_count; j++)
      if (block_step[sim_fired_orders[j]] == block_step[a] && !one_transition(a, sim_fired_orders[j]))
        note({found_together, from, choice, a, sim_fired_orders[j], -1, 0, 0});
    int y = target_step(a), first, second;
    if (merge_into(y, steps_before, first, second) && first == a) note({found_merge, from, choice, first, second, y, 0, 0});
  }
}

// One scan from the machine as entered, pass by pass; whether a transition fired.
bool explore_scan(int from, const scan_choice &choice, bool &capped) {
  bool fired = false;
  uint64_t loop = 0;
  for (int pass = 1;; pass++) {
    uint64_t before = active_steps();
    bool ended = sim_pass();
    ever_active |= active_steps();
    if (sim_fired_count > 0) {
      fired = true;
      note_pass(from, choice, before);
      for (int k = 0; k < sim_fired_count && pass > 8; k++) loop |= uint64_t(1) << block_step[sim_fired_orders[k]];
    }
    if (!ended) continue;
    capped = sim_fired_count > 0;
    if (capped) note({found_unstable, from, choice, -1, -1, -1, active_steps(), loop});
    return fired;
  }
}

void add_edge(situation &from, int to) {
  for (int e = from.first_edge; e < from.first_edge + from.edge_count; e++)
    if (edges[e] == to) return;
  if (edge_count == edge_capacity) {
    from.fires = true;  // too many to follow: taken as able to fire, so nothing is called stuck
    return;
  }
  edges[edge_count++] = to;
  from.edge_count++;
}

using exploration_clock = std::chrono::steady_clock;
exploration_clock::time_point deadline, check_deadline;
bool out_of_time() { return exploration_clock::now() > check_deadline; }
int scans_run;

// Every choice from situation s; false when the room or the time ran out.
bool expand(int s) {
  situation &from = situations[s];
  uint64_t done = 0;
  for (int n = 0; n < sim_target.timer_count; n++) {
    int a = sim_target.done_address[n];
    done |= (from.key.bit[a >> 6] >> (a & 63) & 1) << n;
  }
  uint64_t may_end = from.key.running & ~done;
  uint64_t combinations = uint64_t(1) << read_input_count;
  from.first_edge = edge_count;
  uint64_t ending = 0;
  do {
    for (uint64_t inputs = 0; inputs < combinations; inputs++) {
      if (++scans_run % 64 == 0 && exploration_clock::now() > deadline) return false;
      scan_choice choice{inputs, ending};
      enter_situation(from.key, choice);
      bool capped = false;
      bool fired = explore_scan(s, choice, capped);
      int next = situation_of(machine_key(), s, choice);
      if (next < 0) return false;
      situations[next].stable = situations[next].stable || !capped;
      if (fired) from.fires = true;
      else if (next != s) add_edge(from, next);
    }
    ending = (ending - may_end) & may_end;  // the next subset of the timers that may end
  } while (ending != 0);
  from.expanded = true;
  return true;
}

// ---- Stuck situations ------------------------------------------------------------

int into_start[situation_capacity + 1], into_list[edge_capacity], waiting[situation_capacity];
bool may_fire[situation_capacity];

// A stable situation from which no scan, whatever its inputs and timers, ever fires,
// nor leads through scans that fire nothing to one that does.
void find_stuck_situations() {
  std::memset(into_start, 0, sizeof(int) * size_t(situation_count + 1));
  for (int e = 0; e < edge_count; e++) into_start[edges[e] + 1]++;
  for (int s = 0; s < situation_count; s++) into_start[s + 1] += into_start[s];
  static int filled[situation_capacity];
  std::memcpy(filled, into_start, sizeof(int) * size_t(situation_count));
  for (int s = 0; s < situation_count; s++)
    for (int e = situations[s].first_edge; e < situations[s].first_edge + situations[s].edge_count; e++)
      into_list[filled[edges[e]]++] = s;
  int count = 0;
  for (int s = 0; s < situation_count; s++) {
    may_fire[s] = situations[s].fires || !situations[s].expanded;
    if (may_fire[s]) waiting[count++] = s;
  }
  while (count > 0) {
    int t = waiting[--count];
    for (int k = into_start[t]; k < into_start[t + 1]; k++)
      if (!may_fire[into_list[k]]) {
        may_fire[into_list[k]] = true;
        waiting[count++] = into_list[k];
      }
  }
  for (int s = 0; s < situation_count; s++) {
    if (!situations[s].stable || may_fire[s]) continue;
    enter_situation(situations[s].key, {0, 0});
    note({found_stuck, s, {0, 0}, -1, -1, -1, active_steps(), 0});
  }
}

// Explores from power-up; false when it stopped before the end.
bool explore() {
  situation_count = 0;
  edge_count = 0;
  behaviour_finding_count = 0;
  std::memset(per_kind, 0, sizeof per_kind);
  std::memset(hash_table, 0, sizeof hash_table);
  sim_power_up();
  sim.next_tick = INT64_MAX;
  start_machine = sim;
  ever_active = active_steps();
  situation_of(machine_key(), -1, {0, 0});
  std::memset(start_machine.bit, 0, sizeof start_machine.bit);
  deadline = exploration_clock::now() + exploration_time;
  check_deadline = exploration_clock::now() + check_time;
  scans_run = 0;
  for (explored_situations = 0; explored_situations < situation_count; explored_situations++)
    if (!expand(explored_situations)) return false;
  return true;
}

// ---- Findings said ---------------------------------------------------------------

char name_buffer[4][check_text_size];

const char *step_called(int n, char *text) {
  if (from_chart_now) step_name(n, text, check_text_size);
  else std::snprintf(text, check_text_size, "x%d", n);
  return text;
}

const char *transition_called(int order, char *text) {
  if (transition_of[order] >= 0) transition_name(transition_of[order], text, check_text_size);
  else std::snprintf(text, check_text_size, "the transition on line %d", order_line[order]);
  return text;
}

// "step 1 (column 2, row 3) and step 4 (column 4, row 3)", or "no step".
const char *steps_called(uint64_t steps, char *text) {
  int used = 0, count = 0;
  text[0] = 0;
  for (int n = 0; n < sim_step_count && used < check_text_size; n++) {
    if (!(steps >> n & 1)) continue;
    char one[check_text_size];
    bool last = (steps >> n) == 1;
    const char *joint = count == 0 ? "" : last ? " and " : ", ";
    used += std::snprintf(text + used, size_t(check_text_size - used), "%s%s", joint, step_called(n, one));
    count++;
  }
  if (count == 0) std::snprintf(text, check_text_size, "no step");
  return text;
}

int step_line(int n) {
  for (int k = 0; k < sim_program_length; k++)
    if (is_step_order(sim_program[k].code) && step_number_at[sim_program[k].operand] == n) return order_line[k];
  return -1;
}

check_place step_place(int n) {
  int x, y;
  if (from_chart_now && find_step_cell(n, x, y)) return cell_place(x, y);
  return step_line(n) >= 0 ? literal_place(step_line(n)) : nowhere;
}

check_place transition_place(int order) {
  int x, y;
  if (transition_of[order] >= 0 && find_transition_cell(transition_of[order], x, y)) return cell_place(x, y);
  return literal_place(order_line[order]);
}

check_place steps_place(uint64_t steps) {
  for (int n = 0; n < sim_step_count; n++)
    if (steps >> n & 1) return step_place(n);
  return nowhere;
}

// The inputs and timer ends the finding needs: those whose change alone makes it go.
const char *needed_inputs(const behaviour_finding &f, char *text) {
  if (out_of_time()) {
    std::snprintf(text, check_text_size, "for some inputs");
    return text;
  }
  int used = std::snprintf(text, check_text_size, "when ");
  int named = 0;
  for (int i = 0; i < read_input_count; i++) {
    scan_choice other{f.choice.inputs ^ (uint64_t(1) << i), f.choice.timers_ending};
    if (scan_shows(f, other) || used >= check_text_size) continue;
    used += std::snprintf(text + used, size_t(check_text_size - used), "%s%s=%d", named++ ? " and " : "",
                          sim_target.pins[read_inputs[i]].name, int(f.choice.inputs >> i & 1));
  }
  for (int n = 0; n < sim_target.timer_count; n++) {
    if (!(situations[f.from].key.running >> n & 1)) continue;
    scan_choice other{f.choice.inputs, f.choice.timers_ending ^ (uint64_t(1) << n)};
    if (scan_shows(f, other) || used >= check_text_size) continue;
    used += std::snprintf(text + used, size_t(check_text_size - used), "%sT%d=%d", named++ ? " and " : "", n,
                          int(f.choice.timers_ending >> n & 1));
  }
  if (named == 0) std::snprintf(text, check_text_size, "whatever the inputs");
  return text;
}

struct finding_words {
  check_severity severity;
  check_place place;
  char text[check_text_size];
};

// Texts longer than a finding holds are cut.
void put(finding_words &w, const char *format, ...) __attribute__((format(printf, 2, 3)));
void put(finding_words &w, const char *format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(w.text, sizeof w.text, format, arguments);
  va_end(arguments);
}

finding_words words_of(const behaviour_finding &f) {
  finding_words w{check_warning, nowhere, {}};
  char *a = name_buffer[0], *b = name_buffer[1], *c = name_buffer[2], *d = name_buffer[3];
  switch (f.kind) {
    case found_unstable:
      w.severity = check_error;
      w.place = steps_place(f.loop);
      put(w, "UNSTABLE: the evolution through %s does not settle within 16 passes, %s", steps_called(f.loop, a),
          needed_inputs(f, b));
      break;
    case found_stuck:
      w.place = steps_place(f.steps);
      put(w, "the chart stops for good at %s: no transition can ever fire from there, "
                    "whatever the inputs", steps_called(f.steps, a));
      break;
    case found_together:
      w.place = transition_place(f.first);
      put(w, "%s and %s leave %s and can fire together, both true %s",
                    transition_called(f.first, a), transition_called(f.second, b), step_called(block_step[f.first], c),
                    needed_inputs(f, d));
      break;
    case found_merge:
      w.place = step_place(f.step);
      if (f.second < 0)
        put(w, "%s activates %s while it is already active: the two activations merge",
                      transition_called(f.first, a), step_called(f.step, b));
      else
        put(w, "%s and %s activate %s at once: the two activations merge",
                      transition_called(f.first, a), transition_called(f.second, b), step_called(f.step, c));
      break;
  }
  return w;
}

}  // namespace

bool pass_shows(const behaviour_finding &f, uint64_t steps_before) {
  int first, second;
  switch (f.kind) {
    case found_unstable: return sim.passes == 0 && sim_fired_count > 0;  // the scan ended on a pass that fired
    case found_together: return fired_in_pass(f.first) && fired_in_pass(f.second);
    case found_merge: return merge_into(f.step, steps_before, first, second);
    case found_stuck: break;
  }
  return false;
}

bool scan_shows(const behaviour_finding &f, const scan_choice &choice) {
  enter_situation(situations[f.from].key, choice);
  bool shown = false;
  for (bool ended = false; !ended;) {
    uint64_t before = active_steps();
    ended = sim_pass();
    shown = shown || pass_shows(f, before);
  }
  return shown;
}

namespace {

// Whether the way to the finding has a timer end at a chosen moment.
bool needs_timer_end(const behaviour_finding &f) {
  if (f.kind != found_stuck && f.choice.timers_ending) return true;
  for (int s = f.from; s > 0; s = situations[s].parent)
    if (situations[s].reached_by.timers_ending) return true;
  return false;
}

char scenario_text[check_scenario_size];

// The finding, with its counter-example when real durations lead there.
void say(const behaviour_finding &f) {
  finding_words w = words_of(f);
  bool replayed = !out_of_time() && write_counter_example(f, w.text, scenario_text, sizeof scenario_text);
  size_t length = std::strlen(w.text);
  if (!replayed && needs_timer_end(f) && !out_of_time())
    std::snprintf(w.text + length, sizeof w.text - length,
                  " (only if a timer ends at a moment its real duration may not give)");
  int k = add_finding(w.severity, w.place, "%s", w.text);
  char *text = replayed ? add_scenario(k) : nullptr;
  if (text) std::memcpy(text, scenario_text, sizeof scenario_text);
}

void say_never_active() {
  char name[check_text_size];
  for (int n = 0; n < sim_step_count; n++)
    if ((program_steps >> n & 1) && !(ever_active >> n & 1))
      add_finding(check_warning, step_place(n), "%s is never active", step_called(n, name));
}

sim_machine kept_machine;
scenario_step kept_scenario[scenario_capacity];
int kept_scenario_length;

}  // namespace

void check_behaviour(bool from_chart) {
  from_chart_now = from_chart;
  char error[200];
  if (!sim_bind_target(error, sizeof error)) {
    add_finding(check_warning, nowhere, "the behaviour is not checked: %s", error);
    return;
  }
  // The simulation page's machine and scenario are left as they were.
  kept_machine = sim;
  kept_scenario_length = scenario_length;
  std::memcpy(kept_scenario, scenario, sizeof(scenario_step) * size_t(scenario_length));
  sim_power_up();
  if (!sim.stopped) {
    read_program();
    read_order_lines();
    read_drawn_transitions();
    bool complete = explore();
    find_stuck_situations();
    const behaviour_kind order[] = {found_unstable, found_stuck, found_together, found_merge};
    for (behaviour_kind kind : order) {
      if (kind == found_stuck && complete) say_never_active();
      for (int k = 0; k < behaviour_finding_count; k++)
        if (behaviour_findings[k].kind == kind) say(behaviour_findings[k]);
    }
    if (!complete) add_finding(check_warning, nowhere, "exploration stopped after %d situations", situation_count);
  }
  sim = kept_machine;
  scenario_length = kept_scenario_length;
  std::memcpy(scenario, kept_scenario, sizeof(scenario_step) * size_t(scenario_length));
}
