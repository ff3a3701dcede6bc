// The literal pair reader on any program text: every pair is two non-empty words
// without blanks, lines never go backwards, and the end is reached and stays.
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "compiler/compiler.h"
#include "model/orders.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  return 0;
}

// The input's lines become the rows of the buffer, cut at 39 characters.
static void fill_literal_buffer(const uint8_t *data, size_t size) {
  for (char *line : literal_buffer) line[0] = 0;
  int row = 0, column = 0;
  for (size_t k = 0; k < size && row < literal_lines; k++) {
    if (data[k] == '\n') {
      row++;
      column = 0;
    } else if (column < text_size - 1) {
      literal_buffer[row][column++] = char(data[k]);
      literal_buffer[row][column] = 0;
    }
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  fill_literal_buffer(data, size);
  char first[literal_word_size], second[literal_word_size];
  int line = -1, previous_line = 0, pairs = 0;
  FUZZ_CHECK(next_literal_pair(true, first, second, line) == 0);
  while (next_literal_pair(false, first, second, line) == 0) {
    FUZZ_CHECK(field_is_terminated(first, literal_word_size) && field_is_terminated(second, literal_word_size));
    FUZZ_CHECK(first[0] && second[0]);
    FUZZ_CHECK(!std::strchr(first, ' ') && !std::strchr(second, ' '));
    FUZZ_CHECK(line >= previous_line && line < literal_lines);
    int code = -1;
    if (find_order(first, code)) FUZZ_CHECK(code >= 0 && code < order_count && code != order_end);
    previous_line = line;
    FUZZ_CHECK(++pairs <= literal_lines * text_size / 2);
  }
  FUZZ_CHECK(next_literal_pair(false, first, second, line) == 1);
  return 0;
}
