// talvenc --check: a finding a line, the counts last, and the exit status.
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "app/graphic_file.h"
#include "app/talvenc_runner.h"

namespace {

// The two-step cycle on the bundled PIC16F628A: RA0 rising leads on and RA0 falling
// back (so that no input holds both conditions true at once), step 1 lights RB0.
chart cycle(const char *first_condition) {
  chart c;
  c.cells = {{{2, 0}, {7, 0}}, {{2, 1}, {1, 0}}, {{2, 2}, {0, 0}}, {{2, 3}, {2, 1}}, {{2, 4}, {0, 1}},
             {{2, 5}, {8, 0}}, {{1, 5}, {6, 0}}, {{1, 4}, {3, 0}}, {{1, 3}, {3, 0}}, {{1, 2}, {3, 0}},
             {{1, 1}, {3, 0}}, {{1, 0}, {5, 0}}};
  c.conditions = {{0, first_condition}, {1, "ln RA0"}};
  c.outputs = {{1, "RB0"}};
  return c;
}

struct check_case {
  const char *name;
  const char *arguments;
  int status;
  const char *first;  // how the output begins: the errors come first
  const char *last;   // how its last line begins
};

const check_case check_cases[] = {
    {"CleanChartPasses", "--target pic16f628a --graphic clean.gra --check", 0, "", "0 errors, "},
    {"NameErrorNamesTheTargetAsChosen", "--definition defs/pic16f628a.def --graphic typo.gra --check", 1,
     "error: transition 0: \"RA9\" is not a name of pic16f628a (did you mean RA0?)\n1 error, 0 warnings\n",
     "1 error, 0 warnings"},
    {"LiteralFindingsNameLines", "--target pic16f628a --literal typo.lit --check", 1,
     "error: literal line 1: \"RA9\" is not a name of pic16f628a (did you mean RA0?)\n1 error, 0 warnings\n",
     "1 error, 0 warnings"},
    {"DrawingErrorFails", "--target pic16f628a --graphic stray.gra --check", 1,
     "error: step 5 (column 5, row 0) leads to step 6 (column 5, row 1) with no transition between\n", "1 error, "},
    {"UnreadableInput", "--target pic16f628a --graphic missing.gra --check", 2, "", ""},
    {"NoTarget", "--graphic clean.gra --check", 2, "", ""},
};

using TalvencCheck = ProjectTest;

TEST_F(TalvencCheck, ExitStatusAndLinesTellTheFindings) {
  std::filesystem::create_directory("defs");
  std::filesystem::copy_file(std::string(std::getenv("TALVEN_SOURCE_DIR")) + "/targets/pic16f628a.def",
                             "defs/pic16f628a.def");
  write_file("clean.gra", graphic_file(cycle("l RA0")));
  write_file("typo.gra", graphic_file(cycle("l RA9")));
  chart stray = cycle("l RA0");
  stray.cells[{5, 0}] = {2, 5};
  stray.cells[{5, 1}] = {2, 6};
  write_file("stray.gra", graphic_file(stray));
  write_file("typo.lit", "*  x0\r\nl RA9 > x1\r\n-  x1\r\n");
  for (const check_case &c : check_cases) {
    SCOPED_TRACE(c.name);
    run_result run = talvenc(c.arguments);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_EQ(run.out.substr(0, std::strlen(c.first)), c.first);
    size_t last = run.out.rfind('\n', run.out.size() - (run.out.empty() ? 0 : 2));
    std::string last_line = run.out.substr(last == std::string::npos ? 0 : last + 1);
    EXPECT_EQ(last_line.substr(0, std::strlen(c.last)), c.last) << run.out;
    if (c.status == 2) {
      EXPECT_NE(run.err, "");
    }
  }
}

}  // namespace
