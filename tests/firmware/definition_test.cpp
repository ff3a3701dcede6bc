// The bundled PIC16F628A definition and the examples' configuration, read by TALVEN's own loaders.
#include <gtest/gtest.h>

#include <filesystem>

#include "files/files.h"
#include "support/test_support.h"
#include "compiler/compiler.h"

class BundledDefinition : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    init_automaton_definition();
    std::filesystem::copy_file(SOURCE_DIR "/targets/pic16f628a.def", "bundled.def");
    set_config(config_automate, "bundled.def");
    ASSERT_EQ(load_automaton_definition(), 0);
  }
  static int zb(const char *name) {
    int address = -1;
    EXPECT_TRUE(find_zb(name, address)) << name;
    return address;
  }
};

TEST_F(BundledDefinition, DeclaresTheChipSizesAndTheProgramArea) {
  EXPECT_EQ(automaton_definition.uc_type, 0);
  EXPECT_EQ(automaton_definition.uc_taille_flash, 0x800);
  EXPECT_EQ(automaton_definition.uc_taille_eeprom, 0x80);
  EXPECT_EQ(automaton_definition.adr_start_graphcet, 0x400);
  EXPECT_EQ(automaton_definition.adr_stop_graphcet, 0x800);
  EXPECT_EQ(automaton_definition.taille_zb, 256);
}

TEST_F(BundledDefinition, NamesEveryBitVariableAtItsPlaceInTheBitMap) {
  EXPECT_EQ(zb("x0"), 0);
  EXPECT_EQ(zb("x63"), 63);
  EXPECT_EQ(zb("RA0"), 64);
  EXPECT_EQ(zb("RA7"), 71);
  EXPECT_EQ(zb("RB0"), 72);
  EXPECT_EQ(zb("RB7"), 79);
  EXPECT_EQ(zb("M0"), 80);
  EXPECT_EQ(zb("M63"), 143);
  EXPECT_EQ(zb("TE0"), 144);
  EXPECT_EQ(zb("TE7"), 151);
  EXPECT_EQ(zb("T0"), 152);
  EXPECT_EQ(zb("T7"), 159);
  EXPECT_EQ(zb("UNSTABLE"), 160);
  int address = 0;
  EXPECT_FALSE(find_zb("x64", address));
  EXPECT_FALSE(find_zb("rb0", address));
}

TEST_F(BundledDefinition, CarriesTheInterpreterItsDefaultsAndAnEmptyProgram) {
  EXPECT_EQ(automaton_definition.flash_image[0] & 0x3800, 0x2800);  // a goto to the start-up code
  EXPECT_EQ(automaton_definition.flash_image[0x3FF], -1);           // the interpreter ends below the area
  EXPECT_EQ(automaton_definition.flash_image[0x400], 0x340C);
  EXPECT_EQ(automaton_definition.flash_image[0x401], 0x3400);
  // Internal oscillator, watchdog on, power-up timer, MCLR as input, no brown-out, no LVP.
  EXPECT_EQ(automaton_definition.config_words[7], 0x3F14);
  EXPECT_EQ(automaton_definition.eeprom_image[0], 0xFF);  // PORTA inputs
  EXPECT_EQ(automaton_definition.eeprom_image[1], 0x00);  // PORTB outputs
  for (int timer = 0; timer < 8; timer++) {
    EXPECT_EQ(automaton_definition.eeprom_image[2 + 2 * timer], 0);
    EXPECT_EQ(automaton_definition.eeprom_image[3 + 2 * timer], 100);  // 1 s
  }
}

TEST_F(BundledDefinition, ConstantsPageListsPinDirectionsAndTimerPresets) {
  int address = 0, kind = 0;
  ASSERT_TRUE(find_cst("TRISB", address, kind));
  EXPECT_EQ(address, 1);
  EXPECT_EQ(kind, cst_eb);
  ASSERT_TRUE(find_cst("TP7", address, kind));
  EXPECT_EQ(address, 0x10);
  EXPECT_EQ(kind, cst_ew);
  copy_constant_names();
  const char *names[] = {"TRISA", "TRISB", "TP0", "TP1", "TP2", "TP3", "TP4", "TP5", "TP6", "TP7", "Not_Init"};
  for (int row = 0; row < 11; row++) EXPECT_STREQ(constants[row].name, names[row]) << row;
}

class ExampleFolder : public ProjectTest {};

TEST_F(ExampleFolder, ConfigNamesTheBundledDefinitionAndTheExamplesOwnFiles) {
  for (const char *name : {"blinker", "traffic_light", "choice"}) {
    std::filesystem::path example = std::filesystem::path(SOURCE_DIR) / "examples" / name;
    std::filesystem::copy_file(example / "config.txt", "config.txt",
                               std::filesystem::copy_options::overwrite_existing);
    read_config_file();
    EXPECT_STREQ(app_config(config_automate), "../../targets/pic16f628a.def");
    EXPECT_EQ(std::string(app_config(config_graphic)), std::string(name) + ".gra");
    EXPECT_EQ(std::string(app_config(config_literal)), std::string(name) + ".lit");
    EXPECT_EQ(std::string(app_config(config_hex)), std::string(name) + ".hex");
    for (int row : {config_automate, config_graphic, config_literal, config_hex})
      EXPECT_TRUE(std::filesystem::exists(example / app_config(row))) << app_config(row);
  }
}
