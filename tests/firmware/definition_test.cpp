// Every bundled definition and the examples' configuration, read by TALVEN's own loaders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "files/files.h"
#include "model/chips.h"
#include "support/test_support.h"
#include "compiler/compiler.h"
#include "platform/message_box.h"
#include "startup/startup.h"

class BundledDefinition : public ProjectTest, public testing::WithParamInterface<chip_entry> {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    init_automaton_definition();
    std::filesystem::copy_file(std::string(SOURCE_DIR "/targets/") + GetParam().name + ".def", "bundled.def");
    set_config(config_automate, "bundled.def");
    ASSERT_EQ(load_automaton_definition(), 0);
  }
  static int zb(const std::string &name) {
    int address = -1;
    EXPECT_TRUE(find_zb(name.c_str(), address)) << name;
    return address;
  }
  static bool named(const std::string &name) {
    int address = -1;
    return find_zb(name.c_str(), address);
  }
};
// gtest prints a chip by its name, not its bytes.
void PrintTo(const chip_entry &chip, std::ostream *out) { *out << chip.name; }

// Each row of the chip table against its bundled definition.
INSTANTIATE_TEST_SUITE_P(Chips, BundledDefinition, testing::ValuesIn(chip_table),
                         [](const testing::TestParamInfo<chip_entry> &info) { return info.param.name; });

TEST_P(BundledDefinition, DeclaresTheChipSizesTheProgramAreaAndTheCosts) {
  EXPECT_EQ(automaton_definition.uc_type, 0);
  EXPECT_EQ(automaton_definition.uc_taille_flash, GetParam().flash_words);
  EXPECT_EQ(automaton_definition.uc_taille_eeprom, GetParam().eeprom_bytes);
  EXPECT_EQ(automaton_definition.adr_start_graphcet, GetParam().program_start);
  EXPECT_EQ(automaton_definition.adr_stop_graphcet, GetParam().program_stop);
  EXPECT_EQ(automaton_definition.taille_zb, 256);
  EXPECT_EQ(automaton_definition.frequence_horloge, GetParam().clock);
  EXPECT_EQ(automaton_definition.cycles_lecture_ordre, GetParam().fetch_cycles);
  EXPECT_GT(automaton_definition.cycles_avant_controle, 0);
  EXPECT_EQ(automaton_definition.periode_interruption, GetParam().interrupt_period);
  EXPECT_EQ(automaton_definition.interruptions_par_tick * automaton_definition.periode_interruption, 10000);
}

TEST_P(BundledDefinition, NamesEveryBitVariableAtItsPlaceInTheBitMap) {
  EXPECT_EQ(zb("x0"), 0);
  EXPECT_EQ(zb("x63"), 63);
  EXPECT_EQ(zb("RA0"), 64);
  EXPECT_EQ(zb("RA" + std::to_string(GetParam().porta_pins - 1)), 63 + GetParam().porta_pins);
  EXPECT_FALSE(named("RA" + std::to_string(GetParam().porta_pins)));
  EXPECT_EQ(zb("RB0"), 72);
  EXPECT_EQ(zb("RB7"), 79);
  EXPECT_EQ(zb("M0"), 80);
  EXPECT_EQ(zb("M63"), 143);
  int last = GetParam().timers - 1;
  EXPECT_EQ(zb("TE0"), 144);
  EXPECT_EQ(zb("TE" + std::to_string(last)), 144 + last);
  EXPECT_FALSE(named("TE" + std::to_string(last + 1)));
  EXPECT_EQ(zb("T0"), 152);
  EXPECT_EQ(zb("T" + std::to_string(last)), 152 + last);
  EXPECT_EQ(zb("UNSTABLE"), 160);
  bool forty = GetParam().porte_pins > 0;
  EXPECT_EQ(named("RC0"), forty);
  if (forty) {
    EXPECT_EQ(zb("RC7"), 175);
    EXPECT_EQ(zb("RD0"), 176);
    EXPECT_EQ(zb("RD7"), 183);
    EXPECT_EQ(zb("RE0"), 184);
    EXPECT_EQ(zb("RE2"), 186);
    EXPECT_FALSE(named("RE3"));
  }
  EXPECT_FALSE(named("x64"));
  EXPECT_FALSE(named("rb0"));
}

// The spare bits the compiler keeps the input edges in: the row's, and no name among them.
TEST_P(BundledDefinition, DeclaresTheSpareBitsThatNoNameUses) {
  EXPECT_EQ(automaton_definition.zb_libre_debut, GetParam().spare_first);
  EXPECT_EQ(automaton_definition.zb_libre_fin, GetParam().spare_last);
  EXPECT_EQ(spare_bit_count(), GetParam().spare_last - GetParam().spare_first + 1);
  for (const zb_entry &entry : automaton_definition.zb_table) {
    if (entry.zb_address == -1) continue;
    EXPECT_TRUE(entry.zb_address < GetParam().spare_first || entry.zb_address > GetParam().spare_last)
        << entry.zb_name;
  }
}

TEST_P(BundledDefinition, CarriesTheInterpreterItsDefaultsAndAnEmptyProgram) {
  EXPECT_EQ(automaton_definition.flash_image[0] & 0x3800, 0x2800);  // a goto to the start-up code
  int start = GetParam().program_start;
  EXPECT_EQ(automaton_definition.flash_image[start - 1], -1);  // the interpreter ends below the area
  EXPECT_EQ(automaton_definition.flash_image[start], 0x340C);
  EXPECT_EQ(automaton_definition.flash_image[start + 1], 0x3400);
  // Words past the area, if any, are jumps that stop the chip.
  for (int word = GetParam().program_stop; word < GetParam().flash_words; word++)
    EXPECT_EQ(automaton_definition.flash_image[word] & 0x3800, 0x2800) << word;
  EXPECT_EQ(automaton_definition.config_words[7], GetParam().config_word);
  EXPECT_EQ(automaton_definition.eeprom_image[0], 0xFF);  // PORTA inputs
  EXPECT_EQ(automaton_definition.eeprom_image[1], 0x00);  // PORTB outputs
  for (int timer = 0; timer < GetParam().timers; timer++) {
    EXPECT_EQ(automaton_definition.eeprom_image[2 + 2 * timer], 0);
    EXPECT_EQ(automaton_definition.eeprom_image[3 + 2 * timer], 100);  // 1 s
  }
  if (GetParam().porte_pins > 0) {
    EXPECT_EQ(automaton_definition.eeprom_image[0x12], 0xFF);  // PORTC, PORTD, PORTE inputs
    EXPECT_EQ(automaton_definition.eeprom_image[0x13], 0xFF);
    EXPECT_EQ(automaton_definition.eeprom_image[0x14], 0x07);
  }
}

TEST_P(BundledDefinition, ConstantsPageListsPinDirectionsAndTimerPresets) {
  int address = 0, kind = 0;
  ASSERT_TRUE(find_cst("TRISB", address, kind));
  EXPECT_EQ(address, 1);
  EXPECT_EQ(kind, cst_eb);
  int last = GetParam().timers - 1;
  ASSERT_TRUE(find_cst(("TP" + std::to_string(last)).c_str(), address, kind));
  EXPECT_EQ(address, 2 + 2 * last);
  EXPECT_EQ(kind, cst_ew);
  EXPECT_FALSE(find_cst(("TP" + std::to_string(last + 1)).c_str(), address, kind));
  copy_constant_names();
  std::vector<std::string> names = {"TRISA", "TRISB"};
  for (int timer = 0; timer <= last; timer++) names.push_back("TP" + std::to_string(timer));
  if (GetParam().porte_pins > 0) names.insert(names.end(), {"TRISC", "TRISD", "TRISE"});
  names.push_back("Not_Init");
  for (size_t row = 0; row < names.size(); row++) EXPECT_EQ(constants[row].name, names[row]) << row;
}

class ExampleFolder : public ProjectTest {};

TEST_F(ExampleFolder, ConfigNamesTheBundledDefinitionAndTheExamplesOwnFiles) {
  struct example {
    const char *name, *definition;
  } examples[] = {{"blinker", "../../targets/pic16f628a.def"},
                  {"traffic_light", "../../targets/pic16f628a.def"},
                  {"choice", "../../targets/pic16f628a.def"},
                  {"two_hand_press", "../../targets/pic16f628a.def"},
                  {"traffic_light_40", "../../targets/pic16f877a.def"}};
  for (auto [name, definition] : examples) {
    std::filesystem::path example = std::filesystem::path(SOURCE_DIR) / "examples" / name;
    std::filesystem::copy_file(example / "config.txt", "config.txt",
                               std::filesystem::copy_options::overwrite_existing);
    read_config_file();
    EXPECT_STREQ(app_config(config_automate), definition);
    EXPECT_EQ(std::string(app_config(config_graphic)), std::string(name) + ".gra");
    EXPECT_EQ(std::string(app_config(config_literal)), std::string(name) + ".lit");
    EXPECT_EQ(std::string(app_config(config_hex)), std::string(name) + ".hex");
    for (int row : {config_automate, config_graphic, config_literal, config_hex})
      EXPECT_TRUE(std::filesystem::exists(example / app_config(row))) << app_config(row);
  }
}

// Choosing a bundled target by its name: Automate, talvenc --target and --list-targets.
class BundledTarget : public ProjectTest {};

TEST_F(BundledTarget, AutomateNamesABundledTargetWhenNoFileHasThatName) {
  message_box_handler previous = set_message_box_handler([](box_kind, const char *, const char *) {});
  set_config(config_automate, "pic16f887");
  EXPECT_TRUE(load_definition_and_names());
  EXPECT_EQ(automaton_definition.adr_stop_graphcet, 0x2000);
  // A file of that name in the project wins over the bundled target.
  std::filesystem::copy_file(SOURCE_DIR "/targets/pic16f628a.def", "pic16f887");
  EXPECT_TRUE(load_definition_and_names());
  EXPECT_EQ(automaton_definition.adr_stop_graphcet, 0x800);
  set_config(config_automate, "pic16f99");
  EXPECT_FALSE(load_definition_and_names());
  set_message_box_handler(previous);
}

TEST(TalvencTargets, ListTargetsGivesOneLinePerBundledDefinition) {
  std::string listing = testing::TempDir() + "targets.txt";
  ASSERT_EQ(std::system((std::string(TALVENC_PATH) + " --list-targets >" + listing).c_str()), 0);
  std::string text = read_file(listing);
  int definitions = 0;
  for (const auto &file : std::filesystem::directory_iterator(SOURCE_DIR "/targets")) {
    if (file.path().extension() != ".def") continue;  // the programmers' presets live beside them
    definitions++;
    EXPECT_NE(text.find(file.path().stem().string() + " "), std::string::npos) << text;
  }
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), definitions) << text;
  EXPECT_NE(text.find("pic16f84a     255 orders,  64 EEPROM bytes, 13 pins RA0-RA4 RB0-RB7, 4 MHz\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("pic16f877a   3584 orders, 256 EEPROM bytes, 33 pins RA0-RA5 RB0-RB7 RC0-RC7 RD0-RD7 RE0-RE2"),
            std::string::npos)
      << text;
}

TEST(TalvencTargets, TargetCompilesForTheNamedChip) {
  std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / "talvenc_target";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  write_file((folder / "program.lit").string(), "l RA0 = RD0\n");
  std::string command = "cd '" + folder.string() + "' && " + TALVENC_PATH + " --target pic16f877a" +
                        " --literal program.lit --hex program.hex >talvenc.txt 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << read_file((folder / "talvenc.txt").string());
  std::string hex = read_file((folder / "program.hex").string());
  EXPECT_NE(hex.find(":10400000ff3fff3fff3fff3fff3fff3fff3f353f"), std::string::npos) << "the PIC16F877A's configuration word";
  // RD0 is no name on the PIC16F628A, and a target that is not bundled is refused.
  command = "cd '" + folder.string() + "' && " + TALVENC_PATH + " --target pic16f628a" +
            " --literal program.lit --hex program.hex >talvenc.txt 2>&1";
  EXPECT_NE(std::system(command.c_str()), 0);
  command = "cd '" + folder.string() + "' && " + TALVENC_PATH + " --target pic16f99 --literal program.lit >talvenc.txt 2>&1";
  EXPECT_NE(std::system(command.c_str()), 0);
  EXPECT_NE(read_file((folder / "talvenc.txt").string()).find("no bundled target pic16f99"), std::string::npos);
}

// A bundled definition whose program area is moved is refused, naming the chips whose
// interpreter reads its program where the definition's does.
class ProgramArea : public ProjectTest {};

TEST_F(ProgramArea, MovedIsRefusedNamingTheChipsThatReadItThere) {
  const struct {
    const char *chip;
    int moved_to;
    const char *refusal;
  } cases[] = {
      {"pic16f628a", 0x500, "adr_start_graphcet 500 is not where the PIC16F628A interpreter of this definition reads its program (400)"},
      {"pic16f88", 0x500, "adr_start_graphcet 500 is not where the PIC16F88 interpreter of this definition reads its program (400)"},
      {"pic16f877a", 0x402, "adr_start_graphcet 402 is not where the PIC16F877A/PIC16F887 interpreter of this definition reads its program (400)"},
      {"pic16f887", 0x1000, "adr_start_graphcet 1000 is not where the PIC16F877A/PIC16F887 interpreter of this definition reads its program (400)"},
      {"pic16f84a", 0x300, "adr_start_graphcet 300 is not where the PIC16F84A interpreter of this definition reads its program (200)"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.chip);
    init_automaton_definition();
    std::filesystem::copy_file(std::string(SOURCE_DIR "/targets/") + c.chip + ".def", "bundled.def",
                               std::filesystem::copy_options::overwrite_existing);
    set_config(config_automate, "bundled.def");
    ASSERT_EQ(load_automaton_definition(), 0);
    char error[256] = "";
    EXPECT_TRUE(program_area_fits(error, sizeof error));
    automaton_definition.adr_start_graphcet = c.moved_to;
    EXPECT_FALSE(program_area_fits(error, sizeof error));
    EXPECT_STREQ(error, c.refusal);
  }
}

// docs/chips.md's table of targets, row by row, against the chip table: a wrong pin, area,
// order count, EEPROM size or clock in the doc fails here.
static std::string doc_pins(const chip_entry &chip) {
  char pins[128];
  std::snprintf(pins, sizeof pins, "%d: RA0..RA%d, RB0..RB7", chip.package_pins, chip.porta_pins - 1);
  std::string text = pins;
  if (chip.porte_pins) text += ", RC0..RC7, RD0..RD7, RE0..RE" + std::to_string(chip.porte_pins - 1);
  return text;
}

// "40: the same pins as the PIC16F877A" stands for the pins of a chip in a row above.
static std::string doc_pins_as_written(const chip_entry &chip, const std::string &written) {
  std::string count = written.substr(0, written.find(':'));
  for (const chip_entry &above : chip_table) {
    if (&above == &chip) break;
    char title[16];
    chip_title(above, title);
    if (written == count + ": the same pins as the " + title) return count + doc_pins(above).substr(doc_pins(above).find(':'));
  }
  return written;
}

static std::string doc_area(const chip_entry &chip) {
  char area[64];
  std::snprintf(area, sizeof area, "0x%X..0x%X: %d orders", unsigned(chip.program_start), unsigned(chip.program_stop - 1),
                (chip.program_stop - chip.program_start) / 2);
  return area;
}

static std::string doc_clock(const chip_entry &chip) {
  std::string mhz = std::to_string(chip.clock / 1000000) + " MHz";
  return chip.oscillator == oscillator_internal ? "internal " + mhz : mhz + " crystal (XT)";
}

// The cells of the doc's rows that start with a target's name: "| `pic16f628a` | 18: ... |".
static std::vector<std::vector<std::string>> doc_target_rows() {
  std::istringstream lines(read_file(SOURCE_DIR "/docs/chips.md"));
  std::vector<std::vector<std::string>> rows;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("| `", 0) != 0 || line.find("orders |") == std::string::npos) continue;
    std::vector<std::string> cells;
    for (size_t at = 2, bar; (bar = line.find(" | ", at)) != std::string::npos; at = bar + 3)
      cells.push_back(line.substr(at, bar - at));
    rows.push_back(cells);
  }
  return rows;
}

TEST(ChipsDoc, TableOfTargetsAgreesWithTheChipTable) {
  std::vector<std::vector<std::string>> rows = doc_target_rows();
  ASSERT_EQ(int(rows.size()), chip_count) << "a row for every chip";
  for (int i = 0; i < chip_count; i++) {
    const chip_entry &chip = chip_table[i];
    const std::vector<std::string> &cells = rows[size_t(i)];
    ASSERT_GE(cells.size(), 5u) << chip.name;
    EXPECT_EQ(cells[0], std::string("`") + chip.name + "`");
    EXPECT_EQ(doc_pins_as_written(chip, cells[1]), doc_pins(chip)) << chip.name;
    EXPECT_EQ(cells[2], doc_area(chip)) << chip.name;
    EXPECT_EQ(cells[3], std::to_string(chip.eeprom_bytes) + " bytes") << chip.name;
    EXPECT_EQ(cells[4], doc_clock(chip)) << chip.name;
  }
}
