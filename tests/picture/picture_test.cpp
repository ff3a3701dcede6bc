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

// A page of a PDF as pdftoppm renders it at 72 dots an inch: one pixel per point.
struct rendered_page {
  int width = 0, height = 0;
  std::string pixels;  // RGB, row by row
  bool dark(int x, int y) const {
    size_t at = (size_t(y) * size_t(width) + size_t(x)) * 3;
    return at + 2 < pixels.size() && pixels[at] + 0 < 100 && uint8_t(pixels[at + 1]) < 100 && uint8_t(pixels[at + 2]) < 100;
  }
  bool any_dark(int left, int top, int right, int bottom) const {
    for (int y = top; y <= bottom; y++)
      for (int x = left; x <= right; x++)
        if (dark(x, y)) return true;
    return false;
  }
};

rendered_page render(const char *pdf, int page) {
  std::string command = "pdftoppm -r 72 -f " + std::to_string(page) + " -l " + std::to_string(page) + " " + pdf +
                        " >page.ppm";
  rendered_page result;
  if (std::system(command.c_str()) != 0) return result;
  std::string ppm = read_file("page.ppm");
  int maximum = 0, used = 0;
  if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &result.width, &result.height, &maximum, &used) != 3) return result;
  result.pixels = ppm.substr(size_t(used) + 1);
  return result;
}

std::string pdf_info(const char *pdf) {
  std::string command = std::string("pdfinfo ") + pdf + " >info.txt && pdftotext -layout " + pdf + " text.txt";
  EXPECT_EQ(std::system(command.c_str()), 0);
  return read_file("info.txt") + read_file("text.txt");
}

// Every example exports as SVG and as PDF: A4 pages, the title block, the tables after the chart.
TEST_F(Picture, EachExampleExportsAsSvgAndPdf) {
  for (const example_texts &example : example_cases) {
    SCOPED_TRACE(example.example);
    load_example(example.example);
    char error[4200] = "";
    EXPECT_TRUE(export_chart("chart.svg", error, sizeof error)) << error;
    EXPECT_TRUE(parses(read_file("chart.svg")));
    ASSERT_TRUE(export_chart("chart.pdf", error, sizeof error)) << error;
    std::string info = pdf_info("chart.pdf");
    for (const char *text : {"(A4)", "Creator:         TALVEN", "target: target.def", "Outputs of the steps",
                             "Conditions of the transitions", "page 1 of 2"})
      EXPECT_NE(info.find(text), std::string::npos) << text << "\n" << info;
    EXPECT_NE(info.find(std::string(example.example) + ".gra"), std::string::npos);
  }
}

// The PDF drawn: the step's square, its number, its action box and the transition's bar and
// condition where the layout puts them (the chart's corner at the page's margin, 36 points in).
TEST_F(Picture, ThePdfShowsTheStepsAndTextsWhereTheyMustBe) {
  plan_xy[3][2] = {cell_initial_step, 0};
  plan_xy[3][3] = {cell_transition, 1};
  copy_field(step_outputs[0].text, text_size, "RB7");
  copy_field(transition_conditions[1].text, text_size, "l RA0");
  char error[4200] = "";
  ASSERT_TRUE(export_chart("chart.pdf", error, sizeof error)) << error;
  rendered_page page = render("chart.pdf", 1);
  ASSERT_EQ(page.width, 842) << "landscape: the chart is wider than high";
  ASSERT_EQ(page.height, 596);  // 595.28 points, rounded up
  const struct {
    const char *what;
    int left, top, right, bottom;
    bool drawn;
  } regions[] = {
      {"the square's left side", 63, 60, 65, 68, true},       {"inside the inner square", 69, 57, 71, 71, false},
      {"the step's number", 73, 59, 79, 68, true},            {"the action box's text", 100, 58, 120, 68, true},
      {"the transition's bar", 70, 99, 82, 101, true},        {"the condition", 90, 94, 120, 103, true},
      {"the transition's number", 50, 94, 62, 103, true},     {"beside the chart", 200, 40, 400, 200, false},
      {"the title block", 42, 528, 200, 554, true},
  };
  for (const auto &r : regions) EXPECT_EQ(page.any_dark(r.left, r.top, r.right, r.bottom), r.drawn) << r.what;
  ASSERT_EQ(std::system("pdftoppm -r 50 -png chart.pdf look"), 0);  // to be looked at
}

// A chart from corner to corner of the grid does not fit a page: it is split, each part
// marked with its place and the pages of its neighbours.
TEST_F(Picture, AChartLargerThanAPageIsSplitOverPages) {
  plan_xy[0][0] = {cell_initial_step, 0};
  plan_xy[39][39] = {cell_step, 1};
  char error[4200] = "";
  ASSERT_TRUE(export_chart("chart.pdf", error, sizeof error)) << error;
  std::string info = pdf_info("chart.pdf");
  int pages = 0;
  ASSERT_NE(info.find("Pages:"), std::string::npos);
  std::sscanf(info.c_str() + info.find("Pages:"), "Pages: %d", &pages);
  EXPECT_GT(pages, 4);
  for (const char *text : {"part: column 1 of", "page 2 >", "< page 1", "v page", "^ page 1"})
    EXPECT_NE(info.find(text), std::string::npos) << text;
  EXPECT_EQ(info.find("Outputs of the steps"), std::string::npos) << "no empty table is listed";
  EXPECT_TRUE(render("chart.pdf", pages).dark(579, 0) || render("chart.pdf", pages).any_dark(400, 60, 560, 500))
      << "the last part holds step 1";
}

// The chronogram as PDF and PNG from the same drawing as its SVG.
TEST_F(Picture, TheChronogramIsWrittenAsSvgPngAndPdf) {
  run_example("blinker", 3);
  int64_t end = 3 * sim_target.cycles_per_second;
  for (const char *name : {"run.svg", "run.png", "run.pdf"}) EXPECT_TRUE(write_chronogram(name, end)) << name;
  EXPECT_EQ(read_file("run.png").substr(1, 3), "PNG");
  std::string info = pdf_info("run.pdf");
  for (const char *text : {"RB0", "x1", "3.000s", "Pages:           1"}) EXPECT_NE(info.find(text), std::string::npos) << text;
  EXPECT_FALSE(write_chronogram("run.gif", end));
  EXPECT_FALSE(std::filesystem::exists("run.gif"));
}

}  // namespace
