// The literal program written from the chart: treatments, one block per step,
// one line per output word, treatments again and the constant values.
#include "translate/translate.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "model/orders.h"
#include "platform/message_box.h"

namespace {

constexpr int row_length = text_size - 1;

int next_row;  // the buffer row the next line goes to

bool emit_row(std::string_view text) {
  if (next_row >= literal_lines) {
    char message[80];
    std::snprintf(message, sizeof message, "Programme trop long : la ligne %d depasse les %d lignes", next_row,
                  literal_lines);
    show_message_box(box_error, "Processing", message);
    return false;
  }
  std::snprintf(literal_buffer[next_row++], text_size, "%.*s", int(text.size()), text.data());
  return true;
}

// A line too long for one row goes on in the next rows, cut at blanks, so that the
// program reads the same words in the same order.
bool emit_line(std::string_view text) {
  while (text.size() > size_t(row_length)) {
    size_t cut = text.rfind(' ', row_length);
    if (cut == std::string_view::npos) {
      char message[80];
      std::snprintf(message, sizeof message, "Ligne %d trop longue et sans blanc pour la couper", next_row);
      show_message_box(box_error, "Processing", message);
      return false;
    }
    if (!emit_row(text.substr(0, cut))) return false;
    text.remove_prefix(cut + 1);
  }
  return emit_row(text);
}

// Room for the longest output line: every word of every step row naming its step.
constexpr int line_capacity = 8192;
char line[line_capacity];
int line_length;

void add_to_line_v(const char *format, va_list arguments) {
  int room = line_capacity - line_length;
  int written = std::vsnprintf(line + line_length, room, format, arguments);
  if (written > 0) line_length += written < room ? written : room - 1;
}

void add_to_line(const char *format, ...) {
  va_list arguments;
  va_start(arguments, format);
  add_to_line_v(format, arguments);
  va_end(arguments);
}

bool emit_formatted(const char *format, ...) {
  va_list arguments;
  va_start(arguments, format);
  line_length = 0;
  add_to_line_v(format, arguments);
  va_end(arguments);
  return emit_line({line, size_t(line_length)});
}

bool open_section(const char *title) { return emit_row("") && emit_row(title); }

bool emit_treatments(const table_row *rows) {
  for (int n = 0; n < table_rows; n++) {
    std::string_view text = field_text(rows[n].text, text_size);
    if (!is_blank(text) && !emit_line(text)) return false;
  }
  return true;
}

// Per transition number, the step numbers whose evolution lines go through it: two
// or more make a join, and each of its lines waits for the other steps too.
uint64_t steps_into[table_rows];

bool is_step_cell(int kind) { return kind == cell_initial_step || kind == cell_step; }

// A walk that fails is left to emit_step, which reports it where the rows stop.
void find_joins() {
  std::memset(steps_into, 0, sizeof steps_into);
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) {
      const cell &c = plan_xy[x][y];
      if (!is_step_cell(c.kind) || !number_in_range(c.number)) continue;
      successor_count = 0;
      for (successor &slot : successor_list) slot = {-1, -1};
      if (follow_link(x, y + 1, -1, from_above) != walk_complete) return;
      for (const successor &s : successor_list)
        if (s.transition != -1 && s.step != -1) steps_into[s.transition] |= uint64_t(1) << c.number;
    }
}

// The condition, " a x%d" for each other step of a join, then the step reached.
bool emit_evolution(int from_step, const successor &s) {
  std::string_view condition = field_text(transition_conditions[s.transition].text, text_size);
  line_length = 0;
  add_to_line("%.*s", int(condition.size()), condition.data());
  uint64_t joined = steps_into[s.transition];
  if (joined & (joined - 1))
    for (int step = 0; step < table_rows; step++)
      if (step != from_step && (joined >> step & 1)) add_to_line(" %s x%d", order_word(order_and), step);
  add_to_line(" %s x%d", order_word(order_transition), s.step);
  return emit_line({line, size_t(line_length)});
}

bool starts_with_load(std::string_view condition) {
  size_t start = condition.find_first_not_of(' ');
  if (start == std::string_view::npos) return false;
  std::string_view first = condition.substr(start, condition.find(' ', start) - start);
  for (order_code load : {order_load, order_load_not})
    if (first == order_table[load].word || first == order_table[load].capital_word) return true;
  return false;
}

// The stored actions of the step a transition reaches: its condition (and the join's other
// steps) and the step it leaves, then S or R of each name. They run in the pass of the
// activation, also when the step is only passed through. A join's line is written once, in
// the block of its lowest step. The line starts with a load, since the lines before it may
// leave the result at 0.
bool emit_stored_actions(int from_step, const successor &s) {
  uint64_t joined = steps_into[s.transition];
  if ((joined & (joined - 1)) && (joined & (~joined + 1)) != uint64_t(1) << from_step) return true;
  std::string_view condition = field_text(transition_conditions[s.transition].text, text_size);
  line_length = 0;
  bool loads = starts_with_load(condition);
  if (!loads) add_to_line("%s x%d%s", order_word(order_load), from_step, is_blank(condition) ? "" : " ");
  if (!is_blank(condition)) add_to_line("%.*s", int(condition.size()), condition.data());
  if (joined & (joined - 1))
    for (int step = 0; step < table_rows; step++)
      if (step != from_step && (joined >> step & 1)) add_to_line(" %s x%d", order_word(order_and), step);
  if (!is_blank(condition)) add_to_line(" %s x%d", order_word(order_and), from_step);
  int conditions_length = line_length;
  std::string_view outputs = field_text(step_outputs[s.step].text, text_size);
  for (size_t start = outputs.find_first_not_of(' '); start != std::string_view::npos;
       start = outputs.find_first_not_of(' ', start)) {
    std::string_view word = outputs.substr(start, outputs.find(' ', start) - start);
    start += word.size();
    order_code order;
    int name_length;
    if (stored_action(word, order, name_length)) add_to_line(" %s %.*s", order_table[order].capital_word, name_length, word.data());
  }
  return line_length == conditions_length || emit_line({line, size_t(line_length)});
}

bool emit_step(int x, int y) {
  const cell &c = plan_xy[x][y];
  if (!number_in_range(c.number)) {
    report_bad_number(x, y);
    return false;
  }
  order_code opening = c.kind == cell_initial_step ? order_initial_step : order_step;
  if (!emit_formatted("%s  x%d", order_word(opening), c.number)) return false;
  if (!find_successors(x, y)) return false;
  for (const successor &s : successor_list)
    if (s.transition != -1 && s.step != -1 && !emit_evolution(c.number, s)) return false;
  for (const successor &s : successor_list)
    if (s.transition != -1 && s.step != -1 && !emit_stored_actions(c.number, s)) return false;
  return true;
}

// Steps column by column, top to bottom within a column.
bool emit_steps() {
  forget_walks();
  find_joins();
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++)
      if (is_step_cell(plan_xy[x][y].kind) && !emit_step(x, y)) return false;
  return true;
}

// One line per distinct word, at its first appearance, naming every step whose row holds it.
bool emit_outputs() {
  output_word word, other;
  next_output_word(outer_words, true, nullptr);
  order_code order;
  int name_length;
  while (!next_output_word(outer_words, false, &word)) {
    if (stored_action({word.text, size_t(word.length)}, order, name_length)) continue;
    bool found = false;
    next_output_word(inner_words, true, nullptr);
    while (!next_output_word(inner_words, false, &other)) {
      if (other.length != word.length || std::memcmp(other.text, word.text, word.length) != 0) continue;
      if (other.row < word.row) break;  // already written for a lower step
      if (other.row == word.row) {
        line_length = 0;
        found = true;
      }
      add_to_line("%s x%d ", order_word(other.row == word.row ? order_load : order_or), other.row);
    }
    if (!found) continue;
    add_to_line("%s %s", order_word(order_assign), word.text);
    if (!emit_line({line, size_t(line_length)})) return false;
  }
  return true;
}

// A name both stored and continuous would be written by "=" too, in every stable pass.
bool stored_names_apart() {
  output_word stored, other;
  order_code order;
  int name_length;
  next_output_word(outer_words, true, nullptr);
  while (!next_output_word(outer_words, false, &stored)) {
    if (!stored_action({stored.text, size_t(stored.length)}, order, name_length)) continue;
    next_output_word(inner_words, true, nullptr);
    while (!next_output_word(inner_words, false, &other))
      if (other.length == name_length && std::memcmp(other.text, stored.text, name_length) == 0) {
        char text[120];
        std::snprintf(text, sizeof text, "%s : action memorisee a l'etape x%d et continue a l'etape x%d", other.text,
                      stored.row, other.row);
        show_message_box(box_error, "Processing", text);
        return false;
      }
  }
  return true;
}

bool emit_constants() {
  for (const constant_row &row : constants) {
    std::string_view name = field_text(row.name, constant_name_size);
    std::string_view value = field_text(row.text, text_size);
    if (is_blank(name) || is_blank(value)) continue;
    if (!emit_formatted("#%.*s %.*s", int(name.size()), name.data(), int(value.size()), value.data())) return false;
  }
  return true;
}

struct word_cursor {
  int row;
  size_t position;
};
word_cursor word_cursors[2];

}  // namespace

bool stored_action(std::string_view word, order_code &order, int &name_length) {
  if (word.size() < 4 || word.substr(word.size() - 3, 2) != ":=" || (word.back() != '0' && word.back() != '1'))
    return false;
  order = word.back() == '1' ? order_set : order_reset;
  name_length = int(word.size()) - 3;
  return true;
}

std::string_view field_text(const char *field, int size) { return {field, strnlen(field, size)}; }

bool is_blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

bool next_output_word(int cursor, bool reset, output_word *word) {
  word_cursor &at = word_cursors[cursor];
  if (reset) {
    at = {0, 0};
    return false;
  }
  for (; at.row < table_rows; at.row++, at.position = 0) {
    std::string_view text = field_text(step_outputs[at.row].text, text_size);
    size_t start = text.find_first_not_of(' ', at.position);
    if (start == std::string_view::npos) continue;
    size_t end = std::min(text.find(' ', start), text.size());
    word->length = int(end - start);
    std::memcpy(word->text, text.data() + start, word->length);
    word->text[word->length] = 0;
    word->row = at.row;
    at.position = end;
    return false;
  }
  return true;
}

bool graphic_to_literal() {
  show_message_box(box_notice, "Processing", "Converting Graphic --> Literal ?");
  std::memset(literal_buffer, 0, sizeof literal_buffer);
  next_row = 0;
  return stored_names_apart() && emit_row("@  PRETRAITEMENT") && emit_treatments(pre_treatments) &&
         open_section("@  TRAITEMENT") && emit_steps() &&
         open_section("@  POSTTRAITEMENT1") && emit_outputs() &&
         open_section("@  POSTTRAITEMENT2") && emit_treatments(post_treatments) &&
         open_section("@  CONSTANTES") && emit_constants();
}
