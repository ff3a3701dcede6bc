// The literal editor driven through the window: typing, marking and the line operations.
#include <cstring>

#include "window_driver.h"

namespace {

void mark(int k) { click(100, 80 + 20 * k); }
void mark_range_end(int k) { right_click(100, 80 + 20 * k); }

// Each line holds a text naming it, so moved lines can be told apart.
void number_the_lines() {
  // Formatted in place: GCC 12 at -O3 wrongly warns about "text" + std::string.
  char name[16];
  for (int k = 0; k < literal_lines; k++) {
    std::snprintf(name, sizeof name, "L%d", k);
    copy_field(literal_buffer[k], text_size, name);
  }
}

class LiteralPage : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    show_page(7);
  }
};

TEST_F(LiteralPage, ShowsTheLineNumbersAndTheStartUpLines) {
  EXPECT_EQ(pixel(60, 60), teal);
  EXPECT_EQ(pixel(545, 60), teal);
  EXPECT_EQ(pixel(300, 69), black);
  EXPECT_EQ(pixel(300, 330), black);
  EXPECT_TRUE(shows_text(52, 52, "Lgn", 150));
  EXPECT_TRUE(shows_text(152, 52, "Graphcet litteral", 549));
  EXPECT_TRUE(label_cell_shows(0, "0", teal));
  EXPECT_TRUE(text_cell_shows(0, "-- 0 --", teal));
  EXPECT_TRUE(label_cell_shows(13, "13", teal));
  EXPECT_TRUE(text_cell_shows(13, "-- 13 --", teal));
}

TEST_F(LiteralPage, EndShowsTheLastLinesAndPageDownStopsThere) {
  press(key_end);
  EXPECT_TRUE(label_cell_shows(0, "236", teal));
  EXPECT_TRUE(text_cell_shows(13, "-- 249 --", teal));
  press(key_page_down);
  EXPECT_TRUE(label_cell_shows(0, "236", teal));
  press(key_page_up);
  EXPECT_TRUE(label_cell_shows(0, "235", teal));
  press(key_home);
  EXPECT_TRUE(label_cell_shows(0, "0", teal));
  press(key_page_up);
  EXPECT_TRUE(label_cell_shows(0, "0", teal));
}

TEST_F(LiteralPage, TypingEditsTheClickedLineUntilEnter) {
  click_text_line(2);
  EXPECT_TRUE(text_cell_shows(2, "-- 2 --", red));
  type("\b\b\b\bl i0");
  EXPECT_STREQ(literal_buffer[2], "-- l i0");
  type("\r");
  EXPECT_TRUE(text_cell_shows(2, "-- l i0", teal));
  type("zz");
  EXPECT_STREQ(literal_buffer[2], "-- l i0");
  EXPECT_STREQ(literal_buffer[3], "-- 3 --");
}

TEST_F(LiteralPage, DownAndUpMoveTheTypingLine) {
  click_text_line(13);
  press(key_down);
  type("x");
  EXPECT_STREQ(literal_buffer[14], "-- 14 --x");
  EXPECT_TRUE(text_cell_shows(13, "-- 13 --", teal));
  press(key_up);
  EXPECT_TRUE(text_cell_shows(13, "-- 13 --", red));
  press(key_delete);
  EXPECT_STREQ(literal_buffer[13], "");
  EXPECT_STREQ(literal_buffer[14], "-- 14 --x");  // the line stays, only its text goes
  press(key_end);
  click_text_line(13);
  press(key_down);
  type("!");
  EXPECT_STREQ(literal_buffer[249], "-- 249 --!");
}

TEST_F(LiteralPage, FullLineIgnoresFurtherCharacters) {
  click_text_line(0);
  press(key_delete);
  type(std::string(45, 'k'));
  EXPECT_EQ(std::strlen(literal_buffer[0]), 39u);
  EXPECT_STREQ(literal_buffer[1], "-- 1 --");
}

TEST_F(LiteralPage, DeletingTheMarkedLineMovesTheFollowingLinesUp) {
  number_the_lines();
  mark(10);
  EXPECT_TRUE(label_cell_shows(10, "10", red));
  EXPECT_TRUE(label_cell_shows(9, "9", teal));
  press(key_delete);
  EXPECT_STREQ(literal_buffer[10], "L11");
  EXPECT_STREQ(literal_buffer[248], "L249");
  EXPECT_STREQ(literal_buffer[249], "");
  EXPECT_TRUE(text_cell_shows(10, "L11", teal));
  EXPECT_TRUE(label_cell_shows(10, "10", red));  // the mark stays
  press(key_delete);
  EXPECT_STREQ(literal_buffer[10], "L12");
  EXPECT_STREQ(literal_buffer[9], "L9");
}

TEST_F(LiteralPage, MarkedRangeShowsRedAndDeleteRemovesItAndTheMarks) {
  number_the_lines();
  mark(5);
  mark_range_end(7);
  for (int k : {5, 6, 7}) EXPECT_TRUE(label_cell_shows(k, std::to_string(k).c_str(), red));
  EXPECT_TRUE(label_cell_shows(4, "4", teal));
  EXPECT_TRUE(label_cell_shows(8, "8", teal));
  press(key_delete);
  EXPECT_STREQ(literal_buffer[5], "L8");
  EXPECT_STREQ(literal_buffer[4], "L4");
  EXPECT_STREQ(literal_buffer[246], "L249");
  EXPECT_STREQ(literal_buffer[247], "");
  EXPECT_TRUE(label_cell_shows(5, "5", teal));
  EXPECT_TRUE(text_cell_shows(5, "L8", teal));
  press(key_delete);  // no mark left
  EXPECT_STREQ(literal_buffer[5], "L8");
}

TEST_F(LiteralPage, RangeEndAboveTheMarkDeletesNothingButClearsTheMarks) {
  number_the_lines();
  mark(6);
  mark_range_end(3);
  EXPECT_TRUE(label_cell_shows(6, "6", red));
  EXPECT_TRUE(label_cell_shows(3, "3", teal));
  EXPECT_TRUE(label_cell_shows(4, "4", teal));
  press(key_delete);
  EXPECT_STREQ(literal_buffer[3], "L3");
  EXPECT_STREQ(literal_buffer[6], "L6");
  EXPECT_TRUE(label_cell_shows(6, "6", teal));
}

TEST_F(LiteralPage, InsertAddsEmptyLinesAtTheMarkAndDropsTheLastLine) {
  number_the_lines();
  mark(2);
  press(key_insert);
  press(key_insert);
  EXPECT_STREQ(literal_buffer[2], "");
  EXPECT_STREQ(literal_buffer[3], "");
  EXPECT_STREQ(literal_buffer[4], "L2");
  EXPECT_STREQ(literal_buffer[249], "L247");
  EXPECT_TRUE(text_cell_shows(4, "L2", teal));
}

TEST_F(LiteralPage, InsertAtTheLastLineEmptiesItAndShiftsNothing) {
  number_the_lines();
  press(key_end);
  mark(13);
  press(key_insert);
  EXPECT_STREQ(literal_buffer[249], "");
  EXPECT_STREQ(literal_buffer[248], "L248");
}

TEST_F(LiteralPage, BlockCopyOntoAnOverlappingPlaceCopiesTheFormerTexts) {
  number_the_lines();
  mark(2);
  mark_range_end(4);
  press(key_control);
  mark(3);
  press(key_shift);
  EXPECT_STREQ(literal_buffer[2], "L2");
  EXPECT_STREQ(literal_buffer[3], "L2");
  EXPECT_STREQ(literal_buffer[4], "L3");
  EXPECT_STREQ(literal_buffer[5], "L4");
  EXPECT_STREQ(literal_buffer[6], "L6");
  EXPECT_TRUE(text_cell_shows(5, "L4", teal));
  EXPECT_TRUE(label_cell_shows(3, "3", red));
}

TEST_F(LiteralPage, BlockCopyUpwardsOverlappingItsSource) {
  number_the_lines();
  mark(4);
  mark_range_end(6);
  press(key_control);
  mark(3);
  press(key_shift);
  EXPECT_STREQ(literal_buffer[3], "L4");
  EXPECT_STREQ(literal_buffer[4], "L5");
  EXPECT_STREQ(literal_buffer[5], "L6");
  EXPECT_STREQ(literal_buffer[6], "L6");
  // The block is still remembered and can be copied again, with the texts it holds now.
  mark(10);
  press(key_shift);
  EXPECT_STREQ(literal_buffer[10], "L5");
  EXPECT_STREQ(literal_buffer[11], "L6");
  EXPECT_STREQ(literal_buffer[12], "L6");
}

TEST_F(LiteralPage, OneMarkedLineIsRememberedAlone) {
  number_the_lines();
  mark(6);
  press(key_shift);  // nothing remembered yet: nothing copied
  EXPECT_STREQ(literal_buffer[6], "L6");
  EXPECT_STREQ(literal_buffer[0], "L0");
  mark(1);
  press(key_control);
  mark(8);
  press(key_shift);
  EXPECT_STREQ(literal_buffer[8], "L1");
  EXPECT_STREQ(literal_buffer[9], "L9");
}

TEST_F(LiteralPage, BlockCopyPastTheLastLineCopiesWhatFits) {
  number_the_lines();
  mark(0);
  mark_range_end(4);
  press(key_control);
  press(key_end);
  mark(11);  // line 247
  press(key_shift);
  EXPECT_STREQ(literal_buffer[247], "L0");
  EXPECT_STREQ(literal_buffer[248], "L1");
  EXPECT_STREQ(literal_buffer[249], "L2");
  EXPECT_STREQ(literal_buffer[246], "L246");
  EXPECT_STREQ(literal_buffer[0], "L0");
}

TEST_F(LiteralPage, ClickingATextRemovesTheMarkAndMarkingEndsTyping) {
  number_the_lines();
  mark(4);
  click_text_line(6);
  EXPECT_TRUE(label_cell_shows(4, "4", teal));
  EXPECT_TRUE(text_cell_shows(6, "L6", red));
  press(key_delete);  // acts on the typing line, not on the former mark
  EXPECT_STREQ(literal_buffer[6], "");
  EXPECT_STREQ(literal_buffer[4], "L4");
  mark(1);
  EXPECT_TRUE(text_cell_shows(6, "", teal));
  type("q");
  EXPECT_STREQ(literal_buffer[6], "");
  right_click(300, 100);  // outside the line-number column: nothing
  EXPECT_TRUE(label_cell_shows(1, "1", red));
  EXPECT_TRUE(label_cell_shows(2, "2", teal));
}

TEST_F(LiteralPage, RightClickEndsTyping) {
  click_text_line(2);
  mark_range_end(5);
  type("z");
  EXPECT_STREQ(literal_buffer[2], "-- 2 --");
  EXPECT_TRUE(text_cell_shows(2, "-- 2 --", teal));
}

TEST_F(LiteralPage, LineCopiedHereCanBePastedOnATablePage) {
  click_text_line(0);
  press(key_control);
  show_page(2);
  click(300, 80);
  press(key_insert);
  EXPECT_STREQ(transition_conditions[0].text, "-- 0 --");
}

}  // namespace
