// The literal language as the compiler reads it: words taken two at a time
// across the rows of literal_buffer, "@" comments, and the order words.
#include "compiler/compiler.h"

#include <climits>
#include <cstring>

#include "model/model.h"
#include "model/orders.h"

// The reading position of next_literal_pair, kept between calls.
static int pair_row, pair_column;

// A word being read: not begun, begun, or complete.
enum word_state { word_not_begun, word_begun, word_complete };

// Feeds one character to a word; returns the word's new state.
static word_state feed_word(char *word, word_state state, char c, bool separator) {
  if (!separator) {
    append_char(word, literal_word_size, c);
    return word_begun;
  }
  return state == word_begun ? word_complete : state;
}

int next_literal_pair(bool reset, char *first, char *second, int &line) {
  if (reset) {
    pair_row = pair_column = 0;
    return 0;
  }
  word_state first_state = word_not_begun, second_state = word_not_begun;
  first[0] = second[0] = 0;
  while (pair_row < literal_lines) {
    const char *row = literal_buffer[pair_row];
    // A row always ends with its NUL; the last byte of the field is read as one anyway.
    char c = pair_column < text_size - 1 ? row[pair_column] : 0;
    int row_of_character = pair_row;
    pair_column++;
    if (c == '@' || c == 0) {
      pair_row++;
      pair_column = 0;
      if (c == '@') continue;  // a comment: the word goes on with the next row
    }
    bool separator = c == ' ' || c == 0;
    if (first_state != word_complete) {
      first_state = feed_word(first, first_state, c, separator);
      continue;
    }
    second_state = feed_word(second, second_state, c, separator);
    if (second_state == word_complete) {
      line = row_of_character;
      return 0;
    }
  }
  // A lone word left at the end of the text is dropped.
  return 1;
}

// Only the table's exact words are orders; mixed forms such as "Ln" are not.
bool find_order(const char *word, int &code) {
  for (const order_entry &order : order_table)
    if (order.word && (std::strcmp(word, order.word) == 0 || std::strcmp(word, order.capital_word) == 0)) {
      code = order.code;
      return true;
    }
  return false;
}

int read_decimal_text(const char *text, const char **end) {
  const char *p = text;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') p++;
  const char *digits = p;
  long long value = 0;
  // Out-of-range numbers stop growing at the limits of the 32-bit field.
  for (; *p >= '0' && *p <= '9'; p++)
    if (value <= INT_MAX) value = value * 10 + (*p - '0');
  if (end) *end = p == digits ? text : p;
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return int(value);
}
