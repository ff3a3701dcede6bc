// The behaviour check through talvenc: each chart made for a finding gets it, with a
// counter-example that talvenc --simulate replays; the examples get none.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>

#include "app/talvenc_runner.h"
#include "check/behaviour.h"
#include "check/check.h"
#include "check/check_charts.h"
#include "compiler/compiler.h"
#include "startup/startup.h"
#include "translate/translate.h"

namespace fs = std::filesystem;

namespace {

std::string source_folder() { return std::getenv("TALVEN_SOURCE_DIR"); }

class Behaviour : public ProjectTest {
 protected:
  // The check of the project's chart, as talvenc prints it, its counter-examples in out/.
  run_result check_drawn_chart() {
    set_config(config_graphic, "chart.gra");
    EXPECT_TRUE(save_graphic_file());
    fs::create_directories("out");
    return talvenc("--target pic16f628a --graphic chart.gra --check --check-out out");
  }
  // Every counter-example written replays with talvenc --simulate; all of them, one after the other.
  std::string expect_counter_examples_replay(const std::string &input) {
    std::string all;
    for (int k = 1; fs::exists("out/check-" + std::to_string(k) + ".txt"); k++) {
      std::string file = "out/check-" + std::to_string(k) + ".txt";
      run_result replay = talvenc("--target pic16f628a " + input + " --simulate " + file);
      EXPECT_EQ(replay.status, 0) << read_file(file) << replay.out << replay.err;
      EXPECT_NE(replay.out.find(" expectations, 0 failed\n"), std::string::npos) << replay.out;
      all += read_file(file);
    }
    return all;
  }
};

struct chart_case {
  const char *name;
  void (*draw)();
  const char *finding;   // one line of the report
  const char *expect;    // what its counter-example expects at its end
};

void draw_choice() { draw_overlapping_choice(source_folder()); }

const chart_case chart_cases[] = {
    {"loop", draw_endless_loop,
     "error: UNSTABLE: the evolution through step 0 (column 2, row 1) and step 1 (column 2, row 3) does not "
     "settle within 16 passes, whatever the inputs\n",
     "expect UNSTABLE=1\n"},
    {"dead end", draw_dead_end,
     "warning: the chart stops for good at step 1 (column 2, row 3): no transition can ever fire from there, "
     "whatever the inputs\n",
     "expect x1=1\n"},
    {"dead end", draw_dead_end, "warning: step 2 (column 5, row 1) is never active\n", nullptr},
    {"choice", draw_choice,
     "warning: transition 0 (column 2, row 3) and transition 1 (column 4, row 3) leave step 0 (column 3, row 1) and "
     "can fire together, both true when RA0=1 and RA1=1\n",
     "expect x1=1 x2=1\n"},
    {"branches", draw_branches_without_join,
     "warning: transition 1 (column 1, row 5) and transition 2 (column 3, row 5) activate step 3 (column 2, row 8) "
     "at once: the two activations merge\n",
     "expect x3=1\n"},
    {"branches", draw_branches_without_join,
     "warning: transition 2 (column 3, row 5) activates step 3 (column 2, row 8) while it is already active: the "
     "two activations merge\n",
     nullptr},
};

TEST_F(Behaviour, EachChartMadeForAFindingGetsItWithCounterExamplesThatReplay) {
  for (const chart_case &c : chart_cases) {
    SCOPED_TRACE(c.name);
    init_project();
    fs::remove_all("out");
    c.draw();
    run_result check = check_drawn_chart();
    EXPECT_NE(check.out.find(c.finding), std::string::npos) << check.out;
    std::string scenarios = expect_counter_examples_replay("--graphic chart.gra");
    EXPECT_NE(scenarios, "");
    if (!c.expect) continue;
    // Its counter-example starts with the finding as a comment.
    std::string title = std::string("# ") + (std::strchr(c.finding, ' ') + 1);
    size_t at = scenarios.find(title);
    ASSERT_NE(at, std::string::npos) << scenarios;
    EXPECT_NE(scenarios.find(c.expect, at), std::string::npos) << scenarios.substr(at);
  }
}

// A literal program names its steps "x3" and its transitions by their lines.
TEST_F(Behaviour, ALiteralProgramIsNamedByItsLines) {
  write_file("program.lit", "*  x0\nl RA0 > x1\nl RA1 > x2\n-  x1\nln RA0 > x0\n-  x2\nln RA1 > x0\n-  x3\n");
  fs::create_directories("out");
  run_result check = talvenc("--target pic16f628a --literal program.lit --check --check-out out");
  EXPECT_EQ(check.status, 0);
  EXPECT_NE(check.out.find("warning: x3 is never active\n"), std::string::npos) << check.out;
  EXPECT_NE(check.out.find("warning: the transition on line 1 and the transition on line 2 leave x0 and can fire "
                           "together, both true when RA0=1 and RA1=1\n"),
            std::string::npos)
      << check.out;
  EXPECT_EQ(read_file("out/check-1.txt"),
            "# the transition on line 1 and the transition on line 2 leave x0 and can fire together, both true when "
            "RA0=1 and RA1=1\n# The inputs from power-up into it, timers running their real durations.\n"
            "0ms set RA0=1 RA1=1\n10ms expect x1=1 x2=1\n");
  EXPECT_NE(expect_counter_examples_replay("--literal program.lit"), "");
}

// Timers taken to end at any scan find what their real durations avoid: said in the
// text, with no counter-example; durations that allow it give one.
TEST_F(Behaviour, ATimerFindingSaysWhenRealDurationsAvoidIt) {
  const char *program = "*  x0\nl T0 > x1\nl T1 > x2\n-  x1\nl RA1 > x0\n-  x2\nl RA2 > x0\nl x0 = TE0\nl x0 = TE1\n";
  const char *together = "warning: the transition on line 1 and the transition on line 2 leave x0 and can fire "
                         "together, both true when T0=1 and T1=1";
  const struct {
    const char *presets;
    const char *ending;
    bool replayed;
  } cases[] = {{"#TP0 50\n#TP1 50\n", "\n", true},
               {"#TP0 50\n#TP1 100\n", " (only if a timer ends at a moment its real duration may not give)\n", false}};
  for (const auto &c : cases) {
    fs::remove_all("out");
    fs::create_directories("out");
    write_file("program.lit", std::string(program) + c.presets);
    run_result check = talvenc("--target pic16f628a --literal program.lit --check --check-out out");
    EXPECT_NE(check.out.find(std::string(together) + c.ending), std::string::npos) << check.out;
    std::string scenarios = expect_counter_examples_replay("--literal program.lit");
    EXPECT_EQ(scenarios.find(together + 9) != std::string::npos, c.replayed) << c.presets;
  }
}

// The bundled examples, each on the target its config.txt names, have no behavioural finding.
TEST_F(Behaviour, NoExampleHasABehaviouralFinding) {
  const struct {
    const char *name, *target;
  } examples[] = {{"blinker", "pic16f628a"}, {"choice", "pic16f628a"}, {"traffic_light", "pic16f628a"},
                  {"two_hand_press", "pic16f628a"}, {"traffic_light_40", "pic16f877a"}};
  for (const auto &e : examples) {
    SCOPED_TRACE(e.name);
    EXPECT_NE(read_file(source_folder() + "/examples/" + e.name + "/config.txt").find(e.target), std::string::npos);
    ASSERT_TRUE(load_bundled_target(e.target));
    ASSERT_TRUE(read_graphic_file((source_folder() + "/examples/" + e.name + "/" + e.name + ".gra").c_str()));
    ASSERT_TRUE(graphic_to_literal());
    ASSERT_EQ(compile_literal_to_image(), compile_ok);
    check_reset();
    check_behaviour(true);
    for (int k = 0; k < check_finding_count; k++) ADD_FAILURE() << check_findings[k].text;
    EXPECT_GT(explored_situations, 1);
  }
}

// Sixteen toggles, each on its own input of a 40-pin chip: far too many situations.
TEST_F(Behaviour, AnExplorationTooLargeStopsWithinItsBound) {
  const char *pins[] = {"RA0", "RA1", "RA2", "RA3", "RA4", "RA5", "RC0", "RC1",
                        "RC2", "RC3", "RC4", "RC5", "RC6", "RC7", "RD0", "RD1"};
  std::string program;
  for (int k = 0; k < 16; k++)
    program += "*  x" + std::to_string(2 * k) + "\nl " + pins[k] + " > x" + std::to_string(2 * k + 1) + "\n-  x" +
               std::to_string(2 * k + 1) + "\nln " + pins[k] + " > x" + std::to_string(2 * k) + "\n";
  write_file("program.lit", program);
  auto start = std::chrono::steady_clock::now();
  run_result check = talvenc("--target pic16f877a --literal program.lit --check");
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(check.status, 0);
  EXPECT_NE(check.out.find("warning: exploration stopped after "), std::string::npos) << check.out;
  EXPECT_LT(seconds, 2.5);  // 2 s, and the start of a process
}

}  // namespace
