// The pictures: the chart exported as SVG and PDF, the chronogram as SVG, PNG and PDF,
// each checked by what a reader of the file sees (its texts, its pages, its pixels).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "compiler/compiler.h"
#include "files/files.h"
#include "picture/picture.h"
#include "simulate/simulate.h"
#include "startup/startup.h"
#include "support/test_support.h"
#include "translate/translate.h"

namespace fs = std::filesystem;

namespace {

fs::path source_dir() { return fs::path(std::getenv("TALVEN_SOURCE_DIR")); }

// Whether xmllint reads the document as well-formed XML.
bool parses(const std::string &document) {
  write_file("parsed.svg", document);
  return std::system("xmllint --noout parsed.svg 2>xmllint.txt") == 0;
}

class Picture : public ProjectTest {
 protected:
  void load_example(const char *name) {
    fs::copy_file(source_dir() / "targets/pic16f628a.def", "target.def", fs::copy_options::overwrite_existing);
    fs::copy_file(source_dir() / "examples" / name / (std::string(name) + ".gra"), std::string(name) + ".gra",
                  fs::copy_options::overwrite_existing);
    start_project(without_config_file);
    set_config(config_automate, "target.def");
    set_config(config_graphic, (std::string(name) + ".gra").c_str());
    ASSERT_TRUE(load_definition_and_names());
    ASSERT_TRUE(load_graphic_file());
  }
  // The chart compiled and run on the host until the instant, every change recorded.
  void run_example(const char *name, double seconds) {
    load_example(name);
    ASSERT_TRUE(graphic_to_literal());
    ASSERT_EQ(compile_literal_to_image(), compile_ok);
    char error[200];
    ASSERT_TRUE(sim_bind_target(error, sizeof error)) << error;
    sim_power_up();
    sim_list_signals();
    sim_record_start();
    sim_run_to(int64_t(seconds * double(sim_target.cycles_per_second)), [](int64_t cycle) { sim_record_changes(cycle); });
  }
};

// Texts each example's chart must show, written out from its file.
struct example_texts {
  const char *example;
  std::vector<const char *> texts;
};
const example_texts example_cases[] = {
    {"blinker", {">0<", ">1<", ">(0)<", ">(1)<", ">TE0<", ">RB0<", ">TE1<"}},
    {"choice", {">0<", ">3<", ">(0)<", ">(4)<", ">RB2<", ">TE0<", ">l RA0<", ">ln RA0 a RA1<", ">l T0<"}},
    {"traffic_light", {">2<", ">RB1<", ">TE2<"}},
    {"traffic_light_40", {">RD0<", ">RD2<"}},
    {"two_hand_press", {">RB2:=0<", ">RB2:=1<", ">(5)<", ">ln RA0 on RA1 a 500ms/x1<", ">l /RA0 o /RA1<"}},
};

// Every step, transition and output word of each example, by the tables it was loaded into.
TEST_F(Picture, EachExamplesChartAsSvgParsesAndNamesEveryStepTransitionAndWord) {
  for (const example_texts &example : example_cases) {
    SCOPED_TRACE(example.example);
    load_example(example.example);
    std::string svg = chart_svg_document();
    EXPECT_TRUE(parses(svg)) << read_file("xmllint.txt");
    for (const char *text : example.texts) EXPECT_NE(svg.find(text), std::string::npos) << text;
    int steps = 0, transitions = 0;
    for (const auto &column : plan_xy)
      for (const cell &c : column) {
        std::string number = std::to_string(c.number);
        if (c.kind == cell_step || c.kind == cell_initial_step) {
          steps++;
          EXPECT_NE(svg.find(">" + number + "</text>"), std::string::npos) << "step " << number;
          std::istringstream words(step_outputs[c.number].text);
          for (std::string word; words >> word;) EXPECT_NE(svg.find(">" + word + "<"), std::string::npos) << word;
        }
        if (c.kind == cell_transition) {
          transitions++;
          EXPECT_NE(svg.find(">(" + number + ")<"), std::string::npos) << "transition " << number;
        }
      }
    EXPECT_GT(steps, 1);
    EXPECT_GT(transitions, 1);
  }
}

// A condition with the characters XML reserves still parses and reads as typed.
TEST_F(Picture, ReservedCharactersOfAConditionAreEscaped) {
  plan_xy[0][0] = {cell_initial_step, 0};
  plan_xy[0][1] = {cell_transition, 7};
  copy_field(transition_conditions[7].text, text_size, "l \"a\" & <b>");
  std::string svg = chart_svg_document();
  EXPECT_TRUE(parses(svg)) << svg;
  EXPECT_NE(svg.find(">l &quot;a&quot; &amp; &lt;b&gt;<"), std::string::npos) << svg;
}

// The chart is cropped to its cells: one step far down the grid gives a small picture.
TEST_F(Picture, TheChartIsCroppedToWhatIsDrawn) {
  plan_xy[30][35] = {cell_step, 5};
  std::string svg = chart_svg_document();
  EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"80\" height=\"56\"", 0), 0u) << svg;
  EXPECT_NE(svg.find(">5<"), std::string::npos);
}

// The blinker's first two seconds from 0.5 s on: a marker for each mark inside the span
// (a mark outside it, or on a signal not shown, draws nothing), the axis from 0.500s.
TEST_F(Picture, TheChronogramBetweenTwoCyclesDrawsItsMarksInRed) {
  run_example("blinker", 3);
  int64_t second = sim_target.cycles_per_second;
  const chronogram_mark marks[] = {{second, "RB0"}, {2 * second, "x1"}, {3 * second, "RB0"}, {second, "NOPE"}};
  std::string svg = chronogram_svg_document(second / 2, 5 * second / 2, marks, 4);
  EXPECT_TRUE(parses(svg)) << read_file("xmllint.txt");
  for (const char *text : {">RB0<", ">x0<", ">x1<", ">0.500s<", ">2.500s<", "class=\"step\""})
    EXPECT_NE(svg.find(text), std::string::npos) << text;
  size_t red = 0;
  for (size_t at = svg.find("stroke=\"#ff0000\""); at != std::string::npos; at = svg.find("stroke=\"#ff0000\"", at + 1)) red++;
  EXPECT_EQ(red, 2u);
  std::string unmarked = chronogram_svg_document(second / 2, 5 * second / 2, nullptr, 0);
  EXPECT_EQ(unmarked.find("#ff0000"), std::string::npos);
}

}  // namespace
