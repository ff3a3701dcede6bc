#include "files/text_io.h"
#include "compiler/compiler_fixture.h"

namespace {

const definition_record &d = automaton_definition;

// A target whose sizes and program area a test chooses (hexadecimal, as the file
// writes them), with x0..x63 at addresses 0..63 and a few inputs and outputs.
std::string definition_text(const char *flash, const char *eeprom, const char *start, const char *stop,
                            const std::string &hex_records = ":00000001FF\n") {
  return std::string("@INFOS\nuc_type pic_1\nuc_taille_flash ") + flash + "\nuc_taille_eeprom " + eeprom +
         "\nadr_start_graphcet " + start + "\nadr_stop_graphcet " + stop + "\ntaille_zb 64\n@HEX\n" +
         hex_records +
         zb_section("in 100 i0\nin 101 i1\nout 102 LED\n") +
         "@CST\neb 0 a\neb 1 b\new 10 level\nfb 1F0 limit\nfw 1F2 delay\nxx 30 spare\n"
         "ew FF ew_edge\neb 100 eb_out\nfw 1FFF fw_edge\nfb 1FFF fb_last\nfb 2000 fb_out\n@END\n";
}

class Compiler : public target_test {
 protected:
  void load(const std::string &text) {
    ASSERT_EQ(load_definition(text), 0);
    set_hex_name("out.hex");
    boxes().clear();
  }
  std::string hex() const { return read_file(path("out.hex")); }
  std::string summary(int used, int percent, int remaining) const {
    char text[300];
    std::snprintf(text, sizeof text,
                  "Aucune erreur\n\nFichier a programmer : %s\nLignes utilisees: %d   (%d/100)\nLignes restantes: %d",
                  path("out.hex").c_str(), used, percent, remaining);
    return text;
  }
  void expect_errors(const std::string &report) {
    EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Processing", "Converting Literal --> Hex ?"},
                                                         {"Error", report}}));
    EXPECT_FALSE(file_exists(path("out.hex")));
  }
};

TEST_F(Compiler, StepAndEepromBytesGiveTheRecordsWrittenOut) {
  load(definition_text("108", "8", "100", "108"));
  set_literal_rows({"*  x5", "#a 18", "#b 52"});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  auto lines = crlf_lines(hex());
  ASSERT_EQ(lines.size(), 36u);
  EXPECT_EQ(lines[0], ":10000000ff3fff3fff3fff3fff3fff3fff3fff3f00");
  EXPECT_EQ(lines[32], ":10020000093405340c340034ff3fff3fff3fff3f0c");
  EXPECT_EQ(lines[33], ":1042000012003400ff00ff00ff00ff00ff00ff006e");
  EXPECT_EQ(lines[34], ":10400000ff3fff3fff3fff3fff3fff3fff3fff3fc0");
  EXPECT_EQ(lines[35], ":00000001FF");
  expected_image image{0x108, 8, {{0x100, 0x3409}, {0x101, 0x3405}, {0x102, 0x340C}, {0x103, 0x3400}},
                       {{0, 0x12}, {1, 0x34}}, {}};
  EXPECT_EQ(hex(), expected_hex(image)) << first_difference(expected_hex(image), hex());
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Processing", "Converting Literal --> Hex ?"},
                                                       {"OK", summary(2, 50, 2)}}));
}

TEST_F(Compiler, EveryRecordCarriesAGoodChecksum) {
  load(definition_text("2000", "100", "1000", "1100",
                       ":020000000528D1\n:104000000100020003000400050006000700ff3f00\n"));
  set_literal_rows({"*  x0", "l i0 an i1 > x1", "-  x1", "l i1 > x0", "l x1 = LED", "#level -2", "#delay 999"});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  auto lines = crlf_lines(hex());
  ASSERT_EQ(lines.size(), 1024u + 32u + 2u);
  for (const std::string &record : lines) EXPECT_TRUE(record_checks(record)) << record;
  EXPECT_EQ(lines[0].substr(0, 13), ":100000000528");
  EXPECT_EQ(lines[1024 + 32], ":104000000100020003000400050006000700ff3f56");
}

TEST_F(Compiler, EmptyProgramIsTheEndOfProgramAlone) {
  load(definition_text("108", "0", "100", "108"));
  set_literal_rows({"@ nothing but comments", "", "   "});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  EXPECT_EQ(d.flash_image[0x100], 0x340C);
  EXPECT_EQ(d.flash_image[0x101], 0x3400);
  EXPECT_EQ(boxes().back(), (recorded_box{"OK", summary(1, 25, 3)}));
}

TEST_F(Compiler, StartUpBufferGivesTenErrorsForLinesZeroToThree) {
  load(definition_text("108", "0", "100", "1FF"));
  init_literal_buffer();
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  expect_errors(
      "\nErrors:\n"
      "\nligne   0: ORDER UNKNOWN: --\nligne   0: ZB  UNKNOWN: 0"
      "\nligne   1: ORDER UNKNOWN: --\nligne   1: ZB  UNKNOWN: --"
      "\nligne   1: ORDER UNKNOWN: 1\nligne   1: ZB  UNKNOWN: --"
      "\nligne   2: ORDER UNKNOWN: --\nligne   2: ZB  UNKNOWN: 2"
      "\nligne   3: ORDER UNKNOWN: --\nligne   3: ZB  UNKNOWN: --");
}

TEST_F(Compiler, UnknownOrderAndOperandAreTwoErrorsAndStillTakeTwoWords) {
  load(definition_text("108", "0", "100", "108", ":040200002222333300\n"));
  set_literal_rows({"zz yy", "= LED"});
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  expect_errors("\nErrors:\n\nligne   0: ORDER UNKNOWN: zz\nligne   0: ZB  UNKNOWN: yy");
  EXPECT_EQ(d.flash_image[0x100], 0x2222);  // left as it was
  EXPECT_EQ(d.flash_image[0x101], 0x3333);
  EXPECT_EQ(d.flash_image[0x102], 0x3408);
  EXPECT_EQ(d.flash_image[0x103], 0x3400 + 102);
  EXPECT_EQ(d.flash_image[0x104], 0x340C);  // the end of program is written despite the errors
  EXPECT_EQ(d.flash_image[0x105], 0x3400);
}

TEST_F(Compiler, EleventhErrorEndsTheCompilation) {
  load(definition_text("108", "0", "100", "1FF"));
  std::vector<std::string> rows;
  for (int n = 0; n < 12; n++) rows.push_back("l q" + std::to_string(n));
  set_literal_rows(rows);
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  std::string report = "\nErrors:\n";
  for (int n = 0; n < 10; n++) report += "\nligne   " + std::to_string(n) + ": ZB  UNKNOWN: q" + std::to_string(n);
  expect_errors(report);
  EXPECT_EQ(d.flash_image[0x114], 0x3400);  // order of the eleventh pair
  EXPECT_EQ(d.flash_image[0x115], 0x340C);  // its operand was not placed: the end follows
}

TEST_F(Compiler, LoneHashIsAConstantWithNoNameAndShiftsWhatFollows) {
  load(definition_text("108", "0", "100", "108"));
  set_literal_rows({"# a 25", "l x1"});
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  expect_errors("\nErrors:\n\nligne   0: CST UNKNOWN: \nligne   1: ORDER UNKNOWN: 25\nligne   1: ZB  UNKNOWN: l");
}

TEST_F(Compiler, ConstantsAreStoredByKindAndValuesReadAsDecimals) {
  load(definition_text("200", "20", "100", "108"));
  set_literal_rows({"#level 4660 #delay 4660", "#limit -1 #a 0x10", "#b 300", "#spare 7", "#fb_last 12ab"});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  EXPECT_EQ(d.eeprom_image[0x10], 0x12);
  EXPECT_EQ(d.eeprom_image[0x11], 0x34);
  EXPECT_EQ(d.flash_image[0x1F2], 0x12);  // raw values, without the program word base
  EXPECT_EQ(d.flash_image[0x1F3], 0x34);
  EXPECT_EQ(d.flash_image[0x1F0], 0x3FFF);
  EXPECT_EQ(d.eeprom_image[0], 0);
  EXPECT_EQ(d.eeprom_image[1], 300 & 0xFF);
  EXPECT_EQ(d.eeprom_image[0x30], -1);  // a constant of no kind is found and stored nowhere
  EXPECT_EQ(d.flash_image[0x1FFF], 12);
  expected_image image{0x200, 0x20,
                       {{0x100, 0x340C}, {0x101, 0x3400}, {0x1F0, 0x3FFF}, {0x1F2, 0x12}, {0x1F3, 0x34}},
                       {{0, 0}, {1, 44}, {0x10, 0x12}, {0x11, 0x34}}, {}};
  EXPECT_EQ(hex(), expected_hex(image)) << first_difference(expected_hex(image), hex());
}

TEST_F(Compiler, ConstantsOutsideTheirImagesAreErrors) {
  load(definition_text("200", "20", "100", "108"));
  set_literal_rows({"#ew_edge 1 #eb_out 2", "#fw_edge 3 #fb_out 4", "#fb_last 5"});
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  expect_errors(
      "\nErrors:\n\nligne   0: CST OUT OF IMAGE: ew_edge\nligne   0: CST OUT OF IMAGE: eb_out"
      "\nligne   1: CST OUT OF IMAGE: fw_edge\nligne   1: CST OUT OF IMAGE: fb_out");
  EXPECT_EQ(d.eeprom_image[0xFF], -1);
  EXPECT_EQ(d.flash_image[0x1FFF], 5);
}

TEST_F(Compiler, DownwardAreaPutsTheOrderAboveItsOperand) {
  load(definition_text("108", "0", "107", "FF"));
  set_literal_rows({"*  x5"});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  expected_image image{0x108, 0, {{0x107, 0x3409}, {0x106, 0x3405}, {0x105, 0x340C}, {0x104, 0x3400}}, {}, {}};
  EXPECT_EQ(hex(), expected_hex(image)) << first_difference(expected_hex(image), hex());
  EXPECT_EQ(boxes().back(), (recorded_box{"OK", summary(2, 50, 2)}));
}

TEST_F(Compiler, ProgramThatFillsItsAreaExactlyIsAccepted) {
  load(definition_text("108", "0", "100", "104"));
  set_literal_rows({"*  x5"});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  EXPECT_EQ(boxes().back(), (recorded_box{"OK", summary(2, 100, 0)}));
}

TEST_F(Compiler, ProgramLongerThanItsAreaIsRefusedOnceAndSparesTheFirmware) {
  load(definition_text("108", "0", "100", "104", ":0402080011112222dd\n"));
  set_literal_rows({"*  x5", "l x1", "= x2", "l x3"});
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  expect_errors("\nErrors:\n\nligne   2: OUT OF PROGRAM AREA: 0104");
  EXPECT_EQ(d.flash_image[0x104], 0x1111);
  EXPECT_EQ(d.flash_image[0x105], 0x2222);
}

TEST_F(Compiler, EndOfProgramMustFitADownwardAreaToo) {
  load(definition_text("108", "0", "101", "FF", ":0201fe00aaaa00\n"));
  set_literal_rows({"*  x5"});
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  expect_errors("\nErrors:\n\nligne   0: OUT OF PROGRAM AREA: 00ff");
  EXPECT_EQ(d.flash_image[0xFF], 0xAAAA);
}

TEST_F(Compiler, AreaReachingPastProgramMemoryIsRefused) {
  load(definition_text("2000", "0", "1FFE", "2010"));
  set_literal_rows({"*  x5"});
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  expect_errors("\nErrors:\n\nligne   0: OUT OF PROGRAM AREA: 2000");
  EXPECT_EQ(d.flash_image[0x1FFE], 0x3409);
}

TEST_F(Compiler, EmptyAreaCannotHoldTheEndOfProgram) {
  load(definition_text("108", "0", "100", "100"));
  set_literal_rows({});
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  expect_errors("\nErrors:\n\nligne   0: OUT OF PROGRAM AREA: 0100");
}

TEST_F(Compiler, AreaAtTheIntegerLimitIsRefusedWithoutOverflow) {
  load(definition_text("8", "0", "80000000", "80000000"));
  set_literal_rows({"*  x5", "l x1"});
  EXPECT_EQ(compile_literal_to_hex(), compile_errors);
  expect_errors("\nErrors:\n\nligne   0: OUT OF PROGRAM AREA: 80000000");
}

TEST_F(Compiler, FlashSizeNotAMultipleOfEightStillWritesWholeRecords) {
  load(definition_text("C", "0", "0", "8"));
  set_literal_rows({});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  auto lines = crlf_lines(hex());
  ASSERT_EQ(lines.size(), 4u);  // words 0..15 in two records, then configuration and end
  EXPECT_EQ(lines[0], ":100000000c340034ff3fff3fff3fff3fff3fff3f08");
  EXPECT_EQ(lines[1].substr(0, 9), ":10001000");
  EXPECT_EQ(lines[2].substr(0, 9), ":10400000");
}

TEST_F(Compiler, HexWithoutProgramOrEepromStartsWithTheConfigurationRecord) {
  load(definition_text("0", "0", "100", "108"));
  set_literal_rows({});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  EXPECT_EQ(hex(), ":10400000ff3fff3fff3fff3fff3fff3fff3fff3fc0\r\n:00000001FF");
}

TEST_F(Compiler, HexWithoutProgramStartsWithTheEepromRecord) {
  load(definition_text("0", "8", "100", "108"));
  set_literal_rows({});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  EXPECT_EQ(hex(), ":10420000ff00ff00ff00ff00ff00ff00ff00ff00b6\r\n"
                   ":10400000ff3fff3fff3fff3fff3fff3fff3fff3fc0\r\n:00000001FF");
}

TEST_F(Compiler, LaterCompilationKeepsWordsBeyondItsNewEnd) {
  load(definition_text("108", "0", "100", "108"));
  set_literal_rows({"l x1 = x2"});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  set_literal_rows({});
  ASSERT_EQ(compile_literal_to_hex(), compile_ok);
  EXPECT_EQ(d.flash_image[0x100], 0x340C);
  EXPECT_EQ(d.flash_image[0x102], 0x3408);  // "=" of the earlier program
  EXPECT_EQ(d.flash_image[0x104], 0x340C);
}

TEST_F(Compiler, HexThatCannotBeCreatedIsReportedAndTheOldOneKept) {
  load(definition_text("108", "0", "100", "108"));
  write_file(path("out.hex"), "old hex");
  set_literal_rows({"*  x5"});
  write_failure_after_bytes = 100;
  EXPECT_EQ(compile_literal_to_hex(), compile_file_failed);
  write_failure_after_bytes = -1;
  EXPECT_EQ(read_file(path("out.hex")), "old hex");
  copy_field(config_entries[config_hex].value, text_size, path("none/out.hex").c_str());
  EXPECT_EQ(compile_literal_to_hex(), compile_file_failed);
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Processing", "Converting Literal --> Hex ?"},
                                                       {"Files", "Impossible de creer le fichier hex"},
                                                       {"Processing", "Converting Literal --> Hex ?"},
                                                       {"Files", "Impossible de creer le fichier hex"}}));
}

}  // namespace
