// The findings page: the chart's check, one line a finding, errors first. A click
// on a line shows where the finding lies; the "Sim" button of a behavioural
// finding replays its counter-example on the simulation page.
#include <cstdio>
#include <cstring>

#include "check/check.h"
#include "compiler/compiler.h"
#include "editors/page_state.h"
#include "editors/pages.h"
#include "editors/simulation.h"
#include "kit/kit.h"

int first_finding;

constexpr int list_left = 10, list_top = 45, list_right = 690, line_height = 20, list_lines = 21;
constexpr int button_left = 640, button_width = 45;
constexpr int line_characters = (button_left - list_left - 4) / 10;  // the font's cell is 10 wide

static int line_top(int k) { return list_top + line_height * (k + 1); }

static void draw_list_background() {
  select_object(window_dc, page_pen);
  select_object(window_dc, text_brush);
  draw_rectangle(window_dc, list_left, list_top, list_right, line_top(list_lines));
}

// The finding's line, cut with "..." where the button's room begins.
static void draw_finding(int k) {
  char line[check_text_size + 16];
  finding_line(first_finding + k, line, sizeof line);
  if (int(std::strlen(line)) > line_characters) std::strcpy(line + line_characters - 3, "...");
  const check_finding &f = check_findings[first_finding + k];
  draw_page_text(list_left + 4, line_top(k) + 2, line, colour_white);
  if (f.scenario >= 0) draw_page_button(button_left, line_top(k) + 1, button_width, line_height - 2, "Sim");
}

void check_page_paint() {
  draw_list_background();
  char summary[80];
  int errors = count_findings(check_error), warnings = count_findings(check_warning);
  std::snprintf(summary, sizeof summary, "%d error%s, %d warning%s", errors, errors == 1 ? "" : "s", warnings,
                warnings == 1 ? "" : "s");
  draw_page_text(list_left + 4, list_top + 2, summary, colour_white);
  for (int k = 0; k < list_lines - 1 && first_finding + k < check_finding_count; k++) draw_finding(k);
}

bool check_page_open() {
  first_finding = 0;
  check_chart();
  return true;
}

// The page of a text table shows the row at the top of its screen.
static void show_table_row(int table, int row) {
  table_views[table].first_row = row < last_first_row(table_rows) ? row : last_first_row(table_rows);
  requested_page = first_table_page + table;
}

static void show_place(const check_place &place) {
  switch (place.kind) {
    case place_cell:
      marked_x = place.x, marked_y = place.y;
      scroll_x = place.x < grid_size - view_columns ? place.x : grid_size - view_columns;
      scroll_y = place.y < grid_size - view_rows ? place.y : grid_size - view_rows;
      requested_page = grid_page;
      break;
    case place_table_row: show_table_row(place.table, place.row); break;
    case place_literal_line:
      literal_view.text.first_row = place.row < last_first_row(literal_lines) ? place.row : last_first_row(literal_lines);
      requested_page = literal_page;
      break;
    case place_nowhere: break;
  }
}

void check_page_click() {
  if (click_x < list_left || click_x >= list_right || click_y < line_top(0)) return;
  int k = (click_y - line_top(0)) / line_height;
  if (k >= list_lines - 1 || first_finding + k >= check_finding_count) return;
  const check_finding &f = check_findings[first_finding + k];
  if (f.scenario >= 0 && click_x >= button_left) {
    if (sim_page_replay(check_scenarios[f.scenario])) requested_page = simulation_page;
    return;
  }
  show_place(f.place);
}

void check_page_key_down(int key) {
  int last = check_finding_count - (list_lines - 1);
  if (key == key_page_down && first_finding < last) first_finding++;
  else if (key == key_page_up && first_finding > 0) first_finding--;
  else if (key == key_home) first_finding = 0;
  else return;
  check_page_paint();
}
