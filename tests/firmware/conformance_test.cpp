// The conformance table on the chip: each case compiled by talvenc for every chip and
// run in gpsim, its scenario checked on the chip's samples (and the host's trace
// against the chip's) and its scan checks at the interpreter's end of scan.
#include <gtest/gtest.h>

#include <tuple>

#include "conformance/cases.h"
#include "files/files.h"
#include "firmware/host.h"
#include "firmware/simulator.h"

namespace {

using chip_case = std::tuple<size_t, const char *>;

class Grafcet : public testing::TestWithParam<chip_case> {
 protected:
  void SetUp() override { use_chip(std::get<1>(GetParam())); }
};

// The case's chart saved and compiled by talvenc, or its literal program; the hex file.
std::string compile_case(const std::string &folder, const conformance_case &c) {
  if (c.drawn.empty()) return compile_literal(folder, c.literal);
  init_project();
  EXPECT_TRUE(draw_picture(c.drawn));
  EXPECT_TRUE(write_graphic_file((folder + "/chart.gra").c_str()));
  EXPECT_EQ(run_talvenc(folder, "--graphic chart.gra --hex chart.hex"), 0) << read_file(folder + "/talvenc.txt");
  return folder + "/chart.hex";
}

// A name as the chip shows it at its interpreter's end of a scan.
int at_scan_end(const label_hits &hits, size_t k, const std::string &name) {
  int number = std::atoi(name.c_str() + name.find_first_of("0123456789"));
  if (name == "UNSTABLE") return hits.unstable[k];
  if (name.rfind("RB", 0) == 0) return hits.portb[k] >> number & 1;
  if (name[0] == 'x') return int(hits.steps[k] >> number & 1);
  ADD_FAILURE() << "the chip's scan ends do not show " << name;
  return -1;
}

void expect_scans(const std::string &hex, const split_trace &trace) {
  int porta = 0, scans = 0;
  for (const assignment &a : trace.power_up) porta |= a.value << std::atoi(a.name.c_str() + 2);
  for (const scan_check &check : trace.scans) scans = std::max(scans, check.scan);
  label_hits hits = run_to_label(hex, "update_timers", scans, 0x0F, porta);
  ASSERT_EQ(int(hits.portb.size()), scans);
  for (const scan_check &check : trace.scans)
    for (const assignment &a : check.expected)
      EXPECT_EQ(at_scan_end(hits, size_t(check.scan - 1), a.name), a.value)
          << "line " << check.line << ": after scan " << check.scan << ", " << a.name;
}

TEST_P(Grafcet, OnTheChip) {
  const conformance_case &c = conformance_cases[std::get<0>(GetParam())];
  split_trace trace = split(c.trace);
  std::string folder = test_folder();
  std::string hex = compile_case(folder, c);
  if (trace.timed) {
    write_file(folder + "/trace.txt", trace.scenario);
    std::string failures;
    EXPECT_EQ(scenario_failures_on_chip(hex, folder + "/trace.txt", &failures), 0) << failures;
  }
  if (!trace.scans.empty()) expect_scans(hex, trace);
}

// Over 20 s with the inputs of its power-up, the host's k-th scan starts within a scan of the chip's.
TEST_P(Grafcet, ScansWithinAScanOfTheChipOverTwentySeconds) {
  const conformance_case &c = conformance_cases[std::get<0>(GetParam())];
  int porta = 0;
  for (const assignment &a : split(c.trace).power_up) porta |= a.value << std::atoi(a.name.c_str() + 2);
  expect_within_a_scan(compile_case(test_folder(), c), 20000 * one_millisecond, {{0, porta}});
}

INSTANTIATE_TEST_SUITE_P(Cases, Grafcet,
                         testing::Combine(testing::Range(size_t(0), conformance_cases.size()),
                                          testing::ValuesIn(every_chip_name())),
                         [](const testing::TestParamInfo<chip_case> &info) {
                           return std::string(conformance_cases[std::get<0>(info.param)].name) + "_" +
                                  std::get<1>(info.param);
                         });

// What a trace cannot show: the timed charts scan in under 2 ms, which the cases' margins assume.
class GrafcetScans : public OnEveryChip {};
RUN_ON_EVERY_CHIP(GrafcetScans);

TEST_P(GrafcetScans, TheTimedChartScansInUnderTwoMilliseconds) {
  std::string hex = compile_literal(test_folder(), timed_step("l M9", "l M9"));
  EXPECT_LT(shortest_gap(run_to_label(hex, "scan", 4).cycles), 2 * one_millisecond);
}

}  // namespace
