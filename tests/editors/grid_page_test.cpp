// The grid page driven through the window: palette, placing, numbering, scrolling.
#include "support/digit_pictures.h"
#include "window_driver.h"

namespace {

int cell_x(int c) { return 60 + 40 * c; }
int cell_y(int r) { return 40 + 20 * r; }
void right_click_cell(int c, int r) { right_click(cell_x(c) + 20, cell_y(r) + 10); }

bool digit_at(int x, int y, int digit) {
  for (int row = 0; row < 9; row++)
    for (int column = 0; column < 5; column++) {
      rgb expected = digit_pictures[digit][row][column] == '#' ? white : grid_blue;
      if (pixel(x + column, y + row) != expected) return false;
    }
  return true;
}

// The digits' place, above and below row 9 where horizontal links run.
bool no_number_in_cell(int c, int r) {
  int x = cell_x(c) + 20, y = cell_y(r);
  return !any_pixel(x, y + 5, x + 11, y + 8, white) && !any_pixel(x, y + 10, x + 11, y + 13, white);
}

// The number drawn in screen cell (c, r), one or two digits.
bool cell_shows_number(int c, int r, int number) {
  int x = cell_x(c) + 20, y = cell_y(r) + 5;
  if (number < 10) return digit_at(x, y, number) && !any_pixel(x + 7, y, x + 11, y + 8, white);
  return digit_at(x, y, number / 10) && digit_at(x + 7, y, number % 10);
}

bool cell_is_clean(int c, int r) {
  int x = cell_x(c), y = cell_y(r);
  for (int py = y; py <= y + 18; py++)
    for (int px = x; px <= x + 38; px++)
      if (pixel(px, py) != grid_blue) return false;
  return pixel(x + 39, y + 5) == grid_line_blue && pixel(x + 5, y + 19) == grid_line_blue;
}

// A step square with the link stubs above and below; an initial step has its inner square too.
bool cell_shows_step(int c, int r, bool initial) {
  int x = cell_x(c), y = cell_y(r);
  bool square = pixel(x + 9, y) == white && pixel(x + 2, y + 2) == white && pixel(x + 16, y + 16) == white &&
                pixel(x + 9, y + 19) == white && pixel(x + 9, y + 9) == grid_blue;
  return square && (pixel(x + 4, y + 4) == white) == initial;
}

bool cell_shows_transition(int c, int r) {
  int x = cell_x(c), y = cell_y(r);
  return pixel(x + 9, y) == white && pixel(x + 9, y + 19) == white && pixel(x + 7, y + 9) == white &&
         pixel(x + 11, y + 9) == white && pixel(x + 12, y + 9) == grid_blue;
}

bool palette_marks(int j, int i) { return pixel(11 + 20 * j, 41 + 20 * i) == palette_red; }

class GridPage : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    show_page(0);
  }
};

TEST_F(GridPage, PaintsTheGridThePaletteAndTheScrollButtons) {
  EXPECT_EQ(pixel(60, 40), black);  // the outline of the grid area
  EXPECT_EQ(pixel(70, 45), grid_blue);
  EXPECT_EQ(pixel(70, 59), grid_line_blue);
  EXPECT_EQ(pixel(99, 45), grid_line_blue);
  EXPECT_EQ(pixel(659, 45), grid_line_blue);
  EXPECT_EQ(pixel(70, 439), grid_line_blue);
  EXPECT_EQ(pixel(665, 45), grey);
  for (int x : {21, 38}) EXPECT_EQ(pixel(x, 261), button_green);
  for (int y : {281, 298}) EXPECT_EQ(pixel(11, y), button_green);
  EXPECT_EQ(pixel(48, 290), button_green);
  EXPECT_EQ(pixel(38, 318), button_green);
  EXPECT_EQ(pixel(30, 290), grey);  // between the left and right buttons
  // The initial step is the kind placed at start; its square is marked.
  EXPECT_TRUE(palette_marks(0, 0));
  EXPECT_FALSE(palette_marks(1, 0));
  EXPECT_EQ(pixel(29, 45), grid_line_blue);
  EXPECT_EQ(pixel(15, 59), grid_line_blue);
  // The horizontal link of the palette is 20 pixels long; the empty rows carry no glyph.
  EXPECT_EQ(pixel(30, 169), white);
  EXPECT_EQ(pixel(49, 169), white);
  EXPECT_EQ(pixel(50, 169), grey);
  EXPECT_FALSE(any_pixel(10, 200, 48, 238, white));
}

TEST_F(GridPage, PaletteClickChoosesTheKindThatTheNextGridClickPlaces) {
  pick_kind(0, 1);  // transition
  EXPECT_TRUE(palette_marks(0, 1));
  EXPECT_FALSE(palette_marks(0, 0));
  click_grid_cell(3, 2);
  EXPECT_EQ(plan_xy[3][2].kind, cell_transition);
  EXPECT_EQ(plan_xy[3][2].number, 0);
  EXPECT_TRUE(cell_shows_transition(3, 2));
  EXPECT_TRUE(cell_shows_number(3, 2, 0));

  pick_kind(1, 6);  // horizontal link, drawn 40 pixels long on the grid
  click_grid_cell(4, 2);
  EXPECT_EQ(plan_xy[4][2].kind, cell_horizontal);
  EXPECT_EQ(pixel(cell_x(4), cell_y(2) + 9), white);
  EXPECT_EQ(pixel(cell_x(4) + 39, cell_y(2) + 9), white);
  EXPECT_TRUE(no_number_in_cell(4, 2));

  pick_kind(1, 9);  // an empty palette square places empty cells
  EXPECT_TRUE(palette_marks(0, 8));
}

TEST_F(GridPage, StepsAndInitialStepsShareOneNumbering) {
  click_grid_cell(0, 0);
  pick_kind(1, 0);
  click_grid_cell(0, 2);
  click_grid_cell(0, 4);
  EXPECT_EQ(plan_xy[0][0].kind, cell_initial_step);
  EXPECT_EQ(plan_xy[0][2].kind, cell_step);
  EXPECT_EQ(plan_xy[0][0].number, 0);
  EXPECT_EQ(plan_xy[0][2].number, 1);
  EXPECT_EQ(plan_xy[0][4].number, 2);
  EXPECT_TRUE(cell_shows_step(0, 0, true));
  EXPECT_TRUE(cell_shows_step(0, 2, false));
  EXPECT_TRUE(cell_shows_number(0, 4, 2));
}

TEST_F(GridPage, NewTransitionTakesTheFirstNumberNotInUse) {
  plan_xy[20][20] = {cell_transition, 0};
  plan_xy[21][21] = {cell_transition, 1};
  pick_kind(0, 1);
  click_grid_cell(1, 1);
  EXPECT_EQ(plan_xy[1][1].number, 2);
  click_grid_cell(1, 3);
  EXPECT_EQ(plan_xy[1][3].number, 3);  // the counter was left at 3
  // Placing onto a transition counts its old number as used.
  plan_xy[2][2] = {cell_transition, 4};
  click_grid_cell(2, 2);
  EXPECT_EQ(plan_xy[2][2].number, 5);
  EXPECT_TRUE(cell_shows_number(2, 2, 5));
}

TEST_F(GridPage, ExitTakesTheNumberOfTheLatestEntry) {
  pick_kind(0, 7);
  click_grid_cell(5, 0);
  click_grid_cell(5, 2);
  click_grid_cell(5, 4);
  EXPECT_EQ(plan_xy[5][4].number, 2);
  pick_kind(1, 7);
  click_grid_cell(6, 6);
  click_grid_cell(7, 6);
  EXPECT_EQ(plan_xy[6][6].kind, cell_exit);
  EXPECT_EQ(plan_xy[6][6].number, 2);
  EXPECT_EQ(plan_xy[7][6].number, 2);
  EXPECT_TRUE(cell_shows_number(6, 6, 2));
  // The entry's arrow head meets its stem at row 9, the exit's at row 14.
  EXPECT_EQ(pixel(cell_x(5) + 4, cell_y(4) + 4), white);
  EXPECT_EQ(pixel(cell_x(6) + 4, cell_y(6) + 9), white);
}

TEST_F(GridPage, PlacingAnEmptyCellErasesWhatWasThere) {
  click_grid_cell(3, 3);
  ASSERT_TRUE(cell_shows_step(3, 3, true));
  pick_kind(0, 8);
  click_grid_cell(3, 3);
  EXPECT_EQ(plan_xy[3][3].kind, cell_empty);
  EXPECT_EQ(plan_xy[3][3].number, 0);
  EXPECT_TRUE(cell_is_clean(3, 3));
}

TEST_F(GridPage, NumbersPlacedBeyond63AreStoredButNotShown) {
  for (int n = 0; n < 64; n++) plan_xy[30 + n % 10][n / 10] = {cell_step, n};
  click_grid_cell(0, 0);
  EXPECT_EQ(plan_xy[0][0].number, 64);
  EXPECT_TRUE(cell_shows_step(0, 0, true));
  EXPECT_TRUE(no_number_in_cell(0, 0));
  click_grid_cell(1, 0);
  EXPECT_EQ(plan_xy[1][0].number, 65);
}

TEST_F(GridPage, EndShowsTheLastColumnAndRowAndScrollingStopsThere) {
  plan_xy[39][39] = {cell_step, 7};
  plan_xy[0][0] = {cell_step, 3};
  press(key_end);
  EXPECT_TRUE(cell_shows_step(14, 19, false));
  EXPECT_TRUE(cell_shows_number(14, 19, 7));
  press(key_right);
  press(key_down);
  EXPECT_TRUE(cell_shows_step(14, 19, false));
  press(key_home);
  EXPECT_TRUE(cell_shows_step(0, 0, false));
  EXPECT_TRUE(cell_is_clean(14, 19));
  // Up and Left at the first row and column change nothing.
  press(key_up);
  press(key_page_up);
  press(key_left);
  EXPECT_TRUE(cell_shows_number(0, 0, 3));
}

TEST_F(GridPage, ArrowAndPageKeysScrollByOneCell) {
  plan_xy[1][1] = {cell_transition, 4};
  press(key_down);
  EXPECT_TRUE(cell_shows_transition(1, 0));
  press(key_right);
  EXPECT_TRUE(cell_shows_transition(0, 0));
  press(key_page_up);
  EXPECT_TRUE(cell_shows_transition(0, 1));
  press(key_page_down);
  press(key_left);
  EXPECT_TRUE(cell_shows_transition(1, 0));
  // A click on the scrolled grid places into the plan cell that is shown there.
  click_grid_cell(2, 2);
  EXPECT_EQ(plan_xy[2][3].kind, cell_initial_step);
}

TEST_F(GridPage, ScrollButtonsMoveTheViewByOneCell) {
  plan_xy[1][1] = {cell_step, 5};
  click(30, 310);  // down
  EXPECT_TRUE(cell_shows_step(1, 0, false));
  click(40, 290);  // right
  EXPECT_TRUE(cell_shows_step(0, 0, false));
  click(20, 290);  // left
  EXPECT_TRUE(cell_shows_step(1, 0, false));
  click(30, 270);  // up
  EXPECT_TRUE(cell_shows_step(1, 1, false));
  click(30, 270);  // up at the top row changes nothing
  EXPECT_TRUE(cell_shows_number(1, 1, 5));
  EXPECT_TRUE(plan_xy[0][0].kind == cell_empty);  // the buttons place nothing
}

TEST_F(GridPage, TabStepsThroughTheKindsAndWrapsAfterEmpty) {
  press(key_tab);
  EXPECT_TRUE(palette_marks(1, 0));  // the step
  for (int i = 0; i < 13; i++) press(key_tab);
  EXPECT_TRUE(palette_marks(1, 7));  // the exit (15)
  press(key_tab);
  EXPECT_TRUE(palette_marks(0, 8));  // empty
  press(key_tab);
  EXPECT_TRUE(palette_marks(0, 1));  // the transition
  EXPECT_FALSE(palette_marks(0, 8));
}

TEST_F(GridPage, TypedNumbersAreClampedAt63) {
  click_grid_cell(0, 0);
  right_click_cell(0, 0);
  type("75\r");
  EXPECT_EQ(plan_xy[0][0].number, 63);
  EXPECT_TRUE(cell_shows_number(0, 0, 63));
  plan_xy[0][0].number = 0;
  right_click_cell(0, 0);
  type("64\r");
  EXPECT_EQ(plan_xy[0][0].number, 63);
}

TEST_F(GridPage, TypedNumberRenumbersTheSelectedCellAndMovesTheCounter) {
  pick_kind(0, 1);
  click_grid_cell(0, 0);
  right_click_cell(0, 0);
  type("12\r");
  EXPECT_EQ(plan_xy[0][0].number, 12);
  EXPECT_TRUE(cell_shows_number(0, 0, 12));
  click_grid_cell(0, 2);
  EXPECT_EQ(plan_xy[0][2].number, 13);
  // Only a right click clears the number being typed: digits after Enter append.
  right_click_cell(0, 2);
  type("5\r2\r");
  EXPECT_EQ(plan_xy[0][2].number, 52);
  EXPECT_TRUE(cell_shows_number(0, 2, 52));
}

TEST_F(GridPage, TransitionNumberInUseIsRefusedWithAMessage) {
  plan_xy[9][9] = {cell_transition, 5};
  pick_kind(0, 1);
  click_grid_cell(0, 0);
  click_grid_cell(0, 2);
  right_click_cell(0, 2);
  type("5\r");
  EXPECT_TRUE(only_box_is("Erreur", "Desole, ce numero de transition est deja utilise"));
  EXPECT_EQ(plan_xy[0][2].number, 1);
  EXPECT_TRUE(cell_shows_number(0, 2, 1));
  // The counter moved past the refused number all the same.
  click_grid_cell(0, 4);
  EXPECT_EQ(plan_xy[0][4].number, 6);
  // A transition's own number counts as used too.
  forget_boxes();
  right_click_cell(0, 0);
  type("0\r");
  EXPECT_TRUE(only_box_is("Erreur", "Desole, ce numero de transition est deja utilise"));
}

TEST_F(GridPage, StepNumberHeldByAnInitialStepIsRefused) {
  plan_xy[10][10] = {cell_initial_step, 3};
  plan_xy[11][10] = {cell_transition, 3};
  plan_xy[12][10] = {cell_entry, 3};
  pick_kind(1, 0);
  click_grid_cell(0, 0);
  right_click_cell(0, 0);
  type("3\r");
  EXPECT_TRUE(only_box_is("Erreur", "Desole, ce numero d'etape est deja utilise"));
  EXPECT_EQ(plan_xy[0][0].number, 0);
  // A transition may carry the number that a step carries.
  plan_xy[10][10] = {cell_transition, 9};
  plan_xy[11][10] = {cell_step, 3};
  right_click_cell(10, 10);
  type("4\r");
  EXPECT_EQ(plan_xy[10][10].number, 4);
  EXPECT_EQ(shown().size(), 1u);
}

TEST_F(GridPage, EntryNumberInUseIsRefusedAndTheNextExitTakesIt) {
  pick_kind(0, 7);
  click_grid_cell(0, 0);
  click_grid_cell(0, 2);
  right_click_cell(0, 2);
  type("0\r");
  EXPECT_TRUE(only_box_is("Erreur", "Desole, ce numero d'entree est deja utilise"));
  EXPECT_EQ(plan_xy[0][2].number, 1);
  pick_kind(1, 7);
  click_grid_cell(0, 4);
  EXPECT_EQ(plan_xy[0][4].number, 0);
}

TEST_F(GridPage, ExitNumbersAreNotCheckedAndSetTheEntryCounter) {
  pick_kind(1, 7);
  click_grid_cell(0, 0);
  click_grid_cell(0, 2);
  right_click_cell(0, 2);
  type("4\r");
  EXPECT_EQ(plan_xy[0][2].number, 4);
  right_click_cell(0, 0);
  type("4\r");
  EXPECT_EQ(plan_xy[0][0].number, 4);
  EXPECT_TRUE(shown().empty());
  click_grid_cell(0, 4);
  EXPECT_EQ(plan_xy[0][4].number, 4);
}

TEST_F(GridPage, EnterOnALinkOrAnEmptyCellDoesNothing) {
  pick_kind(1, 6);
  click_grid_cell(1, 1);
  right_click_cell(1, 1);
  type("5\r");
  right_click_cell(2, 2);
  type("5\r");
  EXPECT_EQ(plan_xy[1][1].number, 0);
  EXPECT_EQ(plan_xy[2][2].number, 0);
  EXPECT_TRUE(no_number_in_cell(1, 1));
  EXPECT_TRUE(shown().empty());
}

TEST_F(GridPage, BeforeAnyRightClickEnterActsOnTheFirstCellOfThePlan) {
  press(key_end);  // the view does not matter: (0, 0) of the plan is meant
  plan_xy[0][0] = {cell_step, 0};
  type("9\r");
  EXPECT_EQ(plan_xy[0][0].number, 9);
}

TEST_F(GridPage, RightClickOutsideTheGridKeepsTheSelection) {
  pick_kind(0, 1);
  click_grid_cell(2, 2);
  right_click_cell(2, 2);
  right_click(30, 100);  // on the palette
  type("8\r");
  EXPECT_EQ(plan_xy[2][2].number, 8);
}

}  // namespace
