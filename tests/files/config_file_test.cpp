#include "files/files.h"
#include "files/text_io.h"
#include "support/test_support.h"

namespace {

using ConfigFile = ProjectTest;

const char title[] = "Fichier_de_configuration_de_talven_(non_obligatoire)";

TEST_F(ConfigFile, WithoutAFileTheValuesStayEmptyAndExitCreatesItWithDots) {
  read_config_file();
  for (int row = 0; row < 4; row++) EXPECT_STREQ(config_entries[row].value, "");
  EXPECT_TRUE(write_config_file());
  EXPECT_EQ(read_file(folder / "config.txt"), std::string(title) +
                                                  "\r\nAutomate            ."
                                                  "\r\nFichier.gra         ."
                                                  "\r\nFichier.lit         ."
                                                  "\r\nFichier.hex         .");
  EXPECT_TRUE(boxes().empty());
}

TEST_F(ConfigFile, ValuesAreWrittenAfterTheNamePaddedToTwentyAndReadBack) {
  set_config(config_automate, "pic16f628a.def");
  set_config(config_hex, "out.hex");
  ASSERT_TRUE(write_config_file());
  EXPECT_EQ(read_file(folder / "config.txt"), std::string(title) +
                                                  "\r\nAutomate            pic16f628a.def"
                                                  "\r\nFichier.gra         ."
                                                  "\r\nFichier.lit         ."
                                                  "\r\nFichier.hex         out.hex");
  init_config_entries();
  read_config_file();
  EXPECT_STREQ(config_entries[0].value, "pic16f628a.def");
  EXPECT_STREQ(config_entries[1].value, "");
  EXPECT_STREQ(config_entries[3].value, "out.hex");
}

TEST_F(ConfigFile, ValuesAreAssignedByPositionWhateverTheKeys) {
  write_file(folder / "config.txt", "anything\nFichier.hex a.def\n\n  other   b.gra\r\nx c.lit\ny d.hex\n");
  read_config_file();
  EXPECT_STREQ(config_entries[0].value, "a.def");
  EXPECT_STREQ(config_entries[1].value, "b.gra");
  EXPECT_STREQ(config_entries[2].value, "c.lit");
  EXPECT_STREQ(config_entries[3].value, "d.hex");
  EXPECT_STREQ(config_entries[0].name, "Automate");
}

TEST_F(ConfigFile, AValueWithABlankSplitsIntoTheNextPair) {
  set_config(config_automate, "my file.def");
  set_config(config_graphic, "g.gra");
  ASSERT_TRUE(write_config_file());
  init_config_entries();
  read_config_file();
  EXPECT_STREQ(config_entries[0].value, "my");
  EXPECT_STREQ(config_entries[1].value, "Fichier.gra");
}

TEST_F(ConfigFile, ATrailingKeyWithoutValueAndPairsBeyondTheTableAreIgnored) {
  std::string text = title;
  for (int row = 0; row < 70; row++) text += "\nk v" + std::to_string(row);
  write_file(folder / "config.txt", text + "\nlonely");
  read_config_file();
  EXPECT_STREQ(config_entries[63].value, "v63");
  write_file(folder / "config.txt", "t\nAutomate a.def\nFichier.gra");
  init_config_entries();
  set_config(config_graphic, "kept.gra");
  read_config_file();
  EXPECT_STREQ(config_entries[0].value, "a.def");
  EXPECT_STREQ(config_entries[1].value, "kept.gra");
}

TEST_F(ConfigFile, OverLongValuesAreCut) {
  write_file(folder / "config.txt", std::string("t\nAutomate ") + std::string(50, 'n') + "\nFichier.gra g");
  read_config_file();
  EXPECT_EQ(std::string(config_entries[0].value), std::string(39, 'n'));
  EXPECT_STREQ(config_entries[1].value, "g");
}

TEST_F(ConfigFile, AConfigurationThatCannotBeWrittenIsReportedAndTheOldFileKept) {
  write_file(folder / "config.txt", "old");
  std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  bool writable = std::ofstream(folder / "probe").good();  // root ignores folder permissions
  if (!writable) {
    EXPECT_FALSE(write_config_file());
    EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Files", "Impossible de creer le fichier config.txt"}}));
    EXPECT_EQ(read_file(folder / "config.txt"), "old");
  }
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
  if (writable) {
    std::filesystem::remove(folder / "probe");
    write_failure_after_bytes = 10;
    EXPECT_FALSE(write_config_file());
    write_failure_after_bytes = -1;
    EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Files", "Impossible de creer le fichier config.txt"}}));
    EXPECT_EQ(read_file(folder / "config.txt"), "old");
  }
}

}  // namespace
