// "G->H": the translation and then the compiler, each announcing itself.
#include "compiler/compiler_fixture.h"

namespace {

class GraphicToHex : public target_test {
 protected:
  void SetUp() override {
    target_test::SetUp();
    ASSERT_EQ(load_definition("@INFOS\nuc_taille_flash 8\nuc_taille_eeprom 0\nadr_start_graphcet 100\n"
                              "adr_stop_graphcet 108\n@HEX\n:00000001FF\n" + zb_section("") + "@END\n"),
              0);
    set_hex_name("out.hex");
    boxes().clear();
  }
};

TEST_F(GraphicToHex, ShowsItsThreeNoticesInOrderThenTheSummary) {
  plan_xy[0][0] = {cell_initial_step, 0};
  EXPECT_EQ(compile_graphic_to_hex(), compile_ok);
  // "*  x0" and the end of program: two of the four instructions of the area.
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{
                         {"Processing", "Converting Graphic --> Hex ?"},
                         {"Processing", "Converting Graphic --> Literal ?"},
                         {"Processing", "Converting Literal --> Hex ?"},
                         {"OK", "Aucune erreur\n\nFichier a programmer : out.hex\nLignes utilisees: 2   (50/100)\n"
                                "Lignes restantes: 2"}}));
  EXPECT_TRUE(file_exists("out.hex"));
}

TEST_F(GraphicToHex, AFailedTranslationIsReportedAndNoHexIsWritten) {
  write_file("out.hex", "previous hex");
  plan_xy[0][0] = {cell_initial_step, 0};
  plan_xy[3][3] = {cell_step, 64};
  EXPECT_EQ(compile_graphic_to_hex(), compile_errors);
  EXPECT_EQ(boxes(), (std::vector<recorded_box>{{"Processing", "Converting Graphic --> Hex ?"},
                                                {"Processing", "Converting Graphic --> Literal ?"},
                                                {"Processing", "Numero 64 hors 0..63 en case (3,3)"}}));
  EXPECT_EQ(read_file("out.hex"), "previous hex");
}

}  // namespace
