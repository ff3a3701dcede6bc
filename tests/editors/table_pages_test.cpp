// The five table pages and the configuration page, driven through the window.
#include <cstring>

#include "window_driver.h"

namespace {

class TablePage : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    show_page(1);
  }
};

TEST_F(TablePage, PaintsTheColumnsHeadersAndLabels) {
  EXPECT_EQ(pixel(60, 60), olive);
  EXPECT_EQ(pixel(149, 60), olive);
  EXPECT_EQ(pixel(150, 60), black);  // both columns draw their outline on the line between them
  EXPECT_EQ(pixel(545, 60), teal);
  EXPECT_EQ(pixel(550, 60), grey);
  EXPECT_EQ(pixel(60, 50), black);
  EXPECT_EQ(pixel(60, 69), black);
  EXPECT_EQ(pixel(300, 70), black);
  EXPECT_EQ(pixel(300, 330), black);
  EXPECT_EQ(pixel(549, 349), black);
  EXPECT_EQ(pixel(300, 345), teal);
  EXPECT_TRUE(shows_text(52, 52, "Variable", 150));
  EXPECT_TRUE(shows_text(152, 52, "Description", 549));
  EXPECT_TRUE(label_cell_shows(0, "Etape 0", olive));
  EXPECT_TRUE(label_cell_shows(13, "Etape 13", olive));
  EXPECT_TRUE(text_cell_shows(0, "", teal));
}

TEST_F(TablePage, ClickSelectsARowAndTypingAppendsToItsText) {
  click_text_line(2);
  type("\b");  // nothing to remove
  EXPECT_TRUE(text_cell_shows(2, "", red));
  type("LED");
  EXPECT_STREQ(step_outputs[2].text, "LED");
  EXPECT_TRUE(text_cell_shows(2, "LED", red));
  type(" M\b\bMOTOR");
  EXPECT_STREQ(step_outputs[2].text, "LEDMOTOR");
  type("\r");
  EXPECT_TRUE(text_cell_shows(2, "LEDMOTOR", teal));
  // Once confirmed, characters and editing keys go nowhere.
  type("X\b");
  press(key_delete);
  press(key_down);
  EXPECT_STREQ(step_outputs[2].text, "LEDMOTOR");
  EXPECT_STREQ(step_outputs[3].text, "");
}

TEST_F(TablePage, ClicksAtTheEdgesOfTheTextColumn) {
  click(150, 70);
  type("a");
  click(549, 349);
  type("b");
  EXPECT_STREQ(step_outputs[0].text, "a");
  EXPECT_STREQ(step_outputs[13].text, "b");
  EXPECT_TRUE(text_cell_shows(0, "a", teal));
  EXPECT_TRUE(text_cell_shows(13, "b", red));
  type("\r");
  for (auto [x, y] : {std::pair{300, 60}, {149, 100}, {550, 100}, {300, 350}}) click(x, y);
  type("c");
  EXPECT_STREQ(step_outputs[13].text, "b");
  for (int k = 0; k < 14; k++) EXPECT_EQ(pixel(545, 80 + 20 * k), teal);
}

TEST_F(TablePage, FullTextIgnoresFurtherCharacters) {
  click_text_line(5);
  std::string full(39, 'x');
  type(full + "yz");
  EXPECT_EQ(std::string(step_outputs[5].text), full);
  EXPECT_STREQ(step_outputs[6].name, "Etape 6");
  type("\b");
  EXPECT_EQ(std::strlen(step_outputs[5].text), 38u);
}

TEST_F(TablePage, EndShowsTheLastRowsAndHomeTheFirst) {
  press(key_end);
  EXPECT_TRUE(label_cell_shows(0, "Etape 50", olive));
  EXPECT_TRUE(label_cell_shows(13, "Etape 63", olive));
  press(key_page_down);
  EXPECT_TRUE(label_cell_shows(0, "Etape 50", olive));
  press(key_page_up);
  EXPECT_TRUE(label_cell_shows(0, "Etape 49", olive));
  press(key_home);
  EXPECT_TRUE(label_cell_shows(0, "Etape 0", olive));
  press(key_page_up);
  EXPECT_TRUE(label_cell_shows(0, "Etape 0", olive));
  press(key_page_down);
  EXPECT_TRUE(label_cell_shows(0, "Etape 1", olive));
  press(key_left);
  press(key_right);
  EXPECT_TRUE(label_cell_shows(0, "Etape 1", olive));
}

TEST_F(TablePage, UpAndDownMoveTheSelectionWithoutScrolling) {
  click_text_line(13);
  press(key_down);
  type("below");
  EXPECT_STREQ(step_outputs[14].text, "below");
  EXPECT_TRUE(text_cell_shows(13, "", teal));  // the typed row is off screen: no highlight
  press(key_page_down);
  EXPECT_TRUE(text_cell_shows(13, "below", red));
  press(key_up);
  press(key_up);
  type("!");
  EXPECT_STREQ(step_outputs[12].text, "!");
}

TEST_F(TablePage, UpAtTheFirstRowAndDownAtTheLastChangeNothing) {
  click_text_line(0);
  press(key_up);
  type("first");
  press(key_end);
  click_text_line(13);
  press(key_down);
  type("last");
  EXPECT_STREQ(step_outputs[0].text, "first");
  EXPECT_STREQ(step_outputs[63].text, "last");
}

TEST_F(TablePage, DeleteAndInsertBeforeAnyCopyEmptyTheText) {
  click_text_line(3);
  type("abc");
  press(key_delete);
  EXPECT_STREQ(step_outputs[3].text, "");
  EXPECT_TRUE(text_cell_shows(3, "", red));
  type("def");
  press(key_insert);
  EXPECT_STREQ(step_outputs[3].text, "");
  EXPECT_TRUE(text_cell_shows(3, "", red));
}

TEST_F(TablePage, TextCopiedOnTransitionsArrivesOnEveryTextPage) {
  show_page(2);
  click_text_line(0);
  type("l i0 an i1");
  press(key_control);
  EXPECT_TRUE(text_cell_shows(0, "l i0 an i1", red));
  show_page(1);
  click_text_line(4);
  press(key_insert);
  EXPECT_STREQ(step_outputs[4].text, "l i0 an i1");
  EXPECT_TRUE(text_cell_shows(4, "l i0 an i1", red));
  show_page(6);
  click_text_line(4);
  press(key_insert);
  EXPECT_STREQ(config_entries[4].value, "l i0 an i1");
  show_page(7);
  click_text_line(7);
  press(key_insert);
  EXPECT_STREQ(literal_buffer[7], "l i0 an i1");
}

TEST_F(TablePage, EachPageEditsItsOwnTableAndKeepsItsOwnView) {
  const char *labels[] = {"Etape 2", "Trans 2", "Pre 2", "Post 2", "Not_Init"};
  for (int page = 1; page <= 5; page++) {
    show_page(page);
    EXPECT_TRUE(label_cell_shows(2, labels[page - 1], olive));
    click_text_line(2);
    type(std::to_string(page));
  }
  EXPECT_STREQ(step_outputs[2].text, "1");
  EXPECT_STREQ(transition_conditions[2].text, "2");
  EXPECT_STREQ(pre_treatments[2].text, "3");
  EXPECT_STREQ(post_treatments[2].text, "4");
  EXPECT_STREQ(constants[2].text, "5");
  show_page(3);
  press(key_end);
  show_page(4);
  EXPECT_TRUE(label_cell_shows(0, "Post 0", olive));
}

TEST_F(TablePage, SelectedRowStaysSelectedAcrossPageChanges) {
  click_text_line(6);
  type("ab");
  show_page(0);
  show_page(1);
  EXPECT_TRUE(text_cell_shows(6, "ab", red));
  type("c");
  EXPECT_STREQ(step_outputs[6].text, "abc");
}

TEST_F(TablePage, ClickOnAnotherRowMovesTheEditing) {
  click_text_line(1);
  type("one");
  click_text_line(2);
  EXPECT_TRUE(text_cell_shows(1, "one", teal));
  EXPECT_TRUE(text_cell_shows(2, "", red));
  type("two");
  EXPECT_STREQ(step_outputs[1].text, "one");
  EXPECT_STREQ(step_outputs[2].text, "two");
}

TEST_F(TablePage, ConstantsPageShowsTheNamesOfTheTable) {
  copy_field(constants[0].name, constant_name_size, "tempo");
  show_page(5);
  EXPECT_TRUE(label_cell_shows(0, "tempo", olive));
  EXPECT_TRUE(label_cell_shows(1, "Not_Init", olive));
}

class ConfigPage : public EditorWindow {
 protected:
  void SetUp() override {
    EditorWindow::SetUp();
    show_page(6);
  }
};

TEST_F(ConfigPage, ShowsTheFourNamedEntries) {
  EXPECT_TRUE(label_cell_shows(0, "Automate", olive));
  EXPECT_TRUE(label_cell_shows(3, "Fichier.hex", olive));
  EXPECT_TRUE(label_cell_shows(4, "", olive));
  EXPECT_TRUE(shows_text(52, 52, "Variable", 150));
  EXPECT_TRUE(shows_text(152, 52, "Description", 549));
}

TEST_F(ConfigPage, TypedValueIsKeptAndConfirmedWithEnter) {
  click_text_line(1);
  EXPECT_TRUE(text_cell_shows(1, "", red));
  type("projet.gra");
  EXPECT_STREQ(config_entries[1].value, "projet.gra");
  type("\r");
  EXPECT_TRUE(text_cell_shows(1, "projet.gra", teal));
  EXPECT_EQ(definition_load_pending, 0);
}

TEST_F(ConfigPage, EnterOnTheAutomateEntryAsksForADefinitionReload) {
  click_text_line(0);
  type("\r");
  EXPECT_EQ(definition_load_pending, 1);
}

TEST_F(ConfigPage, WhileEditingTheRowCannotChangeNorThePageScroll) {
  click_text_line(2);
  click_text_line(5);
  press(key_end);
  press(key_page_down);
  press(key_down);
  type("x");
  EXPECT_STREQ(config_entries[2].value, "x");
  EXPECT_STREQ(config_entries[5].value, "");
  EXPECT_TRUE(text_cell_shows(2, "x", red));
  EXPECT_TRUE(label_cell_shows(0, "Automate", olive));
  type("\r");
  press(key_end);
  EXPECT_TRUE(label_cell_shows(13, "", olive));
  press(key_home);
  EXPECT_TRUE(label_cell_shows(0, "Automate", olive));
}

TEST_F(ConfigPage, UnnamedRowsCanBeTypedLikeTheOthers) {
  press(key_page_down);
  click_text_line(13);
  type("free");
  EXPECT_STREQ(config_entries[14].value, "free");
  EXPECT_STREQ(config_entries[14].name, "");
  EXPECT_TRUE(text_cell_shows(13, "free", red));
}

TEST_F(ConfigPage, RepaintWhileEditingDrawsTheRowTealUntilTheNextCharacter) {
  click_text_line(0);
  type("def.txt");
  paint();
  EXPECT_TRUE(text_cell_shows(0, "def.txt", teal));
  type("\b");
  EXPECT_TRUE(text_cell_shows(0, "def.tx", red));
}

TEST_F(ConfigPage, DeleteCopyAndInsertWorkOnTheEditedValue) {
  click_text_line(1);
  type("a.gra");
  press(key_control);
  press(key_delete);
  EXPECT_STREQ(config_entries[1].value, "");
  type("\r");
  click_text_line(2);
  press(key_insert);
  EXPECT_STREQ(config_entries[2].value, "a.gra");
  type(std::string(40, 'z'));
  EXPECT_EQ(std::strlen(config_entries[2].value), 39u);
  EXPECT_STREQ(config_entries[3].name, "Fichier.hex");
}

TEST_F(ConfigPage, EditingKeysAreIgnoredWhenNoRowIsEdited) {
  copy_field(config_entries[1].value, text_size, "keep");
  press(key_delete);
  press(key_insert);
  type("q\r");
  EXPECT_STREQ(config_entries[1].value, "keep");
  EXPECT_EQ(definition_load_pending, 0);
}

}  // namespace
