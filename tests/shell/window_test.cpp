#include "window_fixture.h"

#include "files/text_io.h"

// A definition with three constants in use, as a target would ship it.
static const char *const definition_with_constants =
    "@INFOS\r\n"
    "uc_type pic_1\r\n"
    "uc_taille_flash 2000\r\n"
    "uc_taille_eeprom 100\r\n"
    "@HEX\r\n"
    ":020000000528D1\r\n"
    ":00000001FF\r\n"
    "@CST\r\n"
    "eb 10 TEMPO_A\r\n"
    "ew 12 SEUIL_HAUT\r\n"
    "fb 1F0 VITESSE\r\n"
    "@END\r\n";

static const char *const config_naming_definition =
    "Fichier_de_configuration_de_talven_(non_obligatoire)\r\n"
    "Automate            cible.def\r\n"
    "Fichier.gra         projet.gra\r\n"
    "Fichier.lit         projet.lit\r\n"
    "Fichier.hex         projet.hex";

TEST_F(WindowTest, FirstPaintShowsGreyBackgroundMenuAndConfigurationPage) {
  start();
  EXPECT_EQ(edit_mode, 6);
  // The background rectangle: grey inside, its black outline along the top and left edges.
  EXPECT_EQ(pixel(650, 480), grey);
  EXPECT_EQ(pixel(799, 599), black);
  EXPECT_EQ(pixel(5, 0), black);
  EXPECT_EQ(pixel(0, 300), black);
  EXPECT_EQ(pixel(798, 598), grey);
  // Beyond (800, 600) only the window class's light grey.
  EXPECT_EQ(pixel(800, 300), light_grey);
  EXPECT_EQ(pixel(300, 600), light_grey);
  // "Fich" and "CFG" red, every other item olive.
  for (int k = 0; k < 5; k++) EXPECT_EQ(top_item_colour(k), k == 0 ? red : olive) << "top item " << k;
  for (int k = 0; k < 6; k++) EXPECT_EQ(sub_item_colour(k), k == 4 ? red : olive) << "sub-item " << k;
  // The configuration page: olive name column, teal value column.
  EXPECT_EQ(pixel(100, 200), olive);
  EXPECT_EQ(pixel(300, 200), teal);
  EXPECT_TRUE(shown().empty());
}

TEST_F(WindowTest, MenuLabelsAreWhiteOverTheirItems) {
  start();
  // Every labelled item of the first rows has white text inside its ellipse, between y 12 and 26.
  auto white_pixels_in = [](int left) {
    int count = 0;
    for (int x = left; x < left + 40; x++)
      for (int y = 12; y <= 26; y++) count += pixel(x, y) == white;
    return count;
  };
  for (int k = 0; k < 5; k++) EXPECT_GT(white_pixels_in(60 + 40 * k), 10) << "top item " << k;
  for (int k = 0; k < 6; k++) EXPECT_GT(white_pixels_in(300 + 40 * k), 10) << "sub-item " << k;
  EXPECT_EQ(white_pixels_in(540), 0);
}

TEST_F(WindowTest, NextMessageAfterFirstPaintLoadsTheDefinitionAndCopiesConstantNames) {
  write_file("config.txt", config_naming_definition);
  write_file("cible.def", definition_with_constants);
  headless_create_window();
  send_message(message_other);  // before the first paint nothing is loaded
  EXPECT_TRUE(shown().empty());
  send_message(message_paint);
  EXPECT_TRUE(shown().empty());
  EXPECT_STREQ(constants[0].name, "Not_Init");

  send_message(message_other);
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Def File", "Fichier de definition charge avec succes"}}));
  EXPECT_STREQ(constants[0].name, "TEMPO_A");
  EXPECT_STREQ(constants[1].name, "SEUIL_HAUT");
  EXPECT_STREQ(constants[2].name, "VITESSE");
  EXPECT_STREQ(constants[3].name, "Not_Init");
  EXPECT_STREQ(constants[63].name, "Not_Init");

  // Only once: later messages and later paints load nothing.
  send_message(message_paint);
  send_message(message_other);
  EXPECT_EQ(shown().size(), 1u);
}

TEST_F(WindowTest, DefinitionIsLoadedBeforeTheMessageThatTriggersItIsHandled) {
  write_file("config.txt", config_naming_definition);
  write_file("cible.def", definition_with_constants);
  start();
  // The triggering message is a click on "Help" then its "Manu": the load's box comes first.
  click_top_item(4);
  click_sub_item(0);
  ASSERT_EQ(shown().size(), 2u);
  EXPECT_EQ(shown()[0].title, "Def File");
  EXPECT_EQ(shown()[1].title, "Manual");
}

TEST_F(WindowTest, MissingDefinitionFileLeavesConstantsNotInit) {
  start();  // no config.txt: the definition's name is empty
  send_message(message_other);
  EXPECT_EQ(shown(), (std::vector<recorded_box>{
                         {"Files", "Impossible d'ouvrir le fichier de definition de l'automate"}}));
  for (int row = 0; row < table_rows; row++) EXPECT_STREQ(constants[row].name, "Not_Init");
  // The program goes on working and does not retry.
  send_message(message_paint);
  send_message(message_other);
  EXPECT_EQ(shown().size(), 1u);
  EXPECT_EQ(pixel(300, 200), teal);
}

TEST_F(WindowTest, DefinitionWithBadTypeShowsNoSuccessAndKeepsNames) {
  write_file("config.txt", config_naming_definition);
  write_file("cible.def", "@INFOS\nuc_type PIC_1\n@CST\neb 10 TEMPO_A\n@END\n");
  start();
  send_message(message_other);
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Def File", "Bad uc type"}}));
  EXPECT_STREQ(constants[0].name, "Not_Init");
}

TEST_F(WindowTest, CreationClearsTheGridInitialisesTablesAndReadsConfig) {
  write_file("config.txt", config_naming_definition);
  plan_xy[3][4] = {cell_step, 7};
  copy_field(step_outputs[2].text, text_size, "left over");
  copy_field(literal_buffer[5], text_size, "left over");
  headless_create_window();
  EXPECT_EQ(plan_xy[3][4].kind, cell_empty);
  EXPECT_STREQ(step_outputs[2].name, "Etape 2");
  EXPECT_STREQ(step_outputs[2].text, "");
  EXPECT_STREQ(transition_conditions[63].name, "Trans 63");
  EXPECT_STREQ(post_treatments[1].name, "Post 1");
  EXPECT_STREQ(literal_buffer[5], "-- 5 --");
  EXPECT_STREQ(config_entries[0].name, "Automate");
  EXPECT_STREQ(app_config(config_automate), "cible.def");
  EXPECT_STREQ(app_config(config_hex), "projet.hex");
  EXPECT_TRUE(shown().empty());
}

TEST_F(WindowTest, ResourcesAreCreatedInTableOrderWithTheirColours) {
  headless_create_window();
  const gdi_object in_order[] = {page_font,       menu_font,           page_pen,          variable_column_brush,
                                 text_brush,      selection_brush,     background_brush,  grid_brush,
                                 grid_pen,        menu_pen,            menu_item_brush,   menu_selected_brush,
                                 submenu_item_brush, submenu_selected_brush};
  for (int i = 1; i < 14; i++) EXPECT_LT(in_order[i - 1], in_order[i]) << "resource " << i;
  // Each brush fills and each pen outlines in its own colour.
  struct expected {
    gdi_object pen, brush;
    rgb pen_colour, brush_colour;
  };
  const expected pairs[] = {
      {page_pen, variable_column_brush, black, olive}, {grid_pen, text_brush, grid_line_blue, teal},
      {menu_pen, selection_brush, black, red},         {grid_pen, background_brush, grid_line_blue, grey},
      {page_pen, grid_brush, black, grid_blue},        {grid_pen, menu_item_brush, grid_line_blue, olive},
      {menu_pen, menu_selected_brush, black, red},     {grid_pen, submenu_item_brush, grid_line_blue, olive},
      {page_pen, submenu_selected_brush, black, red},
  };
  dc_handle dc = acquire_window_dc();
  for (const expected &p : pairs) {
    select_object(dc, p.pen);
    select_object(dc, p.brush);
    draw_rectangle(dc, 10, 10, 20, 20);
    EXPECT_EQ(pixel(15, 15), p.brush_colour);
    EXPECT_EQ(pixel(10, 15), p.pen_colour);
  }
  release_window_dc(dc);
}

TEST_F(WindowTest, ExitWritesConfigFileAndEndsTheLoop) {
  start();
  copy_field(config_entries[config_graphic].value, text_size, "projet.gra");
  choose(0, 5);
  EXPECT_EQ(read_file("config.txt"),
            "Fichier_de_configuration_de_talven_(non_obligatoire)\r\n"
            "Automate            .\r\n"
            "Fichier.gra         projet.gra\r\n"
            "Fichier.lit         .\r\n"
            "Fichier.hex         .");
  EXPECT_TRUE(quit_posted);
  EXPECT_EQ(quit_code, 0);
  EXPECT_EQ(sub_item_colour(5), red);
}

TEST_F(WindowTest, DestroyWritesConfigFileAndEndsTheLoop) {
  write_file("config.txt", config_naming_definition);
  headless_create_window();
  copy_field(config_entries[config_literal].value, text_size, "autre.lit");
  send_message(message_destroy);
  EXPECT_EQ(read_file("config.txt"),
            "Fichier_de_configuration_de_talven_(non_obligatoire)\r\n"
            "Automate            cible.def\r\n"
            "Fichier.gra         projet.gra\r\n"
            "Fichier.lit         autre.lit\r\n"
            "Fichier.hex         projet.hex");
  EXPECT_TRUE(quit_posted);
  EXPECT_EQ(quit_code, 0);
}

TEST_F(WindowTest, ConfigFileThatCannotBeWrittenIsReportedAndTheOldOneKept) {
  write_file("config.txt", config_naming_definition);
  headless_create_window();
  write_failure_after_bytes = 10;
  send_message(message_destroy);
  write_failure_after_bytes = -1;
  EXPECT_EQ(shown(), (std::vector<recorded_box>{{"Files", "Impossible de creer le fichier config.txt"}}));
  EXPECT_EQ(read_file("config.txt"), config_naming_definition);
  EXPECT_TRUE(quit_posted);
}

TEST_F(WindowTest, EveryMessageReleasesItsDrawingContext) {
  start();
  const message_kind kinds[] = {message_paint, message_key_down, message_char, message_left_button_down,
                                message_right_button_down, message_left_double_click, message_other};
  for (message_kind kind : kinds) {
    send_message(kind, 'A', 300, 200);
    EXPECT_EQ(open_drawing_contexts(), 0) << "message " << kind;
    EXPECT_EQ(window_dc, nullptr);
  }
}

// A message box runs its own loop, so a repaint can arrive while a handler waits.
static dc_handle context_before_nested_paint, context_after_nested_paint;
static int contexts_during_nested_paint;
static void box_with_repaint(box_kind, const char *, const char *) {
  context_before_nested_paint = window_dc;
  send_message(message_paint);
  contexts_during_nested_paint = open_drawing_contexts();
  context_after_nested_paint = window_dc;
}

TEST_F(WindowTest, RepaintInsideMessageBoxLeavesTheOuterHandlerItsContext) {
  start();
  click_top_item(4);
  set_message_box_handler(box_with_repaint);
  click_sub_item(1);
  EXPECT_NE(context_before_nested_paint, nullptr);
  EXPECT_EQ(context_after_nested_paint, context_before_nested_paint);
  EXPECT_EQ(contexts_during_nested_paint, 1);
  EXPECT_EQ(open_drawing_contexts(), 0);
  // The nested repaint drew the whole window again.
  EXPECT_EQ(pixel(300, 200), teal);
}

TEST_F(WindowTest, DoubleClickSecondPressHasNoEffect) {
  start();
  send_message(message_left_double_click, 0, 120, 20);
  EXPECT_EQ(menu_top_selection, 0);
  EXPECT_EQ(top_item_colour(1), olive);
  EXPECT_EQ(pixel(300, 200), teal);
}

TEST_F(WindowTest, CharactersAndKeysGoToThePageOfTheCurrentMode) {
  start();
  choose(1, 1);  // "Etap"
  click_at(300, 75);
  send_message(message_char, 'A');
  send_message(message_char, 0x100 | 0xE9);  // only the low byte counts
  EXPECT_STREQ(step_outputs[0].text, "A\xE9");
  EXPECT_STREQ(transition_conditions[0].text, "");

  choose(1, 2);  // "Tran": the same keys now edit the transitions
  click_at(300, 75);
  send_message(message_char, 'B');
  EXPECT_STREQ(transition_conditions[0].text, "B");
  EXPECT_STREQ(step_outputs[0].text, "A\xE9");
  send_message(message_key_down, 0x200 | 0x2E);  // Delete, with bits above the low byte
  EXPECT_STREQ(transition_conditions[0].text, "");
}

TEST_F(WindowTest, RightClickGoesToTheGridPage) {
  start();
  choose(1, 0);  // "Gril"
  click_at(15, 65);   // palette: transition
  click_at(70, 50);   // grid cell (0, 0)
  ASSERT_EQ(plan_xy[0][0].kind, cell_transition);
  send_message(message_right_button_down, 0, 70, 50);
  send_message(message_char, '5');
  send_message(message_char, '\r');
  EXPECT_EQ(plan_xy[0][0].number, 5);
  EXPECT_EQ(click_x, 70);
  EXPECT_EQ(click_y, 50);
}

TEST_F(WindowTest, ClickCoordinatesAreTakenAsUnsignedSixteenBits) {
  start();
  send_message(message_right_button_down, 0, -1, 0x10005);
  EXPECT_EQ(click_x, 0xFFFF);
  EXPECT_EQ(click_y, 5);
}
