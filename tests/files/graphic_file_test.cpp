#include <cstring>

#include "files/files.h"
#include "files/text_io.h"
#include "support/test_support.h"

namespace {

// The file of a fresh project, built line by line from the documented layout.
// Row numbers formatted in place: GCC 12 at -O3 wrongly warns about "text" + std::string.
std::string numbered_row(const char *format, int n) {
  char row[32];
  std::snprintf(row, sizeof row, format, n);
  return row;
}

std::vector<std::string> fresh_project_lines() {
  std::vector<std::string> lines = {"**_SAUVEGARDE_GRAPHIQUE_**", "", "**_PLAN_XY"};
  std::string empty_row;
  for (int x = 0; x < 40; x++) empty_row += "16   0  ";
  for (int y = 0; y < 40; y++) lines.push_back(empty_row);
  const char *titles[] = {"**_SORTIES_PAR_ETAPE", "**_TRANSITIONS", "**_PRE_TRAITEMENTS", "**_POST_TRAITEMENTS"};
  for (const char *title : titles) {
    lines.push_back(title);
    for (int n = 0; n < 64; n++) lines.push_back(numbered_row("%2d: ", n));
  }
  lines.push_back("**_CONSTANTES");
  for (int n = 0; n < 64; n++) lines.push_back(numbered_row("%2d--(Not_Init): ", n));
  lines.push_back("");
  lines.push_back("**_SAUVEGARDE_GRAPHIQUE_FIN**");
  return lines;
}

std::string join(const std::vector<std::string> &lines, const char *line_end) {
  std::string bytes;
  for (size_t i = 0; i < lines.size(); i++) bytes += (i ? line_end : "") + lines[i];
  return bytes;
}

// Points at the first differing line, which a plain string comparison would bury.
void expect_same_lines(const std::string &actual, const std::string &expected) {
  if (actual == expected) return;
  std::istringstream a(actual), e(expected);
  std::string la, le;
  for (int line = 1;; line++) {
    bool more_a = bool(std::getline(a, la)), more_e = bool(std::getline(e, le));
    if (!more_a && !more_e) break;
    if (la != le || more_a != more_e) {
      ADD_FAILURE() << "first difference at line " << line << "\n  actual:   [" << la << "]\n  expected: [" << le << "]";
      return;
    }
  }
  ADD_FAILURE() << "files differ (length " << actual.size() << " against " << expected.size() << ")";
}

class GraphicFile : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    set_config(config_graphic, "project.gra");
  }
  std::string saved() { return read_file(folder / "project.gra"); }
};

TEST_F(GraphicFile, FreshProjectIsSavedAsThe370LineLayoutWithCrLf) {
  ASSERT_TRUE(save_graphic_file());
  std::vector<std::string> lines = fresh_project_lines();
  ASSERT_EQ(lines.size(), 370u);
  expect_same_lines(saved(), join(lines, "\r\n"));
  EXPECT_EQ(saved().substr(saved().size() - 3), "N**") << "no line end after the last line";
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Files", "Saving Graphical File ?"}}));
}

TEST_F(GraphicFile, CellsAreWrittenRightAlignedRowByRow) {
  plan_xy[0][0] = {cell_initial_step, 0};
  plan_xy[1][0] = {cell_transition, 12};
  plan_xy[39][39] = {cell_step, 63};
  ASSERT_TRUE(save_graphic_file());
  std::vector<std::string> lines = fresh_project_lines();
  lines[3].replace(0, 16, " 1   0   0  12  ");
  lines[42].replace(312, 8, " 2  63  ");
  expect_same_lines(saved(), join(lines, "\r\n"));
}

TEST_F(GraphicFile, SavedProjectLoadsBackUnchanged) {
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) plan_xy[x][y] = {(x * 7 + y) % 17, (x + y * 3) % 64};
  copy_field(step_outputs[0].text, text_size, "LED  MOTOR");
  copy_field(step_outputs[63].text, text_size, "trailing blanks   ");
  copy_field(transition_conditions[10].text, text_size, "l i0 an i1");
  copy_field(pre_treatments[5].text, text_size, std::string(39, 'p').c_str());
  copy_field(post_treatments[2].text, text_size, "tab\there");
  copy_field(constants[3].text, text_size, "25");
  ASSERT_TRUE(save_graphic_file());
  cell grid[grid_size][grid_size];
  std::memcpy(grid, plan_xy, sizeof grid);
  table_row outputs[table_rows];
  std::memcpy(outputs, step_outputs, sizeof outputs);

  init_project();
  set_config(config_graphic, "project.gra");
  ASSERT_TRUE(load_graphic_file());
  EXPECT_EQ(std::memcmp(grid, plan_xy, sizeof grid), 0);
  EXPECT_EQ(std::memcmp(outputs, step_outputs, sizeof outputs), 0);
  EXPECT_STREQ(step_outputs[63].text, "trailing blanks   ");
  EXPECT_STREQ(transition_conditions[10].text, "l i0 an i1");
  EXPECT_EQ(std::string(pre_treatments[5].text), std::string(39, 'p'));
  EXPECT_STREQ(post_treatments[2].text, "tab\there");
  EXPECT_STREQ(constants[3].text, "25");
  EXPECT_STREQ(constants[4].text, "");
  EXPECT_EQ(boxes().back(), (recorded_box{"Files", "Loading Graphical File ?"}));
}

TEST_F(GraphicFile, LeadingBlanksAreDroppedAndBlankOnlyTextsComeBackEmpty) {
  copy_field(transition_conditions[1].text, text_size, "   l i0");
  copy_field(transition_conditions[2].text, text_size, "     ");
  ASSERT_TRUE(save_graphic_file());
  ASSERT_TRUE(load_graphic_file());
  EXPECT_STREQ(transition_conditions[1].text, "l i0");
  EXPECT_STREQ(transition_conditions[2].text, "");
}

TEST_F(GraphicFile, ConstantNamesAreWrittenButNeverReadBack) {
  copy_field(constants[0].name, constant_name_size, "TP0");
  copy_field(constants[0].text, text_size, "100");
  ASSERT_TRUE(save_graphic_file());
  EXPECT_NE(saved().find("\r\n 0--(TP0): 100\r\n 1--(Not_Init): \r\n"), std::string::npos);
  copy_field(constants[0].name, constant_name_size, "OTHER");
  ASSERT_TRUE(load_graphic_file());
  EXPECT_STREQ(constants[0].name, "OTHER");
  EXPECT_STREQ(constants[0].text, "100");
}

TEST_F(GraphicFile, RowsAreFilledInFileOrderWhateverTheirLabelsSay) {
  std::vector<std::string> lines = fresh_project_lines();
  lines[44] = "7: first";   // row 0 of the step outputs, relabelled by hand
  lines[45] = "12: second";
  write_file(folder / "project.gra", join(lines, "\n"));
  ASSERT_TRUE(load_graphic_file());
  EXPECT_STREQ(step_outputs[0].text, "first");
  EXPECT_STREQ(step_outputs[1].text, "second");
  EXPECT_STREQ(step_outputs[7].text, "");
}

TEST_F(GraphicFile, LfAndCrLfFilesLoadTheSame) {
  std::vector<std::string> lines = fresh_project_lines();
  lines[3].replace(0, 8, " 2   5  ");
  lines[49] = " 5: LED ";
  write_file(folder / "project.gra", join(lines, "\n"));
  ASSERT_TRUE(load_graphic_file());
  EXPECT_EQ(plan_xy[0][0].kind, cell_step);
  EXPECT_STREQ(step_outputs[5].text, "LED ");
  init_project();
  set_config(config_graphic, "project.gra");
  write_file(folder / "project.gra", join(lines, "\r\n"));
  ASSERT_TRUE(load_graphic_file());
  EXPECT_EQ(plan_xy[0][0].number, 5);
  EXPECT_STREQ(step_outputs[5].text, "LED ");
}

TEST_F(GraphicFile, ShortFileKeepsUnreadCellsAndEmptiesMissingRows) {
  for (auto &column : plan_xy)
    for (cell &c : column) c = {cell_vertical, 9};
  copy_field(step_outputs[3].text, text_size, "kept?");
  copy_field(constants[63].text, text_size, "kept?");
  write_file(folder / "project.gra", "**_SAUVEGARDE_GRAPHIQUE_**\r\n\r\n**_PLAN_XY\r\n 0   4   1   2");
  ASSERT_TRUE(load_graphic_file());
  EXPECT_EQ(plan_xy[0][0].kind, cell_transition);
  EXPECT_EQ(plan_xy[0][0].number, 4);
  EXPECT_EQ(plan_xy[1][0].kind, cell_initial_step);
  EXPECT_EQ(plan_xy[1][0].number, 2);
  EXPECT_EQ(plan_xy[2][0].kind, cell_vertical);
  EXPECT_EQ(plan_xy[39][39].number, 9);
  EXPECT_STREQ(step_outputs[3].text, "");
  EXPECT_STREQ(constants[63].text, "");
}

TEST_F(GraphicFile, MalformedCellStopsTheGridWithoutHarm) {
  std::vector<std::string> lines = fresh_project_lines();
  lines[3].replace(0, 8, " 2  xx  ");
  plan_xy[1][0] = {cell_cross, 7};
  write_file(folder / "project.gra", join(lines, "\r\n"));
  ASSERT_TRUE(load_graphic_file());
  EXPECT_EQ(plan_xy[0][0].kind, cell_step);
  EXPECT_EQ(plan_xy[0][0].number, 0);  // could not be read: kept
  EXPECT_EQ(plan_xy[1][0].kind, cell_cross);
}

TEST_F(GraphicFile, OutOfRangeCellValuesAreStoredAsRead) {
  std::vector<std::string> lines = fresh_project_lines();
  lines[3].replace(0, 8, "99 -400 ");
  write_file(folder / "project.gra", join(lines, "\r\n"));
  ASSERT_TRUE(load_graphic_file());
  EXPECT_EQ(plan_xy[0][0].kind, 99);
  EXPECT_EQ(plan_xy[0][0].number, -400);
}

TEST_F(GraphicFile, OverLongTextLinesAreCutAtThirtyNineCharacters) {
  std::vector<std::string> lines = fresh_project_lines();
  lines[109] = " 0: " + std::string(60, 'c');
  lines[110] = " 1: next";
  write_file(folder / "project.gra", join(lines, "\r\n"));
  ASSERT_TRUE(load_graphic_file());
  EXPECT_EQ(std::string(transition_conditions[0].text), std::string(39, 'c'));
  EXPECT_STREQ(transition_conditions[1].text, "next");
}

TEST_F(GraphicFile, WithoutAFileNameBothOperationsFailWithTheirMessages) {
  set_config(config_graphic, "");
  copy_field(step_outputs[0].text, text_size, "kept");
  EXPECT_FALSE(load_graphic_file());
  EXPECT_FALSE(save_graphic_file());
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Files", "Loading Graphical File ?"},
                                                {"Files", "Impossible d'ouvrir le fichier graphique"},
                                                {"Files", "Saving Graphical File ?"},
                                                {"Files", "Impossible de creer le fichier graphique"}}));
  EXPECT_STREQ(step_outputs[0].text, "kept");
}

TEST_F(GraphicFile, MissingFileLeavesTheModelUntouched) {
  set_config(config_graphic, "absent.gra");
  plan_xy[3][3] = {cell_step, 3};
  EXPECT_FALSE(load_graphic_file());
  EXPECT_EQ(plan_xy[3][3].kind, cell_step);
  EXPECT_EQ(boxes().back(), (recorded_box{"Files", "Impossible d'ouvrir le fichier graphique"}));
}

TEST_F(GraphicFile, SaveIntoAMissingFolderFailsAndCreatesNothing) {
  set_config(config_graphic, "no/such/folder/project.gra");
  EXPECT_FALSE(save_graphic_file());
  EXPECT_EQ(boxes().back(), (recorded_box{"Files", "Impossible de creer le fichier graphique"}));
  EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

TEST_F(GraphicFile, WriteFailingMidwayLeavesThePreviousFileByteIdentical) {
  write_file(folder / "project.gra", "previous contents\r\n");
  copy_field(step_outputs[0].text, text_size, "new work");
  write_failure_after_bytes = 5000;
  EXPECT_FALSE(save_graphic_file());
  write_failure_after_bytes = -1;
  EXPECT_EQ(saved(), "previous contents\r\n");
  EXPECT_EQ(boxes().back(), (recorded_box{"Files", "Impossible de creer le fichier graphique"}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "temporary file left behind";
  EXPECT_STREQ(step_outputs[0].text, "new work");
}

TEST_F(GraphicFile, AFileThatCannotBeReplacedIsReportedAndKept) {
  std::filesystem::create_directory(folder / "project.gra");
  write_file(folder / "project.gra" / "inside", "x");
  EXPECT_FALSE(save_graphic_file());
  EXPECT_EQ(boxes().back(), (recorded_box{"Files", "Impossible de creer le fichier graphique"}));
  EXPECT_EQ(read_file(folder / "project.gra" / "inside"), "x");
}

}  // namespace
