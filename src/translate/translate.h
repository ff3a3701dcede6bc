// Turns the drawn chart and its text tables into the literal program.
#pragma once
#include <cstdint>
#include <string_view>

#include "model/model.h"
#include "model/orders.h"

// Rebuilds literal_buffer from plan_xy and the text tables. Reports a failure in
// a box titled "Processing" and returns false; true when the program is complete.
// Rows written before a failure stay in the buffer.
bool graphic_to_literal();

// The side through which the walk enters a cell.
enum direction { from_above, from_below, from_left, from_right };
constexpr int side_count = 4;

// The steps that follow one step: (transition crossed, step reached) in the order
// the walk finds them. Only pairs with a transition are kept; a step reached with
// no transition crossed would give no line.
struct successor {
  int32_t transition;
  int32_t step;
};
constexpr int successor_slots = 10;
extern successor successor_list[successor_slots];
extern int successor_count;

enum walk_status { walk_complete, walk_too_many, walk_bad_number };

// Forgets what earlier walks learned about the chart; run it whenever plan_xy changed.
void forget_walks();
// Fills successor_list for the step at (x, y). Reports a failure in a box titled
// "Processing" and returns false.
bool find_successors(int x, int y);
// Walks on from cell (x, y) entered through `from` with `transition` crossed so far
// (-1 for none, else 0..63) and appends what it reaches to successor_list.
// On walk_bad_number, bad_cell_x and bad_cell_y name the cell concerned.
walk_status follow_link(int x, int y, int transition, direction from);
extern int bad_cell_x, bad_cell_y;
// Reports, in a box titled "Processing", a numbered cell whose number no table has a row for.
void report_bad_number(int x, int y);
bool number_in_range(int number);

// The cell at (x, y); empty outside the plan or for a kind no cell has.
cell plan_cell(int x, int y);
bool is_step_kind(int kind);  // a step or an initial step: one numbering

// True when the text holds nothing but blanks (character 32); the empty text is blank.
bool is_blank(std::string_view text);
// A text field read up to its NUL, or to its end should the NUL be missing.
std::string_view field_text(const char *field, int size);

// A stored action, NAME:=1 or NAME:=0: the order that sets or resets NAME when its step
// becomes active, and the name's length; false for a continuous output word.
bool stored_action(std::string_view word, order_code &order, int &name_length);

// The words of step_outputs, row by row, through two independent cursors.
enum output_cursor { outer_words, inner_words };
struct output_word {
  char text[text_size + 1];
  int length;
  int row;
};
// With reset, puts the cursor back at row 0 and returns false. Otherwise gives the
// next word and its row, or returns true when no word is left.
bool next_output_word(int cursor, bool reset, output_word *word);
