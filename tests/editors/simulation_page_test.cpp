// The simulation and chronogram pages, driven as a user drives them: the examples
// loaded and opened under "Go", inputs clicked or typed, the timer's ticks sent,
// the pixels of steps, transitions, lamps and traces read back, the saved run replayed.
#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "window_driver.h"

namespace {

namespace fs = std::filesystem;

constexpr rgb active_step{255, 192, 0};
constexpr rgb true_transition{0, 255, 0};
constexpr rgb trace_red{192, 0, 0};
constexpr rgb input_on{0, 255, 0}, input_off{0, 96, 0};

std::filesystem::path source_dir() {
  const char *dir = std::getenv("TALVEN_SOURCE_DIR");
  return dir ? dir : TALVEN_SOURCE_FALLBACK;
}

void open_simulation() { click_at(80 + 40 * 3, 20), click_at(320 + 40 * 3, 20); }
void open_chronogram() { click_at(80 + 40 * 3, 20), click_at(320 + 40 * 4, 20); }
void tick(int count) {
  for (int k = 0; k < count; k++) send_message(message_simulation_tick);
}
// The run controls down the left edge, by row: run, scan, pass, reset, speed, push.
void press_control(int row) { click(30, 50 + 22 * row); }

class SimulationPage : public WindowTest {
 protected:
  // A project folder holding the bundled definition and, when named, an example's chart.
  void start_in(const std::string &example, const char *definition = "pic16f628a.def") {
    std::filesystem::copy_file(source_dir() / "targets" / definition, folder / "pic16f628a.def");
    std::string name = example.empty() ? "chart" : example;
    if (!example.empty())
      std::filesystem::copy_file(source_dir() / "examples" / example / (example + ".gra"), folder / (name + ".gra"));
    write_file(folder / "config.txt", "Fichier_de_configuration_de_talven_(non_obligatoire)\r\n"
                                      "Automate            pic16f628a.def\r\n"
                                      "Fichier.gra         " + name + ".gra\r\n"
                                      "Fichier.lit         " + name + ".lit\r\n"
                                      "Fichier.hex         " + name + ".hex\r\n");
    reset_page_state();
    start();
    send_message(message_other);  // the definition load armed by the first paint
    if (!example.empty()) choose(0, 0);  // "LD G"
    forget_shown_boxes();
  }
  // The screen cell of the numbered step or transition: the drawn cells' bounding box
  // at the largest zoom 1 to 3 that fits the 600 by 400 region at (60, 40), centred;
  // zoom 0 when even 1 does not fit and the plan is shown from its start, as on the grid page.
  struct place {
    int x, y, zoom, column, row;
  };
  static place cell_of(bool step, int number) {
    int x0 = 40, y0 = 40, x1 = -1, y1 = -1;
    for (int x = 0; x < 40; x++)
      for (int y = 0; y < 40; y++)
        if (plan_xy[x][y].kind != cell_empty)
          x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
    int zoom = 3;
    while (zoom > 0 && ((x1 - x0 + 1) * 40 * zoom > 600 || (y1 - y0 + 1) * 20 * zoom > 400)) zoom--;
    int left = zoom ? 60 + (600 - (x1 - x0 + 1) * 40 * zoom) / 2 : 60, top = zoom ? 40 + (400 - (y1 - y0 + 1) * 20 * zoom) / 2 : 40;
    if (!zoom) x0 = y0 = 0;
    int z = std::max(zoom, 1);
    for (int x = 0; x < 40; x++)
      for (int y = 0; y < 40; y++) {
        const cell &c = plan_xy[x][y];
        bool is_step = c.kind == cell_step || c.kind == cell_initial_step;
        if (c.number == number && (step ? is_step : c.kind == cell_transition))
          return {left + 40 * z * (x - x0), top + 20 * z * (y - y0), zoom, x, y};
      }
    ADD_FAILURE() << "no such cell";
    return {};
  }
  static bool step_filled(int n) {
    place p = cell_of(true, n);
    int z = std::max(p.zoom, 1);
    return pixel(p.x + 6 * z, p.y + 6 * z) == active_step;
  }
  static bool transition_marked(int n) {
    place p = cell_of(false, n);
    int z = std::max(p.zoom, 1);
    return pixel(p.x + 5 * z, p.y + 8 * z) == true_transition;
  }
  // Whether the cell's words are drawn right of it, alone up to the next drawn cell
  // of its row or the region's outline.
  static bool text_beside(bool step, int number, const char *text) {
    place p = cell_of(step, number);
    int z = std::max(p.zoom, 1), first_column = p.zoom ? p.column - (p.x - 60) / (40 * z) : 0;
    int next = p.column + 1;
    while (next < 40 && plan_xy[next][p.row].kind == cell_empty) next++;
    int right = std::min(659, next < 40 ? p.x + 40 * z * (next - p.column) : 659);
    if (!p.zoom && next >= first_column + 15) right = 659;
    return shows_text(p.x + 40 * z + 2, p.y + (20 * z - 15) / 2, text, right);
  }
  // Initial step 0 over transition 0 over step 1 in column 2, and a lone link in
  // column link_column of the first row, then their texts typed into their tables.
  static void draw_step_transition_step() {
    choose(1, 0);
    pick_kind(0, 0), click_grid_cell(2, 1);
    pick_kind(0, 1), click_grid_cell(2, 2);
    pick_kind(1, 0), click_grid_cell(2, 3);
  }
  void start_with_chart(int link_column, const char *outputs, const char *condition) {
    start_in("");
    draw_step_transition_step();
    pick_kind(1, 1);
    if (link_column < 15) click_grid_cell(link_column, 1);
    else press(key_end), click_grid_cell(14, 19), press(key_home);  // plan cell (39, 39)
    choose(1, 1), click_text_line(0), type(std::string(outputs) + "\r");
    choose(1, 2), click_text_line(0), type(std::string(condition) + "\r");
  }
};

class ExampleSimulation : public SimulationPage, public ::testing::WithParamInterface<const char *> {};

TEST_P(ExampleSimulation, OpensWithOnlyTheInitialStepFilled) {
  start_in(GetParam());
  std::string literal_before = literal_buffer[3];
  open_simulation();
  EXPECT_TRUE(shown().empty());
  EXPECT_EQ(edit_mode, 8);
  EXPECT_TRUE(step_filled(0));
  EXPECT_FALSE(step_filled(1));
  // The chart was translated and compiled in memory only: nothing to save, nothing to undo.
  EXPECT_EQ(literal_buffer[3], literal_before);
  EXPECT_STREQ(window_title, program_title);
  EXPECT_FALSE(std::filesystem::exists(folder / (std::string(GetParam()) + ".hex")));
  EXPECT_FALSE(std::filesystem::exists(folder / (std::string(GetParam()) + ".lit")));
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleSimulation, ::testing::Values("blinker", "choice", "traffic_light", "two_hand_press"));

std::vector<rgb> region_pixels() {
  std::vector<rgb> pixels;
  for (int y = 40; y < 440; y++)
    for (int x = 60; x < 660; x++) pixels.push_back(pixel(x, y));
  return pixels;
}

// The zoom from the initial step's pixels: its outline, then its fill, each zoom pixels wide.
TEST_F(SimulationPage, TheChartIsDrawnAtTheLargestZoomThatFitsCentred) {
  struct chart_case {
    const char *example;
    int link_column, zoom;  // zoom 0: scrolled as on the grid page
  };
  const chart_case cases[] = {{"blinker", 0, 3}, {"choice", 0, 2}, {"", 4, 3}, {"", 14, 1}, {"", 39, 0}};
  for (const chart_case &c : cases) {
    SCOPED_TRACE(std::string(c.example) + " " + std::to_string(c.link_column));
    if (c.example[0]) start_in(c.example);
    else start_with_chart(c.link_column, "RB0", "l RA0");
    open_simulation();
    ASSERT_EQ(edit_mode, 8) << (shown().empty() ? "" : shown()[0].text);
    place p = cell_of(true, 0);
    EXPECT_EQ(p.zoom, c.zoom);
    int z = std::max(c.zoom, 1), y = p.y + 6 * z;
    EXPECT_EQ(pixel(p.x + 3 * z - 1, y), white);
    EXPECT_EQ(pixel(p.x + 3 * z, y), active_step);
    EXPECT_EQ(pixel(p.x + 4 * z - 1, y), active_step);
    EXPECT_EQ(pixel(p.x + 4 * z, y), white);
    // Only a chart too big for the region keeps the scroll buttons and the arrow keys.
    EXPECT_EQ(pixel(20, 290) == button_green, c.zoom == 0);
    std::vector<rgb> before = region_pixels();
    press(key_right);
    EXPECT_EQ(region_pixels() != before, c.zoom == 0);
    TearDown(), SetUp();
  }
}

// Step outputs and conditions right of their cells, up to the next drawn cell or the edge.
TEST_F(SimulationPage, EachStepShowsItsOutputsAndEachTransitionItsConditionBesideIt) {
  struct text_case {
    int link_column;  // -1: the choice example
    bool step;
    int number;
    const char *shown;
  };
  const text_case cases[] = {
      {-1, true, 1, "RB0"},
      {-1, true, 3, "RB2 TE0"},
      {-1, false, 0, "l RA0"},
      {-1, false, 1, "ln RA0 a RA1"},
      // Cut where the lone link stands, and at the region's edge.
      {4, true, 0, "RB0 RB1 ..."},
      {4, false, 0, "l RA0 a RA1 a RA2 a RA3 a RA4 an..."},
      // At zoom 1 the lone link is far: the texts are whole.
      {14, true, 0, "RB0 RB1 RB2 RB3"},
      {14, false, 0, "l RA0 a RA1 a RA2 a RA3 a RA4 an RA5"},
  };
  for (const text_case &c : cases) {
    SCOPED_TRACE(c.shown);
    if (c.link_column < 0) start_in("choice");
    else start_with_chart(c.link_column, "RB0 RB1 RB2 RB3", "l RA0 a RA1 a RA2 a RA3 a RA4 an RA5");
    open_simulation();
    ASSERT_EQ(edit_mode, 8) << (shown().empty() ? "" : shown()[0].text);
    EXPECT_TRUE(text_beside(c.step, c.number, c.shown));
    TearDown(), SetUp();
  }
}

TEST_F(SimulationPage, TypingZeroTogglesRA0AndTheChoiceTakesItsBranch) {
  start_in("choice");
  open_simulation();
  EXPECT_FALSE(transition_marked(0));  // l RA0
  send_message(message_char, '0');
  EXPECT_TRUE(transition_marked(0));   // marked at once, before the chip has seen the input
  EXPECT_TRUE(step_filled(0));
  press_control(0);  // run
  tick(3);
  EXPECT_TRUE(step_filled(1));
  EXPECT_FALSE(step_filled(0));
  EXPECT_FALSE(step_filled(2));
  // The lamps: RA0 on, RB0 (the output of step 1) lit in yellow, its name in black.
  EXPECT_TRUE(any_pixel(61, 444, 88, 461, input_on));
  EXPECT_TRUE(any_pixel(301, 444, 328, 461, rgb{255, 255, 0}));
  EXPECT_TRUE(any_pixel(301, 444, 328, 461, rgb{0, 0, 0}));
  send_message(message_char, '0');
  tick(3);
  EXPECT_TRUE(step_filled(3));
  EXPECT_FALSE(step_filled(1));
}

TEST_F(SimulationPage, RunPauseDrivesTheSimulationTimer) {
  start_in("blinker");
  open_simulation();
  EXPECT_EQ(simulation_timer_period, 0);
  press_control(0);
  EXPECT_EQ(simulation_timer_period, 40);
  tick(15);  // 0.6 s of real time
  EXPECT_TRUE(step_filled(1));
  press_control(0);
  EXPECT_EQ(simulation_timer_period, 0);
  tick(30);
  EXPECT_TRUE(step_filled(1));  // paused: nothing moves
  press_control(0);
  choose(1, 0);  // the grid page: a tick there stops the timer
  tick(1);
  EXPECT_EQ(simulation_timer_period, 0);
}

TEST_F(SimulationPage, OnePassAtATimeShowsATransientStep) {
  start_in("");
  choose(1, 0);
  // Initial step 0, transition 0, step 1, transition 1, step 2, down one column.
  pick_kind(0, 0), click_grid_cell(2, 1);
  pick_kind(0, 1), click_grid_cell(2, 2);
  pick_kind(1, 0), click_grid_cell(2, 3);
  pick_kind(0, 1), click_grid_cell(2, 4);
  pick_kind(1, 0), click_grid_cell(2, 5);
  choose(1, 2);  // the transitions' conditions
  click_text_line(0), type("l RA0\r");
  click_text_line(1), type("l RA0\r");
  open_simulation();
  ASSERT_EQ(edit_mode, 8) << (shown().empty() ? "" : shown()[0].text);
  send_message(message_char, '0');
  press_control(2);  // the first pass of the scan fires transition 0
  EXPECT_TRUE(step_filled(1));
  EXPECT_FALSE(step_filled(0));
  press_control(2);  // the second fires transition 1: step 1 lasted one pass
  EXPECT_TRUE(step_filled(2));
  EXPECT_FALSE(step_filled(1));
  press_control(3);  // reset: power-up again, RA0 released
  EXPECT_TRUE(step_filled(0));
  EXPECT_FALSE(step_filled(2));
  EXPECT_FALSE(transition_marked(0));
}

TEST_F(SimulationPage, AChartThatDoesNotCompileShowsItsBoxesAndNoPage) {
  start_in("");
  draw_step_transition_step();
  choose(1, 2);
  click_text_line(0), type("l NOWHERE\r");
  int steps = undo_steps_available();
  forget_shown_boxes();
  open_simulation();
  EXPECT_FALSE(shown().empty());
  EXPECT_EQ(edit_mode, 2);
  EXPECT_EQ(undo_steps_available(), steps);
  EXPECT_EQ(simulation_timer_period, 0);
}

TEST_F(SimulationPage, PushModeHoldsAnInputOnlyWhileTheButtonIsDown) {
  start_in("choice");
  open_simulation();
  press_control(5);  // "Tog" becomes "Push"
  int ra1_x = 60 + 30 * 1 + 10, lamp_y = 450;
  click(ra1_x, lamp_y);
  EXPECT_EQ(pixel(ra1_x + 14, lamp_y + 8), input_on);
  send_message(message_left_button_up, 0, ra1_x, lamp_y);
  EXPECT_EQ(pixel(ra1_x + 14, lamp_y + 8), input_off);
  press_control(5);  // back to toggling: a click keeps it on
  click(ra1_x, lamp_y);
  send_message(message_left_button_up, 0, ra1_x, lamp_y);
  EXPECT_EQ(pixel(ra1_x + 14, lamp_y + 8), input_on);
}

// The x positions where the row's trace crosses between its two levels.
std::vector<int> edges_of_row(int top) {
  std::vector<int> edges;
  for (int x = 76; x < 692; x++)
    if (pixel(x, top + 8) == trace_red) edges.push_back(x);
  return edges;
}

int row_named(const char *name) {
  for (int r = 0; r < 25; r++)
    if (shows_text(4, 42 + 16 * r, name, 60)) return 42 + 16 * r;
  return -1;
}

TEST_F(SimulationPage, TheBlinkersChronogramShowsRB0EdgesHalfASecondApart) {
  start_in("blinker");
  open_simulation();
  press_control(0);
  tick(75);  // 3 s of real time
  open_chronogram();
  ASSERT_EQ(edit_mode, 9);
  int top = row_named("RB0");
  ASSERT_GE(top, 0);
  std::vector<int> edges = edges_of_row(top);
  ASSERT_GE(edges.size(), 5u);
  for (size_t k = 1; k < edges.size(); k++) {
    EXPECT_GE(edges[k] - edges[k - 1], 49);  // 100 pixels a second
    EXPECT_LE(edges[k] - edges[k - 1], 51);
  }
  send_message(message_char, '+');  // twice as wide
  press_control(0);                 // the chronogram's "<" button is elsewhere: nothing happens here
  std::vector<int> zoomed = edges_of_row(top);
  ASSERT_GE(zoomed.size(), 2u);
  EXPECT_NEAR(zoomed[1] - zoomed[0], 100, 2);
}

TEST_F(SimulationPage, TheSavedScenarioReplaysWithTalvenc) {
  start_in("choice");
  open_simulation();
  press_control(0);
  tick(5);
  send_message(message_char, '0');
  tick(10);
  send_message(message_char, '0');
  tick(20);
  send_message(message_char, '1');
  tick(10);
  open_chronogram();
  click(76 + 54 * 7 + 20, 480);  // "Save"
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(shown()[0].text, "Written: choice.vcd, choice.png and choice.scenario.txt");
  std::string scenario = read_file(folder / "choice.scenario.txt");
  EXPECT_NE(scenario.find(" set RA0=1"), std::string::npos);
  EXPECT_NE(scenario.find(" expect RB2=1"), std::string::npos);
  std::string png = read_file(folder / "choice.png");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(read_file(folder / "choice.vcd").substr(0, 5), "$date");
  std::string command = std::string(TALVENC_PATH) + " --definition pic16f628a.def --graphic choice.gra" +
                        " --simulate choice.scenario.txt > replay.txt 2>&1";
  EXPECT_EQ(std::system(command.c_str()), 0) << read_file(folder / "replay.txt");
  std::string replay = read_file(folder / "replay.txt");
  EXPECT_NE(replay.find(", 0 failed"), std::string::npos) << replay;
  EXPECT_EQ(replay.find("0 expectations"), std::string::npos) << replay;
}

// The 40-pin example names three of its pins: they, its steps and timers fit on the
// first page of rows; "All" lists every pin, inputs first, and "Used" goes back.
TEST_F(SimulationPage, TheChronogramListsTheSignalsTheProgramUsesUnlessAllAreAskedFor) {
  start_in("traffic_light_40", "pic16f877a.def");
  open_simulation();
  open_chronogram();
  ASSERT_EQ(edit_mode, 9);
  struct rows_case {
    const char *label;
    std::vector<const char *> shown, hidden;
  };
  const rows_case cases[] = {
      {"All", {"RD0", "RD1", "RD2", "x0", "x2", "TE0", "T2", "UNSTABLE"}, {"RA0", "RC7"}},
      {"Used", {"RA0", "RA1", "RC7"}, {"RD0", "UNSTABLE"}},
      {"All", {"RD0", "UNSTABLE"}, {"RA0"}},
  };
  for (const rows_case &c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_TRUE(shows_text(76 + 54 * 8 + 5, 475, c.label, 76 + 54 * 8 + 49));
    for (const char *name : c.shown) EXPECT_GE(row_named(name), 0) << name;
    for (const char *name : c.hidden) EXPECT_LT(row_named(name), 0) << name;
    click(76 + 54 * 8 + 20, 480);
  }
}

TEST_F(SimulationPage, TheChronogramBeforeAnySimulationSaysSo) {
  start_in("blinker");
  open_chronogram();
  EXPECT_EQ(edit_mode, 9);
  click(76 + 54 * 7 + 20, 480);  // "Save" has nothing to save
  EXPECT_TRUE(shown().empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "blinker.vcd"));
}

// "Test", under "Tog" on the left edge: the folder's scenario.txt and its exercise's public
// scenarios run on the chart; a box tells held / total and the first failure, and the
// chronogram marks each failed expectation in magenta in its row.
constexpr rgb failed_mark{255, 0, 255};

TEST_F(SimulationPage, TestRunsTheFolderScenariosAndMarksTheFailuresOnTheChronogram) {
  const fs::path exercise = source_dir() / "examples/exercises/blinker";
  struct test_case {
    const char *chart;                // the blinker's own, or the exercise's faulty one
    std::vector<std::string> files;   // copied into the folder: from the example or the exercise
    std::string text;
  };
  const std::string no_scenario = "No scenario.txt or public scenario of an exercise.txt in the project folder";
  const std::string faulty_first = "first: line 5 of blink.txt: at 0.900s expected RB0=1, got 0";
  const test_case cases[] = {
      {"", {"blinker/scenario.txt"}, "11 / 11 held"},
      // Only blink.txt: the hidden blink_long.txt is never run in the window; scenario.txt runs first.
      {"faulty", {"exercise.txt", "blink.txt", "blink_long.txt", "statement.txt"}, "8 / 9 held\n" + faulty_first},
      {"faulty", {"blinker/scenario.txt", "exercise.txt", "blink.txt", "blink_long.txt", "statement.txt"},
       "18 / 20 held\nfirst: line 7 of scenario.txt: at 0.900s expected RB0=1, got 0"},
      {"", {}, no_scenario},
      {"", {"blink.txt"}, no_scenario},
  };
  for (const test_case &c : cases) {
    SCOPED_TRACE(c.files.empty() ? "no files" : c.files[0]);
    start_in("blinker");
    for (const std::string &file : c.files)
      fs::copy_file(file.find('/') != std::string::npos ? source_dir() / "examples" / file : exercise / file,
                    folder / fs::path(file).filename());
    if (c.chart[0]) fs::copy_file(exercise / c.chart / "blinker.gra", folder / "blinker.gra", fs::copy_options::overwrite_existing);
    choose(0, 0);  // "LD G"
    open_simulation();
    ASSERT_EQ(edit_mode, 8);
    EXPECT_TRUE(shows_text(5 + 5, 172 + 3, "Test", 5 + 49));
    forget_shown_boxes();
    press_control(6);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].title, "Test");
    EXPECT_EQ(shown()[0].text, c.text);
    // The run shown is the failing one, its first failure (0.9 s) in view; a passing run has no mark.
    open_chronogram();
    int top = row_named("RB0");
    ASSERT_GE(top, 0);
    bool failing = c.chart[0] != 0;
    EXPECT_EQ(any_pixel(76, top, 692, top + 15, failed_mark), failing);
    EXPECT_EQ(any_pixel(76 + 89, top + 1, 76 + 91, top + 15, failed_mark), failing);
    int x0 = row_named("x0");
    ASSERT_GE(x0, 0);
    EXPECT_FALSE(any_pixel(76, x0, 692, x0 + 15, failed_mark)) << top << " " << x0;
    TearDown(), SetUp();
  }
}

// A broken exercise.txt or scenario says why; an exercise with hidden scenarios only has nothing to run.
TEST_F(SimulationPage, TestShowsWhyTheExerciseOrAScenarioDoesNotRead) {
  const struct {
    const char *exercise, *scenario, *text;
  } cases[] = {
      {"title t\ntarget pic16f628a\nscenario s.txt\ncolour red\n", "100ms expect RB0=0\n",
       "exercise.txt line 4: unknown key 'colour' (title, target, scenario, hidden, statement, margin)"},
      {nullptr, "100ms expect RB9=0\n", "scenario.txt: scenario line 1: unknown name 'RB9'"},
      {"title t\ntarget pic16f628a\nhidden s.txt\n", nullptr, "No scenario.txt or public scenario of an exercise.txt in the project folder"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text);
    start_in("blinker");
    if (c.exercise) write_file(folder / "exercise.txt", c.exercise), write_file(folder / "s.txt", "100ms expect RB0=0\n");
    if (c.scenario) write_file(folder / "scenario.txt", c.scenario);
    open_simulation();
    press_control(6);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown()[0].title, "Test");
    EXPECT_EQ(shown()[0].text, c.text);
    EXPECT_TRUE(step_filled(0));  // the page still runs the chart from power-up
    TearDown(), SetUp();
  }
}

}  // namespace
