// Instruction cycles of the interpreter, measured in gpsim, where counts are exact.
// The figures are printed for docs/target.md.
#include <gtest/gtest.h>

#include <cstdio>

#include "firmware/simulator.h"

// The cycles of one interrupt-free scan of a literal program, inputs RA0..RA3 at `levels`.
static long scan_cycles(const std::string &folder, const std::string &literal, int levels = 0) {
  std::string hex = compile_literal(folder, literal);
  return shortest_gap(run_to_label(hex, "scan", 8, 0x0F, levels).cycles);
}

static std::string repeated(const std::string &order, int times) {
  std::string literal;
  for (int i = 0; i < times; i++) literal += order + "\n";
  return literal;
}

class OrderCycles : public OnEveryChip {};
RUN_ON_EVERY_CHIP(OrderCycles);

TEST_P(OrderCycles, OrdersTakeAtMostFiftyCyclesOnAverage) {
  const char *orders[] = {"l RA0",  "ln RA0", "a RA1",  "an RA1", "o RA2", "on RA2",
                          "x RA3",  "xn RA3", "= M0",   "-  x5",  "> x6"};
  constexpr int copies = 100;
  std::string folder = test_folder();
  long empty = scan_cycles(folder, "");
  std::printf("%s: scan of the empty program: %ld cycles\n", GetParam(), empty);
  long total = 0;
  for (const char *order : orders) {
    long cycles = scan_cycles(folder, repeated(order, copies)) - empty;
    std::printf("%-8s %5.1f cycles\n", order, cycles / double(copies));
    EXPECT_GT(cycles, 0);
    total += cycles;
  }
  double average = total / double(copies * std::size(orders));
  // A scan of 100 orders outlasts a tick period of 250 cycles: the interrupts' share of the
  // time is taken out, so that what remains is the interpreter's own cycles.
  const test_chip &chip = current_chip();
  double own = chip.interrupt_period < 10000 ? average * (1 - chip.interrupt_cycles / chip.interrupt_period) : average;
  std::printf("average  %5.1f cycles per order, %5.1f without the tick's interrupts\n", average, own);
  EXPECT_LE(own, 50.0);
}

TEST(InterpreterCycles, HandWrittenAndGivesTheSameOutputAsTheInterpretedOne) {
  std::string folder = test_folder();
  long empty = scan_cycles(folder, "", 3);
  long interpreted = scan_cycles(folder, "l RA0 a RA1 = RB0", 3) - empty;
  label_hits interpreted_pins = run_to_label(folder + "/program.hex", "update_timers", 2, 0x0F, 3);

  std::string listing = folder + "/hand_written.lst";
  ASSERT_EQ(run_command(std::string(GPASM_PATH) + " -a inhx8m -o '" + folder + "/hand_written.hex' '" +
                            source_path("tests/firmware/hand_written.asm") + "'",
                        folder + "/gpasm.txt"),
            0)
      << read_file(folder + "/gpasm.txt");
  label_hits hand = run_to_label(folder + "/hand_written.hex", "logic", 8, 0x0F, 3, listing);
  long loop = shortest_gap(hand.cycles);
  std::printf("l RA0 a RA1 = RB0: interpreted %ld cycles, hand-written loop %ld cycles "
              "(6 of them read PORTA, write PORTB and jump back)\n",
              interpreted, loop);
  EXPECT_EQ(interpreted_pins.portb.back() & 1, 1);
  EXPECT_EQ(hand.portb.back() & 1, 1);
  EXPECT_GT(loop, 6);
  EXPECT_LE(interpreted, 3 * 50);
}

// The cycles of one pass that fires: the shortest gap between passes of a chart that
// fires in every pass (a step looping to itself), so every scan runs to the cap.
static long firing_pass_cycles(const std::string &folder, const std::string &literal) {
  std::string hex = compile_literal(folder, "*  x0\n> x0\n" + literal);
  return shortest_gap(run_to_label(hex, "pass", 12).cycles);
}

TEST(InterpreterCycles, FiringPassesAndTheActionPart) {
  constexpr int copies = 100;
  std::string folder = test_folder();
  long self_loop = firing_pass_cycles(folder, "");
  long firing = (firing_pass_cycles(folder, repeated("> x0", copies)) - self_loop) / copies;
  long held = (firing_pass_cycles(folder, repeated("= M0", copies)) - self_loop) / copies;
  long held_enable = (firing_pass_cycles(folder, repeated("= TE0", copies)) - self_loop) / copies;
  long stable_assign = (scan_cycles(folder, repeated("= M0", copies)) - scan_cycles(folder, "")) / copies;
  // The pass of "*  x0  > x0" less its two orders: what a firing pass adds by itself.
  long open = (scan_cycles(folder, repeated("-  x5", copies)) - scan_cycles(folder, "")) / copies;
  long pass_overhead = self_loop - open - firing;
  long capped = shortest_gap(run_to_label(compile_literal(folder, "*  x0\n> x0"), "scan", 8).cycles);
  long capped_actions = shortest_gap(run_to_label(compile_literal(folder, "*  x0\n> x0\n" + repeated("= M0", copies)),
                                                  "scan", 8).cycles);
  std::printf("firing >: %ld cycles; a firing pass adds %ld cycles; = in the action part of a firing pass: %ld "
              "cycles (%ld to a timer enable), in the stable pass %ld\n",
              firing, pass_overhead, held, held_enable, stable_assign);
  std::printf("capped scan of *  x0 > x0: %ld cycles; with %d = in its action part: %ld cycles\n", capped, copies,
              capped_actions);
  EXPECT_GT(firing, 0);
  EXPECT_GT(pass_overhead, 0);
  EXPECT_GT(held, stable_assign);
  EXPECT_GT(held_enable, 0);
  // Sixteen firing passes plus the action part run once more for the capped situation; a
  // scan this long has a tick interrupt of some 13 cycles every 10 ms in it.
  EXPECT_NEAR(capped_actions - capped, copies * (16 * held + stable_assign), 13 * (capped_actions / 10000 + 1));
}

TEST(InterpreterCycles, AnEnabledTimerAndAnEndlessLoop) {
  std::string folder = test_folder();
  long enabled = scan_cycles(folder, "ln M0 = TE0") - scan_cycles(folder, "l M0 = TE0");
  long loop = scan_cycles(folder, "*  x0\n > x1\n-  x1\n > x0");
  std::printf("an enabled timer adds %ld cycles to a scan; the endless loop x0 -> x1 -> x0 scans in %ld cycles\n",
              enabled, loop);
  EXPECT_GT(enabled, 0);
  EXPECT_LT(enabled, 50);
  EXPECT_GT(loop, 16 * 2 * 50);
}
