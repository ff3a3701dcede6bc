// Definitions at the limits of their numbers, found by fuzzing the definition
// loader followed by a compilation.
#include "compiler/compiler_fixture.h"

namespace {

class CompilerExtremes : public target_test {};

TEST_F(CompilerExtremes, ABitVariableAtTheIntegerLimitCompilesToItsLowBits) {
  ASSERT_EQ(load_definition("@INFOS\nuc_taille_flash 8\nuc_taille_eeprom 0\nadr_start_graphcet 0\n"
                            "adr_stop_graphcet 8\n@HEX\n:00000001FF\n@ZB\nzb 2147483647 far\n"
                            "zb 99999999999 farther\n@END\n"),
            0);
  set_hex_name("out.hex");
  set_literal_rows({"l far", "= farther"});
  EXPECT_EQ(compile_literal_to_hex(), compile_ok);
  // 0x3400 + 0x7FFFFFFF keeps 0x33FF in its low 16 bits: bytes ff 33.
  EXPECT_EQ(read_file("out.hex"),
            ":1000000000" "34ff330834ff330c340034ff3fff3f2c\r\n"
            ":10400000ff3fff3fff3fff3fff3fff3fff3fff3fc0\r\n"
            ":00000001FF");
}

}  // namespace
