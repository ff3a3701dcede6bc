#include "model/model.h"

#include <cstdio>
#include <cstring>

cell plan_xy[grid_size][grid_size];
table_row step_outputs[table_rows];
table_row transition_conditions[table_rows];
table_row pre_treatments[table_rows];
table_row post_treatments[table_rows];
constant_row constants[table_rows];
config_entry config_entries[config_rows];
char literal_buffer[literal_lines][text_size];
char literal_line_labels[literal_lines][literal_label_size];
char copy_buffer[text_size];

void copy_field(char *field, int field_size, const char *text) {
  std::snprintf(field, field_size, "%s", text);
}

bool append_char(char *field, int field_size, char c) {
  size_t length = std::strlen(field);
  if (length + 1 >= size_t(field_size)) return false;
  field[length] = c;
  field[length + 1] = 0;
  return true;
}

char *table_name(int table, int row) {
  switch (table) {
    case table_step_outputs: return step_outputs[row].name;
    case table_transitions: return transition_conditions[row].name;
    case table_pre: return pre_treatments[row].name;
    case table_post: return post_treatments[row].name;
    default: return constants[row].name;
  }
}

char *table_text(int table, int row) {
  switch (table) {
    case table_step_outputs: return step_outputs[row].text;
    case table_transitions: return transition_conditions[row].text;
    case table_pre: return pre_treatments[row].text;
    case table_post: return post_treatments[row].text;
    default: return constants[row].text;
  }
}

int table_name_size(int table) { return table == table_constants ? constant_name_size : label_size; }

void clear_plan_xy() {
  for (auto &column : plan_xy)
    for (cell &c : column) c = {cell_empty, 0};
}

static void init_numbered_table(table_row *rows, const char *label_format) {
  for (int n = 0; n < table_rows; n++) {
    std::snprintf(rows[n].name, label_size, label_format, n);
    rows[n].text[0] = 0;
  }
}

void init_step_outputs() { init_numbered_table(step_outputs, "Etape %d"); }
void init_transition_conditions() { init_numbered_table(transition_conditions, "Trans %d"); }
void init_pre_treatments() { init_numbered_table(pre_treatments, "Pre %d"); }
void init_post_treatments() { init_numbered_table(post_treatments, "Post %d"); }

void init_constants() {
  for (constant_row &row : constants) {
    copy_field(row.name, constant_name_size, "Not_Init");
    row.text[0] = 0;
  }
}

void init_config_entries() {
  static const char *const names[] = {"Automate", "Fichier.gra", "Fichier.lit", "Fichier.hex"};
  for (config_entry &entry : config_entries) entry.name[0] = entry.value[0] = 0;
  for (int row = 0; row < 4; row++) copy_field(config_entries[row].name, config_name_size, names[row]);
}

void init_literal_buffer() {
  for (int k = 0; k < literal_lines; k++) {
    std::snprintf(literal_buffer[k], text_size, "-- %d --", k);
    std::snprintf(literal_line_labels[k], literal_label_size, "%d", k);
  }
}

void init_project() {
  clear_plan_xy();
  init_step_outputs();
  init_transition_conditions();
  init_pre_treatments();
  init_post_treatments();
  init_constants();
  init_config_entries();
  init_literal_buffer();
  copy_buffer[0] = 0;
}

void keep_literal(literal_copy &copy) {
  std::memcpy(copy.lines, literal_buffer, sizeof copy.lines);
  std::memcpy(copy.labels, literal_line_labels, sizeof copy.labels);
}

void put_back_literal(const literal_copy &copy) {
  std::memcpy(literal_buffer, copy.lines, sizeof copy.lines);
  std::memcpy(literal_line_labels, copy.labels, sizeof copy.labels);
}
