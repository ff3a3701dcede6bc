// Work is never lost: fields hold no control codes, hidden pages take no input,
// every page's changes undo and redo, unsaved work is asked about before it is
// replaced, and a recovery copy brings it back after a crash.
#include <cstring>
#include <filesystem>

#include "files/files.h"
#include "files/text_io.h"
#include "window_driver.h"

namespace {

// Control with a letter, as the backends deliver it: Control's key-down (the page
// copies), the letter's key-down, then the control code.
void control_key(char letter, bool shift = false) {
  headless_modifiers = modifier_control | (shift ? modifier_shift : 0);
  if (shift) press(key_shift);
  press(key_control);
  press(letter);
  send_message(message_char, letter - 'A' + 1);
  headless_modifiers = 0;
}
void undo() { control_key('Z'); }
void redo() { control_key('Y'); }

void pick_step() { pick_kind(1, 0); }
bool grid_cell_empty(int x, int y) { return plan_xy[x][y].kind == cell_empty; }

bool box_kind_was(int k, box_kind kind) { return k < shown_box_count && shown_boxes[k].kind == kind; }

constexpr const char *chart_question = "The chart has unsaved changes.\n\nSave them before they are replaced ?";
constexpr const char *literal_question = "The literal program has unsaved changes.\n\nSave it before it is replaced ?";
constexpr const char *exit_question = "The project has unsaved changes.\n\nSave them before quitting ?";
constexpr const char *titled = "TALVEN  version Beta 0.0 *";
constexpr const char *untitled = "TALVEN  version Beta 0.0";

class NeverLoseWork : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    set_config(config_graphic, "chart.gra");
    set_config(config_literal, "chart.lit");
  }
  // An answer scripted for a question that never came means the question was missed.
  void TearDown() override {
    EXPECT_EQ(unused_answers(), 0);
    EditorWindow::TearDown();
  }
  void place_steps(int count) {
    show_page(0);
    pick_step();
    for (int r = 0; r < count; r++) click_grid_cell(0, r);
  }
};

// ---- Control codes ----------------------------------------------------------------

TEST_F(NeverLoseWork, ControlCodesAreNeverStoredInAnyField) {
  // Control+Enter, Control+C, Control+V, Tab, Escape, Control+Backspace, Control+A.
  const int control_codes[] = {0x0A, 0x03, 0x16, 0x09, 0x1B, 0x7F, 0x01};
  struct field {
    int page;
    const char *(*text)();
  };
  const field fields[] = {
      {1, [] { return (const char *)step_outputs[0].text; }},
      {5, [] { return (const char *)constants[0].text; }},
      {6, [] { return (const char *)config_entries[0].value; }},
      {7, [] { return (const char *)literal_buffer[0]; }},
  };
  for (const field &f : fields) {
    show_page(f.page);
    click_text_line(0);
    press(key_delete);
    type("ab");
    for (int code : control_codes) send_message(message_char, code);
    type("cd");
    send_message(message_char, char_backspace);
    send_message(message_char, char_enter);
    EXPECT_STREQ(f.text(), "abc") << "page " << f.page;
  }
}

TEST_F(NeverLoseWork, ControlEnterInATextLeavesTheGraphicFileReadable) {
  show_page(1);
  click_text_line(0);
  type("x0");
  send_message(message_char, 0x0A);
  type(" on");
  send_message(message_char, char_enter);
  show_page(2);
  click_text_line(0);
  type("RA0");
  send_message(message_char, char_enter);
  choose(0, 1);  // SV G
  init_project();
  set_config(config_graphic, "chart.gra");
  ASSERT_TRUE(read_graphic_file("chart.gra"));
  EXPECT_STREQ(step_outputs[0].text, "x0 on");
  EXPECT_STREQ(step_outputs[1].text, "");
  EXPECT_STREQ(transition_conditions[0].text, "RA0");
}

// ---- Typing that cannot be kept ---------------------------------------------------

// The four text pages with a field: a table, the configuration, the literal program.
struct text_field {
  int page;
  char *(*text)(int row);
};
const text_field text_fields[] = {
    {1, [](int row) { return step_outputs[row].text; }},
    {5, [](int row) { return constants[row].text; }},
    {6, [](int row) { return config_entries[row].value; }},
    {7, [](int row) { return literal_buffer[row]; }},
};

TEST_F(NeverLoseWork, EscapeTakesTheTypingBackAndEndsIt) {
  for (const text_field &f : text_fields) {
    show_page(f.page);
    click_text_line(4);
    press(key_delete);
    type("old");
    send_message(message_char, char_enter);
    int steps = undo_steps_available();
    click_text_line(4);
    type("new");
    press(key_escape);
    EXPECT_STREQ(f.text(4), "old") << "page " << f.page;
    EXPECT_TRUE(text_cell_shows(4, "old", teal)) << "page " << f.page;
    type("x");  // the typing has ended
    EXPECT_STREQ(f.text(4), "old") << "page " << f.page;
    EXPECT_EQ(undo_steps_available(), steps) << "Escape leaves no step behind, page " << f.page;
  }
  EXPECT_EQ(shown_box_count, 0);
}

TEST_F(NeverLoseWork, ACharacterThatDoesNotFitIsRefusedWithABox) {
  const std::string full(39, 'w');
  for (const text_field &f : text_fields) {
    int row = f.page == 6 ? 3 : 5;  // on the configuration page, the hex file's name
    show_page(f.page);
    click_text_line(row);
    press(key_delete);
    type(full + "z");
    EXPECT_EQ(f.text(row), full) << "page " << f.page;
    EXPECT_TRUE(text_cell_shows(row, full.c_str(), red)) << "page " << f.page;
    const char *expected = f.page == 6 ? "This field is full: a file name holds at most 39 characters.\n\n"
                                         "A chip bundled with TALVEN is named alone (pic16f877a), without its folder."
                                       : "This field is full: it holds at most 39 characters.";
    EXPECT_TRUE(only_box_is("Input", expected)) << "page " << f.page;
    send_message(message_char, char_backspace);
    type("y");  // room again
    EXPECT_EQ(f.text(row), full.substr(0, 38) + "y");
    send_message(message_char, char_enter);
    forget_boxes();
  }
}

// config.txt splits its words on blanks, so a file name with one would break it.
TEST_F(NeverLoseWork, AFileNameRefusesBlanksTypedOrPasted) {
  const char *no_blanks = "File names cannot hold blanks: config.txt keeps them as words separated by blanks.\n\n"
                          "Name the file without blanks (my_file.gra).";
  show_page(6);
  for (int row : {1, 2, 3, 0}) {  // Automate last: confirming it loads the definition
    click_text_line(row);
    press(key_delete);
    type("my file");
    EXPECT_STREQ(config_entries[row].value, "myfile") << row;
    EXPECT_TRUE(only_box_is("Files", no_blanks)) << row;
    forget_boxes();
    copy_field(copy_buffer, text_size, "a b.gra");
    press(key_insert);
    EXPECT_STREQ(config_entries[row].value, "myfile") << row;
    EXPECT_TRUE(only_box_is("Files", no_blanks)) << row;
    forget_boxes();
    send_message(message_char, char_enter);
  }
  click_text_line(4);  // a row that names no file takes any text
  type("a b");
  EXPECT_STREQ(config_entries[4].value, "a b");
  send_message(message_char, char_enter);
  choose(0, 5);  // Exit
  EXPECT_EQ(read_file("config.txt"), "Fichier_de_configuration_de_talven_(non_obligatoire)\r\n"
                                     "Automate            myfile\r\nFichier.gra         myfile\r\n"
                                     "Fichier.lit         myfile\r\nFichier.hex         myfile");
}

// A shorter file replaces a longer program whole, and the window shows it saved.
TEST_F(NeverLoseWork, LoadingAShortLiteralFileLeavesNothingOfTheLongOne) {
  std::string long_program;
  for (int k = 0; k < 250; k++) long_program += "l x" + std::to_string(k % 60) + " = M" + std::to_string(k % 60) + "\n";
  write_file("chart.lit", long_program);
  choose(0, 2);  // LD L
  ASSERT_STREQ(literal_buffer[249], "l x9 = M9");
  write_file("short.lit", "l RA0 = RB0\n");
  set_config(config_literal, "short.lit");
  choose(0, 2);
  EXPECT_STREQ(literal_buffer[0], "l RA0 = RB0");
  for (int k = 1; k < 250; k++) ASSERT_STREQ(literal_buffer[k], "") << "line " << k;
  EXPECT_STREQ(window_title, untitled);
}

// ---- Hidden pages -----------------------------------------------------------------

TEST_F(NeverLoseWork, APageHiddenByTheMenuTakesNoInputUntilItIsDrawnAgain) {
  show_page(1);
  click_text_line(0);
  type("kept");
  send_message(message_char, char_enter);
  click_top_item(2);  // the page area turns grey
  ASSERT_EQ(pixel(300, 80), grey);
  click_text_line(1);
  type("lost");
  press(key_delete);
  EXPECT_STREQ(step_outputs[0].text, "kept");
  EXPECT_STREQ(step_outputs[1].text, "");
  EXPECT_EQ(pixel(300, 80), grey);

  show_page(0);
  click_top_item(3);
  pick_step();
  click_grid_cell(2, 2);
  EXPECT_TRUE(grid_cell_empty(2, 2));
  paint();  // drawn again: input counts again
  pick_step();
  click_grid_cell(2, 2);
  EXPECT_EQ(plan_xy[2][2].kind, cell_step);
}

// ---- Undo and redo ----------------------------------------------------------------

TEST_F(NeverLoseWork, GridCellsAndNumbersUndoAndRedoOneAtATime) {
  place_steps(3);
  right_click(80, 50);  // cell (0, 0): number entry
  type("7");
  send_message(message_char, char_enter);
  ASSERT_EQ(plan_xy[0][0].number, 7);
  undo();
  EXPECT_EQ(plan_xy[0][0].number, 0);
  EXPECT_EQ(plan_xy[0][2].kind, cell_step);
  undo();
  EXPECT_TRUE(grid_cell_empty(0, 2));
  EXPECT_EQ(plan_xy[0][1].kind, cell_step);
  EXPECT_EQ(pixel(69, 80), grid_blue);   // the undone cell is drawn away
  EXPECT_EQ(pixel(69, 60), white);       // the one before stays
  redo();
  EXPECT_EQ(plan_xy[0][2].kind, cell_step);
  EXPECT_EQ(pixel(69, 80), white);
  control_key('Z', true);  // Control+Shift+Z redoes too
  EXPECT_EQ(plan_xy[0][0].number, 7);
  redo();  // nothing left to redo
  EXPECT_EQ(plan_xy[0][0].number, 7);
  // A new change forgets what could be redone.
  undo();
  click_grid_cell(5, 5);
  redo();
  EXPECT_EQ(plan_xy[0][0].number, 0);
}

TEST_F(NeverLoseWork, ClearingACellWithTheEmptyKindUndoesButTheCopyBufferStays) {
  place_steps(1);
  pick_kind(0, 8);  // empty
  click_grid_cell(0, 0);
  ASSERT_TRUE(grid_cell_empty(0, 0));
  copy_field(copy_buffer, text_size, "clipboard");
  undo();
  EXPECT_EQ(plan_xy[0][0].kind, cell_step);
  EXPECT_STREQ(copy_buffer, "clipboard");
}

TEST_F(NeverLoseWork, TableTextDeleteAndPasteEachUndoButTheCopyBufferStays) {
  show_page(2);
  click_text_line(0);
  type("RA0");
  send_message(message_char, char_enter);
  click_text_line(0);
  press(key_control);  // copies "RA0"
  press(key_delete);
  click_text_line(3);
  press(key_insert);   // pastes it
  ASSERT_STREQ(transition_conditions[3].text, "RA0");
  undo();
  EXPECT_STREQ(transition_conditions[3].text, "");
  EXPECT_TRUE(text_cell_shows(3, "", red));
  undo();
  EXPECT_STREQ(transition_conditions[0].text, "RA0");
  undo();
  EXPECT_STREQ(transition_conditions[0].text, "");
  redo();
  redo();
  redo();
  EXPECT_STREQ(transition_conditions[0].text, "");
  EXPECT_STREQ(transition_conditions[3].text, "RA0");
}

TEST_F(NeverLoseWork, TypedTextIsOneStepAndUndoWhileTypingTakesItBack) {
  show_page(1);
  click_text_line(0);
  type("abc");
  send_message(message_char, char_enter);
  click_text_line(1);
  type("de");
  undo();  // the unconfirmed typing goes first
  EXPECT_STREQ(step_outputs[1].text, "");
  EXPECT_STREQ(step_outputs[0].text, "abc");
  redo();
  EXPECT_STREQ(step_outputs[1].text, "de");
  undo();
  undo();
  EXPECT_STREQ(step_outputs[0].text, "");
}

TEST_F(NeverLoseWork, ConfigurationValueUndoes) {
  show_page(6);
  click_text_line(1);
  press(key_delete);
  type("other.gra");
  send_message(message_char, char_enter);
  ASSERT_STREQ(app_config(config_graphic), "other.gra");
  undo();
  undo();
  EXPECT_STREQ(app_config(config_graphic), "chart.gra");
  EXPECT_TRUE(text_cell_shows(1, "chart.gra", teal));
}

TEST_F(NeverLoseWork, LiteralLinesDeletedInsertedAndCopiedUndo) {
  for (int k = 0; k < literal_lines; k++) copy_field(literal_buffer[k], text_size, ("L" + std::to_string(k)).c_str());
  show_page(7);
  click(100, 80 + 20 * 2);        // mark line 2
  right_click(100, 80 + 20 * 4);  // to line 4
  press(key_control);             // remember lines 2 to 4
  press(key_delete);
  ASSERT_STREQ(literal_buffer[2], "L5");
  click(100, 80);  // mark line 0
  press(key_insert);
  ASSERT_STREQ(literal_buffer[0], "");
  press(key_shift);  // copy the remembered block onto line 0
  ASSERT_STREQ(literal_buffer[0], "L1");
  undo();
  EXPECT_STREQ(literal_buffer[0], "");
  undo();
  EXPECT_STREQ(literal_buffer[0], "L0");
  EXPECT_STREQ(literal_buffer[2], "L5");
  undo();
  EXPECT_STREQ(literal_buffer[2], "L2");
  EXPECT_STREQ(literal_buffer[249], "L249");
  EXPECT_TRUE(text_cell_shows(2, "L2", teal));
}

TEST_F(NeverLoseWork, LoadsAndTranslationUndoAsOneStepEach) {
  place_steps(1);
  choose(0, 1);  // SV G
  choose(0, 3);  // SV L
  show_page(0);
  click_grid_cell(0, 3);  // a change thrown away by the load below
  script_answers({answer_no});
  choose(0, 0);  // LD G
  ASSERT_TRUE(grid_cell_empty(0, 3));
  undo();
  EXPECT_EQ(plan_xy[0][3].kind, cell_step);
  redo();
  copy_field(literal_buffer[0], text_size, "typed");
  script_answers({answer_no});
  choose(0, 2);  // LD L
  ASSERT_STREQ(literal_buffer[0], "-- 0 --");
  undo();
  EXPECT_STREQ(literal_buffer[0], "typed");
  script_answers({answer_no});
  choose(3, 0);  // G->L
  ASSERT_STRNE(literal_buffer[0], "typed");
  undo();
  EXPECT_STREQ(literal_buffer[0], "typed");
}

TEST_F(NeverLoseWork, MoreThanAHundredStepsUndo) {
  show_page(0);
  pick_kind(1, 1);  // vertical link: no numbers
  for (int k = 0; k < 150; k++) click_grid_cell(k % 15, k / 15);
  for (int k = 0; k < 150; k++) undo();
  for (int x = 0; x < 15; x++)
    for (int y = 0; y < 10; y++) EXPECT_TRUE(grid_cell_empty(x, y)) << x << "," << y;
  for (int k = 0; k < 150; k++) redo();
  EXPECT_EQ(plan_xy[14][9].kind, cell_vertical);
}

// ---- Questions before work is lost ----------------------------------------------------

TEST_F(NeverLoseWork, NothingChangedNothingAsked) {
  choose(0, 1);  // SV G
  choose(0, 3);  // SV L
  forget_boxes();
  choose(0, 0);  // LD G
  choose(0, 2);  // LD L
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Files", "Loading Graphical File ?"},
                                                {"Files", "Loading Literal File ?"}}));
  forget_boxes();
  choose(0, 5);  // Exit
  EXPECT_TRUE(shown().empty());
  EXPECT_TRUE(quit_posted);
}

TEST_F(NeverLoseWork, ExitAsksAndCancelKeepsTheWindow) {
  place_steps(1);
  script_answers({answer_cancel});
  choose(0, 5);
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Files", exit_question}}));
  EXPECT_TRUE(box_kind_was(0, box_question));
  EXPECT_FALSE(quit_posted);
  EXPECT_FALSE(std::filesystem::exists("chart.gra"));
  EXPECT_EQ(plan_xy[0][0].kind, cell_step);
}

TEST_F(NeverLoseWork, ExitAnsweredYesSavesTheChangedPartsFirst) {
  place_steps(1);
  copy_field(literal_buffer[0], text_size, "typed");
  script_answers({answer_yes});
  choose(0, 5);
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Files", exit_question},
                                                {"Files", "Saving Graphical File ?"},
                                                {"Files", "Saving Literal File ?"}}));
  EXPECT_TRUE(quit_posted);
  EXPECT_NE(read_file("chart.gra").find("\r\n 2   0  16   0"), std::string::npos);
  EXPECT_EQ(read_file("chart.lit").substr(0, 7), "typed\r\n");
}

TEST_F(NeverLoseWork, ExitAnsweredYesStaysWhenTheSaveFails) {
  place_steps(1);
  script_answers({answer_yes});
  write_failure_after_bytes = 10;
  choose(0, 5);
  write_failure_after_bytes = -1;
  EXPECT_EQ(shown().back(), (recorded_box{"Files", "Impossible de creer le fichier graphique"}));
  EXPECT_FALSE(quit_posted);
  EXPECT_EQ(plan_xy[0][0].kind, cell_step);
}

TEST_F(NeverLoseWork, ClosingTheWindowAsksAndNoQuitsWithoutSaving) {
  place_steps(1);
  script_answers({answer_cancel, answer_no});
  send_message(message_close);
  EXPECT_FALSE(quit_posted);
  send_message(message_close);
  EXPECT_TRUE(quit_posted);
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Files", exit_question}, {"Files", exit_question}}));
  EXPECT_FALSE(std::filesystem::exists("chart.gra"));
  EXPECT_TRUE(std::filesystem::exists("config.txt"));
}

TEST_F(NeverLoseWork, LoadingOverAChangedChartAsksAndYesSavesItFirst) {
  place_steps(2);
  script_answers({answer_cancel});
  choose(0, 0);
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Files", chart_question}}));
  EXPECT_EQ(plan_xy[0][1].kind, cell_step);
  forget_boxes();
  script_answers({answer_yes});
  choose(0, 0);
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Files", chart_question},
                                                {"Files", "Saving Graphical File ?"},
                                                {"Files", "Loading Graphical File ?"}}));
  EXPECT_EQ(plan_xy[0][1].kind, cell_step);
  EXPECT_STREQ(window_title, untitled);
}

TEST_F(NeverLoseWork, LiteralLoadAndTranslationAskOverAChangedLiteral) {
  show_page(7);
  click_text_line(0);
  press(key_delete);
  type("mine");
  send_message(message_char, char_enter);
  script_answers({answer_cancel, answer_cancel});
  choose(0, 2);  // LD L
  choose(3, 0);  // G->L
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Files", literal_question}, {"Files", literal_question}}));
  EXPECT_STREQ(literal_buffer[0], "mine");
  forget_boxes();
  script_answers({answer_yes});
  choose(3, 0);
  ASSERT_GE(shown().size(), 3u);
  EXPECT_EQ(shown()[1], (recorded_box{"Files", "Saving Literal File ?"}));
  EXPECT_EQ(shown()[2], (recorded_box{"Processing", "Converting Graphic --> Literal ?"}));
  EXPECT_EQ(read_file("chart.lit").substr(0, 6), "mine\r\n");
  // What "G->L" produced counts as unchanged: the next one asks nothing.
  forget_boxes();
  choose(3, 0);
  EXPECT_EQ(shown()[0], (recorded_box{"Processing", "Converting Graphic --> Literal ?"}));
}

TEST_F(NeverLoseWork, TitleShowsUnsavedChangesUntilSavedOrUndone) {
  EXPECT_STREQ(window_title, untitled);
  place_steps(1);
  EXPECT_STREQ(window_title, titled);
  choose(0, 1);
  EXPECT_STREQ(window_title, untitled);
  show_page(0);
  click_grid_cell(3, 3);
  EXPECT_STREQ(window_title, titled);
  undo();
  EXPECT_STREQ(window_title, untitled);
}

// ---- Recovery copies ----------------------------------------------------------------

TEST_F(NeverLoseWork, RecoveryCopyIsWrittenAfterThirtySecondsOfUnsavedChanges) {
  for (int k = 0; k < 40; k++) send_message(message_timer);
  EXPECT_FALSE(std::filesystem::exists("chart.gra.recovery"));  // nothing unsaved
  place_steps(1);
  for (int k = 0; k < 29; k++) send_message(message_timer);
  EXPECT_FALSE(std::filesystem::exists("chart.gra.recovery"));
  send_message(message_timer);
  ASSERT_TRUE(std::filesystem::exists("chart.gra.recovery"));
  ASSERT_TRUE(std::filesystem::exists("chart.lit.recovery"));
  std::string copy = read_file("chart.gra.recovery");
  choose(0, 1);  // SV G: the same bytes, and nothing is left unsaved
  EXPECT_EQ(read_file("chart.gra"), copy);
  EXPECT_FALSE(std::filesystem::exists("chart.gra.recovery"));
  EXPECT_FALSE(std::filesystem::exists("chart.lit.recovery"));
  EXPECT_TRUE(shown().size() == 1 && shown()[0].title == "Files");
}

TEST_F(NeverLoseWork, TranslationWritesTheRecoveryCopyAndACleanExitRemovesIt) {
  place_steps(1);
  choose(3, 0);  // G->L
  ASSERT_TRUE(std::filesystem::exists("chart.gra.recovery"));
  EXPECT_EQ(read_file("chart.lit.recovery").substr(0, std::strlen(literal_buffer[0]) + 2),
            std::string(literal_buffer[0]) + "\r\n");
  script_answers({answer_no});
  choose(0, 5);
  EXPECT_TRUE(quit_posted);
  EXPECT_FALSE(std::filesystem::exists("chart.gra.recovery"));
  EXPECT_FALSE(std::filesystem::exists("chart.lit.recovery"));
}

class Restart : public WindowTest {
 protected:
  static void write_config() {
    write_file("config.txt", "t\r\nAutomate x.def\r\nFichier.gra chart.gra\r\nFichier.lit chart.lit\r\nFichier.hex h.hex\r\n");
  }
  // A crash left a copy with one initial step, newer than the saved, empty chart.
  static void crash_leaving_a_copy() {
    write_config();
    headless_create_window();
    save_graphic_file();
    plan_xy[4][2] = {cell_initial_step, 0};
    write_graphic_file("chart.gra.recovery");
    std::filesystem::last_write_time("chart.gra", std::filesystem::last_write_time("chart.gra.recovery") -
                                                      std::chrono::seconds(10));
  }
  static void restart(std::initializer_list<box_answer> answers) {
    headless_create_window();
    script_answers(answers);
    send_message(message_paint);
    send_message(message_other);  // the definition load and the recovery offer
  }
};

constexpr const char *recovery_question =
    "TALVEN was not closed normally. A recovery copy of the project is newer than its files.\n\nRestore it ?";

TEST_F(Restart, YesRestoresTheRecoveryCopyAsUnsavedWork) {
  crash_leaving_a_copy();
  restart({answer_yes});
  ASSERT_GE(shown().size(), 2u);
  EXPECT_EQ(shown()[1], (recorded_box{"Recovery", recovery_question}));
  EXPECT_EQ(plan_xy[4][2].kind, cell_initial_step);
  EXPECT_STREQ(window_title, "TALVEN  version Beta 0.0 *");
  EXPECT_TRUE(std::filesystem::exists("chart.gra.recovery"));
  click_at(120, 20);
  click_at(320, 20);  // the grid page shows it
  EXPECT_EQ(pixel(60 + 40 * 4 + 4, 40 + 20 * 2 + 4), white);
}

TEST_F(Restart, NoDeletesTheRecoveryCopy) {
  crash_leaving_a_copy();
  restart({answer_no});
  EXPECT_EQ(shown().back(), (recorded_box{"Recovery", recovery_question}));
  EXPECT_EQ(plan_xy[4][2].kind, cell_empty);
  EXPECT_FALSE(std::filesystem::exists("chart.gra.recovery"));
}

TEST_F(Restart, CopyOlderThanTheProjectFileIsNotOffered) {
  crash_leaving_a_copy();
  std::filesystem::last_write_time("chart.gra", std::filesystem::last_write_time("chart.gra.recovery") +
                                                    std::chrono::seconds(10));
  restart({answer_yes});
  for (const recorded_box &box : shown()) EXPECT_NE(box.title, "Recovery");
  EXPECT_EQ(plan_xy[4][2].kind, cell_empty);
}

// A project never exited: config.txt did not exist until the first recovery copy
// kept the names beside it, so a SIGKILL loses neither names nor work.
TEST_F(Restart, ANewProjectKilledBeforeItsFirstExitComesBackWhole) {
  headless_create_window();
  send_message(message_paint);
  send_message(message_other);
  const char *names[] = {"pic16f628a", "job.gra", "job.lit", "job.hex"};
  for (int row = 0; row < 4; row++) {
    click_at(300, 80 + 20 * row);
    type(names[row]);
    send_message(message_char, char_enter);
  }
  choose(1, 0);  // Gril: an initial step
  click_at(20, 50);
  click_at(80, 50);
  choose(0, 1);  // SV G
  choose(1, 1);  // Etap: RB3 in row 0
  click_at(300, 80);
  type("RB3");
  send_message(message_char, char_enter);
  for (int k = 0; k < 35; k++) send_message(message_timer);
  ASSERT_TRUE(std::filesystem::exists("job.gra.recovery"));
  init_project();  // the kill: nothing of the run is left but its files
  restart({answer_yes});
  ASSERT_GE(shown().size(), 2u) << "no recovery offered";
  EXPECT_EQ(shown()[1], (recorded_box{"Recovery", recovery_question}));
  for (int row = 0; row < 4; row++) EXPECT_STREQ(config_entries[row].value, names[row]);
  EXPECT_EQ(plan_xy[0][0].kind, cell_initial_step);
  EXPECT_STREQ(step_outputs[0].text, "RB3");
  EXPECT_STREQ(window_title, "TALVEN  version Beta 0.0 *");
}

// A load asks before it removes a copy a crash left; Cancel loads nothing and keeps it.
TEST_F(Restart, ALoadAsksBeforeItRemovesACopyLeftByACrash) {
  const struct {
    box_answer answer;
    bool loaded, copy_kept;
    cell_kind restored;
  } cases[] = {
      {answer_cancel, false, true, cell_empty}, {answer_no, true, false, cell_empty}, {answer_yes, false, true, cell_initial_step}};
  for (const auto &c : cases) {
    crash_leaving_a_copy();
    std::filesystem::remove("config.txt");  // the names are typed again on CFG
    restart({});
    set_config(config_graphic, "chart.gra");
    set_config(config_literal, "chart.lit");
    forget_shown_boxes();
    script_answers({c.answer});
    choose(0, 0);  // LD G
    ASSERT_GE(shown().size(), 1u);
    EXPECT_EQ(shown()[0], (recorded_box{"Recovery", recovery_question})) << c.answer;
    EXPECT_EQ(shown().size() > 1, c.loaded) << c.answer;
    EXPECT_EQ(std::filesystem::exists("chart.gra.recovery"), c.copy_kept) << c.answer;
    EXPECT_EQ(plan_xy[4][2].kind, c.restored) << c.answer;
    choose(3, 0);  // G->L: a translation leaves such a copy alone too
    EXPECT_EQ(std::filesystem::exists("chart.gra.recovery"), c.copy_kept) << c.answer;
    std::filesystem::remove("chart.gra.recovery");
  }
}

}  // namespace
