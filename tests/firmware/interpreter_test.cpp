// The interpreter's GRAFCET semantics, with literal programs compiled by talvenc
// for the bundled PIC16F628A definition and run in gpsim.
#include <gtest/gtest.h>

#include <algorithm>

#include <cstdio>

#include "firmware/simulator.h"

class Interpreter : public OnEveryChip {};
RUN_ON_EVERY_CHIP(Interpreter);

constexpr long one_ms = 1000;  // instruction cycles at 4 MHz
// Long enough for a few scans of these small programs, so the pins have settled.
constexpr long settle = 5 * one_ms;

TEST_P(Interpreter, EveryOrderCombinesItsOperandAsDocumented) {
  std::string hex = compile_literal(test_folder(),
                                    "l RA0 a RA1 = RB0\n"
                                    "l RA0 an RA1 = RB1\n"
                                    "l RA0 o RA1 = RB2\n"
                                    "ln RA0 on RA1 = RB3\n"
                                    "l RA0 x RA1 = RB4\n"
                                    "l RA0 xn RA1 = RB5\n"
                                    "ln RA0 = RB6\n"
                                    "l RA0 = M0\n"
                                    "l M0 = RB7");
  // RA1 RA0 = 00, 01, 10, 11, two samples each.
  pin_samples pins = simulate(hex, settle, 8, {{0, 0}, {2 * settle, 1}, {4 * settle, 2}, {6 * settle, 3}});
  EXPECT_EQ(pins.portb[1], 0x68);
  EXPECT_EQ(pins.portb[3], 0x9E);
  EXPECT_EQ(pins.portb[5], 0x5C);
  EXPECT_EQ(pins.portb[7], 0xA5);
}

TEST_P(Interpreter, InputsOnEveryBitOfPortAReachTheirOutputs) {
  std::string hex = compile_literal(test_folder(), "l RA0 = RB7\nl RA1 = RB6\nl RA2 = RB5\nl RA3 = RB4\n"
                                                   "ln RA3 = RB0");
  pin_samples pins = simulate(hex, settle, 4, {{0, 0x5}, {2 * settle, 0xA}});
  EXPECT_EQ(pins.portb[1], 0xA1);
  EXPECT_EQ(pins.portb[3], 0x50);
}

TEST_P(Interpreter, AConditionFalseKeepsTheStepUntilItHolds) {
  std::string hex = compile_literal(test_folder(), "*  x0\nl RA0 > x1\n-  x1\nln RA0 > x0\n"
                                                   "l x0 = RB0\nl x1 = RB1");
  pin_samples pins = simulate(hex, settle, 6, {{0, 0}, {2 * settle, 1}, {4 * settle, 0}});
  EXPECT_EQ(pins.portb, (std::vector<int>{1, 1, 2, 2, 1, 1}));
}

TEST_P(Interpreter, AnEndlessLoopOfTransitionsStillFollowsTheInputs) {
  std::string hex = compile_literal(test_folder(), "*  x0\n > x1\n-  x1\n > x0\nl RA0 = RB7");
  // Every scan runs all 16 passes here, some 6.5 ms.
  pin_samples pins = simulate(hex, 4 * settle, 4, {{0, 0}, {8 * settle, 1}});
  EXPECT_EQ(pins.portb[1] & 0x80, 0);
  EXPECT_EQ(pins.portb[3] & 0x80, 0x80);
}

TEST_P(Interpreter, ATransitionToAVariableThatIsNoStepDoesNothing) {
  std::string hex = compile_literal(test_folder(), "*  x0\n > M3\n > RB5\nl x0 = RB0");
  pin_samples pins = simulate(hex, settle, 2, {});
  EXPECT_EQ(pins.portb[1], 0x01);
}

TEST_P(Interpreter, TimerDoneBitRisesAfterItsPresetAndFallsWithItsEnable) {
  // TP3 (TP1 on a chip of two timers) = 20 ticks of 10 ms. RA0 enables the timer for
  // 400 ms, then for 100 ms only.
  std::string n = std::to_string(std::min(3, current_chip().timers - 1));
  std::string hex = compile_literal(test_folder(), "l RA0 = TE" + n + "\nl T" + n + " = RB0\n#TP" + n + " 20");
  pin_samples pins = simulate(hex, one_ms, 800, {{100 * one_ms, 1}, {500 * one_ms, 0}, {600 * one_ms, 1},
                                                 {700 * one_ms, 0}});
  int rise = -1, fall = -1, on_in_short_enable = 0;
  for (int ms = 1; ms < 800; ms++) {
    if (pins.portb[ms - 1] == 0 && pins.portb[ms] == 1 && rise < 0) rise = ms;
    if (pins.portb[ms - 1] == 1 && pins.portb[ms] == 0 && fall < 0) fall = ms;
    if (ms >= 600 && pins.portb[ms]) on_in_short_enable++;
  }
  // Enabled at 100 ms: done between 200 ms and one tick plus a scan later.
  EXPECT_GE(rise, 299);
  EXPECT_LE(rise, 311);
  EXPECT_GE(fall, 499);
  EXPECT_LE(fall, 501);
  EXPECT_EQ(on_in_short_enable, 0);
}

TEST_P(Interpreter, PinDirectionsComeFromTheTrisConstants) {
  // PORTA bits 0..3 become outputs, PORTB bits 0..3 inputs.
  std::string hex = compile_literal(test_folder(), "*  x0\nl x0 = RA2\nl x0 = RB6\n#TRISA 240\n#TRISB 15");
  label_hits first_scan = run_to_label(hex, "update_timers", 1, 0);
  EXPECT_EQ(first_scan.trisa, (std::vector<int>{0xF0}));
  EXPECT_EQ(first_scan.trisb, (std::vector<int>{0x0F}));
  EXPECT_EQ(first_scan.porta, (std::vector<int>{0x04}));
  EXPECT_EQ(first_scan.portb, (std::vector<int>{0x40}));
}

TEST_P(Interpreter, PortAIsInputAndPortBOutputByDefault) {
  std::string hex = compile_literal(test_folder(), "*  x0\nl x0 = RB3");
  label_hits first_scan = run_to_label(hex, "update_timers", 1);
  EXPECT_EQ(first_scan.trisa, (std::vector<int>{0xFF}));
  EXPECT_EQ(first_scan.trisb, (std::vector<int>{0x00}));
  EXPECT_EQ(first_scan.portb, (std::vector<int>{0x08}));
}

// The program counter of a stopped chip: in the loop that sleeps with the outputs off.
static void expect_stopped(const std::string &hex) {
  // The check reads the whole area first: some 25 ms per 1K words.
  stopped_at chip = run_for(hex, 50 * one_ms * ((current_chip().program_end + 0x7FF) / 0x800));
  int stop = firmware_label("stop_chip");
  EXPECT_GE(chip.pc, stop);
  EXPECT_LT(chip.pc, stop + 12);  // the loop clears every port
  EXPECT_EQ(chip.portb, 0);
}

TEST_P(Interpreter, AProgramAreaThatCannotRunStopsTheChipWithOutputsOff) {
  std::string hex = compile_literal(test_folder(), "*  x0\nl x0 = RB0");
  int first = current_chip().program_start, last = current_chip().program_end - 1;
  {
    SCOPED_TRACE("erased");
    expect_stopped(program_area_changed(hex, "erased", first, last));
  }
  {
    SCOPED_TRACE("without an end: ln x0 = RB0 over and over");
    expect_stopped(program_area_changed(hex, "endless", first, last, {0x3401, 0x3400, 0x3408, 0x3448}));
  }
  {
    SCOPED_TRACE("order code 25, which is 9 in its low four bits");
    expect_stopped(program_area_changed(hex, "code25", first, first, {0x3419}));
  }
  {
    SCOPED_TRACE("order code 15, past the last order");
    expect_stopped(program_area_changed(hex, "code15", first + 2, first + 2, {0x340F}));
  }
}

TEST(FullProgramArea, ScansWithoutAWatchdogReset) {
  // A chain of 63 transitions without conditions, then "=" orders up to the last of the
  // 511 orders: each scan runs 16 passes, far longer than the watchdog's bare 18 ms.
  std::vector<std::string> orders = {"*  x0"};
  for (int step = 1; step < 64; step++) orders.insert(orders.end(), {"> x" + std::to_string(step), "- x" + std::to_string(step)});
  while (orders.size() < 511) orders.push_back("= M0");
  std::string literal, row;
  for (const std::string &order : orders) {  // rows of at most 39 characters
    if (row.size() + 1 + order.size() > 39) literal += row + "\n", row.clear();
    row += (row.empty() ? "" : " ") + order;
  }
  literal += row;
  std::string folder = test_folder();
  std::string hex = compile_literal(folder, literal);
  EXPECT_NE(read_file(folder + "/talvenc.txt").find("Lignes restantes: 0"), std::string::npos)
      << read_file(folder + "/talvenc.txt");
  label_hits scans = run_to_label(hex, "update_timers", 5);
  auto step = [](int n) { return uint64_t(1) << n; };
  EXPECT_EQ(scans.steps, (std::vector<uint64_t>{step(16), step(32), step(48), step(63), step(63)}));
  EXPECT_EQ(scans.unstable, (std::vector<int>{1, 1, 1, 0, 0}));
  long capped = scans.cycles[2] - scans.cycles[1], stable = scans.cycles[4] - scans.cycles[3];
  std::printf("full program area: capped scan %ld cycles (%.3f s), stable scan %ld cycles\n", capped, capped / 1e6,
              stable);
  EXPECT_GT(capped, 100 * one_ms);
  EXPECT_LT(capped, 900 * one_ms);  // the watchdog's shortest period with its prescaler of 128
}

// PORTC, PORTD and PORTE of the 40-pin chips: inputs by default, outputs through their constants.
class FortyPins : public OnEveryChip {};
const char *const forty_pin_chips[] = {"pic16f877a", "pic16f887"};
INSTANTIATE_TEST_SUITE_P(Chips, FortyPins, testing::ValuesIn(forty_pin_chips), chip_test_name);

TEST_P(FortyPins, FurtherPortsFollowTheirTrisConstants) {
  std::string folder = test_folder();
  std::string hex = compile_literal(folder, "*  x0\nl RA0 = RC0\nln RA0 = RC7\nl RA1 = RD7\nl x0 = RE1\n"
                                            "#TRISC 0\n#TRISD 0\n#TRISE 5");
  EXPECT_EQ(further_ports_after(hex, settle, 0x1), (std::vector<int>{0x01, 0x00, 0x02, 0x00, 0x00, 0x05}));
  EXPECT_EQ(further_ports_after(hex, settle, 0x2), (std::vector<int>{0x80, 0x80, 0x02, 0x00, 0x00, 0x05}));
  // By default every pin of them is an input.
  hex = compile_literal(folder, "*  x0\nl x0 = RC0\nl x0 = RD7\nl x0 = RE1");
  std::vector<int> ports = further_ports_after(hex, settle, 0);
  EXPECT_EQ(std::vector<int>(ports.begin() + 3, ports.end()), (std::vector<int>{0xFF, 0xFF, 0x07}));
  label_hits scan = run_to_label(hex, "update_timers", 1);
  EXPECT_EQ(scan.trisa, (std::vector<int>{0xFF}));
  EXPECT_EQ(scan.trisb, (std::vector<int>{0x00}));
}

// RC0 follows RA0 through the host simulator and the chip alike.
TEST_P(FortyPins, HostAndChipAgreeOnAChartDrivingPortD) {
  std::string hex = compile_literal(test_folder(), "*  x0\nl RA0 > x1\n-  x1\nln RA0 > x0\nl x1 = RD3\nl x0 = RB0\n"
                                                   "#TRISD 0");
  pin_samples pins = simulate(hex, settle, 6, {{0, 0}, {2 * settle, 1}, {4 * settle, 0}});
  EXPECT_EQ(pins.portb, (std::vector<int>{1, 1, 0, 0, 1, 1}));
  EXPECT_EQ(pins.steps, (std::vector<uint64_t>{1, 1, 2, 2, 1, 1}));
}
