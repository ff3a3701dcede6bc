#include "startup/startup.h"
#include "window_fixture.h"

// The page area is teal on the configuration page and grey once the menu redrew alone.
static bool page_area_untouched() { return surface_pixel(300, 200) == teal; }

class MenuBarTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    start();
    send_message(message_other);  // the definition load after the first paint, done with
    forget_shown_boxes();
  }
};

TEST_F(MenuBarTest, ClicksOutsideTheItemsSelectNothingAndRedrawNothing) {
  const int misses[][2] = {{60, 20}, {0, 20},  {260, 20}, {280, 20}, {300, 20}, {540, 20},
                           {600, 20}, {100, 4}, {100, 0},  {100, 36}, {320, 36}, {320, 4}};
  for (auto &point : misses) {
    click_at(point[0], point[1]);
    EXPECT_EQ(menu_top_selection, 0) << point[0] << "," << point[1];
    EXPECT_EQ(menu_sub_selection, 4) << point[0] << "," << point[1];
    EXPECT_TRUE(page_area_untouched()) << point[0] << "," << point[1];
  }
  EXPECT_EQ(edit_mode, 6);
  EXPECT_TRUE(shown().empty());
}

TEST_F(MenuBarTest, TopItemBoundaries) {
  const int hits[][3] = {{61, 20, 0}, {99, 20, 0}, {100, 20, 1}, {259, 20, 4}, {220, 5, 4}, {140, 35, 2}};
  for (auto &hit : hits) {
    click_at(hit[0], hit[1]);
    EXPECT_EQ(menu_top_selection, hit[2]) << hit[0] << "," << hit[1];
    EXPECT_EQ(menu_sub_selection, -1);
  }
}

TEST_F(MenuBarTest, ClickOnTopItemClearsThePageAreaAndMarksNoSubItem) {
  click_top_item(1);
  EXPECT_EQ(edit_mode, 6);
  EXPECT_EQ(pixel(300, 200), grey);
  EXPECT_EQ(pixel(100, 200), grey);
  EXPECT_EQ(top_item_colour(0), olive);
  EXPECT_EQ(top_item_colour(1), red);
  for (int k = 0; k < 6; k++) EXPECT_EQ(sub_item_colour(k), olive);
  EXPECT_TRUE(shown().empty());
  // The page comes back with the next paint from the system.
  send_message(message_paint);
  EXPECT_EQ(pixel(300, 200), teal);
}

TEST_F(MenuBarTest, SubItemsOfGraChooseTheTablePagesWithAFullRepaint) {
  for (int k = 0; k < 6; k++) {
    choose(1, k);
    EXPECT_EQ(edit_mode, k);
    EXPECT_EQ(menu_sub_selection, k);
    EXPECT_EQ(sub_item_colour(k), red);
    // The page is drawn at once: the grid on page 0, the olive label column on pages 1 to 5.
    EXPECT_EQ(pixel(100, 200), k == 0 ? grid_blue : olive) << "page " << k;
  }
  EXPECT_TRUE(shown().empty());
}

TEST_F(MenuBarTest, EditAndCfgChooseTheirPages) {
  choose(2, 0);
  EXPECT_EQ(edit_mode, 7);
  EXPECT_EQ(pixel(100, 200), teal);  // the literal page's number column is teal
  choose(0, 4);
  EXPECT_EQ(edit_mode, 6);
  EXPECT_EQ(pixel(100, 200), olive);
}

TEST_F(MenuBarTest, SubItemBoundariesAndUnlabelledItemsDoNothing) {
  click_top_item(2);  // "Lit": only "Edit" and "Expt" are labelled
  for (int x : {301, 339}) {
    EXPECT_EQ(edit_mode, 6);
    click_at(x, 20);
    EXPECT_EQ(edit_mode, 7) << x;
    edit_mode = 6;
  }
  click_at(460, 20);
  EXPECT_EQ(menu_sub_selection, 4);
  EXPECT_EQ(sub_item_colour(4), red);
  click_at(539, 20);
  EXPECT_EQ(menu_sub_selection, 5);
  EXPECT_EQ(sub_item_colour(5), red);
  EXPECT_EQ(edit_mode, 6);
  EXPECT_EQ(pixel(300, 200), grey);  // no page chosen, so no repaint
  EXPECT_TRUE(shown().empty());
}

TEST_F(MenuBarTest, UnlabelledItemsOfHelpHaveNoAction) {
  for (int k = 2; k < 6; k++) choose(4, k);
  EXPECT_TRUE(shown().empty());
  EXPECT_EQ(edit_mode, 6);
  EXPECT_FALSE(quit_posted);
}

TEST_F(MenuBarTest, ManualBoxTellsWhereTheManualLies) {
  const char *source_dir = std::getenv("TALVEN_SOURCE_DIR");
  ASSERT_NE(source_dir, nullptr) << "run through ctest";
  choose(4, 0);
  std::string address = std::string("file://") + source_dir + "/docs/manual.html";
  EXPECT_EQ(shown(), (std::vector<recorded_box>{
                         {"Manual", "See the manual on the web page\n\n(" + address + ")"}}));
  EXPECT_TRUE(std::filesystem::exists(address.substr(7)));
  EXPECT_EQ(pixel(300, 200), grey);  // a help box chooses no page
}

TEST_F(MenuBarTest, AboutBoxNamesTheProgramAndItsVersion) {
  choose(4, 1);
  EXPECT_EQ(shown(), (std::vector<recorded_box>{
                         {"About", "TALVEN  version Beta 0.0\nTurns GRAFCET charts into Intel HEX files for 14-bit PIC chips."}}));
}

TEST_F(MenuBarTest, FileItemsRunTheFileOperations) {
  set_config(config_graphic, "projet.gra");
  set_config(config_literal, "projet.lit");
  choose(0, 1);  // SV G
  choose(0, 3);  // SV L
  EXPECT_TRUE(std::filesystem::exists("projet.gra"));
  EXPECT_TRUE(std::filesystem::exists("projet.lit"));
  copy_field(literal_buffer[0], text_size, "changed");
  script_answers({answer_no});  // the change is thrown away
  choose(0, 2);  // LD L
  EXPECT_STREQ(literal_buffer[0], "-- 0 --");
  choose(0, 0);  // LD G
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Files", "Saving Graphical File ?"},
                                                {"Files", "Saving Literal File ?"},
                                                {"Files", "The literal program has unsaved changes.\n\n"
                                                          "Save it before it is replaced ?"},
                                                {"Files", "Loading Literal File ?"},
                                                {"Files", "Loading Graphical File ?"}}));
  EXPECT_EQ(edit_mode, 6);
}

TEST_F(MenuBarTest, GoItemsRunTheTranslationAndTheCompiler) {
  ASSERT_TRUE(load_bundled_target("pic16f628a")) << "run through ctest";
  forget_shown_boxes();
  const struct {
    int sub;
    const char *notice;
  } items[] = {{1, "Converting Literal --> Hex ?"}, {2, "Converting Graphic --> Hex ?"}, {0, "Converting Graphic --> Literal ?"}};
  for (const auto &item : items) {
    choose(3, item.sub);
    ASSERT_FALSE(shown().empty());
    EXPECT_EQ(shown()[0], (recorded_box{"Processing", item.notice}));
    forget_shown_boxes();
  }
  EXPECT_EQ(edit_mode, 6);
}

// With no target, each Go item that compiles says so in one box and changes nothing;
// the menu then marks the page still shown, and that page takes input.
TEST_F(MenuBarTest, WithoutATargetCompilingAndSimulatingSayWhereToNameOne) {
  const recorded_box no_target{"Def File",
                               "No target is loaded, so nothing can be compiled or simulated.\n\n"
                               "Name a chip (pic16f628a, pic16f877a, ...) or a definition file in the Automate entry "
                               "of CFG (under \"Fich\") and press Enter."};
  copy_field(literal_buffer[0], text_size, "kept");
  for (int sub : {1, 2, 3, 4}) {
    choose(3, sub);
    EXPECT_EQ(shown(), std::vector<recorded_box>{no_target}) << "Go item " << sub;
    EXPECT_EQ(edit_mode, 6);
    bool page_item = sub >= 3;
    EXPECT_EQ(menu_top_selection, page_item ? 0 : 3) << sub;
    EXPECT_EQ(menu_sub_selection, page_item ? 4 : sub) << sub;
    EXPECT_TRUE(!page_item || page_area_untouched()) << "the configuration page is drawn again";
    forget_shown_boxes();
  }
  EXPECT_STREQ(literal_buffer[0], "kept");
  EXPECT_TRUE(std::filesystem::is_empty(folder)) << "no file was written";
}

// A chart that does not compile does not open the simulation; the menu marks the page still shown.
TEST_F(MenuBarTest, AFailedSimulationLeavesTheMenuOnThePageShown) {
  ASSERT_TRUE(load_bundled_target("pic16f628a")) << "run through ctest";
  plan_xy[0][0] = {cell_initial_step, 0};
  copy_field(step_outputs[0].text, text_size, "NOWHERE");
  choose(1, 1);  // the outputs' page
  forget_shown_boxes();
  choose(3, 3);  // Sim
  ASSERT_FALSE(shown().empty());
  EXPECT_EQ(shown().back().title, "Error");
  EXPECT_EQ(edit_mode, 1);
  EXPECT_EQ(menu_top_selection, 1);
  EXPECT_EQ(menu_sub_selection, 1);
  EXPECT_EQ(surface_pixel(300, 200), teal) << "the outputs' page is drawn again";
  click_at(300, 80);  // and takes input
  for (char c : std::string("RB0")) send_message(message_char, c);
  EXPECT_STREQ(step_outputs[0].text, "NOWHERERB0");
}

TEST_F(MenuBarTest, SelectionPersistsAcrossPagesAndRepaints) {
  choose(1, 3);
  send_message(message_paint);
  EXPECT_EQ(top_item_colour(1), red);
  EXPECT_EQ(sub_item_colour(3), red);
  EXPECT_EQ(edit_mode, 3);
}

// "Expt" under "Lit" writes chart.svg and chart.pdf beside the chart's file and says
// where; a file it cannot replace is named in the box, and the chart and the file stay.
TEST_F(MenuBarTest, ExptWritesTheChartAsSvgAndPdfBesideTheProjectFiles) {
  std::filesystem::create_directory("project");
  set_config(config_graphic, "project/press.gra");
  plan_xy[2][1] = {cell_initial_step, 4};
  plan_xy[2][2] = {cell_transition, 9};
  copy_field(step_outputs[4].text, text_size, "RB7");
  choose(2, 1);
  EXPECT_EQ(edit_mode, 6) << "no page is chosen";
  std::string svg = (folder / "project/chart.svg").string(), pdf = (folder / "project/chart.pdf").string();
  ASSERT_EQ(shown(), (std::vector<recorded_box>{{"Export", "The chart is exported to\n" + svg + "\n" + pdf}}));
  EXPECT_NE(read_file(svg).find(">RB7<"), std::string::npos);
  EXPECT_EQ(read_file(pdf).rfind("%PDF-", 0), 0u);

  forget_shown_boxes();
  std::filesystem::remove(svg);
  std::filesystem::create_directory(svg);  // a folder where the picture should go
  choose(2, 1);
  ASSERT_EQ(shown().size(), 1u);
  EXPECT_EQ(shown()[0].title, "Export");
  EXPECT_EQ(shown()[0].text, "The chart could not be exported: cannot write project/chart.svg.\n\n"
                             "The folder may be missing or read-only. The chart is unchanged, and so is any chart.svg "
                             "written before.");
  EXPECT_TRUE(std::filesystem::is_directory(svg));
  EXPECT_EQ(plan_xy[2][1].kind, cell_initial_step);
  EXPECT_STREQ(step_outputs[4].text, "RB7");
}
