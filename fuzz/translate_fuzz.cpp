// The translation on any chart and any texts: it must stay inside the grid, the
// tables and the buffer, and either finish silently or report exactly one failure.
#include "fuzz/fuzz_support.h"
#include "translate/translate.h"

static int boxes_shown;
static void count_message_box(box_kind, const char *, const char *) { boxes_shown++; }

// Random bytes draw on nearly every cell; a bounded chart keeps each walk short.
constexpr int chart_cells = 160;

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  return 0;
}

// Two bytes a cell, column by column: the kind (a few beyond the last one) and the
// number (some outside the tables); then 39-byte texts, table after table.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  init_project();
  size_t at = 0;
  for (int x = 0; x < grid_size && at + 1 < size; x++)
    for (int y = 0; y < grid_size && at + 1 < size; y++, at += 2)
      plan_xy[x][y] = {data[at] % (cell_kind_count + 3) - 1, data[at + 1] % 70 - 2};
  keep_first_cells(chart_cells);
  for (int field = 0; field < text_table_count * table_rows && at < size; field++, at += text_size - 1) {
    char text[text_size] = {};
    std::memcpy(text, data + at, std::min(size - at, size_t(text_size - 1)));
    copy_field(table_text(field / table_rows, field % table_rows), text_size, text);
  }
  boxes_shown = 0;
  set_message_box_handler(count_message_box);
  bool complete = graphic_to_literal();
  set_message_box_handler(ignore_message_box);
  FUZZ_CHECK(boxes_shown == (complete ? 1 : 2));
  check_project_fields();
  return 0;
}
