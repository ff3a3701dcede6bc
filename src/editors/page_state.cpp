#include "editors/page_state.h"
#include "editors/simulation.h"

void reset_page_state() {
  scroll_x = scroll_y = 0;
  current_kind = cell_initial_step;
  transition_counter = step_counter = entry_counter = 0;
  number_entry = 0;
  selected_x = selected_y = 0;
  marked_x = marked_y = -1;
  first_finding = 0;
  for (text_view &view : table_views) view = {};
  config_view = {};
  literal_view = {};
  copy_buffer[0] = 0;  // the clipboard the text pages share
  reset_simulation_views();
}
