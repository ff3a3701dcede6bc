// The programmer's page under "Lit", "Prog": the chart compiled, the fake tool's output
// shown as it arrives on the timer's ticks, then the verdict, the hex left written.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "files/files.h"
#include "startup/startup.h"
#include "window_driver.h"

namespace {

const char *const fake_tool =
    "#!/bin/sh\n"
    "case $1 in\n"
    "  ok) printf 'Erasing'; sleep 0.2; echo '... done'; echo 'Operation Succeeded' ;;\n"
    "  denied) echo 'cannot open /dev/ttyACM0: Permission denied'; exit 1 ;;\n"
    "  hang) echo 'Waiting'; sleep 30 ;;\n"
    "esac\n";

class ProgramPage : public EditorWindow {
 protected:
  std::string saved_path;
  void SetUp() override {
    EditorWindow::SetUp();
    ASSERT_TRUE(load_bundled_target("pic16f628a")) << "run through ctest";
    std::filesystem::create_directory("bin");
    write_file("bin/fake", fake_tool);
    std::filesystem::permissions("bin/fake", std::filesystem::perms::owner_all);
    saved_path = std::getenv("PATH");
    setenv("PATH", ((folder / "bin").string() + ":" + saved_path).c_str(), 1);
    std::filesystem::copy_file(std::string(std::getenv("TALVEN_SOURCE_DIR")) + "/examples/blinker/blinker.gra", "blinker.gra");
    set_config(config_graphic, "blinker.gra");
    set_config(config_hex, "blinker.hex");
    ASSERT_TRUE(load_graphic_file());
    forget_boxes();
  }
  void TearDown() override {
    setenv("PATH", saved_path.c_str(), 1);
    EditorWindow::TearDown();
  }
  // Ticks as the backend sends them, until the page stops its timer.
  static void run_until_the_timer_stops() {
    auto start = std::chrono::steady_clock::now();
    while (simulation_timer_period != 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
      send_message(message_simulation_tick);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  static bool line_shows(int k, const char *text) { return shows_text(14, 67 + 20 * k, text, 689); }
};

TEST_F(ProgramPage, TheToolsOutputFillsThePageThenTheVerdict) {
  const struct {
    const char *preset;
    std::vector<const char *> lines;
  } cases[] = {
      {"[ok]\nprogram fake ok\nsuccess Operation Succeeded\nchip pic16f628a 628A\n",
       {"Erasing... done", "Operation Succeeded", "Programmed: PIC16F628A holds blinker.hex (ok)."}},
      {"[denied]\nprogram fake denied\nchip pic16f628a 628A\n",
       {"cannot open /dev/ttyACM0: Permission denied",
        "Not programmed: fake was refused /dev/ttyACM0 (permission denied).", "The usual cure: add yourself to the group that owns the device (ls"}},
      {"[hang]\nprogram fake hang\nlimit 1\nchip pic16f628a 628A\n",
       {"Waiting", "Not programmed: fake did not finish within 1 s and was stopped."}},
      {"choose absent\n[absent]\nprogram talven-absent-tool\ninstall ask the lab\nchip pic16f628a 628A\n",
       {"Not programmed: talven-absent-tool is not installed (no", "talven-absent-tool on the PATH). ask the lab"}},
  };
  for (const auto &c : cases) {
    write_file("programmers.txt", c.preset);
    std::filesystem::remove("blinker.hex");
    choose(2, 2);  // "Lit", "Prog"
    ASSERT_EQ(edit_mode, 11) << c.preset;
    run_until_the_timer_stops();
    EXPECT_EQ(simulation_timer_period, 0) << c.preset;
    paint();
    for (size_t k = 0; k < c.lines.size(); k++) EXPECT_TRUE(line_shows(int(k), c.lines[k])) << c.lines[k];
    EXPECT_TRUE(std::filesystem::exists("blinker.hex")) << c.preset;
    EXPECT_NE(sub_item_colour(2), sub_item_colour(0)) << "the menu marks Prog";
  }
}

TEST_F(ProgramPage, AChartThatDoesNotCompileRunsNoTool) {
  write_file("programmers.txt", "[ok]\nprogram fake ok\nchip pic16f628a 628A\n");
  copy_field(transition_conditions[0].text, text_size, "l NOSUCHPIN");  // a name the target lacks: no hex
  std::filesystem::remove("blinker.hex");
  choose(2, 2);
  EXPECT_NE(edit_mode, 11);
  EXPECT_EQ(simulation_timer_period, 0);
  EXPECT_FALSE(std::filesystem::exists("blinker.hex"));
  EXPECT_FALSE(shown().empty());
}

}  // namespace
