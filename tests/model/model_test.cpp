#include "support/test_support.h"

#include <cstring>

TEST(ProjectModel, FreshProjectHasEmptyGridNotInitConstantsAndNumberedLiteralLines) {
  init_project();
  for (int x = 0; x < grid_size; x++)
    for (int y = 0; y < grid_size; y++) {
      EXPECT_EQ(plan_xy[x][y].kind, cell_empty);
      EXPECT_EQ(plan_xy[x][y].number, 0);
    }
  for (int n = 0; n < table_rows; n++) {
    EXPECT_STREQ(constants[n].name, "Not_Init");
    EXPECT_STREQ(constants[n].text, "");
  }
  EXPECT_STREQ(step_outputs[0].name, "Etape 0");
  EXPECT_STREQ(step_outputs[63].name, "Etape 63");
  EXPECT_STREQ(transition_conditions[7].name, "Trans 7");
  EXPECT_STREQ(pre_treatments[12].name, "Pre 12");
  EXPECT_STREQ(post_treatments[63].name, "Post 63");
  EXPECT_STREQ(literal_buffer[0], "-- 0 --");
  EXPECT_STREQ(literal_buffer[249], "-- 249 --");
  EXPECT_STREQ(literal_line_labels[249], "249");
  const char *names[] = {"Automate", "Fichier.gra", "Fichier.lit", "Fichier.hex"};
  for (int row = 0; row < config_rows; row++) {
    EXPECT_STREQ(config_entries[row].name, row < 4 ? names[row] : "");
    EXPECT_STREQ(config_entries[row].value, "");
  }
  EXPECT_STREQ(copy_buffer, "");
}

TEST(ProjectModel, FieldsHoldThirtyNineCharactersAndNeverMore) {
  char field[text_size];
  std::string fits(39, 'a');
  copy_field(field, text_size, fits.c_str());
  EXPECT_EQ(std::string(field), fits);
  copy_field(field, text_size, (fits + "bc").c_str());
  EXPECT_EQ(std::string(field), fits);
  EXPECT_FALSE(append_char(field, text_size, 'z'));
  EXPECT_EQ(std::string(field), fits);
  field[38] = 0;
  EXPECT_TRUE(append_char(field, text_size, 'z'));
  EXPECT_EQ(std::strlen(field), 39u);
  EXPECT_EQ(field[38], 'z');
}

TEST(ProjectModel, TablesHaveTheirExactFieldWidths) {
  EXPECT_EQ(sizeof step_outputs[0].name, 10u);
  EXPECT_EQ(sizeof step_outputs[0].text, 40u);
  EXPECT_EQ(sizeof constants[0].name, 15u);
  EXPECT_EQ(sizeof config_entries[0].name, 12u);
  EXPECT_EQ(sizeof config_entries[0].value, 40u);
  EXPECT_EQ(sizeof literal_buffer, 250u * 40u);
  EXPECT_EQ(sizeof literal_line_labels[0], 4u);
  EXPECT_EQ(sizeof plan_xy, 40u * 40u * 8u);
}
