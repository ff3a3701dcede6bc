// The view state of every editor page: global, kept for the whole run and
// across page changes, never saved.
#pragma once
#include "kit/kit.h"
#include "kit/page_kit.h"
#include "model/model.h"

// Grid page.
extern int scroll_x, scroll_y;  // first plan_xy column and row shown
extern int current_kind;        // the kind a click on the grid places
extern int transition_counter, step_counter, entry_counter;
extern int number_entry;
extern int selected_x, selected_y;
// The cell a finding points at, framed on the grid page until the next edit there; -1: none.
extern int marked_x, marked_y;
// The findings page's first line shown.
extern int first_finding;

// One view per table page, in page order (edit_mode 1 to 5).
extern text_view table_views[text_table_count];
extern text_view config_view;

struct literal_view_state {
  text_view text;  // first_row is the first line shown, current_row the typing line
  int marked, mark_first;
  int range_marked, mark_last;
  int remembered_first, remembered_count;
};
extern literal_view_state literal_view;

