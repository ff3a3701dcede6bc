// talvenc --simulate: a chart run on the host against a scenario file, with its
// verdict, its errors, and the waveforms it writes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/talvenc_runner.h"

namespace {

std::string bundled_definition() { return std::string(std::getenv("TALVEN_SOURCE_DIR")) + "/targets/pic16f628a.def"; }

// A program of the bundled target: RB0 follows RA0; RA1 takes x0 to x1, whose
// timer (20 ticks, 0.2 s) leads back; x1 lights RB1.
const char *const follower =
    "l RA0 = RB0\n*  x0\nl RA1 > x1\n-  x1\nl T0 > x0\nl x1 = RB1\nl x1 = TE0\n#TP0 20\n";

class Simulate : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    std::filesystem::copy_file(bundled_definition(), "target.def");
    write_file("prog.lit", follower);
  }
  static run_result simulate(const std::string &scenario, const std::string &more = "") {
    write_file("scenario.txt", scenario);
    return talvenc("--definition target.def --literal prog.lit --simulate scenario.txt " + more);
  }
};

const char *const loaded = "Def File: Fichier de definition charge avec succes\n";

TEST_F(Simulate, AScenarioThatHoldsPassesWithExitZero) {
  run_result run = simulate("# inputs follow\r\n"
                            "10ms expect RB0=0 x0=1   # before anything is set\r\n"
                            "\r\n"
                            "20ms set RA0=1\r\n30ms expect RB0=1 RA0=1\r\n"
                            "40ms set RA1=1\r\n45ms set RA1=0\r\n50ms expect x1=1 RB1=1 TE0=1 T0=0\r\n"
                            "300ms expect x0=1 RB1=0\r\n");
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out, "10 expectations, 0 failed\n");
  EXPECT_EQ(run.err, loaded);
}

TEST_F(Simulate, EachFailedExpectationIsPrintedWithItsLineAndTime) {
  run_result run = simulate("20ms set RA0=1\n30ms expect RB0=0 RB1=0\n1.5s expect RB0=1 x1=1\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "line 2: at 0.030s expected RB0=0, got 1\n"
            "line 3: at 1.500s expected x1=1, got 0\n"
            "4 expectations, 2 failed\n");
}

// A timed step: RB1 on for the timer's 0.2 s (one tick more at most, and the scan that shows it).
TEST_F(Simulate, ATimerHoldsItsStepForItsPreset) {
  run_result run = simulate("5ms set RA1=1\n10ms set RA1=0\n20ms expect RB1=1\n200ms expect RB1=1\n"
                            "235ms expect RB1=0 x0=1\n");
  EXPECT_EQ(run.status, 0) << run.out;
}

TEST_F(Simulate, ScenarioErrorsNameTheirLineAndWriteNothing) {
  struct bad {
    const char *scenario, *message;
  } cases[] = {
      {"10ms expect RB0=0\n20ms expect RB9=1\n", "scenario line 2: unknown name 'RB9'\n"},
      {"10ms set RB0=1\n", "scenario line 1: RB0 is not an input pin\n"},
      {"10ms set M3=1\n", "scenario line 1: M3 is not an input pin\n"},
      {"ten set RA0=1\n", "scenario line 1: malformed time 'ten' (for example 250ms or 1.5s)\n"},
      {"10 set RA0=1\n", "scenario line 1: malformed time '10' (for example 250ms or 1.5s)\n"},
      {"1.5us set RA0=1\n", "scenario line 1: malformed time '1.5us' (for example 250ms or 1.5s)\n"},
      {"99999999999999999999ms set RA0=1\n",
       "scenario line 1: malformed time '99999999999999999999ms' (for example 250ms or 1.5s)\n"},
      {"9999999999s set RA0=1\n", "scenario line 1: malformed time '9999999999s' (for example 250ms or 1.5s)\n"},
      {"10ms set RA0=2\n", "scenario line 1: malformed value '2' (0 or 1)\n"},
      {"10ms set RA0\n", "scenario line 1: malformed assignment 'RA0' (NAME=0 or NAME=1)\n"},
      {"1s set RA0=1\n\n500ms expect RB0=1\n", "scenario line 3: time 500ms goes back before the line above\n"},
      {"10ms press RA0=1\n", "scenario line 1: expected 'set' or 'expect', got 'press'\n"},
      {"10ms set\n", "scenario line 1: nothing to set or expect (NAME=0 or NAME=1)\n"},
      {"10ms\n", "scenario line 1: expected 'set' or 'expect' after the time\n"},
  };
  for (const bad &c : cases) {
    run_result run = simulate(c.scenario, "--vcd run.vcd");
    EXPECT_EQ(run.status, 2) << c.scenario;
    EXPECT_EQ(run.err, std::string(loaded) + c.message) << c.scenario;
    EXPECT_EQ(run.out, "") << c.scenario;
    EXPECT_FALSE(std::filesystem::exists("run.vcd")) << c.scenario;
  }
}

TEST_F(Simulate, AMissingScenarioFileIsAnError) {
  run_result run = talvenc("--definition target.def --literal prog.lit --simulate absent.txt");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("cannot read the scenario file"), std::string::npos) << run.err;
}

TEST_F(Simulate, AProgramThatDoesNotCompileIsNotRun) {
  write_file("prog.lit", "l RA0 = NOWHERE\n");
  run_result run = simulate("10ms expect RB0=0\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("Error: \nErrors:\n\nligne   0: ZB  UNKNOWN: NOWHERE"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, "");
}

// The definition must name the simulator's bits and give the clock and every cycle cost:
// none is guessed from another chip, and nothing is run or written.
TEST_F(Simulate, ADefinitionWithoutTheNamesOrCostsIsRefused) {
  const struct {
    const char *line, *message;
  } cases[] = {
      {"frequence_horloge 4000000\r\n", "the definition does not give the chip's clock (frequence_horloge)"},
      {"eb 1 TRISB\r\n", "the definition has pins on port B but no constant TRISB"},
      {"cycles_lecture_ordre 37\r\n", "the definition does not give the simulator's cycle cost cycles_lecture_ordre"},
      {"cycles_controle_ordre 38\r\n", "the definition does not give the simulator's cycle cost cycles_controle_ordre"},
      {"periode_interruption 10000\r\n", "the definition does not give the simulator's cycle cost periode_interruption"},
      {"chemin_lecture_ordre 0\r\n", "the definition does not give the simulator's cycle cost chemin_lecture_ordre"},
      {"cycles_interruption_tick 0\r\n",
       "the definition does not give the simulator's cycle cost cycles_interruption_tick"},
  };
  std::string full = read_file("target.def");
  write_file("scenario.txt", "10ms expect RB0=0\n");
  write_file("prog.lit", "l RA0 = M0\n");
  for (const auto &c : cases) {
    std::string without = full;
    without.erase(without.find(c.line), std::strlen(c.line));
    write_file("lacking.def", without);
    run_result run = talvenc("--definition lacking.def --literal prog.lit --simulate scenario.txt --vcd run.vcd");
    EXPECT_EQ(run.status, 2) << c.line;
    EXPECT_EQ(run.err, std::string(loaded) + "talvenc: " + c.message + "\n") << c.line;
    EXPECT_EQ(run.out, "") << c.line;
    EXPECT_FALSE(std::filesystem::exists("run.vcd")) << c.line;
  }
}

// A copy of the bundled target that moves the program area: its interpreter still reads
// at 0x400, so neither the hex nor the simulation may take the declared one.
TEST_F(Simulate, AProgramAreaTheInterpreterDoesNotReadIsRefused) {
  std::string moved = read_file("target.def");
  moved.replace(moved.find("adr_start_graphcet 400"), 22, "adr_start_graphcet 500");
  write_file("moved.def", moved);
  write_file("scenario.txt", "10ms expect RB0=0\n");
  const std::string refusal =
      "Def File: adr_start_graphcet 500 is not where the PIC16F628A interpreter of this definition reads its program (400)\n";
  for (const char *outputs : {"--hex out.hex", "--simulate scenario.txt --vcd run.vcd"}) {
    run_result run = talvenc(std::string("--definition moved.def --literal prog.lit ") + outputs);
    EXPECT_EQ(run.status, 2) << outputs;
    EXPECT_EQ(run.err, std::string(loaded) + refusal) << outputs;
    EXPECT_EQ(run.out, "") << outputs;
    EXPECT_FALSE(std::filesystem::exists("out.hex") || std::filesystem::exists("run.vcd")) << outputs;
  }
}

TEST_F(Simulate, BadSimulationOptionsPrintTheUsage) {
  write_file("scenario.txt", "10ms expect RB0=0\n");
  for (const char *arguments : {"--literal prog.lit --vcd run.vcd", "--literal prog.lit --until 1s",
                                "--literal prog.lit --simulate scenario.txt --simulate scenario.txt"}) {
    run_result run = talvenc(std::string("--definition target.def ") + arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_EQ(run.err.rfind("usage: talvenc", 0), 0u) << arguments;
  }
  run_result run = simulate("10ms expect RB0=0\n", "--until soon");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, std::string(loaded) + "talvenc: malformed time for --until: soon\n");
  run = simulate("10ms expect RB0=0\n", "--chronogram run.bmp");
  EXPECT_EQ(run.status, 2);
}

// The dump opens with the signals, then lists changes in time order up to the end of the run.
TEST_F(Simulate, TheValueChangeDumpHoldsEveryWatchedSignalAndItsEdges) {
  run_result run = simulate("20ms set RA0=1\n60ms set RA0=0\n", "--until 100ms --vcd run.vcd");
  ASSERT_EQ(run.status, 0) << run.err;
  std::string vcd = read_file("run.vcd");
  EXPECT_EQ(vcd.rfind("$date TALVEN simulation $end\r\n$version TALVEN $end\r\n$timescale 1ns $end\r\n"
                      "$scope module chip $end\r\n$var wire 1 ! RA0 $end\r\n", 0),
            0u)
      << vcd;
  for (const char *signal : {" RB0 $end", " x0 $end", " x1 $end", " TE0 $end", " T0 $end", " UNSTABLE $end"})
    EXPECT_NE(vcd.find(signal), std::string::npos) << signal;
  EXPECT_EQ(vcd.find(" M0 $end"), std::string::npos) << "only the bits the program uses";
  // RA0 rises at 20 ms exactly; RB0 follows at the end of the scan that read it.
  size_t rise = vcd.find("#20000000\r\n1!\r\n");
  ASSERT_NE(rise, std::string::npos) << vcd;
  size_t rb0_id = vcd.find(" RB0 $end") - 1;
  std::string rb0_rises = std::string("\r\n1") + vcd[rb0_id] + "\r\n";
  size_t follow = vcd.find(rb0_rises, rise);
  ASSERT_NE(follow, std::string::npos);
  long at = std::atol(vcd.c_str() + vcd.rfind('#', follow) + 1);
  EXPECT_GT(at, 20000000);
  EXPECT_LT(at, 22000000) << "within two scans";
  EXPECT_NE(vcd.find("#100000000\r\n"), vcd.npos) << "the run goes on until --until";
  EXPECT_EQ(vcd.substr(vcd.size() - 12), "#100000000\r\n");
}

// A run of more changes than the record keeps (RB0 toggles every scan for 400 s): the dump
// still starts at 0 with every signal's value and holds every toggle; the chronogram says
// from when it holds.
TEST_F(Simulate, ALongRunsDumpIsWholeFromPowerUp) {
  write_file("prog.lit", "*  x0\nln RB0 = RB0\n");
  run_result run = simulate("0ms set RA0=0\n", "--until 400s --vcd run.vcd --chronogram run.svg");
  ASSERT_EQ(run.status, 0) << run.err;
  std::string vcd = read_file("run.vcd");
  const std::string opening = "$enddefinitions $end\r\n#0\r\n";
  size_t start = vcd.find(opening);
  ASSERT_NE(start, std::string::npos);
  size_t signals = 0, toggles = 0;
  for (size_t at = vcd.find("$var "); at < start; at = vcd.find("$var ", at + 1)) signals++;
  size_t values = start + opening.size(), first_values = vcd.find("\r\n#", values) + 2 - values;  // '#' is also a signal's name
  EXPECT_EQ(first_values, signals * 4) << "one value line per signal at 0";
  std::string rb0 = vcd.substr(vcd.find(" RB0 $end") - 1, 1) + "\r\n";
  for (size_t at = vcd.find("\r\n1" + rb0); at != std::string::npos; at = vcd.find("\r\n1" + rb0, at + 1)) toggles++;
  EXPECT_GT(toggles, size_t(1) << 19) << "every rise of RB0, more than half the record's capacity";
  EXPECT_EQ(vcd.find("$comment"), std::string::npos);
  EXPECT_NE(run.err.find("talvenc: the run outgrew the record of the last 1048576 changes: run.svg shows it from "),
            std::string::npos) << run.err;
  EXPECT_NE(read_file("run.svg").find(">not kept</text>"), std::string::npos);
}

TEST_F(Simulate, TheChronogramDrawsARowPerSignalAndBarsForSteps) {
  run_result run = simulate("40ms set RA1=1\n", "--until 300ms --chronogram run.svg");
  ASSERT_EQ(run.status, 0) << run.err;
  std::string svg = read_file("run.svg");
  EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
  for (const char *label : {">RA0<", ">RB1<", ">x0<", ">x1<", ">T0<", ">0.300s<"})
    EXPECT_NE(svg.find(label), std::string::npos) << label;
  EXPECT_NE(svg.find("class=\"step\""), std::string::npos) << "an active step is a bar";
  EXPECT_EQ(svg.substr(svg.size() - 8), "</svg>\r\n");
}

// The same picture as a PNG, read back by ImageMagick: x0's bar until RA1 at 40 ms, then
// RB1 high while x1 holds its 0.2 s.
TEST_F(Simulate, TheChronogramAsAPictureShowsTheStepsAndOutputs) {
  run_result run = simulate("40ms set RA1=1\n45ms set RA1=0\n", "--until 300ms --chronogram run.png");
  ASSERT_EQ(run.status, 0) << run.err;
  auto pixel = [](int x, int y) {
    std::string command = "convert run.png -format '%[pixel:p{" + std::to_string(x) + "," + std::to_string(y) +
                          "}]' info: >pixel.txt 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    return read_file("pixel.txt");
  };
  int x0_row = 30 + 16 * 24, rb1_row = 30 + 9 * 24;  // eight inputs, then eight outputs, then the steps
  EXPECT_EQ(pixel(90 + 900 * 20 / 300, x0_row + 10), "srgb(0,128,255)");
  EXPECT_EQ(pixel(90 + 900 * 100 / 300, x0_row + 10), "srgb(255,255,255)");
  EXPECT_EQ(pixel(90 + 900 * 100 / 300, rb1_row + 4), "srgb(192,0,0)");
  EXPECT_EQ(pixel(90 + 900 * 20 / 300, rb1_row + 4), "srgb(255,255,255)");
  run = simulate("40ms set RA1=1\n", "--chronogram run.gif");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.err, "talvenc: the chronogram is written as SVG (.svg), PNG (.png) or PDF (.pdf): run.gif\n");
}

// Ten seconds of the blinker: a small file, and the box round everything drawn (the
// last time label included) lies inside the picture with room to spare.
TEST_F(Simulate, TheBlinkersChronogramIsSmallAndHoldsEveryLabel) {
  std::filesystem::path blinker = std::filesystem::path(std::getenv("TALVEN_SOURCE_DIR")) / "examples/blinker";
  std::filesystem::copy_file(blinker / "blinker.gra", "blinker.gra");
  std::filesystem::copy_file(blinker / "scenario.txt", "scenario.txt");
  run_result run = talvenc("--definition target.def --graphic blinker.gra --simulate scenario.txt --until 10s "
                           "--chronogram run.png");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_LT(std::filesystem::file_size("run.png"), 100000u);
  ASSERT_EQ(std::system("convert run.png -format '%w %h %@' info: >box.txt"), 0);
  int width = 0, height = 0, left = 0, top = 0, drawn_width = 0, drawn_height = 0;
  ASSERT_EQ(std::sscanf(read_file("box.txt").c_str(), "%d %d %dx%d+%d+%d", &width, &height, &drawn_width, &drawn_height,
                        &left, &top), 6);
  EXPECT_GE(left, 2);
  EXPECT_GE(top, 2);
  EXPECT_LE(left + drawn_width, width - 8) << "the last time label reaches the right edge";
  EXPECT_LE(top + drawn_height, height - 2);
}

TEST_F(Simulate, AHexIsWrittenTooWhenAsked) {
  run_result run = simulate("10ms expect RB0=0\n", "--hex prog.hex");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(std::filesystem::exists("prog.hex"));
  EXPECT_NE(run.out.find("OK: Aucune erreur"), std::string::npos);
  EXPECT_NE(run.out.find("1 expectations, 0 failed\n"), std::string::npos);
}

// Without --definition or --target the target is the one config.txt names, as the
// window finds it; with no config.txt, or no Automate in it, nothing is compiled.
TEST_F(Simulate, WithoutATargetOptionConfigTxtNamesTheTarget) {
  const char *no_target = "talvenc: no target: name one with --target NAME (see --list-targets) or --definition FILE\n";
  const struct {
    const char *config;  // nullptr: no config.txt
    const char *arguments;
    int status;
    std::string err;
  } cases[] = {
      {"c\r\nAutomate pic16f628a\r\n", "--literal prog.lit --simulate scenario.txt", 0, loaded},
      {"c\r\nAutomate target.def\r\nFichier.gra x.gra\r\n", "--literal prog.lit --simulate scenario.txt", 0, loaded},
      {"c\r\nAutomate pic16f628a\r\n", "--literal prog.lit --hex prog.hex", 0, loaded},
      {nullptr, "--literal prog.lit --simulate scenario.txt", 2, no_target},
      {nullptr, "--literal prog.lit --hex prog.hex", 2, no_target},
      {"c\r\nAutomate .\r\n", "--literal prog.lit --hex prog.hex", 2, no_target},
      {"c\r\nAutomate nowhere.def\r\n", "--literal prog.lit --hex prog.hex", 2,
       "Files: Impossible d'ouvrir le fichier de definition de l'automate\n"},
      {nullptr, "--literal prog.lit --literal-out copy.lit", 0, ""},  // translating needs no target
      // A chart's constants are named by the target, which must be loaded before it is translated.
      {"c\r\nAutomate pic16f628a\r\n", "--graphic blinker.gra --hex prog.hex", 0, loaded},
      // The export's title block names config.txt's target; without one it draws no target.
      {"c\r\nAutomate pic16f628a\r\n", "--graphic blinker.gra --export chart.pdf", 0, loaded},
      {nullptr, "--graphic blinker.gra --export chart.pdf", 0, ""},
  };
  std::filesystem::copy_file(std::string(std::getenv("TALVEN_SOURCE_DIR")) + "/examples/blinker/blinker.gra", "blinker.gra");
  write_file("scenario.txt", "10ms expect RB0=0\n20ms set RA0=1\n30ms expect RB0=1\n");
  for (const auto &c : cases) {
    std::filesystem::remove("config.txt");
    std::filesystem::remove("prog.hex");
    if (c.config) write_file("config.txt", c.config);
    run_result run = talvenc(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments << " with " << (c.config ? c.config : "no config.txt");
    EXPECT_EQ(run.err, c.err) << c.arguments;
    EXPECT_EQ(std::filesystem::exists("prog.hex"), c.status == 0 && std::string(c.arguments).find("--hex") != std::string::npos);
  }
}

}  // namespace
