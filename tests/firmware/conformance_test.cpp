// Charts on the chip behave as IEC 60848 GRAFCET: each case is a small chart,
// drawn or literal, compiled by talvenc for the bundled target and run in gpsim,
// with the pins and the step variables watched over time.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/files.h"
#include "firmware/simulator.h"
#include "model/model.h"
#include "platform/message_box.h"
#include "translate/drawn_charts.h"

namespace fs = std::filesystem;

namespace {

class Grafcet : public OnEveryChip {};
RUN_ON_EVERY_CHIP(Grafcet);

constexpr long one_ms = 1000;  // instruction cycles at 4 MHz
constexpr long settle = 5 * one_ms;

uint64_t steps_of(std::initializer_list<int> numbers) {
  uint64_t set = 0;
  for (int n : numbers) set |= uint64_t(1) << n;
  return set;
}

// The chart drawn into a fresh project, saved as folder/chart.gra and compiled by talvenc,
// which also writes the literal program it made; returns the hex file.
std::string compile_chart(const std::string &folder, void (*draw)()) {
  init_project();
  draw();
  message_box_handler previous = set_message_box_handler([](box_kind, const char *, const char *) {});
  fs::path back = fs::current_path();
  fs::current_path(folder);
  copy_field(config_entries[config_graphic].value, text_size, "chart.gra");
  bool saved = save_graphic_file();
  fs::current_path(back);
  set_message_box_handler(previous);
  EXPECT_TRUE(saved);
  int status = run_talvenc(folder, "--graphic chart.gra --literal-out chart.lit --hex chart.hex");
  EXPECT_EQ(status, 0) << read_file(folder + "/talvenc.txt");
  return folder + "/chart.hex";
}

void set_condition(int transition, const char *text) {
  copy_field(transition_conditions[transition].text, text_size, text);
}

// The parallel chart with inputs: RA0 opens both branches, RA1 and RA2 advance each one,
// RA3 is the join's condition; step n lights RBn.
void draw_lit_parallel_join() {
  draw_parallel_join();
  set_condition(0, "l RA0");
  set_condition(1, "l RA1");
  set_condition(2, "l RA2");
  set_condition(3, "l RA3");
  set_condition(4, "ln RA3");
  const char *lamps[] = {"RB0", "RB1", "RB2", "RB3", "RB4", "RB5"};
  for (int step = 0; step < 6; step++) copy_field(step_outputs[step].text, text_size, lamps[step]);
}

TEST_P(Grafcet, AJoinWaitsForEveryBranch) {
  std::string folder = test_folder();
  std::string hex = compile_chart(folder, draw_lit_parallel_join);
  std::string literal = read_file(folder + "/chart.lit");
  EXPECT_NE(literal.find("l RA3 a x4 > x5\r\n"), std::string::npos) << literal;
  EXPECT_NE(literal.find("l RA3 a x3 > x5\r\n"), std::string::npos) << literal;
  // RA0 opens both branches; branch 1 reaches step 3 and the join's condition holds
  // long before branch 2 reaches step 4; then RA3 falls and the chart starts again.
  pin_samples pins = simulate(hex, 10 * settle, 6,
                              {{0, 0x1}, {10 * settle, 0x2}, {20 * settle, 0xA}, {40 * settle, 0xE},
                               {50 * settle, 0x0}});
  const uint64_t situations[] = {steps_of({1, 2}), steps_of({2, 3}), steps_of({2, 3}),
                                 steps_of({2, 3}), steps_of({5}),    steps_of({0})};
  for (size_t i = 0; i < std::size(situations); i++) {
    EXPECT_EQ(pins.steps[i], situations[i]) << "sample " << i;
    EXPECT_EQ(uint64_t(pins.portb[i]), situations[i]) << "sample " << i;
  }
}

TEST_P(Grafcet, AnAndDivergenceStartsEveryBranchInOnePass) {
  std::string hex = compile_chart(test_folder(), draw_lit_parallel_join);
  label_hits scans = run_to_label(hex, "update_timers", 2, 0x0F, 0x1);
  EXPECT_EQ(scans.steps, (std::vector<uint64_t>{steps_of({1, 2}), steps_of({1, 2})}));
  EXPECT_EQ(scans.portb, (std::vector<int>{0x06, 0x06}));
  EXPECT_EQ(scans.unstable, (std::vector<int>{0, 0}));
}

TEST_P(Grafcet, BothTransitionsOfAnOrDivergenceFireWhenBothHold) {
  std::string hex = compile_literal(test_folder(), "*  x0\nl RA0 > x1\nl RA1 > x2\n-  x1\n-  x2\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl x2 = RB2");
  pin_samples pins = simulate(hex, settle, 2, {{0, 3}});
  EXPECT_EQ(pins.steps[1], steps_of({1, 2}));
  EXPECT_EQ(pins.portb[1], 0x06);
}

TEST_P(Grafcet, AStepDeactivatedAndActivatedInOnePassStaysActive) {
  // x0 and x1 start active; in the first pass x0 activates x1 while x1 leaves for x2.
  std::string hex = compile_literal(test_folder(), "*  x0\n > x1\n*  x1\nl x0 > x2\n-  x2\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl x2 = RB2");
  pin_samples pins = simulate(hex, settle, 2, {});
  EXPECT_EQ(pins.steps[1], steps_of({1, 2}));
  EXPECT_EQ(pins.portb[1], 0x06);
}

TEST_P(Grafcet, ConditionsReadTheSituationAtTheStartOfThePass) {
  // Both transitions fire together although the first one clears x0 before the second reads it.
  std::string hex = compile_literal(test_folder(), "*  x0\n > x2\n*  x1\nl x0 > x3\n-  x2\n-  x3\n"
                                                   "l x2 = RB2\nl x3 = RB3\nl x0 = RB0\nl x1 = RB1");
  pin_samples pins = simulate(hex, settle, 2, {});
  EXPECT_EQ(pins.steps[1], steps_of({2, 3}));
  EXPECT_EQ(pins.portb[1], 0x0C);
}

TEST_P(Grafcet, AChainOfTrueTransitionsIsCrossedWithinOneScan) {
  std::string hex = compile_literal(test_folder(), "*  x0\n > x1\n-  x1\n > x2\n-  x2\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl x2 = RB2");
  label_hits scans = run_to_label(hex, "update_timers", 3);
  EXPECT_EQ(scans.steps, std::vector<uint64_t>(3, steps_of({2})));
  EXPECT_EQ(scans.portb, (std::vector<int>{0x04, 0x04, 0x04}));
}

TEST_P(Grafcet, ActionsOfTransientStepsAreNotPerformed) {
  // x1 is only passed through: its action M0 never becomes 1, so x2 stays. RB0 shows the
  // M0 of the pass before its line; it would show x1's action for one scan.
  std::string hex = compile_literal(test_folder(), "*  x0\n > x1\n-  x1\n > x2\n-  x2\nl M0 > x3\n-  x3\n"
                                                   "l M0 = RB0\nl x1 = M0\nl x2 = RB2\nl x3 = RB3");
  label_hits scans = run_to_label(hex, "update_timers", 4);
  EXPECT_EQ(scans.steps, std::vector<uint64_t>(4, steps_of({2})));
  EXPECT_EQ(scans.portb, std::vector<int>(4, 0x04));
}

TEST_P(Grafcet, PreTreatmentsRunInEveryPassForTheConditions) {
  // M0 is worked out before the step blocks, so x1's condition reads the situation {x1}.
  std::string hex = compile_literal(test_folder(), "l x1 = M0\n*  x0\n > x1\n-  x1\nl M0 > x2\n-  x2\n"
                                                   "l x2 = RB2");
  label_hits scans = run_to_label(hex, "update_timers", 2);
  EXPECT_EQ(scans.steps, std::vector<uint64_t>(2, steps_of({2})));
  EXPECT_EQ(scans.portb, std::vector<int>(2, 0x04));
}

TEST_P(Grafcet, ALoopOfAlwaysTrueTransitionsRunsToTheCapAndSetsUnstable) {
  // Each scan runs 16 passes: x0 -> x1 -> x0 ... ends in x0 with the actions of x0.
  std::string hex = compile_literal(test_folder(), "*  x0\n > x1\n-  x1\n > x0\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl UNSTABLE = RB7");
  label_hits scans = run_to_label(hex, "update_timers", 3);
  EXPECT_EQ(scans.steps, std::vector<uint64_t>(3, steps_of({0})));
  EXPECT_EQ(scans.portb, std::vector<int>(3, 0x81));
  EXPECT_EQ(scans.unstable, std::vector<int>(3, 1));
}

TEST_P(Grafcet, AChainLongerThanTheCapGoesOnInTheNextScanAndUnstableFalls) {
  // 19 transitions without conditions: the first scan stops in x16 after 16 passes,
  // shows x16's action and UNSTABLE; the second reaches x19, stable.
  std::string literal = "*  x0\n";
  for (int step = 0; step < 19; step++)
    literal += " > x" + std::to_string(step + 1) + "\n-  x" + std::to_string(step + 1) + "\n";
  literal += "l x15 = RB0\nl x16 = RB1\nl x19 = RB2\nl UNSTABLE = RB7";
  std::string hex = compile_literal(test_folder(), literal);
  label_hits scans = run_to_label(hex, "update_timers", 3);
  EXPECT_EQ(scans.steps, (std::vector<uint64_t>{steps_of({16}), steps_of({19}), steps_of({19})}));
  EXPECT_EQ(scans.portb, (std::vector<int>{0x82, 0x04, 0x04}));
  EXPECT_EQ(scans.unstable, (std::vector<int>{1, 0, 0}));
}

TEST_P(Grafcet, AnInputEdgeFiresOnlyOneTransitionPerScan) {
  // M0 is the rising edge of RA0, worked out in the pre-treatments: 1 in the first pass
  // of the scan in which RA0 rose, 0 in every later pass.
  std::string hex = compile_literal(test_folder(), "l RA0 an M1 = M0\nl RA0 = M1\n"
                                                   "*  x0\nl M0 > x1\n-  x1\nl M0 > x2\n-  x2\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl x2 = RB2");
  pin_samples pins = simulate(hex, settle, 6, {{0, 0}, {settle, 1}, {3 * settle, 0}, {4 * settle, 1}});
  EXPECT_EQ(pins.steps, (std::vector<uint64_t>{steps_of({0}), steps_of({1}), steps_of({1}), steps_of({1}),
                                               steps_of({2}), steps_of({2})}));
  EXPECT_EQ(pins.portb, (std::vector<int>{1, 2, 2, 2, 4, 4}));
}

TEST_P(Grafcet, AnOutputSetBySeveralStepsIsTheOrOfThem) {
  // The translation's shape for an output shared by steps 1 and 2.
  std::string hex = compile_literal(test_folder(), "-  x1\nl RA0 > x0\n-  x2\nl RA1 > x0\n*  x0\n"
                                                   "ln RA0 an RA1 > x1\nln RA0 an RA1 > x2\n"
                                                   "l x1 o x2 = RB5");
  // Both steps, only x2, both again, only x1, neither.
  pin_samples pins = simulate(hex, settle, 7,
                              {{0, 0}, {2 * settle, 1}, {3 * settle, 0}, {4 * settle, 2}, {5 * settle, 3}, {6 * settle, 0}});
  EXPECT_EQ(pins.steps, (std::vector<uint64_t>{steps_of({1, 2}), steps_of({1, 2}), steps_of({0, 2}),
                                               steps_of({1, 2}), steps_of({0, 1}), steps_of({0}), steps_of({1, 2})}));
  EXPECT_EQ(pins.portb, (std::vector<int>{0x20, 0x20, 0x20, 0x20, 0x20, 0, 0x20}));
}

// Milliseconds from `from` to the first sample at or after it where RBn equals level.
int first_time(const pin_samples &pins, int from, int pin, int level) {
  for (int ms = from; ms < int(pins.portb.size()); ms++)
    if ((pins.portb[ms] >> pin & 1) == level) return ms;
  return -1;
}

// These charts scan in under 2 ms: a pin follows a change within two scans, and a
// delay ends at most one tick of 10 ms and two scans after the step's first scan.
constexpr int scan_ms = 2;
constexpr int tick_ms = 10;

// x0 -(RA0)-> x1, timed by timer 0 (TP0 = 20 ticks), -(T0)-> x2; a side loop from x1 to x3
// and back, entered by `leave` and left by `back`. RBn shows xn.
std::string timed_step(const std::string &folder, const std::string &leave, const std::string &back) {
  return compile_literal(folder, "l RA1 an M1 = M0\nl RA1 = M1\n"
                                 "*  x0\nl RA0 > x1\n-  x1\nl T0 > x2\n" +
                                     leave + " > x3\n-  x2\n-  x3\n" + back +
                                     " > x1\n"
                                     "l x1 = TE0\nl x0 = RB0\nl x1 = RB1\nl x2 = RB2\nl x3 = RB3\n#TP0 20");
}

TEST_P(Grafcet, ATimerEndsItsDelayWithinOneTick) {
  std::string hex = timed_step(test_folder(), "l M9", "l M9");
  EXPECT_LT(shortest_gap(run_to_label(hex, "scan", 4).cycles), scan_ms * one_ms);
  pin_samples pins = simulate(hex, one_ms, 400, {{0, 0}, {100 * one_ms, 1}});
  int entered = first_time(pins, 0, 1, 1), done = first_time(pins, 0, 2, 1);
  EXPECT_GE(entered, 100);
  EXPECT_LE(entered, 100 + 2 * scan_ms);
  EXPECT_GE(done - entered, 200);
  EXPECT_LE(done - entered, 200 + tick_ms + 2 * scan_ms);
  EXPECT_EQ(first_time(pins, done, 1, 0), done);
}

TEST_P(Grafcet, ATimerRestartsWhenItsStepIsEnteredAgain) {
  // x1 at 100 ms, left for x3 from 250 to 300 ms: the delay starts again at 300 ms.
  std::string hex = timed_step(test_folder(), "l RA1", "ln RA1");
  pin_samples pins = simulate(hex, one_ms, 600, {{0, 0}, {100 * one_ms, 1}, {250 * one_ms, 3}, {300 * one_ms, 1}});
  int left = first_time(pins, 0, 3, 1);
  EXPECT_GE(left, 250);
  EXPECT_LE(left, 250 + 2 * scan_ms);
  int back = first_time(pins, left, 1, 1), done = first_time(pins, 0, 2, 1);
  EXPECT_GE(back, 300);
  EXPECT_LE(back, 300 + 2 * scan_ms);
  EXPECT_GE(done - back, 200);
  EXPECT_LE(done - back, 200 + tick_ms + 2 * scan_ms);
}

TEST_P(Grafcet, ATimerRestartsWhenItsEnableDropsInATransientPass) {
  // At 250 ms an edge of RA1 takes x1 to x3 and straight back within one scan: x3 is
  // transient, yet x1 was left, so its delay starts again then.
  std::string hex = timed_step(test_folder(), "l M0", "");
  pin_samples pins = simulate(hex, one_ms, 600, {{0, 0}, {100 * one_ms, 1}, {250 * one_ms, 3}});
  EXPECT_EQ(first_time(pins, 0, 3, 1), -1);
  int done = first_time(pins, 0, 2, 1);
  EXPECT_GE(done, 450);
  EXPECT_LE(done, 450 + tick_ms + 3 * scan_ms);
}

TEST_P(Grafcet, ATimedLoopRestartsItsTimerOnEveryRound) {
  // x0 waits 10 ticks, x1 goes straight back: one round per 11 ticks, counted by the
  // second chart, which toggles x11 whenever it sees x1 in a pass.
  std::string hex = compile_literal(test_folder(), "*  x0\nl T0 > x1\n-  x1\n > x0\n"
                                                   "*  x10\nl x1 > x11\n-  x11\nl x1 > x10\n"
                                                   "l x0 = TE0\nl x11 = RB1\n#TP0 10");
  pin_samples pins = simulate(hex, one_ms, 1000, {});
  std::vector<int> toggles;
  for (int ms = 1; ms < 1000; ms++)
    if ((pins.portb[ms] ^ pins.portb[ms - 1]) & 0x02) toggles.push_back(ms);
  ASSERT_GE(toggles.size(), 8u);
  for (size_t i = 1; i < toggles.size(); i++) {
    EXPECT_GE(toggles[i] - toggles[i - 1], 109) << i;
    EXPECT_LE(toggles[i] - toggles[i - 1], 111) << i;
  }
}

TEST_P(Grafcet, TheInitialSituationIsTheStepsOpenedWithAStar) {
  // "*" of a variable that is no step activates nothing.
  std::string hex = compile_literal(test_folder(), "*  x0\n-  x1\n*  x63\n*  M3\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl x63 = RB2\nl M3 = RB3");
  label_hits scans = run_to_label(hex, "update_timers", 2);
  EXPECT_EQ(scans.steps, std::vector<uint64_t>(2, steps_of({0, 63})));
  EXPECT_EQ(scans.portb, std::vector<int>(2, 0x05));
}

}  // namespace
