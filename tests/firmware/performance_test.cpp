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

TEST(InterpreterCycles, OrdersTakeAtMostFiftyCyclesOnAverage) {
  const char *orders[] = {"l RA0",  "ln RA0", "a RA1",  "an RA1", "o RA2", "on RA2",
                          "x RA3",  "xn RA3", "= M0",   "-  x5",  "> x6"};
  constexpr int copies = 100;
  std::string folder = test_folder();
  long empty = scan_cycles(folder, "");
  std::printf("scan of the empty program: %ld cycles\n", empty);
  long total = 0;
  for (const char *order : orders) {
    long cycles = scan_cycles(folder, repeated(order, copies)) - empty;
    std::printf("%-8s %5.1f cycles\n", order, cycles / double(copies));
    EXPECT_GT(cycles, 0);
    total += cycles;
  }
  double average = total / double(copies * std::size(orders));
  std::printf("average  %5.1f cycles per order\n", average);
  EXPECT_LE(average, 50.0);
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
