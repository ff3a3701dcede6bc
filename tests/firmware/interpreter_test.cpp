// The interpreter's GRAFCET semantics, with literal programs compiled by talvenc
// for the bundled PIC16F628A definition and run in gpsim.
#include <gtest/gtest.h>

#include "firmware/simulator.h"

constexpr long one_ms = 1000;  // instruction cycles at 4 MHz
// Long enough for a few scans of these small programs, so the pins have settled.
constexpr long settle = 5 * one_ms;

TEST(Interpreter, EveryOrderCombinesItsOperandAsDocumented) {
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

TEST(Interpreter, InputsOnEveryBitOfPortAReachTheirOutputs) {
  std::string hex = compile_literal(test_folder(), "l RA0 = RB7\nl RA1 = RB6\nl RA2 = RB5\nl RA3 = RB4\n"
                                                   "ln RA3 = RB0");
  pin_samples pins = simulate(hex, settle, 4, {{0, 0x5}, {2 * settle, 0xA}});
  EXPECT_EQ(pins.portb[1], 0xA1);
  EXPECT_EQ(pins.portb[3], 0x50);
}

TEST(Interpreter, InitialStepsAreActiveFromPowerUpAndOthersAreNot) {
  std::string hex = compile_literal(test_folder(), "*  x0\n-  x1\n*  x63\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl x63 = RB2");
  pin_samples pins = simulate(hex, settle, 2, {});
  EXPECT_EQ(pins.portb[0], 0x05);
  EXPECT_EQ(pins.portb[1], 0x05);
}

TEST(Interpreter, TransitionsWithoutConditionRunOnToTheStableSituationWithinOneScan) {
  // x0 -> x1 -> x2, no conditions: the pins only ever show x2.
  std::string hex = compile_literal(test_folder(), "*  x0\n > x1\n-  x1\n > x2\n-  x2\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl x2 = RB2");
  label_hits first_scans = run_to_label(hex, "update_timers", 3);
  EXPECT_EQ(first_scans.portb, (std::vector<int>{0x04, 0x04, 0x04}));
}

TEST(Interpreter, AConditionFalseKeepsTheStepUntilItHolds) {
  std::string hex = compile_literal(test_folder(), "*  x0\nl RA0 > x1\n-  x1\nln RA0 > x0\n"
                                                   "l x0 = RB0\nl x1 = RB1");
  pin_samples pins = simulate(hex, settle, 6, {{0, 0}, {2 * settle, 1}, {4 * settle, 0}});
  EXPECT_EQ(pins.portb, (std::vector<int>{1, 1, 2, 2, 1, 1}));
}

TEST(Interpreter, AStepDeactivatedAndActivatedInOnePassStaysActive) {
  // x0 and x1 start active; in the first pass x0 activates x1 while x1 leaves for x2.
  // x1 may leave only while x0 is active, so afterwards x1 and x2 stay.
  std::string hex = compile_literal(test_folder(), "*  x0\n > x1\n*  x1\nl x0 > x2\n-  x2\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl x2 = RB2");
  pin_samples pins = simulate(hex, settle, 2, {});
  EXPECT_EQ(pins.portb[1], 0x06);
}

TEST(Interpreter, ConditionsReadTheSituationAtTheStartOfThePass) {
  // Both transitions fire together although the first one clears x0 before the second reads it.
  std::string hex = compile_literal(test_folder(), "*  x0\n > x2\n*  x1\nl x0 > x3\n-  x2\n-  x3\n"
                                                   "l x2 = RB2\nl x3 = RB3\nl x0 = RB0\nl x1 = RB1");
  pin_samples pins = simulate(hex, settle, 2, {});
  EXPECT_EQ(pins.portb[1], 0x0C);
}

TEST(Interpreter, TwoTransitionsLeavingOneStepBothFireWhenBothHold) {
  std::string hex = compile_literal(test_folder(), "*  x0\nl RA0 > x1\nl RA1 > x2\n-  x1\n-  x2\n"
                                                   "l x0 = RB0\nl x1 = RB1\nl x2 = RB2");
  pin_samples pins = simulate(hex, settle, 2, {{0, 3}});
  EXPECT_EQ(pins.portb[1], 0x06);
}

TEST(Interpreter, PassesOfOneScanStopAtSixteenSoOutputsKeepComing) {
  // A chain of 20 steps without conditions: the first scan stops after 16 passes,
  // showing the outputs of the situation its last pass started from (x15).
  std::string literal = "*  x0\n";
  for (int step = 0; step < 19; step++)
    literal += " > x" + std::to_string(step + 1) + "\n-  x" + std::to_string(step + 1) + "\n";
  literal += "l x15 = RB0\nl x16 = RB1\nl x19 = RB2\nl RA0 = RB7";
  std::string hex = compile_literal(test_folder(), literal);
  label_hits scans = run_to_label(hex, "update_timers", 2);
  EXPECT_EQ(scans.portb, (std::vector<int>{0x01, 0x04}));
}

TEST(Interpreter, AnEndlessLoopOfTransitionsStillFollowsTheInputs) {
  std::string hex = compile_literal(test_folder(), "*  x0\n > x1\n-  x1\n > x0\nl RA0 = RB7");
  // Every scan runs all 16 passes here, some 6.5 ms.
  pin_samples pins = simulate(hex, 4 * settle, 4, {{0, 0}, {8 * settle, 1}});
  EXPECT_EQ(pins.portb[1] & 0x80, 0);
  EXPECT_EQ(pins.portb[3] & 0x80, 0x80);
}

TEST(Interpreter, ATransitionToAVariableThatIsNoStepDoesNothing) {
  std::string hex = compile_literal(test_folder(), "*  x0\n > M3\n > RB5\nl x0 = RB0");
  pin_samples pins = simulate(hex, settle, 2, {});
  EXPECT_EQ(pins.portb[1], 0x01);
}

TEST(Interpreter, TimerDoneBitRisesAfterItsPresetAndFallsWithItsEnable) {
  // TP3 = 20 ticks of 10 ms. RA0 enables the timer for 400 ms, then for 100 ms only.
  std::string hex = compile_literal(test_folder(), "l RA0 = TE3\nl T3 = RB0\n#TP3 20");
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

TEST(Interpreter, PinDirectionsComeFromTheTrisConstants) {
  // PORTA bits 0..3 become outputs, PORTB bits 0..3 inputs.
  std::string hex = compile_literal(test_folder(), "*  x0\nl x0 = RA2\nl x0 = RB6\n#TRISA 240\n#TRISB 15");
  label_hits first_scan = run_to_label(hex, "update_timers", 1, 0);
  EXPECT_EQ(first_scan.trisa, (std::vector<int>{0xF0}));
  EXPECT_EQ(first_scan.trisb, (std::vector<int>{0x0F}));
  EXPECT_EQ(first_scan.porta, (std::vector<int>{0x04}));
  EXPECT_EQ(first_scan.portb, (std::vector<int>{0x40}));
}

TEST(Interpreter, PortAIsInputAndPortBOutputByDefault) {
  std::string hex = compile_literal(test_folder(), "*  x0\nl x0 = RB3");
  label_hits first_scan = run_to_label(hex, "update_timers", 1);
  EXPECT_EQ(first_scan.trisa, (std::vector<int>{0xFF}));
  EXPECT_EQ(first_scan.trisb, (std::vector<int>{0x00}));
  EXPECT_EQ(first_scan.portb, (std::vector<int>{0x08}));
}
