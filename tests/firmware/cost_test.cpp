// Every cycle cost the host simulator takes, measured from the assembled interpreter:
// each program below isolates some of them (an order's fetch and handler, a firing
// pass, the timers' start, count and end, the start-up's check of the program), and
// its scans must start on the host at the very cycles gpsim finds, up to one cycle for
// each tick interrupt since (12 or 13 on the chip, as the instruction it lands in takes)
// and one interrupt that such a cycle moves across a scan's start: on the chips ticked
// every 10 ms, every cost is checked to the cycle before the first tick.
#include <gtest/gtest.h>

#include <cstdio>

#include "firmware/host.h"
#include "firmware/simulator.h"

namespace {

std::string repeated(const std::string &order, int times) {
  std::string literal;
  for (int i = 0; i < times; i++) literal += order + "\n";
  return literal;
}

struct cost_case {
  const char *costs;  // what the program's scans are made of
  std::string literal;
  int scans;  // enough to span a few ticks
};

const cost_case cost_cases[] = {
    {"port samples and writes, the end of program", "", 300},
    {"l", repeated("l RA0", 100), 12},
    {"ln", repeated("ln RA0", 100), 12},
    {"a", repeated("a RA1", 100), 12},
    {"an", repeated("an RA1", 100), 12},
    {"o", repeated("o RA2", 100), 12},
    {"on", repeated("on RA2", 100), 12},
    {"x", repeated("x RA3", 100), 12},
    {"xn", repeated("xn RA3", 100), 12},
    {"= in the stable pass", repeated("= M0", 100), 12},
    {"S and R with the result 1, their check at start-up", repeated("S M1", 50) + repeated("R M2", 50), 12},
    {"S and R with the result 0", "l M3\n" + repeated("S M1", 50) + repeated("R M2", 50), 12},
    {"S and R of the action part in firing passes", "*  x0\n> x0\nS M0\nR M0\nS RB1\n", 40},
    {"- of a step", repeated("-  x5", 100), 12},
    {"> with no step open", repeated("> x6", 100), 12},
    {"> whose condition fails", "*  x0\n" + repeated("l RA0 > x1", 4) + "-  x1\n", 40},
    {"firing >, a pass's start and end, the cap", "*  x0\n> x0\n" + repeated("> x0", 4), 40},
    {"= of the action part in firing passes", "*  x0\n> x0\n" + repeated("= M0", 4), 40},
    {"= of a timer enable in firing passes", "*  x0\n> x0\n" + repeated("= TE0", 4), 40},
    {"= before the steps in firing passes", repeated("= M1", 4) + "*  x0\n> x0\n", 40},
    {"> towards a bit that is no step", "*  x0\n" + repeated("> M0", 4), 40},
    {"> from a bit that is no step", "-  M0\n" + repeated("> x1", 4), 40},
    {"the check of initial steps past bit 0 and of others", "*  x5\n*  M0\n*  x13\n" + repeated("l RA0", 20), 40},
    {"a timer started, counted and ended", "ln M0 = TE0\nl T0 = RB0\n#TP0 3\n", 300},
    {"a timer whose count borrows its high byte", "ln M0 = TE0\n#TP0 258\n", 300},
    {"a timer started at zero", "ln M0 = TE0\nl T0 = RB0\n#TP0 0\n", 300},
    // The orders an input's edges add at the start of the program: each against the reads alone.
    {"an input read twice", "l RA0\nl RA0\n", 12},
    {"its rising edge read, then the input", "l /RA0\nl RA0\n", 12},
    {"its falling edge read, then the input", "l \\RA0\nl RA0\n", 12},
    {"its rising edge read, then its falling edge", "l /RA0\nl \\RA0\n", 12},
};

class Costs : public OnEveryChip {};
RUN_ON_EVERY_CHIP(Costs);

TEST_P(Costs, EachCostIsTheChipsToTheCycle) {
  const test_chip &chip = current_chip();
  for (const cost_case &c : cost_cases) {
    if (c.literal.find("TE0") != std::string::npos && chip.timers == 0) continue;
    SCOPED_TRACE(c.costs);
    std::string hex = compile_literal(test_folder(), c.literal);
    std::vector<long> on_chip = run_to_label(hex, "scan", c.scans).cycles;
    std::vector<long> on_host = host_scan_starts(hex, c.scans, 0);
    ASSERT_EQ(on_host.size(), on_chip.size());
    for (size_t k = 0; k < on_chip.size(); k++) {
      long since_first = on_chip[k] - on_chip[0];
      long interrupts = since_first < chip.interrupt_period - 20 ? 0 : since_first / chip.interrupt_period + 1;
      // A tick that falls within those cycles of a scan's start lands in the scan before on one of them.
      long allowed = interrupts == 0 ? 0 : interrupts + long(chip.interrupt_cycles) + 1;
      ASSERT_LE(std::labs(on_host[k] - on_chip[k]), allowed)
          << "scan " << k << ": chip " << on_chip[k] << ", host " << on_host[k];
    }
    std::printf("%-52s first scan at %6ld, then %6ld cycles a scan\n", c.costs, on_chip[0],
                (on_chip.back() - on_chip[0]) / long(on_chip.size() - 1));
  }
}

}  // namespace
