#include "compiler/compiler_fixture.h"

namespace {

using DefinitionFile = target_test;
const definition_record &d = automaton_definition;

TEST_F(DefinitionFile, MinimalFileLoadsSizesAndTheFirmwareWord) {
  ASSERT_EQ(load_definition("@INFOS\nuc_type pic_1\nuc_taille_flash 2000\nuc_taille_eeprom 100\n"
                            "@HEX\n:020000000528D1\n:00000001FF\n@END\n"),
            0);
  EXPECT_EQ(d.uc_taille_flash, 0x2000);
  EXPECT_EQ(d.uc_taille_eeprom, 0x100);
  EXPECT_EQ(d.flash_image[0], 0x2805);
  EXPECT_EQ(d.flash_image[1], -1);
  EXPECT_EQ(d.flash_image[0x1FFF], -1);
  EXPECT_EQ(d.eeprom_image[0], -1);
  EXPECT_EQ(d.config_words[7], -1);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(DefinitionFile, WindowsLineEndsAndTabsAreBlanksToo) {
  ASSERT_EQ(load_definition("@INFOS\r\nuc_taille_flash\t10\r\nadr_start_graphcet 0x1A\r\n"
                            "adr_stop_graphcet 1f\r\ntaille_zb -12\r\n@ZB\r\nw\t3\tin\r\n@END\r\n"),
            0);
  EXPECT_EQ(d.uc_taille_flash, 0x10);
  EXPECT_EQ(d.adr_start_graphcet, 0x1A);
  EXPECT_EQ(d.adr_stop_graphcet, 0x1F);
  EXPECT_EQ(d.taille_zb, -12);
  int address = -1;
  EXPECT_TRUE(find_zb("in", address));
  EXPECT_EQ(address, 3);
}

TEST_F(DefinitionFile, FileWithOnlyEndChangesNothing) {
  automaton_definition.adr_start_graphcet = 77;
  automaton_definition.flash_image[5] = 1234;
  ASSERT_EQ(load_definition("@END\n"), 0);
  EXPECT_EQ(d.adr_start_graphcet, 77);
  EXPECT_EQ(d.flash_image[5], 1234);
  EXPECT_EQ(d.flash_image[6], 0);
  EXPECT_EQ(d.zb_table[0].zb_address, -1);
}

TEST_F(DefinitionFile, InfosWithoutHexLeavesTheImagesAsTheyWere) {
  ASSERT_EQ(load_definition("@INFOS\nuc_taille_flash 8\n@END\n"), 0);
  EXPECT_EQ(d.uc_type, 0);  // no uc_type key: stays 0
  EXPECT_EQ(d.flash_image[0], 0);
  EXPECT_EQ(d.eeprom_image[0], 0);
  EXPECT_EQ(d.config_words[0], 0);
}

// The clock is the simulator's; a definition without it leaves none from the one before.
TEST_F(DefinitionFile, TheClockIsReadAndNotInheritedFromThePreviousDefinition) {
  ASSERT_EQ(load_definition("@INFOS\nfrequence_horloge 20000000\ntaille_zb 256\n@END\n"), 0);
  EXPECT_EQ(d.frequence_horloge, 20000000);
  EXPECT_EQ(d.taille_zb, 256);
  ASSERT_EQ(load_definition("@INFOS\ntaille_zb 128\n@END\n"), 0);
  EXPECT_EQ(d.frequence_horloge, 0);
  EXPECT_TRUE(boxes().empty());
}

// The spare bits, first and last included; a definition without them has none.
TEST_F(DefinitionFile, SpareBitsAreReadAndNotInheritedFromThePreviousDefinition) {
  const struct {
    const char *infos;
    int count;
  } cases[] = {
      {"zb_libre_debut 161\nzb_libre_fin 167\n", 7},
      {"zb_libre_debut 200\nzb_libre_fin 300\n", 56},  // an operand names bits up to 255
      {"zb_libre_debut 170\nzb_libre_fin 169\n", 0},
      {"zb_libre_fin 255\n", 0},
      {"", 0},
  };
  for (const auto &c : cases) {
    ASSERT_EQ(load_definition("@INFOS\nzb_libre_debut 161\nzb_libre_fin 255\n@END\n"), 0);
    ASSERT_EQ(spare_bit_count(), 95);
    ASSERT_EQ(load_definition(std::string("@INFOS\n") + c.infos + "@END\n"), 0);
    EXPECT_EQ(spare_bit_count(), c.count) << c.infos;
  }
  EXPECT_TRUE(boxes().empty());
}

TEST_F(DefinitionFile, UcTypeIsComparedExactly) {
  EXPECT_EQ(load_definition("@INFOS\nuc_type PIC_1\nuc_taille_flash 8\n@END\n"), 1);
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Def File", "Bad uc type"}}));
  EXPECT_EQ(d.uc_taille_flash, 0);  // reading stopped at the bad type
}

TEST_F(DefinitionFile, UnknownInfosKeysAreSkippedWithTheirValue) {
  ASSERT_EQ(load_definition("@INFOS\nauteur moi uc_taille_eeprom 20 note uc_taille_flash\n"
                            "adr_stop_graphcet 40\n@END\n"),
            0);
  EXPECT_EQ(d.uc_taille_eeprom, 0x20);
  EXPECT_EQ(d.uc_taille_flash, 0);  // it was the value of "note"
  EXPECT_EQ(d.adr_stop_graphcet, 0x40);
}

TEST_F(DefinitionFile, ValueThatIsNoNumberIsReadAsTheNextKey) {
  automaton_definition.adr_start_graphcet = 9;
  ASSERT_EQ(load_definition("@INFOS\nadr_start_graphcet @HEX\n:020000000528D1\n@END\n"), 0);
  EXPECT_EQ(d.adr_start_graphcet, 9);
  EXPECT_EQ(d.flash_image[0], 0x2805);  // "@HEX" ended INFOS and opened its section
}

TEST_F(DefinitionFile, ConfigurationAndEepromRecordsFillTheirTables) {
  ASSERT_EQ(load_definition("@HEX\n"
                            ":104000000100020003000400050006000700ff3f00\n"
                            ":044200001200340000\n"
                            "@END\n"),
            0);
  for (int n = 0; n < 7; n++) EXPECT_EQ(d.config_words[n], n + 1);
  EXPECT_EQ(d.config_words[7], 0x3FFF);
  EXPECT_EQ(d.eeprom_image[0], 0x12);
  EXPECT_EQ(d.eeprom_image[1], 0x34);
  EXPECT_EQ(d.eeprom_image[2], -1);
  EXPECT_EQ(d.flash_image[0], -1);
}

TEST_F(DefinitionFile, RecordOfSixteenBytesFillsEightWordsAndBlanksMaySplitFields) {
  ASSERT_EQ(load_definition("@HEX\n: 10 0020 00 0134 0234 0334 0434 0534 0634 0734 0834 00\n"
                            ":02 3ffe 00 aabb 00\n:024002001122ff\n@END\n"),
            0);
  for (int n = 0; n < 8; n++) EXPECT_EQ(d.flash_image[0x10 + n], 0x3401 + n);
  EXPECT_EQ(d.flash_image[0x18], -1);
  EXPECT_EQ(d.flash_image[0x1FFF], 0xBBAA);
  EXPECT_EQ(d.config_words[1], 0x2211);  // byte address 0x4002 is word 0x2001
}

TEST_F(DefinitionFile, HexSectionEndsAtAnyCharacterThatIsNotAColon) {
  ASSERT_EQ(load_definition("@HEX\n:020000000528D1\n#ZB\nw 5 x0\n@END\n"), 0);
  int address = -1;
  EXPECT_TRUE(find_zb("x0", address));  // "#" was taken as the "@" of "@ZB"
  EXPECT_EQ(address, 5);
}

TEST_F(DefinitionFile, ZbAfterCstIsSkippedWordByWord) {
  ASSERT_EQ(load_definition("@CST\neb 10 tempo\n@ZB\nw 1 x0\n@INFOS uc_taille_flash 8\n@END\n"), 0);
  int address = -1, kind = -1;
  EXPECT_FALSE(find_zb("x0", address));
  EXPECT_EQ(d.uc_taille_flash, 8);  // skipping ends at the next header met, which is read
  EXPECT_TRUE(find_cst("tempo", address, kind));
  EXPECT_EQ(address, 0x10);
  EXPECT_EQ(kind, cst_eb);
}

TEST_F(DefinitionFile, EndOfFileBetweenSectionsSucceeds) {
  EXPECT_EQ(load_definition("bonjour\n@HEX\n:00000001FF\n@FIN\n"), 0);
  EXPECT_EQ(load_definition(""), 0);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(DefinitionFile, EndOfFileInsideASectionFailsSilentlyAndKeepsWhatWasRead) {
  const char *cut_files[] = {
      "@INFOS\nuc_taille_flash 10\n",           // before the word that ends INFOS
      "@INFOS\nuc_taille_flash",                // a key without its value
      "@HEX\n:020000000528D1\n",                // before the next header
      "@HEX\n:0200000005",                      // inside a record
      "@HEX\n:020000000528D1\n@",               // a header with no word after its "@"
      "@ZB\nw 1 x0\nw 2",                       // inside an entry
      "@ZB\nw 1 x0\n",                          // before the word that ends ZB
      "@CST\neb 10",                            // inside an entry
  };
  for (const char *text : cut_files) {
    init_automaton_definition();
    EXPECT_EQ(load_definition(text), 1) << text;
  }
  EXPECT_TRUE(boxes().empty());
  init_automaton_definition();
  ASSERT_EQ(load_definition("@INFOS\nuc_taille_flash 10\n@HEX\n:020000000528D1\n:02"), 1);
  EXPECT_EQ(d.uc_taille_flash, 0x10);
  EXPECT_EQ(d.flash_image[0], 0x2805);
}

TEST_F(DefinitionFile, MissingFileIsReported) {
  copy_field(config_entries[config_automate].value, text_size, path("absent.txt").c_str());
  EXPECT_EQ(load_automaton_definition(), 1);
  EXPECT_EQ(boxes(),
            (std::vector<recorded_box>{{"Files", "Impossible d'ouvrir le fichier de definition de l'automate"}}));
}

TEST_F(DefinitionFile, SizesBeyondTheImagesAreRefused) {
  EXPECT_EQ(load_definition("@INFOS\nuc_taille_flash 2000\nuc_taille_eeprom 100\n@END\n"), 0);
  EXPECT_EQ(load_definition("@INFOS\nuc_taille_flash 2001\n@END\n"), 1);
  EXPECT_EQ(load_definition("@INFOS\nuc_taille_eeprom 0x101\n@END\n"), 1);
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{
                                {"Def File", "uc_taille_flash trop grand (maximum 0x2000)"},
                                {"Def File", "uc_taille_eeprom trop grand (maximum 0x100)"}}));
  EXPECT_EQ(d.uc_taille_flash, 0x2000);
  EXPECT_EQ(d.uc_taille_eeprom, 0x100);
}

std::string entries(const char *kind, int count, const char *prefix) {
  std::string text;
  for (int n = 0; n < count; n++) text += std::string(kind) + " " + std::to_string(n) + " " + prefix + std::to_string(n) + "\n";
  return text;
}

TEST_F(DefinitionFile, FourHundredBitVariablesFitAndOneMoreIsRefused) {
  ASSERT_EQ(load_definition("@ZB\n" + entries("w", 400, "v") + "@END\n"), 0);
  int address = -1;
  EXPECT_TRUE(find_zb("v399", address));
  EXPECT_EQ(address, 399);
  EXPECT_EQ(load_definition("@ZB\n" + entries("w", 401, "v") + "@END\n"), 1);
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Def File", "Trop de ZB (maximum 400)"}}));
}

TEST_F(DefinitionFile, HundredConstantsFitAndOneMoreIsRefused) {
  ASSERT_EQ(load_definition("@CST\n" + entries("eb", 100, "c") + "@END\n"), 0);
  EXPECT_EQ(load_definition("@CST\n" + entries("eb", 101, "c") + "@END\n"), 1);
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Def File", "Trop de CST (maximum 100)"}}));
}

TEST_F(DefinitionFile, NamesLongerThanTheTablesHoldAreRefused) {
  EXPECT_EQ(load_definition("@ZB\nw 1 nineteen_characters\n@CST\neb 1 fourteen_chars\n@END\n"), 0);
  EXPECT_EQ(load_definition("@ZB\nw 1 twenty_characters___\n@END\n"), 1);
  EXPECT_EQ(load_definition("@CST\neb 1 fifteen_chars__\n@END\n"), 1);
  EXPECT_EQ(boxes(),
            (std::vector<recorded_box>{
                {"Def File", "Nom de ZB trop long (maximum 19 caracteres): twenty_characters___"},
                {"Def File", "Nom de CST trop long (maximum 14 caracteres): fifteen_chars__"}}));
}

TEST_F(DefinitionFile, ReloadReplacesTablesAndImagesOfTheSectionsPresent) {
  ASSERT_EQ(load_definition("@HEX\n:020000000528D1\n@ZB\nw 1 a\nw 2 b\n@CST\nfb 3 k\n@END\n"), 0);
  automaton_definition.flash_image[9] = 0x3401;  // as a compilation would leave it
  ASSERT_EQ(load_definition("@HEX\n:00000001FF\n@ZB\nw 7 b\n@END\n"), 0);
  int address = -1, kind = -1;
  EXPECT_EQ(d.flash_image[0], -1);
  EXPECT_EQ(d.flash_image[9], -1);
  EXPECT_FALSE(find_zb("a", address));
  EXPECT_TRUE(find_zb("b", address));
  EXPECT_EQ(address, 7);
  EXPECT_TRUE(find_cst("k", address, kind));  // no CST section: the constants stay
}

TEST_F(DefinitionFile, NamesAreFoundExactlyAndTheFirstEntryWins) {
  ASSERT_EQ(load_definition("@ZB\nw 1 Led\nw 2 led\nw 3 led\n@CST\new 1F tempo\nfw 0x20 Tempo\n"
                            "zz 5 other\n@END\n"),
            0);
  int address = -1, kind = -2;
  EXPECT_TRUE(find_zb("led", address));
  EXPECT_EQ(address, 2);
  EXPECT_FALSE(find_zb("LED", address));
  EXPECT_TRUE(find_cst("Tempo", address, kind));
  EXPECT_EQ(address, 0x20);
  EXPECT_EQ(kind, cst_fw);
  EXPECT_TRUE(find_cst("other", address, kind));
  EXPECT_EQ(kind, cst_none);
}

TEST_F(DefinitionFile, UsedConstantNamesAreCopiedInTableOrder) {
  ASSERT_EQ(load_definition("@CST\neb 1 tempo\nzz 2 odd_kind\nfw ffffffff unused\new 4 level\n@END\n"), 0);
  copy_constant_names();
  EXPECT_STREQ(constants[0].name, "tempo");
  EXPECT_STREQ(constants[1].name, "odd_kind");  // an unknown kind is still a name
  EXPECT_STREQ(constants[2].name, "level");     // address -1 marks a free entry
  EXPECT_STREQ(constants[3].name, "Not_Init");
}

TEST_F(DefinitionFile, OnlyTheFirstSixtyFourConstantNamesAreCopied) {
  ASSERT_EQ(load_definition("@CST\n" + entries("eb", 70, "c") + "@END\n"), 0);
  copy_constant_names();
  copy_field(constants[5].text, text_size, "25");
  ASSERT_EQ(load_definition("@CST\neb 1 a\neb 2 b\n@END\n"), 0);
  copy_constant_names();
  EXPECT_STREQ(constants[0].name, "a");
  EXPECT_STREQ(constants[1].name, "b");
  EXPECT_STREQ(constants[2].name, "c2");  // later rows keep their earlier names
  EXPECT_STREQ(constants[63].name, "c63");
  EXPECT_STREQ(constants[5].text, "25");  // values are never touched
}

}  // namespace
