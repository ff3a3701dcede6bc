// The chart check: what is wrong with a chart or a literal program, said where the
// student sees it, errors first; each behavioural finding comes with a scenario
// that drives the inputs from power-up into it, replayable by talvenc --simulate.
#pragma once
#include "model/model.h"

enum check_severity { check_error, check_warning };

// Where a finding lies: a grid cell, a row of a text table, a literal line.
enum check_place_kind { place_nowhere, place_cell, place_table_row, place_literal_line };
struct check_place {
  check_place_kind kind;
  int x, y;       // place_cell: the plan_xy cell
  int table, row; // place_table_row: text_table_id and row; place_literal_line: row is the line
};
constexpr check_place nowhere{place_nowhere, -1, -1, -1, -1};
check_place cell_place(int x, int y);
check_place table_place(int table, int row);
check_place literal_place(int line);

constexpr int check_text_size = 240;
struct check_finding {
  check_severity severity;
  check_place place;
  char text[check_text_size];  // what follows "error: " or "warning: "
  int scenario;                // its counter-example in check_scenarios, or -1
};
constexpr int check_finding_capacity = 512;
extern check_finding check_findings[check_finding_capacity];
extern int check_finding_count;

// The counter-examples: scenario texts in the --simulate format.
constexpr int check_scenario_capacity = 64;
constexpr int check_scenario_size = 16384;
extern char check_scenarios[check_scenario_capacity][check_scenario_size];
extern int check_scenario_count;

// Forgets every finding and scenario.
void check_reset();
// Adds a finding, its text made as printf makes it; its index, or -1 once the table is full.
int add_finding(check_severity severity, check_place place, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
// Gives finding k a new counter-example; the scenario's text to fill, or nullptr when full.
char *add_scenario(int k);

// How the user names a step or transition drawn on the grid: "step 3 (column 2,
// row 5)", or "step 3" when it is not drawn; columns and rows count from 0 as the
// plan does.
void step_name(int n, char *text, int size);
void transition_name(int n, char *text, int size);
// The first cell of the step or transition numbered n, false when none is drawn.
bool find_step_cell(int n, int &x, int &y);
bool find_transition_cell(int n, int &x, int &y);
// "Etape row 3", "Tran row 4", "Pre row 2", "Post row 0", "Cst row 1".
void table_row_name(int table, int row, char *text, int size);

// The three checks; each appends its findings. The names and the behaviour need a
// loaded definition; the behaviour needs the program compiled into its image.
void check_drawing();
void check_names(bool from_chart);
void check_behaviour(bool from_chart);

// The whole check of the chart (drawing, names, then the behaviour when the chart
// translates and compiles) or of literal_buffer (names and behaviour); the findings
// end sorted, errors first. The literal buffer is left as it was.
void check_chart();
void check_literal_program();
// The drawing and, with a target loaded, the names: what G->L and G->H look at first.
void check_drawing_and_names();
int count_findings(check_severity severity);
// "error: ..." or "warning: ..." for finding k.
void finding_line(int k, char *line, int size);
// Writes check-1.txt, check-2.txt ... into folder, one per counter-example; false when one failed.
bool write_check_scenarios(const char *folder);
