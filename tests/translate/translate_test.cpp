// The literal program the translation writes: sections, treatments, outputs,
// constants, long lines and the size of the buffer.
#include <cstdio>
#include <cstring>

#include "chart.h"

namespace {

TEST_F(Translation, EmptyProjectGivesTheFiveSectionTitlesAndClearsTheRest) {
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "", "@  POSTTRAITEMENT1", "", "@  POSTTRAITEMENT2", "",
                 "@  CONSTANTES"});
  EXPECT_EQ(boxes, std::vector<recorded_box>{notice});
}

TEST_F(Translation, BlankTreatmentsAreSkippedAndLeadingBlanksKept) {
  set_text(pre_treatments[0].text, "   ");
  set_text(pre_treatments[3].text, "  l i0");
  set_text(pre_treatments[4].text, "\t");
  set_text(post_treatments[1].text, "");
  set_text(post_treatments[63].text, "= q0");
  set_text(post_treatments[2].text, "l i1 ");
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "  l i0", "\t", "", "@  TRAITEMENT", "", "@  POSTTRAITEMENT1", "",
                 "@  POSTTRAITEMENT2", "l i1 ", "= q0", "", "@  CONSTANTES"});
}

TEST_F(Translation, ConstantsNeedBothANameAndAValue) {
  set_text(constants[0].text, "25");
  copy_field(constants[1].name, constant_name_size, "tempo");
  copy_field(constants[2].name, constant_name_size, "   ");
  set_text(constants[2].text, "7");
  copy_field(constants[5].name, constant_name_size, "speed");
  set_text(constants[5].text, "  3");
  set_text(constants[6].text, "  ");
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "", "@  POSTTRAITEMENT1", "", "@  POSTTRAITEMENT2", "",
                 "@  CONSTANTES", "#Not_Init 25", "#speed   3"});
}

TEST_F(Translation, SharedOutputNamesEveryStepInOrderOfFirstAppearance) {
  set_text(step_outputs[1].text, "LED MOTOR");
  set_text(step_outputs[2].text, "  LED");
  set_text(step_outputs[40].text, "led");  // words are compared case by case
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "", "@  POSTTRAITEMENT1", "l x1 o x2 = LED", "l x1 = MOTOR",
                 "l x40 = led", "", "@  POSTTRAITEMENT2", "", "@  CONSTANTES"});
}

TEST_F(Translation, WordTwiceInOneRowRepeatsTheLineOrTheStep) {
  set_text(step_outputs[1].text, "A A");
  set_text(step_outputs[2].text, "A");
  set_text(step_outputs[3].text, "B");
  set_text(step_outputs[5].text, "B  B");
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "", "@  POSTTRAITEMENT1", "l x1 o x2 = A", "l x1 o x2 = A",
                 "l x3 o x5 o x5 = B", "", "@  POSTTRAITEMENT2", "", "@  CONSTANTES"});
}

TEST_F(Translation, ConditionsOfTransitionsNoWalkCrossesAreLeftOut) {
  set_text(transition_conditions[0].text, "l i0");
  put(4, 4, cell_transition, 0);
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "", "@  POSTTRAITEMENT1", "", "@  POSTTRAITEMENT2", "",
                 "@  CONSTANTES"});
}

TEST_F(Translation, TransitionWithoutConditionGivesTheBareEvolution) {
  put(2, 30, cell_step, 7);
  put(2, 31, cell_transition, 0);
  put(2, 32, cell_step, 8);
  put(3, 0, cell_initial_step, 1);
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "-  x7", " > x8", "-  x8", "*  x1", "",
                 "@  POSTTRAITEMENT1", "", "@  POSTTRAITEMENT2", "", "@  CONSTANTES"});
}

TEST_F(Translation, LongConditionLineGoesOnInTheNextRowCutAtABlank) {
  put(0, 0, cell_initial_step, 0);
  put(0, 1, cell_transition, 3);
  put(0, 2, cell_step, 12);
  set_text(transition_conditions[3].text, "l button_start an button_stop o reset");
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "*  x0", "l button_start an button_stop o reset >", "x12",
                 "-  x12", "", "@  POSTTRAITEMENT1", "", "@  POSTTRAITEMENT2", "", "@  CONSTANTES"});
}

TEST_F(Translation, ConditionFillingItsFieldGoesOnWithTheStep) {
  put(0, 0, cell_initial_step, 0);
  put(0, 1, cell_transition, 0);
  put(0, 2, cell_step, 1);
  set_text(transition_conditions[0].text, "l abcdefghijklmnopqrstuvwxyz01234567890");
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "*  x0", "l abcdefghijklmnopqrstuvwxyz01234567890", "> x1",
                 "-  x1", "", "@  POSTTRAITEMENT1", "", "@  POSTTRAITEMENT2", "", "@  CONSTANTES"});
}

TEST_F(Translation, OutputSharedByManyStepsGoesOnInTheNextRow) {
  for (int s = 0; s < 8; s++) set_text(step_outputs[s].text, "LED");
  copy_field(constants[0].name, constant_name_size, "a_long_name_14");
  set_text(constants[0].text, "123456789012345678901234567890");
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "", "@  POSTTRAITEMENT1",
                 "l x0 o x1 o x2 o x3 o x4 o x5 o x6 o x7", "= LED", "", "@  POSTTRAITEMENT2", "", "@  CONSTANTES",
                 "#a_long_name_14", "123456789012345678901234567890"});
}

TEST_F(Translation, LineThatCannotBeCutIsReportedAndStops) {
  put(0, 0, cell_initial_step, 0);
  put(0, 1, cell_transition, 0);
  put(0, 2, cell_step, 1);
  std::memset(transition_conditions[0].text, 'A', text_size);  // a field without its NUL
  EXPECT_FALSE(graphic_to_literal());
  EXPECT_EQ(boxes,
            (std::vector<recorded_box>{notice, {"Processing", "Ligne 4 trop longue et sans blanc pour la couper"}}));
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "*  x0"});
  EXPECT_STREQ(transition_conditions[1].name, "Trans 1");
}

TEST_F(Translation, ProgramLongerThanTheBufferIsReportedAndTheRowsThatFitStay) {
  char text[text_size];
  for (int n = 0; n < table_rows; n++) {
    std::snprintf(text, sizeof text, "pre %d", n);
    set_text(pre_treatments[n].text, text);
    std::snprintf(text, sizeof text, "post %d", n);
    set_text(post_treatments[n].text, text);
    std::snprintf(text, sizeof text, "%d", n);
    set_text(constants[n].text, text);
    put(n / grid_size, n % grid_size, cell_step, n);
  }
  EXPECT_FALSE(graphic_to_literal());
  EXPECT_EQ(boxes, (std::vector<recorded_box>{
                       notice, {"Processing", "Programme trop long : la ligne 250 depasse les 250 lignes"}}));
  std::vector<std::string> rows = {"@  PRETRAITEMENT"};
  for (int n = 0; n < table_rows; n++) rows.push_back("pre " + std::to_string(n));
  rows.insert(rows.end(), {"", "@  TRAITEMENT"});
  for (int n = 0; n < table_rows; n++) rows.push_back("-  x" + std::to_string(n));
  rows.insert(rows.end(), {"", "@  POSTTRAITEMENT1", "", "@  POSTTRAITEMENT2"});
  for (int n = 0; n < table_rows; n++) rows.push_back("post " + std::to_string(n));
  rows.insert(rows.end(), {"", "@  CONSTANTES"});
  for (int n = 0; n <= 48; n++) rows.push_back("#Not_Init " + std::to_string(n));
  ASSERT_EQ(rows.size(), size_t(literal_lines));
  expect_buffer(rows);
}

TEST_F(Translation, ProgramOfExactlyTheBufferFits) {
  for (int n = 0; n < table_rows; n++) {
    set_text(pre_treatments[n].text, "p");
    set_text(post_treatments[n].text, "q");
    put(n / grid_size, n % grid_size, cell_step, n);
  }
  for (int n = 0; n < 49; n++) set_text(constants[n].text, "1");
  EXPECT_TRUE(graphic_to_literal());
  EXPECT_STREQ(literal_buffer[249], "#Not_Init 1");
  EXPECT_EQ(boxes, std::vector<recorded_box>{notice});
}

TEST(Blank, OnlyCharacter32CountsAsBlank) {
  EXPECT_TRUE(is_blank(""));
  EXPECT_TRUE(is_blank("   "));
  EXPECT_FALSE(is_blank("\t"));
  EXPECT_FALSE(is_blank("  x "));
}

TEST_F(Translation, OutputWordCursorsMoveIndependently) {
  set_text(step_outputs[0].text, " A  B");
  set_text(step_outputs[3].text, "C");
  output_word outer, inner;
  next_output_word(outer_words, true, nullptr);
  next_output_word(inner_words, true, nullptr);
  ASSERT_FALSE(next_output_word(outer_words, false, &outer));
  EXPECT_STREQ(outer.text, "A");
  EXPECT_EQ(outer.row, 0);
  ASSERT_FALSE(next_output_word(inner_words, false, &inner));
  ASSERT_FALSE(next_output_word(inner_words, false, &inner));
  ASSERT_FALSE(next_output_word(inner_words, false, &inner));
  EXPECT_STREQ(inner.text, "C");
  EXPECT_EQ(inner.row, 3);
  EXPECT_TRUE(next_output_word(inner_words, false, &inner));
  ASSERT_FALSE(next_output_word(outer_words, false, &outer));
  EXPECT_STREQ(outer.text, "B");
  next_output_word(inner_words, true, nullptr);
  ASSERT_FALSE(next_output_word(inner_words, false, &inner));
  EXPECT_STREQ(inner.text, "A");
}


// Stored actions: NAME:=1 and NAME:=0 in a step's outputs become S and R after the lines
// of the step blocks, on the condition of each transition into the step and the step left.
struct stored_case {
  const char *what;
  void (*draw)();
  const char *outputs[6];       // step_outputs of steps 0..5
  const char *conditions[5];    // transition_conditions 0..4
  std::vector<std::string> rows;  // the "@  TRAITEMENT" section, then the outputs' section
  const char *refusal;          // the message, or nullptr
};

const stored_case stored_cases[] = {
    {"set on one step, reset on the other", draw_two_step_cycle, {"RB3:=0", "RB3:=1 LED"}, {"l RA0"},
     {"*  x0", "l RA0 > x1", "l RA0 a x0 S RB3", "-  x1", " > x0", "l x1 R RB3", "", "@  POSTTRAITEMENT1", "l x1 = LED"}, nullptr},
    {"a condition that starts with no load", draw_two_step_cycle, {"", "A:=1 B:=0"}, {"a RA0 o RA1", "an RA2"},
     {"*  x0", "a RA0 o RA1 > x1", "l x0 a RA0 o RA1 a x0 S A R B", "-  x1", "an RA2 > x0", "", "@  POSTTRAITEMENT1"}, nullptr},
    {"an AND divergence and a join", draw_parallel_join, {"", "A:=1", "B:=1", "", "", "A:=0 B:=0"},
     {"L RA0", "", "", "l RA3"},
     {"-  x1", " > x3", "-  x3", "l RA3 a x4 > x5", "l RA3 a x4 a x3 R A R B", "*  x0", "L RA0 > x1", "L RA0 > x2",
      "L RA0 a x0 S A", "L RA0 a x0 S B", "-  x5", " > x0", "-  x2", " > x4", "-  x4", "l RA3 a x3 > x5",
      "", "@  POSTTRAITEMENT1"}, nullptr},
    {"words that are no stored action stay continuous", draw_two_step_cycle, {"", "A:=2 B=1 :=1"}, {},
     {"*  x0", " > x1", "-  x1", " > x0", "", "@  POSTTRAITEMENT1", "l x1 = A:=2", "l x1 = B=1", "l x1 = :=1"}, nullptr},
    {"stored in a lower row, continuous in a higher one", draw_two_step_cycle, {"", "RB3:=1", "", "", "RB3"}, {},
     {}, "RB3 : action memorisee a l'etape x1 et continue a l'etape x4"},
    {"continuous in a lower row, stored in a higher one", draw_two_step_cycle, {"", "M2", "M2:=0"}, {},
     {}, "M2 : action memorisee a l'etape x2 et continue a l'etape x1"},
};

TEST_F(Translation, StoredActionsBecomeSAndRLinesOrAreRefusedBesideAContinuousOne) {
  for (const stored_case &c : stored_cases) {
    SCOPED_TRACE(c.what);
    init_project();
    boxes.clear();
    c.draw();
    for (int n = 0; n < 6; n++) set_text(step_outputs[n].text, c.outputs[n] ? c.outputs[n] : "");
    for (int n = 0; n < 5; n++) set_text(transition_conditions[n].text, c.conditions[n] ? c.conditions[n] : "");
    EXPECT_EQ(graphic_to_literal(), c.refusal == nullptr);
    if (c.refusal) {
      EXPECT_EQ(boxes, (std::vector<recorded_box>{notice, {"Processing", c.refusal}}));
      continue;
    }
    std::vector<std::string> rows = {"@  PRETRAITEMENT", "", "@  TRAITEMENT"};
    rows.insert(rows.end(), c.rows.begin(), c.rows.end());
    rows.insert(rows.end(), {"", "@  POSTTRAITEMENT2", "", "@  CONSTANTES"});
    expect_buffer(rows);
  }
}

}  // namespace
