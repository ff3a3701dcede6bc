// The bundled examples: talvenc takes each graphic file to its literal program and
// its expected hex, independent readers accept the hex, and the chart behaves on
// the simulated chip as GRAFCET demands.
#include <gtest/gtest.h>

#include <filesystem>

#include "firmware/simulator.h"

namespace fs = std::filesystem;

const char *const example_names[] = {"blinker", "traffic_light", "choice", "two_hand_press"};

// The traffic light needs three timers; the chips with two refuse it.
static bool example_fits(const std::string &name) { return name != "traffic_light" || current_chip().timers >= 3; }

static std::string example_file(const std::string &name, const std::string &extension) {
  return source_path("examples/" + name + "/" + name + extension);
}

// Compiles the example's graphic file in a folder of its own; returns the folder.
static std::string build_example(const std::string &name) {
  std::string folder = test_folder() + "/" + name;
  fs::create_directories(folder);
  fs::copy_file(example_file(name, ".gra"), folder + "/" + name + ".gra");
  int status = run_talvenc(folder, "--graphic " + name + ".gra --literal-out " + name + ".lit --hex " + name + ".hex");
  EXPECT_EQ(status, 0) << read_file(folder + "/talvenc.txt");
  expect_sound_hex(folder + "/" + name + ".hex");
  return folder;
}

// Lengths of the runs of equal samples, with their values.
struct run {
  int value;
  int length;
};
static std::vector<run> runs_of(const std::vector<int> &samples) {
  std::vector<run> runs;
  for (int value : samples)
    if (!runs.empty() && runs.back().value == value)
      runs.back().length++;
    else
      runs.push_back({value, 1});
  return runs;
}

TEST(Examples, TalvencGivesEachExampleItsLiteralProgramAndExpectedHex) {
  for (const char *name : example_names) {
    std::string folder = build_example(name);
    EXPECT_EQ(read_file(folder + "/" + name + ".lit"), read_file(example_file(name, ".lit"))) << name;
    EXPECT_EQ(read_file(folder + "/" + name + ".hex"), read_file(example_file(name, ".hex"))) << name;
  }
}

TEST(Examples, BlinkerHexHoldsItsProgramAndPresets) {
  std::string hex = read_file(example_file("blinker", ".hex"));
  const char *records[] = {
      ":1008000009340034003498340b3401340a34013490\r\n",  // * x0  l T0  > x1  - x1
      ":10081000003499340b3400340034003408349034fc\r\n",  // l T1  > x0  l x0  = TE0
      ":10082000003401340834483400340134083491343d\r\n",  // l x1  = RB0  l x1  = TE1
      ":100830000c340034ff3fff3fff3fff3fff3fff3fd0\r\n",  // end of program
      ":10420000ff000000000032000000320000006400e7\r\n",  // TRISA, TRISB, TP0 = TP1 = 50, TP2 = 100
      ":10400000ff3fff3fff3fff3fff3fff3fff3f143fab\r\n",  // configuration word 0x3F14
  };
  for (const char *record : records) EXPECT_NE(hex.find(record), std::string::npos) << record;
}

TEST(Examples, IndependentReadersAcceptEveryExpectedHex) {
  std::string folder = test_folder();
  for (const char *name : example_names) {
    std::string report = folder + "/" + name + ".txt";
    ASSERT_EQ(run_command("srec_info '" + example_file(name, ".hex") + "' -Intel", report), 0) << read_file(report);
    std::string info = read_file(report);
    EXPECT_NE(info.find("0000 - 0FFF"), std::string::npos) << info;  // 2048 program words
    EXPECT_NE(info.find("4000 - 400F"), std::string::npos) << info;  // configuration words
    EXPECT_NE(info.find("4200 - 42FF"), std::string::npos) << info;  // 128 EEPROM bytes
    ASSERT_EQ(run_command("gpdasm -p p16f628a '" + example_file(name, ".hex") + "'", report), 0);
    std::string listing = read_file(report);
    EXPECT_NE(listing.find("0000:  2a"), std::string::npos) << "a goto to the start-up code";
    // Every example's first order opens a step: "*" (9) or "-" (10); the press reads its
    // edges first, from "l RA0" (0, bit 64).
    bool opens_step = listing.find("0400:  3409  retlw   0x09") != std::string::npos ||
                      listing.find("0400:  340a  retlw   0x0a") != std::string::npos;
    bool reads_edges = listing.find("0400:  3400  retlw   0x00\n0401:  3440  retlw   0x40") != std::string::npos;
    EXPECT_TRUE(std::string(name) == "two_hand_press" ? reads_edges : opens_step) << name;
  }
}

// The example charts behave the same on every chip.
class ExampleCharts : public OnEveryChip {};
RUN_ON_EVERY_CHIP(ExampleCharts);

TEST_P(ExampleCharts, BlinkerTogglesItsLampEveryHalfSecond) {
  std::string hex = build_example("blinker") + "/blinker.hex";
  pin_samples pins = simulate(hex, 1000, 2600, {});
  std::vector<run> runs = runs_of(pins.portb);
  ASSERT_GE(runs.size(), 5u);
  EXPECT_EQ(runs[0].value, 0);  // x0 first: lamp off
  EXPECT_GE(runs[0].length, 500);
  EXPECT_LE(runs[0].length, 514);  // the start-up, which reads the whole program once, comes first
  for (size_t i = 1; i + 1 < runs.size(); i++) {
    EXPECT_EQ(runs[i].value, i % 2 == 1 ? 1 : 0) << i;
    EXPECT_GE(runs[i].length, 500) << i;
    EXPECT_LE(runs[i].length, 512) << i;
  }
}

TEST_P(ExampleCharts, TrafficLightRunsRedGreenAmberOneLampAtATime) {
  if (!example_fits("traffic_light")) {
    // The compiler names the timer bits the chip lacks and writes no hex.
    std::string folder = test_folder();
    fs::copy_file(example_file("traffic_light", ".gra"), folder + "/traffic_light.gra");
    EXPECT_EQ(run_talvenc(folder, "--graphic traffic_light.gra --hex traffic_light.hex"), 1);
    std::string report = read_file(folder + "/talvenc.txt");
    EXPECT_NE(report.find("ligne  16: ZB  UNKNOWN: TE2"), std::string::npos) << report;
    EXPECT_FALSE(fs::exists(folder + "/traffic_light.hex"));
    return;
  }
  std::string hex = build_example("traffic_light") + "/traffic_light.hex";
  pin_samples pins = simulate(hex, 10000, 1000, {});  // 10 s in steps of 10 ms
  std::vector<run> runs = runs_of(pins.portb);
  ASSERT_GE(runs.size(), 6u);
  const int lamps[] = {0x01, 0x04, 0x02};  // red RB0, green RB2, amber RB1
  const int lengths[] = {200, 200, 50};    // TP0 = TP1 = 2 s, TP2 = 0.5 s
  for (size_t i = 0; i + 1 < runs.size(); i++) {
    EXPECT_EQ(runs[i].value, lamps[i % 3]) << i;
    EXPECT_GE(runs[i].length, lengths[i % 3] - 1) << i;
    EXPECT_LE(runs[i].length, lengths[i % 3] + 2) << i;
  }
}

TEST_P(ExampleCharts, ChoiceTakesTheBranchWhoseInputIsSetAndMeetsAgainAfterIt) {
  std::string hex = build_example("choice") + "/choice.hex";
  // Samples every 10 ms. RA0 alone, then RA1 alone (RA0 pressed meanwhile changes
  // nothing), then both: the left branch has priority.
  pin_samples pins = simulate(hex, 10000, 300,
                              {{50000, 1}, {200000, 0}, {1000000, 2}, {1100000, 3}, {1300000, 0}, {2000000, 3},
                               {2200000, 0}});
  std::vector<run> runs = runs_of(pins.portb);
  const run expected[] = {{0, 5},  {0x01, 15}, {0x04, 50}, {0, 30}, {0x02, 30},
                          {0x04, 50}, {0, 20}, {0x01, 20}, {0x04, 50}, {0, 30}};
  ASSERT_EQ(runs.size(), std::size(expected));
  for (size_t i = 0; i < runs.size(); i++) {
    EXPECT_EQ(runs[i].value, expected[i].value) << i;
    EXPECT_NEAR(runs[i].length, expected[i].length, 1) << i;
  }
}

TEST_P(ExampleCharts, TwoHandPressClosesForTwoSecondsOnlyWhenTheHandsComeWithinHalfASecond) {
  std::string hex = build_example("two_hand_press") + "/two_hand_press.hex";
  // Samples every 10 ms. RA1 0.2 s after RA0: a stroke; RA1 0.7 s after RA0: the fault.
  pin_samples pins = simulate(hex, 10000, 450, {{100000, 1}, {300000, 3}, {2500000, 0}, {3000000, 1},
                                                {3700000, 3}, {4000000, 0}});
  std::vector<run> runs = runs_of(pins.portb);
  // Ready RB3, waiting, the press RB0, hands up RB1, ready, waiting, the fault RB2 with hands
  // up RB1, ready with the fault lamp held. A step time is never short, and at most a tick
  // and two scans long: the run after it is as much shorter.
  const struct {
    int value, shortest, longest;
  } expected[] = {{0x08, 10, 10}, {0, 20, 20},  {0x01, 200, 202}, {0x02, 18, 20},
                  {0x08, 50, 50}, {0, 50, 52},  {0x06, 48, 50},   {0x0C, 50, 50}};
  ASSERT_EQ(runs.size(), std::size(expected));
  for (size_t i = 0; i < runs.size(); i++) {
    EXPECT_EQ(runs[i].value, expected[i].value) << i;
    EXPECT_GE(runs[i].length, expected[i].shortest) << i;
    EXPECT_LE(runs[i].length, expected[i].longest) << i;
  }
}

// The press reads 56 orders a pass, its edges' and stored actions' included: under 3.5 ms.
TEST_P(ExampleCharts, EachStableScanTakesLessThanTwoMilliseconds) {
  for (const char *name : example_names) {
    if (!example_fits(name)) continue;
    std::string hex = build_example(name) + "/" + name + ".hex";
    long scan = shortest_gap(run_to_label(hex, "scan", 8).cycles);
    std::printf("%-10s %-14s scan %ld cycles (%.2f ms at 4 MHz)\n", GetParam(), name, scan, scan / 1000.0);
    EXPECT_GT(scan, 0);
    EXPECT_LT(scan, std::string(name) == "two_hand_press" ? 3500 : 2000) << name;
  }
}

// The 40-pin board's example: its lamps on PORTD take turns on both 40-pin chips.
class FortyPinExample : public OnEveryChip {};
const char *const forty_pin_example_chips[] = {"pic16f877a", "pic16f887"};
INSTANTIATE_TEST_SUITE_P(Chips, FortyPinExample, testing::ValuesIn(forty_pin_example_chips), chip_test_name);

TEST_P(FortyPinExample, TrafficLightOnPortDRunsRedGreenAmber) {
  std::string name = "traffic_light_40";
  std::string folder = build_example(name);
  if (current_chip().name == std::string("pic16f877a")) {
    EXPECT_EQ(read_file(folder + "/" + name + ".lit"), read_file(example_file(name, ".lit")));
    EXPECT_EQ(read_file(folder + "/" + name + ".hex"), read_file(example_file(name, ".hex")));
  }
  // PORTD after 1 s (red), 3 s (green), 4.25 s (amber) and 5 s (red again); TRISD = 0 from the chart.
  const long at[] = {1000000, 3000000, 4250000, 5000000};
  const int lamps[] = {0x01, 0x04, 0x02, 0x01};
  for (size_t i = 0; i < std::size(at); i++) {
    std::vector<int> ports = further_ports_after(folder + "/" + name + ".hex", at[i], 0);
    EXPECT_EQ(ports[1], lamps[i]) << at[i] << " cycles";
    EXPECT_EQ(ports[4], 0x00) << "TRISD";
  }
}
