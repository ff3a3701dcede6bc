// The findings page under "Go", "Chk": the chart's check a line a finding, a click
// on a line showing where it lies, a behavioural finding replayed on the simulation
// page; and the box G->L shows first when the chart has errors.
#include <cstdlib>

#include "check/check.h"
#include "check/check_charts.h"
#include "editors/page_state.h"
#include "editors/simulation.h"
#include "startup/startup.h"
#include "window_driver.h"

namespace {

constexpr rgb mark_red{255, 0, 0};

class CheckPage : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    ASSERT_TRUE(load_bundled_target("pic16f628a")) << "run through ctest";
    forget_boxes();
  }
  // A step drawn straight under the initial step, and outputs for a step not drawn.
  static void draw_broken_chart() {
    put(2, 1, cell_initial_step, 0);
    put(2, 2, cell_step, 1);
    copy_field(step_outputs[5].text, text_size, "RB0");
  }
  static int finding_starting(const char *start) {
    char line[check_text_size + 16];
    for (int k = 0; k < check_finding_count; k++) {
      finding_line(k, line, sizeof line);
      if (std::string(line).rfind(start, 0) == 0) return k;
    }
    return -1;
  }
  static int line_y(int k) { return 75 + 20 * k; }
};

TEST_F(CheckPage, ListsTheFindingsErrorsFirstAndAClickShowsWhereOneLies) {
  draw_broken_chart();
  choose(3, 5);  // "Go", "Chk"
  ASSERT_EQ(edit_mode, 10);
  ASSERT_GE(count_findings(check_error), 2);
  char line[check_text_size + 16];
  std::snprintf(line, sizeof line, "%d errors, %d warnings", count_findings(check_error), count_findings(check_warning));
  EXPECT_TRUE(shows_text(14, 47, line, 689));
  finding_line(0, line, sizeof line);
  EXPECT_EQ(std::string(line).rfind("error: ", 0), 0u);
  const struct {
    const char *finding;
    int page;
  } places[] = {
      {"error: step 0 (column 2, row 1) leads to step 1 (column 2, row 2)", 0},
      {"error: Etape row 5 has outputs", 1},
  };
  for (const auto &place : places) {
    int k = finding_starting(place.finding);
    ASSERT_GE(k, 0) << place.finding;
    click(300, line_y(k));
    EXPECT_EQ(edit_mode, place.page) << place.finding;
    EXPECT_EQ(menu_top_selection, 1) << "the menu marks the page shown";
    EXPECT_EQ(menu_sub_selection, place.page);
    choose(3, 5);
  }
  click(300, line_y(finding_starting(places[0].finding)));
  EXPECT_EQ(pixel(60, 40), mark_red) << "the step's cell, scrolled to the top left, is framed";
  EXPECT_EQ(pixel(97, 58), mark_red);
  choose(3, 5);
  click(300, line_y(finding_starting(places[1].finding)));
  EXPECT_EQ(table_views[0].first_row, 5);
  EXPECT_EQ(shown_box_count, 0);
}

TEST_F(CheckPage, ABehaviouralFindingsButtonReplaysItsCounterExampleOnTheSimulationPage) {
  ASSERT_TRUE(draw_overlapping_choice(std::getenv("TALVEN_SOURCE_DIR")));
  choose(3, 5);
  int k = finding_starting("warning: transition 0");
  ASSERT_GE(k, 0);
  ASSERT_GE(check_findings[k].scenario, 0);
  EXPECT_EQ(pixel(642, line_y(k)), olive) << "the Sim button";
  click(660, line_y(k));
  ASSERT_EQ(edit_mode, simulation_page);
  EXPECT_TRUE(simulation.started);
  EXPECT_FALSE(simulation.running);
  for (int step : {1, 2}) EXPECT_EQ(sim.bit[sim_target.step_address[step]], 1) << "step " << step;
  EXPECT_EQ(shown_box_count, 0);
}

// The translation still runs, after one box with the errors' count and the first three.
TEST_F(CheckPage, TranslatingAChartWithErrorsSaysSoFirstAndGoesOn) {
  draw_broken_chart();
  choose(3, 0);  // "G->L"
  ASSERT_GE(shown_box_count, 2);
  std::string text = shown_boxes[0].text;
  EXPECT_STREQ(shown_boxes[0].title, "Check");
  EXPECT_EQ(text.rfind("The check found 2 errors in the chart:\n\nerror: ", 0), 0u) << text;
  EXPECT_NE(text.find("\n\n\"Chk\" (under \"Go\") lists every finding."), std::string::npos) << text;
  EXPECT_STREQ(shown_boxes[1].text, "Converting Graphic --> Literal ?");
  EXPECT_STRNE(literal_buffer[0], "-- 0 --") << "the chart was translated";
}

}  // namespace
