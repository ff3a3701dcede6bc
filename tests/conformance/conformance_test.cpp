// The conformance table on the host simulator: each case compiled for every bundled
// target, its scenario run and its scan checks made, with or without gpsim.
#include <gtest/gtest.h>

#include <cstdio>

#include "compiler/compiler.h"
#include "conformance/cases.h"
#include "simulate/simulate.h"
#include "startup/startup.h"
#include "support/test_support.h"
#include "translate/translate.h"

namespace {

class Grafcet : public ProjectTest, public testing::WithParamInterface<size_t> {};

// The case compiled into the target's image and bound.
void compile_case(const conformance_case &c) {
  if (!c.drawn.empty()) {
    ASSERT_TRUE(draw_picture(c.drawn)) << "a word the picture does not know";
    ASSERT_TRUE(graphic_to_literal());
  } else {
    put_literal(c.literal);
  }
  ASSERT_EQ(compile_literal_to_image(), compile_ok) << testing::PrintToString(recorded_boxes());
  char error[200];
  ASSERT_TRUE(sim_bind_target(error, sizeof error)) << error;
}

// A name as the chip shows it once the last scan has ended.
int shown(const std::string &name) {
  int pin = sim_find_pin(name.c_str()), address = -1;
  if (pin >= 0) return sim_seen_pin(pin);
  EXPECT_TRUE(find_zb(name.c_str(), address)) << name;
  return sim_seen_bit(address);
}

// The timed lines as a scenario file, failures printed into a file of the test's folder.
void expect_scenario(const split_trace &trace) {
  char error[scenario_error_size];
  ASSERT_TRUE(parse_scenario(trace.scenario.data(), long(trace.scenario.size()), error, sizeof error)) << error;
  sim_power_up();
  FILE *out = std::fopen("failures.txt", "wb");
  scenario_result result = run_scenario(0, out, nullptr);
  std::fclose(out);
  EXPECT_EQ(result.failed, 0) << read_file("failures.txt");
}

void expect_scans(const split_trace &trace) {
  sim_power_up();
  for (const assignment &a : trace.power_up) sim_set_input(sim_find_pin(a.name.c_str()), a.value);
  int scan = 0;
  for (const scan_check &check : trace.scans) {
    for (; scan < check.scan; scan++) sim_scan();
    sim_run_to(sim.last_scan_end, nullptr);
    for (const assignment &a : check.expected)
      EXPECT_EQ(shown(a.name), a.value) << "line " << check.line << ": after scan " << check.scan << ", " << a.name;
  }
}

TEST_P(Grafcet, OnTheHostOfEveryBundledTarget) {
  const conformance_case &c = conformance_cases[GetParam()];
  split_trace trace = split(c.trace);
  char targets[bundled_target_capacity][text_size];
  int count = bundled_target_names(targets, bundled_target_capacity);
  ASSERT_GT(count, 0);
  for (int t = 0; t < count; t++) {
    SCOPED_TRACE(targets[t]);
    start_project(without_config_file);
    ASSERT_TRUE(load_bundled_target(targets[t]));
    ASSERT_NO_FATAL_FAILURE(compile_case(c));
    if (trace.timed) expect_scenario(trace);
    expect_scans(trace);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Grafcet, testing::Range(size_t(0), conformance_cases.size()),
                         [](const testing::TestParamInfo<size_t> &info) { return conformance_cases[info.param].name; });

}  // namespace
