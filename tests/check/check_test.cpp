// The drawing and name checks: one small broken chart or program per finding kind,
// each giving exactly its lines, and the bundled examples giving none.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

#include "check/check.h"
#include "compiler/compiler.h"
#include "files/files.h"
#include "startup/startup.h"
#include "support/test_support.h"
#include "translate/drawn_charts.h"

namespace fs = std::filesystem;

namespace {

void set(char *field, const char *text) { copy_field(field, text_size, text); }

std::vector<std::string> finding_lines() {
  std::vector<std::string> lines;
  char line[check_text_size + 16];
  for (int k = 0; k < check_finding_count; k++) {
    finding_line(k, line, sizeof line);
    lines.push_back(line);
  }
  return lines;
}

// On the bundled PIC16F628A (TRISA all inputs, TRISB all outputs): the two-step cycle,
// step 1 setting RB0, transitions reading RA0 and RA1; then the case's change.
class Check : public ProjectTest {
 protected:
  void draw_base() {
    start_project(without_config_file);
    ASSERT_TRUE(load_bundled_target("pic16f628a")) << "run through ctest";
    draw_two_step_cycle();
    set(transition_conditions[0].text, "l RA0");
    set(transition_conditions[1].text, "l RA1");
    set(step_outputs[1].text, "RB0");
    boxes().clear();
  }
  std::vector<std::string> check_chart_statically() {
    check_reset();
    check_drawing();
    check_names(true);
    return finding_lines();
  }
};

struct chart_case {
  const char *name;
  std::function<void()> change;
  std::vector<std::string> lines;
};

const chart_case chart_cases[] = {
    {"BaseChartIsClean", [] {}, {}},
    {"ParallelBranchesAndTheirJoinAreClean",
     [] {
       clear_plan_xy();
       draw_parallel_join();
       for (int t = 0; t <= 4; t++) set(transition_conditions[t].text, "l RA2");
     },
     {}},
    {"ExitAndEntryInPlaceOfTheLinkBackAreClean",
     [] {
       for (int y = 0; y <= 5; y++) put(1, y, cell_empty);
       put(2, 5, cell_exit, 3), put(2, 0, cell_entry, 3);
     },
     {}},
    // Drawing
    {"StepBelowAStep", [] { put(5, 0, cell_step, 5), put(5, 1, cell_step, 6); },
     {"error: step 5 (column 5, row 0) leads to step 6 (column 5, row 1) with no transition between"}},
    {"TransitionWithNothingBelow",
     [] { put(5, 0, cell_step, 5), put(5, 1, cell_transition, 2), set(transition_conditions[2].text, "l RA2"); },
     {"error: transition 2 (column 5, row 1) has no step below it"}},
    {"TransitionNoStepReaches",
     [] { put(5, 1, cell_transition, 2), put(5, 2, cell_step, 5), set(transition_conditions[2].text, "l RA2"); },
     {"error: transition 2 (column 5, row 1) is reached by no step"}},
    {"LinkEndingInNothing", [] { put(3, 3, cell_horizontal); },
     {"warning: link (column 3, row 3) ends in nothing on its right"}},
    {"ExitWithoutItsEntry", [] { put(5, 0, cell_exit, 7); }, {"error: exit 7 (column 5, row 0) has no entry 7"}},
    {"TwoStepsOneNumber", [] { put(5, 0, cell_step, 1); },
     {"error: two steps numbered 1: column 2, row 3 and column 5, row 0"}},
    {"TwoTransitionsOneNumber",
     [] { put(5, 0, cell_step, 5), put(5, 1, cell_transition, 1), put(5, 2, cell_step, 6); },
     {"error: two transitions numbered 1: column 2, row 4 and column 5, row 1"}},
    {"NumberOutsideTheTables",
     [] { put(0, 0, cell_step, 5), put(0, 1, cell_transition, 70), put(0, 2, cell_step, 6); },
     {"error: transition 70 (column 0, row 1) has a number outside 0..63"}},
    {"NoInitialStep", [] { put(2, 1, cell_step, 0); }, {"error: no initial step: no step is active at power-up"}},
    {"StepRenumberedLeavesItsOutputs", [] { put(2, 3, cell_step, 2); },
     {"error: Etape row 1 has outputs but no step 1 is drawn"}},
    {"ConditionOfNoDrawnTransition", [] { set(transition_conditions[9].text, "l RA2"); },
     {"warning: Tran row 9 has a condition but no transition 9 is drawn"}},
    {"EmptyCondition", [] { set(transition_conditions[1].text, ""); },
     {"warning: transition 1 (column 2, row 4) has no condition: it is always true"}},
    // Names
    {"UnknownNameInACondition", [] { set(transition_conditions[0].text, "l RA9"); },
     {"error: transition 0: \"RA9\" is not a name of pic16f628a (did you mean RA0?)"}},
    {"UnknownOrder", [] { set(transition_conditions[0].text, "Ln RA0"); },
     {"error: transition 0: \"Ln\" is not an order (did you mean ln?)"}},
    {"OrderWithoutName", [] { set(transition_conditions[0].text, "l RA0 a"); },
     {"error: transition 0: the order \"a\" has no name after it"}},
    {"NameWithoutOrder", [] { set(transition_conditions[0].text, "RA0"); },
     {"error: transition 0: \"RA0\" stands where an order belongs: a word is missing before it"}},
    {"CommentMarkInACondition", [] { set(transition_conditions[0].text, "l RA0 @ start"); },
     {"error: transition 0: \"@\" would make the rest of its line a comment"}},
    {"StepTimesAreNames",
     [] { set(transition_conditions[0].text, "l 2s/x0 a 500ms/x1"), set(transition_conditions[1].text, "l 1.5s/x1"); },
     {}},
    {"StepTimeOfAStepUnknown", [] { set(transition_conditions[0].text, "l 2s/x64"); },
     {"error: transition 0: \"x64\" is not a name of pic16f628a (did you mean x4?)"}},
    {"StepTimeOfNoStep", [] { set(transition_conditions[0].text, "l 2s/M0"); },
     {"error: transition 0: \"M0\" is no step: \"2s/M0\" needs a step"}},
    {"StepTimeMalformed", [] { set(transition_conditions[0].text, "l 2h/x0"); },
     {"error: transition 0: \"2h/x0\" is not a step time: a number, s or ms, \"/\" and a step, as 1.5s/x3"}},
    {"StepTimeTooLong", [] { set(transition_conditions[0].text, "l 700s/x0"); },
     {"error: transition 0: \"700s/x0\" is longer than a timer counts (655.35s)"}},
    {"StepTimeSet", [] { set(step_outputs[1].text, "RB0 2s/x1"); },
     {"error: step 1: the step time \"2s/x1\" cannot be set"}},
    {"UnknownOutputFarFromAnyName", [] { set(step_outputs[1].text, "RB0 LED"); },
     {"error: step 1: \"LED\" is not a name of pic16f628a"}},
    {"OutputInTheWrongCase", [] { set(step_outputs[1].text, "rb0"); },
     {"error: step 1: \"rb0\" is not a name of pic16f628a (did you mean RB0?)"}},
    {"OutputOnAnInputPin", [] { set(step_outputs[1].text, "RA0"); },
     {"error: step 1: \"RA0\" is an input pin of pic16f628a (see TRISA): it cannot be set"}},
    {"TypedDirectionsMakeThePinAnOutput", [] { set(step_outputs[1].text, "RA0"), set(constants[0].text, "0"); }, {}},
    {"EdgesOfInputsAreClean", [] { set(transition_conditions[0].text, "l /RA0 an \\RA1"); }, {}},
    {"EdgeOfAnOutput", [] { set(transition_conditions[0].text, "l RA0 a \\RB1"); },
     {"error: transition 0: \"\\RB1\" is the edge of an output of pic16f628a (see TRISB)"}},
    {"TypedDirectionsMakeTheEdgeAnInput", [] { set(transition_conditions[0].text, "l /RB1"), set(constants[1].text, "2"); },
     {}},
    {"EdgeOfNoPin", [] { set(transition_conditions[0].text, "l /M0"); },
     {"error: transition 0: \"/M0\" is not the edge of a pin of pic16f628a"}},
    {"TreatmentSetsAStepOutput", [] { set(post_treatments[0].text, "l RA0"), set(post_treatments[1].text, "= RB0"); },
     {"warning: Post row 1: \"RB0\" is set here and by the outputs of step 1"}},
    {"StoredActionsOfAName", [] { set(step_outputs[0].text, "RB3:=0"), set(step_outputs[1].text, "RB0 RB3:=1"); }, {}},
    {"StoredAndContinuous", [] { set(step_outputs[0].text, "RB0:=0 RB9:=1"); },
     {"error: step 0: \"RB9\" is not a name of pic16f628a (did you mean RB0?)",
      "error: step 0: \"RB0\" is stored here and continuous in the outputs of step 1"}},
    {"UnknownNameInATreatment", [] { set(pre_treatments[2].text, "l RA1 = M99"); },
     {"error: Pre row 2: \"M99\" is not a name of pic16f628a (did you mean M9?)"}},
    {"TreatmentEndingOnAnOrder", [] { set(pre_treatments[0].text, "l RA0 @ go"), set(pre_treatments[3].text, "="); },
     {"error: Pre row 3: the order \"=\" has no name after it"}},
    {"UnknownConstant", [] { set(constants[10].text, "5"); },
     {"error: Cst row 10: \"Not_Init\" is not a constant of pic16f628a"}},
    {"ConstantValueReadInPart", [] { set(constants[2].text, "0x10"); },
     {"warning: Cst row 2: the value \"0x10\" of TP0 is read as 0"}},
    {"ConstantValueOfTwoWords", [] { set(constants[2].text, "50 60"); },
     {"error: Cst row 2: the value of TP0 is more than one word"}},
};

TEST_F(Check, EachBrokenChartGivesItsFindingsAndNoBox) {
  for (const chart_case &c : chart_cases) {
    SCOPED_TRACE(c.name);
    draw_base();
    c.change();
    EXPECT_EQ(check_chart_statically(), c.lines);
    EXPECT_EQ(boxes(), std::vector<recorded_box>{});
  }
}

struct literal_case {
  const char *name;
  std::vector<std::string> rows;
  std::vector<std::string> lines;
};

const literal_case literal_cases[] = {
    {"CleanProgram", {"@  TRAITEMENT", "*  x0", "l RA0 > x1", "-  x1", "l x1 = RB0", "#TP0 50"}, {}},
    {"UnknownName", {"*  x0", "l RA9 > x1"},
     {"error: literal line 1: \"RA9\" is not a name of pic16f628a (did you mean RA0?)"}},
    {"UnknownConstant", {"", "#TP9 5"},
     {"error: literal line 1: \"TP9\" is not a constant of pic16f628a (did you mean TP0?)"}},
    {"StoredBitSetAndResetAnywhere", {"l x0 S RB0", "l x1 R RB0", "l x2 S RB0"}, {}},
    {"NameSetTwice", {"l x0 = RB0", "l x1 = RB0"},
     {"warning: literal line 1: \"RB0\" is set here and on literal line 0"}},
    {"InputPinSet", {"l x0 = RA1"},
     {"error: literal line 0: \"RA1\" is an input pin of pic16f628a (see TRISA): it cannot be set"}},
    {"TypedDirections", {"l x0 = RA1", "#TRISA 0"}, {}},
    {"EdgeOfAnOutputPin", {"l /RB0 = RB1", "l \\RA0 = RB2"},
     {"error: literal line 0: \"/RB0\" is the edge of an output of pic16f628a (see TRISB)"}},
    {"EdgeSet", {"l RA0 = /RA1"}, {"error: literal line 0: \"/RA1\" is an edge of an input: it cannot be set"}},
    {"WordsOutOfStepStopTheCheck", {"l x0 RA1 = RB9"},
     {"error: literal line 0: \"RA1\" stands where an order belongs: a word is missing before it"}},
};

TEST_F(Check, EachBrokenLiteralProgramGivesItsFindingsByLine) {
  for (const literal_case &c : literal_cases) {
    SCOPED_TRACE(c.name);
    draw_base();
    std::memset(literal_buffer, 0, sizeof literal_buffer);
    for (size_t k = 0; k < c.rows.size(); k++) set(literal_buffer[k], c.rows[k].c_str());
    check_reset();
    check_names(false);
    EXPECT_EQ(finding_lines(), c.lines);
  }
}

TEST_F(Check, BundledExamplesGiveNoDrawingOrNameFinding) {
  int examples = 0;
  for (const auto &entry : fs::directory_iterator(fs::path(std::getenv("TALVEN_SOURCE_DIR")) / "examples")) {
    std::string name = entry.path().filename().string();
    if (!fs::exists(entry.path() / "config.txt")) continue;  // examples/exercises holds exercises, not a project
    SCOPED_TRACE(name);
    fs::current_path(entry.path());
    start_project(with_config_file);
    ASSERT_TRUE(load_definition_and_names());
    ASSERT_TRUE(load_graphic_file());
    ASSERT_TRUE(load_literal_file());
    check_reset();
    check_drawing();
    check_names(true);
    check_names(false);
    EXPECT_EQ(finding_lines(), std::vector<std::string>{});
    examples++;
  }
  EXPECT_GE(examples, 4);
}

}  // namespace
