// programmers.txt: the bundled presets, a project's additions and the errors by line.
#include <cstring>

#include "flash/programmers.h"
#include "support/test_support.h"

namespace {

bool read_text(const std::string &text, char (&error)[programmer_error_size]) {
  error[0] = '\0';
  return read_programmers_text(text.data(), long(text.size()), "programmers.txt", error, sizeof error);
}

TEST(Programmers, TheBundledPresetsNameEveryToolAndTheChipsEachKnows) {
  char error[programmer_error_size];
  clear_programmers();
  ASSERT_TRUE(read_text(read_file(std::string(std::getenv("TALVEN_SOURCE_DIR")) + "/targets/programmers.txt"), error))
      << error;
  const struct {
    const char *name, *program, *pic16f887;
  } expected[] = {
      {"pk2cmd", "pk2cmd -P{chip} -F{hex} -M -R", "PIC16F887"},
      {"ipecmd", "ipecmd -TPPK3 -P{chip} -F{hex} -M -OL", "16F887"},
      {"picpro", "picpro program -p /dev/ttyUSB0 -i {hex} -t {chip}", "16F887"},
      {"pickle", "p14 program {hex}", "16F887"},
      {"ardpicprog", "ardpicprog --port /dev/ttyACM0 --chip {chip} --input {hex} --burn", ""},
  };
  ASSERT_EQ(programmer_count, int(std::size(expected)));
  for (int k = 0; k < programmer_count; k++) {
    EXPECT_STREQ(programmers[k].name, expected[k].name);
    EXPECT_STREQ(programmers[k].program, expected[k].program);
    EXPECT_STREQ(programmers[k].chips[3], expected[k].pic16f887) << expected[k].name;  // chip_table's fourth row
    EXPECT_TRUE(programmers[k].install[0]) << expected[k].name;
  }
  EXPECT_STREQ(chip_table[3].name, "pic16f887") << "the rows moved: the test's index must follow";
}

TEST(Programmers, ALaterSectionReplacesItsNamesakeAndChooseIsKept) {
  char error[programmer_error_size];
  clear_programmers();
  ASSERT_TRUE(read_text("[a]\nprogram one {hex}\nlimit 9\n[b]\nprogram two\n", error)) << error;
  ASSERT_TRUE(read_text("choose b\r\n  # the project's own\r\n[a]\r\nprogram three {hex}  \r\n", error)) << error;
  ASSERT_EQ(programmer_count, 2);
  EXPECT_STREQ(programmers[0].program, "three {hex}");
  EXPECT_EQ(programmers[0].limit_seconds, default_limit_seconds);
  EXPECT_STREQ(chosen_programmer, "b");
}

TEST(Programmers, ErrorsNameTheirLine) {
  const std::string many(17 * 20, ' ');
  std::string seventeen;
  for (int k = 0; k < 17; k++) seventeen += "[p" + std::to_string(k) + "]\nprogram x\n";
  const struct {
    std::string text, error;
  } cases[] = {
      {"program x\n", "programmers.txt line 1: program before the first [name] section"},
      {"[a]\nprogram x\nspeed 9\n", "programmers.txt line 3: unknown key speed (about, program, verify, success, "
                                    "verify-success, install, limit, chip, choose)"},
      {"[a]\nabout\n", "programmers.txt line 2: about has no value"},
      {"[a]\nabout x\n[b]\nprogram y\n", "programmers.txt line 1: [a] has no program line"},
      {"[a b]\n", "programmers.txt line 1: a section is one name in brackets: [a b]"},
      {"[]\n", "programmers.txt line 1: a section is one name in brackets: []"},
      {"[a\n", "programmers.txt line 1: a section is one name in brackets: [a"},
      {"[a]\nprogram x\nlimit 0\n", "programmers.txt line 3: limit '0' is not a number of seconds from 1 to 3600"},
      {"[a]\nprogram x\nchip pic18f452 18F452\n",
       "programmers.txt line 3: no TALVEN target pic18f452 (pic16f628a, pic16f84a, pic16f877a, pic16f88, pic16f887)"},
      {"[a]\nprogram x\nchip pic16f88\n", "programmers.txt line 3: chip needs TALVEN's name and the tool's: pic16f88"},
      {"[a]\nprogram x\nchip pic16f88 16F 88\n", "programmers.txt line 3: the tool's chip name is one word: 16F 88"},
      {"[a]\nprogram x\n\nchoose a\n", "programmers.txt line 4: choose goes before the first section: a"},
      {"[a]\nabout " + std::string(200, 'x') + "\n", "programmers.txt line 2: value longer than 199 characters"},
      {"[a]\nprogram " + std::string(300, 'x') + "\n", "programmers.txt line 2: line longer than 287 characters"},
      {std::string("[a]\nprogram x\0y\n", 16), "programmers.txt line 2: a NUL byte in the line"},
      {seventeen, "programmers.txt line 33: more than 16 programmers"},
  };
  for (const auto &c : cases) {
    char error[programmer_error_size];
    clear_programmers();
    EXPECT_FALSE(read_text(c.text, error)) << c.text;
    EXPECT_EQ(std::string(error), c.error) << c.text;
  }
}

}  // namespace
