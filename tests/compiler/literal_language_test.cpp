#include "compiler/compiler_fixture.h"

namespace {

struct pair_read {
  std::string first, second;
  int line;
  bool operator==(const pair_read &) const = default;
};
std::ostream &operator<<(std::ostream &out, const pair_read &p) {
  return out << "(" << p.first << ", " << p.second << ") @" << p.line;
}

std::vector<pair_read> all_pairs() {
  char first[literal_word_size], second[literal_word_size];
  int line = -1;
  std::vector<pair_read> pairs;
  EXPECT_EQ(next_literal_pair(true, first, second, line), 0);
  while (next_literal_pair(false, first, second, line) == 0) pairs.push_back({first, second, line});
  return pairs;
}

using LiteralLanguage = target_test;

TEST_F(LiteralLanguage, SampleTextReadsAsPairsWithTheRowOfTheSecondWord) {
  set_literal_rows({"@  TRAITEMENT", "*  x0", "l i0 an i1 > x1", "-  x1", " > x0", "@  POSTTRAITEMENT1",
                    "l x1 o x2 = LED", "@  CONSTANTES", "#tempo 25"});
  std::vector<pair_read> expected = {{"*", "x0", 1},  {"l", "i0", 2}, {"an", "i1", 2}, {">", "x1", 2},
                                     {"-", "x1", 3},  {">", "x0", 4}, {"l", "x1", 6},  {"o", "x2", 6},
                                     {"=", "LED", 6}, {"#tempo", "25", 8}};
  EXPECT_EQ(all_pairs(), expected);
}

TEST_F(LiteralLanguage, PairsCrossRowsAndTakeTheLineOfTheirSecondWord) {
  set_literal_rows({"", "", "", "", "", "l x1 a", "x2", "   ", "", "o x3"});
  std::vector<pair_read> expected = {{"l", "x1", 5}, {"a", "x2", 6}, {"o", "x3", 9}};
  EXPECT_EQ(all_pairs(), expected);
}

TEST_F(LiteralLanguage, WordBeforeACommentGoesOnWithTheNextRow) {
  set_literal_rows({"l x1@c", "a x2"});
  std::vector<pair_read> expected = {{"l", "x1a", 1}};
  EXPECT_EQ(all_pairs(), expected);  // x2 is left without a partner and dropped
}

TEST_F(LiteralLanguage, CommentRowsBlankRowsAndTextAfterTheAtSignProduceNothing) {
  set_literal_rows({"@ l x1", "", "     ", "l x2 @ a x3", "@@@", "= y"});
  std::vector<pair_read> expected = {{"l", "x2", 3}, {"=", "y", 5}};
  EXPECT_EQ(all_pairs(), expected);
}

TEST_F(LiteralLanguage, TabJoinsTwoWordsIntoOne) {
  set_literal_rows({"l\tx1 = y"});
  std::vector<pair_read> expected = {{"l\tx1", "=", 0}};
  EXPECT_EQ(all_pairs(), expected);
}

TEST_F(LiteralLanguage, LoneLastWordIsDroppedAndTheEndStaysTheEnd) {
  set_literal_rows({"l x1 =", "", ""});
  char first[literal_word_size], second[literal_word_size];
  int line = -1;
  next_literal_pair(true, first, second, line);
  ASSERT_EQ(next_literal_pair(false, first, second, line), 0);
  EXPECT_EQ(next_literal_pair(false, first, second, line), 1);
  EXPECT_EQ(next_literal_pair(false, first, second, line), 1);
}

TEST_F(LiteralLanguage, OnlyTheTwoHundredFiftyRowsAreRead) {
  set_literal_rows({});
  copy_field(literal_buffer[248], text_size, "l x1 =");
  copy_field(literal_buffer[249], text_size, "y o x2@");
  std::vector<pair_read> expected = {{"l", "x1", 248}, {"=", "y", 249}};
  EXPECT_EQ(all_pairs(), expected);  // "o" and the unfinished "x2" are dropped
}

TEST_F(LiteralLanguage, ReadingPositionPersistsUntilRewound) {
  set_literal_rows({"l x1 a x2", "= y"});
  char first[literal_word_size], second[literal_word_size];
  int line = -1;
  next_literal_pair(true, first, second, line);
  next_literal_pair(false, first, second, line);
  ASSERT_EQ(next_literal_pair(false, first, second, line), 0);
  EXPECT_STREQ(first, "a");
  EXPECT_EQ(next_literal_pair(true, first, second, line), 0);
  ASSERT_EQ(next_literal_pair(false, first, second, line), 0);
  EXPECT_STREQ(first, "l");
  EXPECT_STREQ(second, "x1");
  EXPECT_EQ(line, 0);
}

TEST_F(LiteralLanguage, VeryLongContinuedWordIsCutWithoutOverrun) {
  std::vector<std::string> rows(20, std::string(38, 'w') + "@");
  rows.push_back(" x1");
  set_literal_rows(rows);
  auto pairs = all_pairs();
  ASSERT_EQ(pairs.size(), 1u);
  EXPECT_EQ(pairs[0].first, std::string(literal_word_size - 1, 'w'));
  EXPECT_EQ(pairs[0].second, "x1");
  EXPECT_EQ(pairs[0].line, 20);
}

TEST(OrderWords, EachOrderWordGivesItsCode) {
  const std::vector<std::pair<const char *, int>> orders = {
      {"l", 0},  {"L", 0},  {"ln", 1}, {"LN", 1}, {"a", 2}, {"A", 2}, {"an", 3},
      {"AN", 3}, {"o", 4},  {"O", 4},  {"on", 5}, {"ON", 5}, {"x", 6}, {"X", 6},
      {"xn", 7}, {"XN", 7}, {"=", 8},  {"*", 9},  {"-", 10}, {">", 11}};
  for (const auto &[word, code] : orders) {
    int found = -1;
    EXPECT_TRUE(find_order(word, found)) << word;
    EXPECT_EQ(found, code) << word;
  }
}

TEST(OrderWords, MixedCaseAndOtherWordsAreNoOrders) {
  int code = -1;
  for (const char *word : {"Ln", "lN", "aN", "On", "Xn", "", "ll", "==", "--", "<", "#", "l "})
    EXPECT_FALSE(find_order(word, code)) << word;
}

}  // namespace
