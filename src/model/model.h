// The project held in memory: the chart grid, the five text tables, the
// configuration table and the literal program. All of it lives in fixed-size
// global tables for the whole run; nothing is allocated.
#pragma once
#include <cstdint>

constexpr int grid_size = 40;          // plan_xy is 40 columns by 40 rows
constexpr int table_rows = 64;         // rows of every text table, and the range of step numbers
constexpr int text_size = 40;          // every text field: 39 characters and the NUL
constexpr int label_size = 10;         // names of the four numbered tables
constexpr int constant_name_size = 15; // names of the constants table
constexpr int config_name_size = 12;
constexpr int config_rows = 64;
constexpr int literal_lines = 250;
constexpr int literal_label_size = 4;

enum cell_kind : int32_t {
  cell_transition = 0,
  cell_initial_step = 1,
  cell_step = 2,
  cell_vertical = 3,
  cell_horizontal = 4,
  cell_corner_bottom_right = 5,
  cell_corner_top_right = 6,
  cell_corner_bottom_left = 7,
  cell_corner_top_left = 8,
  cell_tee_right = 9,
  cell_tee_left = 10,
  cell_tee_up = 11,
  cell_tee_down = 12,
  cell_cross = 13,
  cell_entry = 14,
  cell_exit = 15,
  cell_empty = 16,
};
constexpr int cell_kind_count = 17;

struct cell {
  int32_t kind;
  int32_t number;
};

// The grid is stored column-major: plan_xy[x][y], x the column, y the row.
extern cell plan_xy[grid_size][grid_size];

template <int NameBytes>
struct table_row_of {
  char name[NameBytes];
  char text[text_size];
};
using table_row = table_row_of<label_size>;
using constant_row = table_row_of<constant_name_size>;

extern table_row step_outputs[table_rows];
extern table_row transition_conditions[table_rows];
extern table_row pre_treatments[table_rows];
extern table_row post_treatments[table_rows];
extern constant_row constants[table_rows];

// The five text tables in page order (step outputs first), seen through one shape
// so that one page, one saver and one loader serve them all.
enum text_table_id { table_step_outputs, table_transitions, table_pre, table_post, table_constants };
constexpr int text_table_count = 5;
char *table_name(int table, int row);
char *table_text(int table, int row);
int table_name_size(int table);

struct config_entry {
  char name[config_name_size];
  char value[text_size];
};
extern config_entry config_entries[config_rows];
// The first four rows of config_entries are app_config.
enum app_config_row { config_automate = 0, config_graphic = 1, config_literal = 2, config_hex = 3 };
inline const char *app_config(int row) { return config_entries[row].value; }

extern char literal_buffer[literal_lines][text_size];
extern char literal_line_labels[literal_lines][literal_label_size];
extern char copy_buffer[text_size];

// The literal program and its labels as they stood, for work that translates the
// chart in memory and must leave the program the user sees as it was.
struct literal_copy {
  char lines[literal_lines][text_size];
  char labels[literal_lines][literal_label_size];
};
void keep_literal(literal_copy &copy);
void put_back_literal(const literal_copy &copy);

// Start-up contents, one operation per table, run in this order at window creation.
void clear_plan_xy();
void init_step_outputs();
void init_transition_conditions();
void init_pre_treatments();
void init_post_treatments();
void init_constants();
void init_config_entries();
void init_literal_buffer();
// All of the above in order, and the copy buffer emptied: a fresh project.
void init_project();

// Copies text into a field of the given size, cut to what the field holds.
void copy_field(char *field, int field_size, const char *text);
// Appends one character if the field has room; returns whether it did.
bool append_char(char *field, int field_size, char c);
