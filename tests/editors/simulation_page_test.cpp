// The simulation and chronogram pages, driven as a user drives them: the examples
// loaded and opened under "Go", inputs clicked or typed, the timer's ticks sent,
// the pixels of steps, transitions, lamps and traces read back, the saved run replayed.
#include <cstdlib>
#include <sstream>

#include "window_driver.h"

namespace {

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
  void start_in(const std::string &example) {
    std::filesystem::copy_file(source_dir() / "targets/pic16f628a.def", folder / "pic16f628a.def");
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
  // The screen cell of the numbered step or transition, with the plan at its start.
  static std::pair<int, int> cell_of(bool step, int number) {
    for (int x = 0; x < 15; x++)
      for (int y = 0; y < 20; y++) {
        const cell &c = plan_xy[x][y];
        bool is_step = c.kind == cell_step || c.kind == cell_initial_step;
        if (c.number == number && (step ? is_step : c.kind == cell_transition)) return {60 + 40 * x, 40 + 20 * y};
      }
    ADD_FAILURE() << "no such cell";
    return {0, 0};
  }
  static bool step_filled(int n) {
    auto [x, y] = cell_of(true, n);
    return pixel(x + 6, y + 6) == active_step;
  }
  static bool transition_marked(int n) {
    auto [x, y] = cell_of(false, n);
    return pixel(x + 5, y + 8) == true_transition;
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

INSTANTIATE_TEST_SUITE_P(Examples, ExampleSimulation, ::testing::Values("blinker", "choice", "traffic_light"));

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
  // The lamps: RA0 on, RB0 (the output of step 1) lit.
  EXPECT_TRUE(any_pixel(61, 444, 88, 461, input_on));
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
  choose(1, 0);
  pick_kind(0, 0), click_grid_cell(2, 1);
  pick_kind(0, 1), click_grid_cell(2, 2);
  pick_kind(1, 0), click_grid_cell(2, 3);
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

TEST_F(SimulationPage, TheChronogramBeforeAnySimulationSaysSo) {
  start_in("blinker");
  open_chronogram();
  EXPECT_EQ(edit_mode, 9);
  click(76 + 54 * 7 + 20, 480);  // "Save" has nothing to save
  EXPECT_TRUE(shown().empty());
  EXPECT_FALSE(std::filesystem::exists(folder / "blinker.vcd"));
}

}  // namespace
