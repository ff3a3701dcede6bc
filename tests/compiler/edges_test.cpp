// Input edges (/RA0 rising, \RA0 falling) as the compiler builds them from ordinary
// orders at the start of the program, on the bundled targets; and its refusals.
#include <cstdlib>
#include <cstring>

#include "compiler/compiler_fixture.h"
#include "model/orders.h"
#include "startup/startup.h"

namespace {

class Edges : public target_test {
 protected:
  // The program words from the start of the area to the end order, as "l 64 an 162 ...".
  static std::string program_words() {
    const definition_record &d = automaton_definition;
    std::string words;
    for (int at = d.adr_start_graphcet; at + 1 < d.adr_stop_graphcet; at += 2) {
      int code = d.flash_image[at] - 0x3400, operand = d.flash_image[at + 1] - 0x3400;
      if (code == order_end) break;
      words += (words.empty() ? "" : " ") + std::string(code >= 0 && code < order_end ? order_table[code].word : "?") +
               " " + std::to_string(operand);
    }
    return words;
  }
};

struct edge_case {
  const char *chip;
  std::vector<std::string> rows;
  const char *expected;  // the program words, or the error report
};

// On the PIC16F628A RA0 is bit 64, RA1 65, RB0 72, RB1 73 and the spare bits begin at 161;
// on the PIC16F84A the spare bits are 161..167. Codes: l ln a an o = * - >.
const edge_case edge_cases[] = {
    {"pic16f628a", {"l RA0 = RB0"}, "l 64 = 72"},
    {"pic16f628a", {"l /RA0 = RB0"}, "l 64 an 162 = 161 l 64 = 162 l 161 = 72"},
    {"pic16f628a", {"l \\RA0 = RB0"}, "ln 64 a 162 = 161 l 64 = 162 l 161 = 72"},
    // Pin order, not text order; both edges of RA1 share its previous read.
    {"pic16f628a",
     {"l \\RA1 a /RA0", "o /RA1 = RB0"},
     "l 64 an 162 = 161 l 64 = 162 l 65 an 165 = 163 ln 65 a 165 = 164 l 65 = 165 l 164 a 161 o 163 = 72"},
    // x0 --/RA0--> x1 --/RA0--> x2: one step per press.
    {"pic16f628a",
     {"*  x0", "l /RA0 > x1", "-  x1", "l /RA0 > x2", "-  x2", "l x1 = RB1"},
     "l 64 an 162 = 161 l 64 = 162 * 0 l 161 > 1 - 1 l 161 > 2 - 2 l 1 = 73"},
    // PORTB is all outputs unless the program's TRISB says otherwise, wherever it stands.
    {"pic16f628a", {"l /RB0 = RB1", "#TRISB 1"}, "l 72 an 162 = 161 l 72 = 162 l 161 = 73"},
    {"pic16f628a", {"l /RB0 = RB1"}, "\nErrors:\n\nligne   0: EDGE OF NO INPUT PIN: /RB0"},
    {"pic16f628a",
     {"l RA2 = RB1", "l \\RA1 o /RA1 = RB0", "#TRISA 253"},
     "\nErrors:\n\nligne   1: EDGE OF NO INPUT PIN: /RA1\nligne   1: EDGE OF NO INPUT PIN: \\RA1"},
    {"pic16f628a",
     {"l /M0 = RB0", "l \\x1 = RB1", "l /RA9 = RB2", "l / = RB3"},
     "\nErrors:\n\nligne   0: EDGE OF NO INPUT PIN: /M0\nligne   1: EDGE OF NO INPUT PIN: \\x1"
     "\nligne   2: EDGE OF NO INPUT PIN: /RA9\nligne   3: ZB  UNKNOWN: /"},
    // Seven spare bits: two pins with both edges take six, a third pin needs two.
    {"pic16f84a",
     {"l \\RA0 a /RA0 a \\RA1 a /RA1", "l /RA2 = RB0"},
     "\nErrors:\n\nligne   1: NO SPARE BIT FOR: /RA2 (7 spare bits)"},
    {"pic16f84a",
     {"l /RA0 a /RA1 a /RA2 = RB0"},
     "l 64 an 162 = 161 l 64 = 162 l 65 an 164 = 163 l 65 = 164 l 66 an 166 = 165 l 66 = 166 "
     "l 161 a 163 a 165 = 72"},
};

TEST_F(Edges, CompileToOrdersAtTheStartOrAreRefusedNamingTheWord) {
  for (const edge_case &c : edge_cases) {
    SCOPED_TRACE(c.rows[0]);
    init_automaton_definition();
    ASSERT_TRUE(load_bundled_target(c.chip));
    set_literal_rows(c.rows);
    boxes().clear();
    compile_result result = compile_literal_to_image();
    if (c.expected[0] == '\n') {
      EXPECT_EQ(result, compile_errors);
      EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Error", c.expected}}));
    } else {
      EXPECT_EQ(result, compile_ok) << testing::PrintToString(boxes());
      EXPECT_EQ(program_words(), c.expected);
    }
  }
}

// A definition that does not name its spare bits has none.
TEST_F(Edges, ADefinitionWithoutSpareBitsRefusesEveryEdge) {
  std::string text = read_file(std::string(std::getenv("TALVEN_SOURCE_DIR")) + "/targets/pic16f628a.def");
  for (const char *key : {"zb_libre_debut 161\r\n", "zb_libre_fin 255\r\n"}) {
    size_t at = text.find(key);
    ASSERT_NE(at, std::string::npos);
    text.erase(at, std::strlen(key));
  }
  ASSERT_EQ(load_definition(text), 0);
  set_literal_rows({"l RA0 = RB0", "l \\RA0 = RB1"});
  boxes().clear();
  EXPECT_EQ(compile_literal_to_image(), compile_errors);
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{
                         {"Error", "\nErrors:\n\nligne   1: NO SPARE BIT FOR: \\RA0 (0 spare bits)"}}));
}

}  // namespace
