// The check's counter-examples replayed on the chip: for a chart made for each
// behavioural finding, the first counter-example of that kind passes in gpsim as
// it passes on the host.
#include <gtest/gtest.h>

#include <filesystem>

#include "check/check_charts.h"
#include "firmware/host.h"
#include "firmware/simulator.h"

namespace fs = std::filesystem;

namespace {

void draw_choice() { draw_overlapping_choice(SOURCE_DIR); }

const struct {
  const char *name;
  void (*draw)();
  const char *finding;  // the start of the comment that opens the counter-example
} replays[] = {
    {"loop", draw_endless_loop, "# UNSTABLE: "},
    {"dead end", draw_dead_end, "# the chart stops for good at step 1"},
    {"choice", draw_choice, "# transition 0 (column 2, row 3) and transition 1 (column 4, row 3) leave"},
    {"branches", draw_branches_without_join, "# transition 1 (column 1, row 5) and transition 2 (column 3, row 5) activate"},
};

// The chip clears UNSTABLE as each scan starts; the loop chart copies it to RB7, which
// holds it from one scan's end to the next.
std::string as_the_chip_shows_it(std::string scenario) {
  for (size_t at = scenario.find("UNSTABLE="); at != std::string::npos; at = scenario.find("UNSTABLE=", at))
    scenario.replace(at, 8, "RB7");
  return scenario;
}

TEST(CheckOnTheChip, EachKindOfCounterExampleReplaysInGpsim) {
  for (const auto &r : replays) {
    SCOPED_TRACE(r.name);
    std::string folder = test_folder();
    init_project();
    r.draw();
    ASSERT_TRUE(write_graphic_file((folder + "/chart.gra").c_str()));
    run_talvenc(folder, "--graphic chart.gra --check --check-out .");
    std::string chosen;
    for (int k = 1; fs::exists(folder + "/check-" + std::to_string(k) + ".txt") && chosen.empty(); k++) {
      std::string scenario = read_file(folder + "/check-" + std::to_string(k) + ".txt");
      if (scenario.rfind(r.finding, 0) == 0) chosen = scenario;
    }
    ASSERT_NE(chosen, "") << read_file(folder + "/talvenc.txt");
    write_file(folder + "/replay.txt", as_the_chip_shows_it(chosen));
    EXPECT_EQ(run_talvenc(folder, "--graphic chart.gra --hex chart.hex --simulate replay.txt"), 0)
        << chosen << read_file(folder + "/talvenc.txt");
    EXPECT_EQ(scenario_failures_on_chip(folder + "/chart.hex", folder + "/replay.txt"), 0) << chosen;
  }
}

}  // namespace
