// Every word the student typed, against the names of the loaded target, said where it
// was typed: "transition 4", "step 1" (its Etape row), "Pre row 2", "Cst row 0", or
// "literal line 12" for a literal program.
//
// Errors are what the compiler refuses or what cannot work on the chip (an unknown
// name, a word where an order belongs, a constant value of two words, an output on an
// input pin); warnings are what compiles but may not do what was meant (a name set by
// the outputs and again by a treatment, a constant value read only in part).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "check/check.h"
#include "compiler/compiler.h"
#include "model/orders.h"
#include "translate/translate.h"

namespace {

// Where a word was typed: the finding's place and how the student names it.
struct source {
  check_place place;
  char name[32];
};

source row_source(int table, int row) {
  source s{table_place(table, row), {}};
  if (table == table_step_outputs) std::snprintf(s.name, sizeof s.name, "step %d", row);
  else if (table == table_transitions) std::snprintf(s.name, sizeof s.name, "transition %d", row);
  else table_row_name(table, row, s.name, sizeof s.name);
  return s;
}

source line_source(int line) {
  source s{literal_place(line), {}};
  std::snprintf(s.name, sizeof s.name, "literal line %d", line);
  return s;
}

bool same_but_case(const char *a, const char *b) {
  for (; *a && *b; a++, b++)
    if (std::tolower((unsigned char)*a) != std::tolower((unsigned char)*b)) return false;
  return *a == *b;
}

// The target as the student chose it: the Automate value without its folder and ".def".
char target[text_size];

void find_target_name() {
  const char *value = app_config(config_automate);
  for (const char *c = value; *c; c++)
    if (*c == '/' || *c == '\\') value = c + 1;
  copy_field(target, sizeof target, value);
  size_t length = std::strlen(target);
  if (length > 4 && same_but_case(target + length - 4, ".def")) target[length - 4] = 0;
}

// ---- Suggestions: the closest known name, only when it is close ----

int edit_distance(const char *a, const char *b) {
  int row[literal_word_size + 1];
  int nb = int(strnlen(b, literal_word_size));
  for (int j = 0; j <= nb; j++) row[j] = j;
  for (int i = 1; a[i - 1] && i <= literal_word_size; i++) {
    int diagonal = row[0];
    row[0] = i;
    for (int j = 1; j <= nb; j++) {
      int above = row[j];
      row[j] = std::min(std::min(row[j] + 1, row[j - 1] + 1), diagonal + (a[i - 1] != b[j - 1]));
      diagonal = above;
    }
  }
  return row[nb];
}

// A name differing only in case is always close; otherwise one edit for short names, two for long ones.
struct suggestion {
  const char *name = nullptr;
  int distance = 1 << 20;
};

void consider(suggestion &best, const char *word, const char *name) {
  int d = same_but_case(word, name) ? 0 : edit_distance(word, name);
  int close = std::strlen(word) >= 5 ? 2 : 1;
  if (d <= close && d < best.distance) best = {name, d};
}

const char *closest_bit(const char *word) {
  suggestion best;
  for (const zb_entry &e : automaton_definition.zb_table) {
    if (e.zb_address == -1) break;
    consider(best, word, e.zb_name);
  }
  return best.name;
}

const char *closest_constant(const char *word) {
  suggestion best;
  for (const cst_entry &e : automaton_definition.cst_table) {
    if (e.cst_address == -1) break;
    consider(best, word, e.cst_name);
  }
  return best.name;
}

// An order typed in mixed case ("Ln") is the order in small or capital letters.
const char *closest_order(const char *word) {
  static char folded[literal_word_size];
  int code;
  for (bool upper : {false, true}) {
    int n = 0;
    for (; word[n] && n < literal_word_size - 1; n++) {
      unsigned char c = (unsigned char)word[n];
      folded[n] = char(upper ? std::toupper(c) : std::tolower(c));
    }
    folded[n] = 0;
    if (find_order(folded, code)) return folded;
  }
  return nullptr;
}

void add_unknown(const source &at, const char *word, const char *what, const char *suggested) {
  if (suggested)
    add_finding(check_error, at.place, "%s: \"%s\" is not %s (did you mean %s?)", at.name, word, what, suggested);
  else add_finding(check_error, at.place, "%s: \"%s\" is not %s", at.name, word, what);
}

// ---- Pins: an output written to a pin the directions make an input ----

constexpr int port_count = 5;  // RA..RE
int typed_tris[port_count];    // a TRIS value the student typed, else -1

void forget_typed_tris() {
  for (int &value : typed_tris) value = -1;
}

void note_constant(const char *name, const char *value) {
  if (std::strlen(name) == 5 && std::strncmp(name, "TRIS", 4) == 0 && name[4] >= 'A' && name[4] < 'A' + port_count)
    typed_tris[name[4] - 'A'] = read_decimal_text(value) & 0xFF;
}

// True for RA0..RE7 on a port whose TRIS constant (typed, else the definition's image) sets the pin's bit.
bool is_input_pin(const char *name, char &port) {
  int address, kind;
  if (std::strlen(name) != 3 || name[0] != 'R' || name[1] < 'A' || name[1] >= 'A' + port_count) return false;
  if (name[2] < '0' || name[2] > '7' || !find_zb(name, address)) return false;
  port = name[1];
  char tris[6] = {'T', 'R', 'I', 'S', port, 0};
  if (!find_cst(tris, address, kind) || kind != cst_eb) return false;
  int value = typed_tris[port - 'A'];
  if (value < 0) {
    int32_t byte = address >= 0 && address < eeprom_bytes ? automaton_definition.eeprom_image[address] : -1;
    value = byte == -1 ? 0xFF : byte & 0xFF;
  }
  return (value >> (name[2] - '0') & 1) != 0;
}

// ---- Words and pairs ----

// A step time, "2s/x3": its step a name of the target's steps, its time one a timer holds.
// False when the word is no step time.
bool check_step_time(const source &at, const char *word, bool assigned) {
  int step, ticks;
  const char *slash = std::strchr(word, '/');
  char what[64];
  switch (read_step_time(word, step, ticks)) {
    case step_time_none: return false;
    case step_time_ok:
      if (assigned) add_finding(check_error, at.place, "%s: the step time \"%s\" cannot be set", at.name, word);
      break;
    case step_time_malformed:
      add_finding(check_error, at.place, "%s: \"%s\" is not a step time: a number, s or ms, \"/\" and a step, as 1.5s/x3",
                  at.name, word);
      break;
    case step_time_unknown_step:
      std::snprintf(what, sizeof what, "a name of %s", target);
      add_unknown(at, slash + 1, what, closest_bit(slash + 1));
      break;
    case step_time_not_step:
      add_finding(check_error, at.place, "%s: \"%s\" is no step: \"%s\" needs a step", at.name, slash + 1, word);
      break;
    case step_time_too_long:
      add_finding(check_error, at.place, "%s: \"%s\" is longer than a timer counts (655.35s)", at.name, word);
      break;
  }
  return true;
}

// An edge, /P or \P: P must be an input pin, and the edge is only read. False for any other word.
bool check_edge(const source &at, const char *word, bool assigned) {
  if ((word[0] != '/' && word[0] != '\\') || !word[1]) return false;
  int address, tris;
  char port;
  if (!find_pin(word + 1, address, tris))
    add_finding(check_error, at.place, "%s: \"%s\" is not the edge of a pin of %s", at.name, word, target);
  else if (!is_input_pin(word + 1, port))
    add_finding(check_error, at.place, "%s: \"%s\" is the edge of an output of %s (see TRIS%c)", at.name, word,
                target, port);
  else if (assigned)
    add_finding(check_error, at.place, "%s: \"%s\" is an edge of an input: it cannot be set", at.name, word);
  return true;
}

// An operand; an assigned one must be an output.
void check_operand(const source &at, const char *word, bool assigned) {
  int address;
  char port;
  if (check_edge(at, word, assigned)) return;
  char what[64];
  std::snprintf(what, sizeof what, "a name of %s", target);
  if (!find_zb(word, address) && check_step_time(at, word, assigned)) return;
  if (!find_zb(word, address)) add_unknown(at, word, what, closest_bit(word));
  else if (assigned && is_input_pin(word, port))
    add_finding(check_error, at.place, "%s: \"%s\" is an input pin of %s (see TRIS%c): it cannot be set", at.name,
                word, target, port);
}

// Whether an order (-1: an unknown word) writes its operand.
bool sets_operand(int code) { return code >= 0 && order_table[code].operand == operand_written; }

// An order word; false when a name stands in its place, so the words after it are out of step.
bool check_order(const source &at, const char *word, int &code) {
  int address;
  code = -1;
  if (find_order(word, code)) return true;
  if (find_zb(word, address)) {
    add_finding(check_error, at.place, "%s: \"%s\" stands where an order belongs: a word is missing before it",
                at.name, word);
    return false;
  }
  add_unknown(at, word, "an order", closest_order(word));
  return true;
}

void check_constant(const source &at, const char *name, const char *value) {
  int address, kind;
  char what[64];
  std::snprintf(what, sizeof what, "a constant of %s", target);
  if (!find_cst(name, address, kind)) add_unknown(at, name, what, closest_constant(name));
  const char *end;
  read_decimal_text(value, &end);
  if (*end || end == value)
    add_finding(check_warning, at.place, "%s: the value \"%s\" of %s is read as %d", at.name, value, name,
                read_decimal_text(value));
}

// The words of one typed text, cut at blanks.
constexpr int max_words = text_size / 2 + 1;
struct words {
  char text[max_words][text_size];
  int count;
};

void split(const char *field, words &w) {
  std::string_view text = field_text(field, text_size);
  w.count = 0;
  for (size_t at = 0; (at = text.find_first_not_of(' ', at)) != std::string_view::npos;) {
    size_t end = std::min(text.find(' ', at), text.size());
    std::snprintf(w.text[w.count++], text_size, "%.*s", int(end - at), text.data() + at);
    at = end;
  }
}

// ---- The chart: the text tables as the translation copies them ----

// The words every step's outputs set, for the treatments that set them again.
words step_words[table_rows];

// A condition or an output row runs on in its line: "@" would hide the rest of it.
bool has_comment_mark(const source &at, const char *field) {
  if (!std::memchr(field, '@', strnlen(field, text_size))) return false;
  add_finding(check_error, at.place, "%s: \"@\" would make the rest of its line a comment", at.name);
  return true;
}

// Which words of step_words were stored actions (NAME:=1, NAME:=0), cut to their name.
bool stored_word[table_rows][max_words];

// A name stored in one row and continuous in another: "=" would write it in every stable pass.
void check_stored_apart() {
  for (int s = 0; s < table_rows; s++)
    for (int k = 0; k < step_words[s].count; k++) {
      if (!stored_word[s][k]) continue;
      int continuous = -1;
      for (int c = 0; c < table_rows && continuous < 0; c++)
        for (int j = 0; j < step_words[c].count; j++)
          if (!stored_word[c][j] && std::strcmp(step_words[c].text[j], step_words[s].text[k]) == 0) continuous = c;
      if (continuous >= 0)
        add_finding(check_error, row_source(table_step_outputs, s).place,
                    "%s: \"%s\" is stored here and continuous in the outputs of step %d",
                    row_source(table_step_outputs, s).name, step_words[s].text[k], continuous);
    }
}

void check_outputs() {
  for (int s = 0; s < table_rows; s++) {
    source at = row_source(table_step_outputs, s);
    step_words[s].count = 0;
    if (has_comment_mark(at, step_outputs[s].text)) continue;
    split(step_outputs[s].text, step_words[s]);
    for (int k = 0; k < step_words[s].count; k++) {
      order_code order;
      int name_length;
      stored_word[s][k] = stored_action(step_words[s].text[k], order, name_length);
      if (stored_word[s][k]) step_words[s].text[k][name_length] = '\0';
      check_operand(at, step_words[s].text[k], true);
    }
  }
  check_stored_apart();
}

// Pairs of order and name; the translation adds "> x" and the step after them.
void check_conditions() {
  words w;
  int x, y;
  for (int t = 0; t < table_rows; t++) {
    source at = row_source(table_transitions, t);
    if (!find_transition_cell(t, x, y) || has_comment_mark(at, transition_conditions[t].text)) continue;
    split(transition_conditions[t].text, w);
    int code;
    for (int k = 0; k < w.count; k += 2) {
      if (!check_order(at, w.text[k], code)) break;
      if (k + 1 == w.count) add_finding(check_error, at.place, "%s: the order \"%s\" has no name after it", at.name, w.text[k]);
      else check_operand(at, w.text[k + 1], sets_operand(code));
    }
  }
}

// The first step whose outputs set the name, or -1.
int step_setting(const char *name) {
  for (int s = 0; s < table_rows; s++)
    for (int k = 0; k < step_words[s].count; k++)
      if (std::strcmp(step_words[s].text[k], name) == 0) return s;
  return -1;
}

// The rows of one treatment table read as one text, each word reported at its own row;
// "@" ends a row.
void check_treatments(int table, const table_row *rows) {
  static char stream[table_rows * max_words][text_size];
  static int stream_row[table_rows * max_words];
  int count = 0;
  words w;
  for (int n = 0; n < table_rows; n++) {
    char text[text_size];
    copy_field(text, sizeof text, rows[n].text);
    if (char *comment = std::strchr(text, '@')) *comment = 0;
    split(text, w);
    for (int k = 0; k < w.count; k++) {
      std::memcpy(stream[count], w.text[k], text_size);
      stream_row[count++] = n;
    }
  }
  int code;
  for (int k = 0; k < count; k += 2) {
    source order_at = row_source(table, stream_row[k]);
    if (!check_order(order_at, stream[k], code)) return;
    if (k + 1 == count) {
      add_finding(check_error, order_at.place, "%s: the order \"%s\" has no name after it", order_at.name, stream[k]);
      return;
    }
    source at = row_source(table, stream_row[k + 1]);
    check_operand(at, stream[k + 1], sets_operand(code));
    int step = sets_operand(code) ? step_setting(stream[k + 1]) : -1;
    if (step >= 0)
      add_finding(check_warning, at.place, "%s: \"%s\" is set here and by the outputs of step %d", at.name,
                  stream[k + 1], step);
  }
}

// Rows with both a name and a value become "#name value".
void check_constants() {
  words w;
  for (int n = 0; n < table_rows; n++) {
    std::string_view name = field_text(constants[n].name, constant_name_size);
    if (is_blank(name) || is_blank(field_text(constants[n].text, text_size))) continue;
    source at = row_source(table_constants, n);
    char name_text[constant_name_size + 1];
    std::snprintf(name_text, sizeof name_text, "%.*s", int(name.size()), name.data());
    split(constants[n].text, w);
    if (w.count > 1)
      add_finding(check_error, at.place, "%s: the value of %s is more than one word", at.name, name_text);
    else check_constant(at, name_text, w.text[0]);
  }
}

void note_typed_constants() {
  words w;
  for (const constant_row &row : constants) {
    char name[constant_name_size + 1];
    std::snprintf(name, sizeof name, "%.*s", int(strnlen(row.name, constant_name_size)), row.name);
    split(row.text, w);
    if (w.count > 0) note_constant(name, w.text[0]);
  }
}

void check_chart_names() {
  note_typed_constants();
  check_outputs();
  check_conditions();
  check_treatments(table_pre, pre_treatments);
  check_treatments(table_post, post_treatments);
  check_constants();
}

// ---- A literal program: its pairs as the compiler reads them ----

void note_literal_constants() {
  char first[literal_word_size], second[literal_word_size];
  int line = 0;
  next_literal_pair(true, first, second, line);
  while (next_literal_pair(false, first, second, line) == 0)
    if (first[0] == '#') note_constant(first + 1, second);
}

void check_literal_names() {
  note_literal_constants();
  static char assigned_name[literal_lines * 2][literal_word_size];
  static int assigned_line[literal_lines * 2];
  int assigned = 0, code, line = 0;
  char first[literal_word_size], second[literal_word_size];
  next_literal_pair(true, first, second, line);
  while (next_literal_pair(false, first, second, line) == 0) {
    source at = line_source(line);
    if (first[0] == '#') {
      check_constant(at, first + 1, second);
      continue;
    }
    if (!check_order(at, first, code)) return;
    check_operand(at, second, sets_operand(code));
    if (code != order_assign) continue;  // S and R set a stored bit in as many places as they like
    for (int k = 0; k < assigned; k++)
      if (std::strcmp(assigned_name[k], second) == 0 && assigned_line[k] != line) {
        add_finding(check_warning, at.place, "%s: \"%s\" is set here and on literal line %d", at.name, second,
                    assigned_line[k]);
        break;
      }
    if (assigned < literal_lines * 2) {
      std::memcpy(assigned_name[assigned], second, literal_word_size);
      assigned_line[assigned++] = line;
    }
  }
}

}  // namespace

void check_names(bool from_chart) {
  if (!automaton_definition_loaded) return;
  find_target_name();
  forget_typed_tris();
  if (from_chart) check_chart_names();
  else check_literal_names();
}
