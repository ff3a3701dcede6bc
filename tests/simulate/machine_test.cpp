// The host simulator in process: quiet scans counted at once end exactly where
// running them one by one ends, over long runs of the examples.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "compiler/compiler.h"
#include "files/files.h"
#include "simulate/simulate.h"
#include "startup/startup.h"
#include "support/test_support.h"
#include "translate/translate.h"

namespace fs = std::filesystem;

namespace {

class HostSimulator : public ProjectTest {
 protected:
  // The example's chart translated and compiled into the bundled target's image.
  void load_example(const char *name) {
    fs::path source = fs::path(std::getenv("TALVEN_SOURCE_DIR"));
    fs::copy_file(source / "targets/pic16f628a.def", "target.def");
    fs::copy_file(source / "examples" / name / (std::string(name) + ".gra"), "chart.gra");
    start_project(without_config_file);
    set_config(config_automate, "target.def");
    set_config(config_graphic, "chart.gra");
    ASSERT_TRUE(load_definition_and_names());
    ASSERT_TRUE(load_graphic_file());
    ASSERT_TRUE(graphic_to_literal());
    ASSERT_EQ(compile_literal_to_image(), compile_ok);
    char error[200];
    ASSERT_TRUE(sim_bind_target(error, sizeof error)) << error;
  }
};

// Everything that decides what comes next, compared field by field.
void expect_same_machine(const sim_machine &a, const sim_machine &b) {
  EXPECT_EQ(a.cycle, b.cycle);
  EXPECT_EQ(a.scans, b.scans);
  EXPECT_EQ(a.next_tick, b.next_tick);
  EXPECT_EQ(a.ticks, b.ticks);
  EXPECT_EQ(std::memcmp(a.bit, b.bit, sizeof a.bit), 0);
  EXPECT_EQ(std::memcmp(a.wait, b.wait, sizeof a.wait), 0);
  EXPECT_EQ(a.running, b.running);
  EXPECT_EQ(std::memcmp(a.pin_level, b.pin_level, sizeof a.pin_level), 0);
}

TEST_F(HostSimulator, CountingQuietScansEndsWhereRunningThemEnds) {
  for (const char *example : {"blinker", "traffic_light"}) {
    SCOPED_TRACE(example);
    fs::remove("target.def");
    fs::remove("chart.gra");
    load_example(example);
    int64_t minutes = 10 * 60 * sim_target.cycles_per_second;
    sim_power_up();
    sim_run_to(minutes, nullptr);
    sim_machine counted = sim;
    sim_power_up();
    while (sim_next_sample_cycle() < minutes) {
      sim.quiet = false;  // every scan run in full
      sim_scan();
    }
    expect_same_machine(counted, sim);
  }
}

TEST_F(HostSimulator, TheBlinkerBlinksForADay) {
  load_example("blinker");
  sim_power_up();
  sim_list_signals();
  int rb0 = sim_find_pin("RB0");
  int64_t day = 24 * 3600 * sim_target.cycles_per_second;
  int64_t edges = 0;
  int level = 0;
  // An hour at a time; the edges are counted from the record of the last hour.
  for (int64_t end = 3600 * sim_target.cycles_per_second; end <= day; end += 3600 * sim_target.cycles_per_second) {
    sim_record_start();
    sim_run_to(end, [](int64_t cycle) { sim_record_changes(cycle); });
    for (int64_t k = sim_record_first(); k < sim_record_count; k++) {
      const sim_change &c = sim_record[k % sim_record_capacity];
      if (sim_signals[c.signal].index == rb0 && sim_signals[c.signal].kind == signal_output && c.value != level) {
        level = c.value;
        edges++;
      }
    }
  }
  // Each half period is 51 ticks (the preset and the tick the start may fall just before) and a scan.
  double half_period = 0.51 + 0.0008;
  EXPECT_NEAR(double(edges), 86400 / half_period, 86400 / half_period * 0.002);
  EXPECT_EQ(sim_seen_pin(rb0), sim_pin_level(rb0));
}

// Names of pins the chip lacks come back as -1; driving or reading them changes nothing.
TEST_F(HostSimulator, APinTheTargetLacksIsNeitherDrivenNorRead) {
  load_example("blinker");
  sim_power_up();
  int missing = sim_find_pin("RC0");
  ASSERT_EQ(missing, -1);
  sim_machine before = sim;
  sim_set_input(missing, 1);
  EXPECT_EQ(sim_pin_level(missing), 0);
  EXPECT_EQ(sim_seen_pin(missing), 0);
  EXPECT_EQ(std::memcmp(&before, &sim, sizeof sim), 0);
}

// A condition is worked by the machine's own orders over the present bits, an input
// read as driven now (before any scan samples it); a word the chip would not take fails.
TEST_F(HostSimulator, AConditionHoldsAsTheChipWouldWorkIt) {
  load_example("blinker");
  sim_power_up();
  sim_set_input(sim_find_pin("RA0"), 1);
  struct condition_case {
    const char *text;
    bool holds;
  };
  const condition_case cases[] = {
      {"l RA0", true},         {"ln RA0", false},        {"l x0 an x1", true},  {"l x1 o RA0", true},
      {"l RA0 a x1", false},   {"l RA0 x x0", false},    {"l RA0 xn x0", true}, {"ln RA1  on RA1", true},
      {"l RA0 = RB0", false},  {"l NOWHERE", false},     {"q RA0", false},      {"l RA0 a", false},
      {"", false},             {"   ", false},
  };
  for (const condition_case &c : cases) EXPECT_EQ(sim_condition_holds(c.text), c.holds) << c.text;
  EXPECT_EQ(sim.bit[sim_target.pins[sim_find_pin("RA0")].address], 0);  // the chip has not sampled it
}

// The one writer of scenario lines: each line reads back as the same time, verb and values.
TEST_F(HostSimulator, AWrittenScenarioLineReadsBackAsWritten) {
  load_example("blinker");
  const scenario_assignment two[] = {{"RA0", 1}, {"x1", 0}};
  struct line_case {
    int64_t ns;
    scenario_unit unit;
    scenario_verb verb;
    int count;
    const char *text;
  };
  const line_case cases[] = {
      {1500000000, unit_seconds, verb_set, 1, "1.500000000s set RA0=1\n"},
      {250000000, unit_milliseconds, verb_expect, 2, "250ms expect RA0=1 x1=0\n"},
      {3000120, unit_milliseconds, verb_set, 1, "3.000120ms set RA0=1\n"},
  };
  for (const line_case &c : cases) {
    char line[80], error[scenario_error_size];
    int length = format_scenario_line(line, sizeof line, c.ns, c.unit, c.verb, two, c.count);
    EXPECT_STREQ(line, c.text);
    EXPECT_EQ(length, int(std::strlen(c.text)));
    ASSERT_TRUE(parse_scenario(line, length, error, sizeof error)) << error;
    ASSERT_EQ(scenario_length, c.count);
    for (int k = 0; k < c.count; k++) {
      EXPECT_EQ(scenario[k].time_ns, c.ns);
      EXPECT_EQ(scenario[k].verb, c.verb);
      EXPECT_STREQ(scenario[k].name, two[k].name);
      EXPECT_EQ(scenario[k].value, two[k].value);
    }
    EXPECT_EQ(format_scenario_line(line, 8, c.ns, c.unit, c.verb, two, c.count), length);  // cut, yet measured
  }
}

}  // namespace

namespace {
// An output changes at its port's write, inside the scan: before the scan ends, and seen
// by an expectation from that end on.
TEST_F(HostSimulator, AnOutputChangeIsStampedAtItsPortWrite) {
  load_example("blinker");
  sim_power_up();
  sim_list_signals();
  sim_record_start();
  sim_run_to(2 * sim_target.cycles_per_second, [](int64_t cycle) { sim_record_changes(cycle); });
  int outputs = 0;
  for (int64_t k = sim_record_first(); k < sim_record_count; k++) {
    const sim_change &c = sim_record[k % sim_record_capacity];
    if (sim_signals[c.signal].kind != signal_output || c.cycle == 0) continue;
    outputs++;
    EXPECT_GT(c.seen_after, 0) << sim_signals[c.signal].name << " at " << c.cycle;
    EXPECT_LT(c.seen_after, 1000) << sim_signals[c.signal].name << " at " << c.cycle;
  }
  EXPECT_GT(outputs, 0);
}
}  // namespace

namespace {
// A dump written after a run that outgrew the record (as the window writes one) starts
// where the record holds, gives every signal's value there and says so.
TEST_F(HostSimulator, ADumpOfACutRecordSaysFromWhenItHolds) {
  fs::copy_file(fs::path(std::getenv("TALVEN_SOURCE_DIR")) / "targets/pic16f628a.def", "target.def");
  write_file("prog.lit", "*  x0\nln RB0 = RB0\n");
  start_project(without_config_file);
  set_config(config_automate, "target.def");
  set_config(config_literal, "prog.lit");
  ASSERT_TRUE(load_definition_and_names() && load_literal_file());
  ASSERT_EQ(compile_literal_to_image(), compile_ok);
  char error[200];
  ASSERT_TRUE(sim_bind_target(error, sizeof error)) << error;
  sim_power_up();
  sim_list_signals();
  sim_record_start();
  int64_t end = 400 * sim_target.cycles_per_second;
  sim_run_to(end, [](int64_t cycle) { sim_record_changes(cycle); });
  ASSERT_GT(sim_record_held_from(), 0);
  ASSERT_TRUE(write_vcd("cut.vcd", end));
  std::string vcd = read_file("cut.vcd");
  char from[80];
  std::snprintf(from, sizeof from, "this dump holds from %.6fs on $end\r\n#%lld\r\n",
                double(sim_nanoseconds_of_cycles(sim_record_held_from())) / 1e9,
                (long long)sim_nanoseconds_of_cycles(sim_record_held_from()));
  size_t held = vcd.find(from);
  ASSERT_NE(held, std::string::npos) << vcd.substr(0, 2000);
  EXPECT_EQ(vcd.find("#0\r\n"), std::string::npos);
  size_t values = held + std::strlen(from);
  EXPECT_GE(vcd.find("\r\n#", values) + 2 - values, size_t(sim_signal_count) * 4) << "every signal's value where it holds";
}
}  // namespace
