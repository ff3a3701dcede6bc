// A whole project built as a user builds it, with clicks and keys only: the chart
// drawn on the grid, the texts typed, the translation, the save and the hex file.
#include <sstream>

#include "window_driver.h"

namespace {

std::string definition_file() {
  std::string text =
      "@INFOS\n"
      "uc_type pic_1\n"
      "uc_taille_flash 40\n"
      "uc_taille_eeprom 0\n"
      "adr_start_graphcet 10\n"
      "adr_stop_graphcet 30\n"
      "taille_zb 67\n"
      "@HEX\n"
      ":020000000528D1\n"
      ":00000001FF\n"
      "@ZB\n";
  for (int n = 0; n < 64; n++) text += "bit " + std::to_string(n) + " x" + std::to_string(n) + "\n";
  text += "bit 64 i0\nbit 65 i1\nbit 66 LED\n@END\n";
  return text;
}

// Types a value into a configuration row and confirms it.
void set_configuration(int row, const char *value) {
  click_text_line(row);
  type(value);
  type("\r");
}

std::vector<std::string> lines_of(const std::string &text) {
  std::vector<std::string> lines;
  size_t start = 0, end;
  while ((end = text.find("\r\n", start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::string repeated(const std::string &entry, int count) {
  std::string text;
  for (int i = 0; i < count; i++) text += entry;
  return text;
}

class UserProject : public EditorWindow {};

TEST_F(UserProject, TwoStepCycleGoesFromTheGridToAHexFile) {
  write_file("cycle.def", definition_file());

  // The configuration page is the first page shown.
  set_configuration(0, "cycle.def");
  set_configuration(1, "cycle.gra");
  set_configuration(3, "cycle.hex");
  ASSERT_GE(shown().size(), 1u);
  EXPECT_EQ(shown()[0].title, "Def File");
  EXPECT_EQ(shown()[0].text, "Fichier de definition charge avec succes");

  show_page(0);
  struct placing {
    int palette_column, palette_row, x, y;
  };
  // The kinds in palette order: corners, the steps and transitions, the return link.
  const placing chart[] = {
      {1, 2, 2, 0},  // corner bottom-left
      {0, 0, 2, 1},  // initial step 0
      {0, 1, 2, 2},  // transition 0
      {1, 0, 2, 3},  // step 1
      {0, 1, 2, 4},  // transition 1
      {1, 3, 2, 5},  // corner top-left
      {0, 3, 1, 5},  // corner top-right
      {1, 1, 1, 1}, {1, 1, 1, 2}, {1, 1, 1, 3}, {1, 1, 1, 4},  // the vertical return link
      {0, 2, 1, 0},  // corner bottom-right
  };
  for (const placing &p : chart) {
    pick_kind(p.palette_column, p.palette_row);
    click_grid_cell(p.x, p.y);
  }
  EXPECT_EQ(plan_xy[2][3].kind, cell_step);
  EXPECT_EQ(plan_xy[2][3].number, 1);
  EXPECT_EQ(plan_xy[2][4].number, 1);

  show_page(2);
  click_text_line(0);
  type("l i0\r");
  click_text_line(1);
  type("l i1\r");
  show_page(1);
  click_text_line(1);
  type("LED\r");

  forget_boxes();
  choose(3, 0);  // "G->L"
  ASSERT_GE(shown().size(), 1u);
  EXPECT_EQ(shown()[0].title, "Processing");
  EXPECT_EQ(shown()[0].text, "Converting Graphic --> Literal ?");

  show_page(7);
  const char *program[] = {"@  PRETRAITEMENT",   "",   "@  TRAITEMENT", "*  x0", "l i0 > x1", "-  x1", "l i1 > x0", "",
                           "@  POSTTRAITEMENT1", "l x1 = LED", "", "@  POSTTRAITEMENT2", "", "@  CONSTANTES"};
  for (int k = 0; k < 14; k++) {
    EXPECT_STREQ(literal_buffer[k], program[k]) << "line " << k;
    EXPECT_TRUE(text_cell_shows(k, program[k], teal)) << "line " << k;
  }
  for (int k = 14; k < literal_lines; k++) EXPECT_STREQ(literal_buffer[k], "") << "line " << k;

  choose(0, 1);  // "SV G"
  std::vector<std::string> saved = lines_of(read_file("cycle.gra"));
  ASSERT_EQ(saved.size(), 370u);
  const std::string empty_cell = "16   0  ";
  EXPECT_EQ(saved[3], empty_cell + " 5   0  " + " 7   0  " + repeated(empty_cell, 37));
  EXPECT_EQ(saved[4], empty_cell + " 3   0  " + " 1   0  " + repeated(empty_cell, 37));
  EXPECT_EQ(saved[6], empty_cell + " 3   0  " + " 2   1  " + repeated(empty_cell, 37));
  EXPECT_EQ(saved[8], empty_cell + " 6   0  " + " 8   0  " + repeated(empty_cell, 37));
  EXPECT_EQ(saved[45], " 1: LED");
  EXPECT_EQ(saved[109], " 0: l i0");
  EXPECT_EQ(saved[110], " 1: l i1");

  forget_boxes();
  choose(3, 1);  // "L->H"
  ASSERT_FALSE(shown().empty());
  EXPECT_EQ(shown().back().title, "OK");
  EXPECT_EQ(shown().back().text,
            "Aucune erreur\n\nFichier a programmer : cycle.hex\nLignes utilisees: 9   (56/100)\nLignes restantes: 7");
  EXPECT_EQ(read_file("cycle.hex"),
            ":100000000528ff3fff3fff3fff3fff3fff3fff3f11\r\n"
            ":10001000ff3fff3fff3fff3fff3fff3fff3fff3ff0\r\n"
            ":1000200009340034003440340b3401340a340134d0\r\n"
            ":10003000003441340b340034003401340834423489\r\n"
            ":100040000c340034ff3fff3fff3fff3fff3fff3fc8\r\n"
            ":10005000ff3fff3fff3fff3fff3fff3fff3fff3fb0\r\n"
            ":10006000ff3fff3fff3fff3fff3fff3fff3fff3fa0\r\n"
            ":10007000ff3fff3fff3fff3fff3fff3fff3fff3f90\r\n"
            ":10400000ff3fff3fff3fff3fff3fff3fff3fff3fc0\r\n"
            ":00000001FF");
}

}  // namespace
