// talvenc --grade: exercise folders read, student folders graded in memory, the
// verdicts on stdout and in a CSV table.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

#include "app/talvenc_runner.h"

namespace fs = std::filesystem;

namespace {

fs::path exercises() { return fs::path(std::getenv("TALVEN_SOURCE_DIR")) / "examples/exercises"; }

class Grade : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    fs::copy(exercises(), "ex", fs::copy_options::recursive);
  }
  // A student folder made from the blinker's solution with one line of its chart changed.
  static void student(const std::string &name, const std::string &from, const std::string &to) {
    fs::create_directories(name);
    std::string chart = read_file("ex/blinker/solution/blinker.gra");
    if (!from.empty()) chart.replace(chart.find(from), from.size(), to);
    write_file(fs::path(name) / "blinker.gra", chart);
  }
};

TEST_F(Grade, ExerciseErrorsNameTheirLineAndExitTwo) {
  const std::string head = "title The blinker\ntarget pic16f628a\n";
  struct bad {
    std::string exercise, message;
  } cases[] = {
      {head + "scenario blink.txt\ncolour red\n",
       "exercise.txt line 4: unknown key 'colour' (title, target, scenario, hidden, statement, margin)\n"},
      {head + "scenario gone.txt\n", "exercise.txt line 3: no file gone.txt in the exercise folder\n"},
      {head + "scenario blink.txt\nstatement gone.html\n", "exercise.txt line 4: no file gone.html in the exercise folder\n"},
      {head + "scenario blink.txt\nmargin soon\n", "exercise.txt line 4: malformed margin 'soon' (for example 5ms or 0.1s)\n"},
      {head + "scenario blink.txt\nmargin\n", "exercise.txt line 4: margin needs a value\n"},
      {head + "# nothing to run\n", "exercise.txt line 4: no scenario\n"},
      {"target pic16f628a\nscenario blink.txt\n", "exercise.txt line 3: no title\n"},
      {head + "title Again\nscenario blink.txt\n", "exercise.txt line 3: title given again (first on line 1)\n"},
      {"title t\ntarget pic99\nscenario blink.txt\n", "exercise.txt line 2: no bundled target or definition file pic99\n"},
      {head + "hidden wrong.txt\n", "exercise.txt line 3: wrong.txt: scenario line 2: unknown name 'RB9'\n"},
  };
  write_file("ex/blinker/wrong.txt", "10ms expect RB0=0\n20ms expect RB9=1\n");
  for (const bad &c : cases) {
    write_file("ex/blinker/exercise.txt", c.exercise);
    run_result run = talvenc("--grade ex/blinker ex/blinker/solution");
    EXPECT_EQ(run.status, 2) << c.exercise;
    EXPECT_EQ(run.err, c.message) << c.exercise;
    EXPECT_EQ(run.out, "") << c.exercise;
  }
}

TEST_F(Grade, BadCommandLinesShowTheUsage) {
  for (const char *arguments : {"--grade", "--grade ex/blinker", "--grade ex/blinker ex/blinker/solution --csv",
                                "--grade ex/blinker --hex x.hex ex/blinker/solution"}) {
    run_result run = talvenc(arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.err.find("talvenc --grade EXERCISE STUDENT_FOLDER... [--csv FILE]"), std::string::npos) << arguments;
  }
}

TEST_F(Grade, TheExamplesSolutionsPassAndTheirFaultyFoldersFailAtTheRightLine) {
  struct example {
    const char *exercise, *faulty_line;
  } examples[] = {
      {"blinker", "faulty: fail (20/29), first: line 5 of blink.txt: at 0.900s expected RB0=1, got 0\n"},
      {"two_hand_press", "faulty: fail (55/60), first: line 10 of press.txt: at 0.550s expected RB0=1, got 0\n"},
  };
  for (const example &e : examples) {
    std::string ex = std::string("ex/") + e.exercise;
    run_result run = talvenc("--grade " + ex + " " + ex + "/solution");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out.substr(0, 16), "solution: pass (") << run.out;
    run = talvenc("--grade " + ex + " " + ex + "/solution " + ex + "/faulty");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.substr(run.out.find('\n') + 1), e.faulty_line + std::string("2 students, 1 passed\n"));
    EXPECT_EQ(run.err, "");
  }
}

// Every kind of folder that cannot be graded gets its verdict, and the next one is graded.
TEST_F(Grade, BrokenFoldersGetTheirVerdictsAndTheBatchGoesOn) {
  student("untranslatable", "   2   1  16", "   2  99  16");
  student("uncompilable", " 1: RB0 TE1", " 1: RB9 TE1");
  student("check_errors", " 2: \r\n", " 2: RB1\r\n");  // outputs for a step never drawn
  student("two_charts", "", "");
  fs::copy_file("two_charts/blinker.gra", "two_charts/other.gra");
  fs::create_directories("empty");
  fs::create_directories("named_missing");
  write_file("named_missing/config.txt", "Fichier_de_configuration_de_talven_(non_obligatoire)\nAutomate pic16f628a\n"
                                         "Fichier.gra gone.gra\n");
  run_result run = talvenc("--grade ex/blinker empty untranslatable uncompilable check_errors two_charts named_missing no_such_folder "
                           "ex/blinker/solution");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out,
            "empty: no chart\n"
            "untranslatable: does not translate: Numero 99 hors 0..63 en case (2,3)\n"
            "uncompilable: does not compile: ligne  10: ZB  UNKNOWN: RB9\n"
            "check_errors: check: 1 error\n"
            "two_charts: no chart\n"
            "named_missing: no chart\n"
            "no_such_folder: no chart\n"
            "solution: pass (29/29)\n"
            "8 students, 1 passed\n");
}

// RFC 4180 read back: quoted fields may hold commas, doubled quotes and line breaks.
std::vector<std::vector<std::string>> parse_csv(const std::string &text) {
  std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t k = 0; k < text.size(); k++) {
    char c = text[k];
    if (quoted && c == '"' && k + 1 < text.size() && text[k + 1] == '"') rows.back().back() += text[++k];
    else if (c == '"') quoted = !quoted;
    else if (!quoted && c == ',') rows.back().emplace_back();
    else if (!quoted && c == '\r' && text[k + 1] == '\n') {
      k++;
      rows.emplace_back(1);
    } else rows.back().back() += c;
  }
  if (rows.back() == std::vector<std::string>(1)) rows.pop_back();
  return rows;
}

TEST_F(Grade, TheCsvTableHoldsARowPerStudentQuotedAsSpreadsheetsReadIt) {
  fs::copy("ex/blinker/faulty", "smith, \"jo\"", fs::copy_options::recursive);
  fs::create_directories("empty");
  run_result run = talvenc("--grade ex/blinker ex/blinker/solution 'smith, \"jo\"' empty --csv marks.csv");
  EXPECT_EQ(run.status, 1);
  std::string text = read_file("marks.csv");
  EXPECT_NE(text.find("\"smith, \"\"jo\"\"\",fail,20,29,\"line 5 of blink.txt: at 0.900s expected RB0=1, got 0\"\r\n"),
            std::string::npos)
      << text;
  std::vector<std::vector<std::string>> expected = {
      {"folder", "verdict", "held", "total", "first failure"},
      {"ex/blinker/solution", "pass", "29", "29", ""},
      {"smith, \"jo\"", "fail", "20", "29", "line 5 of blink.txt: at 0.900s expected RB0=1, got 0"},
      {"empty", "no chart", "0", "0", ""},
  };
  EXPECT_EQ(parse_csv(text), expected) << text;
}

// A margin lets an expectation hold a little early or late; none makes it exact.
TEST_F(Grade, AnExpectationHoldsWithinTheMargin) {
  write_file("ex/blinker/edge.txt", "500ms expect RB0=1\n525ms expect RB0=0\n");
  struct margin_case {
    const char *margin, *verdict;
  } cases[] = {
      {"margin 20ms\n", "solution: pass (2/2)\n"},
      {"margin 0ms\n", "solution: fail (0/2), first: line 1 of edge.txt: at 0.500s expected RB0=1, got 0\n"},
      {"margin 2ms\n", "solution: fail (0/2), first: line 1 of edge.txt: at 0.500s expected RB0=1, got 0\n"},
  };
  for (const margin_case &c : cases) {
    write_file("ex/blinker/exercise.txt", std::string("title t\ntarget pic16f628a\nscenario edge.txt\n") + c.margin);
    run_result run = talvenc("--grade ex/blinker ex/blinker/solution");
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), c.verdict) << c.margin << run.err;
  }
}

// Every file of every student folder, with its bytes and time, before and after grading.
std::map<std::string, std::string> snapshot(const fs::path &root) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry &entry : fs::recursive_directory_iterator(root))
    files[entry.path().string()] = entry.is_regular_file()
                                       ? read_file(entry.path()) + std::to_string(entry.last_write_time().time_since_epoch().count())
                                       : "folder";
  return files;
}

TEST_F(Grade, StudentFoldersAreNeverWrittenTo) {
  student("uncompilable", " 1: RB0 TE1", " 1: RB9 TE1");
  std::map<std::string, std::string> before = snapshot("ex"), students_before = snapshot("uncompilable");
  run_result run = talvenc("--grade ex/two_hand_press ex/two_hand_press/solution ex/two_hand_press/faulty "
                           "ex/blinker/solution uncompilable");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(snapshot("ex"), before);
  EXPECT_EQ(snapshot("uncompilable"), students_before);
}

// --on-chip: every scenario in gpsim as well; the column says whether the chip agrees.
TEST_F(Grade, OnChipAddsAColumnSayingWhetherTheChipsVerdictIsTheSimulators) {
  fs::create_directories("empty");
  const std::string path = std::getenv("PATH");
  struct chip_case {
    const char *path;  // nullptr: as it is, gpsim on it
    const char *chip;
  } cases[] = {{nullptr, "same"}, {"/nonexistent", "no gpsim"}};
  for (const chip_case &c : cases) {
    SCOPED_TRACE(c.chip);
    setenv("PATH", c.path ? c.path : path.c_str(), 1);
    run_result run = talvenc("--grade ex/blinker ex/blinker/solution ex/blinker/faulty empty --on-chip --csv marks.csv");
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "solution: pass (29/29), on chip: " + std::string(c.chip) +
                           "\nfaulty: fail (20/29), first: line 5 of blink.txt: at 0.900s expected RB0=1, got 0, on chip: " +
                           c.chip + "\nempty: no chart\n3 students, 1 passed\n");
    std::vector<std::vector<std::string>> rows = parse_csv(read_file("marks.csv"));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].back(), "on chip");
    EXPECT_EQ(rows[1].back(), c.chip);
    EXPECT_EQ(rows[3].back(), "");
  }
  run_result run = talvenc("--grade ex/two_hand_press ex/two_hand_press/solution ex/two_hand_press/faulty --on-chip");
  EXPECT_EQ(run.out.find("differs"), std::string::npos) << run.out;
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3);
  EXPECT_EQ(run.out.find("on chip: same\n"), run.out.find('\n') - 13) << run.out;
}

// What headless Chromium makes of a file: the page's text, or a screenshot.
std::string chromium(const std::string &arguments) {
  std::string command = "timeout 120 chromium --headless --no-sandbox --disable-gpu " + arguments + " 2>/dev/null";
  std::string text;
  FILE *pipe = popen(command.c_str(), "r");
  char buffer[4096];
  for (size_t got; pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, got);
  if (pipe) pclose(pipe);
  return text;
}

// The report: one file, a section per student, nothing of a hidden scenario but that it failed.
TEST_F(Grade, TheReportReadsInChromiumAndKeepsTheHiddenScenariosHidden) {
  if (std::system("command -v chromium >/dev/null 2>&1") != 0) GTEST_SKIP() << "no chromium";
  fs::create_directories("empty");
  // A student whose only failure is in a hidden scenario: blink.txt hidden, a scenario it passes public.
  fs::copy("ex/blinker", "hidden_only", fs::copy_options::recursive);
  write_file("hidden_only/early.txt", "100ms expect RB0=0\n");
  write_file("hidden_only/exercise.txt", "title Hidden\ntarget pic16f628a\nscenario early.txt\nhidden blink.txt\n");
  struct report_case {
    std::string arguments;
    std::vector<std::string> shown, never;
    int pictures;  // SVG documents: a chart per graded student, a run per public failure
  } cases[] = {
      {"ex/blinker ex/blinker/solution ex/blinker/faulty empty",
       {"The blinker", "3 students, 1 passed", "solution: pass (29/29)", "faulty: fail (20/29)",
        "line 5 of blink.txt: at 0.900s expected RB0=1, got 0", "A hidden check failed.", "empty: no chart",
        "The run around its first failure"},
       {"blink_long", "line 6 of", "<script", "<link", "src=", "href="},
       3},
      {"hidden_only hidden_only/faulty", {"Hidden", "faulty: fail (9/10)", "A hidden check failed."},
       {"blink.txt", "0.900s", "RB0=1", "The run around its first failure", "Failed expectations"}, 1},
  };
  for (const report_case &c : cases) {
    SCOPED_TRACE(c.arguments);
    run_result run = talvenc("--grade " + c.arguments + " --report report.html");
    EXPECT_EQ(run.status, 1) << run.err;
    std::string file = read_file("report.html");
    std::string page = chromium("--dump-dom file://" + fs::absolute("report.html").string());
    std::string text_of_page;  // the page's text: the DOM without its tags
    for (size_t at = 0; at < page.size(); at++)
      if (page[at] == '<') at = std::min(page.find('>', at), page.size());
      else text_of_page += page[at];
    for (const std::string &text : c.shown) EXPECT_NE(text_of_page.find(text), std::string::npos) << text;
    for (const std::string &text : c.never) EXPECT_EQ(file.find(text), std::string::npos) << text;
    size_t pictures = 0;
    for (size_t at = page.find("<svg"); at != std::string::npos; at = page.find("<svg", at + 1)) pictures++;
    EXPECT_EQ(pictures, size_t(c.pictures));
  }
  // The page as a browser shows it: a picture the size of the window, with the chart drawn.
  chromium("--screenshot=" + fs::absolute("report.png").string() + " --window-size=1000,1400 file://" +
           fs::absolute("report.html").string());
  std::string png = read_file("report.png");
  ASSERT_GT(png.size(), 10000u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
}

}  // namespace
