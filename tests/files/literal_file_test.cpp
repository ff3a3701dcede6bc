#include "files/files.h"
#include "files/text_io.h"
#include "support/test_support.h"

namespace {

class LiteralFile : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    set_config(config_literal, "program.lit");
  }
};

TEST_F(LiteralFile, FreshBufferIsSavedAs250NumberedLinesEachEndedByCrLf) {
  ASSERT_TRUE(save_literal_file());
  std::string expected;
  for (int k = 0; k < 250; k++) expected += "-- " + std::to_string(k) + " --\r\n";
  EXPECT_EQ(read_file(folder / "program.lit"), expected);
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Files", "Saving Literal File ?"}}));
}

TEST_F(LiteralFile, SavedBufferLoadsBack) {
  copy_field(literal_buffer[0], text_size, "*  x0");
  literal_buffer[1][0] = 0;
  copy_field(literal_buffer[249], text_size, "l x1 = LED");
  ASSERT_TRUE(save_literal_file());
  init_literal_buffer();
  ASSERT_TRUE(load_literal_file());
  EXPECT_STREQ(literal_buffer[0], "*  x0");
  EXPECT_STREQ(literal_buffer[1], "");
  EXPECT_STREQ(literal_buffer[2], "-- 2 --");
  EXPECT_STREQ(literal_buffer[249], "l x1 = LED");
  EXPECT_EQ(boxes().back(), (recorded_box{"Files", "Loading Literal File ?"}));
}

// A shorter file replaces a longer program whole: no line of the old one stays.
TEST_F(LiteralFile, AShortFileEmptiesEveryLinePastItsEnd) {
  const struct {
    const char *bytes;
    int lines;
  } files[] = {{"a\r\nb\r\nc\r\n", 3}, {"a\nlast", 2}, {"", 0}};
  for (const auto &file : files) {
    init_literal_buffer();
    write_file(folder / "program.lit", file.bytes);
    ASSERT_TRUE(load_literal_file());
    for (int k = file.lines; k < 250; k++) {
      ASSERT_STREQ(literal_buffer[k], "") << file.bytes << " line " << k;
    }
    if (file.lines > 0) {
      EXPECT_STRNE(literal_buffer[file.lines - 1], "") << file.bytes;
    }
  }
  EXPECT_STREQ(literal_buffer[0], "");
}

TEST_F(LiteralFile, LfCrLfIndentationAndOverLongLines) {
  write_file(folder / "program.lit", "   indented\n      \r\nx\ry\r\n" + std::string(45, 'w') + "\nafter\n");
  ASSERT_TRUE(load_literal_file());
  EXPECT_STREQ(literal_buffer[0], "indented");
  EXPECT_STREQ(literal_buffer[1], "");
  EXPECT_STREQ(literal_buffer[2], "x\ry") << "a CR not before a line end is text";
  EXPECT_EQ(std::string(literal_buffer[3]), std::string(39, 'w'));
  EXPECT_STREQ(literal_buffer[4], "after");
}

TEST_F(LiteralFile, NeverMoreThan250LinesAreRead) {
  std::string text;
  for (int k = 0; k < 300; k++) text += "line" + std::to_string(k) + "\n";
  write_file(folder / "program.lit", text);
  ASSERT_TRUE(load_literal_file());
  EXPECT_STREQ(literal_buffer[249], "line249");
}

TEST_F(LiteralFile, FailuresAreReportedAndChangeNothing) {
  set_config(config_literal, "absent.lit");
  EXPECT_FALSE(load_literal_file());
  EXPECT_STREQ(literal_buffer[0], "-- 0 --");
  set_config(config_literal, "missing/folder/program.lit");
  EXPECT_FALSE(save_literal_file());
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Files", "Loading Literal File ?"},
                                                {"Files", "Impossible d'ouvrir le fichier litteral"},
                                                {"Files", "Saving Literal File ?"},
                                                {"Files", "Impossible de creer le fichier literal"}}));
}

TEST_F(LiteralFile, WriteFailingMidwayKeepsThePreviousFile) {
  write_file(folder / "program.lit", "old\r\n");
  write_failure_after_bytes = 100;
  EXPECT_FALSE(save_literal_file());
  write_failure_after_bytes = -1;
  EXPECT_EQ(read_file(folder / "program.lit"), "old\r\n");
  EXPECT_EQ(boxes().back(), (recorded_box{"Files", "Impossible de creer le fichier literal"}));
}

}  // namespace
