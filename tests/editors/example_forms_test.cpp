// The two-hand press example built in the window: its edges, step times and stored
// actions typed into the tables with the keyboard, then "G->H": the hex written is the
// example's own, and the literal page shows the stored actions' S and R lines.
#include <cstdlib>

#include "editors/page_state.h"
#include "window_driver.h"

namespace {

std::filesystem::path source_dir() {
  const char *dir = std::getenv("TALVEN_SOURCE_DIR");
  return dir ? dir : TALVEN_SOURCE_FALLBACK;
}

class ExampleForms : public EditorWindow {
 protected:
  void SetUp() override { WindowTest::SetUp(); }  // the window starts in open_press
  // The example's project, opened and its chart loaded ("LD G").
  void open_press() {
    std::filesystem::path example = source_dir() / "examples" / "two_hand_press";
    std::filesystem::copy_file(source_dir() / "targets" / "pic16f628a.def", folder / "pic16f628a.def");
    std::filesystem::copy_file(example / "two_hand_press.gra", folder / "press.gra");
    write_file(folder / "config.txt", "Fichier_de_configuration_de_talven_(non_obligatoire)\r\n"
                                      "Automate            pic16f628a.def\r\n"
                                      "Fichier.gra         press.gra\r\n"
                                      "Fichier.lit         press.lit\r\n"
                                      "Fichier.hex         press.hex\r\n");
    reset_page_state();
    start();
    send_message(message_other);  // the definition load armed by the first paint
    choose(0, 0);                 // "LD G"
    forget_shown_boxes();
  }
};

TEST_F(ExampleForms, TheFormsTypedIntoTheTablesBuildTheExamplesHex) {
  open_press();
  // Each row holding a form emptied with Delete and typed again.
  const struct {
    int page, row;
    const char *text;
  } rows[] = {
      {2, 0, "l /RA0 o /RA1"},
      {2, 2, "ln RA0 on RA1 a 500ms/x1"},
      {2, 3, "l 2s/x2 on RA0 on RA1"},
      {1, 2, "RB0 RB2:=0"},
      {1, 3, "RB1 RB2:=1"},
  };
  for (const auto &r : rows) {
    show_page(r.page);
    click_text_line(r.row);
    press(key_delete);
    type(std::string(r.text) + "\r");
    EXPECT_TRUE(text_cell_shows(r.row, r.text, teal)) << r.text;
  }
  EXPECT_STREQ(transition_conditions[2].text, "ln RA0 on RA1 a 500ms/x1");
  EXPECT_STREQ(step_outputs[3].text, "RB1 RB2:=1");

  choose(3, 2);  // "G->H"
  ASSERT_FALSE(shown().empty());
  EXPECT_EQ(shown().back().title, "OK") << shown().back().text;
  bool same_hex = read_file(folder / "press.hex") == read_file(source_dir() / "examples/two_hand_press/two_hand_press.hex");
  EXPECT_TRUE(same_hex) << "press.hex is not the example's hex";

  show_page(7);
  const char *lines[] = {"l RA0 a RA1 a x1 R RB2", "ln RA0 on RA1 a 500ms/x1 a x1 S RB2"};
  for (int k = 0; k < 2; k++) {
    EXPECT_STREQ(literal_buffer[12 + k], lines[k]);
    EXPECT_TRUE(text_cell_shows(12 + k, lines[k], teal)) << lines[k];
  }
}

}  // namespace
