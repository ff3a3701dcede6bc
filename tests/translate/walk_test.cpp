// The walk along the drawn links, seen through the evolution lines it gives.
#include <array>
#include <chrono>
#include <iterator>
#include <cstdio>

#include "chart.h"

namespace {

using Walk = Translation;

void name_conditions() {
  for (int t = 0; t < table_rows; t++) {
    char text[8];
    std::snprintf(text, sizeof text, "c%d", t);
    set_text(transition_conditions[t].text, text);
  }
}

TEST_F(Walk, TwoStepCycleGivesTheWorkedProgram) {
  draw_two_step_cycle();
  set_text(transition_conditions[0].text, "i0");
  set_text(transition_conditions[1].text, "i1");
  set_text(step_outputs[1].text, "LED");
  EXPECT_TRUE(graphic_to_literal());
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "*  x0", "i0 > x1", "-  x1", "i1 > x0", "",
                 "@  POSTTRAITEMENT1", "l x1 = LED", "", "@  POSTTRAITEMENT2", "", "@  CONSTANTES"});
  EXPECT_EQ(boxes, std::vector<recorded_box>{notice});
}

TEST_F(Walk, StepTransitionStepGivesOneEvolution) {
  put(0, 0, cell_initial_step, 0);
  put(0, 1, cell_transition, 3);
  put(0, 2, cell_step, 5);
  set_text(transition_conditions[3].text, "l go");
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "l go > x5", "-  x5"});
}

TEST_F(Walk, SplitAfterTransitionGivesBothStepsLeftFirstAndStepsComeColumnByColumn) {
  put(2, 0, cell_initial_step, 0);
  put(2, 1, cell_transition, 0);
  put(2, 2, cell_tee_up);
  put(1, 2, cell_corner_bottom_right);
  put(3, 2, cell_corner_bottom_left);
  put(1, 3, cell_step, 1);
  put(3, 3, cell_step, 2);
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"-  x1", "*  x0", "c0 > x1", "c0 > x2", "-  x2"});
}

TEST_F(Walk, TwoTransitionsBelowOneStepGiveTwoConditions) {
  put(2, 0, cell_initial_step, 0);
  put(2, 1, cell_tee_up);
  put(1, 1, cell_corner_bottom_right);
  put(3, 1, cell_corner_bottom_left);
  put(1, 2, cell_transition, 0);
  put(3, 2, cell_transition, 1);
  put(1, 3, cell_step, 1);
  put(3, 3, cell_step, 2);
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"-  x1", "*  x0", "c0 > x1", "c1 > x2", "-  x2"});
}

TEST_F(Walk, TwoStepsMeetingAboveOneTransitionEachWaitForTheOther) {
  put(1, 0, cell_step, 1);
  put(3, 0, cell_step, 2);
  put(1, 1, cell_corner_top_right);
  put(2, 1, cell_tee_down);
  put(3, 1, cell_corner_top_left);
  put(2, 2, cell_transition, 0);
  put(2, 3, cell_step, 3);
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"-  x1", "c0 a x2 > x3", "-  x3", "-  x2", "c0 a x1 > x3"});
}

TEST_F(Walk, ParallelBranchesJoinOnlyWhenEveryBranchHasArrived) {
  draw_parallel_join();
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"-  x1", "c1 > x3", "-  x3", "c3 a x4 > x5", "*  x0", "c0 > x1", "c0 > x2", "-  x5", "c4 > x0",
                     "-  x2", "c2 > x4", "-  x4", "c3 a x3 > x5"});
}

// Steps 1, 2 and 3 in a row over one transition, their links meeting in a cross.
void draw_three_way_join() {
  put(1, 0, cell_step, 3);
  put(2, 0, cell_step, 1);
  put(3, 0, cell_step, 2);
  put(1, 1, cell_corner_top_right);
  put(2, 1, cell_cross);
  put(3, 1, cell_corner_top_left);
  put(2, 2, cell_transition, 5);
  put(2, 3, cell_step, 9);
}

TEST_F(Walk, JoinOfThreeNamesTheOtherStepsAscendingAfterTheConditionAndWrapsLongLines) {
  draw_three_way_join();
  set_text(transition_conditions[5].text, "l start o restart o again o reset");
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"-  x3", "l start o restart o again o reset a x1", "a x2 > x9", "-  x1",
                     "l start o restart o again o reset a x2", "a x3 > x9", "-  x9", "-  x2",
                     "l start o restart o again o reset a x1", "a x3 > x9"});
}

TEST_F(Walk, JoinWithoutConditionWaitsForTheOtherStepsOnly) {
  draw_three_way_join();
  put(2, 0, cell_step, 3);  // two cells of one step number: one step, named once
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"-  x3", " a x2 > x9", "-  x3", " a x2 > x9", "-  x9", "-  x2", " a x3 > x9"});
}

TEST_F(Walk, TwoTransitionsMergingThroughOneLinkBothReachTheStep) {
  put(1, 0, cell_initial_step, 0);
  put(1, 1, cell_tee_up);
  put(0, 1, cell_corner_bottom_right);
  put(2, 1, cell_corner_bottom_left);
  put(0, 2, cell_transition, 0);
  put(2, 2, cell_transition, 1);
  put(0, 3, cell_corner_top_right);
  put(1, 3, cell_tee_down);
  put(2, 3, cell_corner_top_left);
  put(1, 4, cell_vertical);  // both paths enter this cell from above
  put(1, 5, cell_step, 1);
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "c0 > x1", "c1 > x1", "-  x1"});
}

TEST_F(Walk, StepReachedFromTheSideOrFromBelowGivesNothing) {
  put(5, 0, cell_initial_step, 4);
  put(5, 1, cell_transition, 2);
  put(5, 2, cell_corner_top_right);
  put(6, 2, cell_horizontal);
  put(7, 2, cell_step, 5);  // entered from the left
  put(9, 1, cell_step, 6);
  put(9, 2, cell_transition, 3);
  put(9, 3, cell_corner_top_left);
  put(8, 3, cell_corner_top_right);
  put(8, 2, cell_vertical);
  put(8, 1, cell_step, 7);  // entered from below
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x4", "-  x5", "-  x7", "-  x6"});
}

TEST_F(Walk, ExitContinuesAtEveryEntryOfItsNumberColumnByColumn) {
  put(0, 0, cell_initial_step, 0);
  put(0, 1, cell_transition, 0);
  put(0, 2, cell_exit, 4);
  put(5, 10, cell_entry, 4);
  put(5, 11, cell_step, 2);
  put(3, 20, cell_entry, 4);
  put(3, 21, cell_step, 1);
  put(2, 5, cell_entry, 5);
  put(2, 6, cell_step, 3);
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "c0 > x1", "c0 > x2", "-  x3", "-  x1", "-  x2"});
}

TEST_F(Walk, SecondTransitionOnAPathEndsIt) {
  put(0, 0, cell_initial_step, 0);
  put(0, 1, cell_transition, 0);
  put(0, 2, cell_transition, 1);
  put(0, 3, cell_step, 1);
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "-  x1"});
}

TEST_F(Walk, UnknownKindsAndTheGridBorderEndThePath) {
  put(0, 0, cell_initial_step, 0);
  put(0, 1, cell_transition, 0);
  plan_xy[0][2] = {42, 0};
  put(0, 3, cell_step, 1);
  put(4, 36, cell_step, 2);
  put(4, 37, cell_transition, 1);
  put(4, 38, cell_tee_down);  // entered from above: stops
  put(6, 37, cell_step, 3);
  put(6, 38, cell_transition, 2);
  put(6, 39, cell_corner_top_left);  // goes left, then off the bottom row
  put(5, 39, cell_corner_bottom_right);
  put(39, 39, cell_step, 4);  // below it lies outside the grid
  plan_xy[39][0] = {-3, 0};
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "-  x1", "-  x2", "-  x3", "-  x4"});
}

TEST_F(Walk, RingWithNoStepEndsWithoutEvolution) {
  put(1, 0, cell_initial_step, 0);
  put(1, 1, cell_transition, 0);
  put(1, 2, cell_tee_right);
  put(2, 2, cell_corner_bottom_left);
  put(2, 3, cell_corner_top_left);
  put(1, 3, cell_corner_top_right);
  put(5, 0, cell_step, 1);  // a ring right under a step, before any transition
  put(5, 1, cell_tee_right);
  put(6, 1, cell_corner_bottom_left);
  put(6, 2, cell_corner_top_left);
  put(5, 2, cell_corner_top_right);
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "-  x1"});
  EXPECT_EQ(boxes, std::vector<recorded_box>{notice});
}

TEST_F(Walk, ExitJumpingToItsOwnEntryStillFindsTheStepBelow) {
  put(1, 0, cell_initial_step, 0);
  put(1, 1, cell_transition, 0);
  put(1, 2, cell_entry, 2);
  put(1, 3, cell_tee_right);
  put(2, 3, cell_corner_bottom_left);
  put(2, 4, cell_exit, 2);
  put(1, 4, cell_step, 1);
  put(5, 0, cell_step, 2);  // an exit right below its own entry
  put(5, 1, cell_transition, 1);
  put(5, 2, cell_entry, 3);
  put(5, 3, cell_exit, 3);
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "c0 > x1", "-  x1", "-  x2"});
  EXPECT_EQ(boxes, std::vector<recorded_box>{notice});
}

// Step 0 at the top left over a row of `branches` transitions fed from one link:
// a tee to the right, tees down, a corner at the end; step b+1 under transition b.
void draw_fan(int branches) {
  put(0, 0, cell_initial_step, 0);
  put(0, 1, cell_tee_right);
  for (int x = 1; x < branches - 1; x++) put(x, 1, cell_tee_down);
  put(branches - 1, 1, cell_corner_bottom_left);
  for (int b = 0; b < branches; b++) {
    put(b, 2, cell_transition, b);
    put(b, 3, cell_step, b + 1);
  }
  name_conditions();
}

TEST_F(Walk, TenSuccessorsAllGetTheirLineInTheOrderFound) {
  draw_fan(10);
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "c1 > x2", "c2 > x3", "c3 > x4", "c4 > x5", "c5 > x6", "c6 > x7", "c7 > x8", "c8 > x9",
                     "c9 > x10", "c0 > x1", "-  x1", "-  x2", "-  x3", "-  x4", "-  x5", "-  x6", "-  x7", "-  x8",
                     "-  x9", "-  x10"});
}

TEST_F(Walk, ElevenSuccessorsAreReportedAndStopTheTranslation) {
  draw_fan(11);
  EXPECT_FALSE(graphic_to_literal());
  EXPECT_EQ(boxes, (std::vector<recorded_box>{notice, {"Processing", "Etape x0 : plus de 10 evolutions"}}));
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "*  x0"});
}

// Levels of a tee splitting into two exits that both lead to the next level's entry:
// 2 to the power `levels` paths from step 0 (right column) to step 1.
void draw_doubling_levels(int levels) {
  put(39, 0, cell_initial_step, 0);
  put(39, 1, cell_transition, 0);
  put(39, 2, cell_exit, 0);
  for (int level = 0; level < levels; level++) {
    int x = 3 * level + 1;
    put(x, 0, cell_entry, level);
    put(x, 1, cell_tee_up);
    put(x - 1, 1, cell_corner_bottom_right);
    put(x + 1, 1, cell_corner_bottom_left);
    put(x - 1, 2, cell_exit, level + 1);
    put(x + 1, 2, cell_exit, level + 1);
  }
  put(3 * levels + 1, 0, cell_entry, levels);
  put(3 * levels + 1, 1, cell_step, 1);
  name_conditions();
}

TEST_F(Walk, EveryPathIsFollowedSoMergingPathsRepeatTheLine) {
  draw_doubling_levels(3);
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows(
      {"-  x1", "*  x0", "c0 > x1", "c0 > x1", "c0 > x1", "c0 > x1", "c0 > x1", "c0 > x1", "c0 > x1", "c0 > x1"});
}

TEST_F(Walk, FourThousandPathsToOneStepAreCountedWithoutWalkingThemAll) {
  draw_doubling_levels(12);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(graphic_to_literal());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  EXPECT_EQ(boxes, (std::vector<recorded_box>{notice, {"Processing", "Etape x0 : plus de 10 evolutions"}}));
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "-  x1", "*  x0"});
}

// Steps along the top row over a grid full of crossings, with transitions among them.
void draw_crossings(int transitions) {
  for (int x = 0; x < grid_size; x++) {
    put(x, 0, x == 0 ? cell_initial_step : cell_step, x);
    for (int y = 1; y < grid_size; y++) put(x, y, cell_cross);
  }
  for (int t = 0; t < transitions; t++) put(2 * t, 20, cell_transition, t);
  name_conditions();
}

TEST_F(Walk, GridFullOfCrossingsIsTranslatedQuickly) {
  draw_crossings(20);
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(graphic_to_literal());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
  std::vector<std::string> rows = {"*  x0"};
  for (int x = 1; x < grid_size; x++) rows.push_back("-  x" + std::to_string(x));
  expect_chart_rows(rows);
}

TEST_F(Walk, GridFullOfCrossingsOverAStepFindsItThroughEveryTransition) {
  draw_crossings(11);
  put(20, 39, cell_step, 40);  // every transition leads into it from above
  EXPECT_FALSE(graphic_to_literal());
  EXPECT_EQ(boxes, (std::vector<recorded_box>{notice, {"Processing", "Etape x0 : plus de 10 evolutions"}}));
}

TEST_F(Walk, NumbersOutsideTheTablesAreReportedWhereTheTranslationUsesThem) {
  struct numbered_case {
    int x, y;
    cell_kind kind;
    int number;
    const char *text;
  } cases[] = {
      {0, 2, cell_step, 70, "Numero 70 hors 0..63 en case (0,2)"},      // recorded
      {0, 1, cell_transition, 99, "Numero 99 hors 0..63 en case (0,1)"},  // crossed
      {0, 2, cell_exit, -2, "Numero -2 hors 0..63 en case (0,2)"},        // jumped from
  };
  for (const numbered_case &c : cases) {
    SetUp();
    put(0, 0, cell_initial_step, 0);
    put(0, 1, cell_transition, 0);
    put(c.x, c.y, c.kind, c.number);
    EXPECT_FALSE(graphic_to_literal()) << c.text;
    EXPECT_EQ(boxes, (std::vector<recorded_box>{notice, {"Processing", c.text}}));
    expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "*  x0"});
  }
}

TEST_F(Walk, StepWithANumberOutsideTheTablesIsReportedBeforeItsLine) {
  put(0, 0, cell_initial_step, 0);
  put(3, 3, cell_step, 64);
  EXPECT_FALSE(graphic_to_literal());
  EXPECT_EQ(boxes, (std::vector<recorded_box>{notice, {"Processing", "Numero 64 hors 0..63 en case (3,3)"}}));
  expect_buffer({"@  PRETRAITEMENT", "", "@  TRAITEMENT", "*  x0"});
}

TEST_F(Walk, NumbersOutsideTheTablesOnCellsNoWalkUsesAreHarmless) {
  put(0, 0, cell_initial_step, 0);
  put(0, 1, cell_transition, 1);
  put(0, 2, cell_step, 2);
  put(5, 5, cell_transition, 99);  // never reached
  put(6, 5, cell_entry, -4);
  put(7, 5, cell_exit, 100);
  put(10, 0, cell_step, 3);
  put(10, 1, cell_corner_top_right);
  put(11, 1, cell_transition, 99);  // entered from the side, so not crossed
  plan_xy[12][0] = {cell_empty, 88};
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "c1 > x2", "-  x2", "-  x3"});
  EXPECT_EQ(boxes, std::vector<recorded_box>{notice});
}

TEST_F(Walk, ChangedChartIsWalkedAfresh) {
  draw_two_step_cycle();
  name_conditions();
  EXPECT_TRUE(graphic_to_literal());
  put(2, 4, cell_transition, 7);
  put(1, 0, cell_empty);
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "c0 > x1", "-  x1"});
  put(1, 0, cell_corner_bottom_right);
  EXPECT_TRUE(graphic_to_literal());
  expect_chart_rows({"*  x0", "c0 > x1", "-  x1", "c7 > x0"});
}

TEST_F(Walk, FindSuccessorsFillsTheSlotsAndMarksTheRestEmpty) {
  draw_fan(3);
  forget_walks();
  EXPECT_TRUE(find_successors(0, 0));
  EXPECT_EQ(successor_count, 3);
  EXPECT_EQ(successor_list[0].transition, 1);
  EXPECT_EQ(successor_list[0].step, 2);
  EXPECT_EQ(successor_list[1].transition, 2);
  EXPECT_EQ(successor_list[1].step, 3);
  EXPECT_EQ(successor_list[2].transition, 0);
  EXPECT_EQ(successor_list[2].step, 1);
  for (int k = 3; k < successor_slots; k++) {
    EXPECT_EQ(successor_list[k].transition, -1);
    EXPECT_EQ(successor_list[k].step, -1);
  }
}

}  // namespace

namespace {

// The walk exactly as the rules read, with no guard: every path followed, one move
// after the other. It gives up (returns false) on a chart whose links loop, where
// it would never end, and on one with too many paths to follow in a test.
struct plain_walk {
  std::vector<successor> found;
  std::vector<std::array<int, 4>> path;
  long calls = 0;

  bool go(int x, int y, int t, direction from) {
    if (++calls > 200000) return false;
    if (x < 0 || x >= grid_size || y < 0 || y >= grid_size) return true;
    cell c = plan_xy[x][y];
    std::array<int, 4> state{x, y, int(from), t};
    for (const auto &s : path)
      if (s == state) return false;
    path.push_back(state);
    bool ended = moves(c, x, y, t, from);
    path.pop_back();
    return ended;
  }

  bool moves(cell c, int x, int y, int t, direction from) {
    auto down = [&] { return go(x, y + 1, t, from_above); };
    auto up = [&] { return go(x, y - 1, t, from_below); };
    auto right = [&] { return go(x + 1, y, t, from_left); };
    auto left = [&] { return go(x - 1, y, t, from_right); };
    bool above = from == from_above, below = from == from_below, side = !above && !below;
    switch (c.kind) {
      case cell_transition:
        if (t != -1 || side) return true;
        t = c.number;
        return above ? down() : up();
      case cell_initial_step:
      case cell_step:
        if (above && t != -1) found.push_back({t, c.number});
        return true;
      case cell_vertical: return side || (above ? down() : up());
      case cell_horizontal: return !side || (from == from_left ? right() : left());
      case cell_corner_bottom_right: return below ? right() : down();
      case cell_corner_top_right: return above ? right() : up();
      case cell_corner_bottom_left: return below ? left() : down();
      case cell_corner_top_left: return above ? left() : up();
      case cell_tee_right: return side ? up() && down() : right() && (above ? down() : up());
      case cell_tee_left: return side ? up() && down() : left() && (above ? down() : up());
      case cell_tee_up:
        if (above) return left() && right();
        if (below) return true;
        return from == from_left ? up() && right() : left() && up();
      case cell_tee_down:
        if (above) return true;
        if (below) return left() && right();
        return from == from_left ? down() && right() : left() && down();
      case cell_cross:
        if (above) return right() && left() && down();
        if (below) return right() && left() && up();
        return from == from_left ? right() && up() && down() : left() && up() && down();
      case cell_entry: return !above || down();
      case cell_exit:
        for (int ex = 0; ex < grid_size; ex++)
          for (int ey = 0; ey < grid_size; ey++)
            if (plan_xy[ex][ey].kind == cell_entry && plan_xy[ex][ey].number == c.number &&
                !go(ex, ey, t, from_above))
              return false;
        return true;
      default: return true;
    }
  }
};

TEST_F(Walk, EveryChartWithoutLoopsGivesExactlyWhatFollowingEveryPathGives) {
  // Mostly links that go down, so that many charts end and many paths meet.
  const cell_kind kinds[] = {cell_transition, cell_transition, cell_transition, cell_step, cell_step, cell_vertical,
                             cell_vertical, cell_horizontal, cell_corner_bottom_right, cell_corner_top_right,
                             cell_corner_bottom_left, cell_corner_top_left, cell_tee_right, cell_tee_left, cell_tee_up,
                             cell_tee_up, cell_tee_down, cell_cross, cell_entry, cell_exit, cell_exit, cell_empty};
  unsigned seed = 7;
  auto pick = [&seed](int below) { return int((seed = seed * 1103515245u + 12345u) >> 16) % below; };
  int compared = 0, several = 0;
  for (int chart = 0; chart < 20000; chart++) {
    clear_plan_xy();
    for (int x = 0; x < 8; x++)
      for (int y = 0; y < 8; y++) {
        cell_kind kind = kinds[pick(int(std::size(kinds)))];
        put(x, y, kind, pick(3));
      }
    put(3, 0, cell_initial_step, 9);
    if (chart % 2) put(3, 1, cell_tee_up);
    plain_walk plain;
    if (!plain.go(3, 1, -1, from_above)) continue;
    compared++;
    if (plain.found.size() > 1) several++;
    boxes.clear();
    forget_walks();
    bool complete = find_successors(3, 0);
    ASSERT_EQ(complete, plain.found.size() <= size_t(successor_slots)) << "chart " << chart;
    if (!complete) continue;
    ASSERT_EQ(successor_count, int(plain.found.size())) << "chart " << chart;
    for (int k = 0; k < successor_count; k++) {
      ASSERT_EQ(successor_list[k].transition, plain.found[k].transition) << "chart " << chart << " slot " << k;
      ASSERT_EQ(successor_list[k].step, plain.found[k].step) << "chart " << chart << " slot " << k;
    }
  }
  EXPECT_GT(compared, 10000);
  EXPECT_GT(several, 20);  // charts where the order of what the walk finds matters
}

}  // namespace

namespace {

TEST_F(Walk, AnyGridEitherTranslatesSilentlyOrReportsOneFailure) {
  unsigned seed = 3;
  auto pick = [&seed](int below) { return int((seed = seed * 1103515245u + 12345u) >> 8) % below; };
  int completed = 0;
  for (int chart = 0; chart < 200; chart++) {
    SetUp();
    // Half the charts hold numbers outside the tables and kinds that do not exist.
    bool broken = chart % 2;
    for (int x = 0; x < grid_size; x++)
      for (int y = 0; y < grid_size; y++)
        plan_xy[x][y] = broken ? cell{pick(20) - 1, pick(70) - 2} : cell{pick(cell_kind_count + 8), pick(table_rows)};
    bool complete = graphic_to_literal();
    completed += complete;
    ASSERT_EQ(boxes.size(), complete ? 1u : 2u) << "chart " << chart;
    EXPECT_EQ(boxes[0], notice);
    EXPECT_EQ(boxes.back().title, "Processing");
  }
  EXPECT_GT(completed, 10);
  EXPECT_LT(completed, 190);
}

}  // namespace
